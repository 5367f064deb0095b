// The bottom row of the main window against the simulated unit, in virtual
// time: the live writes of the KEY row, the input row, the exciter and Mute,
// Lock and Reset, the four push buttons, and the volume column worked through
// the loaded boxes and spinners. Packets are checked byte for byte, and so is
// what is not sent.
#include "MainFrmFixture.h"
#include "SimLine.h"
#include "controls/C_Button.h"
#include "controls/C_FlagBar.h"
#include "controls/C_OptionEx.h"
#include "controls/C_ScrollBar.h"
#include "settings/VolumeColumnView.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace sonmira;
using link::CommandPacket;
using platform::MsgStyle;

namespace {

CommandPacket live(int group, int value) {
    return {0xCD, 0x02, static_cast<std::uint8_t>(group), 0x00, 0x00, static_cast<std::uint8_t>(value)};
}

void mouse(QWidget* w, QEvent::Type type, QPoint at) {
    const QPointF p(at);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(type, p, p, w->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A press and release as the user makes it; a disabled control gets neither.
void click(QWidget* w, QPoint at = {5, 5}) {
    mouse(w, QEvent::MouseButtonPress, at);
    mouse(w, QEvent::MouseButtonRelease, at);
}

void type(QWidget* w, int key, const QString& text) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &e);
}

struct Sent {
    CommandPacket packet;
    std::int64_t atMs;
    bool windowEnabled;
};

class SwitchesTest : public test::MainFrmFixture {
protected:

    // The window loaded and connected to the unit on COM2, the
    // synchronisation after connecting done; only later packets are kept.
    void open(link::Skin skin = link::Skin::Big) {
        ports.attach(QStringLiteral("COM2"), &line);
        window = std::make_unique<app::MainFrm>(services(), skin);
        window->show();
        window->Form_Load();
        ASSERT_TRUE(rt.runUntil([&] { return window->link().Connected && window->isEnabled(); }, 20000));
        rt.advance(50);
        unit.engine().onPacket = [this](const CommandPacket& p) {
            sent.push_back({p, rt.nowMs(), window->isEnabled()});
        };
        ASSERT_TRUE(desktop.messages.empty());
    }
    // The link down with the port still open, so that anything written
    // would reach the unit; no scan brings it back.
    void dropLink() {
        window->link().commConnect().setEnabled(false);
        window->link().Connected = false;
    }

    template <typename T>
    T* control(const char* name, int index = -1) {
        return window->loaded().require<T>(QLatin1String(name), index);
    }
    controls::C_OptionEx* key(int i) { return control<controls::C_OptionEx>("C_OptionEx1", i); }
    controls::C_OptionEx* input(int i) { return control<controls::C_OptionEx>("C_OptionEx2", i); }
    controls::C_OptionEx* muteLockReset(int i) { return control<controls::C_OptionEx>("C_OptionEx3", i); }
    controls::C_Button* button(int i) { return control<controls::C_Button>("C_Button1", i); }
    int litKey() {
        int lit = -1;
        for (int i = 0; i < 11; ++i)
            if (key(i)->Value()) {
                if (lit >= 0) return -2; // more than one
                lit = i;
            }
        return lit;
    }
    // The strip's last ramp column: rest grey while empty, blue once full.
    QRgb progressEndPixel() {
        auto* strip = window->loaded().require(QStringLiteral("C_ProgressBar1"));
        return strip->grab().toImage().pixel(strip->width() - 3, 5) & 0xFFFFFF;
    }
    static bool nearlyBlue(QRgb c) { return qBlue(c) >= 0xF0 && qRed(c) <= 0x10 && qGreen(c) == 0; }
    std::vector<CommandPacket> packets() const {
        std::vector<CommandPacket> v;
        for (const Sent& s : sent) v.push_back(s.packet);
        return v;
    }

