#pragma once
#include "Serial.h"

#include <QStringList>

namespace sonmira::platform {

// Where a COM name points on this machine. On Windows the name itself. On
// Linux a per-user alias (a symlink $XDG_CONFIG_HOME/sonmira/ports/COMn, or
// ~/.config/sonmira/ports/COMn) wins; otherwise the default table:
//   COM1..COM4  -> /dev/ttyS0..3      built-in ports
//   COM5..COM8  -> /dev/ttyUSB0..3    USB serial adapters
//   COM9..COM12 -> /dev/ttyACM0..3    USB CDC adapters
// Empty when the name is not COMn with n >= 1.
QString systemPortFor(const QString& comName);

// The alias folder used by systemPortFor.
QString portAliasDir();

// Serial ports through Qt Serial Port (real devices and pseudo-terminals alike).
class QtSerialPorts final : public SerialPorts {
public:
    std::unique_ptr<SerialDevice> open(const QString& comName) override;
};

} // namespace sonmira::platform
