#include "VirtualRuntime.h"

#include <algorithm>
#include <limits>

namespace sonmira::platform {

class VirtualRuntime::VTimer final : public Timer {
public:
    VTimer(VirtualRuntime& rt, int interval, std::function<void()> fn)
        : rt_(rt), interval_(std::max(1, interval)), fn_(std::move(fn)), order_(rt.seq_++) {}
    ~VTimer() override {
        auto& v = rt_.timers_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    void setInterval(int ms) override {
        ms = std::max(1, ms);
        if (ms == interval_) return;
        interval_ = ms;
        if (enabled_) due_ = rt_.now_ + interval_;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on == enabled_) return;
        enabled_ = on;
        if (on) {
            due_ = rt_.now_ + interval_;
            rearmed_ = true;
        }
    }
    bool enabled() const override { return enabled_; }

    bool ready(std::int64_t limit) const { return enabled_ && !running_ && due_ <= limit; }

    void fire() {
        const std::int64_t firedAt = due_;
        running_ = true;
        rearmed_ = false;
        fn_();
        running_ = false;
        // A period restarted by the handler stands; otherwise the next tick
        // follows on the old schedule, at once if the handler overran it.
        if (enabled_ && !rearmed_) due_ = std::max(firedAt + interval_, rt_.now_);
    }

    VirtualRuntime& rt_;
    int interval_;
    std::function<void()> fn_;
    std::uint64_t order_;
    bool enabled_ = false;
    bool running_ = false;
    bool rearmed_ = false;
    std::int64_t due_ = 0;
};

VirtualRuntime::VirtualRuntime() = default;
VirtualRuntime::~VirtualRuntime() = default;

std::unique_ptr<Timer> VirtualRuntime::createTimer(int intervalMs, bool enabled,
                                                   std::function<void()> onTick) {
    auto t = std::make_unique<VTimer>(*this, intervalMs, std::move(onTick));
    timers_.push_back(t.get());
    t->setEnabled(enabled);
    return t;
}

void VirtualRuntime::post(int delayMs, std::function<void()> fn) {
    tasks_.emplace(std::make_pair(now_ + std::max(0, delayMs), seq_++), std::move(fn));
}

std::int64_t VirtualRuntime::nextDue() const {
    std::int64_t best = -1;
    for (auto* t : timers_)
        if (t->enabled_ && !t->running_ && (best < 0 || t->due_ < best)) best = t->due_;
    if (!tasks_.empty() && (best < 0 || tasks_.begin()->first.first < best))
        best = tasks_.begin()->first.first;
    return best;
}

bool VirtualRuntime::runOneDue(std::int64_t limit) {
    // Pick the earliest of the due timers and tasks; ties by creation order.
    VTimer* bestTimer = nullptr;
    for (auto* t : timers_) {
        if (!t->ready(limit)) continue;
        if (!bestTimer || t->due_ < bestTimer->due_ ||
            (t->due_ == bestTimer->due_ && t->order_ < bestTimer->order_))
            bestTimer = t;
    }
    const bool taskDue = !tasks_.empty() && tasks_.begin()->first.first <= limit;
    if (taskDue && (!bestTimer || tasks_.begin()->first.first < bestTimer->due_ ||
                    (tasks_.begin()->first.first == bestTimer->due_ &&
                     tasks_.begin()->first.second < bestTimer->order_))) {
        auto it = tasks_.begin();
        if (it->first.first > now_) now_ = it->first.first;
        auto fn = std::move(it->second);
        tasks_.erase(it);
        fn();
        return true;
    }
    if (!bestTimer) return false;
    if (bestTimer->due_ > now_) now_ = bestTimer->due_;
    bestTimer->fire();
    return true;
}

void VirtualRuntime::runAllDue(std::int64_t limit) {
    // One pass: each timer fires at most once, like coalesced window timers.
    std::vector<VTimer*> fired;
    for (;;) {
        VTimer* bestTimer = nullptr;
        for (auto* t : timers_) {
            if (!t->ready(limit) || std::find(fired.begin(), fired.end(), t) != fired.end())
                continue;
            if (!bestTimer || t->due_ < bestTimer->due_ ||
                (t->due_ == bestTimer->due_ && t->order_ < bestTimer->order_))
                bestTimer = t;
        }
        const bool taskDue = !tasks_.empty() && tasks_.begin()->first.first <= limit;
        if (taskDue && (!bestTimer || tasks_.begin()->first.first <= bestTimer->due_)) {
            auto it = tasks_.begin();
            auto fn = std::move(it->second);
            tasks_.erase(it);
            fn();
            continue;
        }
        if (!bestTimer) return;
        fired.push_back(bestTimer);
        bestTimer->fire();
    }
}

void VirtualRuntime::pumpOnce() { runAllDue(now_); }

void VirtualRuntime::pumpWait() {
    const std::int64_t due = nextDue();
    if (due < 0) return;
    if (due > now_) now_ = due;
    runAllDue(now_);
}

void VirtualRuntime::sleep(int ms) { now_ += std::max(0, ms); }

void VirtualRuntime::advance(std::int64_t ms) {
    const std::int64_t end = now_ + std::max<std::int64_t>(0, ms);
    while (runOneDue(end)) {
    }
    if (now_ < end) now_ = end;
}

bool VirtualRuntime::runUntil(const std::function<bool()>& pred, std::int64_t limitMs) {
    const std::int64_t end = now_ + limitMs;
    while (!pred()) {
        if (!runOneDue(end)) {
            now_ = std::max(now_, end);
            return pred();
        }
    }
    return true;
}

} // namespace sonmira::platform
