#include "editor/TEditor.h"

#include "editor/CellWidth.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextCharFormat>

namespace editor {
namespace {

constexpr int HideMarkCodePoints = 1000;

QColor ToColor(Rgb rgb)
{
    return QColor::fromRgb(rgb & 0xFFFFFF);
}

// Index just past the n-th code point of text, or -1 when the text is shorter.
int IndexAfterCodePoints(const QString& text, int n)
{
    int index = 0;
    for (int i = 0; i < n; ++i) {
        if (index >= text.size())
            return -1;
        int units = 1;
        CodePointAt(text, index, &units);
        index += units;
    }
    return index < text.size() ? index : -1;
}

}  // namespace

TEditor::TEditor(QWidget* parent) : QAbstractScrollArea(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(&core_, &EditorCore::CaretChanged, this, [this] {
        RestartBlink();
        EnsureCaretVisible();
        viewport()->update();
        if (QGuiApplication::inputMethod())
            QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImSurroundingText | Qt::ImCursorPosition);
        emit CaretMoved();
    });
    connect(&core_, &EditorCore::LayoutChanged, this, [this] {
        UpdateScrollBars();
        viewport()->update();
    });
    connect(&core_.Document(), &EditorDocument::ModifiedChanged, this, &TEditor::ModifiedChanged);
    connect(&core_.Document(), &EditorDocument::LinesChanged, this, [this](int first, int, int added) {
        if (first == 0 && added == Lines().Count())
            widestCells_ = 0;  // a new text: the scroll range starts over
    });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { scrollingFromBar_ = true; });
    ApplyProp();
}

// ---- properties ----

void TEditor::Assign(const TEditorProp& prop)
{
    prop_ = prop;
    prop_.Bound();
    ApplyProp();
}

void TEditor::ApplyProp()
{
    core_.SetCaretOptions(prop_.Caret);
    core_.SetWrapOption(prop_.WrapOption);
    core_.SetWordWrap(prop_.WordWrap);
    prop_.Caret = core_.CaretOptions();
    prop_.WrapOption = core_.WrapOption();
    const bool horizontal = prop_.ScrollBars == TScrollBars::Horizontal || prop_.ScrollBars == TScrollBars::Both;
    const bool vertical = prop_.ScrollBars == TScrollBars::Vertical || prop_.ScrollBars == TScrollBars::Both;
    setHorizontalScrollBarPolicy(horizontal && !prop_.WordWrap ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, ToColor(prop_.Color.Background));
    viewport()->setPalette(pal);
    UpdateMetrics();
}

