// The simulated unit's protocol engine: packet assembly, answers, stored
// values, fault modes, and the line timing its servers use.
#include "UnitEngine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace sonmira::link;
using sonmira::unitsim::LineTiming;
using sonmira::unitsim::UnitEngine;
using sonmira::unitsim::UnitFaults;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes packet(std::uint8_t cmd, std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t value) {
    return {CommandHeader, cmd, group, row, addr, value};
}
Bytes readOf(std::uint8_t group, std::uint8_t row, std::uint8_t addr) { return packet(CmdRead, group, row, addr, 0); }
const Bytes ModelQuery = packet(CmdModelQuery, 0, 0, 0, ModelAnswer);
const Bytes Ack{Acknowledge};

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(UnitEngineAssembly, AnswersAPacketHoweverItIsChunked) {
    const Bytes cmd = readOf(GroupMusic, 0, 29);
    for (std::size_t split = 1; split < cmd.size(); ++split) {
        UnitEngine unit;
        EXPECT_TRUE(unit.receive(Bytes(cmd.begin(), cmd.begin() + static_cast<long>(split))).empty());
        EXPECT_EQ(unit.receive(Bytes(cmd.begin() + static_cast<long>(split), cmd.end())), Bytes{1}) << split;
    }
    UnitEngine unit;
    Bytes out;
    for (auto b : cmd) out = out + unit.receive(&b, 1);
    EXPECT_EQ(out, Bytes{1});
}

TEST(UnitEngineAssembly, AnswersEveryPacketOfOneChunkInOrder) {
    UnitEngine unit;
    const auto out = unit.receive(ModelQuery + readOf(GroupLevelMin, 0, 2) + packet(CmdCommit, 0, 0, 0, 0));
    EXPECT_EQ(out, (Bytes{ModelAnswer, 36, Acknowledge}));
    EXPECT_EQ(unit.commandsAnswered(), 3);
}

TEST(UnitEngineAssembly, DropsGarbageBeforeAPacket) {
    UnitEngine unit;
    EXPECT_EQ(unit.receive(Bytes{0x00, 0x33, 0x6E, 0xFF, 0x01} + ModelQuery), Bytes{ModelAnswer});
    EXPECT_EQ(unit.droppedBytes(), 5u);
}

TEST(UnitEngineAssembly, AStray0xCDDoesNotSwallowTheNextPacket) {
    UnitEngine unit;
    // Noise 0xCD 0x55 makes a packet with an unknown command out of the start
    // of the real one; the real one is found again behind it.
    EXPECT_EQ(unit.receive(Bytes{0xCD, 0x55} + ModelQuery), Bytes{ModelAnswer});
    EXPECT_EQ(unit.commandsSeen(), 1);
}

TEST(UnitEngineAssembly, UnknownCommandsAndGroupsGetNoAnswer) {
    UnitEngine unit;
    EXPECT_TRUE(unit.receive(packet(0x03, 0, 0, 0, 0)).empty());
    EXPECT_TRUE(unit.receive(packet(CmdWriteLive, 9, 0, 0, 1)).empty());
    EXPECT_TRUE(unit.receive(packet(CmdRead, 13, 0, 0, 0)).empty());
    EXPECT_EQ(unit.commandsSeen(), 0);
    // and the unit is still in step afterwards
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{ModelAnswer});
}

TEST(UnitEngineAssembly, HeartbeatIsEchoedOnlyBetweenPackets) {
    UnitEngine unit;
    EXPECT_EQ(unit.receive(Bytes{SyncByte}), Bytes{SyncByte});
    // 0xFC inside a packet is its value, not a heartbeat.
    EXPECT_EQ(unit.receive(packet(CmdWriteLive, GroupMusic, 2, 0, SyncByte)), Ack);
    EXPECT_EQ(unit.value(GroupMusic, 2, 0), SyncByte);
    // A heartbeat right behind a packet in the same chunk is echoed after its answer.
    EXPECT_EQ(unit.receive(readOf(GroupMusic, 2, 0) + Bytes{SyncByte}), (Bytes{SyncByte, SyncByte}));
    EXPECT_EQ(unit.heartbeatsEchoed(), 2);
}

