#include "platform/MemIniFile.h"

#include "platform/CodePage.h"
#include "platform/SystemLocale.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace platform {
namespace {

// Blanks are the space and the control characters; a full-width space is text.
bool IsBlank(QChar c) { return c.unicode() <= u' '; }

QStringView Trimmed(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.sliced(begin, end - begin);
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A line break inside a value would end the line early and turn the rest into a line
// of its own (a forged key or section); each break becomes a space instead.
QString SingleLine(const QString& value) {
    if (!value.contains(u'\r') && !value.contains(u'\n')) return value;
    QString line = value;
    line.replace(QLatin1StringView("\r\n"), QLatin1StringView(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$" (up to 32 bits, so
// $FFFFFFFF is -1). Anything else, or a value out of range, is no integer.
bool ParseInteger(const QString& text, int* value) {
    bool ok = false;
    if (text.startsWith(u'$') || text.startsWith(QLatin1StringView("0x")) || text.startsWith(QLatin1StringView("0X"))) {
        const QStringView digits = QStringView(text).sliced(text.startsWith(u'$') ? 1 : 2);
        if (digits.isEmpty() || digits.startsWith(u'+') || digits.startsWith(u'-')) return false;
        const qulonglong bits = digits.toULongLong(&ok, 16);
        if (!ok || bits > std::numeric_limits<quint32>::max()) return false;
        *value = static_cast<int>(static_cast<quint32>(bits));
        return true;
    }
    const qlonglong number = text.toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) return false;
    *value = static_cast<int>(number);
    return true;
}

// Ini files keep the encoding and mark they were read in, but always use CR LF.
TextFileFormat IniFormat(const TextFileFormat& read) {
    TextFileFormat format;
    format.codePage = read.codePage;
    format.byteOrderMark = read.byteOrderMark;
    format.lineBreak = LineBreak::CrLf;
    format.finalLineBreak = true;
    return format;
}

}  // namespace

MemIniFile::MemIniFile(const QString& fileName) : fileName_(fileName) {
    TextFileFormat fresh;
    fresh.codePage = SystemCodePage();
    format_ = IniFormat(fresh);
    if (!QFileInfo::exists(fileName_)) return;
    const TextFileContent content = ReadTextFile(fileName_);
    format_ = IniFormat(content.format);
    lossy_ = content.lossy;
    SetStrings(content.lines);
}

MemIniFile::Section* MemIniFile::FindSection(const QString& name) {
    auto found = std::find_if(sections_.begin(), sections_.end(),
                              [&](const Section& section) { return SameName(section.name, name); });
    return found == sections_.end() ? nullptr : &*found;
}

const MemIniFile::Section* MemIniFile::FindSection(const QString& name) const {
    return const_cast<MemIniFile*>(this)->FindSection(name);
}

MemIniFile::Entry* MemIniFile::FindEntry(Section& section, const QString& ident) {
    auto found = std::find_if(section.entries.begin(), section.entries.end(),
                              [&](const Entry& entry) { return SameName(entry.key, ident); });
    return found == section.entries.end() ? nullptr : &*found;
}

const MemIniFile::Entry* MemIniFile::FindEntry(const QString& section, const QString& ident) const {
    const Section* found = FindSection(section);
    return found == nullptr ? nullptr : FindEntry(const_cast<Section&>(*found), ident);
}

QString MemIniFile::ReadString(const QString& section, const QString& ident, const QString& defaultValue) const {
    const Entry* entry = FindEntry(section, ident);
    return entry == nullptr ? defaultValue : entry->value;
}

int MemIniFile::ReadInteger(const QString& section, const QString& ident, int defaultValue) const {
    const Entry* entry = FindEntry(section, ident);
    int value = 0;
    return entry != nullptr && ParseInteger(entry->value, &value) ? value : defaultValue;
}

bool MemIniFile::ReadBool(const QString& section, const QString& ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void MemIniFile::WriteString(const QString& section, const QString& ident, const QString& value) {
    Section* found = FindSection(section);
    if (found == nullptr) {
        sections_.push_back({section, {}});
        found = &sections_.back();
    }
    if (Entry* entry = FindEntry(*found, ident))
        entry->value = SingleLine(value);
    else
        found->entries.push_back({ident, SingleLine(value)});
}

void MemIniFile::WriteInteger(const QString& section, const QString& ident, int value) {
    WriteString(section, ident, QString::number(value));
}

void MemIniFile::WriteBool(const QString& section, const QString& ident, bool value) {
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList MemIniFile::ReadSections() const {
    QStringList names;
    for (const Section& section : sections_) names.append(section.name);
    return names;
}

QStringList MemIniFile::ReadSection(const QString& section) const {
    QStringList keys;
    if (const Section* found = FindSection(section))
        for (const Entry& entry : found->entries) keys.append(entry.key);
    return keys;
}

bool MemIniFile::SectionExists(const QString& section) const { return FindSection(section) != nullptr; }

bool MemIniFile::ValueExists(const QString& section, const QString& ident) const {
    return FindEntry(section, ident) != nullptr;
}

void MemIniFile::EraseSection(const QString& section) {
    std::erase_if(sections_, [&](const Section& candidate) { return SameName(candidate.name, section); });
}

void MemIniFile::DeleteKey(const QString& section, const QString& ident) {
    if (Section* found = FindSection(section))
        std::erase_if(found->entries, [&](const Entry& entry) { return SameName(entry.key, ident); });
}

void MemIniFile::Clear() { sections_.clear(); }

QStringList MemIniFile::GetStrings() const {
    QStringList lines;
    for (const Section& section : sections_) {
        lines.append(u'[' + section.name + u']');
        for (const Entry& entry : section.entries) lines.append(entry.key + u'=' + entry.value);
        lines.append(QString());
    }
    return lines;
}

// A section named twice continues the first one, and a key named twice in a section keeps
// its first value; the later duplicates are dropped, so the file is written without them.
void MemIniFile::SetStrings(const QStringList& lines) {
    sections_.clear();
    Section* current = nullptr;
    for (const QString& rawLine : lines) {
        const QStringView line = Trimmed(rawLine);
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = Trimmed(line.sliced(1, line.size() - 2)).toString();
            current = FindSection(name);
            if (current == nullptr) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (current == nullptr || equals < 0) continue;  // before the first section, or no key=value
        const QString key = Trimmed(line.first(equals)).toString();
        if (FindEntry(*current, key) == nullptr)
            current->entries.push_back({key, Trimmed(line.sliced(equals + 1)).toString()});
    }
}

void MemIniFile::UpdateFile() const {
    const QStringList lines = GetStrings();
    TextFileFormat format = format_;
    // A value the file's code page cannot hold would be written as "?": such a file is
    // written in UTF-8 with a mark instead, which every reader of ours recognises.
    if (!CanEncodeTextFile(lines, format)) {
        format.codePage = CodePageUtf8;
        format.byteOrderMark = true;
    }
    WriteTextFile(fileName_, lines, format);
}

}  // namespace platform