QFont TEditor::Font() const
{
    QFont font(prop_.Font.Name, prop_.Font.Size);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

void TEditor::SetFont(const QFont& font)
{
    prop_.Font.Name = font.family();
    prop_.Font.Size = font.pointSize() > 0 ? font.pointSize() : prop_.Font.Size;
    UpdateMetrics();
}

void TEditor::SetCaret(const TEditorCaret& caret)
{
    prop_.Caret = caret;
    ApplyProp();
}

void TEditor::SetMarks(const TEditorMarks& marks)
{
    prop_.Marks = marks;
    viewport()->update();
}

void TEditor::SetWordWrap(bool on)
{
    prop_.WordWrap = on;
    ApplyProp();
}

void TEditor::SetWrapOption(const TEditorWrapOption& option)
{
    prop_.WrapOption = option;
    ApplyProp();
}

void TEditor::SetLeftbar(const TEditorLeftbar& leftbar)
{
    prop_.Leftbar = leftbar;
    viewport()->update();
}

void TEditor::SetRuler(const TEditorRuler& ruler)
{
    prop_.Ruler = ruler;
    viewport()->update();
}

// ---- metrics and scrolling ----

void TEditor::UpdateMetrics()
{
    const QFontMetrics metrics(Font());
    const int half = std::max(metrics.horizontalAdvance(QLatin1Char('M')), (metrics.horizontalAdvance(QChar(0x3042)) + 1) / 2);
    cellWidth_ = std::max(1, half + prop_.Margin.Character);
    rowHeight_ = metrics.height() + prop_.Margin.Line;
    ascent_ = metrics.ascent();
    UpdateScrollBars();
    EnsureCaretVisible();
    viewport()->update();
}

int TEditor::LeftbarWidth() const
{
    if (!prop_.Leftbar.Visible)
        return 0;
    const int digits = std::max(prop_.Leftbar.Column, static_cast<int>(QString::number(Lines().Count()).size()));
    return (digits + 1) * cellWidth_;
}

int TEditor::RulerHeight() const
{
    return prop_.Ruler.Visible ? QFontMetrics(Font()).height() + 4 : 0;
}

int TEditor::TextLeft() const
{
    return LeftbarWidth() + prop_.Margin.Left - horizontalScrollBar()->value() * cellWidth_;
}

int TEditor::TextTop() const
{
    return RulerHeight() + prop_.Margin.Top;
}

int TEditor::VisibleRows() const
{
    return std::max(1, (viewport()->height() - TextTop()) / rowHeight_);
}

void TEditor::UpdateScrollBars()
{
    top_.line = std::clamp(top_.line, 0, Lines().Count() - 1);
    top_.row = std::clamp(top_.row, 0, static_cast<int>(core_.Rows(top_.line).size()) - 1);
    QScrollBar* vertical = verticalScrollBar();
    const QSignalBlocker blocker(vertical);
    vertical->setRange(0, std::max(0, Lines().Count() - 1));
    vertical->setPageStep(VisibleRows());
    vertical->setValue(top_.line);
    QScrollBar* horizontal = horizontalScrollBar();
    const int columns = std::max(1, (viewport()->width() - LeftbarWidth() - prop_.Margin.Left) / cellWidth_);
    horizontal->setRange(0, core_.WordWrap() ? 0 : std::max(0, widestCells_ + 1 - columns));
    horizontal->setPageStep(columns);
}

void TEditor::scrollContentsBy(int, int)
{
    if (verticalScrollBar()->value() != top_.line) {
        top_ = RowRef{verticalScrollBar()->value(), 0};
        if (scrollingFromBar_)
            KeepCaretOnScreen();
    }
    scrollingFromBar_ = false;
    viewport()->update();
}

void TEditor::ScrollLines(int rows)
{
    for (int i = 0; i < std::abs(rows); ++i) {
        RowRef next = top_;
        if (!(rows < 0 ? core_.PrevRow(next) : core_.NextRow(next)))
            break;
        top_ = next;
    }
    const QSignalBlocker blocker(verticalScrollBar());
    verticalScrollBar()->setValue(top_.line);
    KeepCaretOnScreen();
    viewport()->update();
}

// With LockScroll the caret follows the scrolled text onto the screen.
void TEditor::KeepCaretOnScreen()
{
    if (!core_.CaretOptions().LockScroll)
        return;
    const RowRef caret = core_.CaretRow();
    RowRef bottom = top_;
    for (int i = 1; i < VisibleRows(); ++i)
        if (!core_.NextRow(bottom))
            break;
    if (caret >= top_ && caret <= bottom)
        return;
    const RowRef target = caret < top_ ? top_ : bottom;
    int extra = 0;
    const TextPos pos = core_.PosAtX(target, core_.CaretX(), &extra, core_.CaretOptions().FreeCaret);
    core_.SetCaret(pos, false, extra);
}

void TEditor::EnsureCaretVisible()
{
    const RowRef caret = core_.CaretRow();
    if (caret < top_) {
        top_ = caret;
    } else {
        RowRef bottom = top_;
        int rows = 1;
        while (rows < VisibleRows() && bottom < caret && core_.NextRow(bottom))
            ++rows;
        if (caret > bottom) {
            top_ = caret;
            for (int i = 1; i < VisibleRows(); ++i)
                if (!core_.PrevRow(top_))
                    break;
        }
    }
    if (!core_.WordWrap()) {
        const int x = core_.CaretX();
        widestCells_ = std::max(widestCells_, x);
        UpdateScrollBars();
        QScrollBar* horizontal = horizontalScrollBar();
        const int columns = horizontal->pageStep();
        if (x < horizontal->value())
            horizontal->setValue(x);
        else if (x >= horizontal->value() + columns)
            horizontal->setValue(x - columns + 1);
    } else {
        UpdateScrollBars();
    }
}

void TEditor::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// ---- drawing ----

QRect TEditor::CaretRect() const
{
    RowRef row = top_;
    const RowRef caret = core_.CaretRow();
    int y = TextTop();
    while (row < caret && y < viewport()->height() + rowHeight_) {
        if (!core_.NextRow(row))
            break;
        y += rowHeight_;
    }
    if (row != caret)
        return QRect();
    const int x = TextLeft() + core_.CaretX() * cellWidth_;
    if (!preedit_.isEmpty())
        return QRect(x + PreeditCells(preeditCursor_) * cellWidth_, y, 2, rowHeight_);
    return QRect(x, y, core_.Overwrite() ? cellWidth_ : 2, rowHeight_);
}

// Cells of the preedit text up to unit `to`, laid out from the caret's column.
int TEditor::PreeditCells(int to) const
{
    return CellsOf(preedit_, 0, to, core_.CaretX(), core_.TabWidth());
}

void TEditor::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(Font());
    painter.fillRect(viewport()->rect(), ToColor(prop_.Color.Background));
    const int widestBefore = widestCells_;
    RowRef row = top_;
    int y = TextTop();
    while (y < viewport()->height()) {
        PaintRow(painter, row, y);
        y += rowHeight_;
        if (!core_.NextRow(row))
            break;
    }
    const bool composing = !preedit_.isEmpty();
    if (caretShown_ && (hasFocus() || composing) && !(composing && preeditCursorHidden_)) {
        const QRect caret = CaretRect();
        if (!caret.isNull())
            painter.fillRect(caret, core_.Overwrite() && !composing ? QColor(0, 0, 0, 90) : ToColor(prop_.Color.Text));
    }
    if (prop_.Leftbar.Visible)
        painter.fillRect(QRect(0, y, LeftbarWidth(), viewport()->height() - y), ToColor(prop_.Leftbar.BkColor));
    PaintRuler(painter);
    if (widestCells_ > widestBefore && !core_.WordWrap())
        QMetaObject::invokeMethod(this, &TEditor::UpdateScrollBars, Qt::QueuedConnection);
}

