#pragma once
// Every value a unit fresh from the factory holds, keyed as the commands
// address it, from the one column table and the volume column's defaults. The
// simulated unit seeds itself from this.
#include <cstdint>
#include <functional>

namespace sonmira::settings {

using FactoryValueSink =
    std::function<void(std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t value)>;

// Preset cells (groups 0 to 2, EFF rows as 20 and 21), the volume column's
// minimum, maximum and mode (groups 4, 5, 3), the live levels at their minima
// (group 6), mute, lock and exciter off, input BGM.
void forEachFactoryValue(const FactoryValueSink& sink);

} // namespace sonmira::settings
