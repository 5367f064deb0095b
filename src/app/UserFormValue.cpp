#include "UserFormValue.h"

#include <QCoreApplication>

namespace sonmira::app {

std::uint8_t UseBigForm = 0;

link::TrafficLog& programLog() {
    static link::TrafficLog log;
    return log;
}

void NameTheProgram() { QCoreApplication::setApplicationName(QStringLiteral("Sonmira")); }

bool StartupChecks(platform::Desktop& desktop) {
    const platform::ScreenMetrics m = desktop.screen();
    if (m.twipsPerPixelX != 15.0f) {
        desktop.messageBox(platform::MsgStyle::Exclamation,
                           QStringLiteral("Keep your computer current DPI change 96DPI, in order to avoid the "
                                          "software displays an exception, click OK to exit this application."));
        return false;
    }
    const QString tooLow = QStringLiteral(
        "Your computer monitor resolution is too low, at least 930 * 560 to the normal display of the "
        "program interface, click OK to exit.");
    const float width = m.widthTwips / m.twipsPerPixelX;
    if (!(width >= static_cast<float>(MinScreenWidth))) {
        desktop.messageBox(platform::MsgStyle::Exclamation, tooLow);
        return false;
    }
    const float height = m.twipsPerPixelY != 0.0f ? m.heightTwips / m.twipsPerPixelY : 0.0f;
    if (!(height >= static_cast<float>(MinScreenHeight))) {
        desktop.messageBox(platform::MsgStyle::Exclamation, tooLow);
        return false;
    }
    UseBigForm = 1;
    return true;
}

} // namespace sonmira::app
