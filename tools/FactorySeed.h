#pragma once
// Seeds a simulated unit with the program's own factory values, so that the
// unit and a freshly started program agree on every value.
namespace sonmira::unitsim {

class UnitEngine;

void seedFromSettings(UnitEngine& unit);

} // namespace sonmira::unitsim
