#include "PropertyBag.h"

#include <limits>

namespace sonmira::controls {

namespace {

std::optional<std::int64_t> asNumber(const PropertyValue& v) {
    if (const auto* l = std::get_if<std::int32_t>(&v)) return *l;
    if (const auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0; // True is -1
    if (const auto* y = std::get_if<std::uint8_t>(&v)) return *y;
    const QString s = std::get<QString>(v).trimmed();
    if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return -1;
    if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return 0;
    bool ok = false;
    const qlonglong n = s.toLongLong(&ok);
    if (!ok) return std::nullopt;
    return n;
}

template <typename T>
std::optional<T> inRange(std::optional<std::int64_t> n) {
    if (!n || *n < std::numeric_limits<T>::min() || *n > std::numeric_limits<T>::max())
        return std::nullopt;
    return T(*n);
}

} // namespace

void PropertyBag::WriteProperty(const QString& key, const PropertyValue& value) {
    for (Entry& e : entries_) {
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = value;
            return;
        }
    }
    entries_.push_back({key.toLower(), value});
}

const PropertyValue* PropertyBag::find(const QString& key) const {
    for (const Entry& e : entries_)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) return &e.value;
    return nullptr;
}

std::int32_t PropertyBag::readLong(const QString& key, std::int32_t defaultValue) const {
    const PropertyValue* v = find(key);
    if (!v) return defaultValue;
    return inRange<std::int32_t>(asNumber(*v)).value_or(defaultValue);
}

QString PropertyBag::readString(const QString& key, const QString& defaultValue) const {
    const PropertyValue* v = find(key);
    if (!v) return defaultValue;
    if (const auto* s = std::get_if<QString>(v)) return *s;
    if (const auto* b = std::get_if<bool>(v)) return *b ? QStringLiteral("True") : QStringLiteral("False");
    return QString::number(*asNumber(*v));
}

bool PropertyBag::readBoolean(const QString& key, bool defaultValue) const {
    const PropertyValue* v = find(key);
    if (!v) return defaultValue;
    const auto n = asNumber(*v);
    return n ? *n != 0 : defaultValue;
}

std::uint8_t PropertyBag::readByte(const QString& key, std::uint8_t defaultValue) const {
    const PropertyValue* v = find(key);
    if (!v) return defaultValue;
    return inRange<std::uint8_t>(asNumber(*v)).value_or(defaultValue);
}

} // namespace sonmira::controls
