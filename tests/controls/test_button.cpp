// Picture push button: faces, caption, clicks and pointer enter and leave.
#include "controls/C_Button.h"

#include "ControlTestSupport.h"

#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace sonmira::controls;
using namespace sonmira::test;

namespace {

class Button : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApp(); }

    // A button as the host loads it from its stored design.
    void load(C_Button& b, std::uint8_t style = 0, const QString& caption = "Read") {
        PropertyBag bag;
        bag.WriteProperty("buttonindex", style);
        bag.WriteProperty("caption", caption);
        b.UserControl_ReadProperties(bag);
    }

    static void leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }

    static QColor captionColour(const C_Button& b) {
        return b.captionLabel()->palette().color(QPalette::WindowText);
    }
};

TEST_F(Button, NewInstanceWithNoStoredSettings) {
    C_Button b;
    b.UserControl_ReadProperties(PropertyBag{});
    EXPECT_EQ(b.Caption(), QStringLiteral("按钮"));
    EXPECT_EQ(b.ButtonIndex(), 0);
    EXPECT_EQ(b.size(), QSize(63, 26));
    EXPECT_EQ(b.ScaleWidth(), 945);
    EXPECT_EQ(b.visiblePicture(), "button_large_normal");
    EXPECT_EQ(b.captionLabel()->font().pointSize(), 12);
    EXPECT_EQ(captionColour(b), QColor(0xDF, 0xE1, 0xE3));
}

TEST_F(Button, PressOffTheButtonAndReleaseOutsideStillClicks) {
    C_Button b;
    load(b);
    QSignalSpy clicks(&b, &C_Button::Click);
    QString faceDuringClick;
    QObject::connect(&b, &C_Button::Click, [&] { faceDuringClick = b.visiblePicture(); });

    moveTo(&b, {9, 9});
    press(&b, {10, 10});
    EXPECT_EQ(b.visiblePicture(), "button_large_pressed");
    EXPECT_EQ(captionColour(b), QColor(0xC0, 0xC0, 0xFF));
    EXPECT_EQ(b.captionLabel()->y(), 6); // 90 twips
    moveTo(&b, {200, 100}, Qt::LeftButton);
    EXPECT_EQ(b.currentState(), 2);
    release(&b, {200, 100});
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(faceDuringClick, "button_large_pressed");
    // Hover face although the pointer is outside, until a leave notice.
    EXPECT_EQ(b.currentState(), 1);
    EXPECT_EQ(b.visiblePicture(), "button_large_hover");
    EXPECT_EQ(b.captionLabel()->y(), 4); // 70 twips
    leave(&b);
    EXPECT_EQ(b.currentState(), 0);
    EXPECT_EQ(b.captionLabel()->y(), 5); // 80 twips
}

TEST_F(Button, PressedFaceStaysThroughRepaintsWhileTheHostHandlesClick) {
    QWidget window;
    auto* b = new C_Button(&window);
    load(*b);
    window.show();
    std::vector<QString> facesInHandler;
    QObject::connect(b, &C_Button::Click, [&] {
        window.setEnabled(false); // as a bulk transfer does; the window repaints
        b->grab();
        facesInHandler.push_back(b->visiblePicture());
        window.setEnabled(true);
    });
    moveTo(b, {5, 5});
    press(b, {5, 5});
    release(b, {5, 5});
    EXPECT_EQ(facesInHandler, (std::vector<QString>{"button_large_pressed"}));
    EXPECT_EQ(b->visiblePicture(), "button_large_hover");
    b->grab(); // afterwards a repaint draws the face of State again
    EXPECT_EQ(b->visiblePicture(), "button_large_hover");
}

TEST_F(Button, DoubleClickClicksTwiceButPressesOnce) {
    C_Button b;
    load(b);
    std::vector<QString> faces;
    QObject::connect(&b, &C_Button::Click, [&] { faces.push_back(b.visiblePicture()); });
    moveTo(&b, {5, 5});
    doubleClick(&b, {5, 5});
    // The second press is a double click: no pressed face, but its release
    // still raises Click.
    EXPECT_EQ(faces, (std::vector<QString>{"button_large_pressed", "button_large_hover"}));
}

