// The preset selectors, the preset faders, the music switches and the level
// faders of the main window, on virtual time against the simulated unit: what
// each stores in the model, what it writes to the unit byte for byte, and what
// it locks while its write waits.
#include "MainFrmFixture.h"
#include "SimLine.h"
#include "controls/C_ComboBox.h"
#include "controls/C_FlagBar.h"
#include "controls/C_ScrollBar.h"

using namespace sonmira;
using controls::C_ScrollBar;
using link::CommandPacket;
using settings::PresetArray;

namespace {

CommandPacket pk(int group, int row, int addr, int value) {
    return {0xCD, 0x02, static_cast<std::uint8_t>(group), static_cast<std::uint8_t>(row),
            static_cast<std::uint8_t>(addr), static_cast<std::uint8_t>(value)};
}

const QString Timeout = QStringLiteral("Target communication and connection timeout, disconnected.");

class PresetWiringTest : public test::MainFrmFixture {
protected:
    void SetUp() override {
        MainFrmFixture::SetUp();
        window = std::make_unique<app::MainFrm>(services(), link::Skin::Big);
        unit.engine().onPacket = [this](const CommandPacket& p) {
            sent.push_back(p);
            if (watch) watched.push_back(watch());
        };
    }

    // Loads the window and waits until the scan has found the unit and the
    // synchronisation has ended; forgets what that sent.
    void loadConnected() {
        ports.attach(QStringLiteral("COM1"), &line);
        window->Form_Load();
        ASSERT_TRUE(rt.runUntil([&] { return window->link().Connected && window->isEnabled() && sent.size() >= 43; },
                                20000));
        sent.clear();
    }
    // Loads the window with no unit on the line.
    void loadUnconnected() {
        window->Form_Load();
        rt.advance(300);
        ASSERT_FALSE(window->link().Connected);
    }

    C_ScrollBar* fader(const char* name, int index) const {
        return window->loaded().require<C_ScrollBar>(QLatin1String(name), index);
    }
    controls::C_ComboBox* selector(int n) const {
        return window->loaded().require<controls::C_ComboBox>(QStringLiteral("C_ComboBox%1").arg(n));
    }
    // What the user's drag does to the fader: a new value, then Scroll.
    static void drag(C_ScrollBar* f, int value) {
        f->setValue(value);
        emit f->Scroll();
    }
    settings::SettingsModel& model() { return window->model(); }

    platform::VirtualLine line;
    unitsim::SimLine unit{rt, line};
    std::unique_ptr<app::MainFrm> window;
    std::vector<CommandPacket> sent;
    // Sampled at every packet the unit receives, while the handler waits.
    std::function<bool()> watch;
    std::vector<bool> watched;
};

// ---- preset selectors -------------------------------------------------------------

TEST_F(PresetWiringTest, MusicSelectorWritesItsRowCellByCellWithTheWindowLockedAndShowsIt) {
    loadConnected();
    // EFF In C on, SUB Invert off, the faders 0 to 5 over and over.
    const auto valueOf = [](int k) { return k == 16 ? 1 : k == 17 ? 0 : k % 6; };
    for (int k = 0; k < settings::MusicColumns; ++k)
        model().cell(PresetArray::Music, 2, k).Value = static_cast<std::uint8_t>(valueOf(k));
    watch = [&] { return window->isEnabled(); };

    emit selector(1)->Click(2);

    EXPECT_EQ(model().MusicRow, 2);
    ASSERT_EQ(sent.size(), 18u);
    for (int k = 0; k < settings::MusicColumns; ++k) {
        const int v = valueOf(k);
        EXPECT_EQ(sent[static_cast<std::size_t>(k)], pk(0, 2, settings::column(PresetArray::Music, k).addr, v)) << k;
        if (k < 16) {
            EXPECT_EQ(fader("C_ScrollBar7", k)->Value(), v) << k;
        }
    }
    EXPECT_EQ(sent[7], pk(0x00, 0x02, 0x1D, 1)); // OUT LIMIT lives at address 29
    EXPECT_TRUE(window->loaded().require<controls::C_FlagBar>(QStringLiteral("C_FlagBar2"))->Value());
    EXPECT_FALSE(window->loaded().require<controls::C_FlagBar>(QStringLiteral("C_FlagBar3"))->Value());
    EXPECT_EQ(watched, std::vector<bool>(18, false));
    EXPECT_TRUE(window->isEnabled());

    // The row already chosen is written again in full.
    sent.clear();
    emit selector(1)->Click(2);
    EXPECT_EQ(sent.size(), 18u);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(PresetWiringTest, EffectSelectorWritesTheProgramCodeAsRowByte) {
    loadConnected();
    model().cell(PresetArray::Ktv, 1, 0).Value = 9;
    model().cell(PresetArray::Eff, 0, 3).Value = 55;

    emit selector(3)->Click(1); // KTV2
    EXPECT_EQ(model().EffectCode, 1);
    ASSERT_EQ(sent.size(), 8u);
    EXPECT_EQ(sent[0], pk(2, 1, 82, 9));
    EXPECT_EQ(fader("C_ScrollBar3", 0)->Value(), 9);

    // A KTV fader of the selected program writes under the same Row byte.
    sent.clear();
    drag(fader("C_ScrollBar3", 5), 70);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], pk(2, 1, 85, 70));
    EXPECT_EQ(model().KtvParams[1][5].Value, 70);
    EXPECT_EQ(model().KtvParams[0][5].Value, 63);

