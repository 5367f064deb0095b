// Virtual time, timer semantics, COM port naming, the Qt file dialogs and the
// Qt serial port on a pseudo-terminal.
#include "TestSupport.h"
#include "platform/Desktop.h"
#include "platform/QtSerial.h"
#include "platform/VirtualRuntime.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

using namespace sonmira::platform;

namespace {

TEST(VirtualRuntime, TimerRestartedByItsHandlerCountsFromTheEndOfTheTick) {
    VirtualRuntime rt;
    std::vector<std::int64_t> ticks;
    std::unique_ptr<Timer> t;
    t = rt.createTimer(15, true, [&] {
        ticks.push_back(rt.nowMs());
        t->setEnabled(false);
        rt.sleep(10); // the handler takes 10 ms
        t->setEnabled(true);
    });
    rt.advance(100);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{15, 40, 65, 90}));
}

TEST(VirtualRuntime, PlainTimerKeepsItsScheduleAndEnablingTwiceChangesNothing) {
    VirtualRuntime rt;
    std::vector<std::int64_t> ticks;
    auto t = rt.createTimer(100, true, [&] { ticks.push_back(rt.nowMs()); });
    rt.advance(50);
    t->setEnabled(true); // already enabled: no restart
    rt.advance(260);
    EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 200, 300}));
    t->setInterval(40); // a new interval restarts the period
    rt.advance(50);
    EXPECT_EQ(ticks.back(), 350);
}

TEST(VirtualRuntime, HandlerThatPumpsIsNotReentered) {
    VirtualRuntime rt;
    int depth = 0, maxDepth = 0, calls = 0;
    auto t = rt.createTimer(10, true, [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        for (int i = 0; i < 5; ++i) rt.pumpWait(); // a reply wait inside a tick
        --depth;
    });
    auto other = rt.createTimer(3, true, [] {});
    rt.advance(100);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GT(calls, 3);
}

TEST(VirtualRuntime, PumpWaitJumpsToTheNextEventAndSleepBlocksTimers) {
    VirtualRuntime rt;
    int fired = 0;
    auto t = rt.createTimer(4000, true, [&] { ++fired; });
    rt.pumpOnce();
    EXPECT_EQ(rt.nowMs(), 0);
    rt.pumpWait();
    EXPECT_EQ(rt.nowMs(), 4000);
    EXPECT_EQ(fired, 1);
    rt.sleep(9000); // two periods pass while blocked ...
    EXPECT_EQ(fired, 1);
    rt.pumpOnce(); // ... and give one late tick, not two
    EXPECT_EQ(fired, 2);
    bool posted = false;
    rt.post(5, [&] { posted = true; });
    EXPECT_TRUE(rt.runUntil([&] { return posted; }, 10));
}

TEST(PortNames, TableAndPerUserAlias) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(portAliasDir(), dir.path() + "/sonmira/ports");
    EXPECT_EQ(systemPortFor("COM1"), "/dev/ttyS0");
    EXPECT_EQ(systemPortFor("COM4"), "/dev/ttyS3");
    EXPECT_EQ(systemPortFor("COM5"), "/dev/ttyUSB0");
    EXPECT_EQ(systemPortFor("COM9"), "/dev/ttyACM0");
    EXPECT_EQ(systemPortFor("COM12"), "/dev/ttyACM3");
    EXPECT_EQ(systemPortFor("COM13"), "");
    EXPECT_EQ(systemPortFor("COM0"), "");
    EXPECT_EQ(systemPortFor("LPT1"), "");

    QDir().mkpath(portAliasDir());
    ASSERT_TRUE(QFile::link("/dev/pts/999", portAliasDir() + "/COM3")); // dangling
    ASSERT_TRUE(QFile::link("/dev/null", portAliasDir() + "/COM20"));
    EXPECT_EQ(systemPortFor("COM3"), portAliasDir() + "/COM3");
    EXPECT_EQ(systemPortFor("COM20"), portAliasDir() + "/COM20");
    // A dangling alias names an absent port: opening it fails without falling
    // back to the table.
    QtSerialPorts ports;
    EXPECT_EQ(ports.open("COM3"), nullptr);
    if (saved.isNull()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", saved);
}

// The import checks the name itself, so the open dialog must hand back a
// typed name of a file that does not exist instead of refusing it.
TEST(QtDesktop, OpenDialogReturnsATypedNameThatDoesNotExist) {
    sonmira::test::ensureApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    bool refused = false;
    QTimer user; // works the modal dialog from inside its own event loop
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            refused = true;
            box->done(0);
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (refused) return dialog->reject();
            dialog->selectFile(QStringLiteral("Missing.ZSP"));
            // As the Open button does; queued, so that this timer goes on ticking.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    user.start(10);
    const QString path = QtDesktop().openFileName(
        {nullptr, QStringLiteral("View profile"), QStringLiteral("Sound Profile (*.ZSP)"), dir.path(), false});
    EXPECT_FALSE(refused);
    EXPECT_EQ(path, dir.filePath(QStringLiteral("Missing.ZSP")));
}

