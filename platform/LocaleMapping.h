#pragma once

#include "platform/SystemLocale.h"

#include <cstdint>

namespace platform {

// The mapping flags the locale mapping service accepts; exactly one per call.
constexpr std::uint32_t LCMAP_LOWERCASE = 0x00000100;
constexpr std::uint32_t LCMAP_UPPERCASE = 0x00000200;
constexpr std::uint32_t LCMAP_HIRAGANA = 0x00100000;
constexpr std::uint32_t LCMAP_KATAKANA = 0x00200000;
constexpr std::uint32_t LCMAP_HALFWIDTH = 0x00400000;
constexpr std::uint32_t LCMAP_FULLWIDTH = 0x00800000;

// Maps source (length code units; -1 = up to a terminating zero) with one flag.
// With destinationSize 0 it returns the size the result needs; otherwise it writes the
// result and returns its length, or 0 when the destination is too small. It refuses
// (returns 0) an empty source and any flag value other than the six above.
int LCMapString(LCID locale, std::uint32_t flags, const char16_t* source, int length,
                char16_t* destination, int destinationSize);

}  // namespace platform
