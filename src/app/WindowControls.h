#pragma once
// The main window's controls that hold values of their own (input, exciter,
// mute, lock, key row, channel levels, volume column, progress strip), as the
// settings code reaches them: the controls that the window description loaded.
#include "settings/ControlsView.h"
#include "settings/VolumeColumn.h"

#include <array>
#include <functional>

class QWidget;

namespace sonmira::controls {
class C_FlagBar;
class C_OptionEx;
class C_ProgressBar;
class C_ScrollBar;
} // namespace sonmira::controls

namespace sonmira::settings {
class VolumeColumnView;
}

namespace sonmira::app {

class LoadedWindow;

class WindowControls final : public settings::ControlsView {
public:
    // Throws std::runtime_error naming the first control the loaded window
    // lacks (or has of another kind).
    WindowControls(QWidget& window, const LoadedWindow& loaded);
    ~WindowControls() override;

    static constexpr int KeyOptions = 11;
    static constexpr int KeyRest = 5;

    bool inputOption(int i) const override;
    void setInputOption(int i, bool on) override;
    bool exciter() const override;
    void setExciter(bool on) override;
    bool mute() const override;
    void setMute(bool on) override;
    bool lock() const override;
    void setLock(bool on) override;
    int levelFaderValue(int channel) const override;
    void setLevelFaderValue(int channel, int value) override;
    void RefreshParameterControls() override { if (refreshParameters) refreshParameters(); }
    void ShowEffectPanel(int code) override { if (effectPanel) effectPanel(code); }
    void setWindowEnabled(bool on) override;
    settings::VolumeColumn& volumeColumn() override { return volume_; }
    link::ProgressView& progressStrip() override;
    QWidget* messageOwner() override { return &window_; }

    // The KEY row back to its middle, raising no event.
    void resetKeySelector();
    bool keyOption(int i) const;

    // The preset wiring's refresh of the faders and music switches.
    std::function<void()> refreshParameters;
    // Lays out the effect panel for a program; set by the window.
    std::function<void(int)> effectPanel;

private:
    QWidget& window_;
    std::array<controls::C_OptionEx*, settings::InputOptions> C_OptionEx2{};
    std::array<controls::C_OptionEx*, 2> C_OptionEx3{}; // mute, lock
    std::array<controls::C_OptionEx*, KeyOptions> C_OptionEx1{};
    controls::C_FlagBar* C_FlagBar1 = nullptr;
    std::array<controls::C_ScrollBar*, settings::VolumeColumn::Channels> C_ScrollBar4{};
    controls::C_ProgressBar* C_ProgressBar1 = nullptr;
    settings::VolumeColumn volume_;
    settings::VolumeColumnView* volumeView_ = nullptr;
};

} // namespace sonmira::app
