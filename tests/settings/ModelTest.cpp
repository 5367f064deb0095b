#include "RecordingControls.h"
#include "settings/FactoryValues.h"
#include "settings/ParamModel.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace sonmira::settings;
using sonmira::settings::test::RecordingControls;

namespace {

// The factory lists as the unit's documentation gives them.
const char* const MusicList = "10,10,10,10,10,10,10,1,80,80,10,10,10,21,30,30,0,0";
const char* const MicList = "10,10,10,10,10,10,10,0,6";
const char* const Ktv1List = "6,14,40,68,90,63,75,63";
const char* const Ktv2List = "8,14,40,68,80,63,80,66";
const char* const Eff1List = "8,14,40,68,50,45,45,20,88,90";
const char* const Eff2List = "8,14,50,68,50,45,55,20,80,80";

QString rowText(const SettingsModel& m, PresetArray a, int row) {
    QStringList parts;
    for (const ParamCell& c : m.row(a, row)) parts << QString::number(c.Value);
    return parts.join(QLatin1Char(','));
}

// A model and controls as the window leaves them after loading.
struct Loaded {
    SettingsModel model;
    RecordingControls controls;
    Loaded() {
        model.setAddressesFromTable();
        model.ResetToDefaults(controls);
    }
};

} // namespace

TEST(SettingsModel, ResetGivesTheFactoryListsWithTheMicrophoneExceptions) {
    SettingsModel m;
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (ParamCell& c : m.row(a, r)) c.Value = 0xEE;
    RecordingControls controls;
    m.ResetToDefaults(controls);

    for (int r = 0; r < MusicRows; ++r) EXPECT_EQ(rowText(m, PresetArray::Music, r), MusicList) << r;
    EXPECT_EQ(rowText(m, PresetArray::Mic, 0), "7,10,10,10,10,10,10,0,6");
    EXPECT_EQ(rowText(m, PresetArray::Mic, 1), "7,10,10,10,10,10,10,0,3");
    for (int r = 2; r < MicRows; ++r) EXPECT_EQ(rowText(m, PresetArray::Mic, r), MicList) << r;
    EXPECT_EQ(rowText(m, PresetArray::Ktv, 0), Ktv1List);
    EXPECT_EQ(rowText(m, PresetArray::Ktv, 1), Ktv2List);
    EXPECT_EQ(rowText(m, PresetArray::Eff, 0), Eff1List);
    EXPECT_EQ(rowText(m, PresetArray::Eff, 1), Eff2List);
}

TEST(SettingsModel, ColumnTableAddressesAndRanges) {
    SettingsModel m;
    m.setAddressesFromTable();
    // Every row carries its column's address.
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (int k = 0; k < columnCount(a); ++k) EXPECT_EQ(m.cell(a, r, k).Addr, column(a, k).addr);
    // The microphone's last two columns are swapped on the unit.
    EXPECT_EQ(m.MicParams[3][7].Addr, 8);
    EXPECT_EQ(m.MicParams[3][8].Addr, 7);
    EXPECT_EQ(m.MusicParams[5][7].Addr, 29);
    EXPECT_EQ(m.EffParams[1][3].Addr, 199);
    EXPECT_TRUE(column(PresetArray::Music, 16).isSwitch());
    EXPECT_EQ(column(PresetArray::Music, 13).maxValue, 21);
    EXPECT_EQ(column(PresetArray::Ktv, 7).valueTipType, 4);
    // No factory value lies outside its column's range.
    for (PresetArray a : AllPresetArrays)
        for (const ColumnSpec& c : columns(a))
            for (int r = 0; r < rowCount(a); ++r) EXPECT_LE(c.defaults[static_cast<std::size_t>(r)], c.maxValue);
    EXPECT_EQ(wireRow(PresetArray::Eff, 1), 21);
    EXPECT_EQ(wireRow(PresetArray::Ktv, 1), 1);
}