    platform::VirtualLine line;
    unitsim::SimLine unit{rt, line};
    std::unique_ptr<app::MainFrm> window;
    std::vector<Sent> sent;
};

// ---- KEY row -----------------------------------------------------------------

TEST_F(SwitchesTest, AcknowledgedKeyShiftIsWrittenAndStays) {
    open();
    EXPECT_EQ(litKey(), 5);
    click(key(2)); // b3
    EXPECT_EQ(packets(), std::vector<CommandPacket>{live(0x0B, 0x02)});
    EXPECT_EQ(litKey(), 2);
    rt.advance(2000);
    EXPECT_EQ(litKey(), 2);
    EXPECT_FALSE(window->switches().timer1().enabled());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SwitchesTest, UnacknowledgedKeyShiftSpringsBackAfter300ms) {
    open();
    unit.faults().keyAnswer = 0x00;
    click(key(2));
    EXPECT_EQ(litKey(), 2);
    rt.advance(290);
    EXPECT_EQ(litKey(), 2);
    rt.advance(20);
    EXPECT_EQ(litKey(), 5);
    EXPECT_FALSE(window->switches().timer1().enabled());
    EXPECT_EQ(packets(), std::vector<CommandPacket>{live(0x0B, 0x02)}); // the return sends nothing
}

TEST_F(SwitchesTest, KeyShiftWithoutReplyDropsTheLinkAndKeepsTheKey) {
    open();
    unit.faults().silent = true;
    click(key(2));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, window->link().texts().timeoutMessage);
    EXPECT_FALSE(window->link().Connected);
    EXPECT_GE(rt.nowMs() - sent.at(0).atMs, 4000);
    rt.advance(1000);
    EXPECT_EQ(litKey(), 2);
}

TEST_F(SwitchesTest, AcknowledgedPressDoesNotStopAnEarlierCountdown) {
    open();
    unit.faults().keyAnswer = 0x00;
    const std::int64_t t0 = rt.nowMs();
    click(key(7));
    rt.advance(100);
    unit.faults().keyAnswer = link::Acknowledge;
    click(key(8));
    EXPECT_EQ(litKey(), 8);
    rt.runUntil([&] { return litKey() == 5; }, 1000);
    EXPECT_EQ(litKey(), 5);
    EXPECT_LE(rt.nowMs() - t0, 340);
    EXPECT_EQ(packets(), (std::vector<CommandPacket>{live(0x0B, 7), live(0x0B, 8)}));
}

TEST_F(SwitchesTest, SecondPressWithinTheCountdownDoesNotRestartIt) {
    open();
    dropLink();
    click(key(0));
    rt.advance(200);
    click(key(10));
    rt.advance(100);
    EXPECT_EQ(litKey(), 5); // 300 ms after the first press
    EXPECT_FALSE(window->switches().timer1().enabled());
}

TEST_F(SwitchesTest, KeyPressWithLinkDownSpringsBackAndSendsNothing) {
    open();
    dropLink();
    click(key(7)); // #2
    EXPECT_EQ(litKey(), 7);
    rt.advance(299);
    EXPECT_EQ(litKey(), 7);
    rt.advance(1);
    EXPECT_EQ(litKey(), 5);
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SwitchesTest, SelectorResetFromTheUnitReturnsTheRow) {
    open();
    click(key(9)); // #4, acknowledged
    unit.sendSelectorReset();
    rt.advance(20);
    EXPECT_EQ(litKey(), 5);
    EXPECT_EQ(sent.size(), 1u);
}

// ---- input row and exciter ----------------------------------------------------

TEST_F(SwitchesTest, InputAndExciterWriteAtOnceWithoutLockingTheWindow) {
    open();
    click(input(2)); // AUX
    EXPECT_TRUE(input(2)->Value());
    EXPECT_FALSE(input(0)->Value());
    EXPECT_FALSE(input(1)->Value());
    click(input(2)); // already lit: sent again
    auto* exciter = control<controls::C_FlagBar>("C_FlagBar1");
    click(exciter, {exciter->width() - 3, 5});
    EXPECT_TRUE(exciter->Value());
    click(exciter, {2, 5});
    EXPECT_FALSE(exciter->Value());
    EXPECT_EQ(packets(), (std::vector<CommandPacket>{live(0x0C, 2), live(0x0C, 2), live(0x0A, 1), live(0x0A, 0)}));
    for (const Sent& s : sent) EXPECT_TRUE(s.windowEnabled);
}

