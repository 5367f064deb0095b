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

VirtualRuntime::VTimer* VirtualRuntime::earliestTimer(std::int64_t limit,
                                                      const std::vector<VTimer*>& skip) const {
    VTimer* best = nullptr;
    for (auto* t : timers_) {
        if (!t->ready(limit) || std::find(skip.begin(), skip.end(), t) != skip.end()) continue;
        if (!best || t->due_ < best->due_ || (t->due_ == best->due_ && t->order_ < best->order_))
            best = t;
    }
    return best;
}

bool VirtualRuntime::runNext(std::int64_t limit, std::vector<VTimer*>* firedOnce) {
    static const std::vector<VTimer*> none;
    VTimer* timer = earliestTimer(limit, firedOnce ? *firedOnce : none);
    const bool taskDue = !tasks_.empty() && tasks_.begin()->first.first <= limit;
    // A task goes first unless a timer is due strictly earlier, or at the same
    // time and created earlier.
    if (taskDue && (!timer || tasks_.begin()->first.first < timer->due_ ||
                    (tasks_.begin()->first.first == timer->due_ && tasks_.begin()->first.second < timer->order_))) {
        auto it = tasks_.begin();
        if (it->first.first > now_) now_ = it->first.first;
        auto fn = std::move(it->second);
        tasks_.erase(it);
        fn();
        return true;
    }
    if (!timer) return false;
    if (timer->due_ > now_) now_ = timer->due_;
    if (firedOnce) firedOnce->push_back(timer);
    timer->fire();
    return true;
}

void VirtualRuntime::pumpOnce() { runPass(now_); }

void VirtualRuntime::runPass(std::int64_t limit) {
    // One pass: each timer fires at most once, like coalesced window timers.
    std::vector<VTimer*> fired;
    while (runNext(limit, &fired)) {
    }
}

void VirtualRuntime::pumpWait() {
    const std::int64_t due = nextDue();
    if (due < 0) return;
    if (due > now_) now_ = due;
    runPass(now_);
}

void VirtualRuntime::sleep(int ms) { now_ += std::max(0, ms); }

void VirtualRuntime::advance(std::int64_t ms) {
    const std::int64_t end = now_ + std::max<std::int64_t>(0, ms);
    while (runNext(end, nullptr)) {
    }
    if (now_ < end) now_ = end;
}

bool VirtualRuntime::runUntil(const std::function<bool()>& pred, std::int64_t limitMs) {
    const std::int64_t end = now_ + limitMs;
    while (!pred()) {
        if (!runNext(end, nullptr)) {
            now_ = std::max(now_, end);
            return pred();
        }
    }
    return true;
}

} // namespace sonmira::platform