    sent.clear();
    emit selector(3)->Click(2); // EFF1
    EXPECT_EQ(model().EffectCode, 20);
    ASSERT_EQ(sent.size(), 10u);
    for (std::size_t k = 0; k < sent.size(); ++k) EXPECT_EQ(sent[k][3], 0x14) << k;
    EXPECT_EQ(sent[3], pk(2, 20, 199, 55));
    EXPECT_EQ(fader("C_ScrollBar2", 3)->Value(), 55);
    EXPECT_EQ(unit.engine().value(2, 20, 199), 55);

    sent.clear();
    emit selector(3)->Click(3); // EFF2
    EXPECT_EQ(model().EffectCode, 21);
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[9], pk(2, 21, 111, model().cell(PresetArray::Eff, 1, 9).Value));
}

TEST_F(PresetWiringTest, MicSelectorWritesItsNineCellsUnderTheMicGroup) {
    loadConnected();
    model().cell(PresetArray::Mic, 4, 7).Value = 2;

    emit selector(2)->Click(4); // MIC5

    EXPECT_EQ(model().MicRow, 4);
    ASSERT_EQ(sent.size(), 9u);
    for (int k = 0; k < settings::MicColumns; ++k)
        EXPECT_EQ(sent[static_cast<std::size_t>(k)],
                  pk(1, 4, settings::column(PresetArray::Mic, k).addr, model().cell(PresetArray::Mic, 4, k).Value))
            << k;
    EXPECT_EQ(sent[7], pk(1, 4, 8, 2)); // MIC H_Curve lives at address 8, LowCut at 7
    EXPECT_EQ(fader("C_ScrollBar1", 7)->Value(), 2);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(PresetWiringTest, SelectorWithTheLinkDownShowsTheRowAndSendsNothing) {
    loadUnconnected();
    model().cell(PresetArray::Mic, 3, 8).Value = 12;

    emit selector(2)->Click(3); // MIC4

    EXPECT_EQ(model().MicRow, 3);
    EXPECT_EQ(fader("C_ScrollBar1", 8)->Value(), 12);
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(PresetWiringTest, SelectorStopsAtTheFirstCellWithoutReplyAndUnlocksTheWindow) {
    loadConnected();
    unit.faults().commandLimit = unit.engine().commandsAnswered() + 4;
    model().cell(PresetArray::Music, 4, 0).Value = 3;
    const auto start = rt.nowMs();

    emit selector(1)->Click(4);

    ASSERT_EQ(sent.size(), 5u); // four answered, the fifth timed out, thirteen never sent
    EXPECT_EQ(sent[4], pk(0, 4, 4, 10));
    EXPECT_GE(rt.nowMs() - start, 4000);
    EXPECT_LT(rt.nowMs() - start, 4200);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, Timeout);
    EXPECT_FALSE(window->link().Connected);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(model().MusicRow, 4);
    EXPECT_EQ(fader("C_ScrollBar7", 0)->Value(), 3);
}

// ---- preset faders ------------------------------------------------------------------

TEST_F(PresetWiringTest, FaderDragStoresInTheSelectedRowAndWritesItLockingOnlyItself) {
    loadConnected();
    emit selector(1)->Click(1);
    emit selector(2)->Click(5);
    emit selector(3)->Click(3); // EFF2
    sent.clear();

    struct Case {
        const char* name;
        int index;
        int value;
        PresetArray array;
        int row;
        CommandPacket packet;
    } cases[] = {
        {"C_ScrollBar7", 3, 14, PresetArray::Music, 1, pk(0, 1, 3, 14)},
        {"C_ScrollBar7", 13, 5, PresetArray::Music, 1, pk(0, 1, 27, 5)},
        {"C_ScrollBar1", 7, 2, PresetArray::Mic, 5, pk(1, 5, 8, 2)},
        {"C_ScrollBar2", 7, 33, PresetArray::Eff, 1, pk(2, 21, 181, 33)},
    };
    for (const Case& c : cases) {
        sent.clear();
        watched.clear();
        C_ScrollBar* f = fader(c.name, c.index);
        C_ScrollBar* other = fader("C_ScrollBar1", 0);
        watch = [f, other, this] { return f->Enabled() || !other->Enabled() || !window->isEnabled(); };
        const std::uint8_t rowZeroBefore = model().cell(c.array, 0, c.index).Value;

        drag(f, c.value);

        ASSERT_EQ(sent.size(), 1u) << c.name;
        EXPECT_EQ(sent[0], c.packet) << c.name;
        EXPECT_EQ(watched, std::vector<bool>{false}) << c.name; // only the fader itself was locked
        EXPECT_TRUE(f->Enabled());
        EXPECT_EQ(model().cell(c.array, c.row, c.index).Value, c.value);
        EXPECT_EQ(model().cell(c.array, 0, c.index).Value, rowZeroBefore) << c.name;
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(PresetWiringTest, GlobalFaderStoresInEveryRowAndSendsOneCommandForTheSelectedRow) {
    loadConnected();
    emit selector(1)->Click(3);
    sent.clear();
    C_ScrollBar* f = fader("C_ScrollBar7", 9);
    f->setValueGlobal(true);

    drag(f, 44);

    for (int r = 0; r < settings::MusicRows; ++r) EXPECT_EQ(model().MusicParams[r][9].Value, 44) << r;
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], pk(0, 3, 18, 44));
}

TEST_F(PresetWiringTest, FaderWithTheLinkDownStoresAndSendsNothing) {
    loadUnconnected();
    emit selector(2)->Click(2);
    C_ScrollBar* f = fader("C_ScrollBar1", 4);
    drag(f, 17);
    EXPECT_EQ(model().MicParams[2][4].Value, 17);
    EXPECT_EQ(model().MicParams[0][4].Value, 10);
    EXPECT_TRUE(f->Enabled());
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(PresetWiringTest, FaderWriteWithoutReplyReportsOnceAndLeavesTheFaderUsable) {
    loadConnected();
    unit.faults().silent = true;
    C_ScrollBar* f = fader("C_ScrollBar7", 0);
    const auto start = rt.nowMs();

    drag(f, 20);

    ASSERT_EQ(sent.size(), 1u);
    EXPECT_GE(rt.nowMs() - start, 4000);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, Timeout);
    EXPECT_EQ(desktop.messages[0].style, platform::MsgStyle::Exclamation);
    EXPECT_TRUE(f->Enabled());
    EXPECT_FALSE(window->link().Connected);
    EXPECT_EQ(window->statusText(), QStringLiteral("Not connected"));
    EXPECT_EQ(model().MusicParams[0][0].Value, 20);

    // The next move finds the link down: stored, not sent, not reported again.
    drag(f, 2);
    EXPECT_EQ(model().MusicParams[0][0].Value, 2);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(PresetWiringTest, SecondFaderMovedDuringTheFirstOnesWaitGoesOutAfterIt) {
    loadConnected();
    unit.faults().replyDelayMs = 50;
    C_ScrollBar* first = fader("C_ScrollBar7", 1);
    C_ScrollBar* second = fader("C_ScrollBar1", 2);
    rt.post(10, [&] { drag(second, 4); });

    drag(first, 16);

    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], pk(0, 0, 1, 16));
    EXPECT_EQ(sent[1], pk(1, 0, 2, 4));
    EXPECT_EQ(model().MusicParams[0][1].Value, 16);
    EXPECT_EQ(model().MicParams[0][2].Value, 4);
    EXPECT_TRUE(first->Enabled());
    EXPECT_TRUE(second->Enabled());
    EXPECT_TRUE(window->link().Connected);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(PresetWiringTest, FaderOfTheEffectProgramNotSelectedWritesNothing) {
    loadConnected(); // KTV1 selected
    drag(fader("C_ScrollBar2", 0), 3);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(model().EffParams[0][0].Value, 8);
    EXPECT_EQ(model().EffParams[1][0].Value, 8);
}

// ---- music switches ----------------------------------------------------------------

TEST_F(PresetWiringTest, MusicSwitchStoresAndWritesItsSideEvenWhenUnchanged) {
    loadConnected();
    emit selector(1)->Click(5);
    sent.clear();
    auto* subInvert = window->loaded().require<controls::C_FlagBar>(QStringLiteral("C_FlagBar3"));
    subInvert->setValue(true);
    emit subInvert->Click();
    emit subInvert->Click();
    auto* effInC = window->loaded().require<controls::C_FlagBar>(QStringLiteral("C_FlagBar2"));
    emit effInC->Click();

    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], pk(0, 5, 28, 1));
    EXPECT_EQ(sent[1], pk(0, 5, 28, 1));
    EXPECT_EQ(sent[2], pk(0, 5, 21, 0));
    EXPECT_EQ(model().MusicParams[5][17].Value, 1);
    EXPECT_EQ(model().MusicParams[0][17].Value, 0);
}

