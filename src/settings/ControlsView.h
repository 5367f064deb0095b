#pragma once
// What the settings code reaches in the main window: the switches and the
// level faders that hold their values themselves, the volume column, the
// refresh of the preset controls, the effect panel, the window's enabled state
// and the progress strip. The main window implements it; tests record it.
// Setting any value here raises no control event, so nothing is sent.
#include "VolumeColumn.h"
#include "link/ProgressView.h"

class QWidget;

namespace sonmira::settings {

// Input select options C_OptionEx2(0..2).
constexpr int InputAuto = 0, InputBgm = 1, InputAux = 2;
constexpr int InputOptions = 3;

class ControlsView : public LevelFaders {
public:
    // Input select C_OptionEx2(i).Value.
    virtual bool inputOption(int i) const = 0;
    virtual void setInputOption(int i, bool on) = 0;
    // Exciter C_FlagBar1, mute C_OptionEx3(0), lock C_OptionEx3(1).
    virtual bool exciter() const = 0;
    virtual void setExciter(bool on) = 0;
    virtual bool mute() const = 0;
    virtual void setMute(bool on) = 0;
    virtual bool lock() const = 0;
    virtual void setLock(bool on) = 0;
    // LevelFaders: C_ScrollBar4(0..2), whose value set clamps to 0..80.

    // Copies the selected rows of the model into their faders and the two
    // music switches.
    virtual void RefreshParameterControls() = 0;
    // Lays out the effect panel for an EffectCode.
    virtual void ShowEffectPanel(int effectCode) = 0;
    // The whole main window; a bulk transfer disables it while it runs.
    virtual void setWindowEnabled(bool on) = 0;
    virtual VolumeColumn& volumeColumn() = 0;
    // The strip C_ProgressBar1 that the link moves during a transfer.
    virtual link::ProgressView& progressStrip() = 0;
    // Owner of message boxes.
    virtual QWidget* messageOwner() { return nullptr; }
};

// The input as one number: the first option set, or 3 when none is.
inline int selectedInput(const ControlsView& c) {
    for (int i = 0; i < InputOptions; ++i)
        if (c.inputOption(i)) return i;
    return InputOptions;
}

// Clears the three options, then sets option b when there is one.
inline void setInputSelection(ControlsView& c, int b) {
    for (int i = 0; i < InputOptions; ++i) c.setInputOption(i, false);
    if (b >= 0 && b < InputOptions) c.setInputOption(b, true);
}

} // namespace sonmira::settings
