#include "controls/C_ProgressBar.h"

#include "PixelCheck.h"
#include "TestSupport.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace sonmira::controls;
using sonmira::test::pixelAt;
using sonmira::test::rgbOf;

namespace {

constexpr int W = 738; // the main window's strip: 11070 x 375 twips
constexpr int H = 25;
constexpr QRgb Grey = 0xC0C0C0;
constexpr QRgb Picture = 0xE0E0E0;

struct Rig {
    std::unique_ptr<QWidget> host;
    C_ProgressBar* bar = nullptr;
    QStringList changed;

    Rig() {
        sonmira::test::ensureApp();
        host = std::make_unique<QWidget>();
        host->resize(W + 20, 60);
        bar = new C_ProgressBar(host.get());
        bar->setGeometry(0, 10, W, H);
        QObject::connect(bar, &SkinnedControl::PropertyChanged,
                         [this](const QString& n) { changed << n; });
        host->show();
    }
    QImage show(int percent, const char* png) {
        bar->setValue(std::uint8_t(percent));
        QImage img = bar->grab().toImage();
        img.save(sonmira::test::outputDir() + "/" + png + ".png");
        return img;
    }
};

// Colour of ramp column x (from x = 1) on a strip of span W - 3.
QRgb rampAt(int x) {
    const int i = x - 1;
    const float step = 255.0f / float(W - 3);
    const int blue = int(std::nearbyint(step * float(i)));
    const int red = int(std::nearbyint(255.0f - step * float(i)));
    return QRgb(red << 16 | blue);
}

// The text starts at W / 2 - 10: nothing left of it is touched by it.
constexpr int TextLeft = W / 2 - 10;

void expectFrame(const QImage& img) {
    for (int x : {0, 200, W - 1}) {
        EXPECT_EQ(pixelAt(img, x, 0), 0u) << x;
        EXPECT_EQ(pixelAt(img, x, H - 1), 0u) << x;
    }
    for (int y : {0, 12, H - 1}) {
        EXPECT_EQ(pixelAt(img, 0, y), 0u) << y;
        EXPECT_EQ(pixelAt(img, W - 1, y), 0u) << y;
    }
}

// The columns expected left of the text, and some text right of its start.
void expectColumns(const QImage& img, int rampEnd, int greyFrom, int greyTo) {
    for (int x = 1; x < TextLeft; ++x) {
        const QRgb want = x <= rampEnd ? rampAt(x) : x >= greyFrom && x <= greyTo ? Grey : Picture;
        for (int y : {1, 5, 12, H - 2}) ASSERT_EQ(pixelAt(img, x, y), want) << x << "," << y;
    }
    for (int x = TextLeft + 40; x < W - 1; ++x) {
        const QRgb want = x <= rampEnd ? rampAt(x) : x >= greyFrom && x <= greyTo ? Grey : Picture;
        for (int y : {1, H - 2}) ASSERT_EQ(pixelAt(img, x, y), want) << x << "," << y;
    }
    bool text = false;
    for (int x = TextLeft; x < TextLeft + 40 && !text; ++x)
        for (int y = 3; y < H - 2 && !text; ++y) {
            const QRgb want = x <= rampEnd ? rampAt(x) : x >= greyFrom ? Grey : Picture;
            text = pixelAt(img, x, y) != want;
        }
    EXPECT_TRUE(text);
}

} // namespace

TEST(ProgressStrip, FullStripIsAllRamp) {
    Rig r;
    const QImage img = r.show(100, "progress_100");
    expectFrame(img);
    EXPECT_EQ(pixelAt(img, 1, 5), 0xFF0000u);   // pure red at the left
    EXPECT_EQ(pixelAt(img, W - 2, 5), 0x0000FFu); // pure blue at x = 736
    expectColumns(img, W - 2, W, W);
    EXPECT_EQ(r.changed, QStringList{"Value"});
}

TEST(ProgressStrip, HalfStripShowsTheRedHalfOfTheRamp) {
    Rig r;
    const QImage img = r.show(50, "progress_50");
    expectFrame(img);
    expectColumns(img, 366, 367, 735);
    EXPECT_EQ(pixelAt(img, W - 2, 5), Picture);
}

TEST(ProgressStrip, EmptyStripIsGrey) {
    Rig r;
    const QImage img = r.show(0, "progress_0");
    expectFrame(img);
    expectColumns(img, 0, 2, W - 3);
    EXPECT_EQ(pixelAt(img, 1, 5), Picture);
    EXPECT_EQ(pixelAt(img, W - 2, 5), Picture);
}

TEST(ProgressStrip, GoingBackRepaintsTheRest) {
    Rig r;
    r.show(100, "progress_back_100");
    const QImage img = r.show(50, "progress_back_50");
    for (int x = 1; x <= 366; ++x) ASSERT_EQ(pixelAt(img, x, 1), rampAt(x)) << x;
    for (int x = 367; x <= 735; ++x) ASSERT_EQ(pixelAt(img, x, 1), Grey) << x;
    // The strip never paints column W - 2 below 100 %, so it keeps what it had.
    EXPECT_EQ(pixelAt(img, W - 2, 1), 0x0000FFu);
}

TEST(ProgressStrip, AboveHundredStaysInsideTheFrame) {
    Rig r;
    const QImage img = r.show(255, "progress_255");
    expectFrame(img);
    expectColumns(img, W - 2, W, W);

    Rig fromLink;
    fromLink.bar->setProgressValue(140);
    const QImage linked = fromLink.bar->grab().toImage();
    EXPECT_EQ(linked, img);
}

TEST(ProgressStrip, RegionFollowsTheSize) {
    Rig r;
    EXPECT_EQ(r.bar->windowRegion().boundingRect(), QRect(0, 0, W + 1, H + 1));
    r.bar->resize(300, 20);
    EXPECT_EQ(r.bar->windowRegion().boundingRect(), QRect(0, 0, 301, 21));
    const QImage img = r.bar->grab().toImage();
    EXPECT_EQ(pixelAt(img, 299, 10), 0u); // the frame follows the new size
}
