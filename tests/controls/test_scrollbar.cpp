#include "controls/C_ScrollBar.h"

#include "PixelCheck.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

using namespace sonmira::controls;
using sonmira::test::pixelAt;
using sonmira::test::rgbOf;

namespace {

constexpr ColorRef Back = 0x3F3F3D;
constexpr ColorRef Tick = 0x171A1F;

// A fader on a shown host window, as the main window would hold it.
struct Rig {
    std::unique_ptr<QWidget> host;
    C_ScrollBar* fader = nullptr;
    int scrolls = 0;
    int mouseIns = 0;
    QStringList changed;

    explicit Rig(const PropertyBag* bag = nullptr) {
        sonmira::test::ensureApp();
        host = std::make_unique<QWidget>();
        host->resize(200, 200);
        fader = new C_ScrollBar(host.get());
        if (bag) fader->UserControl_ReadProperties(*bag);
        else fader->UserControl_InitProperties();
        fader->move(10, 10);
        QObject::connect(fader, &C_ScrollBar::Scroll, [this] { ++scrolls; });
        QObject::connect(fader, &C_ScrollBar::MouseIn, [this] { ++mouseIns; });
        QObject::connect(fader, &SkinnedControl::PropertyChanged,
                         [this](const QString& n) { changed << n; });
        host->show();
    }

    void mouse(QEvent::Type type, int x, int y, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent ev(type, QPointF(x, y), QPointF(fader->mapToGlobal(QPoint(x, y))), button,
                       buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(fader, &ev);
    }
    void move(int x, int y, bool held = false) {
        mouse(QEvent::MouseMove, x, y, held ? Qt::LeftButton : Qt::NoButton);
    }
    void press(int x, int y) { mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton); }
    void release(int x, int y) { mouse(QEvent::MouseButtonRelease, x, y, Qt::NoButton); }
    // True when the fader kept the key for itself.
    bool key(int qtKey) {
        QKeyEvent ev(QEvent::KeyPress, qtKey, Qt::NoModifier);
        ev.ignore();
        QCoreApplication::sendEvent(fader, &ev);
        return ev.isAccepted();
    }
    void pointOnKnob() { move(50, fader->KnobY()); }
    // MaxValue 20, painted, pointer on the knob (y 65) and the button down.
    void grabKnobAtMid20() {
        fader->setMaxValue(20);
        image();
        pointOnKnob();
        press(50, 65);
    }
    QImage image() { return fader->grab().toImage(); }
};

PropertyBag tallBag() {
    PropertyBag bag;
    bag.WriteProperty("showsize", true);
    return bag;
}

void save(const QImage& img, const char* name) {
    img.save(sonmira::test::outputDir() + "/" + name + ".png");
}

} // namespace

// --- properties -------------------------------------------------------------------

TEST(FaderProperties, ValueClampsAndRaisesNothing) {
    Rig r;
    r.fader->setMaxValue(20);
    r.changed.clear();
    r.fader->setValue(-5);
    EXPECT_EQ(r.fader->Value(), 0);
    EXPECT_EQ(r.fader->ValueTip(), "0");
    r.fader->setValue(23);
    EXPECT_EQ(r.fader->Value(), 20);
    EXPECT_EQ(r.fader->ValueTip(), "20");
    EXPECT_EQ(r.scrolls, 0);
    EXPECT_EQ(r.changed, (QStringList{"Value", "Value"}));
}

TEST(FaderProperties, MaxValueResetsValueToHalf) {
    Rig r;
    r.fader->setMaxValue(15);
    EXPECT_EQ(r.fader->Value(), 8);
    r.fader->setMaxValue(5);
    EXPECT_EQ(r.fader->Value(), 2);
    r.fader->setMaxValue(7);
    EXPECT_EQ(r.fader->Value(), 4);
    EXPECT_EQ(r.fader->ValueTip(), "4");
    EXPECT_EQ(r.scrolls, 0);
}

TEST(FaderProperties, MaxValuePreviewKeepsValueWhenItFits) {
    Rig r;
    r.fader->setMaxValue(20);
    r.fader->setValue(14);
    r.fader->setMaxValuePreview(10);
    EXPECT_EQ(r.fader->MaxValue(), 10);
    EXPECT_EQ(r.fader->Value(), 10);
    r.fader->setValue(4);
    r.fader->setMaxValuePreview(12);
    EXPECT_EQ(r.fader->Value(), 4);
    EXPECT_EQ(r.changed.last(), "MaxValuePreview");
    EXPECT_EQ(r.scrolls, 0);
}

