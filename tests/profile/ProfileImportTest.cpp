#include "ProfileFixture.h"
#include "link/DeviceLink.h"
#include "platform/VirtualRuntime.h"
#include "platform/VirtualSerial.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/stat.h>

namespace sonmira::test {
namespace {

using settings::ProfileOutcome;
using settings::VolumeColumn;

const QByteArray Head = "[Main]\r\nType=TSR-515GN\r\n";

// Everything an import may touch, to compare before and after.
struct Snapshot {
    settings::SettingsModel::Grid<6, 18> music;
    settings::SettingsModel::Grid<6, 9> mic;
    settings::SettingsModel::Grid<2, 8> ktv;
    settings::SettingsModel::Grid<2, 10> eff;
    std::array<bool, 3> inputs;
    bool ex, mu, lo;
    std::array<int, 3> levels;
    std::array<int, 9> spinners;
    std::array<QString, 9> texts;
    int refreshes;

    static Snapshot of(const settings::SettingsModel& m, const settings::test::RecordingControls& c) {
        Snapshot s{m.MusicParams, m.MicParams, m.KtvParams, m.EffParams, c.input, c.exciterOn, c.muteOn, c.lockOn,
                   c.level, {}, {}, c.refreshes};
        for (int i = 0; i < 9; ++i) {
            s.spinners[std::size_t(i)] = c.column.spinnerValue(i);
            s.texts[std::size_t(i)] = c.column.text(i);
        }
        return s;
    }
    bool operator==(const Snapshot& o) const {
        auto cells = [](const auto& a, const auto& b) {
            for (std::size_t r = 0; r < a.size(); ++r)
                for (std::size_t k = 0; k < a[r].size(); ++k)
                    if (a[r][k].Value != b[r][k].Value || a[r][k].Addr != b[r][k].Addr) return false;
            return true;
        };
        return cells(music, o.music) && cells(mic, o.mic) && cells(ktv, o.ktv) && cells(eff, o.eff) &&
               inputs == o.inputs && ex == o.ex && mu == o.mu && lo == o.lo && levels == o.levels &&
               spinners == o.spinners && texts == o.texts && refreshes == o.refreshes;
    }
};

class ProfileImport : public ProfileFixture {
protected:
    Snapshot now() const { return Snapshot::of(model, controls); }
    int spinner(int ch, int role) const { return controls.column.spinnerValue(VolumeColumn::index(ch, role)); }
    QString box(int ch, int role) const { return controls.column.text(VolumeColumn::index(ch, role)); }
    void expectOnlyMessage(const QString& text) {
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].style, platform::MsgStyle::Critical);
        EXPECT_EQ(desktop.messages[0].text, text);
    }
};

const QString BadValue = QStringLiteral("The imported data errors.");
const QString WrongModel = QStringLiteral("You import the files are not TSR-515GN profile");

TEST_F(ProfileImport, WrongOrMissingTypeIsRefusedAndChangesNothing) {
    const Snapshot before = now();
    for (const QByteArray& text : {QByteArray("[Main]\r\nMusic0.0=5\r\n"),
                                   QByteArray("[Main]\r\nType=tsr-515gn\r\nMusic0.0=5\r\n"),
                                   QByteArray("[Other]\r\nType=TSR-515GN\r\n"),
                                   QByteArray("[Main]\r\nType=\r\n")}) {
        desktop.messages.clear();
        EXPECT_EQ(importText(text), ProfileOutcome::WrongModel) << text.constData();
        expectOnlyMessage(WrongModel);
        EXPECT_TRUE(now() == before);
    }
    settings::Ini_Oper chinese(desktop, model, controls, link::Skin::Small);
    desktop.fileAnswers.push_back(file("import.ZSP"));
    EXPECT_EQ(chinese.LoadProfile(owners), ProfileOutcome::WrongModel);
    EXPECT_EQ(desktop.messages.back().text, QStringLiteral(u"您导入的文件不是TSR-515GN的配置文件。"));
}

TEST_F(ProfileImport, CancelOrAPathThatDoesNotExistDoesNothing) {
    const Snapshot before = now();
    EXPECT_EQ(ini.LoadProfile(owners), ProfileOutcome::Cancelled);
    desktop.fileAnswers.push_back(file("nowhere.ZSP"));
    EXPECT_EQ(ini.LoadProfile(owners), ProfileOutcome::Cancelled);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(now() == before);
}