TEST_F(Button, EveryMouseButtonClicks) {
    C_Button b;
    load(b);
    QSignalSpy clicks(&b, &C_Button::Click);
    click(&b, {5, 5}, Qt::RightButton);
    click(&b, {5, 5}, Qt::MiddleButton);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(Button, EnterOncePerEntryAndLeave) {
    C_Button b;
    load(b);
    QSignalSpy enters(&b, &C_Button::MouseEnter);
    QSignalSpy leaves(&b, &C_Button::MouseLeave);
    std::vector<std::uint8_t> stateAtEnter;
    QObject::connect(&b, &C_Button::MouseEnter, [&] { stateAtEnter.push_back(b.currentState()); });

    moveTo(&b, {5, 5});
    moveTo(&b, {6, 5});
    moveTo(&b, {7, 6});
    EXPECT_EQ(enters.count(), 1);
    EXPECT_TRUE(b.tracking());
    EXPECT_EQ(b.visiblePicture(), "button_large_hover");

    leave(&b);
    EXPECT_EQ(leaves.count(), 1);
    EXPECT_FALSE(b.tracking());
    EXPECT_EQ(b.visiblePicture(), "button_large_normal");
    leave(&b); // no leave notice armed: nothing
    EXPECT_EQ(leaves.count(), 1);

    moveTo(&b, {5, 5});
    EXPECT_EQ(enters.count(), 2);
    EXPECT_EQ(stateAtEnter, (std::vector<std::uint8_t>{1, 1}));
}

TEST_F(Button, NoEnterWhileTheHostIsDisabled) {
    // A disabled window's controls get no pointer input, so the enter rule,
    // which runs after the button's own handling, does not run either.
    QWidget host;
    auto* b = new C_Button(&host);
    load(*b);
    QSignalSpy enters(b, &C_Button::MouseEnter);
    host.setEnabled(false);
    moveTo(b, {5, 5});
    EXPECT_EQ(enters.count(), 0);
    EXPECT_FALSE(b->tracking());
    EXPECT_EQ(b->visiblePicture(), "button_large_normal");
    host.setEnabled(true);
    moveTo(b, {6, 5});
    EXPECT_EQ(enters.count(), 1);
}

TEST_F(Button, EnterAfterThePressedFaceRule) {
    // A first movement with a button held: the face rule (pressed) runs
    // first, then the enter rule shows the hover face.
    C_Button b;
    load(b);
    press(&b, {5, 5});
    moveTo(&b, {6, 6}, Qt::LeftButton);
    EXPECT_TRUE(b.tracking());
    EXPECT_EQ(b.currentState(), 1);
    moveTo(&b, {7, 6}, Qt::LeftButton);
    EXPECT_EQ(b.currentState(), 2);
}

TEST_F(Button, LeavingDoesNotForgetAPress) {
    C_Button b;
    load(b);
    QSignalSpy clicks(&b, &C_Button::Click);
    moveTo(&b, {5, 5});
    press(&b, {5, 5});
    leave(&b);
    EXPECT_EQ(b.currentState(), 0);
    moveTo(&b, {90, 5}, Qt::LeftButton);
    EXPECT_EQ(b.currentState(), 1); // re-entered: hover after the pressed face
    release(&b, {90, 5});
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(Button, WithoutATrackingEntryPointThereIsNoEnterOrLeave) {
    ScopedExportTable none({});
    C_Button b;
    load(b);
    EXPECT_FALSE(b.canTrack());
    EXPECT_TRUE(b.subclasser().records().empty());
    QSignalSpy enters(&b, &C_Button::MouseEnter);
    moveTo(&b, {5, 5});
    EXPECT_EQ(enters.count(), 0);
    EXPECT_EQ(b.visiblePicture(), "button_large_hover"); // the face rule still applies
    leave(&b);
    EXPECT_EQ(b.visiblePicture(), "button_large_hover");
}

TEST_F(Button, TheCommonControlsEntryPointIsEnough) {
    ScopedExportTable comctl(std::vector<ScopedExportTable::Module>{{"Comctl32", {"_TrackMouseEvent"}}});
    C_Button b;
    load(b);
    EXPECT_TRUE(b.canTrack());
    QSignalSpy leaves(&b, &C_Button::MouseLeave);
    moveTo(&b, {5, 5});
    leave(&b);
    EXPECT_EQ(leaves.count(), 1);
}

TEST_F(Button, LoadingTwiceRoutesTheWindowOnce) {
    C_Button b;
    load(b);
    load(b);
    ASSERT_EQ(b.subclasser().records().size(), 1u);
    EXPECT_EQ(b.subclasser().records()[0].afterCount, 2);
    EXPECT_EQ(b.subclasser().records()[0].beforeCount, 0);
}

TEST_F(Button, StateWritesAndRewrites) {
    C_Button b;
    load(b);
    QSignalSpy changed(&b, &SkinnedControl::PropertyChanged);
    b.setState(0);
    EXPECT_EQ(changed.count(), 0);
    b.setState(1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(b.visiblePicture(), "button_large_hover");
    // Out of range: no face, caption as it was.
    b.setState(7);
    EXPECT_EQ(b.visiblePicture(), "");
    EXPECT_EQ(b.captionLabel()->y(), 4);

    changed.clear();
    b.setButtonIndex(0); // equal, still refits and marks
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "ButtonIndex");
}

TEST_F(Button, StylesSizesAndCaption) {
    C_Button b;
    load(b);
    b.setButtonIndex(1);
    EXPECT_EQ(b.size(), QSize(43, 23));
    EXPECT_EQ(b.captionLabel()->font().pointSize(), 8);
    EXPECT_EQ(b.visiblePicture(), "button_small_normal");
    b.resize(200, 200); // a host size is replaced at once
    EXPECT_EQ(b.size(), QSize(43, 23));

    b.setState(2);
    const QColor colour = captionColour(b);
    const int top = b.captionLabel()->y();
    b.setCaption("A longer caption");
    EXPECT_EQ(b.visiblePicture(), "button_small_pressed");
    EXPECT_EQ(captionColour(b), colour);
    EXPECT_EQ(b.captionLabel()->y(), top);
    const QLabel* label = b.captionLabel();
    EXPECT_EQ(label->x() + label->width() / 2, b.width() / 2);

    // A style without faces shows none and keeps the size.
    b.setButtonIndex(2);
    EXPECT_EQ(b.visiblePicture(), "");
    EXPECT_EQ(b.size(), QSize(43, 23));
}

TEST_F(Button, PropertyBagRoundTrip) {
    C_Button b;
    load(b, 1, "Upload");
    PropertyBag bag;
    b.UserControl_WriteProperties(bag);
    ASSERT_EQ(bag.entries().size(), 2u);
    EXPECT_EQ(bag.entries()[0].key, "buttonindex");
    EXPECT_EQ(bag.entries()[1].key, "caption");
    C_Button again;
    again.UserControl_ReadProperties(bag);
    EXPECT_EQ(again.ButtonIndex(), 1);
    EXPECT_EQ(again.Caption(), "Upload");
    EXPECT_EQ(again.size(), QSize(43, 23));
}

TEST_F(Button, EveryFaceRendered) {
    for (std::uint8_t style : {0, 1}) {
        C_Button b;
        load(b, style, style == 0 ? "Read" : "Save");
        for (std::uint8_t state : {0, 1, 2}) {
            b.setState(state);
            const QImage shown = b.grab().toImage(); // paints, and so draws the face
            EXPECT_EQ(shown.size(), QSize(style == 0 ? 63 : 43, style == 0 ? 26 : 23));
            EXPECT_EQ(b.visiblePicture().endsWith(state == 0 ? "normal" : state == 1 ? "hover" : "pressed"), true);
            snapshot(&b, b.visiblePicture());
        }
    }
}

} // namespace
