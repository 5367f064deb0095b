#pragma once
#include "link/LinkTexts.h"

#include <QString>

namespace sonmira::settings {

// Message wording of the transfers and the reset in one skin.
struct SettingsTexts {
    QString notConnected; // Read or Upload without a link
    QString readError;    // a reply the window could not take
    QString resetDone;    // after the reset button

    static const SettingsTexts& of(link::Skin skin);
};

} // namespace sonmira::settings