TEST(FaderProperties, MaxValueBelowOneIsTakenAsOne) {
    Rig r;
    r.fader->setMaxValue(0);
    EXPECT_EQ(r.fader->MaxValue(), 1);
    EXPECT_EQ(r.fader->Value(), 0);
    r.fader->setMaxValuePreview(-4);
    EXPECT_EQ(r.fader->MaxValue(), 1);
    r.image();
    EXPECT_FLOAT_EQ(r.fader->PixelsPerUnit(), 58.0f);
    EXPECT_EQ(r.fader->KnobY(), 94);

    PropertyBag bag;
    bag.WriteProperty("maxvalue", std::int32_t(0));
    Rig fromBag(&bag);
    EXPECT_EQ(fromBag.fader->MaxValue(), 1);
}

TEST(FaderProperties, EveryWriteMarksItsName) {
    Rig r;
    r.changed.clear();
    C_ScrollBar& f = *r.fader;
    f.setEnabled(true);
    f.setValue(3);
    f.setValueTip("x");
    f.setMaxValue(10);
    f.setMaxValuePreview(10);
    f.setTitle("T");
    f.setTitleVisible(false);
    f.setShowSize(false);
    f.setText1("a");
    f.setText2("b");
    f.setText3("c");
    f.setValueGlobal(true);
    f.setValueTipType(3);
    EXPECT_EQ(r.changed, (QStringList{"Enabled", "Value", "ValueTip", "MaxValue", "MaxValuePreview",
                                      "Title", "TitleVisible", "ShowSize", "Text1", "Text2", "Text3",
                                      "ValueGlobal", "ValueTipType"}));
    EXPECT_EQ(f.ValueTip(), "5ms");
    EXPECT_TRUE(f.ValueGlobal());
    EXPECT_FALSE(f.TitleVisible());
}

TEST(FaderProperties, TitleIsCentredOnX51) {
    Rig r;
    r.fader->setTitle("OUT LIMIT");
    const auto* title = r.fader->findChildren<QLabel*>().at(0);
    ASSERT_EQ(title->text(), "OUT LIMIT");
    EXPECT_EQ(title->y(), 1);
    EXPECT_EQ(title->x(), 51 - title->width() / 2);
    const int wide = title->width();
    r.fader->setTitle("B");
    EXPECT_LT(title->width(), wide);
    EXPECT_EQ(title->x(), 51 - title->width() / 2);
}

// --- property bag ---------------------------------------------------------------------

TEST(FaderBag, NewInstanceSetsItsDefaultsThroughTheProperties) {
    sonmira::test::ensureApp();
    C_ScrollBar f;
    QStringList changed;
    QObject::connect(&f, &SkinnedControl::PropertyChanged, [&](const QString& n) { changed << n; });
    f.UserControl_InitProperties();
    EXPECT_EQ(changed, (QStringList{"MaxValue", "Enabled", "ShowSize"}));
    EXPECT_EQ(f.MaxValue(), 10);
    EXPECT_EQ(f.Value(), 5);
    EXPECT_EQ(f.ValueTip(), "5");
    EXPECT_EQ(f.KnobY(), 65); // painted on the way
}

TEST(FaderBag, EmptyBagGivesTheDefaults) {
    PropertyBag empty;
    Rig r(&empty);
    const C_ScrollBar& f = *r.fader;
    EXPECT_EQ(f.MaxValue(), 10);
    EXPECT_EQ(f.Value(), 5);
    EXPECT_EQ(f.Title(), "None");
    EXPECT_EQ(f.Text1(), "None");
    EXPECT_EQ(f.Text2(), "None");
    EXPECT_EQ(f.Text3(), "None");
    EXPECT_EQ(f.ValueTip(), "5"); // the value text is updated after the last key
    EXPECT_TRUE(f.Enabled());
    EXPECT_TRUE(f.TitleVisible());
    EXPECT_FALSE(f.ShowSize());
    EXPECT_FALSE(f.ValueGlobal());
    EXPECT_EQ(f.ValueTipType(), 0);
    EXPECT_TRUE(r.changed.isEmpty());
}

