#pragma once

#include "platform/TextFile.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace editor {

// A place in the text: line and UTF-16 unit within the line.
struct TextPos {
    int line = 0;
    int col = 0;
    auto operator<=>(const TextPos&) const = default;
};

// The document's lines with their edit history. Offsets count UTF-16 units of the whole
// text with each line break counting two (CR LF).
class EditorDocument : public QObject {
    Q_OBJECT
public:
    explicit EditorDocument(QObject* parent = nullptr);

    int Count() const { return static_cast<int>(lines_.size()); }
    const QString& operator[](int line) const { return lines_[static_cast<size_t>(line)]; }
    // The whole text, lines joined by CR LF.
    QString Text() const;
    void SetText(const QString& text);  // empties the history
    qsizetype Length() const;

    // Empties text and history.
    void Clear();
    // Replaces text and history by the file's lines; throws platform::Exception when it cannot be read.
    void LoadFromFile(const QString& fileName);
    // Writes atomically in the encoding, mark, line breaks and final break read last. Throws
    // platform::Exception, leaving the file untouched, when it cannot be written or when the
    // encoding cannot hold every character of the text.
    void SaveToFile(const QString& fileName) const;
    const platform::TextFileFormat& Format() const { return format_; }
    void SetFormat(const platform::TextFileFormat& format) { format_ = format; }
    // The last load replaced bytes it could not decode by U+FFFD.
    bool LoadWasLossy() const { return lossy_; }

    // Offsets in CR LF units. PosAt moves an offset inside a CR LF pair, inside a surrogate
    // pair or past the end back to the nearest valid place.
    qsizetype OffsetOf(TextPos pos) const;
    TextPos PosAt(qsizetype offset) const;
    TextPos Clamp(TextPos pos) const;
    TextPos End() const;
    // The text between two places, lines joined by CR LF.
    QString TextBetween(TextPos from, TextPos to) const;
    // Length in CR LF units of a text as it would be inserted (CR LF, CR or LF each count two).
    static qsizetype InsertedLength(const QString& text);

    // Replaces [from, to) by text (CR LF, CR and LF each break a line); returns the end of the
    // inserted text. Recorded in the history as part of the current step.
    TextPos Replace(TextPos from, TextPos to, const QString& text);

    // History. An edit outside BeginStep/EndStep is a step of its own. Steps begun with
    // mergeKey != 0 join the previous step when it had the same key and merging was not broken.
    void BeginStep(int mergeKey = 0);
    void EndStep();
    void BreakMerge() { mergeOpen_ = false; }
    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < static_cast<int>(steps_.size()); }
    // Each returns the place where the caret belongs afterwards.
    TextPos Undo();
    TextPos Redo();

    bool Modified() const { return forcedModified_ || index_ != cleanIndex_; }
    void SetModified(bool modified);

signals:
    // Lines [first, first + removed) were replaced by `added` lines.
    void LinesChanged(int first, int removed, int added);
    void ModifiedChanged(bool modified);

private:
    struct Edit {
        TextPos start;
        QString removed;   // lines joined by LF
        QString inserted;  // lines joined by LF
    };
    struct Step {
        std::vector<Edit> edits;
        int mergeKey = 0;
    };

    TextPos Splice(TextPos from, TextPos to, const QStringList& pieces);
    TextPos EndOf(TextPos start, const QString& lfText) const;
    QString LfTextBetween(TextPos from, TextPos to) const;
    void ResetHistory();
    void NoteModified();  // signals a change of Modified
    void EnsureOffsets(int line) const;

    std::vector<QString> lines_{QString()};
    platform::TextFileFormat format_;
    bool lossy_ = false;

    std::vector<Step> steps_;
    int index_ = 0;
    int cleanIndex_ = 0;  // -1: the saved state is no longer in the history
    bool forcedModified_ = false;
    bool reportedModified_ = false;
    int openSteps_ = 0;
    bool mergeOpen_ = false;
    Step pending_;
    int pendingKey_ = 0;
    bool replaying_ = false;

    // Offset of each line's start, valid for lines below offsetsValid_.
    mutable std::vector<qsizetype> lineStart_{0};
    mutable int offsetsValid_ = 1;
};

}  // namespace editor
