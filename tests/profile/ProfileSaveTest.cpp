#include "ProfileFixture.h"
#include "platform/PrivateProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace sonmira::test {
namespace {

using settings::ProfileOutcome;

// The key order of a new file, spelled out here independently of the code.
QStringList expectedKeys() {
    QStringList keys{"Type"};
    const std::pair<const char*, std::pair<int, int>> arrays[] = {
        {"Music", {6, 18}}, {"Mic", {6, 9}}, {"Ktv", {2, 8}}, {"Eff", {2, 10}}};
    for (const auto& [name, size] : arrays)
        for (int r = 0; r < size.first; ++r)
            for (int k = 0; k < size.second; ++k) keys << QStringLiteral("%1%2.%3").arg(name).arg(r).arg(k);
    keys << "INPUTSELECT" << "EX" << "MUTE" << "LOCK";
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) keys << QStringLiteral("VOL%1.%2").arg(i).arg(j);
    return keys;
}

using ProfileSave = ProfileFixture;

TEST_F(ProfileSave, ExtensionIsAddedUnlessThePathEndsInItInAnyCase) {
    EXPECT_EQ(saveAs(file("Live")), ProfileOutcome::Saved);
    EXPECT_EQ(saveAs(file("Low.zsp")), ProfileOutcome::Saved);
    EXPECT_EQ(saveAs(file("High.ZSP")), ProfileOutcome::Saved);
    EXPECT_EQ(saveAs(file("Mid.ZSPX")), ProfileOutcome::Saved);
    QStringList names = QDir(dir.path()).entryList(QDir::Files);
    names.sort();
    EXPECT_EQ(names, (QStringList{"High.ZSP", "Live.ZSP", "Low.zsp", "Mid.ZSPX.ZSP"}));
    EXPECT_EQ(ini.IniFile(), file("Mid.ZSPX.ZSP"));
    EXPECT_EQ(ini.DefaultSection(), "Main");
}

TEST_F(ProfileSave, NewFileHoldsTheSectionAndEveryKeyInOrderWithFactoryValues) {
    ASSERT_EQ(saveAs(file("new.ZSP")), ProfileOutcome::Saved);
    const QByteArray bytes = contents(file("new.ZSP"));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    QList<QByteArray> lines = bytes.chopped(2).split('\n');
    for (QByteArray& l : lines) {
        ASSERT_TRUE(l.endsWith('\r') || &l == &lines.last()) << l.constData();
        if (l.endsWith('\r')) l.chop(1);
    }
    ASSERT_EQ(lines.size(), 1 + settings::ProfileKeyCount);
    EXPECT_EQ(lines[0], "[Main]");
    const QStringList keys = expectedKeys();
    ASSERT_EQ(keys.size(), settings::ProfileKeyCount);
    QHash<QString, QString> values;
    for (int i = 0; i < keys.size(); ++i) {
        const QList<QByteArray> kv = lines[i + 1].split('=');
        ASSERT_EQ(kv.size(), 2);
        EXPECT_EQ(QString::fromLatin1(kv[0]), keys[i]);
        values.insert(keys[i], QString::fromLatin1(kv[1]));
    }
    const std::pair<const char*, const char*> factory[] = {
        {"Type", "TSR-515GN"}, {"Music0.0", "10"}, {"Music5.7", "1"}, {"Music3.13", "21"},
        {"Mic0.0", "7"},       {"Mic1.0", "7"},    {"Mic1.8", "3"},   {"Mic2.0", "10"},
        {"Ktv1.7", "66"},      {"Eff1.9", "80"},   {"INPUTSELECT", "1"}, {"EX", "0"},
        {"MUTE", "0"},         {"LOCK", "0"},      {"VOL0.0", "20"},  {"VOL0.1", "80"},
        {"VOL0.2", "0"},       {"VOL1.0", "30"},   {"VOL2.0", "36"},  {"VOL2.2", "0"}};
    for (const auto& [key, value] : factory) EXPECT_EQ(values.value(key), value) << key;
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ProfileSave, SavingOverAFileKeepsItsOtherSectionsAndKeysInPlace) {
    const QByteArray start = "; mine\r\n[Notes]\r\nText=keep me\r\n\r\n[main]\r\nMUTE=1\r\n"
                             "Extra=kept\r\nmusic0.0=99\r\n\r\n[After]\r\nX=1\r\n";
    put(file("old.ZSP"), start);
    ASSERT_EQ(saveAs(file("old.ZSP")), ProfileOutcome::Saved);
    const QByteArray saved = contents(file("old.ZSP"));
    EXPECT_TRUE(saved.startsWith("; mine\r\n[Notes]\r\nText=keep me\r\n\r\n[main]\r\nMUTE=0\r\n"
                                 "Extra=kept\r\nmusic0.0=10\r\nType=TSR-515GN\r\nMusic0.1=10\r\n"));
    EXPECT_TRUE(saved.endsWith("VOL2.2=0\r\n\r\n[After]\r\nX=1\r\n"));
    EXPECT_EQ(saved.count("Type="), 1);

    // One replacement of the file gives what 212 writes of one key each give.
    const QString perKey = file("perkey.ZSP");
    put(perKey, start);
    platform::ProfileImage expected(start);
    ini.writeAllKeys(expected);
    const QStringList keys = expectedKeys();
    for (const QString& key : keys)
        ASSERT_TRUE(platform::writeProfileString("Main", key, *expected.value("Main", key), perKey));
    EXPECT_EQ(contents(perKey), saved);
}

