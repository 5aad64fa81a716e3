#include "platform/SystemLocale.h"

#include "platform/CodePage.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace platform {
namespace {

struct StartupValues {
    LCID locale = LocaleUserDefault;
    unsigned codePage = CodePageUtf8;
};

// The locale name that governs character handling, by the POSIX order of precedence.
const char* ProcessLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return "C";
}

// The character set of the process locale, asked of the C library without touching the
// global locale (a library must not call setlocale behind the program's back).
std::string ProcessCharset(const char* localeName) {
    locale_t locale = newlocale(LC_CTYPE_MASK, localeName, locale_t(0));
    if (locale == locale_t(0)) return {};
    std::string charset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return charset;
}

StartupValues ReadProcessLocale() {
    const char* name = ProcessLocaleName();
    return {LocaleFromLanguage(name), CodePageFromCharset(ProcessCharset(name).c_str())};
}

std::once_flag readOnce;
std::atomic<LCID> userLocale{LocaleUserDefault};
std::atomic<unsigned> systemCodePage{CodePageUtf8};
std::atomic<bool> localeSetExplicitly{false};
std::atomic<bool> codePageSetExplicitly{false};

void ReadOnce() {
    std::call_once(readOnce, [] {
        const StartupValues values = ReadProcessLocale();
        if (!localeSetExplicitly) userLocale = values.locale;
        if (!codePageSetExplicitly) systemCodePage = values.codePage;
    });
}

std::string Normalised(const char* charset) {
    std::string result;
    for (const char* p = charset; *p != '\0'; ++p) {
        if (*p == '-' || *p == '_') continue;
        result += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    return result;
}

}  // namespace

LCID LocaleFromLanguage(const char* localeName) {
    if (std::strncmp(localeName, "ja", 2) == 0 && !std::isalpha(static_cast<unsigned char>(localeName[2])))
        return LocaleJapanese;
    if (std::strncmp(localeName, "en_US", 5) == 0 && !std::isalpha(static_cast<unsigned char>(localeName[5])))
        return LocaleEnglishUS;
    return LocaleUserDefault;
}

unsigned CodePageFromCharset(const char* charset) {
    const std::string name = Normalised(charset);
    if (name == "EUCJP") return CodePageEucJp;
    if (name == "SHIFTJIS" || name == "SJIS" || name == "CP932" || name == "WINDOWS31J") return CodePageWindows31J;
    if (name.rfind("ISO8859", 0) == 0) {
        const std::string part = name.substr(7);
        if (!part.empty() && part.size() <= 2 && std::isdigit(static_cast<unsigned char>(part[0]))) {
            const unsigned codePage = 28590 + static_cast<unsigned>(std::atoi(part.c_str()));
            if (IsSupportedCodePage(codePage)) return codePage;
        }
    }
    // UTF-8, C/POSIX (ANSI_X3.4-1968), unset and every character set we have no converter for.
    return CodePageUtf8;
}

LCID UserDefaultLCID() {
    ReadOnce();
    return userLocale;
}

unsigned SystemCodePage() {
    ReadOnce();
    return systemCodePage;
}

void SetUserDefaultLCID(LCID locale) {
    localeSetExplicitly = true;
    userLocale = locale;
}

void SetSystemCodePage(unsigned codePage) {
    codePageSetExplicitly = true;
    systemCodePage = codePage;
}

}  // namespace platform
