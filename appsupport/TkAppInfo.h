#pragma once

#include "appsupport/VersionBlock.h"

#include <QString>

#include <cstdint>

namespace appsupport {

// The kinds of version string, each looked up under its value name.
enum class TVersionValue {
    Comments = 0,
    CompanyName = 1,
    FileDescription = 2,
    FileVersion = 3,
    InternalName = 4,
    LegalCopyright = 5,
    LegalTradeMarks = 6,
    OriginalFilename = 7,
    PrivateBuild = 8,
    ProductName = 9,
    ProductVersion = 10,
    NoValueName = 11,
};

// Reads the version strings of the running program.
class TkAppInfo {
public:
    // The running executable's own block; throws platform::Exception when it carries none.
    TkAppInfo();
    // A given block (the same lookups on version information from elsewhere).
    explicit TkAppInfo(const VersionBlock& block);

    // The string of that kind in the string table of the block's translation, or the
    // empty string when the block has none (always for NoValueName).
    QString GetValue(TVersionValue kind) const;

    std::uint32_t Translation = 0;

private:
    const VersionBlock* VersionData = nullptr;
};

}  // namespace appsupport
