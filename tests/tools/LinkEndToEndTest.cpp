// The command link end to end: DeviceLink on Qt's event loop and serial port,
// talking to sonmira-unit-sim over a real pseudo-terminal reached as COM1.
#include "LinkTestHost.h"
#include "SimProcess.h"
#include "TestSupport.h"
#include "link/DeviceLink.h"
#include "platform/Desktop.h"
#include "platform/QtRuntime.h"
#include "platform/QtSerial.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

using namespace sonmira;
using namespace sonmira::link;

namespace {

class LinkEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { test::ensureApp(); }

    // Starts the unit with these options and a link that has found it.
    void startConnected(const QStringList& options = {}) {
        ASSERT_TRUE(sim.start(options)) << sim.error().toStdString();
        log.CommLogOn = true;
        dev = std::make_unique<DeviceLink>(rt, ports, desktop, log, host);
        ASSERT_TRUE(dev->ConnectTarget()) << sim.diagnostics().toStdString();
    }
    bool pumpUntil(const std::function<bool()>& pred, int ms) {
        QElapsedTimer t;
        t.start();
        while (!pred() && t.elapsed() < ms) rt.pumpWait();
        return pred();
    }
    std::optional<std::uint8_t> read(std::uint8_t group, std::uint8_t row, std::uint8_t addr) {
        if (!dev->SendCommand(true, 1, CmdRead, group, row, addr, 0, false)) return std::nullopt;
        return dev->ReplyData[0];
    }
    bool write(int cmd, std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t value) {
        return dev->SendCommand(false, 0, cmd, group, row, addr, value, false);
    }

    unitsim::SimProcess sim;
    platform::QtRuntime rt;
    platform::QtSerialPorts ports;
    platform::RecordingDesktop desktop;
    TrafficLog log;
    test::LinkTestHost host;
    std::unique_ptr<DeviceLink> dev;
};

} // namespace

TEST_F(LinkEndToEnd, FindsTheUnitOnCom1ThroughItsAlias) {
    startConnected();
    EXPECT_TRUE(dev->Connected);
    EXPECT_EQ(host.status, dev->texts().connected);
    EXPECT_EQ(host.syncs, 1);
    EXPECT_TRUE(log.CommLog.contains(QStringLiteral("Send: CD,E2,00,00,00,6E\r\nRecv: 6E")));
    EXPECT_EQ(platform::systemPortFor(QStringLiteral("COM1")), sim.aliasDir() + QStringLiteral("/COM1"));
    EXPECT_TRUE(QFileInfo(platform::systemPortFor(QStringLiteral("COM7"))).symLinkTarget().contains(
        QStringLiteral("absent")));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(LinkEndToEnd, AnotherModelIsTurnedDown) {
    ASSERT_TRUE(sim.start({QStringLiteral("--model"), QStringLiteral("0x00")})) << sim.error().toStdString();
    log.CommLogOn = true;
    dev = std::make_unique<DeviceLink>(rt, ports, desktop, log, host);
    EXPECT_FALSE(dev->ConnectTarget());
    EXPECT_FALSE(dev->Connected);
    EXPECT_FALSE(dev->port().IsOpen());
    EXPECT_TRUE(log.CommLog.contains(QStringLiteral("Recv: 00")));
    EXPECT_EQ(host.status, dev->texts().notConnected); // after COM2..COM12 found nothing
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(LinkEndToEnd, WritesAndReadsReachTheUnit) {
    startConnected();
    EXPECT_EQ(read(GroupMusic, 0, 29), 1);
    EXPECT_TRUE(write(CmdWriteLive, GroupMusic, 0, 29, 5));
    EXPECT_EQ(read(GroupMusic, 0, 29), 5);
    EXPECT_TRUE(write(CmdWriteBulk, GroupEffect, 21, 199, 77));
    EXPECT_TRUE(write(CmdWriteBulk, GroupLevelMax, 0, 2, 64));
    EXPECT_TRUE(write(CmdCommit, 0, 0, 0, 0));
    EXPECT_EQ(read(GroupEffect, 21, 199), 77);
    EXPECT_EQ(read(GroupLevelMax, 0, 2), 64);
    ASSERT_TRUE(dev->SendCommand(true, 1, CmdWriteLive, GroupKey, 0, 0, 9, false));
    EXPECT_EQ(dev->ReplyData[0], Acknowledge);

    // The unit outlives the program closing and reopening its port.
    dev->ClosePort();
    dev->Connected = false;
    ASSERT_TRUE(dev->ConnectTarget());
    EXPECT_EQ(read(GroupMusic, 0, 29), 5);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(LinkEndToEnd, HeartbeatIsEchoed) {
    startConnected();
    dev->Timer3_Timer(); // the 5 s heartbeat, now
    EXPECT_TRUE(dev->timer4().enabled());
    EXPECT_TRUE(pumpUntil([&] { return !dev->timer4().enabled(); }, 1000));
    EXPECT_TRUE(log.CommLog.endsWith(QStringLiteral("Send: FC\r\nRecv: FC")));
    EXPECT_TRUE(dev->Connected);
}

TEST_F(LinkEndToEnd, UnitFallingSilentMidCommandDropsTheLink) {
    startConnected({QStringLiteral("--stop-after"), QStringLiteral("2")});
    EXPECT_TRUE(write(CmdWriteLive, GroupMute, 0, 0, 1));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(read(GroupMute, 0, 0));
    EXPECT_GE(t.elapsed(), DeviceLink::ReplyWaitMs);
    EXPECT_LT(t.elapsed(), DeviceLink::ReplyWaitMs + 1000);
    EXPECT_FALSE(dev->Connected);
    EXPECT_FALSE(dev->port().IsOpen());
    EXPECT_EQ(host.status, dev->texts().notConnected);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].style, platform::MsgStyle::Exclamation);
    EXPECT_EQ(desktop.messages[0].text, dev->texts().timeoutMessage);
}

// The unit's program ends and its terminal hangs up. The dead port is left
// alone meanwhile, and the heartbeat's watchdog reports the loss once.
TEST_F(LinkEndToEnd, UnitGoneLeavesTheEventLoopQuietUntilTheWatchdogReportsIt) {
    startConnected();
    sim.stop();
    dev->Timer3_Timer(); // a heartbeat nobody echoes
    int wakeups = 0;
    const auto counting = QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                                           [&] { ++wakeups; });
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 500) rt.pumpWait();
    QObject::disconnect(counting);
    // The 15 ms poll wakes it some 35 times; reading a hung-up port, without end.
    EXPECT_LT(wakeups, 500);
    EXPECT_TRUE(dev->Connected);
    EXPECT_TRUE(pumpUntil([&] { return !dev->Connected; }, 5000));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, dev->texts().timeoutMessage);
}

