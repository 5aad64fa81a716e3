#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

enum class LineBreak { CrLf, Lf, Cr };

// How a text file was stored, remembered so that it can be written back the same way.
struct TextFileFormat {
    unsigned codePage = 65001;  // 65001 UTF-8, 1200 UTF-16 LE, 1201 UTF-16 BE, 932, 20932, 50220, ...
    bool byteOrderMark = false;
    LineBreak lineBreak = LineBreak::CrLf;
    bool finalLineBreak = true;  // the last line ended with a break
};

constexpr unsigned CodePageUtf16LE = 1200;
constexpr unsigned CodePageUtf16BE = 1201;

struct TextFileContent {
    QStringList lines;
    TextFileFormat format;
    bool lossy = false;  // no encoding decoded the bytes without loss; U+FFFD stands in
};

// Decodes a file's bytes: byte-order mark, else the system code page when valid there,
// else ISO-2022-JP / Windows-31J / EUC-JP as detected. Lines are split at CR LF, CR or LF;
// the first break found gives the style. A file without any break (an empty one too) gets
// what a new file on Linux has: LF, and the system code page without a mark.
TextFileContent DecodeTextFile(const QByteArray& bytes);
QByteArray EncodeTextFile(const QStringList& lines, const TextFileFormat& format);

// Whether every character of the lines exists in the format's code page (none would become "?").
bool CanEncodeTextFile(const QStringList& lines, const TextFileFormat& format);

// Reads a whole text file; a file that exists but cannot be read throws platform::Exception.
TextFileContent ReadTextFile(const QString& fileName);

// Writes atomically (temporary file in the same folder, flushed, renamed over the old one,
// permissions kept, symbolic links written through); throws platform::Exception on failure
// and leaves the old file untouched.
void WriteTextFile(const QString& fileName, const QStringList& lines, const TextFileFormat& format);
void WriteFileAtomically(const QString& fileName, const QByteArray& bytes);

}  // namespace platform
