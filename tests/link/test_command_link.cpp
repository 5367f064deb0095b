// The one-command transaction on virtual time: replies, time-outs, the long
// wait, progress counting, the reply buffer and the traffic log.
#include "LinkFixture.h"

using namespace sonmira;
using namespace sonmira::test;
using Packet = ScriptedUnit::Packet;

namespace {

class CommandLinkTest : public LinkFixture {};

TEST_F(CommandLinkTest, WriteWaitsForAcknowledgeAndIgnoresStrayData) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return Packet{0x10, 0x33}; };
    connectTo(1);
    const auto t0 = rt.nowMs();
    EXPECT_TRUE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMic, 2, 0x15, 40, false));
    EXPECT_LT(rt.nowMs() - t0, 100);
    ASSERT_EQ(unit.received.size(), 1u);
    EXPECT_EQ(unit.received[0], (Packet{0xCD, 0x02, 0x01, 2, 0x15, 40}));

    // Only stray data: the wait runs into the time-out.
    unit.answer = [](const Packet&) { return Packet{0x10}; };
    EXPECT_FALSE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMic, 2, 0x15, 41, false));
}

TEST_F(CommandLinkTest, ReadTakesAcknowledgeByteAsData) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return Packet{0x33}; };
    connectTo(1);
    EXPECT_TRUE(link->SendCommand(true, 1, link::CmdRead, link::GroupMusic, 0, 0x01, 0, false));
    EXPECT_EQ(link->ReplyData[0], 0x33);
    EXPECT_EQ(link->ReplyCount, 1);
}

TEST_F(CommandLinkTest, HeartbeatEchoAndSelectorResetNeverCompleteAReply) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return Packet{0xFE, 0xFC, 0x42}; };
    connectTo(1);
    link->timer4().setEnabled(true);
    EXPECT_TRUE(link->SendCommand(true, 1, link::CmdRead, link::GroupMute, 0, 0, 0, false));
    EXPECT_EQ(link->ReplyData[0], 0x42);
    EXPECT_EQ(host.keyResets, 1);
    EXPECT_FALSE(link->timer4().enabled());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(CommandLinkTest, TimeoutOutsideScanDropsLinkOnce) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return std::nullopt; };
    connectTo(1);
    // The box comes after the status text and before the link goes down.
    QString statusAtBox;
    bool connectedAtBox = false, openAtBox = false;
    desktop.onMessage = [&](const platform::RecordingDesktop::Shown&) {
        statusAtBox = host.status();
        connectedAtBox = link->Connected;
        openAtBox = link->port().IsOpen();
    };
    const auto t0 = rt.nowMs();
    EXPECT_FALSE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 5, false));
    EXPECT_EQ(statusAtBox, QStringLiteral("Not connected"));
    EXPECT_TRUE(connectedAtBox);
    EXPECT_TRUE(openAtBox);
    EXPECT_GE(rt.nowMs() - t0, 4000);
    EXPECT_LT(rt.nowMs() - t0, 4100);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].style, platform::MsgStyle::Exclamation);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("Target communication and connection timeout, disconnected."));
    EXPECT_EQ(host.status(), QStringLiteral("Not connected"));
    EXPECT_FALSE(link->Connected);
    EXPECT_FALSE(link->port().IsOpen());
    EXPECT_FALSE(lineOf(unit).open);
}

TEST_F(CommandLinkTest, WatchdogDuringAWaitGivesOneMessage) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return std::nullopt; };
    connectTo(1);
    link->timer4().setEnabled(true); // a heartbeat went out just before
    EXPECT_FALSE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 5, false));
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_FALSE(link->Connected);
    EXPECT_FALSE(link->port().IsOpen());
}

TEST_F(CommandLinkTest, TimeoutWhileProbingIsSilentAndShort) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return std::nullopt; };
    ASSERT_TRUE(link->port().OpenPort(QStringLiteral("1")));
    link->Probing = true;
    const auto t0 = rt.nowMs();
    EXPECT_FALSE(link->SendCommand(true, 1, link::CmdModelQuery, 0, 0, 0, 0x6E, false));
    EXPECT_GE(rt.nowMs() - t0, 700);
    EXPECT_LT(rt.nowMs() - t0, 800);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(host.statusHistory.empty());
    EXPECT_TRUE(link->port().IsOpen());
}

