#pragma once
#include <QString>

namespace sonmira::link {

// The program-wide traffic log text and its switch. The link appends only
// while the log window is loaded (CommLogOn); the window shows the text.
struct TrafficLog {
    QString CommLog;
    bool CommLogOn = false;

    // Each line starts with a line break; there is none at the end.
    void appendLine(const QString& line) {
        if (CommLogOn) CommLog += QStringLiteral("\r\n") + line;
    }
};

} // namespace sonmira::link
