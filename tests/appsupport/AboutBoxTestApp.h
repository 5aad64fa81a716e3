#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// One QApplication on the offscreen platform for the widget tests of a test program,
// created on first use and destroyed when the tests are done (not at static destruction,
// when the rest of Qt may already be gone).
class OffscreenApplicationEnvironment : public ::testing::Environment {
public:
    static QApplication& Get()
    {
        if (!app_) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            app_ = std::make_unique<QApplication>(argc_, argv_);
        }
        return *app_;
    }
    void TearDown() override { app_.reset(); }

private:
    static inline int argc_ = 1;
    static inline char name_[] = "appsupport_widget_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline std::unique_ptr<QApplication> app_;
};

inline QApplication& OffscreenApplication()
{
    static const auto* registered = ::testing::AddGlobalTestEnvironment(new OffscreenApplicationEnvironment);
    (void)registered;
    return OffscreenApplicationEnvironment::Get();
}
