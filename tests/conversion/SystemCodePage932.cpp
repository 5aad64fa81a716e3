#include "platform/SystemLocale.h"

#include <gtest/gtest.h>

namespace {

// The Japanese examples of the URL escapes assume the system code page 932. It is fixed
// before any test converts text; tests that need UTF-8 pass 65001 themselves.
class SystemCodePage932 : public testing::Environment {
public:
    void SetUp() override { platform::SetSystemCodePage(932); }
};

const testing::Environment* const environment = testing::AddGlobalTestEnvironment(new SystemCodePage932);

}  // namespace
