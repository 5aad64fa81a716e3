// kestrino-conv run as a real process: what scripts see on their pipes and in the exit status.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode;
    QByteArray out;
    QString err;
};

Outcome Convert(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.start(QStringLiteral(KESTRINO_CONV_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QByteArray Utf8(const char* text) { return QByteArray(text); }

}  // namespace

TEST(KestrinoConv, EveryTaskConvertsStandardInput) {
    struct Case {
        QStringList arguments;
        const char* input;
        const char* output;
    } cases[] = {
        {{"hiragana"}, "カタカナとｶﾀｶﾅ", "かたかなとｶﾀｶﾅ"},
        {{"katakana"}, "ひらがなゔ", "ヒラガナヴ"},
        {{"fullwidth"}, "abc 123 ｶﾞ", "ａｂｃ　１２３　ガ"},
        {{"fullwidth", "--target", "alpha"}, "abc123", "ａｂｃ123"},
        {{"fullwidth", "--target=digit"}, "abc123", "abc１２３"},
        {{"fullwidth", "--target", "alnum"}, "a-b 1!", "ａ-ｂ １!"},
        {{"halfwidth"}, "ＡＢＣ１２３ガ", "ABC123ｶﾞ"},
        {{"halfwidth", "--target", "all"}, "パ", "ﾊﾟ"},
        {{"halfwidth", "--target", "alpha"}, "ＡＢＣ１２３", "ABC１２３"},
        {{"halfwidth", "--target", "digit"}, "ＡＢＣ１２３", "ＡＢＣ123"},
        {{"halfwidth", "--target", "alnum"}, "ＡＢＣ１２３＃", "ABC123＃"},
        {{"lower"}, "ÀB Ｚ", "àb ｚ"},
        {{"upper"}, "straße", "STRAßE"},
        {{"html-escape"}, "a<b & \"c\">", "a&lt;b &amp; &quot;c&quot;&gt;"},
        {{"html-unescape"}, "&amp;lt; &LT;", "< <"},
        {{"html-unescape-exact"}, "&amp;lt; &LT;", "&lt; &LT;"},
        {{"url-escape", "--codepage", "932"}, "あ a*~", "%82%a0%20a%2a%7e"},
        {{"url-escape", "--codepage", "65001"}, "あ", "%e3%81%82"},
        {{"url-unescape", "--codepage", "65001"}, "%E3%81%82+b", "あ b"},
        {{"url-unescape", "--codepage", "932"}, "%82%A0", "あ"},
        {{"form-url-escape", "--codepage", "932"}, "あ (a)!,", "%82%a0+%28a%29%21%2c"},
        {{"form-url-unescape", "--codepage", "932"}, "%82%a0+%%41", "あ %41"},
        {{"form-url-unescape", "--codepage", "932"}, "日本%41", "日本A"},
        {{"kana-fullwidth"}, "ﾃﾞｰﾀ ｶﾟ abc", "データ カ゜ abc"},
        {{"capitalize"}, "hello WORLD", "Hello world"},
        {{"lower"}, "A\r\nB\rC\n", "a\r\nb\rc\n"},  // line ends pass untouched
        {{"hiragana"}, "", ""},
    };
    for (const Case& c : cases) {
        const Outcome run = Convert(c.arguments, Utf8(c.input));
        EXPECT_EQ(run.exitCode, 0) << c.arguments.join(' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, Utf8(c.output)) << c.arguments.join(' ').toStdString();
    }
}

TEST(KestrinoConv, DecoderFailuresAndBadInputWriteNothingAndExitOne) {
    struct Case {
        QStringList arguments;
        QByteArray input;
        QString message;
    } cases[] = {
        {{"url-unescape"}, "100%", QStringLiteral("URL 表記用エンコード（%XX）文字列のエラー：位置 - 4")},
        {{"form-url-unescape", "--codepage", "932"}, "日本%zz",
         QStringLiteral("URL 表記エンコードでは許されない文字 (%zz)：位置 - 5")},
        {{"form-url-unescape", "--codepage", "65001"}, "日本%zz",
         QStringLiteral("URL 表記エンコードでは許されない文字 (%zz)：位置 - 7")},
        {{"hiragana"}, QByteArray("ok\xe3\x81", 4), QStringLiteral("入力が UTF-8 ではありません（バイトオフセット 2）")},
    };
    for (const Case& c : cases) {
        const Outcome run = Convert(c.arguments, c.input);
        EXPECT_EQ(run.exitCode, 1) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

TEST(KestrinoConv, UsageErrorsExitTwo) {
    const QStringList wrong[] = {
        {},
        {"romaji"},
        {"fullwidth", "--target", "kana"},
        {"lower", "--target", "alpha"},
        {"url-escape", "--codepage", "437"},
        {"url-escape", "--codepage", "0"},
        {"url-escape", "--codepage"},
        {"hiragana", "katakana"},
        {"hiragana", "--verbose"},
    };
    for (const QStringList& arguments : wrong) {
        const Outcome run = Convert(arguments, "x");
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QStringLiteral("使い方"))) << run.err.toStdString();
    }
}

TEST(KestrinoConv, HelpListsEveryTask) {
    const Outcome run = Convert({"--help"}, {});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* task : {"hiragana", "katakana", "fullwidth", "halfwidth", "lower", "upper", "html-escape",
                             "html-unescape", "html-unescape-exact", "url-escape", "url-unescape", "form-url-escape",
                             "form-url-unescape", "kana-fullwidth", "capitalize"})
        EXPECT_TRUE(run.out.contains(QByteArray(task) + ' ')) << task;
}