TEST_F(SwitchesTest, InputAndExciterWithLinkDownChangeOnlyTheControls) {
    open();
    dropLink();
    click(input(0));
    EXPECT_TRUE(input(0)->Value());
    EXPECT_FALSE(input(1)->Value());
    auto* exciter = control<controls::C_FlagBar>("C_FlagBar1");
    click(exciter, {exciter->width() - 3, 5});
    EXPECT_TRUE(exciter->Value());
    rt.advance(1000);
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

// ---- Mute, Lock, Reset --------------------------------------------------------

TEST_F(SwitchesTest, MuteWritesWithTheWindowLockedAndWaitsLongWhenSwitchedOff) {
    open();
    click(muteLockReset(0));
    EXPECT_TRUE(window->controls().mute());
    std::int64_t done = rt.nowMs();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].packet, live(0x07, 1));
    EXPECT_FALSE(sent[0].windowEnabled);
    EXPECT_LT(done - sent[0].atMs, 100);
    EXPECT_TRUE(window->isEnabled());

    click(muteLockReset(0));
    done = rt.nowMs();
    EXPECT_FALSE(window->controls().mute());
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].packet, live(0x07, 0));
    EXPECT_FALSE(sent[1].windowEnabled);
    EXPECT_GE(done - sent[1].atMs, 1500);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SwitchesTest, MuteWriteThatTimesOutEnablesTheWindowAndKeepsTheState) {
    open();
    unit.faults().silent = true;
    click(muteLockReset(0));
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->controls().mute());
    EXPECT_FALSE(window->link().Connected);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, window->link().texts().timeoutMessage);
}

TEST_F(SwitchesTest, LockOnlyTogglesTheButton) {
    open();
    click(muteLockReset(1));
    EXPECT_TRUE(window->controls().lock());
    click(muteLockReset(1));
    EXPECT_FALSE(window->controls().lock());
    rt.advance(100);
    EXPECT_TRUE(sent.empty());
}

TEST_F(SwitchesTest, MuteAndLockWithLinkDownAreRefused) {
    open();
    dropLink();
    window->controls().setLock(true);
    click(muteLockReset(0));
    click(muteLockReset(1));
    EXPECT_FALSE(window->controls().mute());
    EXPECT_TRUE(window->controls().lock());
    ASSERT_EQ(desktop.messages.size(), 2u);
    for (const auto& m : desktop.messages) {
        EXPECT_EQ(m.style, MsgStyle::Exclamation);
        EXPECT_EQ(m.text, QStringLiteral("This item is not available. "));
    }
    EXPECT_TRUE(sent.empty());
}

TEST_F(SwitchesTest, ResetRestoresTheDefaultsAndSendsNothing) {
    for (const bool linkUp : {true, false}) {
        SCOPED_TRACE(linkUp);
        sent.clear();
        desktop.messages.clear();
        if (!window) open();
        if (!linkUp) dropLink();
        auto& c = window->controls();
        c.setMute(true);
        c.setLock(true);
        c.setExciter(true);
        settings::setInputSelection(c, settings::InputAux);
        window->model().MusicParams[0][0].Value = 1;
        c.volumeColumn().setText(0, QStringLiteral("7"));
        c.volumeColumn().ApplyLevelText(0);

        bool litWhileAsking = false;
        desktop.onMessage = [&](const auto&) { litWhileAsking = muteLockReset(2)->Value(); };
        click(muteLockReset(2));
        desktop.onMessage = nullptr;

        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].text, QStringLiteral("All settings have been reset. "));
        EXPECT_TRUE(litWhileAsking);
        EXPECT_FALSE(muteLockReset(2)->Value());
        EXPECT_FALSE(c.mute());
        EXPECT_FALSE(c.lock());
        EXPECT_FALSE(c.exciter());
        EXPECT_EQ(settings::selectedInput(c), settings::InputBgm);
        EXPECT_EQ(window->model().MusicParams[0][0].Value, settings::column(settings::PresetArray::Music, 0).defaults[0]);
        EXPECT_EQ(c.volumeColumn().spinnerValue(0), settings::VolumeColumn::DefaultMin[0]);
        rt.advance(100);
        EXPECT_TRUE(sent.empty());
    }
}

