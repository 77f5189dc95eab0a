#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <vector>

class TagGrid;

// The row text rows travel in through the clipboard: columns 1..3 of a row
// separated by TAB, every row ended by CR LF, no header, no number column.

// Row text of rows first..last (both included) of the grid; "" when last is
// above first.
QString rowText(const TagGrid &grid, int first, int last);

// The rows a row text holds, as Paste reads it.
struct ParsedRows {
    std::vector<std::array<QString, 3>> rows; // text 1, text 2, quantity
    bool truncated = false;                   // accepted lines were left after maxRows
};

// Reads a row text: TAB ends a field, CR ends a line, other characters below
// 32 (LF among them) are dropped. A line becomes a row when its third field
// has a positive leading value and its first or second field is not empty;
// fields after the third are ignored and text after the last CR is dropped.
// Stops at the first accepted line beyond maxRows. Linear in the text.
ParsedRows parseRowText(QStringView text, qsizetype maxRows);
