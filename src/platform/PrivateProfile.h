#pragma once
// INI files the Windows way ("private profiles"): named sections of
// key=value lines, names matched without regard to letter case, CRLF line
// ends, one byte per character.
//
// A file is handled as an image of its lines. Reading finds the first
// section of a name and the first key of a name in it. Writing changes only
// the line of that key (or adds one at the end of its section, or adds the
// section at the end of the file) and keeps every other byte as it was, so
// many writes can be applied to one image and stored with one replacement.
#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace sonmira::platform {

class ProfileImage {
public:
    // Values longer than this are cut, as the platform's 250-byte buffer does.
    static constexpr int MaxValueLength = 249;
    // A profile is a few kilobytes; a file this large is no profile and is
    // not parsed at all (reading treats it as missing, writing refuses it).
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    ProfileImage() = default;
    explicit ProfileImage(const QByteArray& bytes);

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
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n", or "" for a last line without one
    };
    struct Section {
        std::vector<Line> lines;             // the header line first, up to the last non-blank line
        std::vector<Line> blankTail;         // the blank lines after it; new keys go before them
        QHash<QByteArray, qsizetype> keys;   // folded key -> its first line in lines
    };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    void addLine(Line line);
    void endLastLine();

    std::vector<Line> preamble_;                 // lines before the first header
    std::vector<Section> sections_;
    QHash<QByteArray, qsizetype> sectionIndex_; // folded name -> first section
};

// The per-call functions: each reads the file, and a write stores it again.
// Missing key, section or file: fallback. Key with an empty value: "".
QString readProfileString(const QString& section, const QString& key, const QString& fallback,
                          const QString& path);
bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& path);

} // namespace sonmira::platform
