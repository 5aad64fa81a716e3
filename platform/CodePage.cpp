#include "platform/CodePage.h"

#include "platform/Exception.h"
#include "platform/SystemLocale.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <map>
#include <memory>

namespace platform {
namespace {

// ICU's name for each Windows code page we support. Windows-31J is opened by its exact
// table name: ICU's "cp932" alias is ambiguous.
const char* IcuName(unsigned codePage) {
    switch (codePage) {
    case CodePageUtf8: return "UTF-8";
    case CodePageWindows31J: return "ibm-943_P15A-2003";
    case CodePageEucJp:
    case CodePageEucJpAlias: return "EUC-JP";
    case CodePageIso2022Jp: return "ISO_2022,locale=ja,version=0";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1252: return "windows-1252";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28593: return "ISO-8859-3";
    case 28594: return "ISO-8859-4";
    case 28595: return "ISO-8859-5";
    case 28596: return "ISO-8859-6";
    case 28597: return "ISO-8859-7";
    case 28598: return "ISO-8859-8";
    case 28599: return "ISO-8859-9";
    default: return nullptr;
    }
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Undecodable bytes become U+FFFD (ICU's own substitution gives U+001A for some tables),
// and the context, when given, learns that something was lost.
void ToUnicodeReplacement(const void* context, UConverterToUnicodeArgs* args, const char*, int32_t,
                          UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
    if (context != nullptr) *static_cast<bool*>(const_cast<void*>(context)) = true;
    static const UChar replacement = 0xFFFD;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
}

// A character the code page cannot hold becomes "?". ICU's own substitution callback drops
// default-ignorable characters (soft hyphen, zero-width space, variation selectors) without a
// trace, so it is not used.
void FromUnicodeQuestionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                             UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
    *error = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, error);
}

// One converter per code page and thread, opened on first use and reset before each use.
UConverter* Converter(unsigned codePage) {
    const unsigned resolved = codePage == CodePageSystem ? SystemCodePage() : codePage;
    thread_local std::map<unsigned, ConverterPtr> converters;
    auto found = converters.find(resolved);
    if (found == converters.end()) {
        const char* name = IcuName(resolved);
        if (name == nullptr) throw Exception(QStringLiteral("コードページ %1 には対応していません").arg(resolved));
        UErrorCode error = U_ZERO_ERROR;
        ConverterPtr converter(ucnv_open(name, &error));
        if (U_FAILURE(error)) throw Exception(QStringLiteral("コードページ %1 を開けません").arg(resolved));
        // An unrepresentable character becomes "?" and never a best-fit look-alike.
        ucnv_setFallback(converter.get(), false);
        ucnv_setFromUCallBack(converter.get(), FromUnicodeQuestionMark, nullptr, nullptr, nullptr, &error);
        found = converters.emplace(resolved, std::move(converter)).first;
    }
    ucnv_reset(found->second.get());
    return found->second.get();
}

QString Decode(const QByteArray& bytes, unsigned codePage, bool* lossy) {
    if (bytes.isEmpty()) return {};
    UConverter* converter = Converter(codePage);
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, ToUnicodeReplacement, lossy, nullptr, nullptr, &error);
    // No byte decodes to more than two UTF-16 code units.
    QString text(bytes.size() * 2 + 2, Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), text.size(),
                                         bytes.constData(), bytes.size(), &error);
    if (U_FAILURE(error)) throw Exception(QStringLiteral("文字コードの変換に失敗しました"));
    text.truncate(length);
    return text;
}

}  // namespace

bool IsSupportedCodePage(unsigned codePage) {
    return codePage == CodePageSystem || IcuName(codePage) != nullptr;
}

QByteArray UTF16ToAnsi(const QString& text, unsigned codePage) {
    if (text.isEmpty()) return {};
    UConverter* converter = Converter(codePage);
    UErrorCode error = U_ZERO_ERROR;
    const int32_t capacity = UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter));
    QByteArray bytes(capacity, Qt::Uninitialized);
    const int32_t length = ucnv_fromUChars(converter, bytes.data(), capacity,
                                           reinterpret_cast<const UChar*>(text.utf16()), text.size(), &error);
    if (U_FAILURE(error)) throw Exception(QStringLiteral("文字コードの変換に失敗しました"));
    bytes.truncate(length);
    return bytes;
}

QString AnsiToUTF16(const QByteArray& bytes, unsigned codePage) {
    return Decode(bytes, codePage, nullptr);
}

QString AnsiToUTF16Checked(const QByteArray& bytes, unsigned codePage, bool* valid) {
    bool lossy = false;
    QString text = Decode(bytes, codePage, &lossy);
    *valid = !lossy;
    return text;
}

}  // namespace platform
