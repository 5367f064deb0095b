// Start-up display checks and the confirmed close of the main window.
#include "MainFrmFixture.h"
#include "TestSupport.h"
#include "app/MainFrm.h"
#include "app/UserFormValue.h"
#include "platform/VirtualRuntime.h"
#include "platform/VirtualSerial.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QApplication>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace sonmira;

namespace {

const QString kDpi = QStringLiteral(
    "Keep your computer current DPI change 96DPI, in order to avoid the software displays an exception, click OK "
    "to exit this application.");
const QString kTooLow = QStringLiteral(
    "Your computer monitor resolution is too low, at least 930 * 560 to the normal display of the program "
    "interface, click OK to exit.");

platform::RecordingDesktop screenOf(float tpp, float w, float h) {
    platform::RecordingDesktop d;
    d.metrics = {tpp, tpp, w * tpp, h * tpp};
    return d;
}

TEST(StartupChecks, ScreenSizeAndDpi) {
    struct Case {
        float tpp, w, h;
        bool passes;
        QString message;
    } cases[] = {
        {15, 930, 560, true, {}},   {15, 929, 560, false, kTooLow}, {15, 930, 559, false, kTooLow},
        {12, 1920, 1080, false, kDpi}, {12, 800, 600, false, kDpi}, // the DPI check comes first
        {15, 1280, 1024, true, {}},
    };
    for (const auto& c : cases) {
        auto d = screenOf(c.tpp, c.w, c.h);
        app::UseBigForm = 0;
        EXPECT_EQ(app::StartupChecks(d), c.passes) << c.w << "x" << c.h << " at " << c.tpp;
        if (c.passes) {
            EXPECT_TRUE(d.messages.empty());
            EXPECT_EQ(app::UseBigForm, 1);
        } else {
            ASSERT_EQ(d.messages.size(), 1u);
            EXPECT_EQ(d.messages[0].text, c.message);
            EXPECT_EQ(d.messages[0].style, platform::MsgStyle::Exclamation);
            EXPECT_EQ(app::UseBigForm, 0);
        }
    }
}

// Runs the checks on a real screen at 120 DPI, which the toolkit scales to 96
// logical DPI at a pixel ratio of 1.25, and prints what they found. Screens
// are fixed when the application starts: call it in a fresh process only.
[[noreturn]] void reportChecksOnAQtScreenAt120Dpi() {
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly)) std::_Exit(2);
    config.write(R"({"screens": [{"name": "S", "width": 1280, "height": 1024,
                                  "logicalDpi": 120, "logicalBaseDpi": 96}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    test::ensureApp();
    platform::RecordingDesktop d;
    d.metrics = platform::QtDesktop().screen();
    const bool passes = app::StartupChecks(d);
    std::fprintf(stderr, "%g twips per pixel: %s\n", double(d.metrics.twipsPerPixelX),
                 passes ? "passes" : qPrintable(d.messages.at(0).text));
    std::_Exit(0);
}

TEST(StartupChecks, QtScreenAt120DpiGivesTheDpiMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a new process, not a fork of this one
    EXPECT_EXIT(reportChecksOnAQtScreenAt120Dpi(), ::testing::ExitedWithCode(0),
                "12 twips per pixel: Keep your computer current DPI change 96DPI");
}

TEST(ProgramName, TitlesTheMessageBoxesAndIsNoDisplayNameOfItsOwn) {
    test::ensureApp();
    const QString before = QCoreApplication::applicationName();
    app::NameTheProgram();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Sonmira"));
    // A display name set on its own would stay put here, and the X11 toolkit
    // would append it to the dialogs' and the log window's titles.
    QCoreApplication::setApplicationName(QStringLiteral("other"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("other"));
    QCoreApplication::setApplicationName(before);
}

using MainWindowTest = test::MainFrmFixture;

TEST_F(MainWindowTest, OpensAtFixedSizeShowingTheLinkDown) {
    app::MainFrm w(services(), link::Skin::Big);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonmira"));
    EXPECT_EQ(w.size(), QSize(932, 674));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w.statusText(), QStringLiteral("Not connected"));
    EXPECT_TRUE(w.link().timer2().enabled());
    EXPECT_FALSE(w.link().commConnect().enabled());
    w.Form_Load();
    EXPECT_TRUE(w.link().commConnect().enabled());
    EXPECT_EQ(log.CommLog, QStringLiteral("Double-click the empty display can be stretched or wide..."));
}

TEST_F(MainWindowTest, OpensWithItsFrameCentredOnTheScreen) {
    app::MainFrm w(services(), link::Skin::Big);
    w.show();
    const QRect frame = w.frameGeometry();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_NE(frame, w.geometry()); // the frame is part of what is centred
    EXPECT_EQ(frame.left() - screen.left(), screen.right() - frame.right());
    EXPECT_EQ(frame.top() - screen.top(), screen.bottom() - frame.bottom());
}

