#pragma once

#include "editor/EditorCore.h"
#include "editor/EditorProp.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QInputMethodEvent>

class QMenu;

namespace editor {

// The text editor control: draws an EditorCore in fixed-pitch cells (a character takes the
// cells CellWidth gives it) and turns keys, mouse, input method and clipboard into its edits.
// Wheel events arrive at viewport(); an event filter installed there sees them first.
class TEditor : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TEditor(QWidget* parent = nullptr);

    EditorDocument& Lines() { return core_.Document(); }
    const EditorDocument& Lines() const { return core_.Document(); }
    EditorCore& Core() { return core_; }

    bool Modified() const { return Lines().Modified(); }
    void SetModified(bool modified) { Lines().SetModified(modified); }
    bool ReadOnly() const { return core_.ReadOnly(); }
    void SetReadOnly(bool on) { core_.SetReadOnly(on); }

    // Selection in UTF-16 units of the whole text, a line break counting two (CR LF).
    qsizetype SelStart() const { return core_.SelStart(); }
    void SetSelStart(qsizetype offset) { core_.SetSelStart(offset); }
    qsizetype SelLength() const { return core_.SelLength(); }
    void SetSelLength(qsizetype length) { core_.SetSelLength(length); }
    QString SelText() const { return core_.SelText(); }
    bool Selected() const { return core_.Selected(); }
    int Row() const { return core_.Row(); }
    // Replaces the selection as one undo step; returns the inserted length (0 when read-only).
    qsizetype ReplaceSel(const QString& text) { return core_.ReplaceSel(text); }

    bool CanUndo() const { return core_.CanUndo(); }
    bool CanRedo() const { return core_.CanRedo(); }
    void Undo() { core_.Undo(); }
    void Redo() { core_.Redo(); }
    void Clear() { core_.Clear(); }
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearSelection() { core_.ClearSelection(); }
    void SelectAll() { core_.SelectAll(); }
    void DeleteRow(int row) { core_.DeleteRow(row); }
    void SelIndent() { core_.SelIndent(); }
    void SelUnIndent() { core_.SelUnIndent(); }
    void SelTabIndent() { core_.SelTabIndent(); }
    void SelTabUnIndent() { core_.SelTabUnIndent(); }

    // Scrolls by display rows: negative up, positive down.
    void ScrollLines(int rows);

    // Property groups.
    const TEditorProp& Properties() const { return prop_; }
    void Assign(const TEditorProp& prop);
    void AssignTo(TEditorProp& prop) const { prop.Assign(prop_); }
    QFont Font() const;
    void SetFont(const QFont& font);
    const TEditorCaret& Caret() const { return core_.CaretOptions(); }
    void SetCaret(const TEditorCaret& caret);
    const TEditorMarks& Marks() const { return prop_.Marks; }
    void SetMarks(const TEditorMarks& marks);
    bool WordWrap() const { return prop_.WordWrap; }
    void SetWordWrap(bool on);
    const TEditorWrapOption& WrapOption() const { return core_.WrapOption(); }
    void SetWrapOption(const TEditorWrapOption& option);
    const TEditorLeftbar& Leftbar() const { return prop_.Leftbar; }
    void SetLeftbar(const TEditorLeftbar& leftbar);
    const TEditorRuler& Ruler() const { return prop_.Ruler; }
    void SetRuler(const TEditorRuler& ruler);

    // The control's own menu (元に戻す ... すべて選択) with the enabled states of this moment.
    QMenu* CreateContextMenu();

    // Where the caret is drawn, in viewport coordinates; while the input method composes, the
    // cursor inside its preedit text.
    QRect CaretRect() const;
    RowRef TopRow() const { return top_; }
    QString PreeditText() const { return preedit_; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void ModifiedChanged(bool modified);
    void CaretMoved();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void ApplyProp();
    void UpdateMetrics();
    void UpdateScrollBars();
    void EnsureCaretVisible();
    void KeepCaretOnScreen();
    int VisibleRows() const;
    int LeftbarWidth() const;
    int RulerHeight() const;
    int TextLeft() const;
    int TextTop() const;
    // The place under a viewport point; extra receives cells past it.
    TextPos HitTest(const QPoint& point, int* extra) const;
    void PaintRow(QPainter& painter, RowRef ref, int y);
    // Draws the preedit text from cell column `column`; returns the cells it takes.
    int PaintPreedit(QPainter& painter, int column, int y, int baseline);
    int PreeditCells(int to) const;
    // Shows the caret and starts its blinking over (no blinking while unfocused or when the
    // system's flash time is 0).
    void RestartBlink();
    void PaintRuler(QPainter& painter);

    EditorCore core_;
    TEditorProp prop_;
    RowRef top_;
    int cellWidth_ = 8;
    int rowHeight_ = 16;
    int ascent_ = 12;
    int widestCells_ = 0;
    QString preedit_;
    int preeditCursor_ = 0;
    bool preeditCursorHidden_ = false;
    QList<QInputMethodEvent::Attribute> preeditFormats_;
    QBasicTimer blinkTimer_;
    bool caretShown_ = true;
    bool dragPending_ = false;
    bool dragging_ = false;
    bool selecting_ = false;
    bool scrollingFromBar_ = false;
};

}  // namespace editor