TEST(FaderBag, WriteThenReadInKeyOrder) {
    Rig a;
    C_ScrollBar& f = *a.fader;
    f.setMaxValue(20);
    f.setTitle("57Hz");
    f.setText1("+10");
    f.setText2("0");
    f.setText3("-10");
    f.setEnabled(false);
    f.setShowSize(true);
    f.setTitleVisible(false);
    f.setValueGlobal(true);
    f.setValueTipType(6);
    f.setValueTip("held");

    PropertyBag bag;
    f.UserControl_WriteProperties(bag);
    QStringList keys;
    for (const auto& e : bag.entries()) keys << e.key;
    EXPECT_EQ(keys, (QStringList{"maxvalue", "title", "valuetip", "text1", "text2", "text3",
                                 "enabled", "showsize", "titlevisible", "valueglobal",
                                 "valuetiptype"}));

    Rig b(&bag);
    const C_ScrollBar& g = *b.fader;
    EXPECT_EQ(g.MaxValue(), 20);
    EXPECT_EQ(g.Value(), 10);
    EXPECT_EQ(g.Title(), "57Hz");
    EXPECT_EQ(g.Text1(), "+10");
    EXPECT_EQ(g.Text2(), "0");
    EXPECT_EQ(g.Text3(), "-10");
    EXPECT_FALSE(g.Enabled());
    EXPECT_TRUE(g.ShowSize());
    EXPECT_FALSE(g.TitleVisible());
    EXPECT_TRUE(g.ValueGlobal());
    EXPECT_EQ(g.ValueTipType(), 6);
    EXPECT_EQ(g.ValueTip(), "0dB");

    PropertyBag again;
    g.UserControl_WriteProperties(again);
    ASSERT_EQ(again.entries().size(), bag.entries().size());
    for (std::size_t i = 0; i < bag.entries().size(); ++i) {
        EXPECT_EQ(again.entries()[i].key, bag.entries()[i].key);
        if (bag.entries()[i].key != "valuetip") {
            EXPECT_EQ(again.entries()[i].value, bag.entries()[i].value) << i;
        }
    }
}

// --- value text -------------------------------------------------------------------------

TEST(FaderValueText, EveryFormat) {
    Rig r;
    C_ScrollBar& f = *r.fader;
    f.setMaxValue(127);
    struct Case {
        int type;
        int value;
        QString text;
    };
    const QString sep = QLocale::system().decimalPoint();
    const Case cases[] = {
        {0, 40, "40"},        {1, 0, "12ms"},        {1, 15, "196ms"},        {1, 7, "98ms"},
        {2, 0, "0" + sep + "0s"}, {2, 60, "6" + sep + "0s"}, {2, 35, "3" + sep + "5s"},
        {3, 40, "40ms"},      {4, 127, "381ms"},     {5, 7, "7dB"},           {6, 10, "0dB"},
        {6, 20, "+10dB"},     {6, 0, "-10dB"},       {6, 14, "+4dB"},         {6, 4, "-6dB"},
        {8, 0, "20Hz"},       {8, 21, "230Hz"},      {9, 0, "OFF"},           {9, 6, "2V"},
        {9, 1, "0.775V"},
    };
    for (const Case& c : cases) {
        f.setValueTipType(c.type);
        f.setValue(c.value);
        EXPECT_EQ(f.ValueTip(), c.text) << "type " << c.type << " value " << c.value;
    }
}

TEST(FaderValueText, UnlistedTypesKeepTheSetText) {
    Rig r;
    C_ScrollBar& f = *r.fader;
    for (int type : {7, 10, -1}) {
        f.setValueTipType(type);
        f.setValueTip("Hold");
        f.setValue(3);
        f.setMaxValue(12);
        EXPECT_EQ(f.ValueTip(), "Hold") << type;
    }
}

TEST(FaderValueText, ValuesPastTheTablesKeepTheText) {
    Rig r;
    C_ScrollBar& f = *r.fader;
    f.setMaxValue(20);
    f.setValueTipType(1);
    f.setValue(15);
    f.setValue(16);
    EXPECT_EQ(f.ValueTip(), "196ms");
    f.setValueTipType(9);
    f.setValue(6);
    f.setValue(7);
    EXPECT_EQ(f.ValueTip(), "2V");
}

// --- painting -------------------------------------------------------------------------------

