#include "platform/LocaleMapping.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr int BmpSize = 0x10000;
constexpr int PageSize = 0x100;

// A one-to-one map of BMP code units, stored as differences in 256-unit pages. Equal pages
// are kept once, so every unchanged block (all of CJK) shares one page of zeros and a lookup
// stays in the first-level cache.
class UnitMap {
public:
    UnitMap() {
        for (int c = 0; c < BmpSize; ++c) target_[c] = static_cast<char16_t>(c);
    }

    void Set(char16_t from, char16_t to) { target_[from] = to; }
    char16_t Target(char16_t from) const { return target_[from]; }

    // Packs the map into pages; after this only operator() is used.
    void Freeze() {
        std::map<std::u16string, std::uint32_t> known;
        for (int page = 0; page < BmpSize / PageSize; ++page) {
            std::u16string deltas(PageSize, u'\0');
            for (int i = 0; i < PageSize; ++i) {
                const int c = page * PageSize + i;
                deltas[i] = static_cast<char16_t>(target_[c] - c);
            }
            auto [it, added] = known.emplace(deltas, static_cast<std::uint32_t>(pages_.size()));
            if (added) pages_.insert(pages_.end(), deltas.begin(), deltas.end());
            offsets_[page] = it->second;
        }
        target_.clear();
        target_.shrink_to_fit();
    }

    char16_t operator()(char16_t c) const {
        return static_cast<char16_t>(c + pages_[offsets_[c >> 8] + (c & 0xFF)]);
    }

private:
    std::vector<char16_t> target_ = std::vector<char16_t>(BmpSize);
    std::vector<char16_t> pages_;
    std::array<std::uint32_t, BmpSize / PageSize> offsets_{};
};

// The half-width katakana that can take a voicing mark, and the two spacing marks.
constexpr char16_t FirstHalfWidthBase = 0xFF61;
constexpr char16_t LastHalfWidthBase = 0xFF9D;
constexpr char16_t HalfWidthVoiced = 0xFF9E;      // ﾞ
constexpr char16_t HalfWidthSemiVoiced = 0xFF9F;  // ﾟ
constexpr char16_t CombiningVoiced = 0x3099;
constexpr char16_t CombiningSemiVoiced = 0x309A;
constexpr char16_t SpacingVoiced = 0x309B;      // ゛
constexpr char16_t SpacingSemiVoiced = 0x309C;  // ゜
constexpr char16_t FirstKatakana = 0x30A0;
constexpr char16_t LastKatakana = 0x30FF;

bool IsHalfWidthBase(char16_t c) { return c >= FirstHalfWidthBase && c <= LastHalfWidthBase; }
bool IsHalfWidthMark(char16_t c) { return c == HalfWidthVoiced || c == HalfWidthSemiVoiced; }
bool IsKatakanaBlock(char16_t c) { return c >= FirstKatakana && c <= LastKatakana; }

struct Tables {
    UnitMap lower;
    UnitMap upper;
    UnitMap fullWidth;
    UnitMap halfWidth;  // a voiced katakana maps to its half-width base here
    // The precomposed full-width kana for a half-width base and ﾞ / ﾟ, or 0 where none exists.
    std::array<std::array<char16_t, 2>, LastHalfWidthBase - FirstHalfWidthBase + 1> composed{};
    // The ﾞ / ﾟ that follows the base of a voiced katakana in half width, or 0.
    std::array<char16_t, LastKatakana - FirstKatakana + 1> halfWidthMark{};
};

// Simple case mapping, kept only when it does not change the UTF-16 length.
UChar32 SameLengthCase(UChar32 c, UChar32 mapped) {
    return U16_LENGTH(mapped) == U16_LENGTH(c) ? mapped : c;
}

void BuildCase(Tables& t) {
    for (int c = 0; c < BmpSize; ++c) {
        if (U16_IS_SURROGATE(c)) continue;
        t.lower.Set(c, static_cast<char16_t>(SameLengthCase(c, u_tolower(c))));
        t.upper.Set(c, static_cast<char16_t>(SameLengthCase(c, u_toupper(c))));
    }
}

// The single code point a character decomposes to, or -1.
UChar32 SingleDecomposition(const UNormalizer2* normalizer, UChar32 c) {
    UChar buffer[4];
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = unorm2_getRawDecomposition(normalizer, c, buffer, 4, &error);
    if (U_FAILURE(error) || length != 1) return -1;
    return buffer[0];
}

