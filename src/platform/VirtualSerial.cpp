#include "VirtualSerial.h"

#include <algorithm>

namespace sonmira::platform {
namespace {

class VirtualDevice final : public SerialDevice {
public:
    explicit VirtualDevice(VirtualLine& l) : line_(l) { line_.open = true; }
    ~VirtualDevice() override { line_.open = false; }
    bool configure(int baud, int dataBits) override {
        ++line_.configureCount;
        if (line_.refuseSettings) return false;
        line_.baud = baud;
        line_.dataBits = dataBits;
        line_.rx.clear();
        return true;
    }
    int bytesWaiting() override { return static_cast<int>(line_.rx.size()); }
    int read(std::uint8_t* buf, int max) override { return line_.rx.take(buf, max); }
    void write(const std::uint8_t* buf, int n) override {
        std::vector<std::uint8_t> bytes(buf, buf + std::max(0, n));
        line_.written.insert(line_.written.end(), bytes.begin(), bytes.end());
        if (line_.onWrite) line_.onWrite(bytes);
    }

private:
    VirtualLine& line_;
};

} // namespace

std::unique_ptr<SerialDevice> VirtualSerialPorts::open(const QString& comName) {
    ++openCalls;
    opened.push_back(comName);
    auto it = lines_.find(comName);
    if (it == lines_.end() || !it.value() || it.value()->inUse || it.value()->open) return nullptr;
    return std::make_unique<VirtualDevice>(*it.value());
}

} // namespace sonmira::platform
