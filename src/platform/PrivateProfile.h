#pragma once
// INI files the Windows way ("private profiles"): named sections of
// key=value lines, names matched without regard to letter case, CRLF line
// ends, one byte per character.
//
// A file is handled as an image: its bytes as read, and the writes made to
// it. Reading finds the first section of a name and the first key of a name
// in it. Writing changes only the line of that key (or adds one at the end of
// its section, or adds the section at the end of the file) and keeps every
// other byte as it was, so many writes can be applied to one image and stored
// with one replacement. Only the sections asked for are indexed, so a large
// file costs little more memory than its bytes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <map>
#include <optional>
#include <span>
#include <vector>

namespace sonmira::platform {

class ProfileImage {
public:
    // Values longer than this are cut, as the platform's 250-byte buffer does.
    static constexpr int MaxValueLength = 249;
    // A profile is a few kilobytes, but one followed by other data is still
    // read. A file larger than this is not read at all (reading treats it as
    // missing, writing refuses it), which bounds the memory a file can take.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    ProfileImage() = default;
    explicit ProfileImage(const QByteArray& bytes); // at most MaxFileSize bytes

    // A missing file gives an empty image; a file that exists but cannot be
    // read, or is larger than MaxFileSize, gives nothing.
    static std::optional<ProfileImage> read(const QString& path);
    // For reading keys only: a file that cannot be read counts as missing.
    static ProfileImage load(const QString& path);

    // The text of the key, trimmed, cut before a zero byte and to
    // MaxValueLength; nothing when the section or the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Replaces the value of the key in place, or adds the key at the end of
    // its section, or the section with the key at the end of the image.
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray bytes() const;

    // Replaces the file at once (a temporary file in the same folder, then a
    // rename), so a failed or interrupted store leaves the old file intact.
    bool store(const QString& path) const;

private:
    // A line of the bytes read: its text [begin, textEnd), then its line end
    // up to end.
    struct Line {
        qsizetype begin = 0, textEnd = 0, end = 0;
    };
    // A key line that a write added: its folded name and its text.
    struct AddedKey {
        QByteArray name;
        QByteArray text;
    };
    // The first key line of a name in the bytes read: the hash of its folded
    // name and where the line begins. A key line follows its section's
    // header, so begin 0 marks a free slot.
    struct KeyRef {
        quint32 hash = 0;
        quint32 begin = 0;
    };
    static_assert(MaxFileSize <= 0xffffffff, "a line's place must fit a KeyRef");
    struct Section {
        QByteArray name;                 // folded
        bool inSource = false;           // found in the bytes read
        bool added = false;              // added at the end of the image
        QByteArray header;               // the header line of an added section
        qsizetype insertAt = 0;          // after the last non-blank line; new keys go there
        bool lastLineUnended = false;    // that line ends the bytes without a line end
        // Only the first line of a name can be found, so only that one is
        // kept: a section of one name repeated costs no more than the name.
        // An open table, a power of two of slots; a key is in the slot its
        // hash picks or in one of the slots after it.
        std::vector<KeyRef> keys;
        std::size_t keyCount = 0;        // slots in use
        std::vector<AddedKey> addedKeys; // in the order written
    };
    struct Replacement {
        qsizetype textEnd;
        QByteArray text;
    };

    Line lineAt(qsizetype begin) const;
    QByteArrayView textOf(const Line& line) const;
    // Finds the first section of a name in the bytes read, or a section
    // added; remembers what it found, also that nothing was found. The
    // reference holds until the next call.
    Section& section(const QString& name) const;
    Section scanSection(const QByteArray& folded) const;
    // The current text of a key's line, if the section holds the key.
    std::optional<QByteArray> keyText(const Section& s, const QByteArray& folded) const;
    const KeyRef* findKey(const Section& s, const QByteArray& folded) const;
    // Whether the key line that starts there has the name (trimmed, any
    // case).
    bool keyNameIs(qsizetype begin, QByteArrayView name) const;
    // Twice the slots (256 at first), the keys in their new places.
    static void growKeys(std::vector<KeyRef>& keys);
    // The slot of the key in a non-empty table, or the free slot where it
    // would go; names are compared without regard to case.
    std::size_t slotOf(const std::vector<KeyRef>& keys, quint32 hash, QByteArrayView name) const;
    // A key line met while indexing, with its name as written.
    struct NewKey {
        KeyRef ref;
        QByteArrayView name;
    };
    // Adds the keys in their order, each unless its name is already there.
    void addKeys(Section& s, std::span<const NewKey> batch) const;

    QByteArray source_;
    std::map<qsizetype, Replacement> replaced_; // line begin -> the line's new text
    mutable std::vector<Section> sections_;     // looked up so far
    std::vector<std::size_t> appended_;         // sections added, in order
    bool endSource_ = false;                    // the last line read gets a line end
};

// The per-call functions: each reads the file, and a write stores it again.
// Missing key, section or file: fallback. Key with an empty value: "".
QString readProfileString(const QString& section, const QString& key, const QString& fallback,
                          const QString& path);
bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& path);

} // namespace sonmira::platform
