// The main window with its link, model and value-holding controls on virtual
// time against the simulated unit: the scan and the synchronisation after
// connecting.
#include "SimLine.h"
#include "TestSupport.h"
#include "app/MainFrm.h"
#include "platform/VirtualRuntime.h"
#include "platform/VirtualSerial.h"

#include <gtest/gtest.h>

using namespace sonmira;

namespace {

class MainWindowLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureApp();
        ports.attach(QStringLiteral("COM2"), &line);
        window = std::make_unique<app::MainFrm>(app::Services{rt, ports, desktop, log, [] {}}, link::Skin::Big);
    }
    platform::VirtualRuntime rt;
    platform::VirtualSerialPorts ports;
    platform::VirtualLine line;
    unitsim::SimLine unit{rt, line};
    platform::RecordingDesktop desktop;
    link::TrafficLog log;
    std::unique_ptr<app::MainFrm> window;
};

TEST_F(MainWindowLinkTest, ConnectingWritesTheSelectedPresetsAndReadsTheSwitchesBack) {
    unit.engine().setValue(link::GroupLevel, 0, 1, 44); // microphone level
    unit.engine().setValue(link::GroupMute, 0, 0, 1);
    unit.engine().setValue(link::GroupInput, 0, 0, 2);
    int packets = 0;
    unit.engine().onPacket = [&](const link::CommandPacket&) { ++packets; };
    window->Form_Load();
    ASSERT_TRUE(rt.runUntil([&] { return window->link().Connected && window->isEnabled() && packets >= 43; }, 20000));
    EXPECT_EQ(window->statusText(), QStringLiteral("Successful connection"));
    EXPECT_EQ(packets, 1 + 42); // the model query, then the synchronisation
    EXPECT_EQ(window->controls().levelFaderValue(1), 44);
    EXPECT_TRUE(window->controls().mute());
    EXPECT_FALSE(window->controls().inputOption(1));
    EXPECT_TRUE(window->controls().inputOption(2));
    EXPECT_TRUE(desktop.messages.empty());
}

} // namespace
