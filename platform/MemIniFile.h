#pragma once

#include "platform/TextFile.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

// An ini file held in memory: read whole when constructed, written whole by UpdateFile.
// Section and key names are found regardless of case; the file's encoding is kept.
class MemIniFile {
public:
    // Reads the file when it exists; a file that exists but cannot be read throws.
    explicit MemIniFile(const QString& fileName);

    const QString& FileName() const { return fileName_; }
    // The file held bytes no encoding decoded; U+FFFD stands in for them.
    bool WasLossy() const { return lossy_; }

    QString ReadString(const QString& section, const QString& ident, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& ident, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& ident, bool defaultValue) const;

    void WriteString(const QString& section, const QString& ident, const QString& value);
    void WriteInteger(const QString& section, const QString& ident, int value);
    void WriteBool(const QString& section, const QString& ident, bool value);

    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const;  // the key names
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& ident) const;
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& ident);
    void Clear();

    // The whole content as the file holds it, and the parser on its own (for tests and fuzzing).
    QStringList GetStrings() const;
    void SetStrings(const QStringList& lines);

    // Writes the whole file atomically in the encoding it was read in; throws on failure.
    void UpdateFile() const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };

    Section* FindSection(const QString& name);
    const Section* FindSection(const QString& name) const;
    const Entry* FindEntry(const QString& section, const QString& ident) const;
    static Entry* FindEntry(Section& section, const QString& ident);

    QString fileName_;
    TextFileFormat format_;
    bool lossy_ = false;
    std::vector<Section> sections_;
};

}  // namespace platform