TEST_F(SwitchesTest, ChineseSkinWording) {
    open(link::Skin::Small);
    click(muteLockReset(2));
    dropLink();
    click(muteLockReset(0));
    click(button(0));
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral(u"已复位所有设置值！"));
    EXPECT_EQ(desktop.messages[1].text, QStringLiteral(u"不可用！"));
    EXPECT_EQ(desktop.messages[2].text, QStringLiteral(u"还没有连接到目标机。"));
    for (const auto& m : desktop.messages) EXPECT_EQ(m.style, MsgStyle::Exclamation);
    EXPECT_EQ(window->link().PacketsTotal, 211);
}

// ---- push buttons ----------------------------------------------------------------

TEST_F(SwitchesTest, ReadButtonRunsTheWholeReadWithTheWindowLocked) {
    open();
    unit.engine().setValue(link::GroupInput, 0, 0, 0);
    window->controls().progressStrip().setProgressValue(0); // the connecting run filled it
    EXPECT_EQ(progressEndPixel(), 0xC0C0C0u);
    click(button(0));
    ASSERT_EQ(sent.size(), 211u);
    for (const Sent& s : sent) {
        EXPECT_EQ(s.packet[1], link::CmdRead);
        EXPECT_FALSE(s.windowEnabled);
    }
    EXPECT_EQ(window->link().PacketsTotal, 211);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->controls().inputOption(0));
    EXPECT_TRUE(nearlyBlue(progressEndPixel()));
    EXPECT_EQ(button(0)->currentState(), 1);  // hover face after the press
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SwitchesTest, UploadButtonSendsEverythingAndCommits) {
    open();
    window->controls().setLock(true);
    window->controls().progressStrip().setProgressValue(0);
    EXPECT_EQ(progressEndPixel(), 0xC0C0C0u);
    click(button(1));
    ASSERT_EQ(sent.size(), 212u);
    for (const Sent& s : sent) EXPECT_FALSE(s.windowEnabled);
    EXPECT_EQ(sent[208].packet, (CommandPacket{0xCD, 0x00, 0x08, 0x00, 0x00, 0x01})); // lock
    EXPECT_EQ(sent.back().packet, (CommandPacket{0xCD, 0xEF, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(unit.engine().commits(), 1);
    EXPECT_EQ(window->link().PacketsTotal, 212);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(nearlyBlue(progressEndPixel()));
}

TEST_F(SwitchesTest, ReadAndUploadWithLinkDownSetTheTotalAndSaySo) {
    open();
    dropLink();
    const QString notConnected = settings::SettingsTexts::of(link::Skin::Big).notConnected;
    window->link().PacketsTotal = 0;
    click(button(0));
    EXPECT_EQ(window->link().PacketsTotal, 211);
    click(button(1));
    EXPECT_EQ(window->link().PacketsTotal, 212);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text, notConnected);
    EXPECT_EQ(desktop.messages[1].text, notConnected);
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(SwitchesTest, SaveThenImportRoundTripsThroughTheDialogsAndSendsNothing) {
    open();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("evening"));
    auto& c = window->controls();
    c.setLock(true);
    settings::setInputSelection(c, settings::InputAux);
    window->model().MicParams[2][3].Value = 9;

    desktop.fileAnswers.push_back(path);
    click(button(3));
    EXPECT_EQ(window->switches().lastProfileOutcome(), settings::ProfileOutcome::Saved);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".ZSP")));

    c.setLock(false);
    settings::setInputSelection(c, settings::InputBgm);
    window->model().MicParams[2][3].Value = 0;
    desktop.fileAnswers.push_back(path + QStringLiteral(".ZSP"));
    click(button(2));
    EXPECT_EQ(window->switches().lastProfileOutcome(), settings::ProfileOutcome::Loaded);
    EXPECT_TRUE(c.lock());
    EXPECT_EQ(settings::selectedInput(c), settings::InputAux);
    EXPECT_EQ(window->model().MicParams[2][3].Value, 9);

    ASSERT_EQ(desktop.dialogs.size(), 2u);
    for (const auto& d : desktop.dialogs) EXPECT_EQ(d.owner, window.get());
    EXPECT_TRUE(desktop.dialogs[0].confirmOverwrite);
    rt.advance(100);
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SwitchesTest, CancelledDialogsChangeNothing) {
    open();
    click(button(2));
    EXPECT_EQ(window->switches().lastProfileOutcome(), settings::ProfileOutcome::Cancelled);
    click(button(3));
    EXPECT_EQ(window->switches().lastProfileOutcome(), settings::ProfileOutcome::Cancelled);
    EXPECT_EQ(desktop.dialogs.size(), 2u);
    EXPECT_TRUE(desktop.messages.empty());
}

