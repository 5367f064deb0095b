#include "TestSupport.h"

#include <QApplication>
#include <QDir>

namespace sonmira::test {

void ensureApp() {
    if (QCoreApplication::instance()) return;
    // Offscreen, on a screen as large as the recording desktop reports, so
    // that the 932-pixel main window fits and its centring shows both ways.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" SONMIRA_OFFSCREEN_SCREEN);
    static int argc = 1;
    static char name[] = "sonmira-tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole test run
}

QString outputDir() {
    QString d = qEnvironmentVariable("SONMIRA_TEST_OUTPUT");
    if (d.isEmpty()) d = QStringLiteral(SONMIRA_TEST_OUTPUT_DIR);
    QDir().mkpath(d);
    return d;
}

} // namespace sonmira::test
