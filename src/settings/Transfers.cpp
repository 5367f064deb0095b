#include "Transfers.h"

namespace sonmira::settings {

using namespace link;

namespace {
constexpr std::uint8_t flag(bool on) { return on ? 1 : 0; }
} // namespace

int Transfers::syncPackets(std::uint8_t effectCode) {
    constexpr int switchReads = 4; // mute, lock, exciter, input
    const int effectColumns = effectCode >= EffCodeBase ? EffColumns : KtvColumns;
    return MusicColumns + MicColumns + effectColumns + VolumeColumn::Channels + switchReads;
}

Transfers::Transfers(SettingsModel& model, ControlsView& controls, DeviceLink& link,
                     platform::Desktop& desktop, Skin skin)
    : model_(model), controls_(controls), link_(link), desktop_(desktop), texts_(SettingsTexts::of(skin)) {}

// The watchdog may drop the link between two commands and has then told the
// user; a further command would only wait out its time-out and say it again.
bool Transfers::linkStillUp() const { return link_.Connected; }

bool Transfers::readByte(std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t& b) {
    if (!linkStillUp()) return false;
    if (!link_.SendCommand(true, 1, CmdRead, group, row, addr, 0, false)) return false;
    b = link_.ReplyData[0];
    return true;
}

bool Transfers::write(int cmd, std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t value,
                      bool longWait) {
    return linkStillUp() && link_.SendCommand(false, 0, cmd, group, row, addr, value, longWait);
}

bool Transfers::writeRow(int cmd, PresetArray a, int row) {
    for (const ParamCell& c : model_.row(a, row))
        if (!write(cmd, groupOf(a), wireRow(a, row), c.Addr, c.Value)) return false;
    return true;
}

bool Transfers::readSwitches() {
    std::uint8_t b = 0;
    if (!readByte(GroupMute, 0, 0, b)) return false;
    controls_.setMute(b != 0);
    if (!readByte(GroupLock, 0, 0, b)) return false;
    controls_.setLock(b != 0);
    if (!readByte(GroupExciter, 0, 0, b)) return false;
    controls_.setExciter(b != 0);
    if (!readByte(GroupInput, 0, 0, b)) return false;
    setInputSelection(controls_, b);
    return true;
}

void Transfers::begin() {
    controls_.setWindowEnabled(false);
    link_.setProgressView(&controls_.progressStrip());
    // The total is the caller's: 211 or 212 from the buttons, 42 or 44 here.
    link_.beginProgress(link_.PacketsTotal);
}

void Transfers::end() {
    controls_.setWindowEnabled(true);
    link_.endProgress();
}

void Transfers::ReadAllFromDevice() {
    if (!link_.Connected) {
        desktop_.messageBox(platform::MsgStyle::Exclamation, texts_.notConnected, controls_.messageOwner());
        return;
    }
    // Only a reply the window refuses counts as a failure of this routine; a
    // command without reply has been reported by the link already.
    bool refused = false;
    begin();
    [&] {
        std::uint8_t b = 0;
        for (PresetArray a : AllPresetArrays)
            for (int r = 0; r < rowCount(a); ++r)
                for (ParamCell& c : model_.row(a, r)) {
                    if (!readByte(groupOf(a), wireRow(a, r), c.Addr, b)) return;
                    c.Value = b;
                }
        controls_.RefreshParameterControls();

        if (!readSwitches()) return;

        VolumeColumn& vc = controls_.volumeColumn();
        for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
            const auto addr = static_cast<std::uint8_t>(ch);
            for (auto [group, role] : {std::pair{GroupLevelMin, VolumeColumn::RoleMin},
                                       std::pair{GroupLevelMax, VolumeColumn::RoleMax}}) {
                if (!readByte(group, 0, addr, b)) return;
                const int i = VolumeColumn::index(ch, role);
                vc.setText(i, QString::number(b));
                if (!vc.ApplyLevelText(i)) {
                    refused = true;
                    return;
                }
            }
            if (!readByte(GroupLevelMode, 0, addr, b)) return;
            const int i = VolumeColumn::index(ch, VolumeColumn::RoleMode);
            if (!vc.setSpinnerValue(i, b)) {
                refused = true;
                return;
            }
            vc.VScroll1_Change(i);
        }
    }();
    end();
    if (refused) desktop_.messageBox(platform::MsgStyle::Critical, texts_.readError, controls_.messageOwner());
}

void Transfers::WriteAllToDevice() {
    if (!link_.Connected) {
        desktop_.messageBox(platform::MsgStyle::Exclamation, texts_.notConnected, controls_.messageOwner());
        return;
    }
    begin();
    [&] {
        for (PresetArray a : AllPresetArrays)
            for (int r = 0; r < rowCount(a); ++r)
                if (!writeRow(CmdWriteBulk, a, r)) return;

        const VolumeColumn& vc = controls_.volumeColumn();
        for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
            const auto addr = static_cast<std::uint8_t>(ch);
            for (auto [group, role] : {std::pair{GroupLevelMin, VolumeColumn::RoleMin},
                                       std::pair{GroupLevelMax, VolumeColumn::RoleMax},
                                       std::pair{GroupLevelMode, VolumeColumn::RoleMode}}) {
                const auto v = static_cast<std::uint8_t>(vc.spinnerValue(VolumeColumn::index(ch, role)));
                if (!write(CmdWriteBulk, group, 0, addr, v)) return;
            }
        }
        // With mute off the link pauses 1.5 s before it waits for this one.
        if (!write(CmdWriteBulk, GroupMute, 0, 0, flag(controls_.mute()), true)) return;
        if (!write(CmdWriteBulk, GroupLock, 0, 0, flag(controls_.lock()))) return;
        if (!write(CmdWriteBulk, GroupExciter, 0, 0, flag(controls_.exciter()))) return;
        if (!write(CmdWriteBulk, GroupInput, 0, 0, static_cast<std::uint8_t>(selectedInput(controls_)))) return;
        // The commit only follows a complete upload; its own failure is the link's to report.
        write(CmdCommit, 0, 0, 0, 0);
    }();
    end();
}

void Transfers::SyncSelectionWithDevice() {
    link_.PacketsTotal = syncPackets(model_.EffectCode);
    begin();
    [&] {
        if (!writeRow(CmdWriteLive, PresetArray::Music, model_.MusicRow)) return;
        if (!writeRow(CmdWriteLive, PresetArray::Mic, model_.MicRow)) return;
        if (!writeRow(CmdWriteLive, model_.effectArray(), model_.effectRow())) return;

        std::uint8_t b = 0;
        const VolumeColumn& vc = controls_.volumeColumn();
        for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
            if (!readByte(GroupLevel, 0, static_cast<std::uint8_t>(ch), b)) return;
            controls_.setLevelFaderValue(ch, b);
            // The level never stands above the channel's Max box, typed or applied.
            const std::optional<int> top = vc.maxBoxNumber(ch);
            if (!top) return;
            if (*top < controls_.levelFaderValue(ch)) controls_.setLevelFaderValue(ch, *top);
        }
        readSwitches();
    }();
    end();
}

} // namespace sonmira::settings
