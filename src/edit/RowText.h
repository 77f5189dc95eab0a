#pragma once

#include "base/Limits.h"

#include <QByteArray>
#include <QList>
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

// The same rows as an HTML table (one <tr> per row, three <td> cells, texts
// escaped, nothing that carries formatting), which spreadsheets paste into
// three columns without an import dialog; "" when last is above first.
QString rowHtml(const TagGrid &grid, int first, int last);

// A row text as an RTF table, a row a line and a cell a field (7-bit, 10 pt
// in the sans font of a new Calc sheet, no colours): LibreOffice Calc takes
// it before HTML and pastes it without asking. "" for an empty text.
QByteArray rtfTable(QStringView rowText);

// The rows a row text holds, as Paste reads it.
struct ParsedRows {
    std::vector<std::array<QString, 3>> rows; // text 1, text 2, quantity
    bool truncated = false;                   // accepted lines were left after maxRows
    // Lines (1-based, every line counted) that would have been taken but have
    // a field longer than kMaxTextLength, in the order read.
    QList<qsizetype> tooLong;
};

// Reads a row text: TAB ends a field; CR LF, a lone CR and a lone LF each end
// a line, and so does the end of the text; other characters below 32 are
// dropped. A line becomes a row when its third field has a positive leading
// value and its first or second field is not empty; fields after the third
// are ignored. A line with one of its three fields longer than kMaxTextLength
// is left out and listed in tooLong. Stops at the first accepted line beyond
// maxRows. Linear in the text; an over-long field is not copied whole.
ParsedRows parseRowText(QStringView text, qsizetype maxRows);
