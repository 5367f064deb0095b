#include "UnitEngine.h"

#include <algorithm>
#include <array>

namespace sonmira::unitsim {

using namespace sonmira::link;

namespace {

bool knownGroup(int g) { return (g >= GroupMusic && g <= GroupLock) || (g >= GroupExciter && g <= GroupInput); }

bool knownCommand(const CommandPacket& p) {
    switch (p[1]) {
    case CmdWriteBulk:
    case CmdRead:
    case CmdWriteLive:
        return knownGroup(p[2]);
    case CmdModelQuery:
    case CmdCommit:
        return true;
    default:
        return false;
    }
}

// Addresses and factory values of the preset columns, column by column.
struct Column {
    std::uint8_t addr;
    std::uint8_t value;
};
constexpr std::array<Column, 18> MusicColumns{{{0, 10}, {1, 10}, {2, 10}, {3, 10}, {4, 10}, {5, 10},
                                               {6, 10}, {29, 1}, {17, 80}, {18, 80}, {24, 10}, {23, 10},
                                               {22, 10}, {27, 21}, {25, 30}, {26, 30}, {21, 0}, {28, 0}}};
constexpr std::array<Column, 9> MicColumns{
    {{0, 10}, {1, 10}, {2, 10}, {3, 10}, {4, 10}, {5, 10}, {6, 10}, {8, 0}, {7, 6}}};
constexpr std::array<std::uint8_t, 8> KtvAddrs{82, 80, 98, 99, 10, 85, 83, 81};
constexpr std::array<std::array<std::uint8_t, 8>, 2> KtvValues{{{6, 14, 40, 68, 90, 63, 75, 63},
                                                               {8, 14, 40, 68, 80, 63, 80, 66}}};
constexpr std::array<std::uint8_t, 10> EffAddrs{82, 80, 98, 199, 130, 131, 132, 181, 110, 111};
constexpr std::array<std::array<std::uint8_t, 10>, 2> EffValues{{{8, 14, 40, 68, 50, 45, 45, 20, 88, 90},
                                                                {8, 14, 50, 68, 50, 45, 55, 20, 80, 80}}};
constexpr std::array<std::uint8_t, 3> LevelMinima{20, 30, 36};
constexpr std::uint8_t KeyRest = 5;
constexpr std::uint8_t InputBgm = 1;

} // namespace

UnitEngine::UnitEngine(UnitFaults faults, const Seed& seed) : faults_(faults) {
    if (seed) seed(*this);
}

void UnitEngine::seedFactoryValues(UnitEngine& unit) {
    for (int row = 0; row < 6; ++row) {
        for (const auto& c : MusicColumns) unit.setValue(GroupMusic, row, c.addr, c.value);
        for (const auto& c : MicColumns) unit.setValue(GroupMic, row, c.addr, c.value);
    }
    // MIC1 and MIC2 start with a lower 57 Hz band, MIC2 with a lower low-cut.
    unit.setValue(GroupMic, 0, 0, 7);
    unit.setValue(GroupMic, 1, 0, 7);
    unit.setValue(GroupMic, 1, 7, 3);
    for (int r = 0; r < 2; ++r) {
        for (std::size_t c = 0; c < KtvAddrs.size(); ++c) unit.setValue(GroupEffect, r, KtvAddrs[c], KtvValues[r][c]);
        for (std::size_t c = 0; c < EffAddrs.size(); ++c)
            unit.setValue(GroupEffect, 20 + r, EffAddrs[c], EffValues[r][c]);
    }
    for (int ch = 0; ch < 3; ++ch) {
        unit.setValue(GroupLevelMode, 0, ch, 0);
        unit.setValue(GroupLevelMin, 0, ch, LevelMinima[ch]);
        unit.setValue(GroupLevelMax, 0, ch, 80);
        unit.setValue(GroupLevel, 0, ch, LevelMinima[ch]);
    }
    unit.setValue(GroupMute, 0, 0, 0);
    unit.setValue(GroupLock, 0, 0, 0);
    unit.setValue(GroupExciter, 0, 0, 0);
    unit.setValue(GroupKey, 0, 0, KeyRest);
    unit.setValue(GroupInput, 0, 0, InputBgm);
}

std::uint32_t UnitEngine::key(int group, int row, int addr) {
    return (static_cast<std::uint32_t>(group & 0xFF) << 16) | (static_cast<std::uint32_t>(row & 0xFF) << 8) |
           static_cast<std::uint32_t>(addr & 0xFF);
}

std::uint8_t UnitEngine::value(int group, int row, int addr) const {
    const auto it = values_.find(key(group, row, addr));
    return it == values_.end() ? 0 : it->second;
}

void UnitEngine::setValue(int group, int row, int addr, std::uint8_t v) { values_[key(group, row, addr)] = v; }

void UnitEngine::reset(const Seed& seed) {
    values_.clear();
    if (seed) seed(*this);
}

bool UnitEngine::fallenSilent() const {
    return faults_.silent || (faults_.commandLimit >= 0 && answered_ >= faults_.commandLimit);
}

std::vector<std::uint8_t> UnitEngine::selectorReset() const {
    if (fallenSilent()) return {};
    return {SelectorReset};
}

std::vector<std::uint8_t> UnitEngine::receive(const std::uint8_t* data, std::size_t n) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < n; ++i) take(data[i], out);
    return out;
}

