#include "editor/WrapLayout.h"

#include "editor/CellWidth.h"

namespace editor {

int CellWidthAt(const QString& line, int index, int column, int tabWidth)
{
    if (line.at(index) == u'\t')
        return tabWidth - column % tabWidth;
    if (line.at(index).isLowSurrogate() && InsideSurrogatePair(line, index))
        return 0;
    return CellWidth(CodePointAt(line, index));
}

int CellsOf(const QString& line, int from, int to, int column, int tabWidth)
{
    int cells = column;
    for (int i = from; i < to; ++i)
        cells += CellWidthAt(line, i, cells, tabWidth);
    return cells - column;
}

int NextBoundary(const QString& line, int index)
{
    const int size = static_cast<int>(line.size());
    if (index >= size)
        return size;
    int units = 1;
    CodePointAt(line, index, &units);
    index += units;
    while (index < size && line.at(index) != u'\t') {
        const char32_t cp = CodePointAt(line, index, &units);
        if (CellWidth(cp) != 0 || cp < 0x20)
            break;
        index += units;
    }
    return index;
}

int PrevBoundary(const QString& line, int index)
{
    while (index > 0) {
        --index;
        if (InsideSurrogatePair(line, index))
            --index;
        if (index == 0 || line.at(index) == u'\t')
            return index;
        const char32_t cp = CodePointAt(line, index);
        if (CellWidth(cp) != 0 || cp < 0x20)
            return index;
    }
    return 0;
}

namespace {

bool IsWordUnit(QChar c)
{
    return c.unicode() < 0x80 && (c.isLetterOrNumber());
}

bool Contains(const QString& set, const QString& line, int index, int end)
{
    return !set.isEmpty() && set.contains(QStringView(line).mid(index, end - index));
}

}  // namespace

std::vector<WrapRow> WrapLine(const QString& line, const WrapSettings& settings, bool hasReturn)
{
    const int size = static_cast<int>(line.size());
    if (!settings.wordWrap)
        return {WrapRow{0, size, false}};

    const TEditorWrapOption& option = settings.option;
    const int width = option.WrapByte;
    std::vector<WrapRow> rows;
    int start = 0;
    while (true) {
        // As many whole characters as fit.
        int cells = 0;
        int end = start;
        while (end < size) {
            const int next = NextBoundary(line, end);
            const int w = CellsOf(line, end, next, cells, settings.tabWidth);
            if (cells + w > width && end > start)
                break;
            cells += w;
            end = next;
        }
        if (end >= size) {
            const bool full = cells >= width;
            rows.push_back(WrapRow{start, size, false});
            if (hasReturn && full && !option.FollowRetMark)
                rows.push_back(WrapRow{size, size, false});
            return rows;
        }

        const int nextEnd = NextBoundary(line, end);
        const int prevStart = PrevBoundary(line, end);
        WrapRow row{start, end, false};
        if (option.FollowPunctuation && Contains(option.PunctuationStr, line, end, nextEnd)) {
            row = WrapRow{start, nextEnd, true};
        } else if (Contains(option.FollowStr, line, end, nextEnd)) {
            if (!option.Leading)
                row = WrapRow{start, nextEnd, true};
            else if (prevStart > start)
                row.end = prevStart;
        } else if (Contains(option.LeadStr, line, prevStart, end)) {
            if (prevStart > start)
                row.end = prevStart;
        } else if (option.WordBreak && IsWordUnit(line.at(end)) && IsWordUnit(line.at(end - 1))) {
            int runStart = end;
            while (runStart > start && IsWordUnit(line.at(runStart - 1)))
                --runStart;
            int runEnd = end;
            while (runEnd < size && IsWordUnit(line.at(runEnd)))
                ++runEnd;
            if (runStart > start && runEnd - runStart <= width)
                row.end = runStart;
        }
        if (row.hangs && row.end >= size) {
            // The line ends with the hanging character: its return mark follows it.
            rows.push_back(row);
            if (hasReturn && !option.FollowRetMark)
                rows.push_back(WrapRow{size, size, false});
            return rows;
        }
        rows.push_back(row);
        start = row.end;
    }
}

}  // namespace editor
