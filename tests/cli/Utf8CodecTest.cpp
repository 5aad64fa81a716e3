#include "cli/Utf8Codec.h"

#include <gtest/gtest.h>

#include <string>

using cli::DecodeUtf8;
using cli::EncodeUtf8;
constexpr auto Valid = std::string_view::npos;

TEST(Utf8Codec, DecodesOnlyWellFormedUtf8) {
    struct Case {
        std::string bytes;
        std::size_t invalidAt;
        std::u16string text;  // what a valid input decodes to
    } cases[] = {
        {"", Valid, u""},
        {"plain ascii text, longer than one block", Valid, u"plain ascii text, longer than one block"},
        {"\xe6\x97\xa5\xe6\x9c\xac-abcdefghij", Valid, u"日本-abcdefghij"},
        {"\xc3\xa9\xf0\x9f\x98\x80", Valid, u"é😀"},
        {"\xf4\x8f\xbf\xbf", Valid, u"\U0010FFFF"},
        {std::string("a\0b", 3), Valid, std::u16string(u"a\0b", 3)},
        {"abcdefgh\x80", 8, {}},          // stray continuation after a full block
        {"a\xc0\xaf", 1, {}},             // overlong "/"
        {"a\xe0\x80\xaf", 1, {}},         // overlong three-byte form
        {"ab\xed\xa0\x80", 2, {}},        // a surrogate
        {"\xf4\x90\x80\x80", 0, {}},      // past U+10FFFF
        {"\xe6\x97", 0, {}},              // cut off at the end
        {"\xe6\x97\xa5\xe6\x41\xac", 3, {}},
        {"\xff", 0, {}},
    };
    for (const Case& c : cases) {
        QString text;
        EXPECT_EQ(DecodeUtf8(c.bytes, text), c.invalidAt) << c.bytes;
        if (c.invalidAt == Valid) {
            EXPECT_EQ(text, QString::fromStdU16String(c.text));
        }
    }
}

TEST(Utf8Codec, EncodesInChunksWithoutSplittingCharacters) {
    const QString text = QString::fromUtf16(u"あaé😀").repeated(1000) + QChar(0xD800) + QLatin1Char('z');
    std::string joined;
    int pieces = 0;
    ASSERT_TRUE(EncodeUtf8(text, [&](const char* data, std::size_t size) {
        joined.append(data, size);
        ++pieces;
        return true;
    }, 64));
    EXPECT_GT(pieces, 100);
    const QByteArray expected = QString::fromUtf16(u"あaé😀").repeated(1000).toUtf8() + "\xef\xbf\xbdz";
    EXPECT_EQ(QByteArray::fromStdString(joined), expected);
    QString back;
    EXPECT_EQ(DecodeUtf8(joined, back), Valid);

    EXPECT_FALSE(EncodeUtf8(text, [](const char*, std::size_t) { return false; }, 64));
}

// Long ASCII runs are copied in blocks; blocks must stop at the chunk's end and at the first
// character outside ASCII, wherever it falls.
TEST(Utf8Codec, AsciiRunsOfEveryLengthSurviveBothWays) {
    for (int run = 0; run < 70; ++run) {
        const QString text = QString(run, QLatin1Char('a')) + QStringLiteral(u"あ") + QString(run, QLatin1Char('b')) +
                             QChar(0x7F) + QChar(0x80);
        std::string encoded;
        ASSERT_TRUE(EncodeUtf8(text, [&](const char* data, std::size_t size) {
            EXPECT_LE(size, 40u);
            encoded.append(data, size);
            return true;
        }, 37));
        EXPECT_EQ(QByteArray::fromStdString(encoded), text.toUtf8()) << run;
        QString decoded;
        EXPECT_EQ(DecodeUtf8(encoded, decoded), Valid) << run;
        EXPECT_EQ(decoded, text) << run;
    }
}
