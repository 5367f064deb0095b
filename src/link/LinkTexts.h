#pragma once
#include <QString>

namespace sonmira::link {

// The two language skins of the main window: Big is English, Small Chinese.
enum class Skin { Big, Small };

// Status, message and log wording of the link in one skin.
struct LinkTexts {
    QString notConnected;
    QString connected;
    QString typeMismatch;
    QString timeoutMessage;
    QString sendPrefix;  // before the six packet bytes
    QString heartbeatLine;
    QString recvPrefix;  // before one received byte
    QString logHint;     // the text the main window's loading puts into the log

    static const LinkTexts& of(Skin skin);
};

} // namespace sonmira::link
