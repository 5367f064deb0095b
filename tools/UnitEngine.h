#pragma once
// The simulated sound processor: what it answers to the six-byte commands and
// to the heartbeat, and the parameter values it holds. No timing and no I/O
// here: SimLine serves it on a virtual line, sonmira-unit-sim on a
// pseudo-terminal.
#include "link/DeviceLink.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace sonmira::unitsim {

// Ways the unit can misbehave, for tests and demonstrations. The defaults make
// a healthy unit.
struct UnitFaults {
    bool silent = false;                            // answers nothing at all
    std::uint8_t modelAnswer = link::ModelAnswer;   // answer to the model query
    std::uint8_t keyAnswer = link::Acknowledge;     // answer to a live key write
    int echoLimit = -1;        // heartbeats echoed before the echo stops; -1: never stops
    int commandLimit = -1;     // commands answered before the unit falls silent; -1: never
    int selectorResetAfter = -1; // sends 0xFE once, right after answering this many commands
    int floodAfter = -1;       // owes floodBytes of noise after answering this many commands
    int floodBytes = 4096;
    int replyDelayMs = 0;      // between a command's arrival and its answer
    bool paced = false;        // output at 9600 baud 8N1 (about 1.04 ms a byte)
};

class UnitEngine {
public:
    using Seed = std::function<void(UnitEngine&)>;

    explicit UnitEngine(UnitFaults faults = {}, const Seed& seed = seedFactoryValues);

    UnitFaults& faults() { return faults_; }
    const UnitFaults& faults() const { return faults_; }

    // Bytes from the host, in any chunking; returns what the unit sends back.
    // Packets start with 0xCD; anything before a 0xCD is dropped, except a lone
    // 0xFC between packets, which is the heartbeat. A packet with an unknown
    // command code or group gets no answer, and the bytes after its 0xCD are
    // searched again for the start of a real packet.
    std::vector<std::uint8_t> receive(const std::uint8_t* data, std::size_t n);
    std::vector<std::uint8_t> receive(const std::vector<std::uint8_t>& bytes) {
        return receive(bytes.data(), bytes.size());
    }

    // Line noise owed since a flood began (UnitFaults::floodAfter). It follows
    // the answer as fast as the line takes it, so it is made as it is sent.
    std::size_t noisePending() const { return noisePending_; }
    // Up to max bytes of that noise: every byte value, reply bytes included.
    std::vector<std::uint8_t> takeNoise(std::size_t max);

    // The key selector reset (0xFE) that the unit may send at any time; empty
    // while the unit is silent.
    std::vector<std::uint8_t> selectorReset() const;

    // Parameter store, keyed as the commands address it: (group, row, addr).
    // Cells: group 0/1 row 0..5, group 2 row 0, 1, 20, 21, addr the column's
    // address. Levels (groups 3..6): row 0, addr the channel. Switches and the
    // key (7, 8, 10, 11, 12): row 0, addr 0. Anything never set reads 0.
    std::uint8_t value(int group, int row, int addr) const;
    void setValue(int group, int row, int addr, std::uint8_t v);
    // Forgets every value, then seeds again.
    void reset(const Seed& seed = seedFactoryValues);

    // What a unit fresh from the factory holds.
    static void seedFactoryValues(UnitEngine& unit);

    // Called with every recognised packet, answered or not.
    std::function<void(const link::CommandPacket&)> onPacket;

    int commandsSeen() const { return commandsSeen_; }
    int commandsAnswered() const { return answered_; }
    int heartbeatsSeen() const { return heartbeatsSeen_; }
    int heartbeatsEchoed() const { return echoed_; }
    int commits() const { return commits_; }
    std::size_t droppedBytes() const { return dropped_; }

private:
    void take(std::uint8_t b, std::vector<std::uint8_t>& out);
    void command(const link::CommandPacket& p, std::vector<std::uint8_t>& out);
    void heartbeat(std::vector<std::uint8_t>& out);
    bool fallenSilent() const;
    static std::uint32_t key(int group, int row, int addr);

    UnitFaults faults_;
    std::unordered_map<std::uint32_t, std::uint8_t> values_;
    std::vector<std::uint8_t> pending_;
    int commandsSeen_ = 0;
    int answered_ = 0;
    int heartbeatsSeen_ = 0;
    int echoed_ = 0;
    int commits_ = 0;
    std::size_t dropped_ = 0;
    std::uint32_t noise_ = 0x2545F491u;
    std::size_t noisePending_ = 0;
};

// When bytes cross a 9600-baud 8N1 line (ten bit times a byte). Without pacing
// everything crosses at once. Times in nanoseconds on the caller's clock.
class LineTiming {
public:
    static constexpr std::int64_t ByteTimeNs = 10'000'000'000LL / 9600; // 1.04 ms

    explicit LineTiming(bool paced = false) : paced_(paced) {}
    void setPaced(bool on) { paced_ = on; }
    bool paced() const { return paced_; }

    // The host handed n bytes to the line at now: when the last reaches the unit.
    std::int64_t arrival(std::int64_t nowNs, std::size_t n);
    // When each of n bytes the unit has ready at readyNs leaves the line.
    std::vector<std::int64_t> departures(std::int64_t readyNs, std::size_t n);

private:
    bool paced_;
    std::int64_t inFreeNs_ = 0;
    std::int64_t outFreeNs_ = 0;
};

} // namespace sonmira::unitsim