TEST(FaderPaint, TicksSlotAndFrame) {
    Rig r;
    r.fader->setMaxValue(10);
    r.fader->setValue(0); // knob on rows 89..98, clear of the upper ticks
    QImage img = r.image();
    save(img, "fader_value0");
    for (int y = 34; y <= 88; y += 6) {
        EXPECT_EQ(pixelAt(img, 40, y), rgbOf(Tick)) << y;
        if (y + 3 < 89) {
            EXPECT_EQ(pixelAt(img, 40, y + 3), rgbOf(Back)) << y;
        }
    }
    // Major ticks are three rows deep and start at x 35; minor ones at 36.
    EXPECT_EQ(pixelAt(img, 35, 63), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 35, 65), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 67, 64), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 68, 64), rgbOf(Back));
    EXPECT_EQ(pixelAt(img, 35, 58), rgbOf(Back));
    EXPECT_EQ(pixelAt(img, 36, 58), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 66, 58), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 67, 58), rgbOf(Back));
    // The slot, columns 51 to 53.
    EXPECT_EQ(pixelAt(img, 52, 37), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 51, 37), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 54, 37), rgbOf(Back));
    // The sunken frame round the value text.
    EXPECT_EQ(pixelAt(img, 34, 20), rgbOf(0x737373));
    EXPECT_EQ(pixelAt(img, 50, 13), rgbOf(0x737373));
    EXPECT_EQ(pixelAt(img, 68, 20), rgbOf(0xDCDEDE));
    EXPECT_EQ(pixelAt(img, 50, 27), rgbOf(0xDCDEDE));

    r.fader->setValue(10); // and now the bottom tick
    img = r.image();
    EXPECT_EQ(pixelAt(img, 40, 94), rgbOf(Tick));
    EXPECT_EQ(pixelAt(img, 40, 97), rgbOf(Back));
}

TEST(FaderPaint, TallTicks) {
    const PropertyBag bag = tallBag();
    Rig r(&bag);
    r.fader->setValue(0);
    const QImage img = r.image();
    save(img, "fader_tall");
    EXPECT_EQ(r.fader->height(), 111);
    EXPECT_EQ(r.fader->KnobY(), 105);
    for (int y = 35; y <= 98; y += 7) {
        EXPECT_EQ(pixelAt(img, 40, y), rgbOf(Tick)) << y;
        if (y + 3 < 100) {
            EXPECT_EQ(pixelAt(img, 40, y + 3), rgbOf(Back)) << y;
        }
    }
    EXPECT_EQ(pixelAt(img, 52, 106), rgbOf(0x1B221F)); // last knob line, over the slot
    r.fader->setValue(10);
    const QImage top = r.image();
    EXPECT_EQ(pixelAt(top, 40, 105), rgbOf(Tick));
    EXPECT_EQ(pixelAt(top, 52, 106), rgbOf(Tick)); // slot runs to row 106
    EXPECT_EQ(pixelAt(top, 52, 107), rgbOf(Back));
    EXPECT_EQ(r.fader->KnobY(), 36);
}

TEST(FaderPaint, LabelsOverThePainting) {
    PropertyBag bag;
    bag.WriteProperty("maxvalue", std::int32_t(20));
    bag.WriteProperty("title", QStringLiteral("57Hz"));
    bag.WriteProperty("text1", QStringLiteral("+10"));
    bag.WriteProperty("text2", QStringLiteral("0"));
    bag.WriteProperty("text3", QStringLiteral("-10"));
    bag.WriteProperty("valuetiptype", std::int32_t(6));
    Rig r(&bag);
    const QImage img = r.image();
    img.scaled(img.size() * 4).save(sonmira::test::outputDir() + "/fader_labels_x4.png");
    EXPECT_EQ(r.fader->ValueTip(), "0dB");
    // Some text is drawn in the value box and beside the top tick, and none
    // reaches into the knob's columns from the scale labels.
    auto differs = [&](QRect area, QRgb from) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (pixelAt(img, x, y) != from) return true;
        return false;
    };
    EXPECT_TRUE(differs(QRect(38, 16, 26, 9), rgbOf(Back)));
    EXPECT_TRUE(differs(QRect(0, 28, 32, 12), rgbOf(Back)));
    EXPECT_TRUE(differs(QRect(30, 1, 42, 11), rgbOf(Back)));
}