void TEditor::PaintRow(QPainter& painter, RowRef ref, int y)
{
    const QString& text = Lines()[ref.line];
    const auto& rows = core_.Rows(ref.line);
    const WrapRow& row = rows[static_cast<size_t>(ref.row)];
    const bool lastRow = ref.row + 1 == static_cast<int>(rows.size());
    const bool lastLine = ref.line + 1 == Lines().Count();
    const int left = TextLeft();
    const TextPos selStart = core_.SelectionStart();
    const TextPos selEnd = core_.SelectionEnd();
    const int baseline = y + prop_.Margin.Line / 2 + ascent_;
    const int hideAt = prop_.Marks.HideMark.Visible ? IndexAfterCodePoints(text, HideMarkCodePoints) : -1;

    if (prop_.Marks.Underline.Visible && core_.CaretRow() == ref) {
        painter.setPen(ToColor(prop_.Marks.Underline.Color));
        painter.drawLine(LeftbarWidth(), y + rowHeight_ - 1, viewport()->width(), y + rowHeight_ - 1);
    }

    int cells = 0;
    // The preedit text stands at the caret as if inserted there: what follows moves right.
    bool preeditPending = !preedit_.isEmpty() && core_.CaretRow() == ref;
    int preeditShift = 0;
    const auto paintPreedit = [&] {
        const int column = cells + core_.CaretExtra();
        preeditShift = column - cells + PaintPreedit(painter, column, y, baseline);
        cells += preeditShift;
        preeditPending = false;
    };

    bool clipped = false;
    for (int i = row.start; i < row.end;) {
        if (preeditPending && i >= core_.Caret().col)
            paintPreedit();
        if (left + cells * cellWidth_ > viewport()->width()) {
            // Past the right edge: the rest only counts toward the scroll range (at least a cell a unit).
            cells += row.end - i;
            clipped = true;
            break;
        }
        const int next = NextBoundary(text, i);
        const int width = CellsOf(text, i, next, cells, core_.TabWidth());
        const QRect cell(left + cells * cellWidth_, y, width * cellWidth_, rowHeight_);
        const bool selected = TextPos{ref.line, i} >= selStart && TextPos{ref.line, i} < selEnd;
        if (selected)
            painter.fillRect(cell, ToColor(prop_.Color.SelectBackground));
        if (text.at(i) != u'\t' && cell.right() >= 0 && cell.left() < viewport()->width()) {
            painter.setPen(ToColor(selected ? prop_.Color.SelectText : prop_.Color.Text));
            if (text.at(i).unicode() < 0x20)
                painter.drawText(QPointF(cell.left(), baseline), QStringLiteral("^") + QChar(text.at(i).unicode() + 0x40));
            else
                painter.drawText(QPointF(cell.left(), baseline), text.mid(i, next - i));
        }
        if (i + (next - i) == hideAt) {
            painter.fillRect(QRect(cell.right() + 1, y, 2, rowHeight_), ToColor(prop_.Marks.HideMark.Color));
        }
        cells += width;
        i = next;
    }
    if (preeditPending && !clipped)
        paintPreedit();
    widestCells_ = std::max(widestCells_, cells - preeditShift);
    if (TextPos{ref.line, row.end} >= selStart && TextPos{ref.line, row.end} < selEnd && lastRow)
        painter.fillRect(QRect(left + cells * cellWidth_, y, cellWidth_, rowHeight_), ToColor(prop_.Color.SelectBackground));

    const QPointF markAt(left + cells * cellWidth_, baseline);
    if (clipped) {
        // The row's end and its marks lie past the right edge.
    } else if (!lastRow && prop_.Marks.WrapMark.Visible) {
        painter.setPen(ToColor(prop_.Marks.WrapMark.Color));
        painter.drawText(markAt, QStringLiteral("<"));
    }
    if (!clipped && lastRow && !lastLine && prop_.Marks.RetMark.Visible) {
        painter.setPen(ToColor(prop_.Marks.RetMark.Color));
        painter.drawText(markAt, QStringLiteral(u"↓"));
    }
    if (!clipped && lastRow && lastLine && prop_.Marks.EofMark.Visible) {
        painter.setPen(ToColor(prop_.Marks.EofMark.Color));
        painter.drawText(markAt, QStringLiteral("[EOF]"));
    }

    if (prop_.Leftbar.Visible) {
        const QRect bar(0, y, LeftbarWidth(), rowHeight_);
        painter.fillRect(bar, ToColor(prop_.Leftbar.BkColor));
        if (ref.row == 0) {
            painter.setPen(ToColor(prop_.Leftbar.Color));
            const int number = ref.line + (prop_.Leftbar.ZeroBase ? 0 : 1);
            painter.drawText(bar.adjusted(0, 0, -cellWidth_ / 2, 0), Qt::AlignRight | Qt::AlignVCenter, QString::number(number));
        }
    }
}

