#pragma once
// The open and save dialogs of the profile files. They only ask for a path:
// the extension, the existence check and the file itself are Ini_Oper's.
#include "platform/Desktop.h"

#include <QString>

#include <cstdint>

class QWidget;

namespace sonmira::settings {

// The windows that may own the dialogs and the skin flag that picks one: the
// English window when the flag is 1, the Chinese one for any other value.
struct DialogOwners {
    QWidget* bigForm = nullptr;
    QWidget* smallForm = nullptr;
    std::uint8_t useBigForm = 1;

    QWidget* owner() const { return useBigForm == 1 ? bigForm : smallForm; }
};

inline constexpr char ProfileFilter[] = "Sound Profile (*.ZSP)";

// The chosen path, or "" when the user cancels or the dialog fails. Both open
// in the program's folder; the save dialog asks before it overwrites a file.
QString ShowOpenProfileDialog(platform::Desktop& desktop, const DialogOwners& owners);
QString ShowSaveProfileDialog(platform::Desktop& desktop, const DialogOwners& owners);

} // namespace sonmira::settings
