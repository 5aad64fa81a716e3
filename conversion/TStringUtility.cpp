#include "conversion/TStringUtility.h"

namespace TStringUtility {

QString ReplaceText(const QString& text, QStringView pattern, QStringView replacement, bool ignoreCase) {
    if (pattern.isEmpty()) return text;
    const QStringView source(text);
    const Qt::CaseSensitivity sensitivity = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    qsizetype match = source.indexOf(pattern, 0, sensitivity);
    if (match < 0) return text;  // shares the text, no copy

    // Each piece is appended once; growth is amortised, so the whole run stays linear.
    QString result;
    result.reserve(replacement.size() > pattern.size() ? text.size() + text.size() / 4 : text.size());
    qsizetype copied = 0;
    while (match >= 0) {
        result.append(source.mid(copied, match - copied));
        result.append(replacement);
        copied = match + pattern.size();
        match = source.indexOf(pattern, copied, sensitivity);
    }
    result.append(source.mid(copied));
    return result;
}

}  // namespace TStringUtility
