#include "conversion/StringUtility.h"

#include "conversion/PercentCoding.h"
#include "conversion/TStringUtility.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace StringUtility {
namespace {

using TStringUtility::HankakuKanaPairs;
using TStringUtility::HtmlEscapeTable;

constexpr PercentCoding::EscapeTable HttpEscapes = PercentCoding::MakeEscapeTable(
    PercentCoding::MakeByteSet("-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz"), false);

const char16_t* Units(const QString& text) { return QStringView(text).utf16(); }
char16_t* Units(QString& text) { return reinterpret_cast<char16_t*>(text.data()); }

// The escape table row of each character below "?" (every special character is), or -1;
// the last entry stands for every character from "?" on. Clamping instead of testing keeps
// the scan free of branches that mixed ASCII and Japanese text would mispredict.
constexpr char16_t EscapeLimit = u'?';
constexpr std::array<signed char, EscapeLimit + 1> MakeEscapeRows() {
    std::array<signed char, EscapeLimit + 1> rows{};
    for (signed char& row : rows) row = -1;
    for (std::size_t row = 0; row < HtmlEscapeTable.size(); ++row) {
        const char16_t c = HtmlEscapeTable[row].plain[0].unicode();
        if (c >= EscapeLimit || rows[c] >= 0) throw "an escaped character must be below '?' and unique";
        rows[c] = static_cast<signed char>(row);
    }
    return rows;
}
constexpr std::array<signed char, EscapeLimit + 1> EscapeRows = MakeEscapeRows();

constexpr std::array<qsizetype, EscapeLimit + 1> MakeEscapeGrowth() {
    std::array<qsizetype, EscapeLimit + 1> growth{};
    for (std::size_t c = 0; c < growth.size(); ++c)
        if (EscapeRows[c] >= 0) growth[c] = HtmlEscapeTable[EscapeRows[c]].replacement.size() - 1;
    return growth;
}
constexpr std::array<qsizetype, EscapeLimit + 1> EscapeGrowth = MakeEscapeGrowth();

int EscapeRow(char16_t c) { return EscapeRows[std::min(c, EscapeLimit)]; }

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + 0x20 : c; }

// True when units, of which `available` are left, start with name, letters in any case.
// Only ASCII letters fold onto the ASCII letters of an entity name, so ASCII folding
// matches what a case-insensitive search finds.
bool StartsWithIgnoringCase(const char16_t* units, qsizetype available, QStringView name) {
    if (available < name.size()) return false;
    for (qsizetype i = 0; i < name.size(); ++i)
        if (AsciiLower(units[i]) != name[i].unicode()) return false;
    return true;
}

// The escape table row (2 to 4: quot, lt, gt) whose entity name, without its "&", starts
// the units, or -1.
int EntityAfterAmpersand(const char16_t* units, qsizetype available) {
    for (std::size_t row = 1; row < HtmlEscapeTable.size(); ++row)
        if (StartsWithIgnoringCase(units, available, HtmlEscapeTable[row].replacement.mid(1)))
            return static_cast<int>(row);
    return -1;
}

// Half-width kana U+FF61 to U+FF9F indexed from U+FF61: the full-width form of each
// character alone, and of each base followed by the voicing or semi-voicing mark.
constexpr char16_t FirstHankaku = 0xFF61;
constexpr std::size_t HankakuCount = 0xFF9F - 0xFF61 + 1;
constexpr char16_t VoicingMark = 0xFF9E;
constexpr char16_t SemiVoicingMark = 0xFF9F;

constexpr bool IsHankakuKana(char16_t c) { return static_cast<unsigned>(c - FirstHankaku) < HankakuCount; }

struct KanaIndex {
    std::array<char16_t, HankakuCount> single{};
    std::array<char16_t, HankakuCount> voiced{};
    std::array<char16_t, HankakuCount> semiVoiced{};
};

constexpr KanaIndex MakeKanaIndex() {
    KanaIndex index;
    for (std::size_t row = 0; row < HankakuKanaPairs.hankaku.size(); ++row) {
        const QStringView hankaku = HankakuKanaPairs.hankaku[row];
        const char16_t zenkaku = HankakuKanaPairs.zenkaku[row][0].unicode();
        const std::size_t base = hankaku[0].unicode() - FirstHankaku;
        char16_t& entry = hankaku.size() == 1                       ? index.single[base]
                          : hankaku[1].unicode() == VoicingMark ? index.voiced[base]
                                                                : index.semiVoiced[base];
        if (entry == 0) entry = zenkaku;  // a repeated row finds nothing left to replace

    }
    return index;
}

constexpr KanaIndex Kana = MakeKanaIndex();

// The single pass below is equal to running the rows one by one only because the table
// has this shape: every full-width side is one character outside the half-width block,
// every half-width character has a row of its own, and every pair is a base and a mark.
constexpr bool KanaTableFitsSinglePass() {
    for (std::size_t row = 0; row < HankakuKanaPairs.hankaku.size(); ++row) {
        const QStringView hankaku = HankakuKanaPairs.hankaku[row];
        const QStringView zenkaku = HankakuKanaPairs.zenkaku[row];
        if (hankaku.isEmpty() || hankaku.size() > 2) return false;
        if (zenkaku.size() != 1 || IsHankakuKana(zenkaku[0].unicode())) return false;
        for (qsizetype i = 0; i < hankaku.size(); ++i)
            if (!IsHankakuKana(hankaku[i].unicode())) return false;
        if (hankaku.size() == 2 && hankaku[1].unicode() != VoicingMark && hankaku[1].unicode() != SemiVoicingMark)
            return false;
        if (hankaku.size() == 2 && (hankaku[0].unicode() == VoicingMark || hankaku[0].unicode() == SemiVoicingMark))
            return false;
    }
    for (const char16_t zenkaku : Kana.single)
        if (zenkaku == 0) return false;
    return true;
}
static_assert(KanaTableFitsSinglePass());

}  // namespace

