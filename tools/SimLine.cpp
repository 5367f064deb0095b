#include "SimLine.h"

#include <algorithm>

namespace sonmira::unitsim {

SimLine::SimLine(platform::Runtime& rt, platform::VirtualLine& line, UnitFaults faults,
                 const UnitEngine::Seed& seed)
    : rt_(rt), line_(line), engine_(faults, seed) {
    line_.onWrite = [this](const std::vector<std::uint8_t>& bytes) { hostWrote(bytes); };
}

SimLine::~SimLine() {
    *alive_ = false;
    line_.onWrite = nullptr;
}

void SimLine::hostWrote(const std::vector<std::uint8_t>& bytes) {
    timing_.setPaced(engine_.faults().paced);
    const std::int64_t arrived = timing_.arrival(nowNs(), bytes.size());
    const auto answer = engine_.receive(bytes);
    const std::int64_t sent = send(answer, arrived + std::int64_t{engine_.faults().replyDelayMs} * 1'000'000);
    if (engine_.noisePending() > 0) flood(sent);
}

void SimLine::flood(std::int64_t readyNs) {
    rt_.post(msUntil(readyNs), [this, alive = alive_] {
        if (!*alive) return;
        while (engine_.noisePending() > 0) {
            const auto noise = engine_.takeNoise(platform::ReceiveQueueBytes);
            if (line_.open) line_.deliver(noise);
        }
    });
}

void SimLine::sendSelectorReset() { sendRaw(engine_.selectorReset()); }

void SimLine::sendRaw(const std::vector<std::uint8_t>& bytes) {
    timing_.setPaced(engine_.faults().paced);
    send(bytes, nowNs());
}

int SimLine::msUntil(std::int64_t t) const {
    return static_cast<int>((std::max<std::int64_t>(0, t - nowNs()) + 999'999) / 1'000'000);
}

std::int64_t SimLine::send(const std::vector<std::uint8_t>& bytes, std::int64_t readyNs) {
    if (bytes.empty()) return readyNs;
    const auto times = timing_.departures(readyNs, bytes.size());
    // One posted delivery per millisecond of runtime clock, bytes in order.
    std::size_t i = 0;
    while (i < bytes.size()) {
        const int delayMs = msUntil(times[i]);
        std::vector<std::uint8_t> batch;
        while (i < bytes.size() && msUntil(times[i]) == delayMs) batch.push_back(bytes[i++]);
        *inFlight_ += static_cast<int>(batch.size());
        rt_.post(delayMs, [alive = alive_, inFlight = inFlight_, line = &line_, batch = std::move(batch)] {
            *inFlight -= static_cast<int>(batch.size());
            if (*alive && line->open) line->deliver(batch);
        });
    }
    return times.back();
}

} // namespace sonmira::unitsim
