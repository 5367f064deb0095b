#include "QtRuntime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace sonmira::platform {
namespace {

class QtTimer final : public Timer {
public:
    QtTimer(int interval, bool enabled, std::function<void()> fn) : fn_(std::move(fn)) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(std::max(1, interval));
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        if (enabled) timer_.start();
    }
    void setInterval(int ms) override {
        ms = std::max(1, ms);
        if (ms != timer_.interval()) timer_.setInterval(ms); // restarts an active timer
    }
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool on) override {
        if (on == timer_.isActive()) return;
        if (on) timer_.start();
        else timer_.stop();
    }
    bool enabled() const override { return timer_.isActive(); }

private:
    void tick() {
        if (running_) return; // a tick during our own handler's pump is dropped
        running_ = true;
        fn_();
        running_ = false;
    }
    QTimer timer_;
    std::function<void()> fn_;
    bool running_ = false;
};

QElapsedTimer& clock() {
    static QElapsedTimer c = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return c;
}

} // namespace

std::unique_ptr<Timer> QtRuntime::createTimer(int intervalMs, bool enabled,
                                              std::function<void()> onTick) {
    return std::make_unique<QtTimer>(intervalMs, enabled, std::move(onTick));
}

void QtRuntime::pumpOnce() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtRuntime::pumpWait() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtRuntime::sleep(int ms) { QThread::msleep(static_cast<unsigned long>(std::max(0, ms))); }

std::int64_t QtRuntime::nowMs() const { return clock().elapsed(); }

void QtRuntime::post(int delayMs, std::function<void()> fn) {
    QTimer::singleShot(std::max(0, delayMs), Qt::PreciseTimer, QCoreApplication::instance(),
                       std::move(fn));
}

} // namespace sonmira::platform