TEST_F(CommandLinkTest, LongWaitPausesOnlyForValueZero) {
    auto& unit = unitOn(1);
    connectTo(1);
    // The unit answers 5 s later: within 1500 + 4000 ms for value 0 ...
    unit.delayMs = 5000;
    auto t0 = rt.nowMs();
    EXPECT_TRUE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMute, 0, 0, 0, true));
    EXPECT_GE(rt.nowMs() - t0, 5000);
    // ... but not for value 1, where the long wait has no effect.
    t0 = rt.nowMs();
    EXPECT_FALSE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMute, 0, 0, 1, true));
    EXPECT_LT(rt.nowMs() - t0, 4100);
}

// A reply read in the one pass before the long pause ends the command; the
// time-out must not stay armed and cut short the next command's wait.
TEST_F(CommandLinkTest, ReplyBeforeTheLongPauseLeavesNoTimeoutRunning) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return std::nullopt; };
    connectTo(1);
    lineOf(unit).deliver({0x33});
    rt.sleep(20); // the receive poll is due in the next pass
    EXPECT_TRUE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMute, 0, 0, 0, true));
    EXPECT_FALSE(link->timeOuter().enabled());
    rt.advance(2000);
    unit.answer = ScriptedUnit::healthy;
    unit.delayMs = 3000;
    EXPECT_TRUE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 1, false));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(link->Connected);
}

TEST_F(CommandLinkTest, ProgressCountsEveryFifthPacketAndTheLast) {
    unitOn(1);
    connectTo(1);
    link->beginProgress(212);
    for (int i = 0; i < 212; ++i)
        ASSERT_TRUE(link->SendCommand(false, 0, link::CmdWriteBulk, link::GroupMusic, 0, 1, 1, false));
    link->endProgress();
    ASSERT_EQ(progress.values.size(), 43u); // 42 multiples of 5, then the last
    EXPECT_EQ(progress.values.front(), 2);  // 500 \ 212
    EXPECT_EQ(progress.values[41], 99);     // packet 210
    EXPECT_EQ(progress.values.back(), 100); // packet 212

    progress.values.clear();
    link->beginProgress(42);
    for (int i = 0; i < 42; ++i)
        ASSERT_TRUE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 1, false));
    link->endProgress();
    EXPECT_EQ(progress.values.front(), 11);
    EXPECT_EQ(progress.values[7], 95); // packet 40
    EXPECT_EQ(progress.values.back(), 100);

    // Without a progress run nothing is counted.
    progress.values.clear();
    ASSERT_TRUE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 1, false));
    EXPECT_TRUE(progress.values.empty());
}

TEST_F(CommandLinkTest, ReplyBufferWrapsTo1000AfterFiveThousandBytes) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return Packet{0x07}; };
    connectTo(1);
    ASSERT_TRUE(link->SendCommand(true, 1, link::CmdRead, link::GroupLock, 0, 0, 0, false));
    // ExpectData stays set: everything that follows goes on into ReplyData.
    auto& line = lineOf(unit);
    for (int i = 1; i < 5000; ++i) {
        line.deliver({static_cast<std::uint8_t>(i % 200)});
        if (i % 1000 == 0) rt.advance(200); // as fast as the poll takes them
    }
    rt.advance(2000);
    EXPECT_EQ(link->ReplyCount, 5000);
    line.deliver({0xAB});
    rt.advance(50);
    EXPECT_EQ(link->ReplyCount, 1001);
    EXPECT_EQ(link->ReplyData[1000], 0xAB);
    EXPECT_EQ(link->ReplyData[0], 0x07);
}

TEST_F(CommandLinkTest, ReceivePollTakesAtMostOneHundredBytesPerTick) {
    auto& unit = unitOn(1);
    connectTo(1);
    auto& line = lineOf(unit);
    line.deliver(std::vector<std::uint8_t>(250, 0x10));
    link->Timer2_Timer();
    EXPECT_EQ(link->port().InQueueCount, 100);
    EXPECT_EQ(line.rx.size(), 150u);
    link->Timer2_Timer();
    link->Timer2_Timer();
    EXPECT_EQ(line.rx.size(), 0u);
    link->Timer2_Timer();
    EXPECT_EQ(link->port().InQueueCount, 0);
}

// Noise far faster than the poll takes it: the driver queue holds 4096 bytes
// and loses the rest, so a second later a read gets the unit's own answer.
TEST_F(CommandLinkTest, NoiseBurstIsCutToTheReceiveQueue) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return Packet{0x42}; };
    connectTo(1);
    auto& line = lineOf(unit);
    std::size_t most = 0;
    for (int ms = 0; ms < 50; ++ms) { // 50,000 bytes in 50 ms
        std::vector<std::uint8_t> noise(1000);
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(0x10 + i % 32);
        line.deliver(noise);
        most = std::max(most, line.rx.size());
        rt.advance(1);
    }
    rt.advance(1000);
    ASSERT_TRUE(link->SendCommand(true, 1, link::CmdRead, link::GroupMusic, 0, 1, 0, false));
    EXPECT_EQ(link->ReplyData[0], 0x42);
    EXPECT_LE(most, 4096u);
}

