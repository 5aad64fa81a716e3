#pragma once

#include <QByteArray>

#include <array>
#include <cstddef>
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

// What an encoder writes for each byte value: up to three bytes, then their count.
using EscapeTable = std::array<std::array<char, 4>, 256>;

// Kept bytes stand for themselves, a space becomes "+" when spaceAsPlus is set, and every
// other byte becomes "%" and two lower-case hexadecimal digits.
constexpr EscapeTable MakeEscapeTable(const ByteSet& kept, bool spaceAsPlus) {
    constexpr char hexDigits[] = "0123456789abcdef";
    EscapeTable table{};
    for (std::size_t byte = 0; byte < table.size(); ++byte) {
        if (kept[byte]) table[byte] = {static_cast<char>(byte), 0, 0, 1};
        else if (spaceAsPlus && byte == ' ') table[byte] = {'+', 0, 0, 1};
        else table[byte] = {'%', hexDigits[byte >> 4], hexDigits[byte & 0x0F], 3};
    }
    return table;
}

QByteArray Encode(const QByteArray& bytes, const EscapeTable& escapes);

// "%XX" becomes the byte XX, "%%" a single "%", "+" a space. A "%" that starts no valid
// escape throws platform::Exception naming its 1-based byte position; the offending bytes
// are shown as text of codePage (0 = the system code page).
QByteArray Decode(const QByteArray& bytes, unsigned codePage);

}  // namespace PercentCoding
