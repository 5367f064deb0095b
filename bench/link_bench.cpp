// Link benchmark: 211 read transactions (one full Read from the unit) through
// DeviceLink on Qt's event loop, against sonmira-unit-sim on a pseudo-terminal
// at 9600 baud. Prints the time per transaction beside what the line and the
// 15 ms receive poll allow, and the CPU the process used while it waited.
//   bench_link [sonmira-unit-sim options]
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "platform/Desktop.h"
#include "platform/QtRuntime.h"
#include "platform/QtSerial.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <cstdio>

using namespace sonmira;
using namespace sonmira::link;

namespace {

struct BenchHost final : LinkHost {
    void setStatusText(const QString&) override {}
};

double cpuSeconds(int who = RUSAGE_SELF) {
    rusage ru{};
    getrusage(who, &ru);
    const auto sec = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6; };
    return sec(ru.ru_utime) + sec(ru.ru_stime);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList simOptions = app.arguments().mid(1);

    unitsim::SimProcess sim;
    if (!sim.start(simOptions)) {
        std::fprintf(stderr, "bench_link: %s\n", qPrintable(sim.error()));
        return 1;
    }
    platform::QtRuntime rt;
    platform::QtSerialPorts ports;
    platform::RecordingDesktop desktop;
    TrafficLog log;
    BenchHost host;
    DeviceLink dev(rt, ports, desktop, log, host);
    if (!dev.ConnectTarget()) {
        std::fprintf(stderr, "bench_link: the simulated unit was not found on COM1\n");
        return 1;
    }

    constexpr int Transactions = 211; // the packets of one Read
    const auto readOne = [&](int i) {
        return dev.SendCommand(true, 1, CmdRead, GroupMusic, static_cast<std::uint8_t>(i % 6),
                               static_cast<std::uint8_t>(i % 30), 0, false);
    };
    for (int i = 0; i < 5; ++i) readOne(i); // settle the poll's phase

    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    int failed = 0;
    for (int i = 0; i < Transactions; ++i)
        if (!readOne(i)) ++failed;
    const double wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    const double cpuMs = (cpuSeconds() - cpu0) * 1e3;

    const double lineMs = 7 * 10 * 1000.0 / 9600; // 6 bytes out, 1 back, 8N1
    const double pollMs = 15;
    const double limitMs = lineMs + pollMs;
    const double perMs = wallMs / Transactions;
    const double cpuShare = 100.0 * cpuMs / wallMs;
    std::printf("link benchmark: %d read transactions over a pty at 9600 baud\n", Transactions);
    std::printf("  total              %9.1f ms\n", wallMs);
    std::printf("  per transaction    %9.2f ms\n", perMs);
    std::printf("  line-rate limit    %9.2f ms (7 bytes at 9600 baud 8N1)\n", lineMs);
    std::printf("  limit + 15 ms poll %9.2f ms; ratio %.2f (target 1.20 at most)\n", limitMs, perMs / limitMs);
    std::printf("  CPU while waiting  %9.1f ms = %.2f %% of one core (target under 5 %%)\n", cpuMs, cpuShare);
    dev.ClosePort();
    sim.stop();
    std::printf("  simulated unit CPU %9.1f ms over its whole run\n", cpuSeconds(RUSAGE_CHILDREN) * 1e3);
    if (failed) std::printf("  FAILED transactions: %d\n", failed);
    const bool ok = failed == 0 && perMs <= 1.2 * limitMs && cpuShare < 5.0;
    std::printf("  %s\n", ok ? "within target" : "OUTSIDE TARGET");
    return ok ? 0 : 3;
}
