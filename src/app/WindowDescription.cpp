#include "WindowDescription.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>
#include <limits>

namespace sonmira::app {

QString ControlRecord::displayName() const {
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

std::optional<std::uint32_t> parseColour(const QString& text) {
    if (!text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) || text.size() < 3 || text.size() > 10)
        return std::nullopt;
    bool ok = false;
    const uint v = text.mid(2).toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return v & 0xFFFFFFu;
}

namespace {

// Reads the members of one JSON object; the first fault is kept and names
// where it was found.
class Reader {
public:
    Reader(const QJsonObject& o, QString where, QString* error) : o_(o), where_(std::move(where)), error_(error) {}

    bool ok() const { return error_->isEmpty(); }
    bool has(const char* key) const { return o_.contains(QLatin1String(key)); }

    int integer(const char* key, int fallback = 0) {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (v.isUndefined()) return fallback;
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || d != std::floor(d) || std::abs(d) > std::numeric_limits<std::int32_t>::max()) {
            fail(key, "a whole number");
            return fallback;
        }
        return static_cast<int>(d);
    }
    double number(const char* key) {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (!v.isDouble()) fail(key, "a number");
        return v.toDouble();
    }
    bool flag(const char* key, bool fallback) {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (v.isUndefined()) return fallback;
        if (!v.isBool()) fail(key, "true or false");
        return v.toBool(fallback);
    }
    QString string(const char* key, bool required = false) {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (v.isUndefined() && !required) return {};
        if (!v.isString()) fail(key, "a text");
        return v.toString();
    }
    std::optional<std::uint32_t> colour(const char* key) {
        if (!has(key)) return std::nullopt;
        const auto c = parseColour(string(key));
        if (!c) fail(key, "a colour &HBBGGRR");
        return c;
    }
    QJsonObject object(const char* key) {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (!v.isObject()) fail(key, "an object");
        return v.toObject();
    }
    QJsonArray array(const char* key) {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (!v.isArray()) fail(key, "a list");
        return v.toArray();
    }
    void fail(const char* key, const char* expected) {
        fail(QStringLiteral("\"%1\" must be %2").arg(QLatin1String(key), QLatin1String(expected)));
    }
    void fail(const QString& what) {
        if (ok()) *error_ = QStringLiteral("%1: %2").arg(where_, what);
    }
    const QString& where() const { return where_; }

private:
    QJsonObject o_;
    QString where_;
    QString* error_;
};

Qt::Alignment alignmentOf(Reader& r) {
    const QString a = r.string("alignment");
    if (a.isEmpty() || a == QLatin1String("left")) return Qt::AlignLeft;
    if (a == QLatin1String("center")) return Qt::AlignHCenter;
    if (a == QLatin1String("right")) return Qt::AlignRight;
    r.fail("alignment", "left, center or right");
    return Qt::AlignLeft;
}

// JSON true/false are Booleans, whole numbers Longs and texts Strings, under
// the lower-case key.
controls::PropertyBag propertiesOf(Reader& parent, const QJsonObject& o) {
    controls::PropertyBag bag;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QJsonValue v = it.value();
        if (v.isBool()) bag.WriteProperty(it.key().toLower(), v.toBool());
        else if (v.isString()) bag.WriteProperty(it.key().toLower(), v.toString());
        else if (v.isDouble() && v.toDouble() == std::floor(v.toDouble()) &&
                 std::abs(v.toDouble()) <= std::numeric_limits<std::int32_t>::max())
            bag.WriteProperty(it.key().toLower(), static_cast<std::int32_t>(v.toDouble()));
        else parent.fail(QStringLiteral("property \"%1\" must be true, false, a whole number or a text").arg(it.key()));
    }
    return bag;
}

