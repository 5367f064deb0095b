#include "TestSupport.h"

#include <QApplication>
#include <QDir>

namespace sonmira::test {

void ensureApp() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
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
