#include "conversion/TStringConvertFunction.h"

#include "conversion/PercentCoding.h"
#include "conversion/StringUtility.h"
#include "conversion/TStringUtility.h"
#include "platform/CodePage.h"
#include "platform/LocaleMapping.h"
#include "platform/SystemLocale.h"

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <vector>

namespace TStringConvertFunction {
namespace {

using TStringUtility::HtmlEscapeTable;
using TStringUtility::UrlFixups;

const char16_t* Units(const QString& text) { return QStringView(text).utf16(); }
char16_t* Units(QString& text) { return reinterpret_cast<char16_t*>(text.data()); }

constexpr PercentCoding::ByteSet FormKeptBytes =
    PercentCoding::MakeByteSet("!$'()*-.0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");

// Mirabek's escape writes the fix-up characters as escapes after the form encoding. Each
// fix-up is a kept byte replaced by exactly the escape the encoder writes for it, and no
// replacement holds a fix-up character, so leaving them out of the kept bytes does the
// same in one pass.
constexpr bool FixupsAreTheirOwnEscapes() {
    constexpr char16_t hexDigits[] = u"0123456789abcdef";
    for (const TStringUtility::TextPair& fixup : UrlFixups) {
        if (fixup.plain.size() != 1 || fixup.replacement.size() != 3) return false;
        const char16_t c = fixup.plain[0].unicode();
        if (c >= 0x80 || !FormKeptBytes[c]) return false;
        if (fixup.replacement[0] != u'%' || fixup.replacement[1] != hexDigits[c >> 4] ||
            fixup.replacement[2] != hexDigits[c & 0x0F])
            return false;
        for (qsizetype i = 0; i < fixup.replacement.size(); ++i)
            for (const TStringUtility::TextPair& other : UrlFixups)
                if (fixup.replacement[i] == other.plain[0]) return false;
    }
    return true;
}
static_assert(FixupsAreTheirOwnEscapes());

constexpr PercentCoding::ByteSet MakeMirabekKeptBytes() {
    PercentCoding::ByteSet kept = FormKeptBytes;
    for (const TStringUtility::TextPair& fixup : UrlFixups) kept[fixup.plain[0].unicode()] = false;
    return kept;
}
constexpr PercentCoding::EscapeTable FormEscapes = PercentCoding::MakeEscapeTable(FormKeptBytes, true);
constexpr PercentCoding::EscapeTable MirabekEscapes = PercentCoding::MakeEscapeTable(MakeMirabekKeptBytes(), true);

// A sequence of per-character replacement passes folded into one lookup: each code unit
// ends up where the passes, run one after another over the whole text, would take it.
class CharMapping {
public:
    struct Pass {
        QStringView from;
        QStringView to;
    };

    CharMapping(std::initializer_list<Pass> passes) {
        std::vector<char16_t> units;
        for (const Pass& pass : passes) {
            Q_ASSERT(pass.to.size() >= pass.from.size());
            for (qsizetype i = 0; i < Steps(pass); ++i) units.push_back(pass.from[i].unicode());
        }
        std::sort(units.begin(), units.end());
        units.erase(std::unique(units.begin(), units.end()), units.end());
        for (const char16_t unit : units) {
            char16_t value = unit;
            for (const Pass& pass : passes)
                for (qsizetype i = 0; i < Steps(pass); ++i)
                    if (value == pass.from[i].unicode()) value = pass.to[i].unicode();
            if (value != unit) changes_.push_back({unit, value});
        }
        if (changes_.empty()) return;
        // Alphabets close together, as all of ours are, get a direct table.
        first_ = changes_.front().unit;
        const std::size_t span = std::size_t(changes_.back().unit - first_) + 1;
        if (span > DenseLimit) return;
        table_.resize(span);
        for (std::size_t k = 0; k < span; ++k) table_[k] = char16_t(first_ + k);
        for (const Change& change : changes_) table_[change.unit - first_] = change.result;
    }

    QString Apply(const QString& text) const {
        if (changes_.empty()) return text;
        const char16_t* in = Units(text);
        const qsizetype size = text.size();
        qsizetype first = 0;
        while (first < size && Map(in[first]) == in[first]) ++first;
        if (first == size) return text;

        QString replaced = text;
        char16_t* units = Units(replaced);  // detaches from text
        for (qsizetype i = first; i < size; ++i) units[i] = Map(units[i]);
        return replaced;
    }

private:
    struct Change {
        char16_t unit;
        char16_t result;
    };
    static constexpr std::size_t DenseLimit = 4096;

    static qsizetype Steps(const Pass& pass) { return qMin(pass.from.size(), pass.to.size()); }

    char16_t Map(char16_t c) const {
        const std::size_t k = static_cast<char16_t>(c - first_);
        if (!table_.empty()) return k < table_.size() ? table_[k] : c;
        const auto found = std::lower_bound(changes_.begin(), changes_.end(), c,
                                            [](const Change& change, char16_t unit) { return change.unit < unit; });
        return found != changes_.end() && found->unit == c ? found->result : c;
    }

