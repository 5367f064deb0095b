#include "PresetWiring.h"

#include "WindowLoader.h"

#include "controls/C_ComboBox.h"
#include "controls/C_FlagBar.h"
#include "controls/C_ScrollBar.h"
#include "link/DeviceLink.h"
#include "settings/ControlsView.h"

namespace sonmira::app {

using settings::PresetArray;

namespace {

constexpr int EffectListRows = 4; // KTV1, KTV2, EFF1, EFF2

std::size_t at(int i) { return static_cast<std::size_t>(i); }

} // namespace

PresetWiring::PresetWiring(const LoadedWindow& loaded, settings::SettingsModel& model,
                           settings::ControlsView& controls, link::DeviceLink& link)
    : model_(model), controls_(controls), link_(link) {
    for (const PresetArray a : settings::AllPresetArrays) {
        for (const settings::ColumnSpec& c : settings::columns(a)) {
            const QString name = QLatin1String(c.control);
            Column col;
            if (c.isSwitch()) col.flag = loaded.require<controls::C_FlagBar>(name, c.controlIndex);
            else col.fader = loaded.require<controls::C_ScrollBar>(name, c.controlIndex);
            columnsOf(a).push_back(col);
        }
    }
    for (int i = 0; i < static_cast<int>(selectors_.size()); ++i)
        selectors_[at(i)] = loaded.require<controls::C_ComboBox>(QStringLiteral("C_ComboBox%1").arg(i + 1));
    for (int ch = 0; ch < settings::VolumeColumn::Channels; ++ch)
        C_ScrollBar4[at(ch)] = loaded.require<controls::C_ScrollBar>(QStringLiteral("C_ScrollBar4"), ch);
}

void PresetWiring::connectEvents() {
    using controls::C_ComboBox;
    using controls::C_ScrollBar;
    connect(selectors_[0], &C_ComboBox::Click, this, &PresetWiring::C_ComboBox1_Click);
    connect(selectors_[1], &C_ComboBox::Click, this, &PresetWiring::C_ComboBox2_Click);
    connect(selectors_[2], &C_ComboBox::Click, this, &PresetWiring::C_ComboBox3_Click);

    // In the order of AllPresetArrays: music, microphone, KTV, EFF.
    using FaderHandler = void (PresetWiring::*)(int);
    constexpr std::array<FaderHandler, settings::AllPresetArrays.size()> faderHandlers{
        &PresetWiring::C_ScrollBar7_Scroll, &PresetWiring::C_ScrollBar1_Scroll, &PresetWiring::C_ScrollBar3_Scroll,
        &PresetWiring::C_ScrollBar2_Scroll};
    for (std::size_t i = 0; i < faderHandlers.size(); ++i) {
        const FaderHandler handler = faderHandlers[i];
        const auto& cols = columns_[i];
        for (int k = 0; k < static_cast<int>(cols.size()); ++k)
            if (C_ScrollBar* fader = cols[at(k)].fader)
                connect(fader, &C_ScrollBar::Scroll, this, [this, handler, k] { (this->*handler)(k); });
    }
    const auto& music = columnsOf(PresetArray::Music);
    connect(music[EffInCColumn].flag, &controls::C_FlagBar::Click, this, &PresetWiring::C_FlagBar2_Click);
    connect(music[SubInvertColumn].flag, &controls::C_FlagBar::Click, this, &PresetWiring::C_FlagBar3_Click);

    for (int ch = 0; ch < settings::VolumeColumn::Channels; ++ch)
        connect(C_ScrollBar4[at(ch)], &C_ScrollBar::Scroll, this, [this, ch] { C_ScrollBar4_Scroll(ch); });
}

std::uint8_t PresetWiring::effectCodeOfListRow(int row) {
    return static_cast<std::uint8_t>(row < settings::KtvRows ? row : row + settings::EffCodeBase - settings::KtvRows);
}

std::optional<int> PresetWiring::selectedRow(PresetArray a) const {
    switch (a) {
    case PresetArray::Music: return model_.MusicRow;
    case PresetArray::Mic: return model_.MicRow;
    case PresetArray::Ktv:
    case PresetArray::Eff:
        if (model_.effectArray() != a) return std::nullopt;
        return model_.effectRow();
    }
    return std::nullopt;
}

// --- preset selectors -----------------------------------------------------------

void PresetWiring::C_ComboBox1_Click(int E_Index) { selectPreset(Selector::Music, E_Index); }
void PresetWiring::C_ComboBox2_Click(int E_Index) { selectPreset(Selector::Mic, E_Index); }
void PresetWiring::C_ComboBox3_Click(int E_Index) { selectPreset(Selector::Effect, E_Index); }

// The whole window stays disabled until the row is written, so no other
// control can start a command meanwhile.
void PresetWiring::selectPreset(Selector s, int listRow) {
    const int listRows = s == Selector::Music ? settings::MusicRows
                         : s == Selector::Mic ? settings::MicRows
                                              : EffectListRows;
    if (listRow < 0 || listRow >= listRows) return;

    controls_.setWindowEnabled(false);
    PresetArray a = PresetArray::Music;
    switch (s) {
    case Selector::Music: model_.MusicRow = static_cast<std::uint8_t>(listRow); break;
    case Selector::Mic:
        a = PresetArray::Mic;
        model_.MicRow = static_cast<std::uint8_t>(listRow);
        break;
    case Selector::Effect:
        model_.EffectCode = effectCodeOfListRow(listRow);
        a = model_.effectArray();
        controls_.ShowEffectPanel(model_.EffectCode);
        break;
    }
    const int row = *selectedRow(a);
    RefreshParameterControls();

    // Stops at the first cell without reply; the link has then reported it.
    // A link the watchdog dropped meanwhile gets no further command either.
    for (int col = 0; col < settings::columnCount(a); ++col)
        if (!link_.Connected || !writeCell(a, row, col)) break;
    controls_.setWindowEnabled(true);
}

bool PresetWiring::writeCell(PresetArray a, int row, int column) {
    const settings::ParamCell& c = model_.cell(a, row, column);
    return link_.SendCommand(false, 0, link::CmdWriteLive, settings::groupOf(a), settings::wireRow(a, row), c.Addr,
                             c.Value, false);
}

// --- refresh ------------------------------------------------------------------

void PresetWiring::RefreshParameterControls() {
    refreshRow(PresetArray::Music);
    refreshRow(PresetArray::Mic);
    refreshRow(model_.effectArray());
}

void PresetWiring::refreshRow(PresetArray a) {
    const auto cells = model_.row(a, *selectedRow(a));
    const auto& cols = columnsOf(a);
    for (std::size_t k = 0; k < cols.size(); ++k) {
        if (cols[k].fader) cols[k].fader->setValue(cells[k].Value);
        else cols[k].flag->setValue(cells[k].Value != 0);
    }
}

// --- preset faders and music switches ---------------------------------------------

void PresetWiring::C_ScrollBar7_Scroll(int Index) { presetFaderScroll(PresetArray::Music, Index); }
void PresetWiring::C_ScrollBar1_Scroll(int Index) { presetFaderScroll(PresetArray::Mic, Index); }
void PresetWiring::C_ScrollBar3_Scroll(int Index) { presetFaderScroll(PresetArray::Ktv, Index); }
void PresetWiring::C_ScrollBar2_Scroll(int Index) { presetFaderScroll(PresetArray::Eff, Index); }

// The fader locks only itself while its write waits: the user may move
// another fader meanwhile.
void PresetWiring::presetFaderScroll(PresetArray a, int index) {
    if (index < 0 || index >= static_cast<int>(columnsOf(a).size())) return;
    controls::C_ScrollBar* fader = columnsOf(a)[at(index)].fader;
    if (!fader) return;
    fader->setEnabled(false);
    const auto v = static_cast<std::uint8_t>(fader->Value());
    // An effect fader of the program that is not selected has no selected
    // row: it stores only a global value and sends nothing, as its row on the
    // unit belongs to the other kind of program.
    const std::optional<int> row = selectedRow(a);
    if (fader->ValueGlobal()) {
        for (int r = 0; r < settings::rowCount(a); ++r) model_.cell(a, r, index).Value = v;
    } else if (row) {
        model_.cell(a, *row, index).Value = v;
    }
    if (row && link_.Connected) writeCell(a, *row, index);
    fader->setEnabled(true);
}

void PresetWiring::C_FlagBar2_Click() { musicSwitchClick(EffInCColumn); }
void PresetWiring::C_FlagBar3_Click() { musicSwitchClick(SubInvertColumn); }

// Stored and sent even when the switch was clicked on the side it shows.
void PresetWiring::musicSwitchClick(int column) {
    const bool on = columnsOf(PresetArray::Music)[at(column)].flag->Value();
    model_.cell(PresetArray::Music, model_.MusicRow, column).Value = on ? 1 : 0;
    if (link_.Connected) writeCell(PresetArray::Music, model_.MusicRow, column);
}

// --- channel levels -----------------------------------------------------------------

// The level lives only in its fader. It never stands above the number in the
// channel's Max box (typed or applied); a box without a number bounds nothing.
void PresetWiring::C_ScrollBar4_Scroll(int Index) {
    if (Index < 0 || Index >= settings::VolumeColumn::Channels) return;
    controls::C_ScrollBar* fader = C_ScrollBar4[at(Index)];
    const std::optional<int> top = controls_.volumeColumn().maxBoxNumber(Index);
    if (top && *top < fader->Value()) fader->setValue(*top);
    if (!link_.Connected) return;
    fader->setEnabled(false);
    link_.SendCommand(false, 0, link::CmdWriteLive, link::GroupLevel, 0, static_cast<std::uint8_t>(Index),
                      static_cast<std::uint8_t>(fader->Value()), false);
    fader->setEnabled(true);
}

} // namespace sonmira::app
