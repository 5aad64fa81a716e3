#pragma once

#include <cstdint>

namespace platform {

using LCID = std::uint32_t;

constexpr LCID LocaleJapanese = 0x0411;
constexpr LCID LocaleEnglishUS = 0x0409;
constexpr LCID LocaleUserDefault = 0x0400;

// The user locale and the system code page, as the process locale gives them. Both are
// read once, on first use, and then stay fixed for the run; a program or a test may set
// them explicitly before the first conversion.
LCID UserDefaultLCID();
unsigned SystemCodePage();

void SetUserDefaultLCID(LCID locale);
void SetSystemCodePage(unsigned codePage);

// What a process locale's language and character set mean here, e.g. ("ja_JP", "EUC-JP").
LCID LocaleFromLanguage(const char* localeName);
unsigned CodePageFromCharset(const char* charset);

}  // namespace platform
