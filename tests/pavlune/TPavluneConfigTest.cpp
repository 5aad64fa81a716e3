#include "pavlune/TPavluneConfig.h"
#include "pavlune/TaskTypes.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"
#include "../appsupport/XdgSandbox.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace pavlune;

namespace {

QByteArray CrLf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

QStringList SectionNames(const QByteArray& bytes)
{
    QStringList names;
    const QRegularExpression header(QStringLiteral("^\\[(.*)\\]\\r$"), QRegularExpression::MultilineOption);
    for (auto match = header.globalMatch(QString::fromUtf8(bytes)); match.hasNext();)
        names.append(match.next().captured(1));
    return names;
}

class PavluneConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetSystemCodePage(65001);
        config = std::make_unique<TPavluneConfig>();
    }

    QString FileName() const { return config->GetFileName(); }

    // Writes the file (lines joined with CR LF) and loads it.
    void LoadFrom(const QByteArray& text)
    {
        WriteBytes(FileName(), CrLf(text));
        config->Load();
    }

    XdgSandbox sandbox;
    std::unique_ptr<TPavluneConfig> config;
};

// The file a Save of the default list writes, byte for byte.
const QByteArray DefaultFile = CrLf(R"([KEY_CONFIG_0]
TASKTYPE=0
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=49
CAPTION=ひらがなに変換する
TARGET=0

[KEY_CONFIG_1]
TASKTYPE=1
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=50
CAPTION=カタカナに変換する
TARGET=0

[KEY_CONFIG_2]
TASKTYPE=2
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=51
CAPTION=全角文字に変換する
TARGET=0

[KEY_CONFIG_3]
TASKTYPE=3
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=52
CAPTION=半角文字に変換する
TARGET=0

[KEY_CONFIG_4]
TASKTYPE=4
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=53
CAPTION=小文字に変換する
TARGET=0

[KEY_CONFIG_5]
TASKTYPE=5
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=54
CAPTION=大文字に変換する
TARGET=0

[KEY_CONFIG_6]
TASKTYPE=6
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=55
CAPTION=HTMLをエスケープする
TARGET=0

[KEY_CONFIG_7]
TASKTYPE=7
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=56
CAPTION=HTMLのエスケープを外す
TARGET=0

[KEY_CONFIG_8]
TASKTYPE=8
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=57
CAPTION=URLをエスケープする
TARGET=0

[KEY_CONFIG_9]
TASKTYPE=9
SHIFT=0
CTRL=1
ALT=0
ENABLED=1
KEY=48
CAPTION=URLのエスケープを外す
TARGET=0

[KEY_CONFIG_10]
TASKTYPE=10
SHIFT=1
CTRL=1
ALT=0
ENABLED=1
KEY=49
CAPTION=半角カナを全角に変換する
TARGET=0

[KEY_CONFIG_11]
TASKTYPE=11
SHIFT=1
CTRL=1
ALT=0
ENABLED=1
KEY=50
CAPTION=大文字で始める
TARGET=0

[STARTUP]
Minimized=0

)");

}  // namespace

TEST_F(PavluneConfigTest, LivesInTheConfigurationFolderWhichTheConstructorCreates)
{
    EXPECT_EQ(FileName(), sandbox.ConfigHome() + QStringLiteral("/Kestrino/Pavlune/Pavlune.ini"));
    EXPECT_TRUE(QFileInfo(QFileInfo(FileName()).path()).isDir());
    EXPECT_FALSE(QFileInfo::exists(FileName()));
}

TEST_F(PavluneConfigTest, WithoutAFileLoadGivesTheDefaultsAndCreatesNothing)
{
    config->SetMinimized(true);
    config->Load();
    const auto entries = config->GetKeyConfigs();
    ASSERT_EQ(entries.size(), 12u);
    const char16_t* keyTexts[] = {u"[Ctrl] + 1", u"[Ctrl] + 2", u"[Ctrl] + 3", u"[Ctrl] + 4",
                                  u"[Ctrl] + 5", u"[Ctrl] + 6", u"[Ctrl] + 7", u"[Ctrl] + 8",
                                  u"[Ctrl] + 9", u"[Ctrl] + 0", u"[Shift] + [Ctrl] + 1", u"[Shift] + [Ctrl] + 2"};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].TaskType, static_cast<int>(i));
        EXPECT_EQ(entries[i].KeyText, QString::fromUtf16(keyTexts[i])) << i;
        EXPECT_EQ(entries[i].Caption, TaskTypeTexts[i].Name.toString()) << i;
        EXPECT_TRUE(entries[i].IsEnabled());
        EXPECT_EQ(entries[i].Target, tgAll);
    }
    EXPECT_FALSE(config->GetMinimized());
    EXPECT_FALSE(QFileInfo::exists(FileName()));
    EXPECT_TRUE(config->LoadWarning().isEmpty());
}

