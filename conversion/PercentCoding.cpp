#include "conversion/PercentCoding.h"

#include "platform/CodePage.h"
#include "platform/Exception.h"

#include <QString>

#include <cstring>

namespace PercentCoding {
namespace {

int HexValue(char byte) {
    if (byte >= '0' && byte <= '9') return byte - '0';
    if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
    if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
    return -1;
}

[[noreturn]] void ThrowTruncatedEscape(qsizetype position) {
    throw platform::Exception(QStringLiteral("URL 表記用エンコード（%XX）文字列のエラー：位置 - ") +
                              QString::number(position));
}

[[noreturn]] void ThrowInvalidEscape(const QByteArray& escape, unsigned codePage, qsizetype position) {
    throw platform::Exception(QStringLiteral("URL 表記エンコードでは許されない文字 (") +
                              platform::AnsiToUTF16(escape, codePage) + QStringLiteral(")：位置 - ") +
                              QString::number(position));
}

}  // namespace

QByteArray Encode(const QByteArray& bytes, const EscapeTable& escapes) {
    QByteArray encoded(bytes.size() * 3, Qt::Uninitialized);  // no byte grows beyond three
    char* out = encoded.data();
    for (const char byte : bytes) {
        // Always three bytes copied, only the escape's own count kept: no branch per byte.
        // The last copy still ends inside the buffer: no earlier byte took more than three.
        const std::array<char, 4>& escape = escapes[static_cast<unsigned char>(byte)];
        std::memcpy(out, escape.data(), 3);
        out += escape[3];
    }
    encoded.truncate(out - encoded.constData());
    return encoded;
}

QByteArray Decode(const QByteArray& bytes, unsigned codePage) {
    const qsizetype size = bytes.size();
    const char* in = bytes.constData();
    QByteArray decoded(size, Qt::Uninitialized);  // decoding never grows
    char* out = decoded.data();
    qsizetype i = 0;
    while (i < size) {
        const char byte = in[i];
        if (byte == '%') {
            if (i + 1 < size && in[i + 1] == '%') {
                *out++ = '%';
                i += 2;
                continue;
            }
            if (i + 2 >= size) ThrowTruncatedEscape(i + 1);
            const int high = HexValue(in[i + 1]);
            const int low = HexValue(in[i + 2]);
            if (high < 0 || low < 0) ThrowInvalidEscape(bytes.mid(i, 3), codePage, i + 1);
            *out++ = static_cast<char>(high * 16 + low);
            i += 3;
        } else {
            *out++ = byte == '+' ? ' ' : byte;
            ++i;
        }
    }
    decoded.truncate(out - decoded.constData());
    return decoded;
}

}  // namespace PercentCoding
