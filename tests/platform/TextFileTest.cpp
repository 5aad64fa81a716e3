#include "platform/TextFile.h"

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>
#include <unistd.h>

using namespace platform;

namespace {

QString U(const char16_t* text) { return QString::fromUtf16(text); }

const char* Name(LineBreak lineBreak) {
    switch (lineBreak) {
    case LineBreak::CrLf: return "CRLF";
    case LineBreak::Lf: return "LF";
    case LineBreak::Cr: return "CR";
    }
    return "?";
}

mode_t ModeOf(const QString& fileName) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(fileName).constData(), &info), 0);
    return info.st_mode & 07777;
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSystemCodePage(CodePageUtf8);
        ASSERT_TRUE(dir.isValid());
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

// Japanese prose, valid in only one of the legacy encodings.
const char16_t* const JapaneseText = u"日本語のテキストファイルです。これはテストのための文章で、ひらがなとカタカナと漢字を含みます。";

TEST_F(TextFileTest, DetectsTheEncoding) {
    const QString japanese = U(JapaneseText);
    struct Case {
        const char* label;
        QByteArray bytes;
        unsigned codePage;
        bool byteOrderMark;
        QStringList lines;
    } cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" + japanese.toUtf8(), 65001, true, {japanese}},
        {"UTF-16 LE mark", QByteArray("\xFF\xFE") + UTF16ToAnsi(japanese, 1200), 1200, true, {japanese}},
        {"UTF-16 BE mark", QByteArray("\xFE\xFF") + UTF16ToAnsi(japanese, 1201), 1201, true, {japanese}},
        {"UTF-8", japanese.toUtf8(), 65001, false, {japanese}},
        {"ASCII", "plain", 65001, false, {"plain"}},
        {"Windows-31J", UTF16ToAnsi(japanese, 932), 932, false, {japanese}},
        // Bytes valid in both Windows-31J and EUC-JP: the charset detector decides.
        {"Windows-31J kana, also EUC-JP", UTF16ToAnsi(U(u"ｱｲｳｴｵｶｷｸｹｺ"), 932), 932, false, {U(u"ｱｲｳｴｵｶｷｸｹｺ")}},
        {"EUC-JP kana, also Windows-31J", UTF16ToAnsi(U(u"こんにちは、ひらがなのぶんしょうです。"), 20932), 20932, false,
         {U(u"こんにちは、ひらがなのぶんしょうです。")}},
        {"EUC-JP", UTF16ToAnsi(japanese, 20932), 20932, false, {japanese}},
        {"ISO-2022-JP", UTF16ToAnsi(japanese, 50220), 50220, false, {japanese}},
        // An escape sequence that is not ISO-2022-JP's stays text.
        {"7-bit with ESC", "a\x1B[0mb", 65001, false, {QStringLiteral("a\x1B[0mb")}},
    };
    for (const Case& c : cases) {
        const TextFileContent content = DecodeTextFile(c.bytes);
        EXPECT_EQ(content.format.codePage, c.codePage) << c.label;
        EXPECT_EQ(content.format.byteOrderMark, c.byteOrderMark) << c.label;
        EXPECT_EQ(content.lines, c.lines) << c.label;
        EXPECT_FALSE(content.lossy) << c.label;
    }
}

// Bytes that no candidate decodes are not passed off as text: U+FFFD stands in, and the
// caller learns about it.
TEST_F(TextFileTest, UndecodableBytesAreReportedAsLossy) {
    struct Case {
        const char* label;
        QByteArray bytes;
        unsigned codePage;
        QString text;
    } cases[] = {
        {"invalid everywhere", "ab\xA0\xFF", 65001, U(u"ab\ufffd\ufffd")},
        {"UTF-8 mark, broken body", "\xEF\xBB\xBFx\xC3", 65001, U(u"x\ufffd")},
        {"UTF-16 odd length", QByteArray("\xFF\xFE" "a\x00" "b", 5), 1200, U(u"a\ufffd")},
    };
    for (const Case& c : cases) {
        const TextFileContent content = DecodeTextFile(c.bytes);
        EXPECT_TRUE(content.lossy) << c.label;
        EXPECT_EQ(content.format.codePage, c.codePage) << c.label;
        EXPECT_EQ(content.lines, QStringList{c.text}) << c.label;
    }
}

// On a Windows-31J system a UTF-8 file must not be taken for mojibake.
TEST_F(TextFileTest, LegacySystemCodePageStillRecognisesUtf8) {
    SetSystemCodePage(CodePageWindows31J);
    const QString japanese = U(JapaneseText);
    EXPECT_EQ(DecodeTextFile(UTF16ToAnsi(japanese, 932)).format.codePage, 932u);
    const TextFileContent content = DecodeTextFile(japanese.toUtf8());
    EXPECT_EQ(content.format.codePage, 65001u);
    EXPECT_EQ(content.lines, QStringList{japanese});
}

