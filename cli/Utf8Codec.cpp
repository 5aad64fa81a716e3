#include "cli/Utf8Codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace cli {
namespace {

// Runs of ASCII are common even in Japanese text (markup, code, numbers, line ends): they are
// copied sixteen at a time where SSE2 is there, eight otherwise. Each returns how many units
// of the run it copied.
std::size_t WidenAscii(const unsigned char* in, std::size_t available, char16_t* out) {
    std::size_t n = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    while (n + 16 <= available) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + n));
        if (_mm_movemask_epi8(bytes) != 0) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n + 8), _mm_unpackhi_epi8(bytes, zero));
        n += 16;
    }
#else
    while (n + 8 <= available) {
        std::uint64_t block;
        std::memcpy(&block, in + n, 8);
        if (block & 0x8080808080808080ULL) break;
        for (int k = 0; k < 8; ++k) out[n + k] = in[n + k];
        n += 8;
    }
#endif
    while (n < available && in[n] < 0x80) {
        out[n] = in[n];
        ++n;
    }
    return n;
}

std::size_t NarrowAscii(const char16_t* in, std::size_t available, char* out) {
    std::size_t n = 0;
#ifdef __SSE2__
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    while (n + 16 <= available) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + n));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + n + 8));
        const __m128i outside = _mm_and_si128(_mm_or_si128(low, high), nonAscii);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(outside, zero)) != 0xFFFF) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + n), _mm_packus_epi16(low, high));
        n += 16;
    }
#endif
    while (n < available && in[n] < 0x80) {
        out[n] = char(in[n]);
        ++n;
    }
    return n;
}

}  // namespace

std::size_t DecodeUtf8(std::string_view bytes, QString& text) {
    const auto* const data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    // Never more code units than bytes.
    text = QString(qsizetype(size), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    std::size_t i = 0;
    const auto fail = [&](std::size_t at) {
        text.truncate(out - begin);
        return at;
    };
    while (i < size) {
        const unsigned lead = data[i];
        if (lead < 0x80) {
            const std::size_t run = WidenAscii(data + i, size - i, out);
            out += run;
            i += run;
            continue;
        }
        if ((lead & 0xF0) == 0xE0) {  // kana and kanji: the common case in Japanese text
            if (i + 2 >= size || (data[i + 1] & 0xC0) != 0x80 || (data[i + 2] & 0xC0) != 0x80) return fail(i);
            const char32_t c = ((lead & 0x0F) << 12) | ((data[i + 1] & 0x3F) << 6) | (data[i + 2] & 0x3F);
            if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return fail(i);  // overlong, surrogate
            *out++ = char16_t(c);
            i += 3;
        } else if ((lead & 0xE0) == 0xC0) {
            if (lead < 0xC2 || i + 1 >= size || (data[i + 1] & 0xC0) != 0x80) return fail(i);  // C0, C1: overlong
            *out++ = char16_t(((lead & 0x1F) << 6) | (data[i + 1] & 0x3F));
            i += 2;
        } else if ((lead & 0xF8) == 0xF0) {
            if (i + 3 >= size || (data[i + 1] & 0xC0) != 0x80 || (data[i + 2] & 0xC0) != 0x80 ||
                (data[i + 3] & 0xC0) != 0x80)
                return fail(i);
            const char32_t c = ((lead & 0x07) << 18) | ((data[i + 1] & 0x3F) << 12) | ((data[i + 2] & 0x3F) << 6) |
                               (data[i + 3] & 0x3F);
            if (c < 0x10000 || c > 0x10FFFF) return fail(i);  // overlong, past the last code point
            *out++ = char16_t(0xD7C0 + (c >> 10));
            *out++ = char16_t(0xDC00 | (c & 0x3FF));
            i += 4;
        } else {
            return fail(i);
        }
    }
    text.truncate(out - begin);
    return std::string_view::npos;
}

bool EncodeUtf8(QStringView text, const std::function<bool(const char*, std::size_t)>& sink, std::size_t chunkSize) {
    std::vector<char> buffer(chunkSize + 4);
    std::size_t used = 0;
    const char16_t* in = text.utf16();
    const char16_t* const end = in + text.size();
    while (in < end) {
        if (used >= chunkSize) {
            if (!sink(buffer.data(), used)) return false;
            used = 0;
        }
        char* out = buffer.data() + used;
        // Fill up to the chunk size; each code unit writes at most four bytes.
        char* const limit = buffer.data() + chunkSize;
        while (in < end && out < limit) {
            const char32_t unit = *in;
            if (unit < 0x80) {
                const std::size_t run = NarrowAscii(in, std::min<std::size_t>(end - in, limit - out), out);
                in += run;
                out += run;
                continue;
            }
            ++in;
            char32_t c = unit;
            if (unit >= 0xD800 && unit <= 0xDBFF && in < end && *in >= 0xDC00 && *in <= 0xDFFF) {
                c = 0x10000 + ((unit - 0xD800) << 10) + (char32_t(*in++) - 0xDC00);
            } else if (unit >= 0xD800 && unit <= 0xDFFF) {
                c = 0xFFFD;
            }
            if (c < 0x800) {
                *out++ = char(0xC0 | (c >> 6));
            } else if (c < 0x10000) {
                *out++ = char(0xE0 | (c >> 12));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
            } else {
                *out++ = char(0xF0 | (c >> 18));
                *out++ = char(0x80 | ((c >> 12) & 0x3F));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
            }
            *out++ = char(0x80 | (c & 0x3F));
        }
        used = std::size_t(out - buffer.data());
    }
    return used == 0 || sink(buffer.data(), used);
}

}  // namespace cli
