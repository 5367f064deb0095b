// Slide switch, option dot and picture option.
#include "controls/C_FlagBar.h"
#include "controls/C_Option.h"
#include "controls/C_OptionEx.h"
#include "controls/ControlPictures.h"

#include "ControlTestSupport.h"

#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace sonmira::controls;
using namespace sonmira::test;

namespace {

class PictureSwitches : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApp(); }
};

QSize twipsOf(const SkinnedControl& c) { return {c.ScaleWidth(), c.ScaleHeight()}; }

// ---- slide switch -----------------------------------------------------------

TEST_F(PictureSwitches, SwitchFollowsTheHalfPressedAndTheMiddleChangesNothing) {
    C_FlagBar bar;
    QSignalSpy clicks(&bar, &C_FlagBar::Click);
    EXPECT_FALSE(bar.Value());
    EXPECT_EQ(bar.visiblePicture(), "flagbar_off");

    press(&bar, {40, 10});
    EXPECT_TRUE(bar.Value());
    EXPECT_EQ(bar.visiblePicture(), "flagbar_on");
    EXPECT_EQ(clicks.count(), 1);

    // Pixel column 28 is 420 twips, the exact middle of 840.
    press(&bar, {28, 10});
    EXPECT_TRUE(bar.Value());
    EXPECT_EQ(clicks.count(), 2);

    press(&bar, {27, 10});
    EXPECT_FALSE(bar.Value());
    press(&bar, {28, 10});
    EXPECT_FALSE(bar.Value());
    press(&bar, {3, 10}); // the half it already stands on
    EXPECT_FALSE(bar.Value());
    EXPECT_EQ(clicks.count(), 5);
    press(&bar, {29, 10});
    EXPECT_TRUE(bar.Value());
}

TEST_F(PictureSwitches, SwitchTakesEveryMouseButton) {
    C_FlagBar bar;
    QSignalSpy clicks(&bar, &C_FlagBar::Click);
    press(&bar, {50, 5}, Qt::RightButton);
    EXPECT_TRUE(bar.Value());
    press(&bar, {2, 5}, Qt::MiddleButton);
    EXPECT_FALSE(bar.Value());
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(PictureSwitches, DoubleClicksRaiseOneEvent) {
    // The second press of a double click is no press and no Click: a double
    // click on Mute or Lock toggles it once.
    C_FlagBar bar;
    QSignalSpy barClicks(&bar, &C_FlagBar::Click);
    doubleClick(&bar, {50, 5});
    EXPECT_EQ(barClicks.count(), 1);
    EXPECT_TRUE(bar.Value());

    C_Option option;
    QSignalSpy optionClicks(&option, &C_Option::Click);
    doubleClick(&option, {5, 8});
    EXPECT_EQ(optionClicks.count(), 1);

    C_OptionEx mute;
    int toggles = 0;
    QObject::connect(&mute, &C_OptionEx::Click, [&] {
        mute.setValue(!mute.Value());
        ++toggles;
    });
    doubleClick(&mute, {10, 10});
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(mute.Value());
    click(&mute, {10, 10}); // a later single click counts again
    EXPECT_FALSE(mute.Value());
}

TEST_F(PictureSwitches, InvertedSwitchAndPropertySets) {
    C_FlagBar bar;
    QSignalSpy clicks(&bar, &C_FlagBar::Click);
    QSignalSpy changed(&bar, &SkinnedControl::PropertyChanged);
    bar.setValueInvert(true);
    // Knob still on the left, which now means True.
    EXPECT_TRUE(bar.Value());
    EXPECT_EQ(bar.visiblePicture(), "flagbar_off");
    press(&bar, {50, 5});
    EXPECT_FALSE(bar.Value());
    EXPECT_EQ(bar.visiblePicture(), "flagbar_on");

    bar.setValue(true);
    EXPECT_FALSE(bar.Position());
    EXPECT_EQ(bar.visiblePicture(), "flagbar_off");
    EXPECT_EQ(clicks.count(), 1); // only the press
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toString(), "Value");

    C_FlagBar loaded;
    PropertyBag bag;
    bag.WriteProperty("valueinvert", true);
    loaded.UserControl_ReadProperties(bag);
    EXPECT_TRUE(loaded.Value());
}

