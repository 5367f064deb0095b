#include "Ini_Oper.h"

#include <QFileInfo>

namespace sonmira::settings {

namespace {

using platform::MsgStyle;
using platform::ProfileImage;

constexpr int ByteTop = 255;

const char* arrayKeyName(PresetArray a) {
    switch (a) {
    case PresetArray::Music: return "Music";
    case PresetArray::Mic: return "Mic";
    case PresetArray::Ktv: return "Ktv";
    case PresetArray::Eff: return "Eff";
    }
    return "";
}

// The switches after the cells, in file order.
const QString InputKey = QStringLiteral("INPUTSELECT");
const QString ExciterKey = QStringLiteral("EX");
const QString MuteKey = QStringLiteral("MUTE");
const QString LockKey = QStringLiteral("LOCK");

// A decimal whole number with an optional sign. Digits past what fits stop
// counting, which still tells a number out of range or not zero.
std::optional<qint64> importNumber(const QString& text) {
    qsizetype i = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+'))) i = 1;
    if (i == text.size()) return std::nullopt;
    qint64 n = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        if (n < 1'000'000'000'000LL) n = n * 10 + (c.unicode() - '0');
    }
    return negative ? -n : n;
}

QString onOff(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace

const ProfileTexts& ProfileTexts::of(link::Skin skin) {
    static const ProfileTexts big{
        QStringLiteral("You import the files are not ") + QLatin1String(ModelCode) + QStringLiteral(" profile"),
        QStringLiteral("The imported data errors."),
        QStringLiteral("The profile could not be saved."),
    };
    static const ProfileTexts small{
        QStringLiteral(u"您导入的文件不是") + QLatin1String(ModelCode) + QStringLiteral(u"的配置文件。"),
        QStringLiteral(u"导入的数据有错误！"),
        QStringLiteral(u"配置文件保存失败！"),
    };
    return skin == link::Skin::Big ? big : small;
}

QString cellKey(PresetArray a, int row, int col) {
    return QStringLiteral("%1%2.%3").arg(QLatin1String(arrayKeyName(a))).arg(row).arg(col);
}

QString volumeKey(int channel, int role) { return QStringLiteral("VOL%1.%2").arg(channel).arg(role); }

QString withProfileExtension(const QString& path) {
    const QString ext = QLatin1String(ProfileExtension);
    return path.endsWith(ext, Qt::CaseInsensitive) ? path : path + ext;
}

Ini_Oper::Ini_Oper(platform::Desktop& desktop, SettingsModel& model, ControlsView& controls, link::Skin skin)
    : desktop_(desktop), model_(model), controls_(controls), texts_(ProfileTexts::of(skin)) {}

ProfileOutcome Ini_Oper::fail(ProfileOutcome outcome, const QString& text) {
    desktop_.messageBox(MsgStyle::Critical, text, controls_.messageOwner());
    return outcome;
}

QString Ini_Oper::ReadIni(const ProfileImage& image, const QString& key, const QString& fallback) const {
    return image.value(defaultSection_, key).value_or(fallback);
}

void Ini_Oper::WriteIni(ProfileImage& image, const QString& key, const QString& value) const {
    image.setValue(defaultSection_, key, value);
}

// --- save ------------------------------------------------------------------

ProfileOutcome Ini_Oper::SaveProfile(const DialogOwners& owners) {
    const QString path = ShowSaveProfileDialog(desktop_, owners);
    if (path.isEmpty()) return ProfileOutcome::Cancelled;
    return saveTo(withProfileExtension(path));
}

ProfileOutcome Ini_Oper::saveTo(const QString& path) {
    iniFile_ = path;
    defaultSection_ = QLatin1String(ProfileSection);
    // All keys go into the file's image and the file is replaced once: a
    // failure anywhere leaves the old file whole, and is told, not beeped.
    std::optional<ProfileImage> image = ProfileImage::read(iniFile_);
    if (!image) return fail(ProfileOutcome::SaveFailed, texts_.saveFailed);
    writeAllKeys(*image);
    if (!image->store(iniFile_)) return fail(ProfileOutcome::SaveFailed, texts_.saveFailed);
    return ProfileOutcome::Saved;
}

void Ini_Oper::writeAllKeys(ProfileImage& image) {
    if (defaultSection_.isEmpty()) defaultSection_ = QLatin1String(ProfileSection);
    WriteIni(image, QStringLiteral("Type"), QLatin1String(ModelCode));
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (int k = 0; k < columnCount(a); ++k)
                WriteIni(image, cellKey(a, r, k), QString::number(model_.cell(a, r, k).Value));
    WriteIni(image, InputKey, QString::number(selectedInput(controls_)));
    WriteIni(image, ExciterKey, onOff(controls_.exciter()));
    WriteIni(image, MuteKey, onOff(controls_.mute()));
    WriteIni(image, LockKey, onOff(controls_.lock()));
    const VolumeColumn& vc = controls_.volumeColumn();
    for (int ch = 0; ch < VolumeColumn::Channels; ++ch)
        for (int role = VolumeColumn::RoleMin; role <= VolumeColumn::RoleMode; ++role)
            WriteIni(image, volumeKey(ch, role),
                     QString::number(vc.spinnerValue(VolumeColumn::index(ch, role))));
}

// --- load ------------------------------------------------------------------

ProfileOutcome Ini_Oper::LoadProfile(const DialogOwners& owners) {
    const QString path = ShowOpenProfileDialog(desktop_, owners);
    // Read-only, hidden and other special entries count as found.
    if (path.isEmpty() || !QFileInfo::exists(path)) return ProfileOutcome::Cancelled;
    return loadFrom(path);
}

ProfileOutcome Ini_Oper::loadFrom(const QString& path) {
    iniFile_ = path;
    defaultSection_ = QLatin1String(ProfileSection);
    // One read of the file serves every key; nothing runs in between that
    // could change it.
    return loadImage(ProfileImage::load(iniFile_));
}

ProfileOutcome Ini_Oper::loadImage(const ProfileImage& image) {
    if (defaultSection_.isEmpty()) defaultSection_ = QLatin1String(ProfileSection);
    // Letter case counts here, unlike in the names of keys.
    if (ReadIni(image, QStringLiteral("Type"), QStringLiteral("NULL")) != QLatin1String(ModelCode))
        return fail(ProfileOutcome::WrongModel, texts_.wrongModel);
    if (!importValues(image)) return fail(ProfileOutcome::BadValue, texts_.badValue);
    return ProfileOutcome::Loaded;
}

// Takes the values in file order and stops at the first it cannot take: what
// came before stays, what comes after keeps its old value.
bool Ini_Oper::importValues(const ProfileImage& image) {
    const QString zero = QStringLiteral("0");
    for (PresetArray a : AllPresetArrays)
        for (int r = 0; r < rowCount(a); ++r)
            for (int k = 0; k < columnCount(a); ++k) {
                const std::optional<qint64> n = importNumber(ReadIni(image, cellKey(a, r, k), zero));
                if (!n || *n < 0 || *n > ByteTop) return false;
                model_.cell(a, r, k).Value = static_cast<std::uint8_t>(*n);
            }
    controls_.RefreshParameterControls();

    // All three options are cleared before the input is checked.
    setInputSelection(controls_, -1);
    const std::optional<qint64> input = importNumber(ReadIni(image, InputKey, zero));
    if (!input || *input < 0 || *input >= InputOptions) return false;
    controls_.setInputOption(static_cast<int>(*input), true);

    const std::pair<const QString&, void (ControlsView::*)(bool)> switches[] = {
        {ExciterKey, &ControlsView::setExciter},
        {MuteKey, &ControlsView::setMute},
        {LockKey, &ControlsView::setLock},
    };
    for (const auto& [key, set] : switches) {
        const std::optional<qint64> n = importNumber(ReadIni(image, key, zero));
        if (!n) return false;
        (controls_.*set)(*n != 0);
    }

    VolumeColumn& vc = controls_.volumeColumn();
    for (int ch = 0; ch < VolumeColumn::Channels; ++ch) {
        // Minimum and maximum go in as text and are applied as typed values
        // would be: a minimum above the maximum box becomes that maximum, a
        // maximum below the minimum just loaded becomes that minimum.
        for (int role : {VolumeColumn::RoleMin, VolumeColumn::RoleMax}) {
            const int i = VolumeColumn::index(ch, role);
            const QString fallback = role == VolumeColumn::RoleMax ? QString::number(VolumeColumn::DefaultMax) : zero;
            vc.setText(i, ReadIni(image, volumeKey(ch, role), fallback));
            if (!vc.ApplyLevelText(i)) return false;
        }
        const int iMode = VolumeColumn::index(ch, VolumeColumn::RoleMode);
        const std::optional<qint64> mode =
            importNumber(ReadIni(image, volumeKey(ch, VolumeColumn::RoleMode), zero));
        if (!mode || *mode < 0 || *mode > VolumeColumn::spinnerTop(iMode)) return false;
        vc.setSpinnerValue(iMode, static_cast<int>(*mode));
        // Rewrites the mode text even when the value did not change.
        vc.VScroll1_Change(iMode);
    }
    return true;
}

} // namespace sonmira::settings
