// Drop-down list: items, selection, where the list opens, hover and presses.
#include "controls/C_Button.h"
#include "controls/C_ComboBox.h"
#include "controls/C_FlagBar.h"
#include "controls/C_OptionEx.h"

#include "platform/Desktop.h"

#include "ControlTestSupport.h"

#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace sonmira::controls;
using namespace sonmira::test;

namespace {

class ComboBox : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApp(); }

    void SetUp() override {
        desktop.metrics = {15.0f, 15.0f, 1024 * 15.0f, 768 * 15.0f}; // a 768-pixel screen
        window = std::make_unique<QWidget>();
        window->setGeometry(0, 0, 1024, 768);
        combo = new C_ComboBox(window.get());
        combo->setDesktop(&desktop);
        combo->UserControl_ReadProperties(PropertyBag{});
        window->show();
        placeOnScreen(combo, {10, 600});
    }

    void fill(int rows) {
        for (int n = 1; n <= rows; ++n) combo->AddItem(QStringLiteral("MUSIC%1").arg(n));
    }

    // Puts the control's window with its top-left corner at the screen pixel.
    void placeOnScreen(QWidget* w, QPoint screen) { w->move(screen - window->mapToGlobal(QPoint(0, 0))); }

    QWidget* rows() const { return combo->list()->viewport(); }

    sonmira::platform::RecordingDesktop desktop;
    std::unique_ptr<QWidget> window;
    C_ComboBox* combo = nullptr;
};

TEST_F(ComboBox, FirstItemSelectsRowZeroButLeavesTheCaption) {
    QSignalSpy changed(combo, &SkinnedControl::PropertyChanged);
    EXPECT_EQ(combo->TopIndex(), -1);
    combo->AddItem("MUSIC1");
    EXPECT_EQ(combo->TopIndex(), 0);
    EXPECT_EQ(combo->captionLabel()->text(), "");
    EXPECT_EQ(changed.at(0).at(0).toString(), "AddItem");
}

TEST_F(ComboBox, TopIndexClampsAndRaisesNothing) {
    fill(6);
    QSignalSpy clicks(combo, &C_ComboBox::Click);
    combo->setTopIndex(7);
    EXPECT_EQ(combo->TopIndex(), 5);
    EXPECT_EQ(combo->captionLabel()->text(), "MUSIC6");
    combo->setTopIndex(-1);
    EXPECT_EQ(combo->TopIndex(), -1);
    EXPECT_EQ(combo->captionLabel()->text(), "");
    EXPECT_EQ(clicks.count(), 0);

    C_ComboBox empty;
    empty.setTopIndex(3);
    EXPECT_EQ(empty.TopIndex(), -1);
    EXPECT_EQ(empty.captionLabel()->text(), "");
}

TEST_F(ComboBox, ListHeightIsTwelveAndAHalfPixelsARow) {
    EXPECT_EQ(combo->list()->height(), 86); // the design's 1290 twips
    fill(4);
    EXPECT_EQ(combo->list()->height(), 50);
    fill(2);
    EXPECT_EQ(combo->list()->height(), 75);
    EXPECT_DOUBLE_EQ(combo->listHeightTwips(), 1125);
    EXPECT_EQ(combo->list()->width(), 70);
}

TEST_F(ComboBox, OpensBelowOrAboveByTheScreenHeight) {
    fill(6);
    press(combo, {5, 5});
    release(combo, {5, 5});
    ASSERT_TRUE(combo->dropped());
    EXPECT_TRUE(combo->list()->isVisible());
    EXPECT_TRUE(combo->list()->isWindow());
    EXPECT_EQ(combo->listPositionTwips(), QPoint(150, 9286)); // 9000 + 285 + 1
    EXPECT_EQ(combo->list()->pos(), QPoint(10, 619));

    press(combo, {5, 5}); // closes
    release(combo, {5, 5});
    placeOnScreen(combo, {10, 700});
    press(combo, {5, 5});
    release(combo, {5, 5});
    // 10786 + 1125 reaches 11520: above, at 10500 - 1125 - 1.
    EXPECT_EQ(combo->listPositionTwips(), QPoint(150, 9374));
    EXPECT_EQ(combo->list()->pos(), QPoint(10, 625));
    snapshot(combo->list(), "combo_list_open");
}

TEST_F(ComboBox, SecondPressOnTheBoxClosesWithoutClick) {
    fill(6);
    QSignalSpy clicks(combo, &C_ComboBox::Click);
    press(combo, {5, 5});
    EXPECT_EQ(combo->visiblePicture(), "combo_pressed");
    release(combo, {5, 5});
    EXPECT_EQ(combo->visiblePicture(), "combo_normal");
    press(combo, {5, 5});
    release(combo, {5, 5});
    EXPECT_FALSE(combo->dropped());
    EXPECT_FALSE(combo->list()->isVisible());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ComboBox, HoverSelectsByRowArithmeticAndAPressClicks) {
    fill(6);
    combo->setTopIndex(0);
    QSignalSpy clicks(combo, &C_ComboBox::Click);
    press(combo, {5, 5});
    release(combo, {5, 5});

    // Rows of 180 twips (9 points x 20): 11 px is 165 twips, row 0; 13 px
    // is 195 twips, row 1; 60 px is 900 twips, row 5.
    moveTo(rows(), {20, 11});
    EXPECT_EQ(combo->TopIndex(), 0);
    moveTo(rows(), {20, 13});
    EXPECT_EQ(combo->TopIndex(), 1);
    moveTo(rows(), {20, 60});
    EXPECT_EQ(combo->TopIndex(), 5);
    moveTo(rows(), {20, 74}); // row 6 does not exist: nothing changes
    EXPECT_EQ(combo->TopIndex(), 5);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(combo->captionLabel()->text(), "MUSIC1");

    std::int32_t atClick = -2;
    QString captionAtClick;
    bool openAtClick = true;
    QObject::connect(combo, &C_ComboBox::Click, [&](std::int32_t row) {
        atClick = row;
        captionAtClick = combo->captionLabel()->text();
        openAtClick = combo->dropped();
    });
    press(rows(), {20, 74});
    EXPECT_EQ(atClick, 5);
    EXPECT_EQ(captionAtClick, "MUSIC6");
    EXPECT_FALSE(openAtClick);
    EXPECT_FALSE(combo->list()->isVisible());
}