TEST(UnitEngineAnswers, EachCommandGetsItsReplyKind) {
    UnitEngine unit;
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{ModelAnswer});
    EXPECT_EQ(unit.receive(packet(CmdWriteBulk, GroupMic, 3, 8, 2)), Ack);
    EXPECT_EQ(unit.receive(packet(CmdWriteLive, GroupExciter, 0, 0, 1)), Ack);
    EXPECT_EQ(unit.receive(packet(CmdWriteLive, GroupKey, 0, 0, 7)), Ack); // the key write's data byte
    EXPECT_EQ(unit.receive(packet(CmdCommit, 0, 0, 0, 0)), Ack);
    EXPECT_EQ(unit.commits(), 1);
    EXPECT_EQ(unit.receive(readOf(GroupKey, 0, 0)), Bytes{7});
}

TEST(UnitEngineAnswers, WritesOfEveryGroupAreReadBack) {
    UnitEngine unit;
    struct Cell {
        std::uint8_t group, row, addr, value;
    };
    const Cell cells[] = {{GroupMusic, 5, 28, 1},  {GroupMic, 4, 7, 13},    {GroupEffect, 1, 85, 127},
                          {GroupEffect, 21, 199, 3}, {GroupLevelMode, 0, 2, 7}, {GroupLevelMin, 0, 0, 0},
                          {GroupLevelMax, 0, 1, 66}, {GroupLevel, 0, 2, 80},  {GroupMute, 0, 0, 1},
                          {GroupLock, 0, 0, 1},    {GroupExciter, 0, 0, 1}, {GroupInput, 0, 0, 2}};
    bool bulk = false;
    for (const auto& c : cells) {
        bulk = !bulk;
        EXPECT_EQ(unit.receive(packet(bulk ? CmdWriteBulk : CmdWriteLive, c.group, c.row, c.addr, c.value)), Ack);
    }
    for (const auto& c : cells)
        EXPECT_EQ(unit.receive(readOf(c.group, c.row, c.addr)), Bytes{c.value}) << int(c.group) << "/" << int(c.addr);
    // KTV1 and EFF1 share address 98 but are different cells.
    EXPECT_EQ(unit.receive(readOf(GroupEffect, 0, 98)), Bytes{40});
    EXPECT_EQ(unit.receive(readOf(GroupEffect, 20, 98)), Bytes{40});
    EXPECT_EQ(unit.receive(packet(CmdWriteLive, GroupEffect, 20, 98, 9)), Ack);
    EXPECT_EQ(unit.receive(readOf(GroupEffect, 0, 98)), Bytes{40});
}

TEST(UnitEngineValues, StartsFromTheFactoryValues) {
    UnitEngine unit;
    EXPECT_EQ(unit.value(GroupMusic, 5, 29), 1);   // OUT LIMIT
    EXPECT_EQ(unit.value(GroupMusic, 0, 27), 21);  // SUB FREQ
    EXPECT_EQ(unit.value(GroupMic, 0, 0), 7);      // MIC1 57 Hz
    EXPECT_EQ(unit.value(GroupMic, 2, 0), 10);     // MIC3 57 Hz
    EXPECT_EQ(unit.value(GroupMic, 1, 7), 3);      // MIC2 low-cut (address 7)
    EXPECT_EQ(unit.value(GroupMic, 1, 8), 0);      // MIC2 H_Curve (address 8)
    EXPECT_EQ(unit.value(GroupEffect, 1, 81), 66); // KTV2 ECHO-B DLY
    EXPECT_EQ(unit.value(GroupEffect, 21, 98), 50); // EFF2 ECHO VOL
    EXPECT_EQ(unit.value(GroupLevelMin, 0, 1), 30);
    EXPECT_EQ(unit.value(GroupLevel, 0, 2), 36);
    EXPECT_EQ(unit.value(GroupLevelMax, 0, 0), 80);
    EXPECT_EQ(unit.value(GroupInput, 0, 0), 1);
    EXPECT_EQ(unit.value(GroupKey, 0, 0), 5);
}

TEST(UnitEngineValues, ASeedReplacesTheFactoryValues) {
    UnitEngine unit({}, [](UnitEngine& u) { u.setValue(GroupMusic, 0, 0, 3); });
    EXPECT_EQ(unit.value(GroupMusic, 0, 0), 3);
    EXPECT_EQ(unit.value(GroupMusic, 0, 29), 0); // not seeded
    unit.receive(packet(CmdWriteLive, GroupMusic, 0, 0, 9));
    unit.reset();
    EXPECT_EQ(unit.value(GroupMusic, 0, 0), 10);
}