QString HtmlEscape(const QString& text) {
    const char16_t* in = Units(text);
    const qsizetype size = text.size();
    qsizetype growth = 0;
    for (qsizetype i = 0; i < size; ++i) growth += EscapeGrowth[std::min(in[i], EscapeLimit)];
    if (growth == 0) return text;

    QString escaped(size + growth, Qt::Uninitialized);
    char16_t* out = Units(escaped);
    qsizetype copied = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const int row = EscapeRow(in[i]);
        if (row < 0) continue;
        std::copy(in + copied, in + i, out);  // the run of plain characters before it
        out += i - copied;
        const QStringView entity = HtmlEscapeTable[row].replacement;
        out = std::copy(entity.utf16(), entity.utf16() + entity.size(), out);
        copied = i + 1;
    }
    std::copy(in + copied, in + size, out);
    return escaped;
}

QString HTMLUnescape(const QString& text) {
    const QStringView amp = HtmlEscapeTable[0].replacement;
    const char16_t* in = Units(text);
    const qsizetype size = text.size();
    const qsizetype first = text.indexOf(u'&');
    if (first < 0) return text;

    QString unescaped(size, Qt::Uninitialized);  // unescaping never grows
    char16_t* out = Units(unescaped);
    for (qsizetype i = 0; i < first; ++i) *out++ = in[i];
    qsizetype i = first;
    while (i < size) {
        if (in[i] != u'&') {
            *out++ = in[i++];
            continue;
        }
        // The "&" that an "&amp;" turns into is followed by what followed the "&amp;".
        const qsizetype nameStart = StartsWithIgnoringCase(in + i, size - i, amp) ? i + amp.size() : i + 1;
        const int row = EntityAfterAmpersand(in + nameStart, size - nameStart);
        if (row < 0) {
            *out++ = u'&';
            i = nameStart;
        } else {
            *out++ = HtmlEscapeTable[row].plain[0].unicode();
            i = nameStart + HtmlEscapeTable[row].replacement.size() - 1;
        }
    }
    unescaped.truncate(out - Units(unescaped));
    return unescaped;
}

QByteArray HTTPEncode(const QByteArray& bytes) {
    return PercentCoding::Encode(bytes, HttpEscapes);
}

QString UrlEncode(const QString& text, unsigned codePage) {
    if (text.isEmpty()) return text;
    // The escaped bytes are pure ASCII and stand for themselves whatever code page the text
    // was written in (read back in a UTF-16 code page they would turn into other characters).
    return QString::fromLatin1(HTTPEncode(platform::UTF16ToAnsi(text, codePage)));
}

QByteArray UrlDecode(const QString& text, unsigned codePage) {
    if (text.isEmpty()) return {};
    return PercentCoding::Decode(platform::UTF16ToAnsi(text, codePage), codePage);
}

QByteArray UrlDecode(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    return PercentCoding::Decode(bytes, platform::CodePageSystem);
}

QString ToZenkaku(const QString& text) {
    const char16_t* in = Units(text);
    const qsizetype size = text.size();
    qsizetype first = 0;
    while (first < size && !IsHankakuKana(in[first])) ++first;
    if (first == size) return text;

    QString zenkaku(size, Qt::Uninitialized);  // never grows: one or two units become one
    char16_t* out = Units(zenkaku);
    for (qsizetype i = 0; i < first; ++i) *out++ = in[i];
    for (qsizetype i = first; i < size; ++i) {
        const char16_t c = in[i];
        if (!IsHankakuKana(c)) {
            *out++ = c;
            continue;
        }
        const std::size_t base = c - FirstHankaku;
        const char16_t next = i + 1 < size ? in[i + 1] : 0;
        if (next == VoicingMark && Kana.voiced[base] != 0) {
            *out++ = Kana.voiced[base];
            ++i;
        } else if (next == SemiVoicingMark && Kana.semiVoiced[base] != 0) {
            *out++ = Kana.semiVoiced[base];
            ++i;
        } else {
            *out++ = Kana.single[base];
        }
    }
    zenkaku.truncate(out - Units(zenkaku));
    return zenkaku;
}

QString Capitalize(const QString& text) {
    const char16_t* in = Units(text);
    const qsizetype size = text.size();
    qsizetype first = 0;
    if (size == 0 || !(in[0] >= u'a' && in[0] <= u'z')) {
        while (first < size && !(in[first] >= u'A' && in[first] <= u'Z')) ++first;
        if (first == size) return text;
    }

    QString capitalized = text;
    char16_t* units = Units(capitalized);  // detaches from text
    for (qsizetype i = first; i < size; ++i)
        if (units[i] >= u'A' && units[i] <= u'Z') units[i] += 0x20;
    if (units[0] >= u'a' && units[0] <= u'z') units[0] -= 0x20;
    return capitalized;
}

}  // namespace StringUtility