// ---- volume column through the loaded boxes and spinners ----------------------

TEST_F(SwitchesTest, VolumeColumnBoxesApplyOnEnterAndSendNothing) {
    open();
    auto* minBox = control<QLineEdit>("Text1", 0);
    auto* maxBox = control<QLineEdit>("Text1", 1);
    auto* maxSpinner = control<QScrollBar>("VScroll1", 1);
    auto& column = window->controls().volumeColumn();
    window->controls().setLevelFaderValue(0, 50);

    minBox->selectAll();
    type(minBox, Qt::Key_9, QStringLiteral("9"));
    // Letters, signs and Backspace are refused.
    type(minBox, Qt::Key_A, QStringLiteral("a"));
    type(minBox, Qt::Key_Minus, QStringLiteral("-"));
    type(minBox, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(minBox->text(), QStringLiteral("9"));
    EXPECT_EQ(minBox->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(column.spinnerValue(0), settings::VolumeColumn::DefaultMin[0]); // not applied yet
    type(minBox, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(column.spinnerValue(0), 9);
    EXPECT_EQ(control<QScrollBar>("VScroll1", 0)->value(), 9);
    EXPECT_EQ(minBox->palette().color(QPalette::Text), QColor(Qt::black));

    // An applied maximum below the level lowers the fader, and nothing is sent.
    maxBox->selectAll();
    type(maxBox, Qt::Key_3, QStringLiteral("3"));
    type(maxBox, Qt::Key_0, QStringLiteral("0"));
    type(maxBox, Qt::Key_5, QStringLiteral("5")); // a third digit does not fit
    EXPECT_EQ(maxBox->text(), QStringLiteral("30"));
    type(maxBox, Qt::Key_Enter, QStringLiteral("\r"));
    EXPECT_EQ(maxSpinner->value(), 30);
    EXPECT_EQ(window->controls().levelFaderValue(0), 30);

    // The spinner's upper arrow lowers the value and rewrites the box black.
    maxSpinner->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(column.spinnerValue(1), 29);
    EXPECT_EQ(maxBox->text(), QStringLiteral("29"));
    EXPECT_EQ(maxBox->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(window->controls().levelFaderValue(0), 30); // arrows do not lower the level
    // Only typing is limited: the program's text (a profile's "080") shows whole.
    column.setText(1, QStringLiteral("080"));
    EXPECT_EQ(maxBox->text(), QStringLiteral("080"));

    auto* effectMode = control<QScrollBar>("VScroll1", 8);
    effectMode->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(control<QLineEdit>("Text1", 8)->text(), QStringLiteral("EFF4"));
    type(control<QLineEdit>("Text1", 8), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(column.spinnerValue(8), 7);
    rt.advance(100);
    EXPECT_TRUE(sent.empty());
}

} // namespace
