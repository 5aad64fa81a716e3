#pragma once

#include "editor/EditorProp.h"

#include <QString>

#include <vector>

namespace editor {

// One display row of a line: the units [start, end); a hanging character is the last unit(s)
// of the row, drawn past the width.
struct WrapRow {
    int start = 0;
    int end = 0;
    bool hangs = false;
    bool operator==(const WrapRow&) const = default;
};

struct WrapSettings {
    bool wordWrap = false;
    TEditorWrapOption option;
    int tabWidth = 8;
};

// Cells of the text [from, to) when it starts at cell column `column` (tabs run to the next stop).
int CellsOf(const QString& line, int from, int to, int column, int tabWidth);

// Cell width of the unit at index when it starts at `column`.
int CellWidthAt(const QString& line, int index, int column, int tabWidth);

// Index after the character at index, zero-width marks that follow it included.
int NextBoundary(const QString& line, int index);
int PrevBoundary(const QString& line, int index);

// Splits one line into display rows. Without word wrap the line is one row. hasReturn tells
// whether a return mark follows the line (every line but the last).
std::vector<WrapRow> WrapLine(const QString& line, const WrapSettings& settings, bool hasReturn);

}  // namespace editor
