#include "controls/Gdi.h"
#include "controls/PropertyBag.h"
#include "controls/SkinnedControl.h"

#include "PixelCheck.h"
#include "TestSupport.h"

#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

using namespace sonmira::controls;

namespace {

QRgb px(const QImage& img, int x, int y) { return sonmira::test::pixelAt(img, x, y); }
using sonmira::test::rgbOf;

} // namespace

TEST(Gdi, ColoursAreBlueGreenRed) {
    EXPECT_EQ(rgbColor(0x11, 0x22, 0x33), 0x332211u);
    const QColor c = toQColor(0x389ACE);
    EXPECT_EQ(c.red(), 0xCE);
    EXPECT_EQ(c.green(), 0x9A);
    EXPECT_EQ(c.blue(), 0x38);
    EXPECT_EQ(fromQColor(c), 0x389ACEu);
}

TEST(Gdi, RoundingAndTwips) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(7.0 / 2), 4);
    EXPECT_EQ(twipsToPixels(1500), 100);
    EXPECT_EQ(twipsToPixels(1660), 111);
    EXPECT_EQ(pixelsToTwips(738), 11070);
}

TEST(Gdi, LinesLeaveOutTheirEndPoint) {
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    DrawLine(img, 2, 5, 10, 5, 0x0000FF, 1);
    EXPECT_EQ(px(img, 2, 5), 0xFF0000u);
    EXPECT_EQ(px(img, 9, 5), 0xFF0000u);
    EXPECT_EQ(px(img, 10, 5), 0xFFFFFFu);
    EXPECT_EQ(px(img, 5, 4), 0xFFFFFFu);
    EXPECT_EQ(px(img, 5, 6), 0xFFFFFFu);

    // Width 3 covers the row above and below; width 2 the row above.
    img.fill(Qt::white);
    DrawLine(img, 2, 10, 8, 10, 0x00FF00, 3);
    for (int y = 9; y <= 11; ++y) EXPECT_EQ(px(img, 4, y), 0x00FF00u) << y;
    EXPECT_EQ(px(img, 4, 8), 0xFFFFFFu);
    EXPECT_EQ(px(img, 4, 12), 0xFFFFFFu);
    DrawLine(img, 15, 2, 15, 8, 0xFF0000, 2);
    EXPECT_EQ(px(img, 14, 2), 0x0000FFu);
    EXPECT_EQ(px(img, 15, 7), 0x0000FFu);
    EXPECT_EQ(px(img, 16, 4), 0xFFFFFFu);
    EXPECT_EQ(px(img, 15, 8), 0xFFFFFFu);

    // Drawn backwards, the first point is painted and the last is not.
    img.fill(Qt::white);
    DrawLine(img, 10, 3, 2, 3, 0, 1);
    EXPECT_EQ(px(img, 10, 3), 0u);
    EXPECT_EQ(px(img, 3, 3), 0u);
    EXPECT_EQ(px(img, 2, 3), 0xFFFFFFu);
}

TEST(Gdi, RegionsLeaveOutRightAndBottom) {
    const QRegion r = CreateRectRgn(34, 30, 70, 100);
    EXPECT_EQ(r.boundingRect(), QRect(34, 30, 36, 70));
    QImage img(80, 110, QImage::Format_RGB32);
    img.fill(Qt::white);
    FillRgnColor(img, r, 0x3F3F3D);
    EXPECT_EQ(px(img, 34, 30), rgbOf(0x3F3F3D));
    EXPECT_EQ(px(img, 69, 99), rgbOf(0x3F3F3D));
    EXPECT_EQ(px(img, 70, 99), 0xFFFFFFu);
    EXPECT_EQ(px(img, 69, 100), 0xFFFFFFu);
}

TEST(PropertyBag, KeysAreLowerCaseAndMatchInAnyCase) {
    PropertyBag bag;
    bag.WriteProperty("MaxValue", std::int32_t(20));
    bag.WriteProperty("Title", QStringLiteral("Bass"));
    bag.WriteProperty("Enabled", false);
    bag.WriteProperty("Style", std::uint8_t(3));
    ASSERT_EQ(bag.entries().size(), 4u);
    EXPECT_EQ(bag.entries()[0].key, "maxvalue");
    EXPECT_EQ(bag.entries()[3].key, "style");
    EXPECT_EQ(bag.readLong("MAXVALUE", 10), 20);
    EXPECT_EQ(bag.readString("title", "None"), "Bass");
    EXPECT_FALSE(bag.readBoolean("ENABLED", true));
    EXPECT_EQ(bag.readByte("Style", 0), 3);

    // Writing a key again keeps its place.
    bag.WriteProperty("TITLE", QStringLiteral("Mid"));
    ASSERT_EQ(bag.entries().size(), 4u);
    EXPECT_EQ(bag.entries()[1].key, "title");
    EXPECT_EQ(bag.readString("Title", ""), "Mid");
}