TEST_F(LinkEndToEnd, NoiseFromTheLineAndGarbageToTheUnitAreSurvived) {
    // Right behind its model answer the unit sends 5000 bytes of noise at full
    // speed, special bytes included.
    startConnected({QStringLiteral("--no-pacing"), QStringLiteral("--flood-after"), QStringLiteral("1"),
                    QStringLiteral("--flood-bytes"), QStringLiteral("5000")});
    log.CommLogOn = false;
    // A command in the middle of the noise ends one way or the other, and soon.
    QElapsedTimer t;
    t.start();
    write(CmdWriteLive, GroupInput, 0, 0, 2);
    EXPECT_LT(t.elapsed(), DeviceLink::ReplyWaitMs + 1000);
    // The poll takes 100 bytes a tick: the noise drains in well under 2 s.
    int quiet = 0;
    EXPECT_TRUE(pumpUntil(
        [&] {
            quiet = dev->port().InQueueCount == 0 ? quiet + 1 : 0;
            return quiet > 20;
        },
        3000));
    if (!dev->Connected) { // the noise may have held back the answer
        ASSERT_TRUE(dev->ConnectTarget());
    }
    // Garbage to the unit, then real commands: the unit finds its feet again.
    const std::vector<std::uint8_t> junk{0x00, 0xCD, 0x77, 0x12, 0xFF, 0xCD, 0xCD, 0x01};
    dev->port().Write(junk.data(), static_cast<int>(junk.size()));
    EXPECT_TRUE(write(CmdWriteLive, GroupInput, 0, 0, 2));
    EXPECT_EQ(read(GroupInput, 0, 0), 2);
    EXPECT_EQ(read(GroupLevelMin, 0, 1), 30);
    EXPECT_TRUE(dev->Connected);
}

TEST_F(LinkEndToEnd, UnitProgramEndsCleanlyOnSigterm) {
    const QString linkPath = sim.workDir() + QStringLiteral("/unit");
    ASSERT_TRUE(sim.start({QStringLiteral("--link"), linkPath})) << sim.error().toStdString();
    EXPECT_EQ(QFileInfo(linkPath).symLinkTarget(), sim.terminalPath());
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(QFileInfo(linkPath).isSymLink());

    QProcess help;
    help.start(unitsim::SimProcess::program(), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(5000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("--stop-after"));
    QProcess wrong;
    wrong.start(unitsim::SimProcess::program(), {QStringLiteral("--delay"), QStringLiteral("soon")});
    ASSERT_TRUE(wrong.waitForFinished(5000));
    EXPECT_EQ(wrong.exitCode(), 2);
}
