#include "PrivateProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <iterator>

namespace sonmira::platform {

namespace {

const QByteArray Crlf = QByteArrayLiteral("\r\n");

// Names match without regard to ASCII letter case; other bytes as they are.
QByteArray fold(const QByteArray& name) { return name.trimmed().toLower(); }
QByteArray fold(const QString& name) { return fold(name.toLatin1()); }

bool isHeader(const QByteArray& trimmed) { return trimmed.startsWith('['); }

QByteArray headerName(const QByteArray& trimmed) {
    const qsizetype close = trimmed.indexOf(']');
    return trimmed.mid(1, close < 0 ? -1 : close - 1);
}

// Later sections and keys of a name already seen are kept but never found.
void keepFirst(QHash<QByteArray, qsizetype>& index, const QByteArray& name, qsizetype at) {
    if (!index.contains(name)) index.insert(name, at);
}

} // namespace

ProfileImage::ProfileImage(const QByteArray& bytes) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', pos);
        Line line;
        if (lf < 0) {
            line.text = bytes.mid(pos);
            pos = bytes.size();
        } else {
            const bool cr = lf > pos && bytes[lf - 1] == '\r';
            line.text = bytes.mid(pos, lf - pos - (cr ? 1 : 0));
            line.end = cr ? Crlf : QByteArrayLiteral("\n");
            pos = lf + 1;
        }
        addLine(std::move(line));
    }
}

void ProfileImage::addLine(Line line) {
    const QByteArray trimmed = line.text.trimmed();
    if (isHeader(trimmed)) {
        keepFirst(sectionIndex_, fold(headerName(trimmed)), qsizetype(sections_.size()));
        sections_.push_back(Section{});
        sections_.back().lines.push_back(std::move(line));
        return;
    }
    if (sections_.empty()) {
        preamble_.push_back(std::move(line));
        return;
    }
    Section& s = sections_.back();
    if (trimmed.isEmpty()) {
        s.blankTail.push_back(std::move(line));
        return;
    }
    // Blank lines followed by more text belong inside the section.
    s.lines.insert(s.lines.end(), std::make_move_iterator(s.blankTail.begin()),
                   std::make_move_iterator(s.blankTail.end()));
    s.blankTail.clear();
    const qsizetype eq = trimmed.indexOf('=');
    if (eq >= 0) keepFirst(s.keys, fold(trimmed.left(eq)), qsizetype(s.lines.size()));
    s.lines.push_back(std::move(line));
}

std::optional<ProfileImage> ProfileImage::read(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return ProfileImage{};
    // Folders, pipes and devices are no profiles; a pipe could block the read.
    if (!info.isFile()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize) return std::nullopt;
    // A file that grows while it is read is cut at the limit and refused.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize || file.error() != QFileDevice::NoError) return std::nullopt;
    return ProfileImage(bytes);
}

ProfileImage ProfileImage::load(const QString& path) { return read(path).value_or(ProfileImage{}); }

const ProfileImage::Section* ProfileImage::findSection(const QString& name) const {
    const auto it = sectionIndex_.constFind(fold(name));
    return it == sectionIndex_.cend() ? nullptr : &sections_[std::size_t(*it)];
}

ProfileImage::Section* ProfileImage::findSection(const QString& name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

std::optional<QString> ProfileImage::value(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    if (!s) return std::nullopt;
    const auto it = s->keys.constFind(fold(key));
    if (it == s->keys.cend()) return std::nullopt;
    const QByteArray& text = s->lines[std::size_t(*it)].text;
    QByteArray v = text.mid(text.indexOf('=') + 1);
    const qsizetype nul = v.indexOf('\0');
    if (nul >= 0) v.truncate(nul);
    v = v.trimmed();
    v.truncate(MaxValueLength);
    return QString::fromLatin1(v);
}

// Gives the last line of the image a line end, so that a line can follow it.
void ProfileImage::endLastLine() {
    std::vector<Line>* last = &preamble_;
    if (!sections_.empty()) {
        Section& s = sections_.back();
        last = s.blankTail.empty() ? &s.lines : &s.blankTail;
    }
    if (!last->empty() && last->back().end.isEmpty()) last->back().end = Crlf;
}

void ProfileImage::setValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray name = key.toLatin1().trimmed();
    QByteArray text = name + '=' + value.toLatin1();
    Section* s = findSection(section);
    if (!s) {
        endLastLine();
        addLine({'[' + section.toLatin1().trimmed() + ']', Crlf});
        addLine({std::move(text), Crlf});
        return;
    }
    const auto it = s->keys.constFind(fold(name));
    if (it != s->keys.cend()) {
        Line& line = s->lines[std::size_t(*it)];
        // The name keeps its spelling in the file; only the value changes.
        line.text = line.text.left(line.text.indexOf('=')).trimmed() + '=' + value.toLatin1();
        return;
    }
    // After the section's last non-blank line, before its trailing blank
    // lines; appending there keeps a save linear in the size of the file.
    Line& before = s->lines.back();
    if (before.end.isEmpty()) before.end = Crlf;
    s->keys.insert(fold(name), qsizetype(s->lines.size()));
    s->lines.push_back(Line{std::move(text), Crlf});
}

QByteArray ProfileImage::bytes() const {
    QByteArray out;
    const auto append = [&out](const std::vector<Line>& lines) {
        for (const Line& l : lines) out += l.text + l.end;
    };
    append(preamble_);
    for (const Section& s : sections_) {
        append(s.lines);
        append(s.blankTail);
    }
    return out;
}

bool ProfileImage::store(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray data = bytes();
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString readProfileString(const QString& section, const QString& key, const QString& fallback,
                          const QString& path) {
    return ProfileImage::load(path).value(section, key).value_or(fallback);
}

bool writeProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& path) {
    std::optional<ProfileImage> image = ProfileImage::read(path);
    if (!image) return false;
    image->setValue(section, key, value);
    return image->store(path);
}

} // namespace sonmira::platform
