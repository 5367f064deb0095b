// Read, Upload and the synchronisation against the simulated unit, in virtual
// time, byte for byte.
#include "RecordingControls.h"
#include "SimLine.h"
#include "settings/FactoryValues.h"
#include "settings/Transfers.h"

#include "platform/VirtualRuntime.h"
#include "platform/VirtualSerial.h"

#include <gtest/gtest.h>

using namespace sonmira;
using namespace sonmira::settings;
using link::CommandPacket;
using platform::MsgStyle;

namespace {

struct Host final : link::LinkHost {
    QString status;
    std::function<void()> sync;
    void setStatusText(const QString& t) override { status = t; }
    void syncSelectionWithDevice() override {
        if (sync) sync();
    }
};

struct Sent {
    CommandPacket packet;
    std::int64_t atMs;
};

// The window's parts around one link and one simulated unit on COM1.
struct Rig {
    platform::VirtualRuntime rt;
    platform::VirtualSerialPorts ports;
    platform::VirtualLine line;
    platform::RecordingDesktop desktop;
    link::TrafficLog log;
    Host host;
    link::Skin skin;
    link::DeviceLink link;
    unitsim::SimLine sim;
    SettingsModel model;
    test::RecordingControls controls;
    Transfers transfers;
    std::vector<Sent> sent;

    explicit Rig(link::Skin s = link::Skin::Big)
        : skin(s), link(rt, ports, desktop, log, host, s), sim(rt, line),
          transfers(model, controls, link, desktop, s) {
        ports.attach(QStringLiteral("COM1"), &line);
        link.setProgressView(&controls);
        sim.engine().onPacket = [this](const CommandPacket& p) { sent.push_back({p, rt.nowMs()}); };
        host.sync = [this] { transfers.SyncSelectionWithDevice(); };
        // What the window's loading does.
        model.setAddressesFromTable();
        model.ResetToDefaults(controls);
        controls.enabledChanges.clear();
        controls.levelSets = 0;
    }

    // The link up on COM1 without the scan (no synchronisation, no heartbeat).
    void connect() {
        ASSERT_TRUE(link.port().OpenPort(QStringLiteral("1")));
        ASSERT_TRUE(link.port().SetupPort(9600, 8));
        link.Connected = true;
    }
    void read() {
        link.PacketsTotal = Transfers::ReadPackets;
        transfers.ReadAllFromDevice();
    }
    void upload() {
        link.PacketsTotal = Transfers::UploadPackets;
        transfers.WriteAllToDevice();
    }
    CommandPacket packet(std::size_t number) const { return sent.at(number - 1).packet; }
    unitsim::UnitEngine& unit() { return sim.engine(); }
};

CommandPacket pk(int b1, int b2, int b3, int b4, int b5) {
    return {0xCD, static_cast<std::uint8_t>(b1), static_cast<std::uint8_t>(b2), static_cast<std::uint8_t>(b3),
            static_cast<std::uint8_t>(b4), static_cast<std::uint8_t>(b5)};
}

// Puts a value other than the factory one into every preset cell of the unit.
void detuneUnitPresets(unitsim::UnitEngine& unit) {
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (const ColumnSpec& c : columns(a))
                unit.setValue(groupOf(a), wireRow(a, r), c.addr,
                              static_cast<std::uint8_t>(c.defaults[static_cast<std::size_t>(r)] ^ 1));
}

std::vector<std::uint8_t> allValues(const SettingsModel& m) {
    std::vector<std::uint8_t> v;
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (const ParamCell& c : m.row(a, r)) v.push_back(c.Value);
    return v;
}

} // namespace

// ---- Upload ---------------------------------------------------------------------

