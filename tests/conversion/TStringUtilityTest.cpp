#include "conversion/TStringUtility.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using TStringUtility::ReplaceText;

TEST(ReplaceText, ReplacesFromTheLeftWithoutOverlapOrRescanning) {
    struct Case {
        QString text, pattern, replacement;
        bool ignoreCase;
        QString expected;
    } cases[] = {
        {u"aaa"_s, u"aa"_s, u"b"_s, false, u"ba"_s},
        {u"aaaa"_s, u"aa"_s, u"b"_s, false, u"bb"_s},
        {u"a&b&"_s, u"&"_s, u"&amp;"_s, false, u"a&amp;b&amp;"_s},  // the inserted "&" is not searched again
        {u"&lt;x&lt;"_s, u"&lt;"_s, u"<"_s, false, u"<x<"_s},
        {u"abc"_s, u"x"_s, u"y"_s, false, u"abc"_s},
        {u"abc"_s, u""_s, u"y"_s, false, u"abc"_s},                  // an empty pattern matches nothing
        {u""_s, u"a"_s, u"b"_s, false, u""_s},
        {u"a-b-c"_s, u"-"_s, u""_s, false, u"abc"_s},
        {u"ab"_s, u"abc"_s, u"x"_s, false, u"ab"_s},                 // a pattern longer than the text
        {u"&LT;&lt;&Lt;"_s, u"&lt;"_s, u"<"_s, false, u"&LT;<&Lt;"_s},
        {u"&LT;&lt;&Lt;"_s, u"&lt;"_s, u"<"_s, true, u"<<<"_s},
        {u"😀a😀"_s, u"😀"_s, u"x"_s, false, u"xax"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceText(c.text, c.pattern, c.replacement, c.ignoreCase), c.expected)
            << c.text.toStdString() << " / " << c.pattern.toStdString();
}

// A long text with many matches is the case a rebuild-per-match replacement gets wrong in
// size or order; the result must be exact at every position.
TEST(ReplaceText, HandlesManyMatchesInALongText) {
    const QString text = u"<&>"_s.repeated(100000);
    const QString replaced = ReplaceText(text, u"&", u"&amp;", false);
    EXPECT_EQ(replaced, u"<&amp;>"_s.repeated(100000));
}
