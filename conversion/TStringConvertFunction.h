#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>

// The conversion entry points the programs call, and their building blocks.
namespace TStringConvertFunction {

// The whole text mapped with one LCMAP_ flag in the user's locale; a refused mapping gives
// the text back unchanged.
QString MapString(const QString& text, std::uint32_t flags);

// "&quot;", "&lt;", "&gt;" and then "&amp;" back to characters, lower case only; undoes
// StringUtility::HtmlEscape exactly.
QString ConvHtmlUnescape(const QString& text);

// Form-style escape in the system code page: a space becomes "+", and only "*", "-", ".",
// "_", digits and ASCII letters stay as they are.
QString ConvUrlEscape(const QString& text);

// Percent decoding in the system code page; throws platform::Exception on a bad "%".
QString ConvUrlUnescape(const QString& text);

// Percent decoding of the text's UTF-8 bytes, the result read in codePage (0 = the system
// code page); throws platform::Exception on a bad "%".
QString UrlDecodeText(const QString& text, unsigned codePage);

// ASCII letters, digits or both to their full-width forms, and back. Letter case and every
// other character stay as they are.
QString AlphaToZenkaku(const QString& text);
QString DigitToZenkaku(const QString& text);
QString AlnumToZenkaku(const QString& text);
QString AlphaToHankaku(const QString& text);
QString DigitToHankaku(const QString& text);
QString AlnumToHankaku(const QString& text);

// Form-style percent encoding: keeps "!$'()*-.", digits, "@", ASCII letters and "_", writes a
// space as "+" and every other byte as "%" and two lower-case hexadecimal digits.
QByteArray FormUrlEncode(const QByteArray& bytes);

// "%XX" to the byte XX, "%%" to "%", "+" to a space. A "%" that starts no valid escape throws
// platform::Exception with its 1-based byte position; the offending bytes are shown as
// text of codePage (0 = the system code page).
QByteArray PercentDecode(const QByteArray& bytes, unsigned codePage = 0);

// For each position i of from in turn, every from[i] in the text becomes to[i]; to is at
// least as long as from.
QString ReplaceChars(const QString& text, QStringView from, QStringView to);

}  // namespace TStringConvertFunction
