// The music panel's sub-pages and the effect panel's two fader sets, and
// moving the window by its background.
#include "MainFrmFixture.h"
#include "SimLine.h"
#include "app/MainFrm.h"
#include "app/PanelLayout.h"
#include "controls/C_Button.h"
#include "controls/C_FlagBar.h"
#include "controls/C_Option.h"
#include "controls/C_ScrollBar.h"
#include "controls/Gdi.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace sonmira;
using app::PanelLayout;

namespace {

const link::Skin kSkins[] = {link::Skin::Big, link::Skin::Small};

int px(int twips) { return controls::twipsToPixels(twips); }

class PanelTest : public test::MainFrmFixture {
protected:
    std::unique_ptr<app::MainFrm> load(link::Skin skin) {
        auto w = std::make_unique<app::MainFrm>(services(), skin);
        w->Form_Load();
        return w;
    }
    static QWidget* at(const app::MainFrm& w, const char* name, int index = -1) {
        return w.loaded().require(QLatin1String(name), index);
    }
    static bool shown(const app::MainFrm& w, const char* name, int index = -1) {
        return !at(w, name, index)->isHidden();
    }
    static QString text(const app::MainFrm& w, const char* name) {
        return w.loaded().require<QLineEdit>(QLatin1String(name))->text();
    }
    // Which members of a fader array are shown, as a bit per index.
    static unsigned shownSet(const app::MainFrm& w, const char* name, int count) {
        unsigned bits = 0;
        for (int i = 0; i < count; ++i) bits |= shown(w, name, i) ? 1u << i : 0u;
        return bits;
    }
    static bool switchesOrLabelsShown(const app::MainFrm& w) {
        return shown(w, "C_FlagBar2") || shown(w, "C_FlagBar3") || shown(w, "Label3") || shown(w, "Label6");
    }
    // A button goes down (or up) at a point of a widget, as the pointer would.
    static void button(QEvent::Type type, QWidget* target, QPoint local, Qt::MouseButton b) {
        const QPoint screen = target->mapToGlobal(local);
        QCursor::setPos(screen);
        QMouseEvent e(type, QPointF(local), QPointF(screen), b, type == QEvent::MouseButtonPress ? b : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    static void clickOption(const app::MainFrm& w, int index) {
        QWidget* option = at(w, "C_Option1", index);
        button(QEvent::MouseButtonPress, option, QPoint(5, 5), Qt::LeftButton);
        button(QEvent::MouseButtonRelease, option, QPoint(5, 5), Qt::LeftButton);
    }
};

TEST_F(PanelTest, HeaderTextsAreTheColumnNamesEachAfterItsRunOfBlanks) {
    using Names = std::vector<std::pair<int, const char*>>;
    const struct {
        const QString& text;
        Names names;
    } headers[] = {
        {PanelLayout::MusicHeader0,
         {{5, "57Hz"}, {9, "134Hz"}, {8, "400Hz"}, {9, "1KHz"}, {9, "2.5KHz"}, {8, "6.3KHz"}, {8, "16KHz"},
          {6, "Out Limit"}}},
        {PanelLayout::MusicHeader1,
         {{12, "C Music Vol"}, {3, "C Mic Vol"}, {5, "C Bass"}, {7, "C Mid"}, {6, "C Treble"}, {5, "SUB Freq"},
          {2, "SUB MinOn Vol"}, {3, "SUB Vol"}}},
        {PanelLayout::KtvHeader,
         {{2, "Echo-A Rep"}, {4, "Echo-A Dly"}, {4, "Echo-A Vol"}, {4, "Echo-B Vol"}, {3, "Echo-B H_Cut"},
          {3, "Echo-B L&R"}, {4, "Echo-B Rep"}, {4, "Echo-B Dly"}}},
        {PanelLayout::EffHeader,
         {{3, "Echo Rep"}, {3, "Echo Dly"}, {3, "Echo Vol"}, {3, "Rev Vol"}, {3, "REV 1 Time"}, {2, "REV 2 Time"},
          {1, "REV 3 Time"}, {2, "REV Dly"}, {2, "REV H_Cut1"}, {2, "REV H_Cut2"}}},
    };
    for (const auto& h : headers) {
        QString want;
        for (const auto& [blanks, name] : h.names) want += QString(blanks, QLatin1Char(' ')) + QLatin1String(name);
        EXPECT_EQ(h.text, want);
    }
    EXPECT_EQ(PanelLayout::MusicHeader0.size(), 106);
    EXPECT_EQ(PanelLayout::MusicHeader1.size(), 110);
    EXPECT_EQ(PanelLayout::KtvHeader.size(), 110);
    EXPECT_EQ(PanelLayout::EffHeader.size(), 112);
}

TEST_F(PanelTest, AfterLoadingTheEqualiserPageAndTheKtvSetAreShown) {
    for (const link::Skin skin : kSkins) {
        const int top = px(skin == link::Skin::Big ? 70 : 24);
        auto w = load(skin);
        EXPECT_EQ(shownSet(*w, "C_ScrollBar7", 16), 0x00FFu);
        for (int k = 0; k < 8; ++k) EXPECT_EQ(at(*w, "C_ScrollBar7", k)->pos(), QPoint(px(k * 1230), top)) << k;
        EXPECT_FALSE(switchesOrLabelsShown(*w));
        EXPECT_TRUE(shown(*w, "Picture1"));
        EXPECT_FALSE(shown(*w, "Picture2"));
        EXPECT_FALSE(shown(*w, "Picture6"));
        EXPECT_EQ(text(*w, "Text2"), PanelLayout::MusicHeader0);

        EXPECT_EQ(shownSet(*w, "C_ScrollBar3", 8), 0xFFu);
        EXPECT_EQ(shownSet(*w, "C_ScrollBar2", 10), 0u);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(at(*w, "C_ScrollBar3", i)->pos(), QPoint(px(i * 1260), top)) << i;
        EXPECT_TRUE(shown(*w, "Picture4"));
        EXPECT_FALSE(shown(*w, "Picture5"));
        EXPECT_EQ(text(*w, "Text4"), PanelLayout::KtvHeader);
        // The header boxes hold the texts but stay hidden.
        EXPECT_FALSE(shown(*w, "Text2"));
        EXPECT_FALSE(shown(*w, "Text4"));
    }
}

TEST_F(PanelTest, TheOptionsSwitchBetweenTheEqualiserAndTheCentreAndSubwooferPages) {
    for (const link::Skin skin : kSkins) {
        const int top = px(skin == link::Skin::Big ? 70 : 24);
        auto w = load(skin);
        w->show();
        auto option = [&](int i) { return w->loaded().require<controls::C_Option>(QStringLiteral("C_Option1"), i); };

        clickOption(*w, 1);
        EXPECT_FALSE(option(0)->Value());
        EXPECT_TRUE(option(1)->Value());
        EXPECT_FALSE(option(2)->Value());
        EXPECT_EQ(shownSet(*w, "C_ScrollBar7", 16), 0xFF00u);
        for (int k = 8; k < 16; ++k)
            EXPECT_EQ(at(*w, "C_ScrollBar7", k)->pos(), QPoint(px((k - 8) * 1140 + 1000), top)) << k;
        // The switches stand where they do in both skins, each under its label.
        EXPECT_EQ(at(*w, "C_FlagBar2")->pos(), QPoint(px(300), px(450)));
        EXPECT_EQ(at(*w, "C_FlagBar3")->pos(), QPoint(px(300), px(1150)));
        EXPECT_EQ(at(*w, "Label3")->pos(), QPoint(px(200), px(250)));
        EXPECT_EQ(at(*w, "Label6")->pos(), QPoint(px(200), px(950)));
        for (const char* c : {"C_FlagBar2", "C_FlagBar3", "Label3", "Label6"}) EXPECT_TRUE(shown(*w, c)) << c;
        EXPECT_FALSE(shown(*w, "Picture1"));
        EXPECT_TRUE(shown(*w, "Picture2"));
        EXPECT_FALSE(shown(*w, "Picture6"));
        EXPECT_EQ(text(*w, "Text2"), PanelLayout::MusicHeader1);

        clickOption(*w, 0);
        EXPECT_TRUE(option(0)->Value());
        EXPECT_FALSE(option(1)->Value());
        EXPECT_EQ(shownSet(*w, "C_ScrollBar7", 16), 0x00FFu);
        EXPECT_FALSE(switchesOrLabelsShown(*w));
        EXPECT_TRUE(shown(*w, "Picture1"));
        EXPECT_FALSE(shown(*w, "Picture2"));
        EXPECT_EQ(text(*w, "Text2"), PanelLayout::MusicHeader0);
        // The effect panel is not touched.
        EXPECT_EQ(shownSet(*w, "C_ScrollBar3", 8), 0xFFu);
    }
}

TEST_F(PanelTest, TheUnusedPageAndUnknownPagesShowNoFaderOrSwitch) {
    auto w = load(link::Skin::Big);
    w->panels().ShowMusicSubPage(1);
    w->panels().ShowMusicSubPage(2);
    EXPECT_EQ(shownSet(*w, "C_ScrollBar7", 16), 0u);
    EXPECT_FALSE(switchesOrLabelsShown(*w));
    EXPECT_FALSE(shown(*w, "Picture1"));
    EXPECT_FALSE(shown(*w, "Picture2"));
    EXPECT_TRUE(shown(*w, "Picture6"));
    EXPECT_EQ(text(*w, "Text2"), QStringLiteral(u"没有使用"));

    // Any other page empties the panel and leaves the strips and the text.
    for (const int page : {1, 3, 1, -1}) {
        const bool known = page == 1;
        w->panels().ShowMusicSubPage(page);
        EXPECT_EQ(shownSet(*w, "C_ScrollBar7", 16), known ? 0xFF00u : 0u) << page;
        EXPECT_EQ(switchesOrLabelsShown(*w), known) << page;
        EXPECT_TRUE(shown(*w, "Picture2")) << page;
        EXPECT_EQ(text(*w, "Text2"), PanelLayout::MusicHeader1) << page;
    }
}

TEST_F(PanelTest, KtvProgramsShowEightFadersAndEffProgramsTen) {
    for (const link::Skin skin : kSkins) {
        const int top = px(skin == link::Skin::Big ? 70 : 24);
        auto w = load(skin);
        // The settings code reaches the layout through the window's controls.
        settings::ControlsView& view = w->controls();
        for (const int code : {20, 21}) {
            view.ShowEffectPanel(code);
            EXPECT_EQ(shownSet(*w, "C_ScrollBar3", 8), 0u) << code;
            EXPECT_EQ(shownSet(*w, "C_ScrollBar2", 10), 0x3FFu) << code;
            for (int i = 0; i < 10; ++i) EXPECT_EQ(at(*w, "C_ScrollBar2", i)->pos(), QPoint(px(i * 1000), top));
            EXPECT_FALSE(shown(*w, "Picture4"));
            EXPECT_TRUE(shown(*w, "Picture5"));
            EXPECT_EQ(text(*w, "Text4"), PanelLayout::EffHeader);
        }
        for (const int code : {1, 0}) {
            view.ShowEffectPanel(code);
            EXPECT_EQ(shownSet(*w, "C_ScrollBar3", 8), 0xFFu) << code;
            EXPECT_EQ(shownSet(*w, "C_ScrollBar2", 10), 0u) << code;
            EXPECT_TRUE(shown(*w, "Picture4"));
            EXPECT_FALSE(shown(*w, "Picture5"));
            EXPECT_EQ(text(*w, "Text4"), PanelLayout::KtvHeader);
        }
        // Every placed fader lies inside its frame's width.
        for (const auto* f : w->findChildren<controls::C_ScrollBar*>()) {
            if (f->isHidden() || f->parentWidget() == w.get()) continue;
            EXPECT_LE(f->geometry().right(), f->parentWidget()->width()) << f->objectName().toStdString();
        }
        // Values, the model and the music panel are not the layout's business.
        EXPECT_EQ(w->model().EffectCode, 0);
        EXPECT_EQ(shownSet(*w, "C_ScrollBar7", 16), 0x00FFu);
    }
}

// For a person to look at: the other music sub-page and the EFF set.
TEST_F(PanelTest, TheCentreAndSubwooferPageAndTheEffSetRender) {
    for (const link::Skin skin : kSkins) {
        auto w = load(skin);
        w->panels().ShowMusicSubPage(1);
        w->panels().ShowEffectPanel(20);
        w->show();
        const QString file = test::outputDir() + (skin == link::Skin::Big ? QStringLiteral("/panels_big.png")
                                                                          : QStringLiteral("/panels_small.png"));
        EXPECT_TRUE(w->grab().save(file));
    }
}

TEST_F(PanelTest, SwitchingPagesSendsNothingToAConnectedUnit) {
    platform::VirtualLine line;
    ports.attach(QStringLiteral("COM1"), &line);
    unitsim::SimLine unit{rt, line};
    int packets = 0;
    unit.engine().onPacket = [&](const link::CommandPacket&) { ++packets; };
    auto w = load(link::Skin::Big);
    w->show();
    ASSERT_TRUE(rt.runUntil([&] { return w->link().Connected && w->isEnabled() && packets >= 43; }, 20000));
    rt.advance(100);
    const int before = packets;
    const std::size_t written = line.written.size();
    for (const int i : {1, 2, 0, 1}) clickOption(*w, i);
    w->panels().ShowEffectPanel(20);
    EXPECT_TRUE(shown(*w, "C_FlagBar2"));
    EXPECT_EQ(packets, before);
    EXPECT_EQ(line.written.size(), written);
}

// --- dragging ----------------------------------------------------------------------

class DragTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        w = load(link::Skin::Big);
        w->show();
        w->move(100, 100);
    }
    // A point of the client area that no control covers.
    QPoint background() const {
        const QPoint p(5, 5);
        EXPECT_EQ(w->childAt(p), nullptr);
        return p;
    }
    // The pointer goes to a screen point, and the widget under it hears of it.
    void pointerTo(QWidget* target, QPoint screen, Qt::MouseButtons held) {
        QCursor::setPos(screen);
        QMouseEvent move(QEvent::MouseMove, QPointF(target->mapFromGlobal(screen)), QPointF(screen), Qt::NoButton,
                         held, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    void press(QWidget* target, QPoint local, Qt::MouseButton b) { button(QEvent::MouseButtonPress, target, local, b); }
    // The release comes where the pointer is; only the button matters.
    void release(QWidget* target, Qt::MouseButton b) {
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(QCursor::pos()), b, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    std::unique_ptr<app::MainFrm> w;
};

TEST_F(DragTest, AnyButtonOnTheBackgroundDragsTheWindowUntilItsRelease) {
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        const QPoint start = w->pos();
        const QPoint grip = w->mapToGlobal(background());
        press(w.get(), background(), button);
        pointerTo(w.get(), grip + QPoint(30, 12), button);
        EXPECT_EQ(w->pos(), start + QPoint(30, 12)) << button;
        // Each step moves by the pointer's movement since the last one, also
        // when the pointer is outside the window and off the screen.
        pointerTo(w.get(), grip + QPoint(-400, -300), button);
        EXPECT_EQ(w->pos(), start + QPoint(-400, -300)) << button;
        pointerTo(w.get(), grip + QPoint(10, 20), button);
        EXPECT_EQ(w->pos(), start + QPoint(10, 20)) << button;
        release(w.get(), button);
        const QPoint dropped = w->pos();
        pointerTo(w.get(), w->mapToGlobal(background()) + QPoint(50, 50), Qt::NoButton);
        EXPECT_EQ(w->pos(), dropped) << button;
    }
}

TEST_F(DragTest, APressOnAControlALabelOrAHeaderStripDoesNotDrag) {
    for (const char* name : {"C_ComboBox1", "Label4", "Picture3", "Frame1", "C_ScrollBar1"}) {
        QWidget* c = w->loaded().require(QLatin1String(name), name == std::string("C_ScrollBar1") ? 0 : -1);
        const QPoint start = w->pos();
        const QPoint on(c->width() / 2, c->height() / 2);
        press(c, on, Qt::RightButton);
        pointerTo(w.get(), c->mapToGlobal(on) + QPoint(40, 40), Qt::RightButton);
        release(c, Qt::RightButton);
        EXPECT_EQ(w->pos(), start) << name;
    }
}

TEST_F(DragTest, AMoveOverTheBackgroundReturnsEveryPushButtonToItsNormalFace) {
    std::vector<controls::C_Button*> buttons;
    for (int i = 0; i < 4; ++i)
        buttons.push_back(w->loaded().require<controls::C_Button>(QStringLiteral("C_Button1"), i));
    auto setFaces = [&] {
        for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i]->setState(static_cast<std::uint8_t>(1 + i % 2));
    };
    auto faces = [&] {
        std::vector<int> s;
        for (auto* b : buttons) s.push_back(b->currentState());
        return s;
    };
    const std::vector<int> normal(4, 0);

    // Over a label the window hears nothing of its own.
    setFaces();
    QWidget* label = w->loaded().require(QStringLiteral("Label4"));
    pointerTo(label, label->mapToGlobal(QPoint(3, 3)), Qt::NoButton);
    EXPECT_NE(faces(), normal);

    const QPoint start = w->pos();
    pointerTo(w.get(), w->mapToGlobal(background()), Qt::NoButton);
    EXPECT_EQ(faces(), normal);
    EXPECT_EQ(w->pos(), start); // no button held: nothing moves

    // A drag step resets them too.
    press(w.get(), background(), Qt::LeftButton);
    setFaces();
    pointerTo(w.get(), w->mapToGlobal(background()) + QPoint(4, 4), Qt::LeftButton);
    EXPECT_EQ(faces(), normal);
    release(w.get(), Qt::LeftButton);
}

TEST_F(DragTest, ADisabledWindowTakesNoPressOrMoveButAReleaseStillEndsADrag) {
    const QPoint start = w->pos();
    auto* read = w->loaded().require<controls::C_Button>(QStringLiteral("C_Button1"), 0);
    read->setState(1);
    w->setEnabled(false); // as during a transfer
    press(w.get(), background(), Qt::LeftButton);
    pointerTo(w.get(), w->mapToGlobal(background()) + QPoint(30, 30), Qt::LeftButton);
    EXPECT_EQ(w->pos(), start);
    EXPECT_EQ(read->currentState(), 1);
    release(w.get(), Qt::LeftButton);

    w->setEnabled(true);
    press(w.get(), background(), Qt::LeftButton);
    w->setEnabled(false);
    release(w.get(), Qt::LeftButton);
    w->setEnabled(true);
    pointerTo(w.get(), w->mapToGlobal(background()) + QPoint(30, 30), Qt::NoButton);
    EXPECT_EQ(w->pos(), start);
}

// --- the traffic-log hot key ---------------------------------------------------------

TEST_F(PanelTest, TheHotKeyWaitsWhileTheWindowIsDisabled) {
    auto w = load(link::Skin::Big);
    auto* box = w->loaded().require<QLineEdit>(QStringLiteral("Text1"), 0);
    auto typeW = [&] {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
        QCoreApplication::sendEvent(box, &e);
    };
    w->setEnabled(false); // as during Read or a selector's write
    typeW();
    EXPECT_EQ(w->trafficLogWindow(), nullptr);
    w->setEnabled(true);
    typeW();
    ASSERT_NE(w->trafficLogWindow(), nullptr);
    EXPECT_TRUE(w->trafficLogWindow()->isVisible());
    delete w->trafficLogWindow();
}

} // namespace
