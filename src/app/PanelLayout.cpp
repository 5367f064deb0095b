#include "PanelLayout.h"

#include "WindowLoader.h"

#include "controls/C_FlagBar.h"
#include "controls/C_Option.h"
#include "controls/C_ScrollBar.h"
#include "controls/Gdi.h"
#include "platform/Runtime.h"

#include <QLineEdit>

namespace sonmira::app {

const QString PanelLayout::MusicHeader0 = QStringLiteral(
    "     57Hz         134Hz        400Hz         1KHz         2.5KHz        6.3KHz        16KHz      Out Limit");
const QString PanelLayout::MusicHeader1 = QStringLiteral(
    "            C Music Vol   C Mic Vol     C Bass       C Mid      C Treble     SUB Freq  SUB MinOn Vol   SUB Vol");
const QString PanelLayout::MusicHeader2 = QStringLiteral(u"没有使用");
const QString PanelLayout::KtvHeader = QStringLiteral(
    "  Echo-A Rep    Echo-A Dly    Echo-A Vol    Echo-B Vol   Echo-B H_Cut   Echo-B L&R    Echo-B Rep    Echo-B Dly");
const QString PanelLayout::EffHeader = QStringLiteral(
    "   Echo Rep   Echo Dly   Echo Vol   Rev Vol   REV 1 Time  REV 2 Time REV 3 Time  REV Dly  REV H_Cut1  REV H_Cut2");

namespace {

// Sub-page 1's two switches and their labels stand at the same place in
// both skins, each switch 200 twips below its label.
constexpr int SwitchLeft = 300;
constexpr int SwitchLabelLeft = 200;
constexpr int InvertInCentreTop = 450;
constexpr int SubInvertTop = 1150;
constexpr int InvertInCentreLabelTop = 250;
constexpr int SubInvertLabelTop = 950;

template <typename T, std::size_t N>
void requireAll(std::array<T*, N>& out, const LoadedWindow& loaded, const char* name) {
    for (std::size_t i = 0; i < N; ++i) out[i] = loaded.require<T>(QLatin1String(name), static_cast<int>(i));
}

void setLeft(QWidget* w, int twips) { w->move(controls::twipsToPixels(twips), w->y()); }
void setTop(QWidget* w, int twips) { w->move(w->x(), controls::twipsToPixels(twips)); }

} // namespace

PanelLayout::PanelLayout(const LoadedWindow& loaded, int faderTop, platform::Runtime& runtime)
    : faderTop_(faderTop), runtime_(runtime) {
    requireAll(C_ScrollBar7, loaded, "C_ScrollBar7");
    requireAll(C_ScrollBar3, loaded, "C_ScrollBar3");
    requireAll(C_ScrollBar2, loaded, "C_ScrollBar2");
    requireAll(C_Option1, loaded, "C_Option1");
    C_FlagBar2 = loaded.require<controls::C_FlagBar>(QStringLiteral("C_FlagBar2"));
    C_FlagBar3 = loaded.require<controls::C_FlagBar>(QStringLiteral("C_FlagBar3"));
    Label3 = loaded.require(QStringLiteral("Label3"));
    Label6 = loaded.require(QStringLiteral("Label6"));
    Picture1 = loaded.require(QStringLiteral("Picture1"));
    Picture2 = loaded.require(QStringLiteral("Picture2"));
    Picture4 = loaded.require(QStringLiteral("Picture4"));
    Picture5 = loaded.require(QStringLiteral("Picture5"));
    Picture6 = loaded.require(QStringLiteral("Picture6"));
    Text2 = loaded.require<QLineEdit>(QStringLiteral("Text2"));
    Text4 = loaded.require<QLineEdit>(QStringLiteral("Text4"));
    for (int i = 0; i < SubPageOptions; ++i)
        connect(C_Option1[static_cast<std::size_t>(i)], &controls::C_Option::Click, this,
                [this, i] { C_Option1_Click(i); });
}

void PanelLayout::placeFader(QWidget* fader, int leftTwips) {
    setTop(fader, faderTop_);
    setLeft(fader, leftTwips);
    fader->show();
}

void PanelLayout::ShowMusicSubPage(int index) {
    for (auto* fader : C_ScrollBar7) fader->hide();
    C_FlagBar2->hide();
    C_FlagBar3->hide();
    Label3->hide();
    Label6->hide();

    switch (index) {
    case 0:
        for (std::size_t k = 0; k < 8; ++k) placeFader(C_ScrollBar7[k], int(k) * 1230);
        Text2->setText(MusicHeader0);
        Picture1->show();
        Picture2->hide();
        Picture6->hide();
        break;
    case 1:
        for (std::size_t k = 8; k < MusicFaders; ++k) placeFader(C_ScrollBar7[k], int(k - 8) * 1140 + 1000);
        C_FlagBar2->show();
        setTop(C_FlagBar2, InvertInCentreTop);
        setTop(C_FlagBar3, SubInvertTop);
        setTop(Label3, InvertInCentreLabelTop);
        setTop(Label6, SubInvertLabelTop);
        Label3->show();
        C_FlagBar3->show();
        setLeft(C_FlagBar2, SwitchLeft);
        setLeft(C_FlagBar3, SwitchLeft);
        setLeft(Label3, SwitchLabelLeft);
        setLeft(Label6, SwitchLabelLeft);
        Label6->show();
        Text2->setText(MusicHeader1);
        Picture1->hide();
        Picture2->show();
        Picture6->hide();
        break;
    case 2:
        Text2->setText(MusicHeader2);
        Picture1->hide();
        Picture2->hide();
        Picture6->show();
        break;
    default:
        break; // an empty panel; the strips keep their state
    }
}

void PanelLayout::ShowEffectPanel(int code) {
    for (auto* fader : C_ScrollBar3) fader->hide();
    for (auto* fader : C_ScrollBar2) fader->hide();
    const bool ktv = code < 20;
    if (ktv) {
        for (std::size_t i = 0; i < KtvFaders; ++i) placeFader(C_ScrollBar3[i], int(i) * 1260);
    } else {
        for (std::size_t i = 0; i < EffFaders; ++i) placeFader(C_ScrollBar2[i], int(i) * 1000);
    }
    Text4->setText(ktv ? KtvHeader : EffHeader);
    Picture4->setVisible(ktv);
    Picture5->setVisible(!ktv);
    runtime_.pumpOnce();
}

void PanelLayout::C_Option1_Click(int index) {
    for (int i = 0; i < SubPageOptions; ++i) C_Option1[static_cast<std::size_t>(i)]->setValue(i == index);
    ShowMusicSubPage(index);
}

} // namespace sonmira::app
