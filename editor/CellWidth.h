#pragma once

#include <QString>

namespace editor {

// Fixed-pitch cells a code point occupies: a character Windows-31J holds takes as many cells
// as its bytes there; any other takes 2 when East Asian Width is wide or full-width, 0 when it
// is a non-spacing or enclosing mark or a zero-width format character, otherwise 1.
// Tabs are not handled here; their width depends on the column.
int CellWidth(char32_t codePoint);

// The code point starting at index (a lone surrogate stands for itself) and its length in units.
char32_t CodePointAt(const QString& text, qsizetype index, int* units = nullptr);

// True when index lies between the two halves of a surrogate pair.
bool InsideSurrogatePair(const QString& text, qsizetype index);

}  // namespace editor
