#include "ParamModel.h"

#include "ControlsView.h"

#include <cassert>

namespace sonmira::settings {

namespace {

constexpr std::array<std::uint8_t, 6> all(std::uint8_t v) { return {v, v, v, v, v, v}; }
constexpr std::array<std::uint8_t, 6> pair(std::uint8_t r0, std::uint8_t r1) { return {r0, r1, 0, 0, 0, 0}; }

// Music columns 0 to 7 sit on the first sub-page, 8 to 17 on the second.
constexpr std::array<ColumnSpec, MusicColumns> MusicTable{{
    {"C_ScrollBar7", 0, "57Hz", 0, 20, 6, all(10)},
    {"C_ScrollBar7", 1, "134Hz", 1, 20, 6, all(10)},
    {"C_ScrollBar7", 2, "400Hz", 2, 20, 6, all(10)},
    {"C_ScrollBar7", 3, "1KHz", 3, 20, 6, all(10)},
    {"C_ScrollBar7", 4, "2.5KHz", 4, 20, 6, all(10)},
    {"C_ScrollBar7", 5, "6.3KHz", 5, 20, 6, all(10)},
    {"C_ScrollBar7", 6, "16KHz", 6, 20, 6, all(10)},
    {"C_ScrollBar7", 7, "OUT LIMIT", 29, 6, 9, all(1)},
    {"C_ScrollBar7", 8, "C MUC VOL", 17, 80, 0, all(80)},
    {"C_ScrollBar7", 9, "C MIC VOL", 18, 80, 0, all(80)},
    {"C_ScrollBar7", 10, "C BASS", 24, 20, 6, all(10)},
    {"C_ScrollBar7", 11, "C MID", 23, 20, 6, all(10)},
    {"C_ScrollBar7", 12, "C TREBLE", 22, 20, 6, all(10)},
    {"C_ScrollBar7", 13, "SUB FREQ", 27, 21, 8, all(21)},
    {"C_ScrollBar7", 14, "SUB MicOn Vol", 25, 80, 0, all(30)},
    {"C_ScrollBar7", 15, "SUB VOL", 26, 80, 0, all(30)},
    {"C_FlagBar2", -1, "EFF In C", 21, 1, -1, all(0)},
    {"C_FlagBar3", -1, "SUB Invert", 28, 1, -1, all(0)},
}};

// MIC1 and MIC2 start with their 57 Hz band at 7, MIC2 with its low-cut at 3.
// Columns 7 and 8 carry the addresses 8 and 7.
constexpr std::array<ColumnSpec, MicColumns> MicTable{{
    {"C_ScrollBar1", 0, "57Hz", 0, 20, 6, {7, 7, 10, 10, 10, 10}},
    {"C_ScrollBar1", 1, "134Hz", 1, 20, 6, all(10)},
    {"C_ScrollBar1", 2, "400Hz", 2, 20, 6, all(10)},
    {"C_ScrollBar1", 3, "1KHz", 3, 20, 6, all(10)},
    {"C_ScrollBar1", 4, "2.5KHz", 4, 20, 6, all(10)},
    {"C_ScrollBar1", 5, "6.3KHz", 5, 20, 6, all(10)},
    {"C_ScrollBar1", 6, "10KHz", 6, 20, 6, all(10)},
    {"C_ScrollBar1", 7, "MIC H_Curve", 8, 3, 5, all(0)},
    {"C_ScrollBar1", 8, "MIC LowCut", 7, 13, 8, {6, 3, 6, 6, 6, 6}},
}};

constexpr std::array<ColumnSpec, KtvColumns> KtvTable{{
    {"C_ScrollBar3", 0, "ECHO-A REP", 82, 15, 0, pair(6, 8)},
    {"C_ScrollBar3", 1, "ECHO-A DLY", 80, 15, 1, pair(14, 14)},
    {"C_ScrollBar3", 2, "Echo-A Vol", 98, 80, 0, pair(40, 40)},
    {"C_ScrollBar3", 3, "Echo-B Vol", 99, 80, 0, pair(68, 68)},
    {"C_ScrollBar3", 4, "Echo-B H_Cut", 10, 100, 0, pair(90, 80)},
    {"C_ScrollBar3", 5, "Echo-B L&R", 85, 127, 0, pair(63, 63)},
    {"C_ScrollBar3", 6, "ECHO-B REP", 83, 100, 0, pair(75, 80)},
    {"C_ScrollBar3", 7, "ECHO-B DLY", 81, 127, 4, pair(63, 66)},
}};

constexpr std::array<ColumnSpec, EffColumns> EffTable{{
    {"C_ScrollBar2", 0, "ECHO-A REP", 82, 15, 0, pair(8, 8)},
    {"C_ScrollBar2", 1, "ECHO-A DLY", 80, 15, 1, pair(14, 14)},
    {"C_ScrollBar2", 2, "ECHO VOL", 98, 80, 0, pair(40, 50)},
    {"C_ScrollBar2", 3, "REV VOL", 199, 80, 0, pair(68, 68)},
    {"C_ScrollBar2", 4, "REV 1 Time", 130, 60, 2, pair(50, 50)},
    {"C_ScrollBar2", 5, "REV 1 Time", 131, 60, 2, pair(45, 45)},
    {"C_ScrollBar2", 6, "REV 3 Time", 132, 60, 2, pair(45, 55)},
    {"C_ScrollBar2", 7, "REV DLY", 181, 40, 3, pair(20, 20)},
    {"C_ScrollBar2", 8, "REV H_CUT1", 110, 100, 0, pair(88, 80)},
    {"C_ScrollBar2", 9, "REV H_CUT 2", 111, 100, 0, pair(90, 80)},
}};

} // namespace

int rowCount(PresetArray a) {
    switch (a) {
    case PresetArray::Music: return MusicRows;
    case PresetArray::Mic: return MicRows;
    case PresetArray::Ktv: return KtvRows;
    case PresetArray::Eff: return EffRows;
    }
    return 0;
}

int columnCount(PresetArray a) { return static_cast<int>(columns(a).size()); }

std::span<const ColumnSpec> columns(PresetArray a) {
    switch (a) {
    case PresetArray::Music: return MusicTable;
    case PresetArray::Mic: return MicTable;
    case PresetArray::Ktv: return KtvTable;
    case PresetArray::Eff: return EffTable;
    }
    return {};
}

const ColumnSpec& column(PresetArray a, int col) {
    const auto table = columns(a);
    assert(col >= 0 && col < static_cast<int>(table.size()));
    return table[static_cast<std::size_t>(col)];
}

std::uint8_t groupOf(PresetArray a) {
    switch (a) {
    case PresetArray::Music: return 0;
    case PresetArray::Mic: return 1;
    case PresetArray::Ktv:
    case PresetArray::Eff: return 2;
    }
    return 0;
}

std::uint8_t wireRow(PresetArray a, int row) {
    return static_cast<std::uint8_t>(a == PresetArray::Eff ? EffCodeBase + row : row);
}

std::span<ParamCell> SettingsModel::row(PresetArray a, int r) {
    assert(r >= 0 && r < rowCount(a));
    const auto i = static_cast<std::size_t>(r);
    switch (a) {
    case PresetArray::Music: return MusicParams[i];
    case PresetArray::Mic: return MicParams[i];
    case PresetArray::Ktv: return KtvParams[i];
    case PresetArray::Eff: return EffParams[i];
    }
    return {};
}

std::span<const ParamCell> SettingsModel::row(PresetArray a, int r) const {
    return const_cast<SettingsModel*>(this)->row(a, r);
}

ParamCell& SettingsModel::cell(PresetArray a, int r, int col) {
    auto cells = row(a, r);
    assert(col >= 0 && col < static_cast<int>(cells.size()));
    return cells[static_cast<std::size_t>(col)];
}

const ParamCell& SettingsModel::cell(PresetArray a, int r, int col) const {
    return const_cast<SettingsModel*>(this)->cell(a, r, col);
}

void SettingsModel::setColumnAddress(PresetArray a, int col, std::uint8_t addr) {
    for (int r = 0; r < rowCount(a); ++r) cell(a, r, col).Addr = addr;
}

void SettingsModel::setAddressesFromTable() {
    for (PresetArray a : AllPresetArrays)
        for (int k = 0; k < columnCount(a); ++k) setColumnAddress(a, k, column(a, k).addr);
}

void SettingsModel::ResetPresetValues() {
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (int k = 0; k < columnCount(a); ++k)
                cell(a, r, k).Value = column(a, k).defaults[static_cast<std::size_t>(r)];
}

void SettingsModel::ResetToDefaults(ControlsView& controls) {
    ResetPresetValues();
    controls.RefreshParameterControls();
    controls.ShowEffectPanel(EffectCode);

    // BGM, set option by option in their order.
    for (int i = 0; i < InputOptions; ++i) controls.setInputOption(i, i == InputBgm);
    controls.setExciter(false);
    controls.setMute(false);
    controls.setLock(false);

    // The minima go in before the maxima, each against the maximum the channel
    // had until now: a minimum above an old maximum becomes that maximum.
    VolumeColumn& vc = controls.volumeColumn();
    for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
        const int i = VolumeColumn::index(ch, VolumeColumn::RoleMin);
        vc.setText(i, QString::number(VolumeColumn::DefaultMin[static_cast<std::size_t>(ch)]));
        vc.ApplyLevelText(i);
    }
    for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
        const int iMax = VolumeColumn::index(ch, VolumeColumn::RoleMax);
        vc.setText(iMax, QString::number(VolumeColumn::DefaultMax));
        vc.ApplyLevelText(iMax);
        const int iMode = VolumeColumn::index(ch, VolumeColumn::RoleMode);
        vc.setSpinnerValue(iMode, 0);
        // Rewrites the mode text even when the spinner already held 0.
        vc.VScroll1_Change(iMode);
    }
    for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
        const int i = VolumeColumn::index(ch, VolumeColumn::RoleMin);
        controls.setLevelFaderValue(ch, vc.boxNumber(i).value_or(vc.spinnerValue(i)));
    }
}

} // namespace sonmira::settings
