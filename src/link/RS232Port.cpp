#include "RS232Port.h"

#include <algorithm>

namespace sonmira::link {

bool RS232Port::OpenPort(const QString& number) {
    // Only one port at a time: a new open replaces whatever was held.
    handle_ = ports_.open(QStringLiteral("COM") + number);
    return handle_ != nullptr;
}

bool RS232Port::SetupPort(int baud, int dataBits) {
    return handle_ && handle_->configure(baud, dataBits);
}

void RS232Port::PollInQueue() {
    const int waiting = handle_ ? handle_->bytesWaiting() : 0;
    InQueueCount = std::clamp(waiting, 0, MaxPoll);
}

void RS232Port::ClosePort() { handle_.reset(); }

int RS232Port::Read(std::uint8_t* buf, int max) { return handle_ ? handle_->read(buf, max) : 0; }

void RS232Port::Write(const std::uint8_t* buf, int n) {
    if (handle_) handle_->write(buf, n);
}

} // namespace sonmira::link
