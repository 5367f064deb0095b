#pragma once
// A simulated unit at the far end of a VirtualLine, in the runtime's time:
// what the program writes reaches the engine at once (or at 9600 baud when
// paced), and the answers come back through Runtime::post after the reply
// delay and the line time. Bytes sent while the program has the port closed
// are lost, as on a real line. Line noise (UnitFaults::floodAfter) comes at
// once behind the answer, as from a fast adapter: what the program's receive
// queue cannot take is lost.
#include "UnitEngine.h"
#include "platform/Runtime.h"
#include "platform/VirtualSerial.h"

#include <memory>

namespace sonmira::unitsim {

class SimLine {
public:
    // Takes over line.onWrite until destroyed.
    SimLine(platform::Runtime& rt, platform::VirtualLine& line, UnitFaults faults = {},
            const UnitEngine::Seed& seed = UnitEngine::seedFactoryValues);
    ~SimLine();
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    UnitEngine& engine() { return engine_; }
    // Fault settings; a change of `paced` applies to later bytes.
    UnitFaults& faults() { return engine_.faults(); }

    // The unit sends 0xFE now (unless it is silent).
    void sendSelectorReset();
    // Raw bytes from the unit side, for tests of bad input.
    void sendRaw(const std::vector<std::uint8_t>& bytes);

    // Bytes the unit has sent that have not yet reached the line.
    int bytesInFlight() const { return *inFlight_; }

private:
    void hostWrote(const std::vector<std::uint8_t>& bytes);
    // Returns when the last byte leaves the line.
    std::int64_t send(const std::vector<std::uint8_t>& bytes, std::int64_t readyNs);
    void flood(std::int64_t readyNs);
    std::int64_t nowNs() const { return rt_.nowMs() * 1'000'000; }
    // Whole milliseconds of runtime clock until t, at least 0.
    int msUntil(std::int64_t t) const;

    platform::Runtime& rt_;
    platform::VirtualLine& line_;
    UnitEngine engine_;
    LineTiming timing_;
    // Shared with the posted deliveries, which may outlive this object.
    std::shared_ptr<int> inFlight_ = std::make_shared<int>(0);
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace sonmira::unitsim
