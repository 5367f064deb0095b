#pragma once
// Design-time settings of a skinned control: an ordered list of keys with typed
// values, as a window description stores them. Keys are kept in lower case (as
// hosts store them) and matched without regard to case. A bag is plain data:
// a host fills it from a window description and hands it to the control's
// UserControl_ReadProperties; UserControl_WriteProperties fills it back.
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace sonmira::controls {

// Long (32-bit signed), String, Boolean, Byte.
using PropertyValue = std::variant<std::int32_t, QString, bool, std::uint8_t>;

class PropertyBag {
public:
    struct Entry {
        QString key; // lower case
        PropertyValue value;
    };

    // Stores the value under the key: in place when the key is already there,
    // otherwise at the end.
    void WriteProperty(const QString& key, const PropertyValue& value);

    // The stored value, converted to the asked type, or the default when the
    // key is missing or its value does not convert. Strings convert to
    // numbers and flags ("True", "False" or a number; a flag is any number
    // but 0); a Byte outside 0 to 255 does not convert.
    std::int32_t readLong(const QString& key, std::int32_t defaultValue) const;
    QString readString(const QString& key, const QString& defaultValue) const;
    bool readBoolean(const QString& key, bool defaultValue) const;
    std::uint8_t readByte(const QString& key, std::uint8_t defaultValue) const;

    bool contains(const QString& key) const { return find(key) != nullptr; }
    const PropertyValue* find(const QString& key) const;
    const std::vector<Entry>& entries() const { return entries_; }
    bool isEmpty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};

} // namespace sonmira::controls