TEST_F(PavluneConfigTest, SavingTheDefaultsWritesTheDefaultFileByteForByte)
{
    config->SetDefault();
    config->Save();
    EXPECT_EQ(ReadBytes(FileName()), DefaultFile);

    TPavluneConfig reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.GetKeyConfigs(), config->GetKeyConfigs());
    EXPECT_FALSE(QFileInfo::exists(FileName() + QStringLiteral(".bak")));
}

TEST_F(PavluneConfigTest, AHandEditedFileLoadsWithItsOddities)
{
    LoadFrom(R"(; written by hand
stray=before any section
[key_config_0]
  TaskType = 0x3
shift=$1
CTRL=0X1
KEY = 0x41
enabled=7
caption=  spaced out  
target=2

[KEY_CONFIG_1]
TASKTYPE=abc
ENABLED=1
KEY=13
CAPTION=
TARGET=

[KEY_CONFIG_2]
TASKTYPE=42
KEY=65601
ENABLED=1
TARGET=9

[other]
KEY=49

[startup]
minimized=1
)");
    const auto entries = config->GetKeyConfigs();
    ASSERT_EQ(entries.size(), 3u);

    EXPECT_EQ(entries[0].TaskType, ttHalfWidth);
    EXPECT_TRUE(entries[0].Shift);
    EXPECT_TRUE(entries[0].Ctrl);
    EXPECT_FALSE(entries[0].Alt);
    EXPECT_EQ(entries[0].Key, 0x41);
    EXPECT_EQ(entries[0].KeyText, QStringLiteral("[Shift] + [Ctrl] + a"));
    EXPECT_TRUE(entries[0].IsEnabled());
    EXPECT_EQ(entries[0].Caption, QStringLiteral("spaced out"));
    EXPECT_EQ(entries[0].Target, tgDigit);

    // Not a number: the default task type (1 % 12); an empty caption stays empty.
    EXPECT_EQ(entries[1].TaskType, 1);
    EXPECT_EQ(entries[1].Caption, QString());
    EXPECT_EQ(entries[1].Key, 0);  // Enter is not a table key
    EXPECT_TRUE(entries[1].Enabled);
    EXPECT_FALSE(entries[1].IsEnabled());
    EXPECT_EQ(entries[1].Target, tgAll);

    // Out-of-range values stay; the key is narrowed to 16 bits (65601 = 0x10041 -> 0x41);
    // there is no name for task type 42, so its missing caption is empty.
    EXPECT_EQ(entries[2].TaskType, 42);
    EXPECT_EQ(entries[2].Key, 0x41);
    EXPECT_EQ(entries[2].Caption, QString());
    EXPECT_EQ(entries[2].Target, 9);

    EXPECT_TRUE(config->GetMinimized());
    EXPECT_TRUE(config->LoadWarning().isEmpty());

    config->Save();
    const QByteArray saved = ReadBytes(FileName());
    EXPECT_EQ(SectionNames(saved), QStringList({"KEY_CONFIG_0", "KEY_CONFIG_1", "KEY_CONFIG_2", "STARTUP"}));
    EXPECT_TRUE(saved.contains("[KEY_CONFIG_1]\r\nTASKTYPE=1\r\nSHIFT=0\r\nCTRL=0\r\nALT=0\r\nENABLED=0\r\nKEY=0\r\n"
                               "CAPTION=\r\nTARGET=0\r\n\r\n"));
    EXPECT_TRUE(saved.contains("CAPTION=spaced out\r\n"));
    EXPECT_TRUE(saved.endsWith("[STARTUP]\r\nMinimized=1\r\n\r\n"));
    EXPECT_FALSE(saved.contains("; written by hand"));
}

