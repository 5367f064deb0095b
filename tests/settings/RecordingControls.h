#pragma once
// The main window's controls as the settings code sees them, recording what
// is done to them.
#include "settings/ControlsView.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace sonmira::settings::test {

class RecordingControls final : public ControlsView, public link::ProgressView {
public:
    std::array<bool, InputOptions> input{false, false, false};
    bool exciterOn = false, muteOn = false, lockOn = false;
    std::array<int, VolumeColumn::Channels> level{0, 0, 0};
    VolumeColumn column{this};

    bool enabled = true;
    std::vector<bool> enabledChanges;
    int refreshes = 0;
    std::function<void()> onRefresh;
    std::vector<int> panels;
    std::vector<int> progress;
    int levelSets = 0;
    std::vector<std::pair<int, bool>> inputWrites;

    // The limit both window descriptions give the Min and Max boxes.
    RecordingControls() {
        for (int i = 0; i < VolumeColumn::Boxes; ++i)
            if (!VolumeColumn::readOnly(i)) column.setMaxLength(i, 2);
    }

    bool inputOption(int i) const override { return input.at(static_cast<std::size_t>(i)); }
    void setInputOption(int i, bool on) override {
        input.at(static_cast<std::size_t>(i)) = on;
        inputWrites.emplace_back(i, on);
    }
    bool exciter() const override { return exciterOn; }
    void setExciter(bool on) override { exciterOn = on; }
    bool mute() const override { return muteOn; }
    void setMute(bool on) override { muteOn = on; }
    bool lock() const override { return lockOn; }
    void setLock(bool on) override { lockOn = on; }
    int levelFaderValue(int ch) const override { return level.at(static_cast<std::size_t>(ch)); }
    void setLevelFaderValue(int ch, int v) override {
        ++levelSets;
        level.at(static_cast<std::size_t>(ch)) = std::clamp(v, 0, 80);
    }
    void RefreshParameterControls() override {
        ++refreshes;
        if (onRefresh) onRefresh();
    }
    void ShowEffectPanel(int code) override { panels.push_back(code); }
    void setWindowEnabled(bool on) override {
        enabled = on;
        enabledChanges.push_back(on);
    }
    VolumeColumn& volumeColumn() override { return column; }
    link::ProgressView& progressStrip() override { return *this; }
    void setProgressValue(int percent) override { progress.push_back(percent); }

    int strip() const { return progress.empty() ? -1 : progress.back(); }
};

} // namespace sonmira::settings::test
