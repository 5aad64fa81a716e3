#include "appsupport/TkAppInfo.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <iterator>

using namespace appsupport;

namespace {

const VersionString Strings[] = {
    {u"\\StringFileInfo\\040904B0\\FileVersion", u"2.3.4.5"},
    {u"\\StringFileInfo\\040904B0\\LegalCopyright", u""},
    {u"\\StringFileInfo\\041103A4\\FileVersion", u"9.9.9.9"},
    {u"\\StringFileInfo\\040904b0\\ProductName", u"lower-case table name"},
    {u"\\StringFileInfo\\040904B0\\Comments", u"コメント"},
};
const VersionBlock English{0x04B00409u, Strings, std::size(Strings)};
const VersionBlock Japanese{0x03A40411u, Strings, std::size(Strings)};

}  // namespace

TEST(TkAppInfo, LooksValuesUpInTheStringTableOfItsTranslation)
{
    const TkAppInfo english(English);
    EXPECT_EQ(english.Translation, 0x04B00409u);
    EXPECT_EQ(english.GetValue(TVersionValue::FileVersion), QStringLiteral("2.3.4.5"));
    EXPECT_EQ(english.GetValue(TVersionValue::Comments), QStringLiteral("コメント"));
    EXPECT_EQ(TkAppInfo(Japanese).GetValue(TVersionValue::FileVersion), QStringLiteral("9.9.9.9"));
}

TEST(TkAppInfo, MissingEmptyAndNamelessValuesAreEmpty)
{
    const TkAppInfo info(English);
    EXPECT_EQ(info.GetValue(TVersionValue::LegalCopyright), QString());
    EXPECT_EQ(info.GetValue(TVersionValue::CompanyName), QString());
    EXPECT_EQ(info.GetValue(TVersionValue::ProductName), QString());  // table name must be upper-case hex
    EXPECT_EQ(info.GetValue(TVersionValue::NoValueName), QString());
    EXPECT_EQ(TkAppInfo(Japanese).GetValue(TVersionValue::Comments), QString());
}

TEST(TkAppInfo, AnExecutableWithoutVersionInformationThrows)
{
    // This test program is built without kestrino_version_info().
    try {
        TkAppInfo info;
        FAIL() << "no exception";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("バージョン情報を取得できません"));
    }
}
