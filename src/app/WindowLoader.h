#pragma once
// Builds a window's controls from its description. Each kind of control has
// one entry in a table (kind name -> factory); a factory creates its control,
// feeds it the stored settings and places it. The result keeps every control
// by name and index, so that window code finds C_ScrollBar1(3) and the like.
#include "WindowDescription.h"

#include <QFont>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace sonmira::app {

// The controls of one loaded window. A timer has a record but no widget.
class LoadedWindow {
public:
    struct Entry {
        QPointer<QWidget> widget;
        const ControlRecord* record = nullptr; // into the description the loader was given
    };

    // The control, or nullptr when there is none by that name and index
    // (index -1 for a single control).
    QWidget* find(const QString& name, int index = -1) const;
    template <typename T>
    T* get(const QString& name, int index = -1) const {
        return qobject_cast<T*>(find(name, index));
    }
    // The control the window code relies on. Throws std::runtime_error naming
    // it when there is none of that kind.
    template <typename T = QWidget>
    T* require(const QString& name, int index = -1) const {
        if (T* c = get<T>(name, index)) return c;
        throw std::runtime_error(missing(name, index));
    }
    const ControlRecord* record(const QString& name, int index = -1) const;
    // The stored interval and start state of a timer the window code runs.
    // Throws std::runtime_error when there is no such timer or its interval
    // is not 1 to 65535 ms.
    const ControlRecord& timer(const QString& name) const;
    // Every control besides the window itself, timers included.
    int count() const { return static_cast<int>(entries_.size()); }

private:
    friend class WindowLoader;
    static QString key(const QString& name, int index);
    static std::string missing(const QString& name, int index);
    QHash<QString, Entry> entries_;
};

class WindowLoader {
public:
    using Factory = std::function<QWidget*(const ControlRecord&, QWidget* parent)>;

    // The kinds a description may use.
    static const std::map<QString, Factory>& kinds();

    // Creates every control of the description as a child of window (or of
    // its frame). The description must outlive the result. A description that
    // names an unknown kind creates nothing and returns nothing, with the
    // reason in *error.
    static std::optional<LoadedWindow> load(const WindowDescription& description, QWidget& window,
                                            QString* error);

    // The font a description stores. Where it is not installed and what the
    // toolkit takes instead lacks the stored script, the font the system
    // prefers for that script's language.
    static QFont font(const FontRecord& stored);
    // A picture resource drawn at its own size (an SVG at its stated size).
    static QPixmap picture(const QString& path);
    // A window icon with one image at each of the sizes the desktop asks
    // for: 16, 32, 48, 64 and 128 pixels square.
    static QIcon icon(const QString& path);
};

// Twips to the nearest pixel, and a record's rectangle in pixels.
QRect twipsToPixels(const QRect& twips);

} // namespace sonmira::app
