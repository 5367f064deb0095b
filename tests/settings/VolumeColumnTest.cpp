#include "RecordingControls.h"
#include "settings/VolumeColumn.h"

#include <gtest/gtest.h>

using namespace sonmira::settings;
using sonmira::settings::test::RecordingControls;

namespace {

constexpr int MusMin = 0, MusMax = 1, MusMode = 2, EffMin = 6, EffMax = 7, EffMode = 8;

struct Column : ::testing::Test {
    RecordingControls c;
    VolumeColumn& vc = c.column;

    void type(int i, const char* keys) {
        for (const char* k = keys; *k; ++k) vc.typeKey(i, *k);
    }
    void enter(int i) { vc.typeKey(i, 13); }
    // Clears a box as the Delete key would.
    void clear(int i) { vc.setText(i, QString()); }
    void typeAndApply(int i, const char* keys) {
        clear(i);
        type(i, keys);
        enter(i);
    }
};

} // namespace

TEST_F(Column, StartState) {
    EXPECT_EQ(vc.text(MusMin), "0");
    EXPECT_EQ(vc.text(MusMax), "80");
    EXPECT_EQ(vc.text(MusMode), "MUS1");
    EXPECT_EQ(vc.text(5), "MIC1");
    EXPECT_EQ(vc.text(EffMode), "KTV1");
    EXPECT_EQ(vc.spinnerValue(EffMax), 80);
    EXPECT_EQ(vc.colour(MusMin), BoxColour::WindowText);
}

TEST_F(Column, TypingMakesRedAndEnterAppliesBlack) {
    clear(MusMin);
    type(MusMin, "9");
    EXPECT_EQ(vc.colour(MusMin), BoxColour::Red);
    EXPECT_EQ(vc.spinnerValue(MusMin), 0); // not applied yet
    enter(MusMin);
    EXPECT_EQ(vc.spinnerValue(MusMin), 9);
    EXPECT_EQ(vc.text(MusMin), "9");
    EXPECT_EQ(vc.colour(MusMin), BoxColour::Black);
}

TEST_F(Column, MinAboveMaxBoxTakesTheMaxText) {
    typeAndApply(MusMin, "90");
    EXPECT_EQ(vc.text(MusMin), "80");
    EXPECT_EQ(vc.spinnerValue(MusMin), 80);
    EXPECT_EQ(vc.colour(MusMin), BoxColour::Black);
}

TEST_F(Column, MaxBelowMinTakesTheMinText) {
    typeAndApply(MusMin, "20");
    typeAndApply(MusMax, "5");
    EXPECT_EQ(vc.text(MusMax), "20");
    EXPECT_EQ(vc.spinnerValue(MusMax), 20);
}

TEST_F(Column, LeadingZeroRewrittenOnlyWhenTheSpinnerMoves) {
    typeAndApply(MusMin, "20");
    typeAndApply(MusMin, "05");
    EXPECT_EQ(vc.spinnerValue(MusMin), 5);
    EXPECT_EQ(vc.text(MusMin), "5");
    typeAndApply(MusMin, "05");
    EXPECT_EQ(vc.spinnerValue(MusMin), 5);
    EXPECT_EQ(vc.text(MusMin), "05");
    EXPECT_EQ(vc.colour(MusMin), BoxColour::Black);
}

TEST_F(Column, OnlyAnAppliedMaxLowersTheLevel) {
    c.level[0] = 50;
    typeAndApply(MusMax, "60");
    EXPECT_EQ(c.level[0], 50);
    typeAndApply(MusMax, "30");
    EXPECT_EQ(c.level[0], 30);
    EXPECT_EQ(vc.spinnerValue(MusMax), 30);

    // Arrows and minima never move the level.
    c.level[1] = 50;
    for (int k = 0; k < 50; ++k) vc.clickArrow(4, true);
    EXPECT_EQ(vc.spinnerValue(4), 30);
    EXPECT_EQ(c.level[1], 50);
    c.level[2] = 50;
    typeAndApply(EffMin, "60");
    EXPECT_EQ(c.level[2], 50);
    EXPECT_EQ(vc.spinnerValue(EffMin), 60);
}

TEST_F(Column, ArrowsHoldAtTheOtherBoundAndAtTheRangeEnds) {
    typeAndApply(MusMin, "40");
    typeAndApply(MusMax, "40");
    vc.clickArrow(MusMin, false); // value up
    EXPECT_EQ(vc.spinnerValue(MusMin), 40);
    EXPECT_EQ(vc.text(MusMin), "40");
    EXPECT_EQ(vc.colour(MusMin), BoxColour::Black);
    vc.clickArrow(MusMax, true); // value down
    EXPECT_EQ(vc.spinnerValue(MusMax), 40);
    EXPECT_EQ(vc.spinnerValue(MusMin), 40);

    // A red typed text is lost on a click.
    clear(EffMin);
    type(EffMin, "7");
    vc.clickArrow(EffMin, false);
    EXPECT_EQ(vc.text(EffMin), "1");
    EXPECT_EQ(vc.colour(EffMin), BoxColour::Black);
    vc.clickArrow(EffMin, true);
    vc.clickArrow(EffMin, true);
    EXPECT_EQ(vc.spinnerValue(EffMin), 0);
}

