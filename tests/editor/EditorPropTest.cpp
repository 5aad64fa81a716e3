#include "editor/EditorProp.h"

#include "platform/MemIniFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace editor;

TEST(EditorPropTest, DefaultsOfTheSettingsDialog)
{
    const TEditorProp p;
    EXPECT_TRUE(p.Caret.FreeCaret && p.Caret.AutoIndent && p.Caret.BackSpaceUnIndent && p.Caret.SelMove);
    EXPECT_FALSE(p.Caret.FreeRow || p.Caret.InTab || p.Caret.KeepCaret || p.Caret.LockScroll || p.Caret.NextLine ||
                 p.Caret.TabIndent || p.Caret.PrevSpaceIndent || p.Caret.SoftTab);
    EXPECT_EQ(p.Caret.TabSpaceCount, 8);
    EXPECT_FALSE(p.WordWrap);
    EXPECT_EQ(p.WrapOption.WrapByte, 80);
    EXPECT_EQ(p.WrapOption.FollowStr.size(), 36);
    EXPECT_EQ(p.WrapOption.LeadStr.size(), 9);
    EXPECT_EQ(p.WrapOption.PunctuationStr, QStringLiteral(u"、。，．,.｡､"));
}

TEST(EditorPropTest, EveryPropertyRoundTripsThroughTheIniFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("editorprop.ini"));
    TEditorProp p;
    p.Color = TEditorColor{0x010203, 0x040506, 0x070809, 0x0A0B0C};
    p.Caret = TEditorCaret{false, true, false, false, true, true, true, true, true, true, true, 4, false};
    p.Font = TEditorFont{QStringLiteral(u"ＭＳ ゴシック"), 14};
    p.Leftbar = TEditorLeftbar{true, 7, true, 0x111111, 0x222222};
    p.Margin = TEditorMargin{9, 8, 7, 1};
    p.Marks.RetMark = TEditorMark{true, 0x333333};
    p.Marks.EofMark = TEditorMark{true, 0x444444};
    p.Marks.WrapMark = TEditorMark{true, 0x555555};
    p.Marks.HideMark = TEditorMark{true, 0x666666};
    p.Marks.Underline = TEditorMark{true, 0x777777};
    p.Ruler = TEditorRuler{true, 0x888888, 0x999999, 0xAAAAAA};
    p.ScrollBars = TScrollBars::Vertical;
    p.WordWrap = true;
    p.WrapOption = TEditorWrapOption{true, true, true, true, 33, QStringLiteral(u" 、。　"), QString(), QStringLiteral("x")};
    p.WriteIni(path, QStringLiteral("EditorProp"), QStringLiteral("Default"));

    TEditorProp read;
    read.ReadIni(path, QStringLiteral("EditorProp"), QStringLiteral("Default"));
    EXPECT_TRUE(read == p);
    EXPECT_EQ(read.WrapOption.FollowStr, QStringLiteral(u" 、。　"));
    EXPECT_TRUE(read.WrapOption.LeadStr.isEmpty());
}

TEST(EditorPropTest, BadKeysFallBackOneByOneAndNumbersAreBounded)
{
    platform::MemIniFile ini(QString{});
    ini.SetStrings({QStringLiteral("[EditorProp]"), QStringLiteral("Default.Caret.FreeCaret=yes"),
                    QStringLiteral("Default.Caret.FreeRow=1"), QStringLiteral("Default.Caret.TabSpaceCount=5"),
                    QStringLiteral("Default.WrapOption.WrapByte=999"), QStringLiteral("Default.Color.Text=#12"),
                    QStringLiteral("Default.ScrollBars=7"), QStringLiteral("Default.WrapOption.LeadStr=unquoted")});
    TEditorProp p;
    p.ReadFrom(ini, QStringLiteral("EditorProp"), QStringLiteral("Default"));
    const TEditorProp defaults;
    EXPECT_TRUE(p.Caret.FreeCaret);
    EXPECT_TRUE(p.Caret.FreeRow);
    EXPECT_EQ(p.Caret.TabSpaceCount, 4);
    EXPECT_EQ(p.WrapOption.WrapByte, 250);
    EXPECT_EQ(p.Color.Text, defaults.Color.Text);
    EXPECT_EQ(p.ScrollBars, defaults.ScrollBars);
    EXPECT_EQ(p.WrapOption.LeadStr, defaults.WrapOption.LeadStr);
}
