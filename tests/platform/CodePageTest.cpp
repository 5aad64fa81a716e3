#include "platform/CodePage.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

QString U(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace

TEST(CodePage, EncodesJapaneseInWindows31JAndEucJp) {
    EXPECT_EQ(UTF16ToAnsi(U(u"あ"), 932), QByteArray("\x82\xa0"));
    EXPECT_EQ(UTF16ToAnsi(U(u"あ"), 20932), QByteArray("\xa4\xa2"));
    EXPECT_EQ(UTF16ToAnsi(U(u"あ"), 51932), QByteArray("\xa4\xa2"));
    EXPECT_EQ(UTF16ToAnsi(U(u"ｱ"), 932), QByteArray("\xb1"));
    EXPECT_EQ(UTF16ToAnsi(U(u"日本"), 65001), QByteArray("\xe6\x97\xa5\xe6\x9c\xac"));
}

// Windows-31J keeps the Windows meaning of its wave dash and minus codes.
TEST(CodePage, Windows31JMapsWaveDashAndMinusTheWindowsWay) {
    EXPECT_EQ(AnsiToUTF16(QByteArray("\x81\x60"), 932), U(u"～"));
    EXPECT_EQ(UTF16ToAnsi(U(u"～"), 932), QByteArray("\x81\x60"));
    EXPECT_EQ(AnsiToUTF16(QByteArray("\x81\x7c"), 932), U(u"－"));
    EXPECT_EQ(UTF16ToAnsi(U(u"－"), 932), QByteArray("\x81\x7c"));
}

// ICU's defaults would write FC FC, or a look-alike through best-fit tables.
TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks) {
    struct Case {
        const char16_t* text;
        unsigned codePage;
        const char* bytes;
    } cases[] = {
        {u"a😀b", 932, "a?b"},
        {u"한", 932, "?"},
        {u"あ", 1252, "?"},
        {u"\u301c", 932, "?"},      // the Unicode wave dash has no Windows-31J code of its own
        {u"\uff02", 1252, "?"},     // full-width quote must not turn into an ASCII quote
        {u"\u2200", 28591, "?"},
        {u"x\xd800y", 65001, "x?y"},  // a lone surrogate cannot be UTF-8
        {u"a\u00adb\u200bc", 932, "a?b?c"},  // invisible characters are not dropped either
        {u"\u845b\U000E0100", 932, "\x8a\x8b?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UTF16ToAnsi(U(c.text), c.codePage), QByteArray(c.bytes)) << c.codePage;
}

TEST(CodePage, UndecodableBytesBecomeReplacementCharacters) {
    EXPECT_EQ(AnsiToUTF16(QByteArray("a\x82z"), 65001), U(u"a\ufffdz"));
    EXPECT_EQ(AnsiToUTF16(QByteArray("a\xff"), 932), U(u"a\ufffd"));
    EXPECT_EQ(AnsiToUTF16(QByteArray("\x82"), 932), U(u"\ufffd"));
    bool valid = true;
    AnsiToUTF16Checked(QByteArray("\xe6\x97"), 65001, &valid);
    EXPECT_FALSE(valid);
    AnsiToUTF16Checked(QByteArray("\xe6\x97\xa5"), 65001, &valid);
    EXPECT_TRUE(valid);
}

// Every character a double-byte code page holds survives the way there and back: each code
// decodes to one character, which encodes to the same code or, for the few characters with
// two codes, to the other one, which decodes to the same character again.
TEST(CodePage, Windows31JAndEucJpRoundTripEveryCharacterTheyHold) {
    for (unsigned codePage : {932u, 20932u}) {
        int held = 0;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                QByteArray bytes;
                bytes.append(static_cast<char>(lead)).append(static_cast<char>(trail));
                const QString text = AnsiToUTF16(bytes, codePage);
                if (text.size() != 1 || text == QString(QChar(0xFFFD))) continue;
                const QByteArray encoded = UTF16ToAnsi(text, codePage);
                // EUC-JP decodes a few codes one way only (into the private use area).
                if (codePage == 20932 && encoded == "?") continue;
                ASSERT_NE(encoded, QByteArray("?")) << std::hex << lead << trail;
                ASSERT_EQ(AnsiToUTF16(encoded, codePage), text) << std::hex << lead << trail;
                ++held;
            }
        }
        EXPECT_GT(held, 7000) << codePage;
    }
}

TEST(CodePage, KnowsWhichCodePagesItHas) {
    for (unsigned codePage : {0u, 65001u, 932u, 20932u, 51932u, 1250u, 1258u, 28591u, 28599u})
        EXPECT_TRUE(IsSupportedCodePage(codePage)) << codePage;
    for (unsigned codePage : {1u, 437u, 1249u, 1259u, 28590u, 28600u})
        EXPECT_FALSE(IsSupportedCodePage(codePage)) << codePage;
    EXPECT_THROW(UTF16ToAnsi(U(u"a"), 437), Exception);
}
