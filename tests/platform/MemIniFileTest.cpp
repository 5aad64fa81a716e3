#include "platform/MemIniFile.h"

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"
#include "tests/support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

namespace {

QString U(const char16_t* text) { return QString::fromUtf16(text); }

class MemIniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSystemCodePage(CodePageUtf8);
        ASSERT_TRUE(dir.isValid());
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    // An ini file parsed from lines, without touching the disk.
    MemIniFile Parsed(const QStringList& lines) const {
        MemIniFile ini(Path("unused.ini"));
        ini.SetStrings(lines);
        return ini;
    }

    QTemporaryDir dir;
};

TEST_F(MemIniFileTest, ParsesHandEditedFiles) {
    const MemIniFile ini = Parsed({
        "Orphan=before any section",
        "",
        "  [FONT]  ",
        "; FontName=commented out",
        "  FontName =  Noto Sans CJK  ",
        "Formula=a=b=c",
        "Empty=",
        "no equals sign here",
        "[ Window ]",
        "Width=600",
    });
    EXPECT_EQ(ini.ReadSections(), (QStringList{"FONT", "Window"}));
    EXPECT_EQ(ini.ReadSection("font"), (QStringList{"FontName", "Formula", "Empty"}));
    EXPECT_EQ(ini.ReadString("font", "FONTNAME", "x"), "Noto Sans CJK");
    EXPECT_EQ(ini.ReadString("FONT", "Formula", "x"), "a=b=c");
    EXPECT_EQ(ini.ReadString("FONT", "Empty", "default"), "");
    EXPECT_TRUE(ini.ValueExists("FONT", "empty"));
    EXPECT_EQ(ini.ReadString("FONT", "Missing", "default"), "default");
    EXPECT_FALSE(ini.ValueExists("FONT", "Orphan"));
    EXPECT_EQ(ini.ReadInteger("WINDOW", "width", 0), 600);
}

// A full-width space is part of a value, not a blank around it.
TEST_F(MemIniFileTest, TrimsOnlyAsciiBlanks) {
    const MemIniFile ini = Parsed({"[S]", U(u"Caption=\t\u3000見出し\u3000 ")});
    EXPECT_EQ(ini.ReadString("S", "Caption", ""), U(u"\u3000見出し\u3000"));
}

TEST_F(MemIniFileTest, ReadsIntegersAndBooleans) {
    struct Case {
        const char* value;
        int integer;  // with default -7
        bool boolean;  // with default true
    } cases[] = {
        {"42", 42, true},
        {"-42", -42, true},
        {"+5", 5, true},
        {"0", 0, false},
        {"2", 2, true},
        {"0x0C", 12, true},
        {"0X1f", 31, true},
        {"$10", 16, true},
        {"$7FFFFFFF", 2147483647, true},
        {"$FFFFFFFF", -1, true},
        {"2147483647", 2147483647, true},
        {"-2147483648", -2147483647 - 1, true},
        {"2147483648", -7, true},      // out of range
        {"$100000000", -7, true},      // more than 32 bits
        {"", -7, true},
        {"abc", -7, true},
        {"12abc", -7, true},
        {"1 2", -7, true},
        {"0x", -7, true},
        {"$", -7, true},
        {"$-1", -7, true},
        {"1.5", -7, true},
    };
    for (const Case& c : cases) {
        const MemIniFile ini = Parsed({"[S]", QStringLiteral("Key=%1").arg(c.value)});
        EXPECT_EQ(ini.ReadInteger("s", "key", -7), c.integer) << c.value;
        EXPECT_EQ(ini.ReadBool("s", "key", true), c.boolean) << c.value;
    }
    const MemIniFile missing = Parsed({"[S]"});
    EXPECT_EQ(missing.ReadInteger("S", "Key", -7), -7);
    EXPECT_FALSE(missing.ReadBool("S", "Key", false));
    EXPECT_FALSE(Parsed({"[S]", "Key=x"}).ReadBool("S", "Key", false));
}

// The first of two same-named sections takes in the second; the first of two same-named
// keys wins, and the file is written back without the duplicate.
TEST_F(MemIniFileTest, DuplicateSectionsMergeAndTheFirstKeyWins) {
    const MemIniFile ini = Parsed({"[A]", "x=1", "[B]", "y=2", "[a]", "X=3", "z=4"});
    EXPECT_EQ(ini.ReadSections(), (QStringList{"A", "B"}));
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "z", 0), 4);
    EXPECT_EQ(ini.GetStrings(), (QStringList{"[A]", "x=1", "z=4", "", "[B]", "y=2", ""}));
}