    std::vector<Change> changes_;  // sorted by unit
    char16_t first_ = 0;
    std::vector<char16_t> table_;  // the result for each unit from first_ on, when dense
};

}  // namespace

QString MapString(const QString& text, std::uint32_t flags) {
    // The service counts in int; a longer text would be cut, so it counts as refused.
    if (text.size() > std::numeric_limits<int>::max()) return text;
    const platform::LCID locale = platform::UserDefaultLCID();
    const auto* source = reinterpret_cast<const char16_t*>(text.utf16());
    const int length = static_cast<int>(text.size());
    const int needed = platform::LCMapString(locale, flags, source, length, nullptr, 0);
    if (needed <= 0) return text;

    QString mapped(needed, Qt::Uninitialized);
    const int written = platform::LCMapString(locale, flags, source, length, Units(mapped), needed);
    // The service wrote what it announced unless it broke its contract; never hand back a
    // half-written buffer.
    if (written != needed) return text;
    return mapped;
}

QString ConvHtmlUnescape(const QString& text) {
    const char16_t* in = Units(text);
    const qsizetype size = text.size();
    const qsizetype first = text.indexOf(u'&');
    if (first < 0) return text;

    // Entities never overlap and a replacement never forms a new one, and the "&" from
    // "&amp;" comes last, so one pass over the exact lower-case spellings suffices.
    QString unescaped(size, Qt::Uninitialized);  // unescaping never grows
    char16_t* out = Units(unescaped);
    for (qsizetype i = 0; i < first; ++i) *out++ = in[i];
    qsizetype i = first;
    while (i < size) {
        const TStringUtility::TextPair* match = nullptr;
        if (in[i] == u'&') {
            const QStringView rest(in + i, size - i);
            for (const TStringUtility::TextPair& row : HtmlEscapeTable)
                if (rest.startsWith(row.replacement)) match = &row;
        }
        if (match == nullptr) {
            *out++ = in[i++];
        } else {
            *out++ = match->plain[0].unicode();
            i += match->replacement.size();
        }
    }
    unescaped.truncate(out - Units(unescaped));
    return unescaped;
}

QString ConvUrlEscape(const QString& text) {
    const QByteArray bytes = platform::UTF16ToAnsi(text, platform::CodePageSystem);
    return QString::fromLatin1(PercentCoding::Encode(bytes, MirabekEscapes));
}

QString ConvUrlUnescape(const QString& text) {
    const QByteArray bytes = platform::UTF16ToAnsi(text, platform::CodePageSystem);
    return platform::AnsiToUTF16(PercentDecode(bytes, platform::CodePageSystem), platform::CodePageSystem);
}

QString UrlDecodeText(const QString& text, unsigned codePage) {
    return platform::AnsiToUTF16(StringUtility::UrlDecode(text, platform::CodePageUtf8), codePage);
}

QString AlphaToZenkaku(const QString& text) {
    static const CharMapping mapping{{TStringUtility::HankakuAlpha, TStringUtility::ZenkakuAlpha}};
    return mapping.Apply(text);
}

QString DigitToZenkaku(const QString& text) {
    static const CharMapping mapping{{TStringUtility::HankakuDigits, TStringUtility::ZenkakuDigits}};
    return mapping.Apply(text);
}

QString AlnumToZenkaku(const QString& text) {
    static const CharMapping mapping{{TStringUtility::HankakuDigits, TStringUtility::ZenkakuDigits},
                                     {TStringUtility::HankakuAlpha, TStringUtility::ZenkakuAlpha}};
    return mapping.Apply(text);
}

QString AlphaToHankaku(const QString& text) {
    static const CharMapping mapping{{TStringUtility::ZenkakuAlpha, TStringUtility::HankakuAlpha}};
    return mapping.Apply(text);
}

QString DigitToHankaku(const QString& text) {
    static const CharMapping mapping{{TStringUtility::ZenkakuDigits, TStringUtility::HankakuDigits}};
    return mapping.Apply(text);
}

QString AlnumToHankaku(const QString& text) {
    static const CharMapping mapping{{TStringUtility::ZenkakuAlpha, TStringUtility::HankakuAlpha},
                                     {TStringUtility::ZenkakuDigits, TStringUtility::HankakuDigits}};
    return mapping.Apply(text);
}

QByteArray FormUrlEncode(const QByteArray& bytes) {
    return PercentCoding::Encode(bytes, FormEscapes);
}

QByteArray PercentDecode(const QByteArray& bytes, unsigned codePage) {
    return PercentCoding::Decode(bytes, codePage);
}

QString ReplaceChars(const QString& text, QStringView from, QStringView to) {
    return CharMapping{{from, to}}.Apply(text);
}

}  // namespace TStringConvertFunction
