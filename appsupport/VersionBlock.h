#pragma once

#include <cstddef>
#include <cstdint>

namespace appsupport {

// One string of a version block, addressed by its sub-block path
// ("\StringFileInfo\041103A4\FileVersion").
struct VersionString {
    const char16_t* subBlock;
    const char16_t* value;
};

// The version information an executable carries. kestrino_version_info() in CMake
// generates one for a program and links it in as ExecutableVersionBlock.
struct VersionBlock {
    std::uint32_t translation;  // low word: language identifier, high word: code page
    const VersionString* strings;
    std::size_t count;
};

}  // namespace appsupport