// ---- refresh -----------------------------------------------------------------------

TEST_F(PresetWiringTest, RefreshShowsTheSelectedRowsAndSendsNothing) {
    loadConnected();
    emit selector(3)->Click(2); // EFF1
    sent.clear();
    for (int k = 0; k < settings::MusicColumns; ++k) model().MusicParams[0][k].Value = 1;
    for (int k = 0; k < settings::MicColumns; ++k) model().MicParams[0][k].Value = 2;
    for (int k = 0; k < settings::EffColumns; ++k) model().EffParams[0][k].Value = 3;
    model().KtvParams[0][0].Value = 4;
    const int ktvShown = fader("C_ScrollBar3", 0)->Value();
    const int level = window->controls().levelFaderValue(0);

    window->controls().RefreshParameterControls();
    rt.advance(200);

    for (int k = 0; k < 16; ++k) EXPECT_EQ(fader("C_ScrollBar7", k)->Value(), 1) << k;
    EXPECT_TRUE(window->loaded().require<controls::C_FlagBar>(QStringLiteral("C_FlagBar2"))->Value());
    for (int k = 0; k < settings::MicColumns; ++k) EXPECT_EQ(fader("C_ScrollBar1", k)->Value(), 2) << k;
    for (int k = 0; k < settings::EffColumns; ++k) EXPECT_EQ(fader("C_ScrollBar2", k)->Value(), 3) << k;
    EXPECT_EQ(fader("C_ScrollBar3", 0)->Value(), ktvShown); // the KTV set is not the one shown
    EXPECT_EQ(window->controls().levelFaderValue(0), level);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(model().MusicParams[1][0].Value, 10); // the code-set values stored nothing
}

