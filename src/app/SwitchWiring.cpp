#include "SwitchWiring.h"

#include "UserFormValue.h"
#include "WindowControls.h"
#include "WindowLoader.h"

#include "controls/C_Button.h"
#include "controls/C_FlagBar.h"
#include "controls/C_OptionEx.h"
#include "settings/SettingsTexts.h"

#include <QWidget>

namespace sonmira::app {

using namespace link;

namespace {
template <typename T, std::size_t N>
void requireArray(std::array<T*, N>& out, const LoadedWindow& loaded, const char* name) {
    for (std::size_t i = 0; i < N; ++i) out[i] = loaded.require<T>(QLatin1String(name), static_cast<int>(i));
}

// Sets exactly one member of an option row, clearing the others first.
template <std::size_t N>
void lightOnly(const std::array<controls::C_OptionEx*, N>& row, int index) {
    for (auto* member : row) member->setValue(false);
    row.at(static_cast<std::size_t>(index))->setValue(true);
}
} // namespace

SwitchTexts SwitchTexts::of(Skin skin) {
    if (skin == Skin::Big)
        return {QStringLiteral("This item is not available. "), settings::SettingsTexts::of(skin).resetDone};
    return {QStringLiteral(u"不可用！"), settings::SettingsTexts::of(skin).resetDone};
}

SwitchWiring::SwitchWiring(Parts parts) : p_(parts), texts_(SwitchTexts::of(parts.skin)) {
    requireArray(C_OptionEx1, p_.loaded, "C_OptionEx1");
    requireArray(C_OptionEx2, p_.loaded, "C_OptionEx2");
    requireArray(C_OptionEx3, p_.loaded, "C_OptionEx3");
    C_FlagBar1 = p_.loaded.require<controls::C_FlagBar>(QStringLiteral("C_FlagBar1"));
    requireArray(C_Button1, p_.loaded, "C_Button1");
    // One-shot: its handler switches it off again. Its period is the stored one.
    const ControlRecord& stored = p_.loaded.timer(QStringLiteral("Timer1"));
    Timer1 = p_.runtime.createTimer(stored.interval, stored.enabled, [this] { Timer1_Timer(); });
}

SwitchWiring::~SwitchWiring() = default;

void SwitchWiring::connectEvents() {
    if (connected_) return;
    connected_ = true;
    for (int i = 0; i < KeyOptions; ++i)
        connect(C_OptionEx1[static_cast<std::size_t>(i)], &controls::C_OptionEx::Click, this,
                [this, i] { C_OptionEx1_Click(i); });
    for (int i = 0; i < settings::InputOptions; ++i)
        connect(C_OptionEx2[static_cast<std::size_t>(i)], &controls::C_OptionEx::Click, this,
                [this, i] { C_OptionEx2_Click(i); });
    for (int i = 0; i < static_cast<int>(C_OptionEx3.size()); ++i)
        connect(C_OptionEx3[static_cast<std::size_t>(i)], &controls::C_OptionEx::Click, this,
                [this, i] { C_OptionEx3_Click(i); });
    connect(C_FlagBar1, &controls::C_FlagBar::Click, this, [this] { C_FlagBar1_Click(); });
    for (int i = 0; i < static_cast<int>(C_Button1.size()); ++i)
        connect(C_Button1[static_cast<std::size_t>(i)], &controls::C_Button::Click, this,
                [this, i] { C_Button1_Click(i); });
}

bool SwitchWiring::writeLive(std::uint8_t group, std::uint8_t value, bool expectData, bool longWait) {
    return p_.link.SendCommand(expectData, expectData ? 1 : 0, CmdWriteLive, group, 0, 0, value, longWait);
}

// The pressed key stays lit only when the unit acknowledges the shift (or the
// command timed out and the link is down); otherwise Timer1 puts the row back
// in the middle. A press within the 300 ms of an earlier one does not restart
// the countdown.
void SwitchWiring::C_OptionEx1_Click(int Index) {
    lightOnly(C_OptionEx1, Index);
    if (!p_.link.Connected) {
        Timer1->setEnabled(true);
        return;
    }
    if (writeLive(GroupKey, static_cast<std::uint8_t>(Index), true, false) &&
        p_.link.ReplyData[0] != Acknowledge)
        Timer1->setEnabled(true);
}

void SwitchWiring::Timer1_Timer() {
    Timer1->setEnabled(false);
    p_.controls.resetKeySelector();
}

void SwitchWiring::C_OptionEx2_Click(int Index) {
    lightOnly(C_OptionEx2, Index);
    if (p_.link.Connected) writeLive(GroupInput, static_cast<std::uint8_t>(Index), false, false);
}

void SwitchWiring::C_FlagBar1_Click() {
    if (p_.link.Connected) writeLive(GroupExciter, C_FlagBar1->Value() ? 1 : 0, false, false);
}

void SwitchWiring::C_OptionEx3_Click(int Index) {
    controls::C_OptionEx* member = C_OptionEx3.at(static_cast<std::size_t>(Index));
    if (Index != Reset && !p_.link.Connected) {
        p_.desktop.messageBox(platform::MsgStyle::Exclamation, texts_.notAvailable, &p_.window);
        return;
    }
    member->setValue(!member->Value());
    if (Index == Reset) {
        // The button shows its on face while the message is open.
        p_.model.ResetToDefaults(p_.controls);
        p_.desktop.messageBox(platform::MsgStyle::Exclamation, texts_.resetDone, &p_.window);
        member->setValue(false);
    }
    if (Index == Mute && p_.link.Connected) {
        // Switching off holds the window for the unit's 1500 ms pause too.
        p_.controls.setWindowEnabled(false);
        writeLive(GroupMute, member->Value() ? 1 : 0, false, true);
        p_.controls.setWindowEnabled(true);
    }
}

void SwitchWiring::C_Button1_Click(int Index) {
    switch (Index) {
    case ButtonRead:
        // Set before the transfer looks at the link, so also when it refuses.
        p_.link.PacketsTotal = settings::Transfers::ReadPackets;
        p_.transfers.ReadAllFromDevice();
        break;
    case ButtonUpload:
        p_.link.PacketsTotal = settings::Transfers::UploadPackets;
        p_.transfers.WriteAllToDevice();
        break;
    case ButtonImport: lastProfile_ = p_.profiles.LoadProfile(dialogOwners()); break;
    case ButtonSave: lastProfile_ = p_.profiles.SaveProfile(dialogOwners()); break;
    default: break;
    }
}

// Only one skin's window is built, so it owns the dialogs whichever skin the
// flag names; the other skin's window takes its slot once it exists too.
settings::DialogOwners SwitchWiring::dialogOwners() const { return {&p_.window, &p_.window, UseBigForm}; }

} // namespace sonmira::app