TEST_F(ProfileSave, AFileThatCannotBeWrittenIsToldOnceAndTheOldFileStays) {
    put(file("plain"), "not a folder");
    ASSERT_EQ(saveAs(file("plain") + "/Live"), ProfileOutcome::SaveFailed);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].style, platform::MsgStyle::Critical);
    EXPECT_EQ(desktop.messages[0].text, "The profile could not be saved.");
    EXPECT_EQ(desktop.beeps, 0);

    // A file too large to be a profile is not rewritten (nor cut short).
    const QByteArray huge = "[Main]\r\n" + QByteArray(platform::ProfileImage::MaxFileSize + 10, 'x');
    put(file("huge.ZSP"), huge);
    ASSERT_EQ(saveAs(file("huge.ZSP")), ProfileOutcome::SaveFailed);
    EXPECT_EQ(contents(file("huge.ZSP")), huge);
    EXPECT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind

    settings::Ini_Oper chinese(desktop, model, controls, link::Skin::Small);
    desktop.fileAnswers.push_back(file("plain") + "/Live");
    EXPECT_EQ(chinese.SaveProfile(owners), ProfileOutcome::SaveFailed);
    EXPECT_EQ(desktop.messages.back().text, QStringLiteral(u"配置文件保存失败！"));
}

TEST_F(ProfileSave, SavingOverAFileOfBlankLinesPutsTheKeysBeforeThemAndDoesNotCrawl) {
    // Each new key goes after the last key of its section; the million blank
    // lines behind it must not be moved once per key.
    const QByteArray blanks(1024 * 1024, '\n');
    put(file("blank.ZSP"), "[Main]\nA=1\n" + blanks);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(saveAs(file("blank.ZSP")), ProfileOutcome::Saved);
    EXPECT_LT(clock.elapsed(), 5000); // about a second under the sanitizers
    const QByteArray saved = contents(file("blank.ZSP"));
    EXPECT_TRUE(saved.startsWith("[Main]\nA=1\nType=TSR-515GN\r\nMusic0.0=10\r\n"));
    EXPECT_TRUE(saved.endsWith("VOL2.2=0\r\n" + blanks));
}

TEST_F(ProfileSave, CancelWritesNothing) {
    EXPECT_EQ(ini.SaveProfile(owners), ProfileOutcome::Cancelled); // no answer queued: cancel
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ProfileSave, NoInputSetIsSavedAsThree) {
    settings::setInputSelection(controls, -1);
    ASSERT_EQ(saveAs(file("none")), ProfileOutcome::Saved);
    EXPECT_TRUE(contents(file("none.ZSP")).contains("\r\nINPUTSELECT=3\r\n"));
}

// --- dialogs -------------------------------------------------------------

TEST_F(ProfileSave, DialogsOpenInTheProgramFolderUnderTheProfileFilter) {
    QWidget* big = reinterpret_cast<QWidget*>(0x10);
    QWidget* small = reinterpret_cast<QWidget*>(0x20);
    settings::DialogOwners o{big, small, 1};
    EXPECT_EQ(settings::ShowOpenProfileDialog(desktop, o), "");
    o.useBigForm = 0;
    EXPECT_EQ(settings::ShowSaveProfileDialog(desktop, o), "");
    o.useBigForm = 2;
    desktop.fileAnswers.push_back("/x/y.ZSP");
    EXPECT_EQ(settings::ShowOpenProfileDialog(desktop, o), "/x/y.ZSP");

    ASSERT_EQ(desktop.dialogs.size(), 3u);
    const auto& open = desktop.dialogs[0];
    const auto& save = desktop.dialogs[1];
    EXPECT_EQ(open.title, "View profile");
    EXPECT_EQ(save.title, "Save profile");
    for (const auto& d : desktop.dialogs) {
        EXPECT_EQ(d.filter, "Sound Profile (*.ZSP)");
        EXPECT_EQ(d.initialDir, QCoreApplication::applicationDirPath());
    }
    EXPECT_FALSE(open.confirmOverwrite);
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_EQ(open.owner, big);
    EXPECT_EQ(save.owner, small);
    EXPECT_EQ(desktop.dialogs[2].owner, small);
}

TEST_F(ProfileSave, LongPathsArePassedThrough) {
    const QString deep = dir.path() + "/" + QString(120, 'a') + "/" + QString(120, 'b');
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString path = deep + "/" + QString(40, 'c') + ".ZSP";
    ASSERT_GT(path.size(), 253);
    EXPECT_EQ(saveAs(path), ProfileOutcome::Saved);
    EXPECT_TRUE(QFileInfo::exists(path));
    desktop.fileAnswers.push_back(path);
    EXPECT_EQ(ini.LoadProfile(owners), ProfileOutcome::Loaded);
}

} // namespace
} // namespace sonmira::test
