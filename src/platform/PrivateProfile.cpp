#include "PrivateProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace sonmira::platform {

namespace {

const QByteArray Crlf = QByteArrayLiteral("\r\n");

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Names match without regard to ASCII letter case and to blanks around them;
// other bytes as they are.
QByteArray fold(QByteArrayView name) {
    QByteArray out = name.trimmed().toByteArray();
    for (char& c : out) c = lower(c);
    return out;
}
QByteArray fold(const QString& name) { return fold(QByteArrayView(name.toLatin1())); }

// FNV-1a over the folded name, without building it.
quint32 nameHash(QByteArrayView trimmed) {
    quint32 h = 2166136261u;
    for (char c : trimmed) {
        h ^= quint8(lower(c));
        h *= 16777619u;
    }
    return h;
}

bool sameName(QByteArrayView trimmed, const QByteArray& folded) {
    if (trimmed.size() != folded.size()) return false;
    for (qsizetype i = 0; i < folded.size(); ++i)
        if (lower(trimmed[i]) != folded[i]) return false;
    return true;
}

bool isHeader(QByteArrayView trimmed) { return trimmed.startsWith('['); }

QByteArrayView headerName(QByteArrayView trimmed) {
    const qsizetype close = trimmed.indexOf(']');
    return trimmed.sliced(1, (close < 0 ? trimmed.size() : close) - 1).trimmed();
}

// The name of a key line: what stands before its first "=", trimmed.
QByteArrayView keyName(QByteArrayView trimmed) { return trimmed.first(trimmed.indexOf('=')).trimmed(); }

} // namespace

ProfileImage::ProfileImage(const QByteArray& bytes) : source_(bytes) {}

ProfileImage::Line ProfileImage::lineAt(qsizetype begin) const {
    const char* data = source_.constData();
    const qsizetype size = source_.size();
    const void* lf = std::memchr(data + begin, '\n', std::size_t(size - begin));
    if (!lf) return {begin, size, size};
    const qsizetype at = static_cast<const char*>(lf) - data;
    const bool cr = at > begin && data[at - 1] == '\r';
    return {begin, cr ? at - 1 : at, at + 1};
}

QByteArrayView ProfileImage::textOf(const Line& line) const {
    return QByteArrayView(source_.constData() + line.begin, line.textEnd - line.begin);
}

// Later sections and keys of a name already seen are kept but never found.
ProfileImage::Section ProfileImage::scanSection(const QByteArray& folded) const {
    Section s;
    s.name = folded;
    const qsizetype size = source_.size();
    qsizetype pos = 0;
    Line last;
    while (pos < size && !s.inSource) {
        last = lineAt(pos);
        pos = last.end;
        const QByteArrayView t = textOf(last).trimmed();
        s.inSource = isHeader(t) && sameName(headerName(t), folded);
    }
    if (!s.inSource) return s;
    while (pos < size) {
        const Line line = lineAt(pos);
        pos = line.end;
        const QByteArrayView t = textOf(line).trimmed();
        if (t.isEmpty()) continue; // blank lines followed by more text belong inside the section
        if (isHeader(t)) break;
        last = line;
        if (t.contains('=')) s.keys.push_back({nameHash(keyName(t)), line.begin});
    }
    // After the section's last non-blank line, before its trailing blank
    // lines; appending there keeps a save linear in the size of the file.
    s.insertAt = last.end;
    s.lastLineUnended = last.end == last.textEnd;
    std::stable_sort(s.keys.begin(), s.keys.end(), [](const KeyRef& a, const KeyRef& b) { return a.hash < b.hash; });
    return s;
}

ProfileImage::Section& ProfileImage::section(const QString& name) const {
    const QByteArray folded = fold(name);
    for (Section& s : sections_)
        if (s.name == folded) return s;
    sections_.push_back(scanSection(folded));
    return sections_.back();
}

const ProfileImage::KeyRef* ProfileImage::findKey(const Section& s, const QByteArray& folded) const {
    const quint32 hash = nameHash(folded);
    auto it = std::lower_bound(s.keys.begin(), s.keys.end(), hash,
                               [](const KeyRef& k, quint32 h) { return k.hash < h; });
    // Keys of one hash stand in file order, so the first that matches is
    // the first of its name.
    for (; it != s.keys.end() && it->hash == hash; ++it)
        if (sameName(keyName(textOf(lineAt(it->begin)).trimmed()), folded)) return &*it;
    return nullptr;
}

