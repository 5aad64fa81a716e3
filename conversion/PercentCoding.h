#pragma once

#include <QByteArray>

#include <array>
#include <string_view>

// The byte-level core of the URL escapes: one encoder driven by a set of kept bytes, and
// the decoder. Every byte value, zero included, is an ordinary byte here, so a text with
// U+0000 in it survives an escape and an unescape.
namespace PercentCoding {

using ByteSet = std::array<bool, 256>;

constexpr ByteSet MakeByteSet(std::string_view bytes) {
    ByteSet set{};
    for (const char byte : bytes) set[static_cast<unsigned char>(byte)] = true;
    return set;
}

// Kept bytes are copied, a space becomes "+" when spaceAsPlus is set, and every other
// byte becomes "%" and two lower-case hexadecimal digits.
QByteArray Encode(const QByteArray& bytes, const ByteSet& kept, bool spaceAsPlus);

// "%XX" becomes the byte XX, "%%" a single "%", "+" a space. A "%" that starts no valid
// escape throws platform::Exception naming its 1-based byte position; the offending bytes
// are shown as text of codePage (0 = the system code page).
QByteArray Decode(const QByteArray& bytes, unsigned codePage);

}  // namespace PercentCoding
