// The port scan, the connect timer, the heartbeat and its watchdog, on
// virtual time with scripted units.
#include "LinkFixture.h"

using namespace sonmira;
using namespace sonmira::test;
using Packet = ScriptedUnit::Packet;

namespace {

class SupervisionTest : public LinkFixture {
protected:
    // Starts the connect timer as the window's loading does and runs until
    // the first scan has ended.
    void scanOnce() {
        link->startConnecting();
        rt.runUntil([&] { return link->commConnect().interval() == 2000 && link->commConnect().enabled(); }, 60000);
    }
    // Connects, lets a heartbeat be echoed, then the unit falls silent 1.5 s
    // later and a live write waits in vain, over the next heartbeat.
    void loseACommandOverAHeartbeat(ScriptedUnit& unit) {
        scanOnce();
        ASSERT_TRUE(link->Connected);
        ASSERT_TRUE(rt.runUntil([&] { return !unit.received.empty() && unit.received.back() == Packet{0xFC}; }, 6000));
        rt.advance(1500);
        ASSERT_FALSE(link->timer4().enabled());
        unit.answer = [](const Packet&) { return std::nullopt; };
        EXPECT_FALSE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 5, false));
        ASSERT_EQ(unit.received.back(), Packet{0xFC}); // sent during the wait
        ASSERT_EQ(desktop.messages.size(), 1u);
    }
};

TEST_F(SupervisionTest, FindsUnitBehindAbsentAndSilentPorts) {
    auto& silent = unitOn(2);
    silent.answer = [](const Packet&) { return std::nullopt; };
    unitOn(3);
    link->startConnecting();
    rt.advance(99);
    EXPECT_TRUE(ports.opened.empty()); // the first tick comes 100 ms after enabling
    rt.advance(1);
    ASSERT_TRUE(link->Connected);
    EXPECT_EQ(ports.opened, (std::vector<QString>{"COM1", "COM2", "COM3"}));
    EXPECT_GE(rt.nowMs(), 100 + 700);
    EXPECT_LT(rt.nowMs(), 100 + 700 + 100);
    EXPECT_EQ(host.status(), QStringLiteral("Successful connection"));
    EXPECT_EQ(host.syncCalls, 1);
    EXPECT_FALSE(link->Probing);
    EXPECT_TRUE(link->timer3().enabled());
    EXPECT_FALSE(lineOf(silent).open);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SupervisionTest, SynchronisationRunsWithTheLongTimeout) {
    auto& unit = unitOn(1);
    int syncWait = 0;
    host.onSync = [&] {
        unit.answer = [](const Packet&) { return std::nullopt; };
        const auto t0 = rt.nowMs();
        link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 1, false);
        syncWait = static_cast<int>(rt.nowMs() - t0);
    };
    scanOnce();
    EXPECT_GE(syncWait, 4000);
    EXPECT_FALSE(link->Connected); // the time-out path dropped it
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(SupervisionTest, WrongModelIsReportedAndSkipped) {
    auto& wrong = unitOn(1);
    wrong.answer = [](const Packet& p) { return p.size() == 1 ? Packet{0xFC} : Packet{0x00}; };
    scanOnce();
    EXPECT_FALSE(link->Connected);
    ASSERT_GE(host.statusHistory.size(), 2u);
    EXPECT_EQ(host.statusHistory[0], QStringLiteral("Type Mismatch"));
    EXPECT_EQ(host.status(), QStringLiteral("Not connected"));
    EXPECT_EQ(ports.opened.size(), 12u);
    EXPECT_EQ(ports.opened.back(), QStringLiteral("COM12"));
    EXPECT_FALSE(lineOf(wrong).open);
    // The first tick at 100 ms, the reply, then the 1000 ms pause.
    EXPECT_GE(rt.nowMs(), 1100);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SupervisionTest, LowerPortWins) {
    auto& low = unitOn(4);
    auto& high = unitOn(9);
    scanOnce();
    EXPECT_TRUE(link->Connected);
    EXPECT_TRUE(lineOf(low).open);
    EXPECT_FALSE(lineOf(high).open);
    EXPECT_TRUE(high.received.empty());
}