int TEditor::PaintPreedit(QPainter& painter, int column, int y, int baseline)
{
    const int left = TextLeft() + column * cellWidth_;
    int cells = 0;
    for (int i = 0; i < preedit_.size();) {
        const int next = NextBoundary(preedit_, i);
        const int width = CellsOf(preedit_, i, next, column + cells, core_.TabWidth());
        const QRect cell(left + cells * cellWidth_, y, width * cellWidth_, rowHeight_);
        // The input method marks the clause it is converting with its own colours.
        QTextCharFormat format;
        for (const QInputMethodEvent::Attribute& attribute : preeditFormats_)
            if (i >= attribute.start && i < attribute.start + attribute.length)
                format = attribute.value.value<QTextFormat>().toCharFormat();
        const bool ownBackground = format.background().style() != Qt::NoBrush;
        painter.fillRect(cell, ownBackground ? format.background() : QBrush(ToColor(prop_.Color.Background)));
        painter.setPen(format.foreground().style() != Qt::NoBrush ? format.foreground().color() : ToColor(prop_.Color.Text));
        if (preedit_.at(i) != u'\t')
            painter.drawText(QPointF(cell.left(), baseline), preedit_.mid(i, next - i));
        cells += width;
        i = next;
    }
    painter.setPen(ToColor(prop_.Color.Text));
    painter.drawLine(left, y + rowHeight_ - 2, left + cells * cellWidth_ - 1, y + rowHeight_ - 2);
    return cells;
}

void TEditor::PaintRuler(QPainter& painter)
{
    if (!prop_.Ruler.Visible)
        return;
    const int height = RulerHeight();
    painter.fillRect(QRect(0, 0, viewport()->width(), height), ToColor(prop_.Ruler.BkColor));
    painter.setPen(ToColor(prop_.Ruler.Color));
    const int left = TextLeft();
    const int first = std::max(0, (LeftbarWidth() - left) / cellWidth_);
    const int last = (viewport()->width() - left) / cellWidth_ + 1;
    QFont small = Font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    painter.setFont(small);
    for (int column = first; column <= last; ++column) {
        const int x = left + column * cellWidth_;
        const int tick = column % 10 == 0 ? height : column % 5 == 0 ? height / 2 : height / 4;
        painter.drawLine(x, height - tick, x, height - 1);
        if (column % 10 == 0 && column > 0)
            painter.drawText(QPointF(x + 2, height - 3), QString::number(column));
    }
    painter.fillRect(QRect(left + core_.CaretX() * cellWidth_, 0, cellWidth_, height), QColor(ToColor(prop_.Ruler.MarkColor)).lighter(150));
    painter.setFont(Font());
}

