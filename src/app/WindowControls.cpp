#include "WindowControls.h"

#include "controls/C_FlagBar.h"
#include "controls/C_OptionEx.h"
#include "controls/C_ProgressBar.h"
#include "controls/C_ScrollBar.h"
#include "settings/VolumeColumnView.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace sonmira::app {

namespace {
template <typename T>
T* hiddenChild(QWidget& parent) {
    auto* c = new T(&parent);
    c->hide();
    return c;
}
} // namespace

WindowControls::WindowControls(QWidget& window) : window_(window), volume_(this) {
    for (auto& c : C_OptionEx2) c = hiddenChild<controls::C_OptionEx>(window);
    for (auto& c : C_OptionEx3) c = hiddenChild<controls::C_OptionEx>(window);
    for (auto& c : C_OptionEx1) c = hiddenChild<controls::C_OptionEx>(window);
    C_FlagBar1 = hiddenChild<controls::C_FlagBar>(window);
    for (auto& c : C_ScrollBar4) {
        c = hiddenChild<controls::C_ScrollBar>(window);
        c->setMaxValue(80);
    }
    C_ProgressBar1 = hiddenChild<controls::C_ProgressBar>(window);
    volumeView_ = new settings::VolumeColumnView(volume_, &window);
    for (int i = 0; i < settings::VolumeColumn::Boxes; ++i) {
        volumeView_->box(i)->hide();
        volumeView_->spinner(i)->hide();
    }
    C_OptionEx1[KeyRest]->setValue(true);
}

// The volume view is a child of the window, which outlives this object; it
// refers to volume_, so it goes first.
WindowControls::~WindowControls() { delete volumeView_; }

bool WindowControls::inputOption(int i) const { return C_OptionEx2.at(static_cast<std::size_t>(i))->Value(); }
void WindowControls::setInputOption(int i, bool on) { C_OptionEx2.at(static_cast<std::size_t>(i))->setValue(on); }
bool WindowControls::exciter() const { return C_FlagBar1->Value(); }
void WindowControls::setExciter(bool on) { C_FlagBar1->setValue(on); }
bool WindowControls::mute() const { return C_OptionEx3[0]->Value(); }
void WindowControls::setMute(bool on) { C_OptionEx3[0]->setValue(on); }
bool WindowControls::lock() const { return C_OptionEx3[1]->Value(); }
void WindowControls::setLock(bool on) { C_OptionEx3[1]->setValue(on); }

int WindowControls::levelFaderValue(int channel) const {
    return C_ScrollBar4.at(static_cast<std::size_t>(channel))->Value();
}

void WindowControls::setLevelFaderValue(int channel, int value) {
    C_ScrollBar4.at(static_cast<std::size_t>(channel))->setValue(std::clamp(value, 0, 80));
}

void WindowControls::setWindowEnabled(bool on) { window_.setEnabled(on); }

link::ProgressView& WindowControls::progressStrip() { return *C_ProgressBar1; }

void WindowControls::resetKeySelector() {
    for (auto* c : C_OptionEx1) c->setValue(false);
    C_OptionEx1[KeyRest]->setValue(true);
}

bool WindowControls::keyOption(int i) const { return C_OptionEx1.at(static_cast<std::size_t>(i))->Value(); }

} // namespace sonmira::app
