#pragma once
// A model with its controls recorded in memory, a profile routine over them,
// and a temporary folder for the files.
#include "TestSupport.h"
#include "settings/ControlsView.h"
#include "settings/Ini_Oper.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace sonmira::test {

struct RecordingControls : settings::ControlsView {
    std::array<bool, 3> inputs{};
    bool ex = false, mu = false, lo = false;
    std::array<int, 3> levels{};
    int refreshes = 0;
    std::vector<int> effectPanels;
    std::vector<bool> windowEnabled;
    settings::VolumeColumn column{this};

    struct Strip : link::ProgressView {
        void setProgressValue(int) override {}
    } strip;

    bool inputOption(int i) const override { return inputs.at(std::size_t(i)); }
    void setInputOption(int i, bool on) override { inputs.at(std::size_t(i)) = on; }
    bool exciter() const override { return ex; }
    void setExciter(bool on) override { ex = on; }
    bool mute() const override { return mu; }
    void setMute(bool on) override { mu = on; }
    bool lock() const override { return lo; }
    void setLock(bool on) override { lo = on; }
    int levelFaderValue(int ch) const override { return levels.at(std::size_t(ch)); }
    void setLevelFaderValue(int ch, int v) override { levels.at(std::size_t(ch)) = std::clamp(v, 0, 80); }
    void RefreshParameterControls() override { ++refreshes; }
    void ShowEffectPanel(int code) override { effectPanels.push_back(code); }
    void setWindowEnabled(bool on) override { windowEnabled.push_back(on); }
    settings::VolumeColumn& volumeColumn() override { return column; }
    link::ProgressView& progressStrip() override { return strip; }
};

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
    RecordingControls controls;
    settings::DialogOwners owners;
    settings::Ini_Oper ini{desktop, model, controls, link::Skin::Big};
};

} // namespace sonmira::test
