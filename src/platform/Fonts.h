#pragma once
// What the desktop's font configuration prefers, for the fonts a window
// description names but the system does not have.
#include <QString>

namespace sonmira::platform {

// The family the system's font configuration prefers for text of a language
// ("zh-cn", "ja"), as the user or the distribution has set it; "" where there
// is no font configuration to ask.
QString preferredFamily(const QString& language);

} // namespace sonmira::platform
