#pragma once
// A link on virtual time with scripted units on virtual serial lines.
#include "TestSupport.h"
#include "link/DeviceLink.h"
#include "platform/VirtualRuntime.h"
#include "platform/VirtualSerial.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace sonmira::test {

struct RecordingHost : link::LinkHost {
    std::vector<QString> statusHistory;
    int keyResets = 0;
    int syncCalls = 0;
    std::function<void()> onSync;
    void setStatusText(const QString& t) override { statusHistory.push_back(t); }
    void resetKeySelector() override { ++keyResets; }
    void syncSelectionWithDevice() override {
        ++syncCalls;
        if (onSync) onSync();
    }
    QString status() const { return statusHistory.empty() ? QString() : statusHistory.back(); }
};

struct RecordingProgress : link::ProgressView {
    std::vector<int> values;
    void setProgressValue(int v) override { values.push_back(v); }
};

// A unit at the far end of a virtual line. Assembles packets and answers
// each through `answer`, after `delayMs` of virtual time.
class ScriptedUnit {
public:
    using Packet = std::vector<std::uint8_t>;
    ScriptedUnit(platform::VirtualRuntime& rt, platform::VirtualLine& line) : rt_(rt), line_(line) {
        line_.onWrite = [this](const std::vector<std::uint8_t>& bytes) { take(bytes); };
    }
    // Reply to a packet (or to {0xFC} for the heartbeat); nullopt answers nothing.
    // The default: a healthy unit of the right model.
    static std::optional<Packet> healthy(const Packet& p) {
        if (p.size() == 1) return Packet{0xFC};
        if (p[1] == 0xE2) return Packet{0x6E};
        if (p[1] == 0x01) return Packet{0x00};
        return Packet{0x33};
    }
    std::function<std::optional<Packet>(const Packet&)> answer = healthy;
    int delayMs = 5;
    std::vector<Packet> received;

private:
    void take(const std::vector<std::uint8_t>& bytes) {
        for (auto b : bytes) {
            if (pending_.empty() && b == 0xFC) {
                respond({0xFC});
                continue;
            }
            if (pending_.empty() && b != 0xCD) continue;
            pending_.push_back(b);
            if (pending_.size() == 6) {
                respond(pending_);
                pending_.clear();
            }
        }
    }
    void respond(const Packet& p) {
        received.push_back(p);
        auto reply = answer(p);
        if (!reply) return;
        platform::VirtualLine* line = &line_;
        rt_.post(delayMs, [line, r = *reply] {
            if (line->open) line->deliver(r);
        });
    }
    platform::VirtualRuntime& rt_;
    platform::VirtualLine& line_;
    Packet pending_;
};

class LinkFixture : public ::testing::Test {
protected:
    platform::VirtualRuntime rt;
    platform::VirtualSerialPorts ports;
    // Before the link: the link's open port refers to its line until the end.
    std::vector<std::unique_ptr<platform::VirtualLine>> lines;
    std::vector<std::unique_ptr<ScriptedUnit>> units;
    platform::RecordingDesktop desktop;
    link::TrafficLog log;
    RecordingHost host;
    RecordingProgress progress;
    std::unique_ptr<link::DeviceLink> link;

    void SetUp() override {
        link = std::make_unique<link::DeviceLink>(rt, ports, desktop, log, host, link::Skin::Big);
        link->setProgressView(&progress);
    }
    // A unit on COMn, answering as `ScriptedUnit` does by default.
    ScriptedUnit& unitOn(int n) {
        lines.push_back(std::make_unique<platform::VirtualLine>());
        ports.attach(QStringLiteral("COM%1").arg(n), lines.back().get());
        units.push_back(std::make_unique<ScriptedUnit>(rt, *lines.back()));
        return *units.back();
    }
    platform::VirtualLine& lineOf(const ScriptedUnit& u) {
        for (std::size_t i = 0; i < units.size(); ++i)
            if (units[i].get() == &u) return *lines[i];
        throw std::logic_error("no such unit");
    }
    // Opens COMn directly and marks the link up, as after a scan.
    void connectTo(int n) {
        ASSERT_TRUE(link->port().OpenPort(QString::number(n)));
        ASSERT_TRUE(link->port().SetupPort(9600, 8));
        link->Connected = true;
    }
};

} // namespace sonmira::test
