#pragma once

#include "editor/EditorDocument.h"
#include "editor/EditorProp.h"
#include "editor/WrapLayout.h"

#include <QHash>
#include <QObject>

#include <vector>

namespace editor {

enum class CaretMove { Left, Right, Up, Down, Home, End, WordLeft, WordRight, DocStart, DocEnd };

// A display row: a line and the index of one of its wrap rows.
struct RowRef {
    int line = 0;
    int row = 0;
    auto operator<=>(const RowRef&) const = default;
};

// The editor without a display: document, caret, selection, the caret and wrap options,
// and the edits that keys and commands make. The widget only draws this and forwards input.
class EditorCore : public QObject {
    Q_OBJECT
public:
    explicit EditorCore(QObject* parent = nullptr);

    EditorDocument& Document() { return document_; }
    const EditorDocument& Document() const { return document_; }

    const TEditorCaret& CaretOptions() const { return caretOptions_; }
    void SetCaretOptions(const TEditorCaret& options);  // bounds the tab width
    bool WordWrap() const { return wrap_.wordWrap; }
    void SetWordWrap(bool on);
    const TEditorWrapOption& WrapOption() const { return wrap_.option; }
    void SetWrapOption(const TEditorWrapOption& option);  // bounds the wrap width
    int TabWidth() const { return wrap_.tabWidth; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    bool Overwrite() const { return overwrite_; }
    void SetOverwrite(bool on) { overwrite_ = on; }

    // Layout, computed per line on demand and cached until the line changes.
    const std::vector<WrapRow>& Rows(int line) const;
    int RowIndexOf(TextPos pos) const;
    // Cell column of a place within its display row, plus extra cells past it.
    int XOf(TextPos pos, int extra = 0) const;
    // The place in a display row at cell column x; extra receives the cells past it where the
    // caret may stand there (past the line end when allowVirtual, inside a tab with InTab).
    TextPos PosAtX(RowRef row, int x, int* extra, bool allowVirtual) const;
    // The same for a pointer at a fractional cell column: the nearest place, not the one before.
    TextPos PosNearX(RowRef row, double x, int* extra, bool allowVirtual) const;
    bool NextRow(RowRef& row) const;
    bool PrevRow(RowRef& row) const;

    // Caret and selection.
    TextPos Caret() const { return caret_; }
    int CaretExtra() const { return extra_; }
    TextPos Anchor() const { return anchor_; }
    RowRef CaretRow() const { return RowRef{caret_.line, RowIndexOf(caret_)}; }
    int CaretX() const { return XOf(caret_, extra_); }
    bool Selected() const { return anchor_ != caret_; }
    TextPos SelectionStart() const { return std::min(anchor_, caret_); }
    TextPos SelectionEnd() const { return std::max(anchor_, caret_); }
    qsizetype SelStart() const;
    void SetSelStart(qsizetype offset);  // collapses the selection there
    qsizetype SelLength() const;
    void SetSelLength(qsizetype length);  // selects from SelStart
    QString SelText() const;
    int Row() const { return caret_.line; }
    void SetCaret(TextPos pos, bool select = false, int extra = 0);
    void Select(TextPos anchor, TextPos caret);
    void SelectAll();
    void SelectWordAt(TextPos pos);

    void MoveCaret(CaretMove move, bool select);
    void MoveRows(int rows, bool select);  // PageUp/PageDown and the like

    // Edits; all do nothing in a read-only editor.
    qsizetype ReplaceSel(const QString& text);  // returns the inserted length in CR LF units
    void TypeText(const QString& text);
    void KeyEnter();
    void KeyBackspace();
    void KeyDelete();
    void KeyTab();
    void ClearSelection();
    void DeleteRow(int row);
    void SelIndent() { IndentLines(u' ', true); }
    void SelUnIndent() { IndentLines(u' ', false); }
    void SelTabIndent() { IndentLines(u'\t', true); }
    void SelTabUnIndent() { IndentLines(u'\t', false); }
    bool CanUndo() const { return document_.CanUndo(); }
    bool CanRedo() const { return document_.CanRedo(); }
    void Undo();
    void Redo();
    void Clear();
    // Moves the selected text to a place outside it (dragging a selection).
    void MoveSelectionTo(TextPos target);

signals:
    void CaretChanged();
    void LayoutChanged();

private:
    enum MergeKey { NoMerge = 0, MergeTyping = 1, MergeDeleting = 2 };

    void OnLinesChanged(int first, int removed, int added);
    void InvalidateLayout();
    void FinishMove(bool select, bool vertical);
    void ResolveExtra();  // turns a tab the caret stands in into spaces, fills past the end
    void DeleteSelectionInStep();
    QString IndentFor(int line, int col) const;
    int LeadingCells(const QString& line, int* units = nullptr) const;
    void IndentLines(QChar unit, bool add);
    int VirtualLimit() const;

    EditorDocument document_;
    TEditorCaret caretOptions_;
    WrapSettings wrap_;
    bool readOnly_ = false;
    bool overwrite_ = false;

    TextPos caret_;
    TextPos anchor_;
    int extra_ = 0;
    int desiredX_ = 0;

    mutable QHash<int, std::vector<WrapRow>> rowCache_;
};

}  // namespace editor
