#pragma once
// Profile files: one section "Main" with the model code under "Type", every
// preset cell, the input, exciter, mute and lock switches and the nine values
// of the volume column. SaveProfile writes them to a file the user names and
// LoadProfile reads one back into the model and its controls. Neither talks to
// the unit: loaded values reach it only by Upload or later edits.
#include "ControlsView.h"
#include "ParamModel.h"
#include "ProfileDialogs.h"
#include "link/LinkTexts.h"
#include "platform/Desktop.h"
#include "platform/PrivateProfile.h"

#include <QString>

#include <optional>

namespace sonmira::settings {

// The device model code written under "Type" and required on import.
inline constexpr char ModelCode[] = "TSR-515GN";
inline constexpr char ProfileSection[] = "Main";
inline constexpr char ProfileExtension[] = ".ZSP";
inline constexpr int ProfileKeyCount = 212;

// Message wording of the profile routines in one skin.
struct ProfileTexts {
    QString wrongModel; // the file's Type is not the model code
    QString badValue;   // the import met a value it cannot take
    QString saveFailed; // the file could not be written

    static const ProfileTexts& of(link::Skin skin);
};

enum class ProfileOutcome {
    Cancelled,  // no path, or an import path that does not exist: nothing shown
    Saved,
    SaveFailed, // message shown; an existing file is left as it was
    Loaded,
    WrongModel, // message shown; nothing read
    BadValue,   // message shown; the values before the bad one were taken
};

// The key of a preset cell: "Music0.0" .. "Eff1.9".
QString cellKey(PresetArray a, int row, int col);
// "VOL0.0" .. "VOL2.2".
QString volumeKey(int channel, int role);
// The path a save writes: the chosen one, with ".ZSP" added unless it
// already ends so (in any letter case).
QString withProfileExtension(const QString& path);

class Ini_Oper {
public:
    // One per main window: its model, its controls and its skin's messages.
    Ini_Oper(platform::Desktop& desktop, SettingsModel& model, ControlsView& controls, link::Skin skin);

    // The "Save" button: asks for a path, then writes every key in one
    // replacement of the file. A failure is told once; the old file stays.
    ProfileOutcome SaveProfile(const DialogOwners& owners);
    // The "Import" button: asks for a path, checks the model code, then reads
    // every key until the first value it cannot take. Sends nothing.
    ProfileOutcome LoadProfile(const DialogOwners& owners);

    // The two routines after their dialogs, for a path already chosen.
    ProfileOutcome saveTo(const QString& path);
    ProfileOutcome loadFrom(const QString& path);
    // The import of a file's contents already read.
    ProfileOutcome loadImage(const platform::ProfileImage& image);

    // The path and the section of the last save or load.
    const QString& IniFile() const { return iniFile_; }
    const QString& DefaultSection() const { return defaultSection_; }

    // The file's current contents with every key of the settings written in,
    // as the per-key writes of the platform would leave them.
    void writeAllKeys(platform::ProfileImage& image);

private:
    // A key's text: "" when present but empty, fallback when missing.
    QString ReadIni(const platform::ProfileImage& image, const QString& key, const QString& fallback) const;
    void WriteIni(platform::ProfileImage& image, const QString& key, const QString& value) const;
    bool importValues(const platform::ProfileImage& image);
    ProfileOutcome fail(ProfileOutcome outcome, const QString& text);

    platform::Desktop& desktop_;
    SettingsModel& model_;
    ControlsView& controls_;
    const ProfileTexts& texts_;
    QString iniFile_;
    QString defaultSection_;
};

} // namespace sonmira::settings
