#include "pavlune/TaskConversion.h"

#include "platform/Exception.h"
#include "platform/SystemLocale.h"

#include <gtest/gtest.h>

namespace {

class TaskConversion : public testing::Test {
protected:
    void SetUp() override {
        platform::SetUserDefaultLCID(0x0411);
        platform::SetSystemCodePage(65001);
    }
};

TEST_F(TaskConversion, EachTaskTypeAndTargetSelectsItsConversion) {
    struct Case {
        int taskType;
        int target;
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {0, 0, u"カタカナ"_qs, u"かたかな"_qs},
        {0, 3, u"カタカナ"_qs, u"かたかな"_qs},  // the target counts only for the width conversions
        {1, 0, u"ひらがな"_qs, u"ヒラガナ"_qs},
        {2, 0, u"abc 123"_qs, u"ａｂｃ　１２３"_qs},
        {2, 1, u"abc123"_qs, u"ａｂｃ123"_qs},
        {2, 2, u"abc123"_qs, u"abc１２３"_qs},
        {2, 3, u"abc123!"_qs, u"ａｂｃ１２３!"_qs},
        {2, 9, u"a1"_qs, u"ａ１"_qs},  // an unknown target converts the whole text
        {3, 0, u"ＡＢＣ　１２３"_qs, u"ABC 123"_qs},
        {3, 1, u"ＡＢＣ１２３"_qs, u"ABC１２３"_qs},
        {3, 2, u"ＡＢＣ１２３"_qs, u"ＡＢＣ123"_qs},
        {3, 3, u"ＡＢＣ１２３"_qs, u"ABC123"_qs},
        {4, 1, u"Hello WORLD"_qs, u"hello world"_qs},
        {5, 0, u"Hello world"_qs, u"HELLO WORLD"_qs},
        {6, 0, u"<a href=\"x\">&</a>"_qs, u"&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;"_qs},
        {7, 0, u"&lt;b&gt;&amp;&lt;/b&gt;"_qs, u"<b>&</b>"_qs},
        {8, 0, u"a b&c"_qs, u"a%20b%26c"_qs},
        {9, 0, u"a%20b%26c"_qs, u"a b&c"_qs},
        {10, 0, u"ｶﾞｯｺｳ"_qs, u"ガッコウ"_qs},
        {11, 0, u"hello WORLD"_qs, u"Hello world"_qs},
        {12, 0, u"x<y カナ"_qs, u"x<y カナ"_qs},
        {-1, 0, u"x<y カナ"_qs, u"x<y カナ"_qs},
        {0, 0, QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.taskType << "/" << c.target << " " << c.text.toStdString());
        EXPECT_EQ(pavlune::ConvertByTask(c.taskType, c.target, c.text), c.expected);
    }
}

TEST_F(TaskConversion, MalformedUrlEscapeThrows) {
    EXPECT_THROW(pavlune::ConvertByTask(9, 0, u"100%"_qs), platform::Exception);
}

}  // namespace