TEST_F(PictureSwitches, SwitchKeepsItsSizeAndRefusesStylesPastAByte) {
    C_FlagBar bar;
    bar.resize(300, 100);
    EXPECT_EQ(twipsOf(bar), QSize(840, 345));

    QSignalSpy changed(&bar, &SkinnedControl::PropertyChanged);
    EXPECT_FALSE(bar.setButtonStyle(256));
    EXPECT_FALSE(bar.setButtonStyle(-1));
    EXPECT_EQ(bar.ButtonStyle(), 0);
    EXPECT_EQ(changed.count(), 0);

    // A style without pictures shows none and keeps the size it has.
    EXPECT_TRUE(bar.setButtonStyle(1));
    EXPECT_EQ(bar.visiblePicture(), "");
    EXPECT_EQ(twipsOf(bar), QSize(840, 345));
    press(&bar, {50, 5});
    EXPECT_TRUE(bar.Value());
}

TEST_F(PictureSwitches, SwitchPropertyBag) {
    C_FlagBar bar;
    PropertyBag empty;
    bar.UserControl_ReadProperties(empty);
    EXPECT_EQ(bar.ButtonStyle(), 0);
    EXPECT_FALSE(bar.ValueInvert());

    bar.setValueInvert(true);
    bar.setValue(false); // not stored
    PropertyBag bag;
    bar.UserControl_WriteProperties(bag);
    ASSERT_EQ(bag.entries().size(), 2u);
    EXPECT_EQ(bag.entries()[0].key, "buttonstyle");
    EXPECT_EQ(bag.entries()[1].key, "valueinvert");
    C_FlagBar again;
    again.UserControl_ReadProperties(bag);
    EXPECT_TRUE(again.ValueInvert());
    EXPECT_FALSE(again.Position());
}

// ---- option dot --------------------------------------------------------------

TEST_F(PictureSwitches, OptionClickNeverChangesItsValue) {
    C_Option option;
    option.setSizeTwips(1365, 255);
    QSignalSpy clicks(&option, &C_Option::Click);
    click(&option, {5, 8});   // dot
    click(&option, {30, 8});  // caption
    click(&option, {88, 15}); // background right of the caption
    EXPECT_EQ(clicks.count(), 3);
    EXPECT_FALSE(option.Value());
    EXPECT_EQ(option.visiblePicture(), "option_clear");

    // Not a click: a right button, or a release away from the control.
    click(&option, {5, 8}, Qt::RightButton);
    press(&option, {5, 8});
    release(&option, {200, 8});
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(PictureSwitches, OptionSizes) {
    C_Option option;
    option.setSizeTwips(300, 400);
    EXPECT_EQ(option.sizeTwips(), QSize(500, 260));
    option.setSizeTwips(1365, 255);
    EXPECT_EQ(option.sizeTwips(), QSize(1365, 260));
    EXPECT_EQ(option.size(), QSize(91, 17));
    option.resize(10, 40); // a host sizing it in pixels
    EXPECT_EQ(option.sizeTwips(), QSize(500, 260));
}

TEST_F(PictureSwitches, OptionLookFollowsValueWithoutClick) {
    C_Option option;
    QSignalSpy clicks(&option, &C_Option::Click);
    QSignalSpy changed(&option, &SkinnedControl::PropertyChanged);
    option.setCaption("Balanced");
    option.setValue(true);
    EXPECT_EQ(option.visiblePicture(), "option_set");
    EXPECT_EQ(option.captionLabel()->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0x00));
    option.setValue(false);
    EXPECT_EQ(option.captionLabel()->palette().color(QPalette::WindowText), QColor(0x40, 0x40, 0x3E));
    EXPECT_EQ(clicks.count(), 0);
    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed.at(0).at(0).toString(), "Caption");
    EXPECT_EQ(option.captionLabel()->x(), 18); // 240 + 40 twips
    EXPECT_EQ(controlPicture("option_set").size(), QSize(16, 17));
    EXPECT_EQ(controlPicture("option_clear").size(), QSize(16, 17));
}