void BuildWidth(Tables& t) {
    UErrorCode error = U_ZERO_ERROR;
    const UNormalizer2* nfkd = unorm2_getNFKDInstance(&error);
    const UNormalizer2* nfc = unorm2_getNFCInstance(&error);
    if (U_FAILURE(error)) return;  // no ICU data: the width mappings change nothing

    // The regular pairs: Unicode's <wide> and <narrow> decompositions. All of them are BMP
    // characters decomposing to one BMP character.
    for (UChar32 c = 0; c < BmpSize; ++c) {
        const int type = u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE);
        if (type != U_DT_WIDE && type != U_DT_NARROW) continue;
        const UChar32 other = SingleDecomposition(nfkd, c);
        if (other < 0 || other >= BmpSize) continue;
        const char16_t wide = static_cast<char16_t>(type == U_DT_WIDE ? c : other);
        const char16_t narrow = static_cast<char16_t>(type == U_DT_WIDE ? other : c);
        t.fullWidth.Set(narrow, wide);
        t.halfWidth.Set(wide, narrow);
    }

    // Unicode pairs ﾞ ﾟ with the combining marks; on their own they widen to the spacing
    // marks ゛ ゜, which narrow back to ﾞ ﾟ like the combining ones.
    t.fullWidth.Set(HalfWidthVoiced, SpacingVoiced);
    t.fullWidth.Set(HalfWidthSemiVoiced, SpacingSemiVoiced);
    t.halfWidth.Set(SpacingVoiced, HalfWidthVoiced);
    t.halfWidth.Set(SpacingSemiVoiced, HalfWidthSemiVoiced);

    // Typographic quotes have no half-width form of their own; they narrow to ' and ".
    t.halfWidth.Set(u'\u2018', u'\'');
    t.halfWidth.Set(u'\u2019', u'\'');
    t.halfWidth.Set(u'\u201C', u'"');
    t.halfWidth.Set(u'\u201D', u'"');

    // ｶﾞ -> ガ where the widened base has a precomposed voiced form (otherwise the base and ゛).
    for (char16_t base = FirstHalfWidthBase; base <= LastHalfWidthBase; ++base) {
        const char16_t wide = t.fullWidth.Target(base);
        for (int mark = 0; mark < 2; ++mark) {
            const UChar32 composed =
                unorm2_composePair(nfc, wide, mark == 0 ? CombiningVoiced : CombiningSemiVoiced);
            if (composed > 0 && composed < BmpSize)
                t.composed[base - FirstHalfWidthBase][mark] = static_cast<char16_t>(composed);
        }
    }

    // ガ -> ｶﾞ: a voiced katakana splits into its base, narrowed where it has a half-width
    // form (ヸ keeps ヰ, ヾ keeps ヽ), and ﾞ or ﾟ.
    for (char16_t kana = FirstKatakana; kana <= LastKatakana; ++kana) {
        UChar parts[4];
        UErrorCode partError = U_ZERO_ERROR;
        if (unorm2_getRawDecomposition(nfc, kana, parts, 4, &partError) != 2 || U_FAILURE(partError))
            continue;
        if (parts[1] != CombiningVoiced && parts[1] != CombiningSemiVoiced) continue;
        t.halfWidth.Set(kana, t.halfWidth.Target(parts[0]));
        t.halfWidthMark[kana - FirstKatakana] =
            parts[1] == CombiningVoiced ? HalfWidthVoiced : HalfWidthSemiVoiced;
    }
}

const Tables& GetTables() {
    static const Tables tables = [] {
        Tables t;
        BuildCase(t);
        BuildWidth(t);
        t.lower.Freeze();
        t.upper.Freeze();
        t.fullWidth.Freeze();
        t.halfWidth.Freeze();
        return t;
    }();
    return tables;
}

// ァ..ヶ <-> ぁ..ゖ and ヽ ヾ <-> ゝ ゞ; the kana between have the same order in both blocks.
constexpr char16_t KanaDistance = 0x60;

char16_t ToHiragana(char16_t c) {
    if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) return c - KanaDistance;
    return c;
}

char16_t ToKatakana(char16_t c) {
    if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) return c + KanaDistance;
    return c;
}

