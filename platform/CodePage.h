#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

constexpr unsigned CodePageSystem = 0;
constexpr unsigned CodePageUtf8 = 65001;
constexpr unsigned CodePageWindows31J = 932;
constexpr unsigned CodePageEucJp = 20932;
constexpr unsigned CodePageEucJpAlias = 51932;
constexpr unsigned CodePageIso2022Jp = 50220;

// True when the code page number names a converter we have (0 = the system code page).
bool IsSupportedCodePage(unsigned codePage);

// Text to bytes in a code page. A character the code page cannot hold becomes "?" (0x3F),
// never a look-alike. An unsupported code page number throws platform::Exception.
QByteArray UTF16ToAnsi(const QString& text, unsigned codePage);

// Bytes to text in a code page. Bytes that do not decode become U+FFFD.
QString AnsiToUTF16(const QByteArray& bytes, unsigned codePage);

// Bytes to text, reporting whether the bytes were valid in the code page (no U+FFFD added).
QString AnsiToUTF16Checked(const QByteArray& bytes, unsigned codePage, bool* valid);

}  // namespace platform
