#pragma once
// The sound settings the program keeps about the unit: four preset arrays of
// parameter cells and their row selectors, plus the one column table that says
// for every preset column which control shows it, its address on the unit, its
// range, its value-text type and its factory value. The window loading, the
// transfers, the profile file and the simulated unit all read that table.
#include <array>
#include <cstdint>
#include <span>

namespace sonmira::settings {

class ControlsView;

// One parameter of one preset. Addr is the unit's address of the column, the
// same in every row; Value is stored as given, never clamped.
struct ParamCell {
    std::uint8_t Addr = 0;
    std::uint8_t Value = 0;
};

enum class PresetArray : std::uint8_t { Music, Mic, Ktv, Eff };
inline constexpr std::array<PresetArray, 4> AllPresetArrays{PresetArray::Music, PresetArray::Mic,
                                                            PresetArray::Ktv, PresetArray::Eff};

// One column of a preset array.
struct ColumnSpec {
    const char* control;      // the control array that shows it: "C_ScrollBar7", "C_FlagBar2"
    int controlIndex;         // member of that array; -1 for a single control (the switches)
    const char* title;        // the fader's Title, or the caption of a switch's label
    std::uint8_t addr;        // the control's Tag
    std::uint8_t maxValue;    // the fader's MaxValue; 1 for a switch
    int valueTipType;         // the fader's ValueTipType; -1 for a switch
    std::array<std::uint8_t, 6> defaults; // factory value per row (rows past the array's end unused)

    bool isSwitch() const { return valueTipType < 0; }
};

constexpr int MusicRows = 6, MusicColumns = 18;
constexpr int MicRows = 6, MicColumns = 9;
constexpr int KtvRows = 2, KtvColumns = 8;
constexpr int EffRows = 2, EffColumns = 10;

// EffectCode values: 0 and 1 select a KTV program, 20 and 21 an EFF program.
constexpr std::uint8_t EffCodeBase = 20;

int rowCount(PresetArray a);
int columnCount(PresetArray a);
std::span<const ColumnSpec> columns(PresetArray a);
const ColumnSpec& column(PresetArray a, int col);
// The preset-cell group code a column travels under (0 music, 1 mic, 2 effect).
std::uint8_t groupOf(PresetArray a);
// The Row byte on the wire: the row itself, or EffectCode for an EFF row.
std::uint8_t wireRow(PresetArray a, int row);

class SettingsModel {
public:
    template <int R, int C>
    using Grid = std::array<std::array<ParamCell, C>, R>;

    Grid<MusicRows, MusicColumns> MusicParams{};
    Grid<MicRows, MicColumns> MicParams{};
    Grid<KtvRows, KtvColumns> KtvParams{};
    Grid<EffRows, EffColumns> EffParams{};

    // Changed only by the preset selectors.
    std::uint8_t MusicRow = 0;
    std::uint8_t MicRow = 0;
    std::uint8_t EffectCode = 0;

    // Cell access; callers pass indexes inside the array's bounds.
    ParamCell& cell(PresetArray a, int row, int col);
    const ParamCell& cell(PresetArray a, int row, int col) const;
    std::span<ParamCell> row(PresetArray a, int row);
    std::span<const ParamCell> row(PresetArray a, int row) const;

    // Stores the address of a column in every row of its array.
    void setColumnAddress(PresetArray a, int col, std::uint8_t addr);
    // Every column's address from the column table (what the window's loading
    // copies from the controls' Tags, which carry the same numbers).
    void setAddressesFromTable();

    // The selected rows.
    bool effectIsEff() const { return EffectCode >= EffCodeBase; }
    PresetArray effectArray() const { return effectIsEff() ? PresetArray::Eff : PresetArray::Ktv; }
    int effectRow() const { return effectIsEff() ? EffectCode - EffCodeBase : EffectCode; }
    std::span<ParamCell> selectedMusicRow() { return row(PresetArray::Music, MusicRow); }
    std::span<ParamCell> selectedMicRow() { return row(PresetArray::Mic, MicRow); }
    std::span<ParamCell> selectedEffectRow() { return row(effectArray(), effectRow()); }

    // The factory values of all four arrays; addresses and selectors stay.
    void ResetPresetValues();

    // The whole reset: the arrays, then the controls that show them, the
    // switches and the volume column. Sends nothing to the unit.
    void ResetToDefaults(ControlsView& controls);
};

} // namespace sonmira::settings