void MapCase(const UnitMap& bmp, UChar32 (*mapCodePoint)(UChar32), const char16_t* source,
             int length, char16_t* destination) {
    for (int i = 0; i < length; ++i) {
        const char16_t c = source[i];
        if (U16_IS_LEAD(c) && i + 1 < length && U16_IS_TRAIL(source[i + 1])) {
            const UChar32 codePoint = U16_GET_SUPPLEMENTARY(c, source[i + 1]);
            const UChar32 mapped = SameLengthCase(codePoint, mapCodePoint(codePoint));
            destination[i] = U16_LEAD(mapped);
            destination[++i] = U16_TRAIL(mapped);
        } else {
            destination[i] = bmp(c);  // a lone surrogate maps to itself
        }
    }
}

int FullWidthLength(const Tables& t, const char16_t* source, int length) {
    int merged = 0;
    for (int i = 1; i < length; ++i) {
        if (IsHalfWidthMark(source[i]) && IsHalfWidthBase(source[i - 1]) &&
            t.composed[source[i - 1] - FirstHalfWidthBase][source[i] - HalfWidthVoiced] != 0)
            ++merged;
    }
    return length - merged;
}

void MapFullWidth(const Tables& t, const char16_t* source, int length, char16_t* destination) {
    for (int i = 0; i < length; ++i) {
        const char16_t c = source[i];
        if (IsHalfWidthBase(c) && i + 1 < length && IsHalfWidthMark(source[i + 1])) {
            const char16_t composed = t.composed[c - FirstHalfWidthBase][source[i + 1] - HalfWidthVoiced];
            if (composed != 0) {
                *destination++ = composed;
                ++i;
                continue;
            }
        }
        *destination++ = t.fullWidth(c);
    }
}

int HalfWidthLength(const Tables& t, const char16_t* source, int length) {
    int split = 0;
    for (int i = 0; i < length; ++i) {
        const char16_t c = source[i];
        if (IsKatakanaBlock(c) && t.halfWidthMark[c - FirstKatakana] != 0) ++split;
    }
    return length + split;
}

void MapHalfWidth(const Tables& t, const char16_t* source, int length, char16_t* destination) {
    for (int i = 0; i < length; ++i) {
        const char16_t c = source[i];
        *destination++ = t.halfWidth(c);
        if (IsKatakanaBlock(c) && t.halfWidthMark[c - FirstKatakana] != 0)
            *destination++ = t.halfWidthMark[c - FirstKatakana];
    }
}

// Answers the size query, refuses a destination that is too small, else writes.
template <typename Write>
int Deliver(int needed, char16_t* destination, int destinationSize, Write write) {
    if (destinationSize == 0) return needed;
    if (destinationSize < needed) return 0;
    write(destination);
    return needed;
}

}  // namespace

// The rules do not depend on the locale, so any locale is accepted.
int LCMapString(LCID, std::uint32_t flags, const char16_t* source, int length,
                char16_t* destination, int destinationSize) {
    if (source == nullptr || length < -1 || destinationSize < 0) return 0;
    if (destinationSize > 0 && destination == nullptr) return 0;
    if (length == -1) {
        // As with the Windows service, a zero-terminated source maps its terminator too.
        const int textLength = static_cast<int>(std::char_traits<char16_t>::length(source));
        length = textLength == 0 ? 0 : textLength + 1;
    }
    if (length == 0) return 0;

    switch (flags) {
    case LCMAP_LOWERCASE:
    case LCMAP_UPPERCASE:
        return Deliver(length, destination, destinationSize, [&](char16_t* out) {
            const Tables& t = GetTables();
            if (flags == LCMAP_LOWERCASE) MapCase(t.lower, u_tolower, source, length, out);
            else MapCase(t.upper, u_toupper, source, length, out);
        });
    case LCMAP_HIRAGANA:
        return Deliver(length, destination, destinationSize, [&](char16_t* out) {
            for (int i = 0; i < length; ++i) out[i] = ToHiragana(source[i]);
        });
    case LCMAP_KATAKANA:
        return Deliver(length, destination, destinationSize, [&](char16_t* out) {
            for (int i = 0; i < length; ++i) out[i] = ToKatakana(source[i]);
        });
    case LCMAP_FULLWIDTH: {
        const Tables& t = GetTables();
        return Deliver(FullWidthLength(t, source, length), destination, destinationSize,
                       [&](char16_t* out) { MapFullWidth(t, source, length, out); });
    }
    case LCMAP_HALFWIDTH: {
        const Tables& t = GetTables();
        return Deliver(HalfWidthLength(t, source, length), destination, destinationSize,
                       [&](char16_t* out) { MapHalfWidth(t, source, length, out); });
    }
    default:
        return 0;  // an unknown flag, or several at once
    }
}

}  // namespace platform
