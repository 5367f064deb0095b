// The program on the Qt backend finds sonmira-unit-sim on a pseudo-terminal
// through a COM alias, keeps the link over heartbeats, and reports the loss
// when the unit goes away. Real time: about half a minute.
#include "TestSupport.h"
#include "app/MainFrm.h"
#include "platform/QtRuntime.h"
#include "platform/QtSerial.h"
#include "SimProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

using namespace sonmira;

namespace {

bool pumpUntil(const std::function<bool()>& pred, int ms) {
    QDeadlineTimer deadline(ms);
    while (!pred()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

TEST(ProgramEndToEnd, FindsTheSimulatedUnitKeepsItAndReportsItsLoss) {
    test::ensureApp();
    unitsim::SimProcess sim; // COM1 -> its terminal, COM2..12 absent
    ASSERT_TRUE(sim.start()) << sim.error().toStdString();

    platform::QtRuntime rt;
    platform::QtSerialPorts ports;
    platform::RecordingDesktop desktop;
    link::TrafficLog log;
    app::MainFrm w({rt, ports, desktop, log, [] {}}, link::Skin::Big);
    w.show();
    w.Form_Load();
    w.showTrafficLog();

    ASSERT_TRUE(pumpUntil([&] { return w.statusText() == QStringLiteral("Successful connection"); }, 10000));
    // Two heartbeats, both echoed.
    ASSERT_TRUE(pumpUntil([&] { return log.CommLog.count(QStringLiteral("Recv: FC")) >= 2; }, 12000));
    EXPECT_TRUE(w.link().Connected);
    EXPECT_GE(log.CommLog.count(QStringLiteral("Send: FC")), 2);
    EXPECT_TRUE(desktop.messages.empty());

    sim.stop();
    ASSERT_TRUE(pumpUntil([&] { return !desktop.messages.empty(); }, 12000));
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("Target communication and connection timeout, disconnected."));
    EXPECT_FALSE(w.link().Connected);
    // Scanning goes on and finds nothing.
    ASSERT_TRUE(pumpUntil([&] { return w.statusText() == QStringLiteral("Not connected"); }, 5000));
    delete w.trafficLogWindow();
}

} // namespace