ControlRecord controlOf(const QJsonValue& value, int position, QString* error) {
    ControlRecord c;
    Reader r(value.toObject(), QStringLiteral("control %1").arg(position), error);
    if (!value.isObject()) {
        r.fail(QStringLiteral("not an object"));
        return c;
    }
    c.name = r.string("name", true);
    c.index = r.integer("index", -1);
    if (r.ok() && c.name.isEmpty()) r.fail("name", "a text that is not empty");
    if (r.ok() && c.index < -1) r.fail("index", "0 or more");
    if (!r.ok()) return c;
    Reader n(value.toObject(), c.displayName(), error);
    c.kind = n.string("kind", true);
    c.container = n.string("container");
    c.twips = QRect(n.integer("left"), n.integer("top"), n.integer("width"), n.integer("height"));
    c.visible = n.flag("visible", true);
    c.tag = n.string("tag");
    c.caption = n.string("caption");
    c.text = n.string("text");
    c.backColor = n.colour("backColor");
    c.foreColor = n.colour("foreColor");
    if (n.has("font")) {
        Reader f(n.object("font"), c.displayName() + QStringLiteral(" font"), error);
        c.font = FontRecord{f.string("name", true), f.number("size"), f.flag("bold", false), f.integer("charset")};
    }
    c.alignment = alignmentOf(n);
    c.transparent = n.flag("transparent", false);
    c.borderStyle = n.integer("borderStyle", 1);
    c.maxLength = n.integer("maxLength");
    c.locked = n.flag("locked", false);
    c.max = n.integer("max");
    c.value = n.integer("value");
    c.interval = n.integer("interval");
    c.enabled = n.flag("enabled", false);
    c.picture = n.string("picture");
    if (n.has("properties")) c.properties = propertiesOf(n, n.object("properties"));
    if (c.twips.width() < 0 || c.twips.height() < 0) n.fail(QStringLiteral("a negative size"));
    return c;
}

std::vector<Placement> placementsOf(const QJsonArray& list, QString* error) {
    std::vector<Placement> out;
    for (const QJsonValue& v : list) {
        Reader r(v.toObject(), QStringLiteral("load"), error);
        out.push_back({r.string("name", true), QPoint(r.integer("left"), r.integer("top")), r.flag("visible", true)});
    }
    return out;
}

LoadLayout loadOf(Reader& r, QString* error) {
    LoadLayout l;
    if (!r.has("load")) return l; // a window with no loading routine of its own
    Reader load(r.object("load"), QStringLiteral("load"), error);
    l.headerTexts = placementsOf(load.array("headerTexts"), error);
    l.headerStrips = placementsOf(load.array("headerStrips"), error);
    l.micFaderTop = load.integer("micFaderTop");
    Reader music(load.object("music"), QStringLiteral("load music"), error);
    l.music = QRect(music.integer("left"), music.integer("top"), music.integer("width"), music.integer("height"));
    Reader effect(load.object("effect"), QStringLiteral("load effect"), error);
    l.effect = QPoint(effect.integer("left"), effect.integer("top"));
    l.frameFaderTop = load.integer("frameFaderTop");
    return l;
}

} // namespace

std::optional<WindowDescription> parseWindowDescription(const QByteArray& json, QString* error) {
    QString fault;
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError) {
        fault = QStringLiteral("not JSON at offset %1: %2").arg(pe.offset).arg(pe.errorString());
    } else if (!doc.isObject()) {
        fault = QStringLiteral("not a JSON object");
    }
    WindowDescription d;
    if (fault.isEmpty()) {
        Reader top(doc.object(), QStringLiteral("description"), &fault);
        Reader w(top.object("window"), QStringLiteral("window"), &fault);
        d.window.name = w.string("name", true);
        d.window.caption = w.string("caption");
        d.window.clientTwips = QSize(w.integer("clientWidth"), w.integer("clientHeight"));
        d.window.backColor = w.colour("backColor").value_or(0xFFFFFF);
        d.window.picture = w.string("picture");
        d.window.keyPreview = w.flag("keyPreview", false);
        d.window.icon = w.string("icon");
        d.load = loadOf(top, &fault);
        const QJsonArray list = top.array("controls");
        QSet<QString> seen;
        QSet<QString> frames;
        for (int i = 0; i < list.size() && fault.isEmpty(); ++i) {
            ControlRecord c = controlOf(list.at(i), i, &fault);
            if (!fault.isEmpty()) break;
            const QString key = c.displayName();
            if (seen.contains(key)) fault = QStringLiteral("%1: appears twice").arg(key);
            else if (!c.container.isEmpty() && !frames.contains(c.container))
                fault = QStringLiteral("%1: its container \"%2\" is not a frame described before it")
                            .arg(key, c.container);
            seen.insert(key);
            if (c.kind == QLatin1String("Frame")) frames.insert(c.name);
            d.controls.push_back(std::move(c));
        }
    }
    if (!fault.isEmpty()) {
        if (error) *error = fault;
        return std::nullopt;
    }
    return d;
}

std::optional<WindowDescription> readWindowDescription(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1: cannot be read (%2)").arg(path, f.errorString());
        return std::nullopt;
    }
    QString fault;
    auto d = parseWindowDescription(f.readAll(), &fault);
    if (!d && error) *error = QStringLiteral("%1: %2").arg(path, fault);
    return d;
}

} // namespace sonmira::app
