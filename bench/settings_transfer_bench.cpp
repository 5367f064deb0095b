// Read and Upload against sonmira-unit-sim on a pseudo-terminal at 9600 baud,
// on the real Qt event loop: wall time and this program's CPU time for each,
// beside the limit the line and the 15 ms receive poll set.
//
// Usage: settings_transfer_bench [sonmira-unit-sim options]
#include "RecordingControls.h"
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "platform/QtRuntime.h"
#include "platform/QtSerial.h"
#include "settings/Transfers.h"

#include <QCoreApplication>

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
    unitsim::SimProcess sim;
    if (!sim.start(app.arguments().mid(1))) {
        std::fprintf(stderr, "settings_transfer_bench: %s\n", qPrintable(sim.error()));
        return 1;
    }

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

    // COM1 is the simulated unit's terminal; no other port is opened.
    if (!link.port().OpenPort(QStringLiteral("1")) || !link.port().SetupPort(9600, 8)) {
        std::fprintf(stderr, "settings_transfer_bench: cannot open the simulated unit's terminal\n");
        return 1;
    }
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
    link.ClosePort();
    if (!desktop.messages.empty() || model.MusicParams[3][4].Value != 17) {
        std::fprintf(stderr, "settings_transfer_bench: the transfers did not complete cleanly\n");
        return 1;
    }
    return 0;
}