TEST_F(PictureSwitches, OptionPropertyBag) {
    C_Option option;
    PropertyBag empty;
    option.UserControl_ReadProperties(empty);
    EXPECT_EQ(option.Caption(), "Label1");
    EXPECT_FALSE(option.Value());

    option.setCaption("Aid");
    option.setValue(true);
    PropertyBag bag;
    option.UserControl_WriteProperties(bag);
    ASSERT_EQ(bag.entries().size(), 2u);
    EXPECT_EQ(bag.entries()[0].key, "caption");
    EXPECT_EQ(bag.entries()[1].key, "value");
    C_Option again;
    again.UserControl_ReadProperties(bag);
    EXPECT_EQ(again.Caption(), "Aid");
    EXPECT_TRUE(again.Value());
}

// ---- picture option ------------------------------------------------------------

TEST_F(PictureSwitches, PictureOptionClickAndValue) {
    C_OptionEx key;
    QSignalSpy clicks(&key, &C_OptionEx::Click);
    click(&key, {10, 10});
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(key.Value());
    EXPECT_EQ(key.visiblePicture(), "optionex_00_off");
    key.setValue(true);
    EXPECT_EQ(key.visiblePicture(), "optionex_00_on");
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(PictureSwitches, PictureOptionTakesItsPicturesSize) {
    C_OptionEx key;
    EXPECT_EQ(twipsOf(key), QSize(540, 330));
    key.setButtonIndex(11);
    EXPECT_EQ(twipsOf(key), QSize(660, 330));
    key.setButtonIndex(14);
    EXPECT_EQ(twipsOf(key), QSize(630, 360));
    key.resize(53, 30); // the 795 x 450 twips a host stores
    EXPECT_EQ(twipsOf(key), QSize(630, 360));

    // Past the seventeen pairs: no face, size kept, still clickable.
    QSignalSpy clicks(&key, &C_OptionEx::Click);
    key.setButtonIndex(17);
    EXPECT_EQ(key.visiblePicture(), "");
    EXPECT_EQ(twipsOf(key), QSize(630, 360));
    click(&key, {5, 5});
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(PictureSwitches, PictureOptionPropertyBag) {
    C_OptionEx mute;
    PropertyBag bag;
    bag.WriteProperty("buttonindex", std::uint8_t(14));
    bag.WriteProperty("value", true);
    mute.UserControl_ReadProperties(bag);
    EXPECT_EQ(mute.ButtonIndex(), 14);
    EXPECT_TRUE(mute.Value());
    EXPECT_EQ(twipsOf(mute), QSize(630, 360));

    PropertyBag out;
    mute.UserControl_WriteProperties(out);
    ASSERT_EQ(out.entries().size(), 2u);
    EXPECT_EQ(out.entries()[0].key, "value");
    EXPECT_EQ(out.entries()[1].key, "buttonindex");
    C_OptionEx defaults;
    defaults.UserControl_ReadProperties(PropertyBag{});
    EXPECT_EQ(defaults.ButtonIndex(), 0);
    EXPECT_FALSE(defaults.Value());
}

TEST_F(PictureSwitches, EveryFaceRendered) {
    C_FlagBar bar;
    snapshot(&bar, "flagbar_off");
    bar.setValue(true);
    snapshot(&bar, "flagbar_on");

    C_Option option;
    option.setSizeTwips(1365, 255);
    option.setCaption("Balanced");
    snapshot(&option, "option_clear");
    option.setValue(true);
    snapshot(&option, "option_set");

    for (int i = 0; i < C_OptionEx::PairCount; ++i) {
        C_OptionEx ex;
        ex.setButtonIndex(std::uint8_t(i));
        for (bool on : {false, true}) {
            ex.setValue(on);
            const QImage shown = ex.grab().toImage();
            EXPECT_EQ(shown.size(), controlPicture(ex.visiblePicture()).size()) << i;
            snapshot(&ex, ex.visiblePicture());
        }
    }
    handCursor().pixmap().save(outputDir() + "/hand_cursor.png");
    EXPECT_EQ(handCursor().hotSpot(), QPoint(5, 0));
    EXPECT_EQ(handCursor().pixmap().size(), QSize(32, 32));
    EXPECT_EQ(bar.cursor().hotSpot(), QPoint(5, 0));
}

} // namespace