TEST(PropertyBag, MissingOrUnreadableKeysGiveTheDefault) {
    PropertyBag bag;
    EXPECT_EQ(bag.readLong("MaxValue", 10), 10);
    EXPECT_EQ(bag.readString("Title", "None"), "None");
    EXPECT_TRUE(bag.readBoolean("Enabled", true));
    bag.WriteProperty("maxvalue", QStringLiteral("abc"));
    bag.WriteProperty("style", std::int32_t(300));
    EXPECT_EQ(bag.readLong("MaxValue", 10), 10);
    EXPECT_EQ(bag.readByte("Style", 1), 1);
}

TEST(PropertyBag, TextValuesFromADescriptionConvert) {
    PropertyBag bag;
    bag.WriteProperty("maxvalue", QStringLiteral(" 80 "));
    bag.WriteProperty("enabled", QStringLiteral("False"));
    bag.WriteProperty("showsize", QStringLiteral("-1"));
    bag.WriteProperty("titlevisible", QStringLiteral("true"));
    bag.WriteProperty("caption", std::int32_t(12));
    EXPECT_EQ(bag.readLong("MaxValue", 10), 80);
    EXPECT_FALSE(bag.readBoolean("Enabled", true));
    EXPECT_TRUE(bag.readBoolean("ShowSize", false));
    EXPECT_TRUE(bag.readBoolean("TitleVisible", false));
    EXPECT_EQ(bag.readLong("TitleVisible", 0), -1);
    EXPECT_EQ(bag.readString("Caption", ""), "12");
}

namespace {

// A control with one property, written the way every skinned control writes.
class Probe : public SkinnedControl {
public:
    explicit Probe(ScaleMode m) : SkinnedControl(m) { setBackColor(0x102030); }
    void setCaption(const QString& c) {
        caption_ = c;
        DrawLine(hDC(), 0, 0, 5, 0, 0x0000FF, 1);
        emit PropertyChanged(QStringLiteral("Caption"));
    }
    void UserControl_ReadProperties(const PropertyBag& bag) override {
        caption_ = bag.readString("Caption", "None");
    }
    void UserControl_WriteProperties(PropertyBag& bag) const override {
        bag.WriteProperty("Caption", caption_);
    }
    int paints = 0;
    int shows = 0;
    int resizes = 0;
    QString caption_;

protected:
    void UserControl_Paint() override {
        ++paints;
        DrawLine(hDC(), 0, 1, 3, 1, 0x00FF00, 1);
    }
    void UserControl_Show() override { ++shows; }
    void UserControl_Resize() override {
        ++resizes;
        SkinnedControl::UserControl_Resize();
    }
};

} // namespace

TEST(SkinnedControl, PatternOfEveryControl) {
    sonmira::test::ensureApp();
    QWidget host;
    host.resize(200, 200);
    auto* c = new Probe(SkinnedControl::ScaleMode::Pixels);
    c->setParent(&host);
    c->setGeometry(10, 10, 40, 20);
    QStringList changed;
    QObject::connect(c, &SkinnedControl::PropertyChanged, [&](const QString& n) { changed << n; });
    host.show();

    EXPECT_EQ(c->shows, 1);
    EXPECT_GE(c->resizes, 1);
    EXPECT_EQ(c->windowRegion().boundingRect(), QRect(0, 0, 41, 21));
    c->resize(50, 30);
    EXPECT_EQ(c->windowRegion().boundingRect(), QRect(0, 0, 51, 31));

    c->setCaption("Mid");
    EXPECT_EQ(changed, QStringList{"Caption"});

    const QImage img = c->grab().toImage();
    EXPECT_GE(c->paints, 1);
    EXPECT_EQ(px(img, 2, 0), 0xFF0000u); // drawn on a property write
    EXPECT_EQ(px(img, 2, 1), 0x00FF00u); // drawn on Paint
    EXPECT_EQ(px(img, 20, 20), rgbOf(0x102030));

    PropertyBag bag;
    c->UserControl_WriteProperties(bag);
    Probe other(SkinnedControl::ScaleMode::Pixels);
    other.UserControl_ReadProperties(bag);
    EXPECT_EQ(other.caption_, "Mid");
}

TEST(SkinnedControl, TwipsScaledRegionIsFarLarger) {
    sonmira::test::ensureApp();
    QWidget host;
    auto* c = new Probe(SkinnedControl::ScaleMode::Twips);
    c->setParent(&host);
    c->setGeometry(0, 0, 40, 20);
    host.show();
    EXPECT_EQ(c->ScaleWidth(), 600);
    EXPECT_EQ(c->ScaleHeight(), 300);
    EXPECT_EQ(c->windowRegion().boundingRect(), QRect(0, 0, 601, 301));
}
