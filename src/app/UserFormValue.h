#pragma once
// Program-wide values and the start-up checks.
#include "link/TrafficLog.h"
#include "platform/Desktop.h"

#include <cstdint>

namespace sonmira::app {

// Language skin flag: 1 means the English window owns the profile dialogs.
extern std::uint8_t UseBigForm;

// The traffic log text and its switch, shared by the link and the log window.
link::TrafficLog& programLog();

inline constexpr int MinScreenWidth = 930;
inline constexpr int MinScreenHeight = 560;

// Names the program, the title its message boxes show. Given as the
// application's name, not as a display name of its own: on X11 the toolkit
// appends a display name to every other window's title.
void NameTheProgram();

// The display checks of the start-up. Shows the message of the first check
// that fails and returns false; on success sets UseBigForm and returns true.
bool StartupChecks(platform::Desktop& desktop);

} // namespace sonmira::app
