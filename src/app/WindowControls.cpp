#include "WindowControls.h"

#include "WindowLoader.h"

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
template <typename T, std::size_t N>
void requiredArray(std::array<T*, N>& out, const LoadedWindow& loaded, const char* name) {
    for (std::size_t i = 0; i < N; ++i) out[i] = loaded.require<T>(QLatin1String(name), static_cast<int>(i));
}
} // namespace

WindowControls::WindowControls(QWidget& window, const LoadedWindow& loaded) : window_(window), volume_(this) {
    requiredArray(C_OptionEx2, loaded, "C_OptionEx2");
    requiredArray(C_OptionEx3, loaded, "C_OptionEx3");
    requiredArray(C_OptionEx1, loaded, "C_OptionEx1");
    C_FlagBar1 = loaded.require<controls::C_FlagBar>(QStringLiteral("C_FlagBar1"));
    requiredArray(C_ScrollBar4, loaded, "C_ScrollBar4");
    C_ProgressBar1 = loaded.require<controls::C_ProgressBar>(QStringLiteral("C_ProgressBar1"));
    settings::VolumeColumnView::Boxes boxes{};
    settings::VolumeColumnView::Spinners spinners{};
    requiredArray(boxes, loaded, "Text1");
    requiredArray(spinners, loaded, "VScroll1");
    for (int i = 0; i < settings::VolumeColumn::Boxes; ++i)
        volume_.setMaxLength(i, loaded.record(QStringLiteral("Text1"), i)->maxLength);
    volumeView_ = new settings::VolumeColumnView(volume_, boxes, spinners, &window);
}

// The view refers to the column this object holds, so it goes first; the
// controls themselves are the window's children and go with it.
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