TEST_F(PavluneConfigTest, AnEmptySectionAfterTwelveTakesEveryDefault)
{
    QByteArray text;
    for (int n = 0; n <= 12; ++n)
        text += "[KEY_CONFIG_" + QByteArray::number(n) + "]\nKEY=49\n";
    text += "[KEY_CONFIG_13]\n";
    LoadFrom(text);
    const auto entries = config->GetKeyConfigs();
    ASSERT_EQ(entries.size(), 14u);
    EXPECT_EQ(entries[12].TaskType, 0);
    const TPavluneKeyConfig& last = entries[13];
    EXPECT_EQ(last.TaskType, ttKatakana);
    EXPECT_FALSE(last.Shift || last.Ctrl || last.Alt || last.Enabled);
    EXPECT_EQ(last.Key, 0);
    EXPECT_EQ(last.Caption, QStringLiteral("カタカナに変換する"));
    EXPECT_EQ(last.Target, tgAll);
    EXPECT_FALSE(config->GetMinimized());
}

TEST_F(PavluneConfigTest, AFileWithoutEntriesGivesAnEmptyList)
{
    LoadFrom("[STARTUP]\nMinimized=1\n");
    EXPECT_TRUE(config->GetKeyConfigs().empty());
    EXPECT_TRUE(config->GetMinimized());
    EXPECT_TRUE(config->LoadWarning().isEmpty());
}

// Entries after a gap are not loaded; the old file is kept aside before it is replaced.
TEST_F(PavluneConfigTest, EntriesAfterAGapAreNotLoadedButNotLostEither)
{
    const QByteArray original = CrLf("[KEY_CONFIG_0]\nKEY=49\nENABLED=1\n[KEY_CONFIG_1]\nKEY=50\n"
                                     "[KEY_CONFIG_3]\nKEY=52\nCAPTION=大事な設定\n[STARTUP]\nMinimized=1\n");
    WriteBytes(FileName(), original);
    config->Load();
    EXPECT_EQ(config->GetKeyConfigs().size(), 2u);
    EXPECT_TRUE(config->LoadWarning().contains(FileName()));

    config->Save();
    EXPECT_EQ(SectionNames(ReadBytes(FileName())), QStringList({"KEY_CONFIG_0", "KEY_CONFIG_1", "STARTUP"}));
    EXPECT_EQ(ReadBytes(FileName() + QStringLiteral(".bak")), original);

    // Once saved, the file is whole again: a second Save keeps no further copy.
    config->Save();
    EXPECT_FALSE(QFileInfo::exists(FileName() + QStringLiteral(".bak2")));
}

TEST_F(PavluneConfigTest, AnEarlierCopyIsNeverReplaced)
{
    WriteBytes(FileName() + QStringLiteral(".bak"), "earlier copy");
    LoadFrom("[KEY_CONFIG_1]\nKEY=50\n");  // no entry 0: nothing is loaded
    EXPECT_TRUE(config->GetKeyConfigs().empty());
    EXPECT_FALSE(config->LoadWarning().isEmpty());
    config->Save();
    EXPECT_EQ(ReadBytes(FileName() + QStringLiteral(".bak")), "earlier copy");
    EXPECT_EQ(ReadBytes(FileName() + QStringLiteral(".bak2")), CrLf("[KEY_CONFIG_1]\nKEY=50\n"));
}

TEST_F(PavluneConfigTest, UndecodableTextIsKeptAsideBeforeSaving)
{
    // Bytes that are neither UTF-8, Windows-31J nor EUC-JP.
    const QByteArray original = "[KEY_CONFIG_0]\r\nKEY=49\r\nCAPTION=\xFF\xFE\xFF\x80\r\n";
    WriteBytes(FileName(), original);
    config->Load();
    ASSERT_EQ(config->GetKeyConfigs().size(), 1u);
    EXPECT_FALSE(config->LoadWarning().isEmpty());
    config->Save();
    EXPECT_EQ(ReadBytes(FileName() + QStringLiteral(".bak")), original);
}

