#include "PrivateProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstring>

namespace sonmira::platform {

namespace {

const QByteArray Crlf = QByteArrayLiteral("\r\n");

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
// What trimming removes.
bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Names match without regard to ASCII letter case and to blanks around them;
// other bytes as they are.
QByteArray fold(QByteArrayView name) {
    QByteArray out = name.trimmed().toByteArray();
    for (char& c : out) c = lower(c);
    return out;
}
QByteArray fold(const QString& name) { return fold(QByteArrayView(name.toLatin1())); }

// Seeded per process, so that no file can be made whose names all share
// one slot of the key table.
quint32 nameHash(QByteArrayView folded) { return quint32(qHash(folded, QHashSeed::globalSeed())); }

// nameHash of the trimmed name folded; a short name is folded on the stack,
// a longer one into scratch.
quint32 foldedNameHash(QByteArrayView trimmed, QByteArray& scratch) {
    char buffer[64];
    char* folded = buffer;
    if (trimmed.size() > qsizetype(sizeof buffer)) {
        scratch.resize(trimmed.size());
        folded = scratch.data();
    }
    for (qsizetype i = 0; i < trimmed.size(); ++i) folded[i] = lower(trimmed[i]);
    return nameHash(QByteArrayView(folded, trimmed.size()));
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

// Reads only as far as the name goes, not to the end of the line: a table
// search may compare many lines.
bool ProfileImage::keyNameIs(qsizetype begin, QByteArrayView name) const {
    const char* p = source_.constData() + begin;
    const char* const end = source_.constData() + source_.size();
    // The line holds a "=", so neither search passes its end.
    while (p != end && isBlank(*p)) ++p;
    for (const char c : name) {
        if (p == end || *p == '=' || lower(*p) != lower(c)) return false;
        ++p;
    }
    while (p != end && isBlank(*p)) ++p;
    return p != end && *p == '=';
}

void ProfileImage::growKeys(std::vector<KeyRef>& keys) {
    std::vector<KeyRef> larger(keys.empty() ? 256 : keys.size() * 2);
    const std::size_t mask = larger.size() - 1;
    for (const KeyRef& k : keys) {
        if (k.begin == 0) continue;
        std::size_t i = k.hash & mask;
        while (larger[i].begin != 0) i = (i + 1) & mask;
        larger[i] = k;
    }
    keys.swap(larger);
}

inline std::size_t ProfileImage::slotOf(const std::vector<KeyRef>& keys, quint32 hash, QByteArrayView name) const {
    const std::size_t mask = keys.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const KeyRef& k = keys[i];
        if (k.begin == 0) return i;
        if (k.hash == hash && keyNameIs(k.begin, name)) [[unlikely]] return i;
    }
}

void ProfileImage::addKeys(Section& s, std::span<const NewKey> batch) const {
    // Never more than seven eighths full, so that a search for a missing key
    // meets a free slot soon.
    while ((s.keyCount + batch.size()) * 8 > s.keys.size() * 7) growKeys(s.keys);
    // A large table is mostly out of the cache: fetch the slots of the whole
    // batch at once, and the cache lines after them, where a search often
    // goes on, rather than wait for each in turn.
    const std::size_t mask = s.keys.size() - 1;
    for (const NewKey& k : batch) {
        __builtin_prefetch(&s.keys[k.ref.hash & mask]);
        __builtin_prefetch(&s.keys[(k.ref.hash + 8) & mask]);
    }
    for (const NewKey& k : batch) {
        KeyRef& slot = s.keys[slotOf(s.keys, k.ref.hash, k.name)];
        if (slot.begin != 0) continue; // a later line of a name already kept
        slot = k.ref;
        ++s.keyCount;
    }
}

// Later sections and keys of a name already seen are kept in the bytes but
// never found, so they are not indexed.
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
    std::array<NewKey, 32> batch;
    std::size_t batched = 0;
    QByteArray scratch;
    while (pos < size) {
        const Line line = lineAt(pos);
        pos = line.end;
        const QByteArrayView t = textOf(line).trimmed();
        if (t.isEmpty()) continue; // blank lines followed by more text belong inside the section
        if (isHeader(t)) break;
        last = line;
        const char* const eq = static_cast<const char*>(std::memchr(t.data(), '=', std::size_t(t.size())));
        if (!eq) continue;
        // The name as keyName gives it; t starts with no blank.
        QByteArrayView n(t.data(), eq);
        while (!n.isEmpty() && isBlank(n.back())) n.chop(1);
        batch[batched++] = {{foldedNameHash(n, scratch), quint32(line.begin)}, n};
        if (batched == batch.size()) {
            addKeys(s, batch);
            batched = 0;
        }
    }
    addKeys(s, std::span(batch).first(batched));
    // After the section's last non-blank line, before its trailing blank
    // lines; appending there keeps a save linear in the size of the file.
    s.insertAt = last.end;
    s.lastLineUnended = last.end == last.textEnd;
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
    if (s.keys.empty()) return nullptr;
    const KeyRef& k = s.keys[slotOf(s.keys, nameHash(folded), folded)];
    return k.begin != 0 ? &k : nullptr;
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