TEST_F(ComboBox, PressOnTheSelectedRowStillClicks) {
    fill(4);
    combo->setTopIndex(2);
    QSignalSpy clicks(combo, &C_ComboBox::Click);
    press(combo, {5, 5});
    release(combo, {5, 5});
    moveTo(rows(), {20, 30}); // 450 twips: row 2
    press(rows(), {20, 30});
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
}

TEST_F(ComboBox, FocusLeavingClosesTheList) {
    fill(4);
    QSignalSpy clicks(combo, &C_ComboBox::Click);
    press(combo, {5, 5});
    release(combo, {5, 5});
    ASSERT_TRUE(combo->dropped());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(combo, &out);
    EXPECT_FALSE(combo->dropped());
    EXPECT_FALSE(combo->list()->isVisible());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ComboBox, DoubleClickOnTheBoxLeavesTheListOpen) {
    fill(4);
    doubleClick(combo, {5, 5});
    EXPECT_TRUE(combo->dropped());
    EXPECT_TRUE(combo->list()->isVisible());
    EXPECT_EQ(combo->visiblePicture(), "combo_normal");
}

TEST_F(ComboBox, PressOnAnotherSkinnedControlTakesTheFocusAndClosesTheList) {
    fill(4);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* bar = new C_FlagBar(window.get());
    auto* option = new C_OptionEx(window.get());
    auto* button = new C_Button(window.get());
    bar->move(200, 10);
    option->move(300, 10);
    button->move(400, 10);
    bar->show();
    option->show();
    button->show();
    QSignalSpy clicks(combo, &C_ComboBox::Click);
    // Presses as the window system delivers them, so that they move the focus.
    for (QWidget* other : std::initializer_list<QWidget*>{bar, option, button}) {
        QTest::mouseClick(combo, Qt::LeftButton, {}, {5, 5});
        ASSERT_TRUE(combo->dropped());
        ASSERT_TRUE(combo->hasFocus());
        QTest::mouseClick(other, Qt::LeftButton, {}, {5, 5});
        EXPECT_FALSE(combo->dropped()) << other->metaObject()->className();
        EXPECT_FALSE(combo->list()->isVisible());
    }
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ComboBox, CompactBox) {
    QSignalSpy changed(combo, &SkinnedControl::PropertyChanged);
    combo->setShowSize(true);
    EXPECT_EQ(combo->visiblePicture(), "combo_compact_normal");
    EXPECT_EQ(changed.count(), 1);
    // Size and caption follow only at the next resize and loading.
    EXPECT_EQ(combo->size(), QSize(70, 19));
    EXPECT_EQ(combo->captionLabel()->pos(), QPoint(2, 3));

    C_ComboBox compact;
    PropertyBag bag;
    bag.WriteProperty("showsize", true);
    compact.UserControl_ReadProperties(bag);
    EXPECT_EQ(compact.size(), QSize(70, 16));
    EXPECT_EQ(compact.captionLabel()->pos(), QPoint(2, 0));
    EXPECT_DOUBLE_EQ(compact.captionLabel()->font().pointSizeF(), 9.0);
    EXPECT_TRUE(compact.captionLabel()->font().bold());

    // Opening from a compact box counts its 240-twip height.
    compact.setParent(window.get());
    compact.setDesktop(&desktop);
    placeOnScreen(&compact, {100, 600});
    compact.show();
    compact.AddItem("MIC1");
    compact.setTopIndex(0);
    snapshot(&compact, "combo_compact_normal");
    press(&compact, {5, 5});
    EXPECT_EQ(compact.visiblePicture(), "combo_compact_pressed");
    snapshot(&compact, "combo_compact_pressed");
    EXPECT_EQ(compact.listPositionTwips(), QPoint(1500, 9000 + 240 + 1));
    EXPECT_EQ(compact.list()->height(), 12); // one row: 12.5 pixels, halves to even
    release(&compact, {5, 5});
    PropertyBag out;
    compact.UserControl_WriteProperties(out);
    ASSERT_EQ(out.entries().size(), 1u);
    EXPECT_EQ(out.entries()[0].key, "showsize");
    EXPECT_EQ(std::get<bool>(out.entries()[0].value), true);
    compact.setParent(nullptr);
}

TEST_F(ComboBox, KeepsTheBoxSizeAndRendersItsPictures) {
    combo->resize(200, 60);
    EXPECT_EQ(combo->size(), QSize(70, 19));
    fill(6);
    combo->setTopIndex(0);
    snapshot(combo, "combo_normal");
    press(combo, {5, 5});
    snapshot(combo, "combo_pressed");
    release(combo, {5, 5});
}

} // namespace