TEST_F(CommandLinkTest, TrafficLogOnlyWhileWindowIsLoaded) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet& p) { return p.size() == 1 ? Packet{0xFC} : Packet{0x6E}; };
    connectTo(1);
    log.CommLog = QStringLiteral("hint");
    ASSERT_TRUE(link->SendCommand(true, 1, link::CmdModelQuery, 0, 0, 0, 0x6E, false));
    link->SendSyncByte();
    rt.advance(50);
    EXPECT_EQ(log.CommLog, QStringLiteral("hint"));

    log.CommLogOn = true;
    ASSERT_TRUE(link->SendCommand(true, 1, link::CmdModelQuery, 0, 0, 0, 0x6E, false));
    link->SendSyncByte();
    rt.advance(50);
    EXPECT_EQ(log.CommLog, QStringLiteral("hint\r\nSend: CD,E2,00,00,00,6E\r\nRecv: 6E\r\nSend: FC\r\nRecv: FC"));
}

TEST(CommandLinkSkin, ChineseWording) {
    platform::VirtualRuntime rt;
    platform::VirtualSerialPorts ports;
    platform::RecordingDesktop desktop;
    link::TrafficLog log;
    log.CommLogOn = true;
    RecordingHost host;
    link::DeviceLink l(rt, ports, desktop, log, host, link::Skin::Small);
    l.Connected = true;
    EXPECT_FALSE(l.SendCommand(false, 0, link::CmdWriteLive, link::GroupExciter, 0, 0, 1, false));
    l.SendSyncByte();
    EXPECT_EQ(log.CommLog, QStringLiteral(u"\r\n发送: CD,02,0A,00,00,01\r\n发送: FC 同步字"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral(u"与目标通信连接超时，已断开连接。"));
    EXPECT_EQ(host.status(), QStringLiteral(u"未连接"));
}

// A command started from inside another's reply wait goes out only after the
// first has its reply, and each caller sees its own reply.
TEST_F(CommandLinkTest, NestedCommandIsSerialisedAndKeepsBothReplies) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet& p) -> std::optional<Packet> {
        if (p[1] == link::CmdRead) return Packet{static_cast<std::uint8_t>(p[4] + 1)};
        return Packet{0x33};
    };
    unit.delayMs = 30;
    connectTo(1);
    bool innerOk = false;
    std::uint8_t innerByte = 0;
    rt.post(10, [&] {
        innerOk = link->SendCommand(true, 1, link::CmdRead, link::GroupMic, 0, 0x20, 0, false);
        innerByte = link->ReplyData[0];
    });
    ASSERT_TRUE(link->SendCommand(true, 1, link::CmdRead, link::GroupMusic, 0, 0x10, 0, false));
    EXPECT_EQ(link->ReplyData[0], 0x11);
    EXPECT_TRUE(innerOk);
    EXPECT_EQ(innerByte, 0x21);
    ASSERT_EQ(unit.received.size(), 2u);
    EXPECT_EQ(unit.received[0][4], 0x10);
    EXPECT_EQ(unit.received[1][4], 0x20);
}

TEST_F(CommandLinkTest, NestedCommandAfterATimeoutSendsNothing) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return std::nullopt; };
    connectTo(1);
    bool innerOk = true;
    rt.post(10, [&] { innerOk = link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMic, 0, 1, 1, false); });
    EXPECT_FALSE(link->SendCommand(false, 0, link::CmdWriteLive, link::GroupMusic, 0, 1, 1, false));
    EXPECT_FALSE(innerOk);
    EXPECT_EQ(unit.received.size(), 1u);
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(CommandLinkTest, DeviceVanishingMidCommandEndsInTheTimeout) {
    auto& unit = unitOn(1);
    unit.answer = [](const Packet&) { return std::nullopt; };
    connectTo(1);
    auto& line = lineOf(unit);
    rt.post(100, [&] { ports.detach(QStringLiteral("COM1")); line.rx.clear(); });
    EXPECT_FALSE(link->SendCommand(true, 1, link::CmdRead, link::GroupMusic, 0, 1, 0, false));
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_FALSE(link->Connected);
    // Closing again (watchdog after a time-out) is harmless.
    link->ClosePort();
    link->ClosePort();
}

} // namespace
