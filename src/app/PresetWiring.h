#pragma once
// The main window's preset controls wired to the settings model and the link:
// the three preset selectors, the faders and the two music switches of the
// preset arrays, and the channel-level faders. A preset control stores what
// the user sets in its selected row and, while the link is up, writes it to
// the unit at once; a selector shows its row and writes the whole row.
#include "settings/ParamModel.h"
#include "settings/VolumeColumn.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace sonmira::controls {
class C_ComboBox;
class C_FlagBar;
class C_ScrollBar;
} // namespace sonmira::controls

namespace sonmira::link {
class DeviceLink;
}

namespace sonmira::settings {
class ControlsView;
}

namespace sonmira::app {

class LoadedWindow;

class PresetWiring final : public QObject {
public:
    // Throws std::runtime_error naming the first control the loaded window
    // lacks (or has of another kind).
    PresetWiring(const LoadedWindow& loaded, settings::SettingsModel& model, settings::ControlsView& controls,
                 link::DeviceLink& link);

    // Hooks the handlers to the controls' events; once, while the window loads.
    void connectEvents();

    // The selected rows of the model into their faders and the two music
    // switches. Raises no control event, so it stores and sends nothing.
    void RefreshParameterControls();

    // --- event handlers -------------------------------------------------------
    void C_ComboBox1_Click(int E_Index);
    void C_ComboBox2_Click(int E_Index);
    void C_ComboBox3_Click(int E_Index);
    void C_ScrollBar7_Scroll(int Index);
    void C_ScrollBar1_Scroll(int Index);
    void C_ScrollBar3_Scroll(int Index);
    void C_ScrollBar2_Scroll(int Index);
    void C_FlagBar2_Click();
    void C_FlagBar3_Click();
    void C_ScrollBar4_Scroll(int Index);

    // The EffectCode of a row of the effect selector: KTV1, KTV2, EFF1, EFF2.
    static std::uint8_t effectCodeOfListRow(int row);

private:
    enum class Selector { Music, Mic, Effect };
    // Music columns of the two switches C_FlagBar2 ("EFF In C") and C_FlagBar3 ("SUB Invert").
    static constexpr int EffInCColumn = 16, SubInvertColumn = 17;

    // A column's control: a fader, or for the music switches a slide switch.
    struct Column {
        controls::C_ScrollBar* fader = nullptr;
        controls::C_FlagBar* flag = nullptr;
    };
    std::vector<Column>& columnsOf(settings::PresetArray a) { return columns_[static_cast<std::size_t>(a)]; }
    // The row of the array the selectors have chosen, or nothing for the
    // effect array that is not the selected program's.
    std::optional<int> selectedRow(settings::PresetArray a) const;
    void selectPreset(Selector s, int listRow);
    void presetFaderScroll(settings::PresetArray a, int index);
    void musicSwitchClick(int column);
    // One live write of a cell as the model holds it; true when the unit answered.
    bool writeCell(settings::PresetArray a, int row, int column);
    void refreshRow(settings::PresetArray a);

    settings::SettingsModel& model_;
    settings::ControlsView& controls_;
    link::DeviceLink& link_;
    std::array<std::vector<Column>, settings::AllPresetArrays.size()> columns_;
    std::array<controls::C_ComboBox*, 3> selectors_{}; // music, microphone, effect
    std::array<controls::C_ScrollBar*, settings::VolumeColumn::Channels> C_ScrollBar4{};
};

} // namespace sonmira::app
