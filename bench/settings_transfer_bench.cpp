// Read and Upload against sonmira-unit-sim on a pseudo-terminal at 9600 baud,
// on the real Qt event loop: wall time and this program's CPU time for each,
// beside the limit the line and the 15 ms receive poll set.
//
// Usage: settings_transfer_bench [path-to-sonmira-unit-sim]
#include "RecordingControls.h"
#include "link/DeviceLink.h"
#include "platform/QtRuntime.h"
#include "platform/QtSerial.h"
#include "settings/Transfers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <ctime>

using namespace sonmira;
using namespace sonmira::settings;

namespace {

struct Host final : link::LinkHost {
    void setStatusText(const QString&) override {}
};

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Six bytes out and one back at ten bit times a byte, plus one receive poll.
constexpr double TransactionLimitS = 7 * 10.0 / 9600 + 0.015;

struct Result {
    double wall = 0, cpu = 0;
};

template <typename F>
Result measure(F&& run) {
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    run();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), cpuSeconds() - c0};
}

void report(const char* name, int packets, double extraS, const Result& r) {
    const double limit = packets * TransactionLimitS + extraS;
    std::printf("%-7s %3d packets  wall %6.3f s  limit %6.3f s  ratio %.2f  cpu %6.3f s (%.1f %% of one core)\n",
                name, packets, r.wall, limit, r.wall / limit, r.cpu, 100.0 * r.cpu / r.wall);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString simPath = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SONMIRA_UNIT_SIM);

    QTemporaryDir work;
    if (!work.isValid()) return 1;
    const QString unitPath = work.filePath(QStringLiteral("unit"));
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(simPath, {QStringLiteral("--link"), unitPath});
    if (!sim.waitForStarted(5000)) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(simPath));
        return 1;
    }
    for (int i = 0; i < 100 && !QFile::exists(unitPath); ++i) QThread::msleep(50);

    // COM1 points at the simulated unit through a private alias folder; no
    // other port is opened.
    const QString config = work.filePath(QStringLiteral("config"));
    QDir().mkpath(config + QStringLiteral("/sonmira/ports"));
    QFile::link(unitPath, config + QStringLiteral("/sonmira/ports/COM1"));
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());

    platform::QtRuntime rt;
    platform::QtSerialPorts ports;
    platform::RecordingDesktop desktop;
    link::TrafficLog log;
    Host host;
    link::DeviceLink link(rt, ports, desktop, log, host);
    SettingsModel model;
    test::RecordingControls controls;
    Transfers transfers(model, controls, link, desktop, link::Skin::Big);
    model.setAddressesFromTable();
    model.ResetToDefaults(controls);

    int status = 0;
    if (!link.port().OpenPort(QStringLiteral("1")) || !link.port().SetupPort(9600, 8)) {
        std::fprintf(stderr, "cannot open the simulated unit's terminal\n");
        status = 1;
    } else {
        link.Connected = true;
        model.MusicParams[3][4].Value = 17;
        const Result up = measure([&] {
            link.PacketsTotal = Transfers::UploadPackets;
            transfers.WriteAllToDevice();
        });
        model.ResetToDefaults(controls);
        const Result rd = measure([&] {
            link.PacketsTotal = Transfers::ReadPackets;
            transfers.ReadAllFromDevice();
        });
        report("Upload", Transfers::UploadPackets, link::DeviceLink::LongWaitPauseMs / 1000.0, up);
        report("Read", Transfers::ReadPackets, 0, rd);
        if (!desktop.messages.empty() || model.MusicParams[3][4].Value != 17) {
            std::fprintf(stderr, "the transfers did not complete cleanly\n");
            status = 1;
        }
        link.ClosePort();
    }
    sim.terminate();
    sim.waitForFinished(5000);
    return status;
}
