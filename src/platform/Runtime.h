#pragma once
// Timers and the event pump that the link, the supervision and the transfers
// run on. Two backends: Qt (real time) and virtual time (tests). Nothing above
// this layer knows which one is in use.
#include <cstdint>
#include <functional>
#include <memory>

namespace sonmira::platform {

// A window timer: an interval and an enabled switch. Enabling a disabled timer
// (or changing the interval of an enabled one) starts a new period from now,
// so a handler that disables and re-enables its own timer restarts the period
// from the end of its tick. Enabling an already enabled timer changes nothing.
// A handler never re-enters itself: a tick that falls due while the handler
// runs (because it pumps events) is not run inside it. The virtual backend
// runs it once right after the handler returns; the Qt backend drops it and
// keeps its period. No handler here pumps while its own timer is enabled.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool enabled() const = 0;
};

class Runtime {
public:
    virtual ~Runtime() = default;

    virtual std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled,
                                               std::function<void()> onTick) = 0;

    // One pass of the event queue: runs what is due now and returns at once.
    virtual void pumpOnce() = 0;

    // One pass that may first sleep until the next event or timer is due.
    // Reply waits loop on this so they run the same timers and input as a
    // busy pass would, without spinning a core.
    virtual void pumpWait() = 0;

    // Blocks the thread: no timer and no input runs meanwhile.
    virtual void sleep(int ms) = 0;

    // Milliseconds on this runtime's clock (monotonic).
    virtual std::int64_t nowMs() const = 0;

    // Runs fn once on the event loop after delayMs.
    virtual void post(int delayMs, std::function<void()> fn) = 0;
};

} // namespace sonmira::platform
