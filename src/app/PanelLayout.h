#pragma once
// The two panels of the main window whose fader sets change with a choice:
// the music panel's sub-pages (chosen with the options C_Option1) and the
// effect panel's KTV or EFF set (chosen by the effect program). Each layout
// hides its whole panel, then places and shows the chosen set, writes the
// panel's header text and shows the matching header strip. Only positions,
// visibility and texts change: no value, no model field, nothing sent.
#include <QObject>
#include <QString>

#include <array>

class QLineEdit;
class QWidget;

namespace sonmira::controls {
class C_FlagBar;
class C_Option;
class C_ScrollBar;
} // namespace sonmira::controls

namespace sonmira::platform {
class Runtime;
}

namespace sonmira::app {

class LoadedWindow;

class PanelLayout : public QObject {
    Q_OBJECT
public:
    static constexpr int MusicFaders = 16;
    static constexpr int KtvFaders = 8;
    static constexpr int EffFaders = 10;
    static constexpr int SubPageOptions = 3;

    // The column names over each set, the same in both skins.
    static const QString MusicHeader0;
    static const QString MusicHeader1;
    static const QString MusicHeader2;
    static const QString KtvHeader;
    static const QString EffHeader;

    // faderTop: the Top in twips of every fader placed inside a frame (the
    // skins differ only in this). The sub-page options are wired here: a
    // click switches the sub-page. Throws std::runtime_error naming the
    // first control the loaded window lacks.
    PanelLayout(const LoadedWindow& loaded, int faderTop, platform::Runtime& runtime);

    // 0 equaliser and output limit, 1 centre and subwoofer, 2 the unused
    // page; any other index leaves the panel empty.
    void ShowMusicSubPage(int index);
    // Codes below 20 are the KTV programs, the rest the EFF programs. Ends
    // with one pass over the waiting events.
    void ShowEffectPanel(int code);

    // A click on a sub-page option: that option set, the others cleared.
    void C_Option1_Click(int index);

private:
    void placeFader(QWidget* fader, int leftTwips);

    int faderTop_;
    platform::Runtime& runtime_;
    std::array<controls::C_ScrollBar*, MusicFaders> C_ScrollBar7{};
    std::array<controls::C_ScrollBar*, KtvFaders> C_ScrollBar3{};
    std::array<controls::C_ScrollBar*, EffFaders> C_ScrollBar2{};
    std::array<controls::C_Option*, SubPageOptions> C_Option1{};
    controls::C_FlagBar* C_FlagBar2 = nullptr;
    controls::C_FlagBar* C_FlagBar3 = nullptr;
    QWidget* Label3 = nullptr;
    QWidget* Label6 = nullptr;
    QWidget* Picture1 = nullptr;
    QWidget* Picture2 = nullptr;
    QWidget* Picture4 = nullptr;
    QWidget* Picture5 = nullptr;
    QWidget* Picture6 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text4 = nullptr;
};

} // namespace sonmira::app
