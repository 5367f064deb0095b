#pragma once
// Serial lines for tests: each COM name can be given a line whose far end is
// driven by the test (or by a simulated unit).
#include "Serial.h"

#include <QHash>

#include <functional>
#include <vector>

namespace sonmira::platform {

class VirtualLine {
public:
    bool inUse = false;         // held by another program: open fails
    bool refuseSettings = false; // the driver rejects the set-up
    bool open = false;           // held by us
    int baud = 0, dataBits = 0;
    int configureCount = 0;

    // Called with the bytes the program writes.
    std::function<void(const std::vector<std::uint8_t>&)> onWrite;

    // Far end: bytes for the program to read; beyond a full queue they are lost.
    void deliver(const std::vector<std::uint8_t>& bytes) { rx.push(bytes.data(), bytes.size()); }
    ReceiveQueue rx;
    std::vector<std::uint8_t> written; // everything the program wrote, in order
};

class VirtualSerialPorts final : public SerialPorts {
public:
    // Names without a line do not exist.
    void attach(const QString& comName, VirtualLine* line) { lines_[comName] = line; }
    void detach(const QString& comName) { lines_.remove(comName); }
    std::unique_ptr<SerialDevice> open(const QString& comName) override;
    int openCalls = 0;
    std::vector<QString> opened; // every name asked for, in order

private:
    QHash<QString, VirtualLine*> lines_;
};

} // namespace sonmira::platform
