#include "SimProcess.h"

#include <QDir>
#include <QFile>

#include <signal.h>

namespace sonmira::unitsim {

SimProcess::SimProcess() {
    hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
}

SimProcess::~SimProcess() {
    stop();
    if (hadConfigHome_) qputenv("XDG_CONFIG_HOME", savedConfigHome_);
    else qunsetenv("XDG_CONFIG_HOME");
}

QString SimProcess::program() { return QStringLiteral(SONMIRA_UNIT_SIM_PROGRAM); }

QString SimProcess::aliasDir() const { return dir_.path() + QStringLiteral("/config/sonmira/ports"); }

bool SimProcess::start(const QStringList& options) {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    proc_.setProgram(program());
    proc_.setArguments(options);
    proc_.start();
    if (!proc_.waitForStarted(5000)) {
        error_ = QStringLiteral("cannot start %1: %2").arg(program(), proc_.errorString());
        return false;
    }
    while (!proc_.canReadLine()) {
        if (!proc_.waitForReadyRead(5000)) {
            error_ = QStringLiteral("no terminal path from the simulated unit: %1")
                         .arg(QString::fromLocal8Bit(proc_.readAllStandardError()));
            return false;
        }
    }
    terminal_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();

    QDir().mkpath(aliasDir());
    QFile::link(terminal_, aliasDir() + QStringLiteral("/COM1"));
    for (int n = 2; n <= 12; ++n)
        QFile::link(dir_.path() + QStringLiteral("/absent%1").arg(n), aliasDir() + QStringLiteral("/COM%1").arg(n));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path() + QStringLiteral("/config")));
    return true;
}

int SimProcess::stop() {
    if (proc_.state() == QProcess::NotRunning) return proc_.exitStatus() == QProcess::NormalExit ? proc_.exitCode() : -1;
    ::kill(static_cast<pid_t>(proc_.processId()), SIGTERM);
    if (!proc_.waitForFinished(5000)) {
        proc_.kill();
        proc_.waitForFinished(5000);
        return -1;
    }
    return proc_.exitStatus() == QProcess::NormalExit ? proc_.exitCode() : -1;
}

} // namespace sonmira::unitsim
