#pragma once

#include <QByteArray>
#include <QString>

// HTML escapes, Pavlune's URL escapes, half-width kana widening and capitalisation.
namespace StringUtility {

// "&", the double quote, "<" and ">" to their entities; nothing else is touched.
QString HtmlEscape(const QString& text);

// "&amp;" (any letter case) back to "&" first, then "&quot;", "&lt;" and "&gt;" in any
// letter case; an "&amp;" therefore turns an entity written after it back as well.
QString HTMLUnescape(const QString& text);

// Strict percent encoding: keeps "-", ".", "_", digits and ASCII letters; every other byte,
// the space included, becomes "%" and two lower-case hexadecimal digits.
QByteArray HTTPEncode(const QByteArray& bytes);

// The text as bytes of codePage (0 = the system code page), strictly percent-encoded.
QString UrlEncode(const QString& text, unsigned codePage);

// Percent decoding of the text's bytes in codePage, or of bytes; "+" reads as a space.
// A "%" that starts no valid escape throws platform::Exception.
QByteArray UrlDecode(const QString& text, unsigned codePage);
QByteArray UrlDecode(const QByteArray& bytes);

// Half-width katakana, voicing marks and Japanese punctuation to their full-width forms;
// a base followed by its voicing mark becomes one precomposed character.
QString ToZenkaku(const QString& text);

// ASCII capitals to small letters, then a small ASCII letter in the first place to a capital.
QString Capitalize(const QString& text);

}  // namespace StringUtility
