// Feeds arbitrary bytes to the private-profile reader and to the profile
// import. Beyond not crashing, it checks what must hold for any file:
//  - an image writes back exactly the bytes it was read from;
//  - a key written into an image reads back, and only that key changes;
//  - several keys written into one image give the bytes that writing them
//    one by one, each into the file read afresh, gives (a save's one
//    replacement of the file stands for its 212 key writes);
//  - an import ends loaded, refused for its model, or stopped at a bad value,
//    leaves the volume column consistent, and a refused file changes nothing.
// The first byte picks a mode: odd values put a valid head before the rest,
// so most runs get past the model check.
#include "platform/PrivateProfile.h"
#include "RecordingControls.h"
#include "settings/Ini_Oper.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using namespace sonmira;

struct SilentDesktop final : platform::Desktop {
    int messages = 0;
    platform::MsgResult messageBox(platform::MsgStyle, const QString&, QWidget*) override {
        ++messages;
        return platform::MsgResult::Ok;
    }
    void beep() override {}
    platform::ScreenMetrics screen() const override { return {}; }
    QString openFileName(const platform::FileDialogRequest&) override { return {}; }
    QString saveFileName(const platform::FileDialogRequest&) override { return {}; }
    std::optional<QMargins> frameMargins(QWidget&) override { return std::nullopt; }
};

void require(bool ok) {
    if (!ok) std::abort();
}

void checkImage(const QByteArray& bytes) {
    platform::ProfileImage image(bytes);
    require(image.bytes() == bytes);

    const QString before = image.value("Main", "Music0.1").value_or("<none>");
    image.setValue("Main", "Music0.0", "123");
    require(image.value("main", "MUSIC0.0") == QStringLiteral("123"));
    require(image.value("Main", "Music0.1").value_or("<none>") == before);
    platform::ProfileImage again(image.bytes());
    require(again.value("Main", "Music0.0") == QStringLiteral("123"));

    const char* const writes[][2] = {
        {"Main", "Type"}, {"MAIN", "music0.0"}, {"Main", "VOL2.2"}, {"Other", "X"}, {"main", "EX"}};
    platform::ProfileImage together(bytes);
    QByteArray oneByOne = bytes;
    for (const auto& [section, key] : writes) {
        together.setValue(QString::fromLatin1(section), QString::fromLatin1(key), QStringLiteral("7"));
        platform::ProfileImage fresh(oneByOne);
        fresh.setValue(QString::fromLatin1(section), QString::fromLatin1(key), QStringLiteral("7"));
        oneByOne = fresh.bytes();
    }
    require(together.bytes() == oneByOne);
}

void checkImport(const QByteArray& bytes) {
    SilentDesktop desktop;
    settings::SettingsModel model;
    settings::test::RecordingControls controls;
    model.setAddressesFromTable();
    model.ResetToDefaults(controls);
    const settings::SettingsModel start = model;

    settings::Ini_Oper ini(desktop, model, controls, link::Skin::Big);
    const settings::ProfileOutcome outcome = ini.loadImage(platform::ProfileImage(bytes));
    switch (outcome) {
    case settings::ProfileOutcome::Loaded: require(desktop.messages == 0); break;
    case settings::ProfileOutcome::WrongModel:
        require(desktop.messages == 1);
        require(std::memcmp(&start.MusicParams, &model.MusicParams, sizeof model.MusicParams) == 0);
        require(controls.column.spinnerValue(0) == 20);
        break;
    case settings::ProfileOutcome::BadValue: require(desktop.messages == 1); break;
    default: std::abort();
    }
    const settings::VolumeColumn& vc = controls.column;
    for (int ch = 0; ch < settings::VolumeColumn::Channels; ++ch) {
        const int min = vc.spinnerValue(settings::VolumeColumn::index(ch, 0));
        const int max = vc.spinnerValue(settings::VolumeColumn::index(ch, 1));
        const int mode = vc.spinnerValue(settings::VolumeColumn::index(ch, 2));
        require(min >= 0 && min <= max && max <= 80);
        require(mode >= 0 && mode <= settings::VolumeColumn::spinnerTop(settings::VolumeColumn::index(ch, 2)));
        require(controls.level[std::size_t(ch)] >= 0 && controls.level[std::size_t(ch)] <= 80);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if (data[0] & 1) bytes.prepend("[Main]\r\nType=TSR-515GN\r\n");
    checkImage(bytes);
    checkImport(bytes);
    return 0;
}
