#include "platform/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using sonmira::platform::ProfileImage;
using sonmira::platform::readProfileString;
using sonmira::platform::writeProfileString;

namespace {

class PrivateProfile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("p.ini"));

    void put(const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray contents() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QString read(const char* section, const char* key) {
        return readProfileString(QString::fromLatin1(section), QString::fromLatin1(key),
                                 QStringLiteral("<default>"), path);
    }
    bool write(const char* section, const char* key, const char* value) {
        return writeProfileString(QString::fromLatin1(section), QString::fromLatin1(key),
                                  QString::fromLatin1(value), path);
    }
};

TEST_F(PrivateProfile, MissingFileSectionOrKeyGiveTheDefaultAndEmptyValueGivesEmpty) {
    EXPECT_EQ(read("Main", "Type"), "<default>");
    put("[Other]\r\nType=X\r\n[Main]\r\nA=1\r\nEmpty=\r\nBlank=   \r\n");
    EXPECT_EQ(read("Missing", "A"), "<default>");
    EXPECT_EQ(read("Main", "Type"), "<default>");
    EXPECT_EQ(read("Main", "A"), "1");
    EXPECT_EQ(read("Main", "Empty"), "");
    EXPECT_EQ(read("Main", "Blank"), "");
    EXPECT_EQ(read("Other", "Type"), "X");
}

TEST_F(PrivateProfile, NamesMatchWithoutCaseAndBlanksAroundAreIgnored) {
    put("  [ mAiN ]  \n  music0.0   =  12  \nTYPE=TSR-515gn\n");
    EXPECT_EQ(read("Main", "Music0.0"), "12");
    EXPECT_EQ(read("MAIN", "type"), "TSR-515gn"); // values keep their case
}

TEST_F(PrivateProfile, FirstSectionAndFirstKeyOfANameWin) {
    put("A=preamble\r\n[Main]\r\nA=1\r\na=2\r\n[MAIN]\r\nA=3\r\nB=4\r\n");
    EXPECT_EQ(read("Main", "A"), "1");
    EXPECT_EQ(read("Main", "B"), "<default>"); // only in the second section
}

TEST_F(PrivateProfile, AmongManyKeysEachRepeatedTheFirstOfANameIsReadAndWritten) {
    QByteArray bytes = "[Main]\r\n";
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 1000; ++i) bytes += "K" + QByteArray::number(i) + "=" + QByteArray::number(round) + "\r\n";
    ProfileImage image(bytes);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(image.value("Main", "k" + QString::number(i)), "0") << i;
    image.setValue("Main", "k999", "new");
    EXPECT_EQ(image.bytes(), QByteArray(bytes).replace("K999=0", "K999=new"));
}

TEST_F(PrivateProfile, LongValuesAreCutAndZeroBytesEndTheValue) {
    put("[Main]\r\nLong=" + QByteArray(10000, '7') + "\r\nNul=" + QByteArray("12\0xx", 5) +
        "\r\nNoEquals\r\n");
    EXPECT_EQ(read("Main", "Long"), QString(ProfileImage::MaxValueLength, QLatin1Char('7')));
    EXPECT_EQ(read("Main", "Nul"), "12");
    EXPECT_EQ(read("Main", "NoEquals"), "<default>");
}

TEST_F(PrivateProfile, BytesThatAreNotTextAreReadOneCharacterPerByte) {
    put("[Main]\r\nV=\xff\xfe\x80\r\n");
    EXPECT_EQ(read("Main", "V"), QString::fromLatin1("\xff\xfe\x80"));
}

TEST_F(PrivateProfile, WriteCreatesTheFileAndSectionWithCrlfLines) {
    ASSERT_TRUE(write("Main", "Type", "TSR-515GN"));
    ASSERT_TRUE(write("Main", "Music0.0", "10"));
    EXPECT_EQ(contents(), "[Main]\r\nType=TSR-515GN\r\nMusic0.0=10\r\n");
}

TEST_F(PrivateProfile, WriteReplacesInPlaceAndKeepsEveryOtherByte) {
    const QByteArray before = "; note\n[Other]\r\nA=1\r\n\r\n[main]\nB = old \ncomment line\n"
                              "\n\n[Last]\r\nC=3";
    put(before);
    ASSERT_TRUE(write("Main", "b", "new"));
    EXPECT_EQ(contents(), QByteArray(before).replace("B = old ", "B=new"));
}

TEST_F(PrivateProfile, NewKeyGoesAfterTheLastLineOfItsSectionBeforeBlankLines) {
    put("[Main]\r\nA=1\r\n\r\n[Other]\r\nZ=9\r\n");
    ASSERT_TRUE(write("MAIN", "B", "2"));
    EXPECT_EQ(contents(), "[Main]\r\nA=1\r\nB=2\r\n\r\n[Other]\r\nZ=9\r\n");
    EXPECT_EQ(read("Main", "B"), "2");
}

TEST_F(PrivateProfile, NewSectionGoesAtTheEndEvenAfterALastLineWithoutItsEnd) {
    put("[Other]\nZ=9");
    ASSERT_TRUE(write("Main", "A", "1"));
    EXPECT_EQ(contents(), "[Other]\nZ=9\r\n[Main]\r\nA=1\r\n");
    put("[Main]\nA=1");
    ASSERT_TRUE(write("Main", "B", "2"));
    EXPECT_EQ(contents(), "[Main]\nA=1\r\nB=2\r\n");
}

TEST_F(PrivateProfile, AFailedWriteReportsFailureAndLeavesTheFile) {
    put("[Main]\r\nA=1\r\n");
    // A path below a plain file cannot be created, not even by root.
    const QString below = path + QStringLiteral("/x.ini");
    EXPECT_FALSE(writeProfileString("Main", "A", "2", below));
    EXPECT_FALSE(writeProfileString("Main", "A", "2", dir.path())); // a folder
    EXPECT_EQ(contents(), "[Main]\r\nA=1\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.ini"}); // no temp left
}

TEST_F(PrivateProfile, AFileTooLargeToBeAProfileIsNeitherReadNorOverwritten) {
    const QByteArray big = "[Main]\r\nA=1\r\n" + QByteArray(ProfileImage::MaxFileSize, ' ');
    put(big);
    EXPECT_EQ(read("Main", "A"), "<default>");
    EXPECT_FALSE(write("Main", "A", "2"));
    EXPECT_EQ(contents(), big);
}

TEST_F(PrivateProfile, ManyWritesToOneImageGiveTheSameBytesAsWritesOneByOne) {
    const QByteArray start = "[Head]\nX=1\n[MAIN]\r\nk3=old\r\n;c\r\n\r\n[Tail]\r\nY=2";
    const std::vector<std::pair<QString, QString>> writes = {
        {"Main", "k1"}, {"main", "K3"}, {"Tail", "y"}, {"New", "n"}, {"Main", "k2"}, {"New", "n"},
        {"Other", "o"}};
    put(start);
    int i = 0;
    for (const auto& [section, key] : writes)
        ASSERT_TRUE(writeProfileString(section, key, QString::number(i++), path));
    const QByteArray oneByOne = contents();

    ProfileImage image(start);
    i = 0;
    for (const auto& [section, key] : writes) image.setValue(section, key, QString::number(i++));
    EXPECT_EQ(image.bytes(), oneByOne);
    ASSERT_TRUE(image.store(path));
    EXPECT_EQ(contents(), oneByOne);
}

} // namespace