TEST_F(TextFileTest, SplitsLinesAndRemembersTheFirstBreakStyle) {
    struct Case {
        QByteArray bytes;
        QStringList lines;
        LineBreak lineBreak;
        bool finalLineBreak;
    } cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}, LineBreak::CrLf, false},
        {"a\nb\r\n", {"a", "b"}, LineBreak::Lf, true},
        {"\r\r\n", {"", ""}, LineBreak::Cr, true},
        {"\n", {""}, LineBreak::Lf, true},
        {"a\n\n", {"a", ""}, LineBreak::Lf, true},
        {"one line", {"one line"}, LineBreak::Lf, false},
    };
    for (const Case& c : cases) {
        const TextFileContent content = DecodeTextFile(c.bytes);
        EXPECT_EQ(content.lines, c.lines) << c.bytes.toStdString();
        EXPECT_EQ(content.format.lineBreak, c.lineBreak) << c.bytes.toStdString();
        EXPECT_EQ(content.format.finalLineBreak, c.finalLineBreak) << c.bytes.toStdString();
    }
}

// An empty file has no lines; written again it stays empty. A new file from it gets what
// a Linux user expects: the system code page, no mark, LF.
TEST_F(TextFileTest, EmptyFileHasNoLines) {
    const TextFileContent content = DecodeTextFile(QByteArray());
    EXPECT_TRUE(content.lines.isEmpty());
    EXPECT_EQ(content.format.codePage, 65001u);
    EXPECT_FALSE(content.format.byteOrderMark);
    EXPECT_EQ(content.format.lineBreak, LineBreak::Lf);
    EXPECT_TRUE(EncodeTextFile(content.lines, content.format).isEmpty());

    const TextFileContent markOnly = DecodeTextFile("\xEF\xBB\xBF");
    EXPECT_TRUE(markOnly.lines.isEmpty());
    EXPECT_TRUE(markOnly.format.byteOrderMark);
    EXPECT_EQ(EncodeTextFile(markOnly.lines, markOnly.format), QByteArray("\xEF\xBB\xBF"));
}

// Every encoding, every break style, with and without a final break: read and written
// unchanged, the bytes come back as they were.
TEST_F(TextFileTest, RoundTripsByteForByte) {
    const QStringList lines = {U(JapaneseText), QString(), U(u"二行目、半角 ASCII も。")};
    struct Encoding {
        unsigned codePage;
        QByteArray mark;
    } encodings[] = {
        {65001, "\xEF\xBB\xBF"}, {1200, "\xFF\xFE"}, {1201, "\xFE\xFF"}, {65001, ""},
        {932, ""}, {20932, ""}, {50220, ""},
    };
    const std::pair<LineBreak, QString> breaks[] = {
        {LineBreak::CrLf, "\r\n"}, {LineBreak::Lf, "\n"}, {LineBreak::Cr, "\r"}};
    for (const Encoding& encoding : encodings) {
        for (const auto& [lineBreak, breakText] : breaks) {
            for (bool finalBreak : {true, false}) {
                const QString text = lines.join(breakText) + (finalBreak ? breakText : QString());
                const QByteArray bytes = encoding.mark + UTF16ToAnsi(text, encoding.codePage);
                const std::string label = std::to_string(encoding.codePage) + (encoding.mark.isEmpty() ? "" : " mark ") +
                                          " " + Name(lineBreak) + (finalBreak ? " final" : "");

                const TextFileContent content = DecodeTextFile(bytes);
                EXPECT_EQ(content.lines, lines) << label;
                EXPECT_EQ(content.format.codePage, encoding.codePage) << label;
                EXPECT_EQ(content.format.lineBreak, lineBreak) << label;
                EXPECT_EQ(content.format.finalLineBreak, finalBreak) << label;
                EXPECT_EQ(EncodeTextFile(content.lines, content.format), bytes) << label;
            }
        }
    }
}

TEST_F(TextFileTest, CanEncodeTellsWhetherCharactersWouldBecomeQuestionMarks) {
    TextFileFormat format;
    format.codePage = 932;
    EXPECT_TRUE(CanEncodeTextFile({U(u"日本語?"), U(u"～")}, format));
    EXPECT_FALSE(CanEncodeTextFile({U(u"日本語"), U(u"😀")}, format));
    format.codePage = 65001;
    EXPECT_TRUE(CanEncodeTextFile({U(u"😀 한")}, format));
}