TEST_F(Column, ModeTexts) {
    ASSERT_TRUE(vc.setSpinnerValue(EffMode, 3));
    EXPECT_EQ(vc.text(EffMode), "KTV4");
    vc.clickArrow(EffMode, false);
    EXPECT_EQ(vc.text(EffMode), "EFF1");
    ASSERT_TRUE(vc.setSpinnerValue(EffMode, 7));
    EXPECT_EQ(vc.text(EffMode), "EFF4");
    EXPECT_FALSE(vc.setSpinnerValue(EffMode, 8));
    ASSERT_TRUE(vc.setSpinnerValue(MusMode, 5));
    EXPECT_EQ(vc.text(MusMode), "MUS6");
    vc.clickArrow(MusMode, false);
    EXPECT_EQ(vc.spinnerValue(MusMode), 5);
    EXPECT_FALSE(vc.setSpinnerValue(MusMode, 6));
    EXPECT_EQ(vc.text(5), "MIC1");

    // Mode boxes take no typing; Enter only turns them black.
    type(MusMode, "3");
    EXPECT_EQ(vc.text(MusMode), "MUS6");
    EXPECT_TRUE(vc.ApplyLevelText(MusMode));
    enter(5);
    EXPECT_EQ(vc.colour(5), BoxColour::Black);
}

TEST_F(Column, KeyFilter) {
    for (int code : {8, 27, 3, 22, int('a'), int('-'), int('+'), int(' ')}) {
        int k = code;
        vc.Text1_KeyPress(MusMin, k);
        EXPECT_EQ(k, 0) << code;
    }
    int digit = '7';
    vc.Text1_KeyPress(MusMin, digit);
    EXPECT_EQ(digit, '7');
    clear(MusMin);
    type(MusMin, "123");
    EXPECT_EQ(vc.text(MusMin), "12"); // a third digit is refused
    type(MusMin, "x");
    EXPECT_EQ(vc.text(MusMin), "12");
}

// Cases the rules above leave open: the spinner stays in range and a black
// box never shows a number other than its spinner's.
TEST_F(Column, UnusableTextRestoresTheAppliedValue) {
    typeAndApply(MusMax, "70");
    typeAndApply(MusMax, "95"); // above the range
    EXPECT_EQ(vc.spinnerValue(MusMax), 70);
    EXPECT_EQ(vc.text(MusMax), "70");
    EXPECT_EQ(vc.colour(MusMax), BoxColour::Black);

    clear(MusMax);
    enter(MusMax); // empty box
    EXPECT_EQ(vc.text(MusMax), "70");
    EXPECT_EQ(vc.colour(MusMax), BoxColour::Black);

    vc.setText(MusMin, "4a"); // pasted
    EXPECT_FALSE(vc.ApplyLevelText(MusMin));
    EXPECT_EQ(vc.text(MusMin), "0");
    EXPECT_EQ(vc.colour(MusMin), BoxColour::Black);

    // The other bound's box holds no number: its applied value bounds instead.
    clear(MusMax);
    vc.setText(MusMin, "75");
    EXPECT_TRUE(vc.ApplyLevelText(MusMin));
    EXPECT_EQ(vc.spinnerValue(MusMin), 70);
    EXPECT_EQ(vc.text(MusMin), "70");
    EXPECT_EQ(vc.text(MusMax), ""); // still red and typed
    EXPECT_EQ(vc.colour(MusMax), BoxColour::Red);

    // A typed Max that is too big cannot push a minimum out of range.
    vc.setText(EffMax, "99");
    vc.setText(EffMin, "95");
    EXPECT_FALSE(vc.ApplyLevelText(EffMin));
    EXPECT_EQ(vc.spinnerValue(EffMin), 0);
    EXPECT_EQ(vc.text(EffMin), "0");

    // Out-of-range indexes do nothing.
    EXPECT_TRUE(vc.ApplyLevelText(-1));
    EXPECT_TRUE(vc.ApplyLevelText(9));
}

TEST_F(Column, TypedMaxBoundsButUnappliedTextIsNotTheSetting) {
    clear(MusMax);
    type(MusMax, "30");
    EXPECT_EQ(vc.maxBoxNumber(0), 30);
    EXPECT_EQ(vc.spinnerValue(MusMax), 80);
    EXPECT_EQ(VolumeColumn::parseWholeNumber("05"), 5);
    EXPECT_FALSE(VolumeColumn::parseWholeNumber(" 5"));
    EXPECT_FALSE(VolumeColumn::parseWholeNumber(""));
}
