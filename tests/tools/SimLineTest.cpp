// The simulated unit on a virtual line, driven by the real DeviceLink in
// virtual time: what the settings and link tests build on.
#include "LinkTestHost.h"
#include "SimLine.h"
#include "platform/Desktop.h"
#include "platform/VirtualRuntime.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace sonmira;
using namespace sonmira::link;
using unitsim::SimLine;
using unitsim::UnitFaults;

namespace {

class SimLineTest : public ::testing::Test {
protected:
    void start(UnitFaults faults = {}) {
        ports.attach(QStringLiteral("COM1"), &line);
        unit.emplace(rt, line, faults);
        dev = std::make_unique<DeviceLink>(rt, ports, desktop, log, host);
    }
    bool connect() { return dev->ConnectTarget(); }
    std::optional<std::uint8_t> read(std::uint8_t group, std::uint8_t row, std::uint8_t addr) {
        if (!dev->SendCommand(true, 1, CmdRead, group, row, addr, 0, false)) return std::nullopt;
        return dev->ReplyData[0];
    }
    bool write(std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t value) {
        return dev->SendCommand(false, 0, CmdWriteLive, group, row, addr, value, false);
    }

    platform::VirtualRuntime rt;
    platform::VirtualSerialPorts ports;
    platform::VirtualLine line;
    platform::RecordingDesktop desktop;
    TrafficLog log;
    test::LinkTestHost host;
    std::optional<SimLine> unit;
    std::unique_ptr<DeviceLink> dev;
};

} // namespace

TEST_F(SimLineTest, LinkFindsTheUnitReadsAndWrites) {
    start();
    ASSERT_TRUE(connect());
    EXPECT_TRUE(dev->Connected);
    EXPECT_EQ(host.syncs, 1);
    EXPECT_EQ(line.baud, 9600);
    EXPECT_EQ(read(GroupMusic, 0, 29), 1);
    EXPECT_TRUE(write(GroupMusic, 0, 29, 4));
    EXPECT_EQ(read(GroupMusic, 0, 29), 4);
    EXPECT_EQ(unit->engine().value(GroupMusic, 0, 29), 4);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SimLineTest, AnswersComeAfterTheDelayAndTheLineTime) {
    UnitFaults f;
    f.paced = true;
    f.replyDelayMs = 20;
    start(f);
    ASSERT_TRUE(connect());
    const auto t0 = rt.nowMs();
    dev->port().Write(std::array<std::uint8_t, 6>{CommandHeader, CmdRead, GroupLevelMin, 0, 2, 0}.data(), 6);
    // 6 bytes in (6.25 ms), 20 ms of thought, 1 byte out (1.04 ms): 28 ms.
    EXPECT_TRUE(rt.runUntil([&] { return !line.rx.empty(); }, 100));
    EXPECT_EQ(rt.nowMs() - t0, 28);
    EXPECT_EQ(line.rx.front(), 36);
    EXPECT_EQ(unit->bytesInFlight(), 0);
}

TEST_F(SimLineTest, SilentMidCommandTimesTheLinkOut) {
    UnitFaults f;
    f.commandLimit = 2;
    start(f);
    ASSERT_TRUE(connect());
    EXPECT_TRUE(write(GroupMute, 0, 0, 1));
    const auto t0 = rt.nowMs();
    EXPECT_FALSE(read(GroupMute, 0, 0));
    EXPECT_GE(rt.nowMs() - t0, DeviceLink::ReplyWaitMs);
    EXPECT_FALSE(dev->Connected);
    EXPECT_FALSE(line.open);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, dev->texts().timeoutMessage);
    EXPECT_EQ(host.status, dev->texts().notConnected);
}

TEST_F(SimLineTest, HeartbeatEchoKeepsTheWatchdogQuiet) {
    UnitFaults f;
    f.echoLimit = 2;
    start(f);
    ASSERT_TRUE(connect());
    rt.advance(3 * 5000 - 1);
    EXPECT_EQ(unit->engine().heartbeatsEchoed(), 2);
    EXPECT_TRUE(dev->Connected); // the third heartbeat went unanswered only just now
    rt.advance(4000 + 100);
    EXPECT_FALSE(dev->Connected);
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(SimLineTest, SelectorResetAtAnyTimeAndAfterACommand) {
    UnitFaults f;
    f.selectorResetAfter = 2;
    start(f);
    ASSERT_TRUE(connect());
    unit->sendSelectorReset();
    rt.advance(50);
    EXPECT_EQ(host.keyResets, 1);
    // 0xFE right behind the key write's answer: the write still completes.
    ASSERT_TRUE(dev->SendCommand(true, 1, CmdWriteLive, GroupKey, 0, 0, 8, false));
    EXPECT_EQ(dev->ReplyData[0], Acknowledge);
    rt.advance(50);
    EXPECT_EQ(host.keyResets, 2);
}

TEST_F(SimLineTest, BytesSentToAClosedPortAreLost) {
    UnitFaults f;
    f.replyDelayMs = 10;
    start(f);
    ASSERT_TRUE(connect());
    dev->port().Write(std::array<std::uint8_t, 1>{SyncByte}.data(), 1);
    dev->ClosePort();
    rt.advance(20);
    EXPECT_TRUE(line.rx.empty());
    EXPECT_EQ(unit->bytesInFlight(), 0);
}

TEST_F(SimLineTest, DeliveriesPendingWhenTheUnitGoesAwayAreDropped) {
    UnitFaults f;
    f.replyDelayMs = 10;
    start(f);
    ASSERT_TRUE(connect());
    dev->port().Write(std::array<std::uint8_t, 1>{SyncByte}.data(), 1);
    unit.reset();
    EXPECT_FALSE(line.onWrite);
    rt.advance(20);
    EXPECT_TRUE(line.rx.empty());
}
