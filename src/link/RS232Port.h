#pragma once
// The one serial port the program talks through. No protocol here.
#include "platform/Serial.h"

#include <cstdint>
#include <memory>

namespace sonmira::link {

class RS232Port {
public:
    explicit RS232Port(platform::SerialPorts& ports) : ports_(ports) {}

    static constexpr int MaxPoll = 100; // bytes taken by one receive poll at most

    // Opens "COM" + number. True when the port opened.
    bool OpenPort(const QString& number);
    // 9600/8-style set-up of the open port. True when it is configured.
    bool SetupPort(int baud, int dataBits);
    // Sets InQueueCount: bytes waiting, capped at MaxPoll.
    void PollInQueue();
    // Safe to call twice, or with no port open; never touches another port.
    void ClosePort();

    // Reads up to max of the bytes already received; 0 with no port open.
    int Read(std::uint8_t* buf, int max);
    // Queues bytes for sending; nothing happens with no port open.
    void Write(const std::uint8_t* buf, int n);

    bool IsOpen() const { return handle_ != nullptr; }
    int InQueueCount = 0;

private:
    platform::SerialPorts& ports_;
    std::unique_ptr<platform::SerialDevice> handle_;
};

} // namespace sonmira::link
