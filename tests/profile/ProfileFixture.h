#pragma once
// A model with its controls recorded in memory, a profile routine over them,
// and a temporary folder for the files.
#include "RecordingControls.h"
#include "TestSupport.h"
#include "settings/Ini_Oper.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace sonmira::test {

class ProfileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        model.setAddressesFromTable();
        model.ResetToDefaults(controls);
        controls.refreshes = 0;
    }

    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static void put(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Imports the given text through the open dialog.
    settings::ProfileOutcome importText(const QByteArray& bytes) {
        const QString path = file("import.ZSP");
        put(path, bytes);
        desktop.fileAnswers.push_back(path);
        return ini.LoadProfile(owners);
    }
    settings::ProfileOutcome saveAs(const QString& path) {
        desktop.fileAnswers.push_back(path);
        return ini.SaveProfile(owners);
    }
    int music(int r, int k) const { return model.MusicParams[std::size_t(r)][std::size_t(k)].Value; }
    std::vector<QString> messageTexts() const {
        std::vector<QString> t;
        for (const auto& m : desktop.messages) t.push_back(m.text);
        return t;
    }

    QTemporaryDir dir;
    platform::RecordingDesktop desktop;
    settings::SettingsModel model;
    settings::test::RecordingControls controls;
    settings::DialogOwners owners;
    settings::Ini_Oper ini{desktop, model, controls, link::Skin::Big};
};

} // namespace sonmira::test