// Under a window manager the frame is only drawn once the window is mapped;
// the frame it announces beforehand is what gets centred, title bar included.
TEST_F(MainWindowTest, OpensCentredWithTheFrameTheWindowManagerAnnounces) {
    desktop.frame = QMargins(1, 20, 1, 1);
    app::MainFrm w(services(), link::Skin::Big);
    w.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize outer(932 + 2, 674 + 21);
    ASSERT_TRUE(QRect(QPoint(), screen.size()).contains(QRect(QPoint(), outer))); // centred both ways
    EXPECT_EQ(w.geometry().topLeft(), screen.topLeft() + QPoint((screen.width() - outer.width()) / 2 + 1,
                                                                (screen.height() - outer.height()) / 2 + 20));
}

TEST_F(MainWindowTest, CloseAsksAndNoChangesNothing) {
    platform::VirtualLine line;
    ports.attach(QStringLiteral("COM1"), &line);
    app::MainFrm w(services(), link::Skin::Big);
    ASSERT_TRUE(w.link().port().OpenPort(QStringLiteral("1")));
    desktop.answers = {platform::MsgResult::No};
    QCloseEvent no;
    QCoreApplication::sendEvent(&w, &no);
    EXPECT_FALSE(no.isAccepted());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].style, platform::MsgStyle::YesNo);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("You sure you want to exit the application ?"));
    EXPECT_TRUE(line.open);
    EXPECT_EQ(ended, 0);

    desktop.answers = {platform::MsgResult::Yes};
    QCloseEvent yes;
    QCoreApplication::sendEvent(&w, &yes);
    EXPECT_TRUE(yes.isAccepted());
    EXPECT_FALSE(line.open);
    EXPECT_EQ(ended, 1);
}

TEST_F(MainWindowTest, CloseDuringAReplyWaitAsksAndEndsWithoutWaiting) {
    platform::VirtualLine line; // a unit that never answers
    ports.attach(QStringLiteral("COM1"), &line);
    std::int64_t endedAt = -1;
    bool openAtEnd = true;
    app::MainFrm w({rt, ports, desktop, log, [&] {
                        endedAt = rt.nowMs();
                        openAtEnd = line.open;
                    }},
                   link::Skin::Big);
    ASSERT_TRUE(w.link().port().OpenPort(QStringLiteral("1")));
    w.link().Connected = true;
    desktop.answers = {platform::MsgResult::Yes};
    rt.post(300, [&] { w.close(); });
    w.link().SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 1, false);
    ASSERT_FALSE(desktop.messages.empty());
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("You sure you want to exit the application ?"));
    EXPECT_EQ(endedAt, 300);
    EXPECT_FALSE(openAtEnd);
}

TEST_F(MainWindowTest, ChineseSkinAsksInChinese) {
    app::MainFrm w(services(), link::Skin::Small);
    EXPECT_EQ(w.size(), QSize(927, 563));
    EXPECT_EQ(w.statusText(), QStringLiteral(u"未连接"));
    desktop.answers = {platform::MsgResult::No};
    QCloseEvent e;
    QCoreApplication::sendEvent(&w, &e);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral(u"确定要退出应用程序吗？"));
}

TEST_F(MainWindowTest, LowerCaseWOpensTheTrafficLogAgainAndAgain) {
    app::MainFrm w(services(), link::Skin::Big);
    auto type = [&](const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_W, mods, text);
        QCoreApplication::sendEvent(&w, &e);
    };
    type(QStringLiteral("W"), Qt::ShiftModifier);
    type(QStringLiteral("w"), Qt::AltModifier);
    EXPECT_EQ(w.trafficLogWindow(), nullptr);
    type(QStringLiteral("w"));
    ASSERT_NE(w.trafficLogWindow(), nullptr);
    EXPECT_TRUE(w.trafficLogWindow()->isVisible());
    EXPECT_TRUE(log.CommLogOn);
    w.trafficLogWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.trafficLogWindow(), nullptr);
    EXPECT_FALSE(log.CommLogOn);
    type(QStringLiteral("w"));
    ASSERT_NE(w.trafficLogWindow(), nullptr);
    EXPECT_TRUE(log.CommLogOn);
    // Open behind the main window: "w" brings it forward.
    w.show();
    w.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &w);
    type(QStringLiteral("w"));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), w.trafficLogWindow());

    // Closed and opened again inside one reply wait, before the closed window
    // is deleted: logging stops at the close, and the new window stays.
    QPointer<link::CommIndicator> closed = w.trafficLogWindow();
    closed->close();
    EXPECT_FALSE(log.CommLogOn);
    type(QStringLiteral("w"));
    ASSERT_NE(w.trafficLogWindow(), closed.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    ASSERT_NE(w.trafficLogWindow(), nullptr);
    EXPECT_TRUE(w.trafficLogWindow()->isVisible());
    EXPECT_TRUE(log.CommLogOn);
    delete w.trafficLogWindow();
}

} // namespace
