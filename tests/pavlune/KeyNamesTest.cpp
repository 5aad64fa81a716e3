#include "pavlune/KeyNames.h"
#include "pavlune/TPavluneKeyConfig.h"
#include "pavlune/TaskTypes.h"

#include <gtest/gtest.h>

#include <set>

using namespace pavlune;

TEST(GetKeyMapList, HoldsTheSeventyKeysInTheirOrder)
{
    std::vector<std::pair<std::uint16_t, QString>> expected;
    for (int i = 0; i < 26; ++i)
        expected.emplace_back(0x41 + i, QString(QChar(u'a' + i)));
    for (int i = 0; i < 10; ++i)
        expected.emplace_back(0x30 + i, QString::number(i));
    for (int i = 0; i < 10; ++i)
        expected.emplace_back(0x60 + i, QString::number(i));
    for (int i = 0; i < 12; ++i)
        expected.emplace_back(0x70 + i, QStringLiteral("F") + QString::number(i + 1));
    const QString backslash = QStringLiteral("\\");
    for (const auto& [code, name] : std::vector<std::pair<std::uint16_t, QString>>{
             {0xBA, ":"}, {0xBB, ";"}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"},
             {0xC0, "@"}, {0xDB, "["}, {0xDC, backslash}, {0xDD, "]"}, {0xDE, "^"}, {0xE2, backslash}})
        expected.emplace_back(code, name);

    const std::vector<TKeyMap> rows = GetKeyMapList();
    ASSERT_EQ(rows.size(), 70u);
    std::set<std::uint16_t> codes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].GetCode(), expected[i].first) << i;
        EXPECT_EQ(rows[i].GetName(), expected[i].second) << i;
        codes.insert(rows[i].GetCode());
    }
    EXPECT_EQ(codes.size(), rows.size());
}

TEST(FindKeyMap, FindsTableKeysOnly)
{
    EXPECT_EQ(FindKeyMap(0x60).GetName(), QStringLiteral("0"));
    EXPECT_EQ(FindKeyMap(0xE2).GetCode(), 0xE2);
    const std::uint16_t outside[] = {0x00, 0x0D, 0x20, 0x6A, 0x6F, 0x7C, 0x87, 0x10, 0xFFFF, 0x0141};
    for (std::uint16_t code : outside) {
        EXPECT_FALSE(IsKeyMapCode(code)) << code;
        EXPECT_EQ(FindKeyMap(code).GetCode(), 0) << code;
        EXPECT_EQ(FindKeyMap(code).GetName(), QStringLiteral("ERROR")) << code;
    }
    EXPECT_TRUE(IsKeyMapCode(0x60));
    EXPECT_TRUE(IsKeyMapCode(0x7B));
}

TEST(TPavluneKeyConfig, BuildsKeyAndKeyText)
{
    struct Case {
        bool shift, ctrl, alt;
        std::uint16_t code;
        std::uint16_t key;
        const char16_t* keyText;
    };
    const Case cases[] = {
        {false, true, false, 0x31, 0x31, u"[Ctrl] + 1"},
        {true, true, false, 0x32, 0x32, u"[Shift] + [Ctrl] + 2"},
        {false, false, true, 0x74, 0x74, u"[Alt] + F5"},
        {false, false, false, 0x41, 0x41, u"a"},
        {false, true, false, 0x41, 0x41, u"[Ctrl] + a"},
        {true, true, true, 0x7B, 0x7B, u"[Shift] + [Ctrl] + [Alt] + F12"},
        {true, false, true, 0x65, 0x65, u"[Shift] + [Alt] + 5"},  // keypad 5
        {false, true, false, 0xDC, 0xDC, u"[Ctrl] + \\"},
        {false, true, false, 0xE2, 0xE2, u"[Ctrl] + \\"},
        {true, true, true, 0x0D, 0, u""},  // Enter is not a table key
        {false, true, false, 0x0000, 0, u""},
        {false, true, false, 0x6B, 0, u""},  // keypad plus
    };
    for (const Case& c : cases) {
        const TPavluneKeyConfig entry(ttHiragana, c.shift, c.ctrl, c.alt, c.code, true, QStringLiteral("x"), tgAll);
        EXPECT_EQ(entry.Key, c.key) << c.code;
        EXPECT_EQ(entry.KeyText, QString::fromUtf16(c.keyText)) << c.code;
        EXPECT_EQ(entry.IsEnabled(), c.key != 0) << c.code;
        EXPECT_TRUE(entry.Enabled) << c.code;
        EXPECT_EQ(entry.KeyText, MakeKeyText(c.shift, c.ctrl, c.alt, entry.Key));
    }
}

TEST(TPavluneKeyConfig, KeepsEveryOtherFieldAsGiven)
{
    const TPavluneKeyConfig entry(42, true, false, true, 0xBD, false, QStringLiteral(" 説明 "), 7);
    const TPavluneKeyConfig copy = entry;
    for (const TPavluneKeyConfig* e : {&entry, &copy}) {
        EXPECT_EQ(e->TaskType, 42);
        EXPECT_EQ(e->Target, 7);
        EXPECT_EQ(e->Caption, QStringLiteral(" 説明 "));
        EXPECT_TRUE(e->Shift);
        EXPECT_FALSE(e->Ctrl);
        EXPECT_TRUE(e->Alt);
        EXPECT_FALSE(e->Enabled);
        EXPECT_FALSE(e->IsEnabled());
        EXPECT_EQ(e->KeyText, QStringLiteral("[Shift] + [Alt] + -"));
    }
    EXPECT_EQ(TPavluneKeyConfig(-1, false, false, false, 0x30, true, QString(), -5).TaskType, -1);
}

TEST(GetValidTargets, OnlyTheWidthConversionsNarrowTheTarget)
{
    const std::vector<std::int32_t> all = {0, 1, 2, 3};
    const std::vector<std::int32_t> onlyAll = {0};
    EXPECT_EQ(GetValidTargets(ttFullWidth), all);
    EXPECT_EQ(GetValidTargets(ttHalfWidth), all);
    for (std::int32_t taskType : {0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, -1})
        EXPECT_EQ(GetValidTargets(taskType), onlyAll) << taskType;
}

TEST(TaskTypeTexts, KeepTheDoubledAmpersandsAndTheQuote)
{
    EXPECT_EQ(TaskTypeTexts[ttHtmlEscape].Description,
              QStringView(u"HTMLの特殊文字(<>&&\")をHTMLエンティティに変換します"));
    EXPECT_EQ(TaskTypeTexts[ttHtmlUnescape].Description,
              QStringView(u"エスケープされたHTMLエンティティ(&&lt;、&&gt;、&&amp;、&&quot;)を元に戻します"));
    EXPECT_EQ(TaskTypeTexts[ttCapitalize].Name, QStringView(u"大文字で始める"));
    EXPECT_EQ(TargetNames[tgAlphaNumeric], QStringView(u"英数字"));
}
