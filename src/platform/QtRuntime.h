#pragma once
#include "Runtime.h"

namespace sonmira::platform {

// Real time on Qt's event loop. Needs a QCoreApplication.
class QtRuntime final : public Runtime {
public:
    std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled,
                                       std::function<void()> onTick) override;
    void pumpOnce() override;
    void pumpWait() override;
    void sleep(int ms) override;
    std::int64_t nowMs() const override;
    void post(int delayMs, std::function<void()> fn) override;
};

} // namespace sonmira::platform