TEST(FaderPaint, KnobPositionsAndColours) {
    Rig r;
    r.fader->setMaxValue(3);
    const int expected[] = {94, 75, 55, 36};
    for (int v = 0; v <= 3; ++v) {
        r.fader->setValue(v);
        const QImage img = r.image();
        const int k = r.fader->KnobY();
        EXPECT_EQ(k, expected[v]) << v;
        EXPECT_EQ(pixelAt(img, 45, k - 1), rgbOf(0x389ACE)) << v;
        EXPECT_EQ(pixelAt(img, 45, k), rgbOf(0x3993C3)) << v;
        EXPECT_EQ(pixelAt(img, 45, k - 5), rgbOf(0x1B221F)) << v;
        EXPECT_EQ(pixelAt(img, 45, k - 4), rgbOf(0x9E9D9B)) << v;
        EXPECT_EQ(pixelAt(img, 34, k + 4), rgbOf(0x1B221F)) << v;
        EXPECT_EQ(pixelAt(img, 68, k - 5), rgbOf(0x1B221F)) << v;
    }
}

TEST(FaderPaint, HotKnobWhilePointerOnIt) {
    Rig r;
    r.fader->setMaxValue(20);
    r.image();
    const int k = r.fader->KnobY();
    r.pointOnKnob();
    EXPECT_TRUE(r.fader->Hot());
    EXPECT_TRUE(r.fader->KeyActive());
    EXPECT_EQ(r.fader->ownTag(), "In");
    EXPECT_EQ(r.fader->MousePointer(), 99);
    EXPECT_EQ(r.fader->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(r.fader->cursor().pixmap().isNull());
    EXPECT_EQ(r.fader->Tag(), ""); // the host's Tag is untouched
    EXPECT_EQ(r.mouseIns, 1);
    QImage img = r.image();
    save(img, "fader_hot");
    EXPECT_EQ(pixelAt(img, 45, k - 1), rgbOf(0x00FFFF));
    EXPECT_EQ(pixelAt(img, 45, k), rgbOf(0x00FFFF));

    r.move(50, k + 3); // still on the knob: nothing new
    EXPECT_EQ(r.mouseIns, 1);
    r.move(50, k + 7);
    EXPECT_FALSE(r.fader->Hot());
    EXPECT_FALSE(r.fader->KeyActive());
    EXPECT_EQ(r.fader->ownTag(), "");
    EXPECT_EQ(r.fader->MousePointer(), 0);
    EXPECT_FALSE(r.fader->testAttribute(Qt::WA_SetCursor));
    img = r.image();
    EXPECT_EQ(pixelAt(img, 45, k - 1), rgbOf(0x389ACE));
}

TEST(FaderPaint, HitBoxBounds) {
    Rig r;
    r.image();
    const int k = r.fader->KnobY();
    for (auto [x, y, in] : {std::tuple{33, k - 6, true}, std::tuple{69, k + 6, true},
                            std::tuple{32, k, false}, std::tuple{70, k, false},
                            std::tuple{50, k - 7, false}, std::tuple{50, k + 7, false}}) {
        r.move(x, y);
        EXPECT_EQ(r.fader->Hot(), in) << x << "," << y;
        r.move(5, 5);
    }
}

// --- dragging -------------------------------------------------------------------------------

TEST(FaderDrag, MapsThePointerToTheValue) {
    Rig r;
    r.fader->setMaxValue(20);
    r.image();
    EXPECT_FLOAT_EQ(r.fader->PixelsPerUnit(), 2.9f);
    EXPECT_EQ(r.fader->KnobY(), 65);
    r.pointOnKnob();
    r.press(50, 65);
    EXPECT_TRUE(r.fader->Dragging());
    r.move(50, 36, true);
    EXPECT_EQ(r.fader->Value(), 20);
    EXPECT_EQ(r.fader->ValueTip(), "20");
    EXPECT_EQ(r.scrolls, 1);
    r.move(50, 94, true);
    EXPECT_EQ(r.fader->Value(), 0);
    EXPECT_EQ(r.scrolls, 2);
    r.move(50, 65, true);
    EXPECT_EQ(r.fader->Value(), 10);
    EXPECT_EQ(r.fader->KnobY(), 65);
    EXPECT_EQ(r.scrolls, 3);
    // Above and below the travel the value stays at its ends.
    r.move(50, 2, true);
    EXPECT_EQ(r.fader->Value(), 20);
    r.move(50, 99, true);
    EXPECT_EQ(r.fader->Value(), 0);
    r.release(50, 99);
    EXPECT_FALSE(r.fader->Dragging());
    const int before = r.scrolls;
    r.move(50, 40);
    EXPECT_EQ(r.fader->Value(), 0);
    EXPECT_EQ(r.scrolls, before);
}

TEST(FaderDrag, ScaleIsKnownBeforeTheFirstPaint) {
    // A fader loaded from its description is not painted yet; a drag must
    // still have pixels per unit to divide by.
    PropertyBag bag;
    bag.WriteProperty("maxvalue", std::int32_t(20));
    Rig r(&bag);
    EXPECT_EQ(r.fader->KnobY(), 0);
    EXPECT_FLOAT_EQ(r.fader->PixelsPerUnit(), 2.9f);
}

TEST(FaderDrag, SecondPressOfADoubleClickStartsNoDrag) {
    Rig r;
    r.fader->setMaxValue(20);
    r.image();
    r.pointOnKnob();
    r.press(50, 65);
    r.release(50, 65);
    r.mouse(QEvent::MouseButtonDblClick, 50, 65, Qt::LeftButton);
    EXPECT_FALSE(r.fader->Dragging());
    r.move(50, 36, true);
    EXPECT_EQ(r.fader->Value(), 10);
    EXPECT_EQ(r.scrolls, 0);
}

TEST(FaderDrag, ScrollOnlyWhenTheValueChanges) {
    Rig r;
    r.grabKnobAtMid20();
    r.move(50, 66, true); // 9.66 rounds to 10: no change
    r.move(50, 64, true);
    EXPECT_EQ(r.fader->Value(), 10);
    EXPECT_EQ(r.scrolls, 0);
    r.move(50, 67, true); // 9.31 rounds to 9
    EXPECT_EQ(r.fader->Value(), 9);
    EXPECT_EQ(r.scrolls, 1);
    r.move(50, 68, true);
    EXPECT_EQ(r.scrolls, 1);
    EXPECT_EQ(r.fader->LastValue(), 9);
}

TEST(FaderDrag, FastDragLeavesTheKnobAndGoesOn) {
    Rig r;
    r.grabKnobAtMid20();
    // The hit test uses the knob of the last paint, so a jump leaves it, yet
    // the drag moves the knob under the pointer.
    r.move(50, 40, true);
    EXPECT_FALSE(r.fader->Hot());
    EXPECT_EQ(r.fader->ownTag(), "");
    EXPECT_TRUE(r.fader->Dragging());
    EXPECT_EQ(r.fader->Value(), 19);
    EXPECT_EQ(r.fader->KnobY(), 39);
    r.move(50, 41, true); // back on the knob: hover again, with a new MouseIn
    EXPECT_TRUE(r.fader->Hot());
    EXPECT_EQ(r.mouseIns, 2);
    EXPECT_EQ(r.fader->Value(), 18);
    EXPECT_EQ(r.scrolls, 2);
}

TEST(FaderDrag, LeavingTheDragAreaEndsTheDrag) {
    Rig r;
    r.grabKnobAtMid20();
    r.move(70, 50, true);
    EXPECT_FALSE(r.fader->Dragging());
    EXPECT_EQ(r.fader->Value(), 10);
    r.move(50, 40, true);
    EXPECT_EQ(r.fader->Value(), 10);
    EXPECT_EQ(r.scrolls, 0);
}

TEST(FaderDrag, PressOffTheKnobStartsNothing) {
    Rig r;
    r.fader->setMaxValue(20);
    r.image();
    r.move(50, 40);
    r.press(50, 40);
    EXPECT_FALSE(r.fader->Dragging());
}

TEST(FaderDrag, DisabledFaderIgnoresTheMouse) {
    Rig r;
    r.fader->setMaxValue(20);
    r.fader->setEnabled(false);
    const QImage before = r.image();
    r.pointOnKnob();
    EXPECT_FALSE(r.fader->Hot());
    EXPECT_EQ(r.mouseIns, 0);
    r.press(50, 65);
    r.move(50, 36, true);
    EXPECT_EQ(r.fader->Value(), 10);
    EXPECT_EQ(r.scrolls, 0);
    EXPECT_EQ(r.image(), before); // the look does not change either
}

TEST(FaderDrag, DisablingMidDragFreezesItAndReleaseEndsIt) {
    Rig r;
    r.grabKnobAtMid20();
    r.fader->setEnabled(false);
    r.move(50, 36, true);
    EXPECT_EQ(r.fader->Value(), 10);
    EXPECT_TRUE(r.fader->Hot());
    EXPECT_TRUE(r.fader->Dragging());
    r.release(50, 36);
    EXPECT_FALSE(r.fader->Dragging());
}

// --- keys ---------------------------------------------------------------------------------

TEST(FaderKeys, ArrowsStepAndStopAtTheEnds) {
    Rig r;
    r.fader->setMaxValue(3);
    r.fader->setValue(3);
    r.image();
    r.pointOnKnob();
    EXPECT_FALSE(r.key(Qt::Key_Up)); // at the top: nothing
    EXPECT_EQ(r.fader->Value(), 3);
    EXPECT_EQ(r.scrolls, 0);
    EXPECT_TRUE(r.key(Qt::Key_Down));
    EXPECT_EQ(r.fader->Value(), 2);
    EXPECT_EQ(r.fader->ValueTip(), "2");
    EXPECT_EQ(r.scrolls, 1);
    EXPECT_EQ(r.fader->KnobY(), 55);
    // The pointer follows the knob.
    EXPECT_EQ(QCursor::pos().y(), r.fader->mapToGlobal(QPoint(0, 0)).y() + 55);
    EXPECT_TRUE(r.key(Qt::Key_Down));
    EXPECT_TRUE(r.key(Qt::Key_Down));
    EXPECT_EQ(r.fader->Value(), 0);
    EXPECT_FALSE(r.key(Qt::Key_Down)); // at the bottom: nothing
    EXPECT_EQ(r.scrolls, 3);
    EXPECT_TRUE(r.key(Qt::Key_Up));
    EXPECT_EQ(r.fader->Value(), 1);
    EXPECT_EQ(r.scrolls, 4);
    EXPECT_FALSE(r.key(Qt::Key_A)); // other keys go on to the host
    // Characters whose Qt codes equal the arrows' key codes are not arrows.
    EXPECT_FALSE(r.key(Qt::Key_Ampersand));
    EXPECT_FALSE(r.key(Qt::Key_ParenLeft));
    EXPECT_EQ(r.fader->Value(), 1);
    EXPECT_EQ(r.scrolls, 4);
}

TEST(FaderKeys, SwallowedOffTheKnobOrWhileDisabled) {
    Rig r;
    r.image();
    r.move(5, 5);
    EXPECT_TRUE(r.key(Qt::Key_Up));
    EXPECT_TRUE(r.key(Qt::Key_A));
    EXPECT_EQ(r.fader->Value(), 5);
    r.pointOnKnob();
    r.fader->setEnabled(false);
    EXPECT_TRUE(r.key(Qt::Key_Up));
    EXPECT_EQ(r.fader->Value(), 5);
    EXPECT_EQ(r.scrolls, 0);
}

TEST(FaderKeys, FocusLossLeavesTheKnob) {
    Rig r;
    r.grabKnobAtMid20();
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(r.fader, &out);
    EXPECT_FALSE(r.fader->Dragging());
    EXPECT_FALSE(r.fader->Hot());
    EXPECT_EQ(r.fader->ownTag(), "");
    EXPECT_EQ(r.fader->MousePointer(), 0);
    EXPECT_TRUE(r.key(Qt::Key_Up));
    EXPECT_EQ(r.fader->Value(), 10);
}

// --- size -----------------------------------------------------------------------------------

TEST(FaderSize, HeightAndScaleRowsFollowShowSize) {
    Rig r;
    EXPECT_EQ(r.fader->height(), 100);
    const auto labels = r.fader->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 5);
    EXPECT_EQ(labels[1]->geometry(), QRect(38, 15, 26, 12));
    EXPECT_EQ(labels[2]->pos(), QPoint(0, 28));
    EXPECT_EQ(labels[3]->pos(), QPoint(0, 58));
    EXPECT_EQ(labels[4]->pos(), QPoint(0, 87));
    EXPECT_EQ(r.fader->windowRegion().boundingRect(), QRect(0, 0, r.fader->width() + 1, 101));

    r.fader->setShowSize(true);
    EXPECT_EQ(r.fader->height(), 100); // until the next resize
    r.fader->resize(r.fader->width(), 125);
    EXPECT_EQ(r.fader->height(), 111);
    EXPECT_EQ(labels[3]->y(), 63);
    EXPECT_EQ(labels[4]->y(), 97);
    EXPECT_EQ(r.fader->windowRegion().boundingRect().height(), 112);
}