TEST(Upload, FactoryDefaultsGoOutInOrderWithThePauseAfterMuteOffAndTheCommit) {
    Rig r;
    r.connect();
    const auto before = allValues(r.model);
    r.upload();

    ASSERT_EQ(r.sent.size(), 212u);
    EXPECT_EQ(r.packet(1), pk(0x00, 0x00, 0x00, 0x00, 0x0A));
    EXPECT_EQ(r.packet(8), pk(0x00, 0x00, 0x00, 0x1D, 0x01));
    EXPECT_EQ(r.packet(109), pk(0x00, 0x01, 0x00, 0x00, 0x07)); // MIC1 57 Hz
    EXPECT_EQ(r.packet(163), pk(0x00, 0x02, 0x00, 0x52, 0x06)); // KTV1 ECHO-A REP
    EXPECT_EQ(r.packet(179), pk(0x00, 0x02, 0x14, 0x52, 0x08)); // EFF1 ECHO-A REP
    EXPECT_EQ(r.packet(198), pk(0x00, 0x02, 0x15, 0x6F, 0x50)); // EFF2 REV H_CUT 2
    EXPECT_EQ(r.packet(199), pk(0x00, 0x04, 0x00, 0x00, 0x14));
    EXPECT_EQ(r.packet(200), pk(0x00, 0x05, 0x00, 0x00, 0x50));
    EXPECT_EQ(r.packet(201), pk(0x00, 0x03, 0x00, 0x00, 0x00));
    EXPECT_EQ(r.packet(207), pk(0x00, 0x03, 0x00, 0x02, 0x00));
    EXPECT_EQ(r.packet(208), pk(0x00, 0x07, 0x00, 0x00, 0x00));
    EXPECT_GE(r.sent.at(208).atMs - r.sent.at(207).atMs, 1500);
    EXPECT_LT(r.sent.at(207).atMs - r.sent.at(206).atMs, 100);
    EXPECT_EQ(r.packet(211), pk(0x00, 0x0C, 0x00, 0x00, 0x01));
    EXPECT_EQ(r.packet(212), pk(0xEF, 0x00, 0x00, 0x00, 0x00));
    EXPECT_EQ(r.unit().commits(), 1);

    EXPECT_TRUE(r.desktop.messages.empty());
    EXPECT_EQ(r.controls.enabledChanges, (std::vector<bool>{false, true}));
    EXPECT_FALSE(r.link.ProgressActive);
    // Every fifth packet and the last: 2 after packet 5, 99 after 210, 100 after 212.
    ASSERT_EQ(r.controls.progress.size(), 43u);
    EXPECT_EQ(r.controls.progress.front(), 2);
    EXPECT_EQ(r.controls.progress[41], 99);
    EXPECT_EQ(r.controls.strip(), 100);
    EXPECT_EQ(allValues(r.model), before);
    EXPECT_EQ(r.controls.levelSets, 0);
}

TEST(Upload, NotConnectedSendsNothing) {
    for (auto skin : {link::Skin::Big, link::Skin::Small}) {
        Rig r(skin);
        r.upload();
        EXPECT_TRUE(r.sent.empty());
        ASSERT_EQ(r.desktop.messages.size(), 1u);
        EXPECT_EQ(r.desktop.messages[0].style, MsgStyle::Exclamation);
        EXPECT_EQ(r.desktop.messages[0].text, SettingsTexts::of(skin).notConnected);
        EXPECT_TRUE(r.controls.enabledChanges.empty());
    }
    EXPECT_EQ(SettingsTexts::of(link::Skin::Small).notConnected, QStringLiteral(u"还没有连接到目标机。"));
}

TEST(Upload, LinkLossAtPacket100StopsWithoutCommit) {
    Rig r;
    r.connect();
    r.unit().faults().commandLimit = 99;
    r.upload();
    EXPECT_EQ(r.sent.size(), 100u);
    EXPECT_EQ(r.unit().commits(), 0);
    ASSERT_EQ(r.desktop.messages.size(), 1u);
    EXPECT_EQ(r.desktop.messages[0].text, r.link.texts().timeoutMessage);
    EXPECT_FALSE(r.link.Connected);
    EXPECT_EQ(r.controls.strip(), 47);
    EXPECT_TRUE(r.controls.enabled);
    EXPECT_FALSE(r.link.ProgressActive);
}