std::optional<QByteArray> ProfileImage::keyText(const Section& s, const QByteArray& folded) const {
    if (const KeyRef* k = s.inSource ? findKey(s, folded) : nullptr) {
        const auto r = replaced_.find(k->begin);
        if (r != replaced_.end()) return r->second.text;
        return textOf(lineAt(k->begin)).toByteArray();
    }
    for (const AddedKey& a : s.addedKeys)
        if (a.name == folded) return a.text;
    return std::nullopt;
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

std::optional<QString> ProfileImage::value(const QString& sectionName, const QString& key) const {
    const Section& s = section(sectionName);
    const std::optional<QByteArray> text = keyText(s, fold(key));
    if (!text) return std::nullopt;
    QByteArray v = text->mid(text->indexOf('=') + 1);
    const qsizetype nul = v.indexOf('\0');
    if (nul >= 0) v.truncate(nul);
    v = v.trimmed();
    v.truncate(MaxValueLength);
    return QString::fromLatin1(v);
}

void ProfileImage::setValue(const QString& sectionName, const QString& key, const QString& value) {
    const QByteArray name = key.toLatin1().trimmed();
    const QByteArray folded = fold(QByteArrayView(name));
    const QByteArray text = value.toLatin1();
    Section& s = section(sectionName);
    // The name keeps its spelling in the file; only the value changes.
    if (const KeyRef* k = s.inSource ? findKey(s, folded) : nullptr) {
        const Line line = lineAt(k->begin);
        replaced_[line.begin] = {line.textEnd, keyName(textOf(line).trimmed()).toByteArray() + '=' + text};
        return;
    }
    for (AddedKey& a : s.addedKeys)
        if (a.name == folded) {
            a.text = a.text.left(a.text.indexOf('=')).trimmed() + '=' + text;
            return;
        }
    if (!s.inSource && !s.added) {
        s.added = true;
        s.header = '[' + sectionName.toLatin1().trimmed() + ']';
        appended_.push_back(std::size_t(&s - sections_.data()));
        // The line before the new section needs its line end.
        if (!source_.isEmpty() && !source_.endsWith('\n')) endSource_ = true;
    } else if (s.lastLineUnended) {
        endSource_ = true;
    }
    s.addedKeys.push_back({folded, name + '=' + text});
}

QByteArray ProfileImage::bytes() const {
    struct Insert {
        qsizetype at;
        const Section* section;
    };
    std::vector<Insert> inserts;
    for (const Section& s : sections_)
        if (s.inSource && !s.addedKeys.empty()) inserts.push_back({s.insertAt, &s});
    std::sort(inserts.begin(), inserts.end(), [](const Insert& a, const Insert& b) { return a.at < b.at; });

    QByteArray out;
    out.reserve(source_.size());
    const auto addKeys = [&out](const Section& s) {
        for (const AddedKey& a : s.addedKeys) out += a.text + Crlf;
    };
    const auto copyTo = [&](qsizetype& pos, qsizetype to) {
        out.append(source_.constData() + pos, to - pos);
        pos = to;
    };
    bool ended = !endSource_;
    qsizetype pos = 0;
    auto ins = inserts.cbegin();
    auto rep = replaced_.cbegin();
    while (ins != inserts.cend() || rep != replaced_.cend()) {
        // New keys go before the line that starts where they go.
        if (ins != inserts.cend() && (rep == replaced_.cend() || ins->at <= rep->first)) {
            copyTo(pos, ins->at);
            if (pos == source_.size() && !ended) {
                out += Crlf;
                ended = true;
            }
            addKeys(*ins->section);
            ++ins;
        } else {
            copyTo(pos, rep->first);
            out += rep->second.text;
            pos = rep->second.textEnd;
            ++rep;
        }
    }
    copyTo(pos, source_.size());
    if (!ended) out += Crlf;
    for (const std::size_t i : appended_) {
        out += sections_[i].header + Crlf;
        addKeys(sections_[i]);
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
