#pragma once
// A main window's surroundings on virtual time: no real port, timer or
// message box.
#include "TestSupport.h"
#include "app/MainFrm.h"
#include "platform/VirtualRuntime.h"
#include "platform/VirtualSerial.h"

#include <gtest/gtest.h>

namespace sonmira::test {

class MainFrmFixture : public ::testing::Test {
protected:
    void SetUp() override { ensureApp(); }
    platform::VirtualRuntime rt;
    platform::VirtualSerialPorts ports;
    platform::RecordingDesktop desktop;
    link::TrafficLog log;
    int ended = 0; // how often the window ended the program
    app::Services services() { return {rt, ports, desktop, log, [this] { ++ended; }}; }
};

} // namespace sonmira::test