TEST(SettingsModel, ResetKeepsSelectionAddressesAndShowsTheSelectedRows) {
    Loaded l;
    l.model.MusicRow = 3;
    l.model.MicRow = 5;
    l.model.EffectCode = 21;
    l.model.MusicParams[3][0].Value = 200; // above the column's maximum: kept until the reset
    l.controls.panels.clear();
    int refreshesBefore = l.controls.refreshes;
    std::vector<std::uint8_t> seenAtRefresh;
    l.controls.onRefresh = [&] { seenAtRefresh.push_back(l.model.selectedMusicRow()[0].Value); };

    l.model.ResetToDefaults(l.controls);

    EXPECT_EQ(l.model.MusicRow, 3);
    EXPECT_EQ(l.model.MicRow, 5);
    EXPECT_EQ(l.model.EffectCode, 21);
    EXPECT_EQ(l.model.selectedEffectRow()[2].Value, 50);
    EXPECT_EQ(l.model.MicParams[0][8].Addr, 7);
    EXPECT_EQ(l.controls.refreshes, refreshesBefore + 1);
    ASSERT_EQ(seenAtRefresh.size(), 1u);
    EXPECT_EQ(seenAtRefresh[0], 10); // the arrays were reset before the refresh
    EXPECT_EQ(l.controls.panels, std::vector<int>{21});
}

TEST(SettingsModel, ResetSetsSwitchesAndVolumeColumn) {
    Loaded l;
    auto& c = l.controls;
    c.input = {false, false, false};
    c.exciterOn = c.muteOn = c.lockOn = true;
    VolumeColumn& vc = c.column;
    vc.setSpinnerValue(VolumeColumn::index(2, VolumeColumn::RoleMode), 6);
    vc.setSpinnerValue(VolumeColumn::index(1, VolumeColumn::RoleMin), 5);
    c.level = {70, 70, 70};
    c.inputWrites.clear();

    l.model.ResetToDefaults(c);

    EXPECT_EQ(c.input, (std::array<bool, 3>{false, true, false}));
    // Option by option, never all cleared first.
    EXPECT_EQ(c.inputWrites, (std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {2, false}}));
    EXPECT_FALSE(c.exciterOn);
    EXPECT_FALSE(c.muteOn);
    EXPECT_FALSE(c.lockOn);
    const std::array<int, 3> mins{20, 30, 36};
    const char* modes[] = {"MUS1", "MIC1", "KTV1"};
    for (int ch = 0; ch < 3; ++ch) {
        const int i = VolumeColumn::index(ch, 0);
        EXPECT_EQ(vc.spinnerValue(i), mins[static_cast<std::size_t>(ch)]);
        EXPECT_EQ(vc.text(i), QString::number(mins[static_cast<std::size_t>(ch)]));
        EXPECT_EQ(vc.spinnerValue(i + 1), 80);
        EXPECT_EQ(vc.text(i + 1), "80");
        EXPECT_EQ(vc.spinnerValue(i + 2), 0);
        EXPECT_EQ(vc.text(i + 2), modes[ch]);
        for (int k = 0; k < 3; ++k) EXPECT_NE(vc.colour(i + k), BoxColour::Red) << i + k;
        EXPECT_EQ(c.level[static_cast<std::size_t>(ch)], mins[static_cast<std::size_t>(ch)]);
    }
}

TEST(SettingsModel, ResetAppliesMinimaAgainstTheOldMaxima) {
    Loaded l;
    VolumeColumn& vc = l.controls.column;
    // Music maximum 15, below the music default minimum of 20.
    vc.setText(0, "0");
    ASSERT_TRUE(vc.ApplyLevelText(0));
    vc.setText(1, "15");
    ASSERT_TRUE(vc.ApplyLevelText(1));

    l.model.ResetToDefaults(l.controls);

    EXPECT_EQ(vc.spinnerValue(0), 15);
    EXPECT_EQ(vc.text(0), "15");
    EXPECT_EQ(vc.spinnerValue(1), 80);
    EXPECT_EQ(l.controls.level[0], 15);
    // The other channels are untouched by this.
    EXPECT_EQ(vc.spinnerValue(3), 30);
}

TEST(SettingsModel, FactoryValuesCoverEveryCellOnceAndMatchTheModel) {
    Loaded l;
    std::map<std::tuple<int, int, int>, int> seen;
    forEachFactoryValue([&](std::uint8_t g, std::uint8_t r, std::uint8_t a, std::uint8_t v) {
        EXPECT_TRUE(seen.emplace(std::tuple{g, r, a}, v).second) << int(g) << "," << int(r) << "," << int(a);
    });
    EXPECT_EQ(seen.size(), 198u + 12u + 4u);
    EXPECT_EQ((seen[{2, 21, 98}]), 50);
    EXPECT_EQ((seen[{1, 1, 7}]), 3);  // MIC2 low-cut, address 7
    EXPECT_EQ((seen[{12, 0, 0}]), 1); // BGM
    EXPECT_EQ((seen[{4, 0, 2}]), 36);
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (const ParamCell& c : l.model.row(a, r))
                EXPECT_EQ((seen[{groupOf(a), wireRow(a, r), c.Addr}]), c.Value);
}