TEST_F(MemIniFileTest, EditsKeepOrderAndSpelling) {
    MemIniFile ini = Parsed({"[Extra]", "Kept=yes", "[FONT]", "FontSize=8"});
    ini.WriteInteger("font", "fontsize", 12);
    ini.WriteBool("FONT", "SaveFont", true);
    ini.WriteString("WINDOW", "Title", U(u"題名"));
    ini.WriteBool("WINDOW", "SaveWindow", false);
    EXPECT_EQ(ini.GetStrings(), (QStringList{"[Extra]", "Kept=yes", "", "[FONT]", "FontSize=12", "SaveFont=1", "",
                                             "[WINDOW]", U(u"Title=題名"), "SaveWindow=0", ""}));

    ini.DeleteKey("font", "FONTSIZE");
    ini.EraseSection("extra");
    EXPECT_FALSE(ini.SectionExists("Extra"));
    EXPECT_EQ(ini.ReadSection("FONT"), QStringList{"SaveFont"});
    ini.Clear();
    EXPECT_TRUE(ini.GetStrings().isEmpty());
}

// A line break in a value must not split the line and forge a key or a section.
TEST_F(MemIniFileTest, LineBreaksInValuesBecomeSpaces) {
    MemIniFile ini = Parsed({});
    ini.WriteString("S", "Caption", "one\r\n[STARTUP]\rMinimized=1\ntwo");
    const MemIniFile reread = Parsed(ini.GetStrings());
    EXPECT_EQ(reread.ReadSections(), QStringList{"S"});
    EXPECT_EQ(reread.ReadString("S", "Caption", ""), "one [STARTUP] Minimized=1 two");
}

TEST_F(MemIniFileTest, NewFileIsWrittenWithCrLfInTheSystemCodePage) {
    const QString fileName = Path("new.ini");
    MemIniFile ini(fileName);
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    ini.WriteString("FONT", "FontName", U(u"ＭＳ ゴシック"));
    ini.WriteInteger("FONT", "FontSize", 8);
    ini.WriteBool("WINDOW", "SaveWindow", false);
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(fileName),
              U(u"[FONT]\r\nFontName=ＭＳ ゴシック\r\nFontSize=8\r\n\r\n[WINDOW]\r\nSaveWindow=0\r\n\r\n").toUtf8());

    SetSystemCodePage(CodePageWindows31J);
    MemIniFile legacy(Path("legacy-system.ini"));
    legacy.WriteString("S", "K", U(u"日本"));
    legacy.UpdateFile();
    EXPECT_EQ(ReadBytes(Path("legacy-system.ini")), QByteArray("[S]\r\nK=\x93\xfa\x96\x7b\r\n\r\n"));
}

// A file read with a mark or in a legacy code page is written back the same way, with
// CR LF whatever breaks it had.
TEST_F(MemIniFileTest, KeepsTheFileEncoding) {
    const QString text = U(u"[KEY_CONFIG_0]\r\nCAPTION=ひらがなに変換する\r\n\r\n");
    struct Case {
        const char* label;
        QByteArray bytes;
    } cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-16 LE mark", "\xFF\xFE" + UTF16ToAnsi(text, 1200)},
        {"UTF-16 BE mark", "\xFE\xFF" + UTF16ToAnsi(text, 1201)},
        {"UTF-8", text.toUtf8()},
        {"Windows-31J", UTF16ToAnsi(text, 932)},
        {"EUC-JP", UTF16ToAnsi(text, 20932)},
    };
    for (const Case& c : cases) {
        const QString fileName = Path("encoding.ini");
        WriteBytes(fileName, c.bytes);
        MemIniFile ini(fileName);
        EXPECT_EQ(ini.ReadString("key_config_0", "caption", ""), U(u"ひらがなに変換する")) << c.label;
        ini.UpdateFile();
        EXPECT_EQ(ReadBytes(fileName), c.bytes) << c.label;
    }

    WriteBytes(Path("lf.ini"), UTF16ToAnsi(U(u"[S]\nK=値\n"), 932));
    MemIniFile lf(Path("lf.ini"));
    lf.UpdateFile();
    EXPECT_EQ(ReadBytes(Path("lf.ini")), UTF16ToAnsi(U(u"[S]\r\nK=値\r\n\r\n"), 932));
}

// Writing "?" for what Windows-31J cannot hold would lose the value: the file moves to
// UTF-8 with a mark instead.
TEST_F(MemIniFileTest, ValueTheCodePageCannotHoldSwitchesToUtf8WithMark) {
    const QString fileName = Path("legacy.ini");
    WriteBytes(fileName, UTF16ToAnsi(U(u"[S]\r\nK=日本\r\n"), 932));
    MemIniFile ini(fileName);
    ini.WriteString("S", "Emoji", U(u"😀 한국어"));
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(fileName), "\xEF\xBB\xBF" + U(u"[S]\r\nK=日本\r\nEmoji=😀 한국어\r\n\r\n").toUtf8());
    EXPECT_EQ(MemIniFile(fileName).ReadString("S", "Emoji", ""), U(u"😀 한국어"));
}

TEST_F(MemIniFileTest, FileErrorsThrow) {
    EXPECT_THROW(MemIniFile{dir.path()}, Exception);  // exists, cannot be read as a file
    MemIniFile ini(Path("no-such-folder/settings.ini"));
    ini.WriteBool("S", "K", true);
    EXPECT_THROW(ini.UpdateFile(), Exception);
}

}  // namespace