// Profiles made elsewhere, or saved here under a typed ".zsp", may end in any
// letter case. A desktop's native dialog (GTK) would list "*.ZSP" in upper
// case only, so both dialogs are the toolkit's own, matching in any case.
TEST(QtDesktop, ProfileDialogsListProfilesInAnyLetterCase) {
    sonmira::test::ensureApp();
    for (auto show : {&QtDesktop::openFileName, &QtDesktop::saveFileName}) {
        bool seen = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = true;
            EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_FALSE(dialog->filter().testFlag(QDir::CaseSensitive));
            EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Sound Profile (*.ZSP)")});
            dialog->reject();
        });
        user.start(10);
        QtDesktop desktop;
        (desktop.*show)({nullptr, QStringLiteral("Profile"), QStringLiteral("Sound Profile (*.ZSP)"), QString(), false});
        EXPECT_TRUE(seen);
    }
}

// A pseudo-terminal reached as COM1 through a private alias folder; the test
// holds the terminal's far end (master) and a descriptor of its own on the port.
class QtSerialOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        sonmira::test::ensureApp();
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        char name[128] = {};
        ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        QDir().mkpath(portAliasDir());
        ASSERT_TRUE(QFile::link(QString::fromLocal8Bit(name), portAliasDir() + "/COM1"));
    }
    void TearDown() override {
        if (slave >= 0) close(slave);
        if (master >= 0) close(master);
        if (saved.isNull()) qunsetenv("XDG_CONFIG_HOME");
        else qputenv("XDG_CONFIG_HOME", saved);
    }

    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    int master = -1, slave = -1;
    QtSerialPorts ports;
};

TEST_F(QtSerialOnPty, OpeningKeepsTheDriversFlowControl) {
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    t.c_cflag |= CRTSCTS;
    ASSERT_EQ(tcsetattr(slave, TCSANOW, &t), 0);
    auto dev = ports.open("COM1");
    ASSERT_NE(dev, nullptr);
    ASSERT_TRUE(dev->configure(9600, 8));
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
}

// IXON alone is every fresh terminal's default, not flow control anyone chose:
// taken as such, the terminal would swallow 0x11 and 0x13, real parameter values.
TEST_F(QtSerialOnPty, IxonAloneIsNoFlowControlSoXonAndXoffBytesArrive) {
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    t.c_iflag = (t.c_iflag | IXON) & ~IXOFF;
    ASSERT_EQ(tcsetattr(slave, TCSANOW, &t), 0);
    auto dev = ports.open("COM1");
    ASSERT_NE(dev, nullptr);
    ASSERT_TRUE(dev->configure(9600, 8));
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    const std::uint8_t reply[] = {0x11, 0x13, 0x42};
    ASSERT_EQ(write(master, reply, sizeof reply), static_cast<ssize_t>(sizeof reply));
    QElapsedTimer waited;
    waited.start();
    pollfd ready{slave, POLLIN, 0};
    while (dev->bytesWaiting() < 3 && waited.elapsed() < 2000) poll(&ready, 1, 20);
    std::uint8_t got[8] = {};
    ASSERT_EQ(dev->read(got, sizeof got), 3);
    EXPECT_TRUE(std::equal(reply, reply + 3, got));
}

// 20,000 bytes arrive while nobody polls: the oldest 4096 wait, the rest is lost.
TEST_F(QtSerialOnPty, NoiseBeyondTheReceiveQueueIsLost) {
    auto dev = ports.open("COM1");
    ASSERT_NE(dev, nullptr);
    ASSERT_TRUE(dev->configure(9600, 8));
    std::vector<std::uint8_t> sent(20000);
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<std::uint8_t>(i * 7 % 251);
    std::size_t off = 0;
    QElapsedTimer t;
    t.start();
    while (off < sent.size() && t.elapsed() < 5000) {
        const auto n = write(master, sent.data() + off, sent.size() - off);
        if (n > 0) off += static_cast<std::size_t>(n);
        dev->bytesWaiting(); // the terminal's buffer is small: keep it flowing
    }
    ASSERT_EQ(off, sent.size());
    for (int i = 0; i < 50; ++i) { // what is still in the terminal arrives
        dev->bytesWaiting();
        QThread::msleep(2);
    }
    EXPECT_EQ(dev->bytesWaiting(), 4096);
    std::vector<std::uint8_t> got(sent.size());
    ASSERT_EQ(dev->read(got.data(), static_cast<int>(got.size())), 4096);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 4096, sent.begin()));
}

} // namespace
