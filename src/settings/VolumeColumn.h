#pragma once
// The volume column: for each channel (0 music, 1 microphone, 2 effect) a
// minimum, a maximum and a start-up mode, each a value box with a spinner.
// The spinner holds the setting; the box shows it, turns red while its text is
// typed and not applied, and applies on Enter. A thin view (VolumeColumnView)
// mirrors this state into widgets; every rule lives here.
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace sonmira::settings {

// The channel-level faders C_ScrollBar4(0..2) as the column and the transfers
// reach them. Setting a value clamps it to 0..80 and raises no event.
class LevelFaders {
public:
    virtual ~LevelFaders() = default;
    virtual int levelFaderValue(int channel) const = 0;
    virtual void setLevelFaderValue(int channel, int value) = 0;
};

enum class BoxColour { WindowText, Black, Red };

class VolumeColumn {
public:
    static constexpr int Channels = 3;
    static constexpr int Boxes = 9;
    static constexpr int RoleMin = 0, RoleMax = 1, RoleMode = 2;
    static constexpr int LevelTop = 80;   // range of Min, Max and the level faders
    static constexpr std::array<int, Channels> ModeTop{5, 5, 7};
    // Factory settings.
    static constexpr std::array<int, Channels> DefaultMin{20, 30, 36};
    static constexpr int DefaultMax = 80;

    static constexpr int index(int channel, int role) { return 3 * channel + role; }
    static constexpr int channelOf(int index) { return index / 3; }
    static constexpr int roleOf(int index) { return index % 3; }
    static bool validIndex(int index) { return index >= 0 && index < Boxes; }
    // "MUS1".."MUS6", "MIC1".."MIC6", "KTV1".."KTV4", "EFF1".."EFF4".
    static QString modeText(int channel, int value);
    // A whole number in plain digits ("05" is 5); nothing for "", "-1", "4a".
    static std::optional<int> parseWholeNumber(const QString& text);

    explicit VolumeColumn(LevelFaders* faders = nullptr);
    void setLevelFaders(LevelFaders* faders) { faders_ = faders; }

    // A view hooks these to mirror the state: a box's text or colour changed,
    // a spinner's value changed.
    std::function<void(int index)> onBoxChanged;
    std::function<void(int index)> onSpinnerChanged;

    // --- boxes Text1(0..8) -------------------------------------------------
    const QString& text(int index) const { return box(index).text; }
    BoxColour colour(int index) const { return box(index).colour; }
    static bool readOnly(int index) { return roleOf(index) == RoleMode; }
    // The most characters the user may bring a box to; 0 for no limit. The
    // window's description gives it.
    int maxLength(int index) const { return box(index).maxLength; }
    void setMaxLength(int index, int length) { box(index).maxLength = length; }
    // What a box takes of the user's input (typed or pasted) beside the
    // `kept` characters of its text that the input does not replace: the
    // input cut to the room left under its limit. Only the user's input is
    // limited; text the program writes is never cut.
    QString fitInput(int index, qsizetype kept, const QString& input) const;
    // Text written by the program or by an edit; a change runs Text1_Change.
    void setText(int index, const QString& text);
    // The box's text as a whole number, if it is one.
    std::optional<int> boxNumber(int index) const { return parseWholeNumber(text(index)); }
    // What bounds a channel's level: the number in its Max box, typed or not.
    std::optional<int> maxBoxNumber(int channel) const { return boxNumber(index(channel, RoleMax)); }

    // --- spinners VScroll1(0..8) -----------------------------------------
    int spinnerValue(int index) const { return spin(index).value; }
    static int spinnerTop(int index);
    // Refuses (false, nothing changes) a value outside 0..spinnerTop. A change
    // of value runs VScroll1_Change before this returns.
    bool setSpinnerValue(int index, int value);
    // An arrow click: the upper arrow lowers the value by one, the lower raises
    // it. At an end of the range nothing changes.
    void clickArrow(int index, bool upper);

    // --- event handlers -------------------------------------------------------
    void VScroll1_Change(int index);
    void Text1_Change(int index);
    // Runs for each typed character before the box takes it; code 0 discards it.
    void Text1_KeyPress(int index, int& code);
    // Applies a Min or Max box to its spinner. False when the spinner refused
    // the box's number (not a whole number, or above 80): the box is then
    // rewritten from its spinner. Mode boxes and bad indexes: nothing, true.
    bool ApplyLevelText(int index);

    // Typing one character at the end of a box, as an edit box would take it:
    // the key filter, then the character unless refused, read-only or full.
    void typeKey(int index, int code);

private:
    struct Box {
        QString text;
        BoxColour colour = BoxColour::WindowText;
        int maxLength = 0;
    };
    struct Spinner {
        int value = 0;
    };
    const Box& box(int index) const { return boxes_.at(static_cast<std::size_t>(index)); }
    Box& box(int index) { return boxes_.at(static_cast<std::size_t>(index)); }
    const Spinner& spin(int index) const { return spinners_.at(static_cast<std::size_t>(index)); }
    void setColour(int index, BoxColour c);
    // Back to the applied value: the spinner's text, black.
    void restoreFromSpinner(int index) { VScroll1_Change(index); }

    LevelFaders* faders_;
    std::array<Box, Boxes> boxes_;
    std::array<Spinner, Boxes> spinners_;
};

} // namespace sonmira::settings
