#pragma once
// The serial line as the link needs it. Every call returns a result; nothing
// here knows about the protocol.
#include <QString>

#include <cstdint>
#include <memory>

namespace sonmira::platform {

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