// ---- input ----

bool TEditor::event(QEvent* event)
{
    // Tab is text here, not a focus move.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TEditor::keyPressEvent(QKeyEvent* event)
{
    RestartBlink();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->matches(QKeySequence::Undo)) {
        Undo();
    } else if (event->matches(QKeySequence::Redo) || (control && !shift && event->key() == Qt::Key_Y)) {
        Redo();
    } else if (event->matches(QKeySequence::Cut)) {
        CutToClipboard();
    } else if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
    } else if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
    } else if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else {
        switch (event->key()) {
        case Qt::Key_Left:
            core_.MoveCaret(control ? CaretMove::WordLeft : CaretMove::Left, shift);
            break;
        case Qt::Key_Right:
            core_.MoveCaret(control ? CaretMove::WordRight : CaretMove::Right, shift);
            break;
        case Qt::Key_Up:
            if (control)
                ScrollLines(-1);
            else
                core_.MoveCaret(CaretMove::Up, shift);
            break;
        case Qt::Key_Down:
            if (control)
                ScrollLines(1);
            else
                core_.MoveCaret(CaretMove::Down, shift);
            break;
        case Qt::Key_Home:
            core_.MoveCaret(control ? CaretMove::DocStart : CaretMove::Home, shift);
            break;
        case Qt::Key_End:
            core_.MoveCaret(control ? CaretMove::DocEnd : CaretMove::End, shift);
            break;
        case Qt::Key_PageUp:
            core_.MoveRows(-VisibleRows(), shift);
            break;
        case Qt::Key_PageDown:
            core_.MoveRows(VisibleRows(), shift);
            break;
        case Qt::Key_Insert:
            if (!shift && !control)
                core_.SetOverwrite(!core_.Overwrite());
            viewport()->update();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            core_.KeyEnter();
            break;
        case Qt::Key_Backspace:
            core_.KeyBackspace();
            break;
        case Qt::Key_Delete:
            core_.KeyDelete();
            break;
        case Qt::Key_Tab:
            core_.KeyTab();
            break;
        default: {
            const QString text = event->text();
            if (text.isEmpty() || control || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F) {
                QAbstractScrollArea::keyPressEvent(event);
                return;
            }
            core_.TypeText(text);
        }
        }
    }
    event->accept();
}

void TEditor::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty()) {
        // Each converted piece the input method hands over is an undo step of its own.
        Lines().BreakMerge();
        core_.TypeText(event->commitString());
        Lines().BreakMerge();
    }
    preedit_ = event->preeditString();
    preeditCursor_ = static_cast<int>(preedit_.size());
    preeditCursorHidden_ = false;
    preeditFormats_.clear();
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            preeditCursor_ = std::clamp(attribute.start, 0, static_cast<int>(preedit_.size()));
            preeditCursorHidden_ = attribute.length == 0;
        } else if (attribute.type == QInputMethodEvent::TextFormat && attribute.value.canConvert<QTextFormat>()) {
            preeditFormats_ << attribute;
        }
    }
    RestartBlink();
    viewport()->update();
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    event->accept();
}

void TEditor::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
}

void TEditor::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    blinkTimer_.stop();
    caretShown_ = true;
    viewport()->update();
}

void TEditor::RestartBlink()
{
    const int flashTime = QApplication::cursorFlashTime();
    if (hasFocus() && flashTime > 0)
        blinkTimer_.start(flashTime / 2, this);
    else
        blinkTimer_.stop();
    if (!caretShown_) {
        caretShown_ = true;
        viewport()->update();
    }
}

