#include "editor/EditorCore.h"

#include "editor/CellWidth.h"

#include <algorithm>

namespace editor {
namespace {

constexpr int RowCacheLimit = 8192;
constexpr int UnwrappedVirtualLimit = 4096;

bool IsIndentUnit(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

// Classes of characters that make up a word for the caret's word moves and double clicks.
int CharClass(char32_t cp)
{
    if (cp == u' ' || cp == u'\t' || cp == 0x3000)
        return 0;
    if (cp >= 0x3041 && cp <= 0x309F)
        return 2;
    if ((cp >= 0x30A0 && cp <= 0x30FF) || (cp >= 0xFF66 && cp <= 0xFF9F))
        return 3;
    if ((cp >= 0x3400 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) || cp >= 0x20000 || cp == 0x3005)
        return 4;
    if (cp >= 0xFF10 && cp <= 0xFF5A)
        return 5;
    if (QChar::isLetterOrNumber(cp) || cp == u'_')
        return 1;
    return 6;
}

}  // namespace

EditorCore::EditorCore(QObject* parent) : QObject(parent)
{
    wrap_.tabWidth = caretOptions_.TabSpaceCount;
    connect(&document_, &EditorDocument::LinesChanged, this, &EditorCore::OnLinesChanged);
}

void EditorCore::SetCaretOptions(const TEditorCaret& options)
{
    caretOptions_ = options;
    caretOptions_.TabSpaceCount = BoundTabSpaceCount(options.TabSpaceCount);
    if (wrap_.tabWidth != caretOptions_.TabSpaceCount) {
        wrap_.tabWidth = caretOptions_.TabSpaceCount;
        InvalidateLayout();
    }
    if (!caretOptions_.FreeCaret && extra_ > 0)
        SetCaret(caret_, Selected());
}

void EditorCore::SetWordWrap(bool on)
{
    if (wrap_.wordWrap == on)
        return;
    wrap_.wordWrap = on;
    InvalidateLayout();
}

void EditorCore::SetWrapOption(const TEditorWrapOption& option)
{
    wrap_.option = option;
    wrap_.option.WrapByte = BoundWrapByte(option.WrapByte);
    InvalidateLayout();
}

void EditorCore::InvalidateLayout()
{
    rowCache_.clear();
    emit LayoutChanged();
}

void EditorCore::OnLinesChanged(int first, int removed, int added)
{
    if (removed == added) {
        for (int line = first; line < first + added; ++line)
            rowCache_.remove(line);
    } else {
        rowCache_.clear();
    }
    // Text replaced from outside (a load, SetText) may leave the caret past the end.
    const TextPos caret = document_.Clamp(caret_);
    if (caret != caret_)
        extra_ = 0;
    caret_ = caret;
    anchor_ = document_.Clamp(anchor_);
    emit LayoutChanged();
}

// ---- layout ----

const std::vector<WrapRow>& EditorCore::Rows(int line) const
{
    auto found = rowCache_.constFind(line);
    if (found != rowCache_.constEnd())
        return *found;
    if (rowCache_.size() >= RowCacheLimit)
        rowCache_.clear();
    return *rowCache_.insert(line, WrapLine(document_[line], wrap_, line < document_.Count() - 1));
}

int EditorCore::RowIndexOf(TextPos pos) const
{
    const auto& rows = Rows(pos.line);
    const auto after = std::upper_bound(rows.begin(), rows.end(), pos.col,
                                        [](int col, const WrapRow& row) { return col < row.start; });
    return std::max(0, static_cast<int>(after - rows.begin()) - 1);
}

int EditorCore::XOf(TextPos pos, int extra) const
{
    const WrapRow& row = Rows(pos.line)[static_cast<size_t>(RowIndexOf(pos))];
    return CellsOf(document_[pos.line], row.start, pos.col, 0, wrap_.tabWidth) + extra;
}

TextPos EditorCore::PosAtX(RowRef ref, int x, int* extra, bool allowVirtual) const
{
    const QString& text = document_[ref.line];
    const auto& rows = Rows(ref.line);
    ref.row = std::clamp(ref.row, 0, static_cast<int>(rows.size()) - 1);
    const WrapRow& row = rows[static_cast<size_t>(ref.row)];
    const bool lastRow = ref.row + 1 == static_cast<int>(rows.size());
    int col = row.start;
    int cells = 0;
    *extra = 0;
    while (col < row.end) {
        const int next = NextBoundary(text, col);
        const int width = CellsOf(text, col, next, cells, wrap_.tabWidth);
        if (cells + width > x) {
            if (text.at(col) == u'\t' && caretOptions_.InTab) {
                *extra = x - cells;
                return TextPos{ref.line, col};
            }
            break;
        }
        cells += width;
        col = next;
    }
    if (!lastRow && col >= row.end)
        col = PrevBoundary(text, row.end);
    if (lastRow && col == row.end && allowVirtual && x > cells)
        *extra = std::min(x, VirtualLimit()) - cells;
    if (*extra < 0)
        *extra = 0;
    return TextPos{ref.line, col};
}

TextPos EditorCore::PosNearX(RowRef ref, double x, int* extra, bool allowVirtual) const
{
    x = std::max(0.0, x);
    TextPos pos = PosAtX(ref, static_cast<int>(x), extra, allowVirtual);
    if (*extra > 0)  // past the line end or inside a tab: the nearest cell boundary
        return PosAtX(ref, static_cast<int>(x + 0.5), extra, allowVirtual);
    const QString& text = document_[pos.line];
    const auto& rows = Rows(pos.line);
    const int rowIndex = RowIndexOf(pos);
    const WrapRow& row = rows[static_cast<size_t>(rowIndex)];
    const int next = NextBoundary(text, pos.col);
    const bool lastRow = rowIndex + 1 == static_cast<int>(rows.size());
    if (pos.col >= row.end || (next >= row.end && !lastRow))
        return pos;  // the place after belongs to the next row
    const int start = CellsOf(text, row.start, pos.col, 0, wrap_.tabWidth);
    const int width = CellsOf(text, pos.col, next, start, wrap_.tabWidth);
    if (x - start > width / 2.0)
        pos.col = next;
    return pos;
}

bool EditorCore::NextRow(RowRef& row) const
{
    if (row.row + 1 < static_cast<int>(Rows(row.line).size())) {
        ++row.row;
        return true;
    }
    if (row.line + 1 < document_.Count()) {
        row = RowRef{row.line + 1, 0};
        return true;
    }
    return false;
}

bool EditorCore::PrevRow(RowRef& row) const
{
    if (row.row > 0) {
        --row.row;
        return true;
    }
    if (row.line > 0) {
        row = RowRef{row.line - 1, static_cast<int>(Rows(row.line - 1).size()) - 1};
        return true;
    }
    return false;
}

int EditorCore::VirtualLimit() const
{
    return wrap_.wordWrap ? wrap_.option.WrapByte : UnwrappedVirtualLimit;
}

// ---- caret and selection ----

qsizetype EditorCore::SelStart() const
{
    return document_.OffsetOf(SelectionStart());
}

qsizetype EditorCore::SelLength() const
{
    return document_.OffsetOf(SelectionEnd()) - document_.OffsetOf(SelectionStart());
}

void EditorCore::SetSelStart(qsizetype offset)
{
    SetCaret(document_.PosAt(offset));
}

void EditorCore::SetSelLength(qsizetype length)
{
    const qsizetype start = SelStart();
    Select(document_.PosAt(start), document_.PosAt(start + std::max<qsizetype>(0, length)));
}

QString EditorCore::SelText() const
{
    return document_.TextBetween(SelectionStart(), SelectionEnd());
}

void EditorCore::SetCaret(TextPos pos, bool select, int extra)
{
    caret_ = document_.Clamp(pos);
    extra_ = std::max(0, extra);
    if (!select)
        anchor_ = caret_;
    desiredX_ = CaretX();
    emit CaretChanged();
}

void EditorCore::Select(TextPos anchor, TextPos caret)
{
    anchor_ = document_.Clamp(anchor);
    caret_ = document_.Clamp(caret);
    extra_ = 0;
    desiredX_ = CaretX();
    emit CaretChanged();
}

void EditorCore::SelectAll()
{
    Select(TextPos{0, 0}, document_.End());
}

void EditorCore::SelectWordAt(TextPos pos)
{
    pos = document_.Clamp(pos);
    const QString& text = document_[pos.line];
    if (text.isEmpty()) {
        SetCaret(pos);
        return;
    }
    int at = pos.col < text.size() ? pos.col : PrevBoundary(text, pos.col);
    const int cls = CharClass(CodePointAt(text, at));
    int start = at;
    while (start > 0) {
        const int prev = PrevBoundary(text, start);
        if (CharClass(CodePointAt(text, prev)) != cls)
            break;
        start = prev;
    }
    int end = NextBoundary(text, at);
    while (end < text.size() && CharClass(CodePointAt(text, end)) == cls)
        end = NextBoundary(text, end);
    Select(TextPos{pos.line, start}, TextPos{pos.line, end});
}

void EditorCore::FinishMove(bool select, bool vertical)
{
    if (!select)
        anchor_ = caret_;
    if (!vertical)
        desiredX_ = CaretX();
    document_.BreakMerge();
    emit CaretChanged();
}

void EditorCore::MoveCaret(CaretMove move, bool select)
{
    const QString* text = &document_[caret_.line];
    const bool inTab = extra_ > 0 && caret_.col < text->size() && text->at(caret_.col) == u'\t';
    const bool vertical = move == CaretMove::Up || move == CaretMove::Down;
    // Only free caret keeps a place past the line end once the caret moves other than up and down.
    if (!vertical && !inTab && extra_ > 0 && !caretOptions_.FreeCaret) {
        extra_ = 0;
        desiredX_ = CaretX();
    }
    if (!select && Selected() && (move == CaretMove::Left || move == CaretMove::Right)) {
        caret_ = move == CaretMove::Left ? SelectionStart() : SelectionEnd();
        extra_ = 0;
        FinishMove(false, false);
        return;
    }

    switch (move) {
    case CaretMove::Left:
        if (extra_ > 0) {
            --extra_;
        } else if (caret_.col > 0) {
            caret_.col = PrevBoundary(*text, caret_.col);
            if (caretOptions_.InTab && text->at(caret_.col) == u'\t')
                extra_ = CellWidthAt(*text, caret_.col, XOf(caret_), wrap_.tabWidth) - 1;
        } else if (caretOptions_.NextLine && caret_.line > 0) {
            --caret_.line;
            caret_.col = static_cast<int>(document_[caret_.line].size());
        }
        break;
    case CaretMove::Right:
        if (caret_.col < text->size()) {
            if (caretOptions_.InTab && text->at(caret_.col) == u'\t' &&
                extra_ + 1 < CellWidthAt(*text, caret_.col, XOf(caret_), wrap_.tabWidth)) {
                ++extra_;
            } else {
                caret_.col = NextBoundary(*text, caret_.col);
                extra_ = 0;
            }
        } else if (caretOptions_.FreeCaret) {
            if (CaretX() < VirtualLimit())
                ++extra_;
        } else if (caretOptions_.NextLine && caret_.line + 1 < document_.Count()) {
            caret_ = TextPos{caret_.line + 1, 0};
        }
        break;
    case CaretMove::Up:
    case CaretMove::Down: {
        RowRef row = CaretRow();
        const bool moved = move == CaretMove::Up ? PrevRow(row) : NextRow(row);
        if (moved) {
            const bool keep = caretOptions_.FreeCaret || caretOptions_.FreeRow || caretOptions_.KeepCaret;
            const int x = keep ? desiredX_ : CaretX();
            caret_ = PosAtX(row, x, &extra_, caretOptions_.FreeCaret || caretOptions_.FreeRow);
            if (!caretOptions_.KeepCaret && !caretOptions_.FreeCaret && !caretOptions_.FreeRow)
                desiredX_ = CaretX();
        }
        break;
    }
    case CaretMove::Home:
        caret_.col = Rows(caret_.line)[static_cast<size_t>(RowIndexOf(caret_))].start;
        extra_ = 0;
        break;
    case CaretMove::End:
        caret_.col = static_cast<int>(text->size());
        extra_ = 0;
        break;
    case CaretMove::WordLeft:
        extra_ = 0;
        if (caret_.col == 0) {
            if (caret_.line > 0) {
                --caret_.line;
                caret_.col = static_cast<int>(document_[caret_.line].size());
            }
            break;
        }
        while (caret_.col > 0 && CharClass(CodePointAt(*text, PrevBoundary(*text, caret_.col))) == 0)
            caret_.col = PrevBoundary(*text, caret_.col);
        if (caret_.col > 0) {
            const int cls = CharClass(CodePointAt(*text, PrevBoundary(*text, caret_.col)));
            while (caret_.col > 0 && CharClass(CodePointAt(*text, PrevBoundary(*text, caret_.col))) == cls)
                caret_.col = PrevBoundary(*text, caret_.col);
        }
        break;
    case CaretMove::WordRight:
        extra_ = 0;
        if (caret_.col >= text->size()) {
            if (caret_.line + 1 < document_.Count())
                caret_ = TextPos{caret_.line + 1, 0};
            break;
        }
        {
            const int cls = CharClass(CodePointAt(*text, caret_.col));
            while (caret_.col < text->size() && CharClass(CodePointAt(*text, caret_.col)) == cls)
                caret_.col = NextBoundary(*text, caret_.col);
            while (caret_.col < text->size() && CharClass(CodePointAt(*text, caret_.col)) == 0)
                caret_.col = NextBoundary(*text, caret_.col);
        }
        break;
    case CaretMove::DocStart:
        caret_ = TextPos{0, 0};
        extra_ = 0;
        break;
    case CaretMove::DocEnd:
        caret_ = document_.End();
        extra_ = 0;
        break;
    }
    FinishMove(select, vertical);
}

void EditorCore::MoveRows(int rows, bool select)
{
    const CaretMove move = rows < 0 ? CaretMove::Up : CaretMove::Down;
    const TextPos anchor = Selected() || select ? anchor_ : caret_;
    for (int i = 0; i < std::abs(rows); ++i)
        MoveCaret(move, true);
    if (select)
        anchor_ = anchor;
    else
        anchor_ = caret_;
    emit CaretChanged();
}

// ---- edits ----

void EditorCore::DeleteSelectionInStep()
{
    if (!Selected())
        return;
    const TextPos start = SelectionStart();
    document_.Replace(start, SelectionEnd(), QString());
    caret_ = anchor_ = start;
    extra_ = 0;
}

void EditorCore::ResolveExtra()
{
    if (extra_ == 0)
        return;
    const QString& text = document_[caret_.line];
    if (caret_.col < text.size() && text.at(caret_.col) == u'\t') {
        const int width = CellWidthAt(text, caret_.col, XOf(caret_), wrap_.tabWidth);
        document_.Replace(caret_, TextPos{caret_.line, caret_.col + 1}, QString(width, u' '));
        caret_.col += extra_;
    } else if (caretOptions_.FreeCaret) {
        document_.Replace(caret_, caret_, QString(extra_, u' '));
        caret_.col += extra_;
    }
    extra_ = 0;
    anchor_ = caret_;
}

qsizetype EditorCore::ReplaceSel(const QString& text)
{
    if (readOnly_)
        return 0;
    document_.BeginStep();
    const TextPos end = document_.Replace(SelectionStart(), SelectionEnd(), text);
    document_.EndStep();
    SetCaret(end);
    return EditorDocument::InsertedLength(text);
}

void EditorCore::TypeText(const QString& text)
{
    if (readOnly_ || text.isEmpty())
        return;
    document_.BeginStep(MergeTyping);
    if (Selected()) {
        DeleteSelectionInStep();
    } else {
        ResolveExtra();
    }
    TextPos to = caret_;
    if (overwrite_) {
        const QString& line = document_[caret_.line];
        for (qsizetype i = 0; i < text.size() && to.col < line.size(); ++i) {
            if (text.at(i).isLowSurrogate())
                continue;
            to.col = NextBoundary(line, to.col);
        }
    }
    const TextPos end = document_.Replace(caret_, to, text);
    document_.EndStep();
    SetCaret(end);
}

int EditorCore::LeadingCells(const QString& line, int* units) const
{
    int i = 0;
    while (i < line.size() && IsIndentUnit(line.at(i)))
        ++i;
    if (units)
        *units = i;
    return CellsOf(line, 0, i, 0, wrap_.tabWidth);
}

QString EditorCore::IndentFor(int line, int col) const
{
    if (!caretOptions_.AutoIndent)
        return QString();
    const QString& text = document_[line];
    if (caretOptions_.PrevSpaceIndent && text.isEmpty() && line > 0)
        return QString(LeadingCells(document_[line - 1]), u' ');
    int units = 0;
    LeadingCells(text, &units);
    const QString indent = text.left(std::min(units, col));
    if (!caretOptions_.TabIndent)
        return indent;
    QString result;
    int spaces = 0;
    const auto flushSpaces = [&] {
        result += QString(spaces / wrap_.tabWidth, u'\t');
        result += QString(spaces % wrap_.tabWidth, u' ');
        spaces = 0;
    };
    for (const QChar c : indent) {
        if (c == u' ') {
            ++spaces;
            continue;
        }
        flushSpaces();
        result += c;
    }
    flushSpaces();
    return result;
}

void EditorCore::KeyEnter()
{
    if (readOnly_)
        return;
    document_.BeginStep(MergeTyping);
    DeleteSelectionInStep();
    extra_ = 0;
    const QString indent = IndentFor(caret_.line, caret_.col);
    const TextPos end = document_.Replace(caret_, caret_, QStringLiteral("\n") + indent);
    document_.EndStep();
    SetCaret(end);
}

void EditorCore::KeyBackspace()
{
    if (readOnly_)
        return;
    if (Selected()) {
        ClearSelection();
        return;
    }
    const QString& text = document_[caret_.line];
    const bool inTab = extra_ > 0 && caret_.col < text.size() && text.at(caret_.col) == u'\t';
    if (extra_ > 0 && !inTab) {
        --extra_;
        FinishMove(false, false);
        return;
    }
    document_.BeginStep(MergeDeleting);
    ResolveExtra();
    const QString& line = document_[caret_.line];
    int units = 0;
    LeadingCells(line, &units);
    if (caret_.col == 0) {
        if (caret_.line > 0) {
            const TextPos prevEnd{caret_.line - 1, static_cast<int>(document_[caret_.line - 1].size())};
            document_.Replace(prevEnd, caret_, QString());
            caret_ = prevEnd;
        }
    } else if (caretOptions_.BackSpaceUnIndent && units >= caret_.col) {
        const int x = CellsOf(line, 0, caret_.col, 0, wrap_.tabWidth);
        int target = 0;
        for (int above = caret_.line - 1; above >= 0; --above) {
            const QString& prev = document_[above];
            int prevUnits = 0;
            const int cells = LeadingCells(prev, &prevUnits);
            if (prevUnits == prev.size())
                continue;  // blank lines carry no indent
            if (cells < x) {
                target = cells;
                break;
            }
        }
        int keep = 0;
        while (keep < caret_.col && CellsOf(line, 0, keep + 1, 0, wrap_.tabWidth) <= target)
            ++keep;
        const int pad = target - CellsOf(line, 0, keep, 0, wrap_.tabWidth);
        const TextPos end = document_.Replace(TextPos{caret_.line, keep}, caret_, QString(pad, u' '));
        caret_ = end;
    } else {
        int from = caret_.col - 1;
        if (InsideSurrogatePair(line, from))
            --from;
        document_.Replace(TextPos{caret_.line, from}, caret_, QString());
        caret_.col = from;
    }
    document_.EndStep();
    SetCaret(caret_);
}

void EditorCore::KeyDelete()
{
    if (readOnly_)
        return;
    if (Selected()) {
        ClearSelection();
        return;
    }
    document_.BeginStep(MergeDeleting);
    const QString& text = document_[caret_.line];
    if (extra_ > 0 && caret_.col < text.size() && text.at(caret_.col) == u'\t')
        ResolveExtra();
    extra_ = 0;
    const QString& line = document_[caret_.line];
    if (caret_.col < line.size())
        document_.Replace(caret_, TextPos{caret_.line, NextBoundary(line, caret_.col)}, QString());
    else if (caret_.line + 1 < document_.Count())
        document_.Replace(caret_, TextPos{caret_.line + 1, 0}, QString());
    document_.EndStep();
    SetCaret(caret_);
}

void EditorCore::KeyTab()
{
    if (readOnly_)
        return;
    if (!caretOptions_.SoftTab) {
        TypeText(QStringLiteral("\t"));
        return;
    }
    const int x = Selected() ? XOf(SelectionStart()) : CaretX();
    TypeText(QString(wrap_.tabWidth - x % wrap_.tabWidth, u' '));
}

void EditorCore::ClearSelection()
{
    if (readOnly_ || !Selected())
        return;
    document_.BeginStep();
    DeleteSelectionInStep();
    document_.EndStep();
    SetCaret(caret_);
}

void EditorCore::DeleteRow(int row)
{
    if (readOnly_ || row < 0 || row >= document_.Count())
        return;
    document_.BeginStep();
    if (row + 1 < document_.Count())
        document_.Replace(TextPos{row, 0}, TextPos{row + 1, 0}, QString());
    else if (row > 0)
        document_.Replace(TextPos{row - 1, static_cast<int>(document_[row - 1].size())}, document_.End(), QString());
    else
        document_.Replace(TextPos{0, 0}, document_.End(), QString());
    document_.EndStep();
    SetCaret(TextPos{std::min(row, document_.Count() - 1), 0});
}

void EditorCore::IndentLines(QChar unit, bool add)
{
    if (readOnly_)
        return;
    TextPos start = SelectionStart();
    TextPos end = SelectionEnd();
    const int last = (end.line > start.line && end.col == 0) ? end.line - 1 : end.line;
    const bool caretFirst = caret_ < anchor_;
    document_.BeginStep();
    for (int line = start.line; line <= last; ++line) {
        if (add) {
            document_.Replace(TextPos{line, 0}, TextPos{line, 0}, QString(unit));
        } else if (!document_[line].isEmpty() && document_[line].at(0) == unit) {
            document_.Replace(TextPos{line, 0}, TextPos{line, 1}, QString());
        } else {
            continue;
        }
        const int delta = add ? 1 : -1;
        if (line == start.line && (start.col > 0 || !Selected()))
            start.col = std::max(0, start.col + delta);
        if (line == end.line && (end.col > 0 || !Selected()))
            end.col = std::max(0, end.col + delta);
    }
    document_.EndStep();
    if (caretFirst)
        Select(end, start);
    else
        Select(start, end);
}

void EditorCore::Undo()
{
    if (readOnly_ || !document_.CanUndo())
        return;
    SetCaret(document_.Undo());
}

void EditorCore::Redo()
{
    if (readOnly_ || !document_.CanRedo())
        return;
    SetCaret(document_.Redo());
}

void EditorCore::Clear()
{
    document_.Clear();
    SetCaret(TextPos{});
}

void EditorCore::MoveSelectionTo(TextPos target)
{
    if (readOnly_ || !Selected())
        return;
    const TextPos start = SelectionStart();
    const TextPos end = SelectionEnd();
    target = document_.Clamp(target);
    if (target >= start && target <= end)
        return;
    const QString text = SelText();
    const qsizetype length = EditorDocument::InsertedLength(text);
    qsizetype at = document_.OffsetOf(target);
    if (target > end)
        at -= document_.OffsetOf(end) - document_.OffsetOf(start);
    document_.BeginStep();
    document_.Replace(start, end, QString());
    const TextPos insertAt = document_.PosAt(at);
    document_.Replace(insertAt, insertAt, text);
    document_.EndStep();
    Select(insertAt, document_.PosAt(at + length));
}

}  // namespace editor