void UnitEngine::take(std::uint8_t b, std::vector<std::uint8_t>& out) {
    if (pending_.empty()) {
        if (b == SyncByte) {
            heartbeat(out);
            return;
        }
        if (b != CommandHeader) {
            ++dropped_;
            return;
        }
    }
    pending_.push_back(b);
    if (pending_.size() < CommandPacket{}.size()) return;

    CommandPacket p{};
    std::copy(pending_.begin(), pending_.end(), p.begin());
    pending_.clear();
    if (!knownCommand(p)) {
        // The 0xCD was noise: a real packet may start inside these bytes. They
        // are fewer than a packet, so this goes no deeper than one level.
        ++dropped_;
        for (std::size_t i = 1; i < p.size(); ++i) take(p[i], out);
        return;
    }
    command(p, out);
}

void UnitEngine::heartbeat(std::vector<std::uint8_t>& out) {
    ++heartbeatsSeen_;
    if (fallenSilent() || (faults_.echoLimit >= 0 && echoed_ >= faults_.echoLimit)) return;
    ++echoed_;
    out.push_back(SyncByte);
}

void UnitEngine::command(const CommandPacket& p, std::vector<std::uint8_t>& out) {
    ++commandsSeen_;
    if (onPacket) onPacket(p);
    if (fallenSilent()) return;

    const std::uint8_t cmd = p[1], group = p[2], row = p[3], addr = p[4], val = p[5];
    std::uint8_t reply = Acknowledge;
    switch (cmd) {
    case CmdWriteBulk:
    case CmdWriteLive:
        setValue(group, row, addr, val);
        if (cmd == CmdWriteLive && group == GroupKey) reply = faults_.keyAnswer;
        break;
    case CmdRead:
        reply = value(group, row, addr);
        break;
    case CmdModelQuery:
        reply = faults_.modelAnswer;
        break;
    case CmdCommit:
        ++commits_;
        break;
    default:
        return; // unreachable: take() lets only known commands through
    }
    ++answered_;
    out.push_back(reply);
    if (answered_ == faults_.selectorResetAfter) out.push_back(SelectorReset);
    if (answered_ == faults_.floodAfter) {
        // Line noise: every byte value, reply bytes included (xorshift32).
        for (int i = 0; i < faults_.floodBytes; ++i) {
            noise_ ^= noise_ << 13;
            noise_ ^= noise_ >> 17;
            noise_ ^= noise_ << 5;
            out.push_back(static_cast<std::uint8_t>(noise_));
        }
    }
}

std::int64_t LineTiming::arrival(std::int64_t nowNs, std::size_t n) {
    if (!paced_) return nowNs;
    inFreeNs_ = std::max(inFreeNs_, nowNs) + static_cast<std::int64_t>(n) * ByteTimeNs;
    return inFreeNs_;
}

std::vector<std::int64_t> LineTiming::departures(std::int64_t readyNs, std::size_t n) {
    std::vector<std::int64_t> at(n, readyNs);
    if (!paced_) return at;
    // A byte leaves once it is fully on the wire, one byte time after the line is free.
    for (auto& t : at) {
        outFreeNs_ = std::max(outFreeNs_, readyNs) + ByteTimeNs;
        t = outFreeNs_;
    }
    return at;
}

} // namespace sonmira::unitsim