TEST(Upload, SwitchesAndUnappliedBoxesGoOutAsTheControlsHoldThem) {
    Rig r;
    r.connect();
    r.controls.muteOn = true;
    r.controls.lockOn = true;
    r.controls.exciterOn = true;
    r.controls.input = {false, false, false};
    r.controls.column.setText(1, "33"); // typed, not applied: red
    r.model.MusicParams[0][0].Value = 200;   // above the column's maximum
    r.upload();
    ASSERT_EQ(r.sent.size(), 212u);
    EXPECT_EQ(r.packet(1), pk(0x00, 0x00, 0x00, 0x00, 200));
    EXPECT_EQ(r.packet(200), pk(0x00, 0x05, 0x00, 0x00, 80));
    EXPECT_EQ(r.packet(208), pk(0x00, 0x07, 0x00, 0x00, 0x01));
    EXPECT_LT(r.sent.at(208).atMs - r.sent.at(207).atMs, 100); // mute on: no pause
    EXPECT_EQ(r.packet(209), pk(0x00, 0x08, 0x00, 0x00, 0x01));
    EXPECT_EQ(r.packet(210), pk(0x00, 0x0A, 0x00, 0x00, 0x01));
    EXPECT_EQ(r.packet(211), pk(0x00, 0x0C, 0x00, 0x00, 0x03));
    EXPECT_EQ(r.controls.column.text(1), "33");
}

// ---- Read -----------------------------------------------------------------------

