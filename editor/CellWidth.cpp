#include "editor/CellWidth.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/uset.h>

#include <array>
#include <memory>

namespace editor {
namespace {

int UnicodeWidth(char32_t cp)
{
    const auto category = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(cp)));
    if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR)
        return 0;
    const int eaw = u_getIntPropertyValue(static_cast<UChar32>(cp), UCHAR_EAST_ASIAN_WIDTH);
    return (eaw == U_EA_WIDE || eaw == U_EA_FULLWIDTH) ? 2 : 1;
}

// Widths of the whole Basic Multilingual Plane, computed once (Windows-31J holds nothing beyond it).
std::unique_ptr<std::array<unsigned char, 0x10000>> BuildBmpTable()
{
    auto table = std::make_unique<std::array<unsigned char, 0x10000>>();
    for (char32_t cp = 0; cp < 0x10000; ++cp)
        (*table)[cp] = static_cast<unsigned char>(UnicodeWidth(cp));

    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("ibm-943_P15A-2003", &status);
    if (U_FAILURE(status))
        return table;
    USet* set = uset_openEmpty();
    ucnv_getUnicodeSet(converter, set, UCNV_ROUNDTRIP_SET, &status);
    if (U_SUCCESS(status)) {
        const int32_t ranges = uset_getItemCount(set);
        for (int32_t i = 0; i < ranges; ++i) {
            UChar32 start = 0;
            UChar32 end = 0;
            UErrorCode itemStatus = U_ZERO_ERROR;
            if (uset_getItem(set, i, &start, &end, nullptr, 0, &itemStatus) != 0 || U_FAILURE(itemStatus))
                continue;
            for (UChar32 cp = start; cp <= end && cp < 0x10000; ++cp) {
                if (cp >= 0xD800 && cp <= 0xDFFF)
                    continue;
                const UChar unit = static_cast<UChar>(cp);
                char bytes[8];
                UErrorCode convStatus = U_ZERO_ERROR;
                const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, &unit, 1, &convStatus);
                if (U_SUCCESS(convStatus) && length >= 1 && length <= 2)
                    (*table)[cp] = static_cast<unsigned char>(length);
            }
        }
    }
    uset_close(set);
    ucnv_close(converter);
    return table;
}

}  // namespace

int CellWidth(char32_t codePoint)
{
    static const auto table = BuildBmpTable();
    if (codePoint < 0x10000)
        return (*table)[codePoint];
    return UnicodeWidth(codePoint);
}

char32_t CodePointAt(const QString& text, qsizetype index, int* units)
{
    const QChar first = text.at(index);
    if (first.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate()) {
        if (units)
            *units = 2;
        return QChar::surrogateToUcs4(first, text.at(index + 1));
    }
    if (units)
        *units = 1;
    return first.unicode();
}

bool InsideSurrogatePair(const QString& text, qsizetype index)
{
    return index > 0 && index < text.size() && text.at(index).isLowSurrogate() && text.at(index - 1).isHighSurrogate();
}

}  // namespace editor