// ---- level faders -------------------------------------------------------------------

TEST_F(PresetWiringTest, LevelFaderIsBoundedByTheMaxBoxAndWrittenLive) {
    loadConnected();
    auto& vc = window->controls().volumeColumn();
    vc.setText(settings::VolumeColumn::index(1, settings::VolumeColumn::RoleMax), QStringLiteral("60"));
    C_ScrollBar* f = fader("C_ScrollBar4", 1);
    watch = [f] { return f->Enabled(); };

    drag(f, 61);
    EXPECT_EQ(f->Value(), 60);
    drag(f, 5); // below the channel's minimum: sent as it is
    EXPECT_EQ(f->Value(), 5);

    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], pk(6, 0, 1, 60));
    EXPECT_EQ(sent[1], pk(6, 0, 1, 5));
    EXPECT_EQ(watched, (std::vector<bool>{false, false}));
    EXPECT_TRUE(f->Enabled());
    EXPECT_EQ(unit.engine().value(6, 0, 1), 5);

    // A Max box without a number bounds nothing.
    vc.setText(settings::VolumeColumn::index(2, settings::VolumeColumn::RoleMax), QString());
    sent.clear();
    drag(fader("C_ScrollBar4", 2), 79);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], pk(6, 0, 2, 79));
}

TEST_F(PresetWiringTest, LevelFaderWithTheLinkDownIsClampedAndSendsNothing) {
    loadUnconnected();
    C_ScrollBar* f = fader("C_ScrollBar4", 0);
    drag(f, 80);
    EXPECT_EQ(f->Value(), 80); // the Max box holds 80
    window->controls().volumeColumn().setText(1, QStringLiteral("7"));
    drag(f, 80);
    EXPECT_EQ(f->Value(), 7);
    EXPECT_TRUE(f->Enabled());
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

} // namespace
