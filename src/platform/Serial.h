#pragma once
// The serial line as the link needs it. Every call returns a result; nothing
// here knows about the protocol.
#include <QString>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>

namespace sonmira::platform {

// Received bytes the driver keeps for the program at most. What arrives while
// that many wait is lost, as from a full driver queue: a flood of noise then
// costs no memory, and delays true answers by no more than this many bytes.
constexpr int ReceiveQueueBytes = 4096;

// The driver's receive queue: received bytes in order, at most ReceiveQueueBytes.
class ReceiveQueue {
public:
    // Keeps what fits and drops the rest.
    void push(const std::uint8_t* bytes, std::size_t n) {
        const std::size_t room = static_cast<std::size_t>(ReceiveQueueBytes) - q_.size();
        q_.insert(q_.end(), bytes, bytes + std::min(n, room));
    }
    // Takes up to max of the oldest bytes; returns how many.
    int take(std::uint8_t* buf, int max) {
        const int n = std::min(std::max(max, 0), static_cast<int>(q_.size()));
        std::copy_n(q_.begin(), n, buf);
        q_.erase(q_.begin(), q_.begin() + n);
        return n;
    }
    std::size_t size() const { return q_.size(); }
    bool empty() const { return q_.empty(); }
    std::uint8_t front() const { return q_.front(); }
    void clear() { q_.clear(); }

private:
    std::deque<std::uint8_t> q_;
};

// One open port. Destroying it closes it.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    // 9600-style set-up: baud, data bits, no parity, one stop bit; flow control
    // left as the driver had it; both queues purged. False when the driver
    // refuses the settings (nothing is purged then).
    virtual bool configure(int baud, int dataBits) = 0;
    // Received bytes waiting; never blocks.
    virtual int bytesWaiting() = 0;
    // Takes up to max bytes that have already arrived; returns at once.
    virtual int read(std::uint8_t* buf, int max) = 0;
    // Queues bytes for sending without blocking the caller.
    virtual void write(const std::uint8_t* buf, int n) = 0;
};

// Opens ports by their COM name ("COM1".."COM12").
class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    // nullptr when the port does not exist or is in use.
    virtual std::unique_ptr<SerialDevice> open(const QString& comName) = 0;
};

} // namespace sonmira::platform