TEST_F(ProfileImport, SectionAndTypeAloneLoadZerosAndTheDefaultsOfTheVolumeColumn) {
    controls.exciterOn = controls.muteOn = controls.lockOn = true;
    controls.level = {50, 50, 50};
    EXPECT_EQ(importText("[main]\nTYPE=TSR-515GN\n"), ProfileOutcome::Loaded);
    EXPECT_TRUE(desktop.messages.empty());
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 18; ++k) ASSERT_EQ(music(r, k), 0);
    EXPECT_EQ(model.EffParams[1][9].Value, 0);
    EXPECT_EQ(model.EffParams[1][9].Addr, 111); // addresses stay
    EXPECT_EQ(controls.input, (std::array<bool, 3>{true, false, false}));
    EXPECT_FALSE(controls.exciterOn || controls.muteOn || controls.lockOn);
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(spinner(ch, VolumeColumn::RoleMin), 0);
        EXPECT_EQ(spinner(ch, VolumeColumn::RoleMax), 80);
        EXPECT_EQ(spinner(ch, VolumeColumn::RoleMode), 0);
    }
    EXPECT_EQ(box(2, VolumeColumn::RoleMode), "KTV1");
    EXPECT_EQ(controls.refreshes, 1);
    EXPECT_EQ(controls.level, (std::array<int, 3>{50, 50, 50})); // the live levels are not in the file
}

