#pragma once
// A window description as plain records: the window itself, what its loading
// routine places, and every control with its kind, name, index, place in
// twips, texts, colours and stored settings. Read from JSON; nothing here
// creates a widget (WindowLoader does).
#include "controls/PropertyBag.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QByteArray;

namespace sonmira::app {

struct FontRecord {
    QString name;
    double points = 0;
    bool bold = false;
    int charset = 0;
};

struct ControlRecord {
    QString kind;      // a key of the loader's kind table
    QString name;
    int index = -1;    // member of a control array; -1 for a single control
    QString container; // the frame that holds it; empty for the window itself
    QRect twips;       // Left, Top, Width, Height
    bool visible = true;
    QString tag;       // the host's Tag (a parameter address on the faders)
    QString caption;   // labels and frames
    QString text;      // text boxes
    std::optional<std::uint32_t> backColor; // 0x00BBGGRR
    std::optional<std::uint32_t> foreColor;
    std::optional<FontRecord> font;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool transparent = false; // the label shows what lies under it
    int borderStyle = 1;      // 0 none, 1 fixed single
    int maxLength = 0;        // text box: 0 for no limit
    bool locked = false;      // text box: read-only
    int max = 0;              // vertical scroll bar: range 0..max
    int value = 0;
    int interval = 0; // timer, in ms
    bool enabled = false;
    QString picture;  // resource path of a picture box's image
    controls::PropertyBag properties; // skinned controls' stored settings

    // "Name" or "Name(index)", as messages name a control.
    QString displayName() const;
};

// A Left/Top (and visibility) the loading routine gives a control.
struct Placement {
    QString name;
    QPoint twips;
    bool visible = true;
};

// What the loading routine of the main window sets, per skin.
struct LoadLayout {
    std::vector<Placement> headerTexts;  // Text2, Text3, Text4
    std::vector<Placement> headerStrips; // Picture1..Picture6
    int micFaderTop = 0;
    QRect music;       // Frame1: Left, Top, Width, Height
    QPoint effect;     // Frame2: Left, Top; its size follows Frame1
    int frameFaderTop = 0; // fader Top inside the frames
};

struct WindowRecord {
    QString name;
    QString caption;
    QSize clientTwips;
    std::uint32_t backColor = 0xFFFFFF;
    QString picture;
    bool keyPreview = false;
    QString icon; // resource path of the window icon
};

struct WindowDescription {
    WindowRecord window;
    LoadLayout load;
    std::vector<ControlRecord> controls;
};

// Parses a description. On a fault returns nothing and says in *error which
// control or key is wrong. Checks the shape only: whether a kind is known is
// the loader's business.
std::optional<WindowDescription> parseWindowDescription(const QByteArray& json, QString* error);
// Reads and parses a file or a resource (":/windows/...").
std::optional<WindowDescription> readWindowDescription(const QString& path, QString* error);

// "&HBBGGRR" (up to eight hex digits) as 0x00BBGGRR.
std::optional<std::uint32_t> parseColour(const QString& text);

} // namespace sonmira::app
