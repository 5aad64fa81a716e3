#include "appsupport/TFormMirabekAboutBox.h"
#include "platform/Exception.h"
#include "AboutBoxTestApp.h"

#include <QApplication>

#include <gtest/gtest.h>

// This test program carries no version information.
TEST(AboutBoxWithoutVersion, IsNotBuiltAndSaysWhy)
{
    OffscreenApplication();
    const auto before = QApplication::topLevelWidgets().size();
    try {
        appsupport::TFormMirabekAboutBox box(nullptr);
        FAIL() << "the box was built";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("バージョン情報を取得できません"));
    }
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}
