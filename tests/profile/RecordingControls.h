#pragma once
// The switches, level faders and volume column of a main window, held in
// memory: for tests, the benchmark and the fuzz target.
#include "settings/ControlsView.h"

#include <algorithm>
#include <array>
#include <vector>

namespace sonmira::test {

struct RecordingControls : settings::ControlsView {
    std::array<bool, 3> inputs{};
    bool ex = false, mu = false, lo = false;
    std::array<int, 3> levels{};
    int refreshes = 0;
    std::vector<int> effectPanels;
    std::vector<bool> windowEnabled;
    settings::VolumeColumn column{this};

    struct Strip : link::ProgressView {
        void setProgressValue(int) override {}
    } strip;

    bool inputOption(int i) const override { return inputs.at(std::size_t(i)); }
    void setInputOption(int i, bool on) override { inputs.at(std::size_t(i)) = on; }
    bool exciter() const override { return ex; }
    void setExciter(bool on) override { ex = on; }
    bool mute() const override { return mu; }
    void setMute(bool on) override { mu = on; }
    bool lock() const override { return lo; }
    void setLock(bool on) override { lo = on; }
    int levelFaderValue(int ch) const override { return levels.at(std::size_t(ch)); }
    void setLevelFaderValue(int ch, int v) override { levels.at(std::size_t(ch)) = std::clamp(v, 0, 80); }
    void RefreshParameterControls() override { ++refreshes; }
    void ShowEffectPanel(int code) override { effectPanels.push_back(code); }
    void setWindowEnabled(bool on) override { windowEnabled.push_back(on); }
    settings::VolumeColumn& volumeColumn() override { return column; }
    link::ProgressView& progressStrip() override { return strip; }
};

} // namespace sonmira::test
