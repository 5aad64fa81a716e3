#include "platform/SystemLocale.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(SystemLocale, CharsetsNameTheirCodePage) {
    struct Case {
        const char* charset;
        unsigned codePage;
    } cases[] = {
        {"UTF-8", 65001},     {"utf8", 65001},       {"ANSI_X3.4-1968", 65001}, {"", 65001},
        {"EUC-JP", 20932},    {"eucJP", 20932},      {"SHIFT_JIS", 932},        {"SJIS", 932},
        {"CP932", 932},       {"WINDOWS-31J", 932},  {"ISO-8859-1", 28591},     {"iso88599", 28599},
        {"ISO-8859-15", 65001}, {"KOI8-R", 65001},   {"GB18030", 65001},
    };
    for (const Case& c : cases) EXPECT_EQ(CodePageFromCharset(c.charset), c.codePage) << c.charset;
}

TEST(SystemLocale, LanguageNamesTheLocale) {
    EXPECT_EQ(LocaleFromLanguage("ja_JP.UTF-8"), LocaleJapanese);
    EXPECT_EQ(LocaleFromLanguage("ja"), LocaleJapanese);
    EXPECT_EQ(LocaleFromLanguage("en_US.UTF-8"), LocaleEnglishUS);
    EXPECT_EQ(LocaleFromLanguage("en_GB.UTF-8"), LocaleUserDefault);
    EXPECT_EQ(LocaleFromLanguage("jam"), LocaleUserDefault);
    EXPECT_EQ(LocaleFromLanguage("C"), LocaleUserDefault);
}

TEST(SystemLocale, ExplicitValuesWin) {
    SetSystemCodePage(932);
    SetUserDefaultLCID(LocaleJapanese);
    EXPECT_EQ(SystemCodePage(), 932u);
    EXPECT_EQ(UserDefaultLCID(), LocaleJapanese);
}
