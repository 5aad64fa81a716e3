#include "appsupport/TApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    appsupport::TApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pavlune"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