TEST(UnitEngineFaults, SilentUnitAnswersNothing) {
    UnitFaults f;
    f.silent = true;
    UnitEngine unit(f);
    EXPECT_TRUE(unit.receive(ModelQuery + Bytes{SyncByte} + readOf(GroupMusic, 0, 0)).empty());
    EXPECT_TRUE(unit.selectorReset().empty());
    EXPECT_EQ(unit.commandsSeen(), 2);
}

TEST(UnitEngineFaults, OtherModelAndKeyAnswers) {
    UnitFaults f;
    f.modelAnswer = 0x00;
    f.keyAnswer = 0x44;
    UnitEngine unit(f);
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{0x00});
    EXPECT_EQ(unit.receive(packet(CmdWriteLive, GroupKey, 0, 0, 2)), Bytes{0x44});
    EXPECT_EQ(unit.receive(packet(CmdWriteBulk, GroupKey, 0, 0, 3)), Ack); // only the live key write
}

TEST(UnitEngineFaults, EchoStopsAfterItsLimit) {
    UnitFaults f;
    f.echoLimit = 2;
    UnitEngine unit(f);
    EXPECT_EQ(unit.receive(Bytes{SyncByte, SyncByte, SyncByte}), (Bytes{SyncByte, SyncByte}));
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{ModelAnswer}); // commands still answered
    EXPECT_EQ(unit.heartbeatsSeen(), 3);
}

TEST(UnitEngineFaults, FallsSilentAfterItsCommandLimit) {
    UnitFaults f;
    f.commandLimit = 2;
    UnitEngine unit(f);
    EXPECT_EQ(unit.receive(ModelQuery + packet(CmdWriteLive, GroupMute, 0, 0, 1)), (Bytes{ModelAnswer, Acknowledge}));
    EXPECT_TRUE(unit.receive(packet(CmdWriteLive, GroupMute, 0, 0, 0)).empty());
    EXPECT_TRUE(unit.receive(Bytes{SyncByte}).empty());
    EXPECT_EQ(unit.value(GroupMute, 0, 0), 1); // a silent unit stores nothing either
}

TEST(UnitEngineFaults, SelectorResetOnDemandAndAfterACommand) {
    UnitFaults f;
    f.selectorResetAfter = 2;
    UnitEngine unit(f);
    EXPECT_EQ(unit.selectorReset(), Bytes{SelectorReset});
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{ModelAnswer});
    EXPECT_EQ(unit.receive(ModelQuery), (Bytes{ModelAnswer, SelectorReset}));
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{ModelAnswer});
}

TEST(UnitEngineFaults, FloodFollowsTheAnswer) {
    UnitFaults f;
    f.floodAfter = 1;
    f.floodBytes = 3000;
    UnitEngine unit(f);
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{ModelAnswer});
    EXPECT_EQ(unit.noisePending(), 3000u);
    const auto first = unit.takeNoise(1000);
    const auto rest = unit.takeNoise(5000);
    ASSERT_EQ(first.size() + rest.size(), 3000u);
    EXPECT_EQ(unit.noisePending(), 0u);
    std::vector<int> seen(256);
    for (auto b : first) ++seen[b];
    for (auto b : rest) ++seen[b];
    EXPECT_GT(seen[SelectorReset] + seen[SyncByte] + seen[Acknowledge], 0); // real noise, special bytes too
    EXPECT_EQ(unit.receive(ModelQuery), Bytes{ModelAnswer});
    EXPECT_EQ(unit.noisePending(), 0u);
}

TEST(LineTimingTest, UnpacedBytesCrossAtOnce) {
    LineTiming t(false);
    EXPECT_EQ(t.arrival(5000, 6), 5000);
    EXPECT_EQ(t.departures(7000, 3), (std::vector<std::int64_t>{7000, 7000, 7000}));
}

TEST(LineTimingTest, PacedBytesTakeTenBitTimesEach) {
    LineTiming t(true);
    const auto B = LineTiming::ByteTimeNs;
    EXPECT_EQ(B, 1'041'666);
    EXPECT_EQ(t.arrival(0, 6), 6 * B);
    // A second write while the first is still on the wire queues behind it.
    EXPECT_EQ(t.arrival(B, 1), 7 * B);
    EXPECT_EQ(t.departures(10 * B, 2), (std::vector<std::int64_t>{11 * B, 12 * B}));
    EXPECT_EQ(t.departures(11 * B, 1), (std::vector<std::int64_t>{13 * B}));
    EXPECT_EQ(t.departures(100 * B, 1), (std::vector<std::int64_t>{101 * B}));
}