TEST_F(ProfileImport, AnEmptyCellStopsBeforeAnyChangeWhileAMissingOneIsZero) {
    const Snapshot before = now();
    EXPECT_EQ(importText(Head + "Music0.0=\r\nMusic0.1=3\r\n"), ProfileOutcome::BadValue);
    expectOnlyMessage(BadValue);
    EXPECT_TRUE(now() == before);

    desktop.messages.clear();
    EXPECT_EQ(importText(Head + "Music0.1=3\r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(music(0, 0), 0);
    EXPECT_EQ(music(0, 1), 3);
}

TEST_F(ProfileImport, ABadCellKeepsTheCellsBeforeItInTheModelButUnshown) {
    EXPECT_EQ(importText(Head + "Music0.0=1\r\nMusic0.1=2\r\nMusic0.2=256\r\nMusic0.3=4\r\n"),
              ProfileOutcome::BadValue);
    EXPECT_EQ(music(0, 0), 1);
    EXPECT_EQ(music(0, 1), 2);
    EXPECT_EQ(music(0, 2), 10);
    EXPECT_EQ(music(0, 3), 10);
    EXPECT_EQ(controls.refreshes, 0);
    for (const char* bad : {"-1", "abc", "1.5", "0x10", "1 2"}) {
        EXPECT_EQ(importText(Head + "Music0.0=" + bad + "\r\n"), ProfileOutcome::BadValue) << bad;
    }
}

TEST_F(ProfileImport, CellsTakeAnyByteWhateverTheirColumnsRange) {
    EXPECT_EQ(importText(Head + "Music0.0=200\r\nMic5.8=255\r\nEff1.9= 007 \r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(music(0, 0), 200);
    EXPECT_EQ(model.MicParams[5][8].Value, 255);
    EXPECT_EQ(model.EffParams[1][9].Value, 7);
}

TEST_F(ProfileImport, SwitchesTakeAnyNumberAndRefuseLetters) {
    EXPECT_EQ(importText(Head + "INPUTSELECT=2\r\nEX=2\r\nMUTE=-1\r\nLOCK=0\r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(controls.input, (std::array<bool, 3>{false, false, true}));
    EXPECT_TRUE(controls.exciterOn);
    EXPECT_TRUE(controls.muteOn);
    EXPECT_FALSE(controls.lockOn);

    controls.exciterOn = false;
    EXPECT_EQ(importText(Head + "INPUTSELECT=0\r\nEX=on\r\nMUTE=0\r\nVOL0.0=5\r\n"), ProfileOutcome::BadValue);
    EXPECT_FALSE(controls.exciterOn);
    EXPECT_TRUE(controls.muteOn); // after the bad value: unchanged
    EXPECT_EQ(controls.input, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(spinner(0, VolumeColumn::RoleMin), 0); // the first import's, not 5
}

TEST_F(ProfileImport, InputThreeLoadsTheArraysClearsTheInputsAndStops) {
    controls.exciterOn = true;
    EXPECT_EQ(importText(Head + "Music5.17=1\r\nINPUTSELECT=3\r\nEX=0\r\n"), ProfileOutcome::BadValue);
    expectOnlyMessage(BadValue);
    EXPECT_EQ(music(5, 17), 1);
    EXPECT_EQ(controls.refreshes, 1);
    EXPECT_EQ(controls.input, (std::array<bool, 3>{false, false, false}));
    EXPECT_TRUE(controls.exciterOn);
    EXPECT_EQ(spinner(0, VolumeColumn::RoleMin), 20);
}

TEST_F(ProfileImport, VolumeColumnValuesAreAppliedAsTypedValuesWouldBe) {
    // A minimum above the maximum box becomes that maximum and the import goes on.
    EXPECT_EQ(importText(Head + "VOL0.0=90\r\nVOL0.2=5\r\nVOL2.2=7\r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(spinner(0, VolumeColumn::RoleMin), 80);
    EXPECT_EQ(box(0, VolumeColumn::RoleMin), "80");
    EXPECT_EQ(spinner(0, VolumeColumn::RoleMode), 5);
    EXPECT_EQ(box(0, VolumeColumn::RoleMode), "MUS6");
    EXPECT_EQ(box(2, VolumeColumn::RoleMode), "EFF4");

    // A maximum below the loaded minimum becomes that minimum.
    EXPECT_EQ(importText(Head + "VOL1.0=40\r\nVOL1.1=10\r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(spinner(1, VolumeColumn::RoleMin), 40);
    EXPECT_EQ(spinner(1, VolumeColumn::RoleMax), 40);
    EXPECT_EQ(box(1, VolumeColumn::RoleMax), "40");

    // A loaded maximum below the live level lowers the level.
    controls.level = {70, 70, 70};
    EXPECT_EQ(importText(Head + "VOL2.1=50\r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(controls.level, (std::array<int, 3>{70, 70, 50}));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ProfileImport, VolumeColumnValuesOutOfRangeAreBad) {
    const std::pair<const char*, std::pair<int, int>> cases[] = {
        {"VOL0.1=90", {0, VolumeColumn::RoleMax}}, {"VOL0.0=-5", {0, VolumeColumn::RoleMin}},
        {"VOL0.0=", {0, VolumeColumn::RoleMin}},   {"VOL1.1=x", {1, VolumeColumn::RoleMax}},
        {"VOL2.2=8", {2, VolumeColumn::RoleMode}}, {"VOL0.2=6", {0, VolumeColumn::RoleMode}},
        {"VOL1.2=-1", {1, VolumeColumn::RoleMode}}};
    for (const auto& [line, where] : cases) {
        desktop.messages.clear();
        model.ResetToDefaults(controls);
        const int before = spinner(where.first, where.second);
        const QString beforeText = box(where.first, where.second);
        EXPECT_EQ(importText(Head + line + "\r\nVOL2.0=1\r\n"), ProfileOutcome::BadValue) << line;
        expectOnlyMessage(BadValue);
        // The setting keeps its value and its box shows it.
        EXPECT_EQ(spinner(where.first, where.second), before) << line;
        EXPECT_EQ(box(where.first, where.second), beforeText) << line;
        if (where.first < 2) {
            EXPECT_EQ(spinner(2, VolumeColumn::RoleMin), 36) << line; // not reached
        }
    }
}

TEST_F(ProfileImport, RoundTripBringsEverySettingBack) {
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 18; ++k) model.MusicParams[std::size_t(r)][std::size_t(k)].Value = std::uint8_t(r * 18 + k);
    model.MicParams[3][4].Value = 0;
    model.KtvParams[1][5].Value = 127;
    model.EffParams[0][3].Value = 255;
    settings::setInputSelection(controls, settings::InputAux);
    controls.exciterOn = controls.muteOn = controls.lockOn = true;
    VolumeColumn& vc = controls.column;
    for (int ch = 0; ch < 3; ++ch) {
        vc.setSpinnerValue(VolumeColumn::index(ch, VolumeColumn::RoleMax), 60 + ch);
        vc.setSpinnerValue(VolumeColumn::index(ch, VolumeColumn::RoleMin), 10 + ch);
        vc.setSpinnerValue(VolumeColumn::index(ch, VolumeColumn::RoleMode), 3 + ch);
    }
    const Snapshot changed = now();
    ASSERT_EQ(saveAs(file("trip")), ProfileOutcome::Saved);

    model.ResetToDefaults(controls);
    controls.refreshes = changed.refreshes;
    desktop.fileAnswers.push_back(file("trip.ZSP"));
    ASSERT_EQ(ini.LoadProfile(owners), ProfileOutcome::Loaded);
    Snapshot loaded = now();
    loaded.refreshes -= 1;
    loaded.levels = changed.levels; // not in the file
    EXPECT_TRUE(loaded == changed);
}

TEST_F(ProfileImport, RowSelectorsStayAndNothingIsSentWhileConnected) {
    platform::VirtualRuntime rt;
    platform::VirtualSerialPorts ports;
    platform::VirtualLine line;
    ports.attach("COM1", &line);
    link::TrafficLog log;
    struct Host : link::LinkHost {
        void setStatusText(const QString&) override {}
    } host;
    link::DeviceLink deviceLink(rt, ports, desktop, log, host);
    ASSERT_TRUE(deviceLink.port().OpenPort("1"));
    ASSERT_TRUE(deviceLink.port().SetupPort(9600, 8));
    deviceLink.Connected = true;
    model.MusicRow = 3;
    model.MicRow = 5;
    model.EffectCode = 21;

    EXPECT_EQ(importText(Head + "Music3.0=4\r\nINPUTSELECT=2\r\nEX=1\r\nMUTE=1\r\nLOCK=1\r\nVOL0.1=40\r\n"),
              ProfileOutcome::Loaded);
    EXPECT_EQ(importText(Head + "EX=x\r\n"), ProfileOutcome::BadValue);
    rt.pumpOnce();
    EXPECT_TRUE(line.written.empty());
    EXPECT_TRUE(deviceLink.Connected);
    EXPECT_EQ(model.MusicRow, 3);
    EXPECT_EQ(model.MicRow, 5);
    EXPECT_EQ(model.EffectCode, 21);
}

// A profile followed by megabytes of other data is still this model's profile.
TEST_F(ProfileImport, AProfileFollowedByALargeSectionImports) {
    QByteArray bytes = Head + "Music0.0=1\r\n[Other]\r\n";
    while (bytes.size() < 8 * 1024 * 1024) bytes += "Music0.0=2\r\n; padding padding padding padding\r\n";
    EXPECT_EQ(importText(bytes), ProfileOutcome::Loaded);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(music(0, 0), 1);
}

// --- files that are no profiles ---------------------------------------------

TEST_F(ProfileImport, HostileFilesEndInOneOfTheThreeOutcomes) {
    const Snapshot before = now();
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator rng(515);
    for (char& c : garbage) c = char(rng.bounded(256));
    EXPECT_EQ(importText(garbage), ProfileOutcome::WrongModel);
    EXPECT_TRUE(now() == before);

    // A line of ten thousand characters.
    EXPECT_EQ(importText(Head + "Music0.0=" + QByteArray(10000, '1') + "\r\n"), ProfileOutcome::BadValue);
    EXPECT_EQ(importText(Head + QByteArray(10000, 'k') + "=1\r\nMusic0.0=5\r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(music(0, 0), 5);

    // Bytes that are not valid text, and a zero byte inside a value.
    EXPECT_EQ(importText(Head + "Music0.0=\xc3\x28\xff\r\n"), ProfileOutcome::BadValue);
    EXPECT_EQ(importText(Head + QByteArray("Music0.0=6\0junk\r\n", 17)), ProfileOutcome::Loaded);
    EXPECT_EQ(music(0, 0), 6);
    EXPECT_EQ(importText("[Main]\r\nType=TSR-515GN\xff\r\n"), ProfileOutcome::WrongModel);

    // A key given twice: the first counts.
    EXPECT_EQ(importText(Head + "Music0.0=7\r\nmusic0.0=8\r\nType=other\r\n"), ProfileOutcome::Loaded);
    EXPECT_EQ(music(0, 0), 7);
}

TEST_F(ProfileImport, APathThatIsNoPlainFileIsReadAsAnEmptyFileWithoutWaiting) {
    // A pipe with no writer would block a plain read for ever.
    const QString fifo = file("pipe.ZSP");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = file("folder.ZSP");
    ASSERT_TRUE(QDir().mkdir(folder));
    const Snapshot before = now();
    for (const QString& path : {fifo, folder}) {
        desktop.messages.clear();
        desktop.fileAnswers.push_back(path);
        EXPECT_EQ(ini.LoadProfile(owners), ProfileOutcome::WrongModel) << path.toStdString();
        expectOnlyMessage(WrongModel);
        EXPECT_TRUE(now() == before);

        // Nor is either replaced by a save.
        EXPECT_EQ(saveAs(path), ProfileOutcome::SaveFailed);
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

} // namespace
} // namespace sonmira::test