void TEditor::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != blinkTimer_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    if (QApplication::cursorFlashTime() <= 0) {
        RestartBlink();  // blinking was switched off meanwhile
        return;
    }
    caretShown_ = !caretShown_;
    viewport()->update(CaretRect().adjusted(-1, 0, 1, 0));
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return !ReadOnly();
    case Qt::ImCursorRectangle: {
        QRect rect = CaretRect();
        if (rect.isNull())
            rect = QRect(TextLeft(), TextTop(), 2, rowHeight_);
        return QRectF(rect.translated(viewport()->pos()));
    }
    case Qt::ImFont:
        return Font();
    case Qt::ImSurroundingText:
        return Lines()[core_.Caret().line];
    case Qt::ImCursorPosition:
        return core_.Caret().col;
    case Qt::ImAnchorPosition:
        return core_.Anchor().line == core_.Caret().line ? core_.Anchor().col : core_.Caret().col;
    case Qt::ImCurrentSelection:
        return SelText();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

TextPos TEditor::HitTest(const QPoint& point, int* extra) const
{
    RowRef row = top_;
    for (int y = TextTop() + rowHeight_; y <= point.y(); y += rowHeight_)
        if (!core_.NextRow(row))
            break;
    if (point.y() < TextTop())
        core_.PrevRow(row);
    const double x = static_cast<double>(point.x() - TextLeft()) / cellWidth_;
    return core_.PosNearX(row, x, extra, core_.CaretOptions().FreeCaret);
}

void TEditor::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    int extra = 0;
    const TextPos pos = HitTest(event->position().toPoint(), &extra);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (!shift && core_.CaretOptions().SelMove && core_.Selected() && pos >= core_.SelectionStart() &&
        pos < core_.SelectionEnd()) {
        dragPending_ = true;
        return;
    }
    core_.SetCaret(pos, shift, extra);
    selecting_ = true;
}

void TEditor::mouseMoveEvent(QMouseEvent* event)
{
    int extra = 0;
    const TextPos pos = HitTest(event->position().toPoint(), &extra);
    if (dragPending_) {
        dragging_ = true;
        viewport()->setCursor(Qt::DragMoveCursor);
        return;
    }
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        if (event->position().y() < TextTop())
            ScrollLines(-1);
        else if (event->position().y() > viewport()->height())
            ScrollLines(1);
        core_.SetCaret(pos, true, extra);
    }
}

void TEditor::mouseReleaseEvent(QMouseEvent* event)
{
    int extra = 0;
    const TextPos pos = HitTest(event->position().toPoint(), &extra);
    if (dragging_)
        core_.MoveSelectionTo(pos);
    else if (dragPending_)
        core_.SetCaret(pos, false, extra);
    dragPending_ = dragging_ = selecting_ = false;
    viewport()->setCursor(Qt::IBeamCursor);
}

void TEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    int extra = 0;
    core_.SelectWordAt(HitTest(event->position().toPoint(), &extra));
}

// ---- clipboard and menu ----

void TEditor::CopyToClipboard()
{
    if (core_.Selected())
        QGuiApplication::clipboard()->setText(SelText());
}

void TEditor::CutToClipboard()
{
    if (!core_.Selected() || ReadOnly())
        return;
    CopyToClipboard();
    core_.ClearSelection();
}

void TEditor::PasteFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (ReadOnly() || !data || !data->hasText())
        return;
    core_.ReplaceSel(data->text());
}

QMenu* TEditor::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    const bool editable = !ReadOnly();
    const bool selected = core_.Selected();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    const struct {
        const char* name;
        QString caption;
        bool enabled;
        void (TEditor::*run)();
        bool separatorAfter;
    } items[] = {
        {"MenuUndo", QStringLiteral(u"元に戻す"), editable && CanUndo(), &TEditor::Undo, false},
        {"MenuRedo", QStringLiteral(u"やり直し"), editable && CanRedo(), &TEditor::Redo, true},
        {"MenuCut", QStringLiteral(u"切り取り"), editable && selected, &TEditor::CutToClipboard, false},
        {"MenuCopy", QStringLiteral(u"コピー"), selected, &TEditor::CopyToClipboard, false},
        {"MenuPaste", QStringLiteral(u"貼り付け"), editable && clip && clip->hasText(), &TEditor::PasteFromClipboard, false},
        {"MenuDelete", QStringLiteral(u"削除"), editable && selected, &TEditor::ClearSelection, true},
        {"MenuSelectAll", QStringLiteral(u"すべて選択"), true, &TEditor::SelectAll, false},
    };
    for (const auto& item : items) {
        QAction* action = menu->addAction(item.caption, this, item.run);
        action->setObjectName(QLatin1String(item.name));
        action->setEnabled(item.enabled);
        if (item.separatorAfter)
            menu->addSeparator();
    }
    return menu;
}

void TEditor::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace editor
