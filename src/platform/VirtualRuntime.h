#pragma once
// Deterministic virtual time: a 4000 ms time-out costs no real time. Timers and
// posted tasks fire in due-time order (ties in creation order); pumpWait jumps
// the clock to the next due event when nothing is due now.
#include "Runtime.h"

#include <map>
#include <vector>

namespace sonmira::platform {

class VirtualRuntime final : public Runtime {
public:
    VirtualRuntime();
    ~VirtualRuntime() override;

    std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled,
                                       std::function<void()> onTick) override;
    void pumpOnce() override;
    void pumpWait() override;
    void sleep(int ms) override;
    std::int64_t nowMs() const override { return now_; }
    void post(int delayMs, std::function<void()> fn) override;

    // Test driving: run every event due up to now + ms, then set the clock there.
    void advance(std::int64_t ms);
    // Runs until pred() holds or limitMs of virtual time have passed; returns pred().
    bool runUntil(const std::function<bool()>& pred, std::int64_t limitMs);

    // The earliest due time of anything pending, or -1.
    std::int64_t nextDue() const;

private:
    class VTimer;
    friend class VTimer;
    struct Task {
        std::int64_t due;
        std::uint64_t seq;
        std::function<void()> fn;
    };
    VTimer* earliestTimer(std::int64_t limit, const std::vector<VTimer*>& skip) const;
    // Runs the earliest event due at or before `limit`; false when none was.
    // With firedOnce, timers listed there are passed over and the one run is added.
    bool runNext(std::int64_t limit, std::vector<VTimer*>* firedOnce);
    // Runs every event due at or before `limit`, each timer at most once.
    void runPass(std::int64_t limit);

    std::int64_t now_ = 0;
    std::uint64_t seq_ = 0;
    std::vector<VTimer*> timers_;
    std::multimap<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> tasks_;
};

} // namespace sonmira::platform