TEST_F(PavluneConfigTest, AFileThatCannotBeReadLeavesAnEmptyListAndIsNotReplaced)
{
    QDir().mkpath(FileName());  // exists, but is no readable file
    config->SetMinimized(true);
    EXPECT_THROW(config->Load(), platform::Exception);
    EXPECT_TRUE(config->GetKeyConfigs().empty());
    EXPECT_FALSE(config->GetMinimized());

    config->SetDefault();
    EXPECT_THROW(config->Save(), platform::Exception);
    EXPECT_TRUE(QFileInfo(FileName()).isDir());
}

TEST_F(PavluneConfigTest, ASaveThatCannotWriteSaysSo)
{
    const QString folder = QFileInfo(FileName()).path();
    QDir(folder).removeRecursively();
    WriteBytes(folder, "a file where the folder belongs");
    config->SetDefault();
    try {
        config->Save();
        FAIL() << "no exception";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.Message().contains(FileName())) << e.Message().toStdString();
    }
    EXPECT_EQ(config->GetKeyConfigs().size(), 12u);
}

TEST_F(PavluneConfigTest, EditsSurviveSaveAndLoad)
{
    config->SetDefault();
    auto entries = config->GetKeyConfigs();
    entries.erase(entries.begin() + 1);
    entries.resize(3, entries.front());
    entries[2] = TPavluneKeyConfig(ttFullWidth, false, false, true, 0xE2, true, QStringLiteral("  端に空白  "), tgAlpha);
    config->SetKeyConfigs(entries);
    config->SetMinimized(true);
    config->Save();
    EXPECT_EQ(SectionNames(ReadBytes(FileName())), QStringList({"KEY_CONFIG_0", "KEY_CONFIG_1", "KEY_CONFIG_2", "STARTUP"}));

    TPavluneConfig reloaded;
    reloaded.Load();
    const auto back = reloaded.GetKeyConfigs();
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0], entries[0]);
    EXPECT_EQ(back[1], entries[1]);
    EXPECT_EQ(back[1].Caption, QStringLiteral("全角文字に変換する"));
    EXPECT_EQ(back[2].KeyText, QStringLiteral("[Alt] + \\"));
    EXPECT_EQ(back[2].Key, 0xE2);
    EXPECT_EQ(back[2].Caption, QStringLiteral("端に空白"));  // blanks at the ends do not survive the file
    EXPECT_TRUE(reloaded.GetMinimized());

    // Removing the middle one of three leaves sections 0 and 1 only.
    auto fewer = back;
    fewer.erase(fewer.begin() + 1);
    reloaded.SetKeyConfigs(fewer);
    reloaded.Save();
    EXPECT_EQ(SectionNames(ReadBytes(FileName())), QStringList({"KEY_CONFIG_0", "KEY_CONFIG_1", "STARTUP"}));

    reloaded.SetDefault();
    EXPECT_FALSE(reloaded.GetMinimized());
}

TEST_F(PavluneConfigTest, TheFileKeepsItsEncoding)
{
    const QByteArray body = CrLf("[KEY_CONFIG_0]\nKEY=49\nCAPTION=ひらがな\n");
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray expectedStart;
    };
    const QByteArray utf16le = QByteArray("\xFF\xFE")
        + QByteArray(reinterpret_cast<const char*>(QString::fromUtf8(body).utf16()), QString::fromUtf8(body).size() * 2);
    const QByteArray sjis = platform::UTF16ToAnsi(QString::fromUtf8(body), 932);
    const Case cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + body, "\xEF\xBB\xBF[KEY_CONFIG_0]\r\n"},
        {"UTF-16 LE with mark", utf16le, QByteArray("\xFF\xFE[\0K\0", 6)},
        {"Windows-31J", sjis, "[KEY_CONFIG_0]\r\n"},
    };
    for (const Case& c : cases) {
        WriteBytes(FileName(), c.bytes);
        config->Load();
        ASSERT_EQ(config->GetKeyConfigs().size(), 1u) << c.name;
        EXPECT_EQ(config->GetKeyConfigs()[0].Caption, QStringLiteral("ひらがな")) << c.name;
        config->Save();
        const QByteArray saved = ReadBytes(FileName());
        EXPECT_TRUE(saved.startsWith(c.expectedStart)) << c.name;
        if (c.bytes == sjis) {
            EXPECT_TRUE(saved.contains(platform::UTF16ToAnsi(QStringLiteral("CAPTION=ひらがな\r\n"), 932))) << c.name;
        }
    }
}