TEST(Read, RequestsInOrderAndRepliesStored) {
    Rig r;
    r.connect();
    detuneUnitPresets(r.unit());
    r.unit().setValue(link::GroupMute, 0, 0, 2);
    r.unit().setValue(link::GroupLock, 0, 0, 0xFF);
    r.unit().setValue(link::GroupExciter, 0, 0, 1);
    r.unit().setValue(link::GroupInput, 0, 0, 2);
    r.unit().setValue(link::GroupLevelMax, 0, 0, 40);
    r.unit().setValue(link::GroupLevelMode, 0, 2, 5);
    r.controls.level[0] = 60;
    std::vector<std::uint8_t> shownAtRefresh;
    r.controls.onRefresh = [&] { shownAtRefresh.push_back(r.model.selectedEffectRow()[0].Value); };

    r.read();

    ASSERT_EQ(r.sent.size(), 211u);
    EXPECT_EQ(r.packet(1), pk(0x01, 0x00, 0x00, 0x00, 0x00));
    EXPECT_EQ(r.packet(179), pk(0x01, 0x02, 0x14, 0x52, 0x00));
    EXPECT_EQ(r.packet(199), pk(0x01, 0x07, 0x00, 0x00, 0x00));
    EXPECT_EQ(r.packet(203), pk(0x01, 0x04, 0x00, 0x00, 0x00));
    EXPECT_EQ(r.packet(211), pk(0x01, 0x03, 0x00, 0x02, 0x00));
    EXPECT_EQ(r.model.MusicParams[5][17].Value, 1);
    EXPECT_EQ(r.model.MicParams[1][8].Value, 2);
    EXPECT_EQ(r.model.EffParams[1][9].Value, 81);
    EXPECT_EQ(shownAtRefresh, std::vector<std::uint8_t>{7}); // KTV1 ECHO-A REP 6 ^ 1
    EXPECT_TRUE(r.controls.muteOn);
    EXPECT_TRUE(r.controls.lockOn);
    EXPECT_TRUE(r.controls.exciterOn);
    EXPECT_EQ(r.controls.input, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(r.controls.column.spinnerValue(1), 40);
    EXPECT_EQ(r.controls.level[0], 40); // lowered by the applied maximum
    EXPECT_EQ(r.controls.column.text(8), "EFF2");
    EXPECT_TRUE(r.desktop.messages.empty());
    ASSERT_EQ(r.controls.progress.size(), 43u);
    EXPECT_EQ(r.controls.progress[41], 99); // request 210
    EXPECT_EQ(r.controls.strip(), 100);
    EXPECT_EQ(r.controls.enabledChanges, (std::vector<bool>{false, true}));
}

TEST(Read, NotConnectedLeavesEverythingAlone) {
    Rig r(link::Skin::Small);
    r.read();
    EXPECT_TRUE(r.sent.empty());
    ASSERT_EQ(r.desktop.messages.size(), 1u);
    EXPECT_EQ(r.desktop.messages[0].text, QStringLiteral(u"还没有连接到目标机。"));
    EXPECT_TRUE(r.controls.progress.empty());
    EXPECT_TRUE(r.controls.enabledChanges.empty());
}

TEST(Read, LinkLossAtRequest150KeepsWhatCameAndReportsOnce) {
    Rig r;
    r.connect();
    detuneUnitPresets(r.unit());
    r.unit().faults().commandLimit = 149;
    const int refreshes = r.controls.refreshes;
    r.read();

    EXPECT_EQ(r.sent.size(), 150u);
    ASSERT_EQ(r.desktop.messages.size(), 1u);
    EXPECT_EQ(r.desktop.messages[0].style, MsgStyle::Exclamation);
    EXPECT_EQ(r.desktop.messages[0].text, r.link.texts().timeoutMessage);
    EXPECT_EQ(r.model.MusicParams[5][17].Value, 1);
    EXPECT_EQ(r.model.MicParams[3][8].Value, 7);  // MIC4 new
    EXPECT_EQ(r.model.MicParams[4][4].Value, 11); // MIC5 column 4 new
    EXPECT_EQ(r.model.MicParams[4][5].Value, 10); // column 5 never came
    EXPECT_EQ(r.controls.refreshes, refreshes);   // the faders still show the old values
    EXPECT_TRUE(r.controls.enabled);
    EXPECT_FALSE(r.link.ProgressActive);
}

TEST(Read, ModeOutOfRangeStopsWithTheCriticalMessage) {
    for (auto skin : {link::Skin::Big, link::Skin::Small}) {
        Rig r(skin);
        r.connect();
        r.unit().setValue(link::GroupLevelMin, 0, 0, 25);
        r.unit().setValue(link::GroupLevelMax, 0, 0, 70);
        r.unit().setValue(link::GroupLevelMode, 0, 0, 6);
        r.unit().setValue(link::GroupLevelMin, 0, 1, 11);
        r.read();

        EXPECT_EQ(r.sent.size(), 198u + 4u + 3u);
        ASSERT_EQ(r.desktop.messages.size(), 1u);
        EXPECT_EQ(r.desktop.messages[0].style, MsgStyle::Critical);
        EXPECT_EQ(r.desktop.messages[0].text, SettingsTexts::of(skin).readError);
        const VolumeColumn& vc = r.controls.column;
        EXPECT_EQ(vc.spinnerValue(0), 25);
        EXPECT_EQ(vc.spinnerValue(1), 70);
        EXPECT_EQ(vc.spinnerValue(2), 0);
        EXPECT_EQ(vc.text(2), "MUS1");
        EXPECT_EQ(vc.spinnerValue(3), 30); // the microphone keeps its values
        EXPECT_TRUE(r.controls.enabled);
        EXPECT_TRUE(r.link.Connected);
    }
    EXPECT_EQ(SettingsTexts::of(link::Skin::Small).readError, QStringLiteral(u"从机器读数据时出错！"));
}

TEST(Read, MaximumAbove80IsRefusedAndTheBoxShowsItsSpinner) {
    Rig r;
    r.connect();
    r.unit().setValue(link::GroupLevelMax, 0, 1, 90);
    r.read();
    EXPECT_EQ(r.sent.size(), 198u + 4u + 3u + 2u);
    ASSERT_EQ(r.desktop.messages.size(), 1u);
    EXPECT_EQ(r.desktop.messages[0].style, MsgStyle::Critical);
    EXPECT_EQ(r.controls.column.spinnerValue(4), 80);
    EXPECT_EQ(r.controls.column.text(4), "80");
    EXPECT_NE(r.controls.column.colour(4), BoxColour::Red);
}

TEST(Read, InputOfThreeOrMoreClearsEveryOptionAndUploadSendsThree) {
    Rig r;
    r.connect();
    r.unit().setValue(link::GroupInput, 0, 0, 7);
    r.read();
    EXPECT_EQ(r.controls.input, (std::array<bool, 3>{false, false, false}));
    r.sent.clear();
    r.upload();
    EXPECT_EQ(r.packet(211), pk(0x00, 0x0C, 0x00, 0x00, 0x03));
}

// ---- Round trip -----------------------------------------------------------------

TEST(RoundTrip, UploadResetReadBringsEverythingBack) {
    Rig r;
    r.connect();
    r.model.MusicRow = 2;
    r.model.EffectCode = 20;
    int n = 0;
    for (PresetArray a : AllPresetArrays)
        for (int row = 0; row < rowCount(a); ++row)
            // 0xFC and 0xFE never come back as data, so stay below them.
            for (ParamCell& c : r.model.row(a, row)) c.Value = static_cast<std::uint8_t>((n++ * 7 + 3) % 250);
    auto& c = r.controls;
    c.muteOn = true;
    c.lockOn = true;
    c.exciterOn = true;
    c.input = {true, false, false};
    VolumeColumn& vc = c.column;
    const std::array<int, 9> column{12, 66, 3, 5, 44, 5, 36, 79, 6};
    for (int ch = 0; ch < 3; ++ch) {
        vc.setText(3 * ch + 1, QString::number(column[static_cast<std::size_t>(3 * ch + 1)]));
        ASSERT_TRUE(vc.ApplyLevelText(3 * ch + 1));
        vc.setText(3 * ch, QString::number(column[static_cast<std::size_t>(3 * ch)]));
        ASSERT_TRUE(vc.ApplyLevelText(3 * ch));
        ASSERT_TRUE(vc.setSpinnerValue(3 * ch + 2, column[static_cast<std::size_t>(3 * ch + 2)]));
    }
    const auto values = allValues(r.model);

    r.upload();
    ASSERT_EQ(r.unit().commits(), 1);
    r.model.ResetToDefaults(c);
    ASSERT_NE(allValues(r.model), values);
    r.read();

    EXPECT_TRUE(r.desktop.messages.empty());
    EXPECT_EQ(allValues(r.model), values);
    EXPECT_EQ(r.model.MusicRow, 2);
    EXPECT_TRUE(c.muteOn);
    EXPECT_TRUE(c.lockOn);
    EXPECT_TRUE(c.exciterOn);
    EXPECT_EQ(c.input, (std::array<bool, 3>{true, false, false}));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(vc.spinnerValue(i), column[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(vc.text(8), "EFF3");
}

// ---- Synchronisation after connecting -----------------------------------------

TEST(Sync, StartSelectionThroughTheScan) {
    Rig r;
    r.unit().setValue(link::GroupLevel, 0, 1, 33);
    r.unit().setValue(link::GroupMute, 0, 0, 5);
    ASSERT_TRUE(r.link.ConnectTarget());
    ASSERT_EQ(r.sent.size(), 1u + 42u);
    EXPECT_EQ(r.sent[0].packet[1], link::CmdModelQuery);
    EXPECT_EQ(r.packet(2), pk(0x02, 0x00, 0x00, 0x00, 0x0A));
    EXPECT_EQ(r.packet(1 + 28), pk(0x02, 0x02, 0x00, 0x52, 0x06));
    EXPECT_EQ(r.packet(1 + 36), pk(0x01, 0x06, 0x00, 0x00, 0x00));
    EXPECT_EQ(r.packet(1 + 42), pk(0x01, 0x0C, 0x00, 0x00, 0x00));
    EXPECT_EQ(r.link.PacketsTotal, 42);
    EXPECT_EQ(r.controls.progress, (std::vector<int>{11, 23, 35, 47, 59, 71, 83, 95, 100}));
    EXPECT_EQ(r.controls.level, (std::array<int, 3>{20, 33, 36}));
    EXPECT_TRUE(r.controls.muteOn);
    EXPECT_EQ(r.controls.input, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(r.controls.enabledChanges, (std::vector<bool>{false, true}));
    EXPECT_FALSE(r.link.ProgressActive);
    EXPECT_TRUE(r.desktop.messages.empty());
}

TEST(Sync, EffectProgramDecidesTheCount) {
    {
        Rig r;
        r.connect();
        r.model.EffectCode = 21;
        r.transfers.SyncSelectionWithDevice();
        ASSERT_EQ(r.sent.size(), 44u);
        EXPECT_EQ(r.link.PacketsTotal, 44);
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(r.packet(28 + static_cast<std::size_t>(k)),
                      pk(0x02, 0x02, 21, r.model.EffParams[1][static_cast<std::size_t>(k)].Addr,
                         r.model.EffParams[1][static_cast<std::size_t>(k)].Value));
        EXPECT_EQ(r.packet(38)[2], link::GroupLevel);
    }
    {
        Rig r;
        r.connect();
        r.model.EffectCode = 1;
        r.model.MusicRow = 4;
        r.transfers.SyncSelectionWithDevice();
        ASSERT_EQ(r.sent.size(), 42u);
        EXPECT_EQ(r.packet(1)[3], 4);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(r.packet(28 + static_cast<std::size_t>(k)),
                      pk(0x02, 0x02, 1, r.model.KtvParams[1][static_cast<std::size_t>(k)].Addr,
                         r.model.KtvParams[1][static_cast<std::size_t>(k)].Value));
    }
}

TEST(Sync, LevelsAreBoundByTheMaxBoxAsShown) {
    Rig r;
    r.connect();
    r.unit().setValue(link::GroupLevel, 0, 0, 90);
    r.unit().setValue(link::GroupLevel, 0, 1, 5); // below the minimum: kept
    r.controls.column.setText(1, "70");           // typed, not applied
    r.transfers.SyncSelectionWithDevice();
    EXPECT_EQ(r.controls.level[0], 70);
    EXPECT_EQ(r.controls.level[1], 5);
    EXPECT_EQ(r.sent.size(), 42u);
}

TEST(Sync, MaxBoxWithoutNumberEndsSilentlyAtTheLevels) {
    Rig r;
    r.connect();
    r.unit().setValue(link::GroupLevel, 0, 0, 77);
    r.controls.column.setText(1, "");
    r.controls.muteOn = true;
    r.transfers.SyncSelectionWithDevice();
    EXPECT_EQ(r.sent.size(), 27u + 8u + 1u);
    EXPECT_EQ(r.controls.level[0], 77);
    EXPECT_TRUE(r.controls.muteOn);
    EXPECT_TRUE(r.desktop.messages.empty());
    EXPECT_TRUE(r.controls.enabled);
}

TEST(Sync, TimeoutOnTheFirstWrite) {
    Rig r;
    r.unit().faults().commandLimit = 1; // answers the model query only
    r.link.ConnectTarget();
    EXPECT_EQ(r.sent.size(), 2u);
    ASSERT_EQ(r.desktop.messages.size(), 1u);
    EXPECT_EQ(r.desktop.messages[0].text, r.link.texts().timeoutMessage);
    EXPECT_FALSE(r.link.Connected);
    EXPECT_EQ(r.controls.enabledChanges, (std::vector<bool>{false, true}));
    EXPECT_FALSE(r.link.ProgressActive);
}

TEST(Read, StopsSendingOnceTheWatchdogHasDroppedTheLink) {
    Rig r;
    r.connect();
    // The heartbeat's watchdog drops the link between two requests.
    r.controls.onRefresh = [&] { r.link.Timer4_Timer(); };
    r.read();
    EXPECT_EQ(r.sent.size(), 198u);
    EXPECT_EQ(r.desktop.messages.size(), 1u);
    EXPECT_TRUE(r.controls.enabled);
}
