#pragma once
// Runs sonmira-unit-sim as a child process for end-to-end tests and the link
// benchmark, and points COM1 at its pseudo-terminal through a private alias
// folder (XDG_CONFIG_HOME), with COM2..COM12 dangling so that no real port is
// ever opened. The environment is put back when this object goes.
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace sonmira::unitsim {

class SimProcess {
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the program with these options (see sonmira-unit-sim --help) and
    // waits for its terminal path. False with a reason in error() otherwise.
    bool start(const QStringList& options = {});
    // SIGTERM and wait; the exit code, or -1 when it had to be killed.
    int stop();

    const QString& error() const { return error_; }
    const QString& terminalPath() const { return terminal_; }
    QString aliasDir() const;
    // A private folder that lives as long as this object.
    QString workDir() const { return dir_.path(); }
    qint64 pid() const { return proc_.processId(); }
    bool running() const { return proc_.state() == QProcess::Running; }
    // Standard error of the program so far (its --verbose traffic).
    QByteArray diagnostics() { return proc_.readAllStandardError(); }

    static QString program();

private:
    QTemporaryDir dir_;
    QProcess proc_;
    QString terminal_;
    QString error_;
    QByteArray savedConfigHome_;
    bool hadConfigHome_ = false;
};

} // namespace sonmira::unitsim
