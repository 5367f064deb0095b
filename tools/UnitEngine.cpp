#include "UnitEngine.h"

#include "settings/FactoryValues.h"

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

// The key selector rests in its middle; the program keeps no value of it.
constexpr std::uint8_t KeyRest = 5;

} // namespace

UnitEngine::UnitEngine(UnitFaults faults, const Seed& seed) : faults_(faults) {
    if (seed) seed(*this);
}

void UnitEngine::seedFactoryValues(UnitEngine& unit) {
    // The program's own factory table, so unit and program agree on every value.
    settings::forEachFactoryValue([&unit](std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t v) {
        unit.setValue(group, row, addr, v);
    });
    unit.setValue(GroupKey, 0, 0, KeyRest);
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
    if (answered_ == faults_.floodAfter) noisePending_ += static_cast<std::size_t>(std::max(faults_.floodBytes, 0));
}

std::vector<std::uint8_t> UnitEngine::takeNoise(std::size_t max) {
    std::vector<std::uint8_t> out(std::min(max, noisePending_));
    noisePending_ -= out.size();
    for (auto& b : out) { // xorshift32
        noise_ ^= noise_ << 13;
        noise_ ^= noise_ >> 17;
        noise_ ^= noise_ << 5;
        b = static_cast<std::uint8_t>(noise_);
    }
    return out;
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