TEST_F(TextFileTest, ReadsAndWritesFiles) {
    const QString fileName = Path("doc.txt");
    const QByteArray bytes = UTF16ToAnsi(U(u"一行目\r\n二行目\r\n"), 932);
    WriteBytes(fileName, bytes);
    const TextFileContent content = ReadTextFile(fileName);
    EXPECT_EQ(content.lines, (QStringList{U(u"一行目"), U(u"二行目")}));
    EXPECT_EQ(content.format.codePage, 932u);

    WriteTextFile(fileName, content.lines + QStringList{U(u"三行目")}, content.format);
    EXPECT_EQ(ReadBytes(fileName), bytes + UTF16ToAnsi(U(u"三行目\r\n"), 932));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.txt"});  // no temporary left
}

TEST_F(TextFileTest, KeepsPermissionBits) {
    const QString fileName = Path("script.sh");
    WriteBytes(fileName, "old");
    for (mode_t mode : {0640, 0755, 0600}) {
        ASSERT_EQ(::chmod(QFile::encodeName(fileName).constData(), mode), 0);
        WriteFileAtomically(fileName, "new");
        EXPECT_EQ(ModeOf(fileName), mode);
    }
    const mode_t mask = ::umask(022);
    WriteFileAtomically(Path("fresh.txt"), "new");
    ::umask(mask);
    EXPECT_EQ(ModeOf(Path("fresh.txt")), 0644u);
}

// A settings file kept elsewhere and linked into place stays a link.
TEST_F(TextFileTest, WritesThroughSymbolicLinks) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
    const QString target = Path("real/settings.ini");
    WriteBytes(target, "old");
    ASSERT_TRUE(QFile::link(target, Path("link.ini")));
    ASSERT_TRUE(QFile::link(Path("link.ini"), Path("link-to-link.ini")));
    ASSERT_TRUE(QFile::link(Path("real/missing.ini"), Path("dangling.ini")));

    WriteFileAtomically(Path("link-to-link.ini"), "new");
    EXPECT_TRUE(QFileInfo(Path("link.ini")).isSymLink());
    EXPECT_TRUE(QFileInfo(Path("link-to-link.ini")).isSymLink());
    EXPECT_EQ(ReadBytes(target), QByteArray("new"));

    WriteFileAtomically(Path("dangling.ini"), "created");
    EXPECT_TRUE(QFileInfo(Path("dangling.ini")).isSymLink());
    EXPECT_EQ(ReadBytes(Path("real/missing.ini")), QByteArray("created"));
}

// Each failure names the file and the system's reason, and the old file stays as it was.
TEST_F(TextFileTest, FailedWritesThrowAndLeaveTheOldFile) {
    WriteBytes(Path("plain.txt"), "old");
    struct Case {
        QString fileName;
        const char* reason;
    } cases[] = {
        {Path("no-such-folder/file.txt"), "No such file or directory"},
        {Path("plain.txt/file.txt"), "Not a directory"},
        {QString(), "No such file or directory"},
    };
    for (const Case& c : cases) {
        try {
            WriteFileAtomically(c.fileName, "new");
            ADD_FAILURE() << "no exception for " << c.fileName.toStdString();
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("ファイル \"%1\" を保存できません: %2").arg(c.fileName, c.reason));
        }
    }
    EXPECT_EQ(ReadBytes(Path("plain.txt")), QByteArray("old"));
}

TEST_F(TextFileTest, ReadOnlyFolderRefusesTheWrite) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const QString fileName = Path("locked/file.txt");
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    WriteBytes(fileName, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(Path("locked")).constData(), 0555), 0);
    EXPECT_THROW(WriteFileAtomically(fileName, "new"), Exception);
    ::chmod(QFile::encodeName(Path("locked")).constData(), 0755);
    EXPECT_EQ(ReadBytes(fileName), QByteArray("old"));
}

// A full disk, simulated by a file size limit: the write fails half-way through.
TEST_F(TextFileTest, DiskFullLeavesTheOldFileAndNoTemporary) {
    const QString fileName = Path("big.txt");
    WriteBytes(fileName, "old");
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString message;
    try {
        WriteFileAtomically(fileName, QByteArray(100000, 'x'));
    } catch (const Exception& e) {
        message = e.Message();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(message, QStringLiteral("ファイル \"%1\" を保存できません: File too large").arg(fileName));
    EXPECT_EQ(ReadBytes(fileName), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"big.txt"});
}

TEST_F(TextFileTest, UnreadableFileThrows) {
    for (const QString& fileName : {dir.path(), Path("missing.txt")}) {
        try {
            ReadTextFile(fileName);
            ADD_FAILURE() << "no exception for " << fileName.toStdString();
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("ファイル \"%1\" を読み込めません: ").arg(fileName)))
                << e.what();
        }
    }
}

}  // namespace
