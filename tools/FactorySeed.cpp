#include "FactorySeed.h"

#include "UnitEngine.h"
#include "settings/FactoryValues.h"

namespace sonmira::unitsim {

void seedFromSettings(UnitEngine& unit) {
    // The unit's own seed first, for what the program keeps no value of (the key).
    UnitEngine::seedFactoryValues(unit);
    settings::forEachFactoryValue([&unit](std::uint8_t group, std::uint8_t row, std::uint8_t addr, std::uint8_t v) {
        unit.setValue(group, row, addr, v);
    });
}

} // namespace sonmira::unitsim
