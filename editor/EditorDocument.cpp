#include "editor/EditorDocument.h"

#include "editor/CellWidth.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"

#include <algorithm>

namespace editor {
namespace {

// Splits at CR LF, CR and LF.
QStringList SplitLines(const QString& text)
{
    QStringList pieces;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        pieces.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    pieces.append(text.mid(start));
    return pieces;
}

}  // namespace

EditorDocument::EditorDocument(QObject* parent) : QObject(parent)
{
    // Until a file is read, text is saved in the system code page without a mark.
    format_.codePage = platform::SystemCodePage();
}

QString EditorDocument::Text() const
{
    return TextBetween(TextPos{0, 0}, End());
}

qsizetype EditorDocument::Length() const
{
    EnsureOffsets(Count() - 1);
    return lineStart_[static_cast<size_t>(Count() - 1)] + lines_.back().size();
}

void EditorDocument::SetText(const QString& text)
{
    const int oldCount = Count();
    const QStringList pieces = SplitLines(text);
    lines_.assign(pieces.begin(), pieces.end());
    offsetsValid_ = 1;
    ResetHistory();
    emit LinesChanged(0, oldCount, Count());
    NoteModified();
}

void EditorDocument::Clear()
{
    SetText(QString());
}

void EditorDocument::LoadFromFile(const QString& fileName)
{
    platform::TextFileContent content = platform::ReadTextFile(fileName);
    const int oldCount = Count();
    std::vector<QString> lines;
    lines.reserve(static_cast<size_t>(content.lines.size()) + 1);
    for (QString& line : content.lines)
        lines.push_back(std::move(line));
    content.lines.clear();
    if (lines.empty() || content.format.finalLineBreak)
        lines.emplace_back();
    lines_.swap(lines);
    lines.clear();
    lines.shrink_to_fit();
    format_ = content.format;
    lossy_ = content.lossy;
    offsetsValid_ = 1;
    lineStart_.assign(1, 0);
    ResetHistory();
    emit LinesChanged(0, oldCount, Count());
    NoteModified();
}

void EditorDocument::SaveToFile(const QString& fileName) const
{
    platform::TextFileFormat format = format_;
    const bool finalBreak = Count() > 1 && lines_.back().isEmpty();
    format.finalLineBreak = finalBreak;
    QStringList lines;
    lines.reserve(Count());
    for (int i = 0; i < Count() - (finalBreak ? 1 : 0); ++i)
        lines.append(lines_[static_cast<size_t>(i)]);
    // Writing would turn such characters into "?" for good; the caller may choose another
    // encoding (SetFormat) and save again.
    if (!platform::CanEncodeTextFile(lines, format))
        throw platform::Exception(
            QStringLiteral("\"%1\" には、この文字コードで保存できない文字が含まれています。文字コードを変えて保存してください。")
                .arg(fileName));
    platform::WriteTextFile(fileName, lines, format);
}

void EditorDocument::EnsureOffsets(int line) const
{
    if (lineStart_.size() != lines_.size()) {
        lineStart_.resize(lines_.size());
        offsetsValid_ = std::min(offsetsValid_, Count());
    }
    lineStart_[0] = 0;
    offsetsValid_ = std::max(offsetsValid_, 1);
    while (offsetsValid_ <= line) {
        const size_t i = static_cast<size_t>(offsetsValid_);
        lineStart_[i] = lineStart_[i - 1] + lines_[i - 1].size() + 2;
        ++offsetsValid_;
    }
}

qsizetype EditorDocument::OffsetOf(TextPos pos) const
{
    pos = Clamp(pos);
    EnsureOffsets(pos.line);
    return lineStart_[static_cast<size_t>(pos.line)] + pos.col;
}

TextPos EditorDocument::PosAt(qsizetype offset) const
{
    offset = std::clamp<qsizetype>(offset, 0, Length());
    const auto begin = lineStart_.begin();
    const int line = static_cast<int>(std::upper_bound(begin, begin + Count(), offset) - begin) - 1;
    const QString& text = lines_[static_cast<size_t>(line)];
    int col = static_cast<int>(std::min<qsizetype>(offset - lineStart_[static_cast<size_t>(line)], text.size()));
    if (InsideSurrogatePair(text, col))
        --col;
    return TextPos{line, col};
}

TextPos EditorDocument::Clamp(TextPos pos) const
{
    if (pos.line < 0)
        return TextPos{0, 0};
    if (pos.line >= Count())
        return End();
    const QString& text = lines_[static_cast<size_t>(pos.line)];
    pos.col = std::clamp(pos.col, 0, static_cast<int>(text.size()));
    if (InsideSurrogatePair(text, pos.col))
        --pos.col;
    return pos;
}

TextPos EditorDocument::End() const
{
    return TextPos{Count() - 1, static_cast<int>(lines_.back().size())};
}

QString EditorDocument::LfTextBetween(TextPos from, TextPos to) const
{
    if (to <= from)
        return QString();
    if (from.line == to.line)
        return lines_[static_cast<size_t>(from.line)].mid(from.col, to.col - from.col);
    qsizetype total = 0;
    for (int i = from.line; i <= to.line; ++i)
        total += lines_[static_cast<size_t>(i)].size() + 1;
    QString result;
    result.reserve(total);
    result += QStringView(lines_[static_cast<size_t>(from.line)]).mid(from.col);
    for (int i = from.line + 1; i < to.line; ++i) {
        result += u'\n';
        result += lines_[static_cast<size_t>(i)];
    }
    result += u'\n';
    result += QStringView(lines_[static_cast<size_t>(to.line)]).left(to.col);
    return result;
}

QString EditorDocument::TextBetween(TextPos from, TextPos to) const
{
    from = Clamp(from);
    to = Clamp(to);
    QString text = LfTextBetween(from, to);
    if (from.line != to.line)
        text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

qsizetype EditorDocument::InsertedLength(const QString& text)
{
    qsizetype length = text.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' && (i == 0 || text.at(i - 1) != u'\r'))
            ++length;
        else if (c == u'\r' && (i + 1 >= text.size() || text.at(i + 1) != u'\n'))
            ++length;
    }
    return length;
}

TextPos EditorDocument::EndOf(TextPos start, const QString& lfText) const
{
    const qsizetype lastBreak = lfText.lastIndexOf(u'\n');
    if (lastBreak < 0)
        return TextPos{start.line, start.col + static_cast<int>(lfText.size())};
    return TextPos{start.line + static_cast<int>(lfText.count(u'\n')), static_cast<int>(lfText.size() - lastBreak - 1)};
}

TextPos EditorDocument::Splice(TextPos from, TextPos to, const QStringList& pieces)
{
    const size_t first = static_cast<size_t>(from.line);
    const size_t removed = static_cast<size_t>(to.line - from.line + 1);
    const QString suffix = lines_[static_cast<size_t>(to.line)].mid(to.col);
    QString head = lines_[first].left(from.col);
    const TextPos end{from.line + static_cast<int>(pieces.size()) - 1,
                      static_cast<int>((pieces.size() == 1 ? head.size() : 0) + pieces.last().size())};

    std::vector<QString> added;
    added.reserve(static_cast<size_t>(pieces.size()));
    for (qsizetype i = 0; i < pieces.size(); ++i)
        added.push_back(pieces.at(i));
    added.front().prepend(head);
    added.back().append(suffix);

    const auto at = lines_.begin() + static_cast<std::ptrdiff_t>(first);
    const size_t common = std::min(removed, added.size());
    std::move(added.begin(), added.begin() + static_cast<std::ptrdiff_t>(common), at);
    if (removed > common)
        lines_.erase(at + static_cast<std::ptrdiff_t>(common), at + static_cast<std::ptrdiff_t>(removed));
    else if (added.size() > common)
        lines_.insert(at + static_cast<std::ptrdiff_t>(common), std::make_move_iterator(added.begin() + static_cast<std::ptrdiff_t>(common)),
                      std::make_move_iterator(added.end()));
    offsetsValid_ = std::min(offsetsValid_, from.line + 1);
    emit LinesChanged(from.line, static_cast<int>(removed), static_cast<int>(added.size()));
    return end;
}

TextPos EditorDocument::Replace(TextPos from, TextPos to, const QString& text)
{
    from = Clamp(from);
    to = Clamp(to);
    if (to < from)
        std::swap(from, to);
    const QStringList pieces = SplitLines(text);
    if (from == to && text.isEmpty())
        return from;
    Edit edit{from, LfTextBetween(from, to), pieces.join(u'\n')};
    const TextPos end = Splice(from, to, pieces);
    if (!replaying_) {
        pending_.edits.push_back(std::move(edit));
        if (openSteps_ == 0) {
            pendingKey_ = 0;
            EndStep();
        }
    }
    NoteModified();
    return end;
}

void EditorDocument::BeginStep(int mergeKey)
{
    if (openSteps_++ == 0) {
        pending_ = Step{};
        pendingKey_ = mergeKey;
    }
}

void EditorDocument::EndStep()
{
    if (openSteps_ > 0 && --openSteps_ > 0)
        return;
    if (pending_.edits.empty())
        return;
    steps_.resize(static_cast<size_t>(index_));
    if (cleanIndex_ > index_)
        cleanIndex_ = -1;
    const bool merge = pendingKey_ != 0 && mergeOpen_ && index_ > 0 && index_ != cleanIndex_ &&
                       steps_.back().mergeKey == pendingKey_;
    if (merge) {
        auto& edits = steps_.back().edits;
        edits.insert(edits.end(), std::make_move_iterator(pending_.edits.begin()), std::make_move_iterator(pending_.edits.end()));
    } else {
        pending_.mergeKey = pendingKey_;
        steps_.push_back(std::move(pending_));
    }
    pending_ = Step{};
    index_ = static_cast<int>(steps_.size());
    mergeOpen_ = pendingKey_ != 0;
    NoteModified();
}

TextPos EditorDocument::Undo()
{
    if (!CanUndo())
        return TextPos{};
    mergeOpen_ = false;
    replaying_ = true;
    const Step& step = steps_[static_cast<size_t>(index_ - 1)];
    TextPos caret;
    for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit)
        caret = Splice(edit->start, EndOf(edit->start, edit->inserted), SplitLines(edit->removed));
    replaying_ = false;
    --index_;
    NoteModified();
    return caret;
}

TextPos EditorDocument::Redo()
{
    if (!CanRedo())
        return TextPos{};
    mergeOpen_ = false;
    replaying_ = true;
    const Step& step = steps_[static_cast<size_t>(index_)];
    TextPos caret;
    for (const Edit& edit : step.edits)
        caret = Splice(edit.start, EndOf(edit.start, edit.removed), SplitLines(edit.inserted));
    replaying_ = false;
    ++index_;
    NoteModified();
    return caret;
}

void EditorDocument::SetModified(bool modified)
{
    forcedModified_ = modified;
    if (!modified)
        cleanIndex_ = index_;
    mergeOpen_ = false;
    NoteModified();
}

void EditorDocument::ResetHistory()
{
    steps_.clear();
    index_ = 0;
    cleanIndex_ = 0;
    forcedModified_ = false;
    mergeOpen_ = false;
    pending_ = Step{};
    openSteps_ = 0;
}

void EditorDocument::NoteModified()
{
    if (Modified() == reportedModified_)
        return;
    reportedModified_ = !reportedModified_;
    emit ModifiedChanged(reportedModified_);
}

}  // namespace editor