TEST_F(SupervisionTest, RescansEveryTwoSecondsAfterEachScanAndIdlesWhileConnected) {
    scanOnce(); // nothing anywhere
    EXPECT_EQ(ports.openCalls, 12);
    const auto endOfFirst = rt.nowMs();
    rt.advance(1999);
    EXPECT_EQ(ports.openCalls, 12);
    rt.advance(1);
    EXPECT_EQ(ports.openCalls, 24);
    EXPECT_EQ(rt.nowMs(), endOfFirst + 2000);

    unitOn(1);
    rt.advance(2000);
    ASSERT_TRUE(link->Connected);
    const int calls = ports.openCalls;
    rt.advance(20000);
    EXPECT_EQ(ports.openCalls, calls);
}

TEST_F(SupervisionTest, EchoedHeartbeatKeepsTheLinkForMinutes) {
    auto& unit = unitOn(1);
    scanOnce();
    ASSERT_TRUE(link->Connected);
    unit.received.clear();
    rt.advance(10 * 60 * 1000);
    EXPECT_TRUE(link->Connected);
    EXPECT_TRUE(desktop.messages.empty());
    // A heartbeat every 5 s, each a lone 0xFC.
    EXPECT_GE(unit.received.size(), 119u);
    EXPECT_LE(unit.received.size(), 121u);
    for (const auto& p : unit.received) EXPECT_EQ(p, Packet{0xFC});
}

TEST_F(SupervisionTest, MissingEchoDropsTheLinkAndTheNextScanReconnects) {
    auto& unit = unitOn(1);
    scanOnce();
    ASSERT_TRUE(link->Connected);
    rt.advance(5000); // one echoed heartbeat
    ASSERT_TRUE(link->Connected);

    unit.answer = [](const Packet&) { return std::nullopt; };
    // Here the link is down before the box shows.
    bool connectedAtBox = true, openAtBox = true, watchdogAtBox = true;
    QString statusAtBox;
    desktop.onMessage = [&](const platform::RecordingDesktop::Shown&) {
        connectedAtBox = link->Connected;
        openAtBox = link->port().IsOpen();
        watchdogAtBox = link->timer4().enabled();
        statusAtBox = host.status();
    };
    const auto t0 = rt.nowMs();
    rt.runUntil([&] { return !link->Connected; }, 20000);
    ASSERT_FALSE(link->Connected);
    EXPECT_FALSE(connectedAtBox);
    EXPECT_FALSE(openAtBox);
    EXPECT_FALSE(watchdogAtBox);
    EXPECT_EQ(statusAtBox, QStringLiteral("Not connected"));
    EXPECT_TRUE(link->timer3().enabled()); // the heartbeat timer runs on
    // The next heartbeat came within 5 s, the watchdog 4 s after it.
    EXPECT_LE(rt.nowMs() - t0, 9000);
    EXPECT_EQ(host.status(), QStringLiteral("Not connected"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("Target communication and connection timeout, disconnected."));
    EXPECT_FALSE(lineOf(unit).open);

    // The unit answers again: a later connect tick finds it.
    unit.answer = ScriptedUnit::healthy;
    rt.runUntil([&] { return link->Connected; }, 10000);
    EXPECT_TRUE(link->Connected);
    EXPECT_EQ(host.status(), QStringLiteral("Successful connection"));
}

// A heartbeat sent during the lost command's wait leaves no watchdog behind.
TEST_F(SupervisionTest, TimeoutOverAHeartbeatGivesOneMessage) {
    auto& unit = unitOn(1);
    loseACommandOverAHeartbeat(unit);
    rt.advance(10000);
    EXPECT_FALSE(link->Connected);
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(SupervisionTest, LinkMadeAfterATimeoutOutlivesTheOldWatchdog) {
    auto& unit = unitOn(1);
    loseACommandOverAHeartbeat(unit);
    unit.answer = ScriptedUnit::healthy;
    rt.advance(10000); // the reconnect, and past the moment the old watchdog was due
    EXPECT_TRUE(link->Connected);
    EXPECT_EQ(host.syncCalls, 2); // connected twice, dropped once
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(SupervisionTest, TimeoutBoxLeftOpenSendsNoHeartbeat) {
    auto& unit = unitOn(1);
    std::size_t sentWhileOpen = 0;
    desktop.onMessage = [&](const platform::RecordingDesktop::Shown&) {
        if (desktop.messages.size() > 1) return;
        const auto before = unit.received.size();
        rt.advance(10000); // the user leaves the box up; timers run under it
        sentWhileOpen = unit.received.size() - before;
    };
    loseACommandOverAHeartbeat(unit);
    EXPECT_EQ(sentWhileOpen, 0u);
    rt.advance(10000);
    EXPECT_EQ(desktop.messages.size(), 1u);
}

} // namespace
