// libFuzzer target over the text file decoder and the ini parser. Besides crashes and
// hangs it checks that what is written reads back as the same thing.
#include "platform/CodePage.h"
#include "platform/MemIniFile.h"
#include "platform/SystemLocale.h"
#include "platform/TextFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace platform;

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// Encoded and decoded again in the same encoding, the lines come back unchanged. (When the
// detector settles on another encoding, e.g. after Windows-31J duplicates were made
// canonical, the comparison says nothing and is skipped.)
void CheckTextRoundTrip(const QStringList& lines, const TextFileFormat& format) {
    if (!CanEncodeTextFile(lines, format)) return;
    const TextFileContent again = DecodeTextFile(EncodeTextFile(lines, format));
    if (again.format.codePage != format.codePage || again.format.byteOrderMark != format.byteOrderMark) return;
    Require(!again.lossy, "encoded text decodes without loss");
    Require(again.lines == lines, "text lines survive encoding and decoding");
}

QString TrimmedBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ') ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ') --end;
    return text.sliced(begin, end - begin);
}

MemIniFile Parsed(const QStringList& lines) {
    MemIniFile ini(QStringLiteral("/nonexistent/fuzz.ini"));
    ini.SetStrings(lines);
    return ini;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetSystemCodePage(CodePageUtf8);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TextFileContent content = DecodeTextFile(bytes);
    CheckTextRoundTrip(content.lines, content.format);

    MemIniFile ini = Parsed(content.lines);
    for (const QString& section : ini.ReadSections()) {
        for (const QString& key : ini.ReadSection(section)) {
            ini.ReadInteger(section, key, 0);
            ini.ReadBool(section, key, false);
        }
    }

    // The parsed file, written out, reads back as it was.
    const QStringList written = ini.GetStrings();
    Require(Parsed(written).GetStrings() == written, "the ini file reads back as it was written");

    // A value taken from the input (line breaks and all) must not add a section or a key
    // when the file is read again, and comes back with only its outer blanks trimmed.
    const QString section = QStringLiteral("Fuzz");
    const QString key = QStringLiteral("Value");
    ini.WriteString(section, key, QString::fromUtf8(bytes.left(64)));
    const MemIniFile reread = Parsed(ini.GetStrings());
    Require(reread.ReadSections() == ini.ReadSections(), "no section appears or vanishes");
    Require(reread.ReadSection(section) == ini.ReadSection(section), "no key appears or vanishes");
    Require(reread.ReadString(section, key, {}) == TrimmedBlanks(ini.ReadString(section, key, {})),
            "a written value reads back");

    TextFileFormat iniFormat = content.format;
    iniFormat.lineBreak = LineBreak::CrLf;
    iniFormat.finalLineBreak = true;
    CheckTextRoundTrip(ini.GetStrings(), iniFormat);
    return 0;
}
