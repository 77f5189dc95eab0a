#pragma once

#include <QByteArray>
#include <QList>

class TagGrid;

// The bytes of a tag file for the table's data rows, and what of the table
// they cannot hold as it shows it.
struct TagFileBytes {
    QByteArray bytes;
    // Rows left out because their quantity cannot be converted.
    QList<int> withoutQuantity;
    // Rows written with a double quote in a text (it does not read back) or
    // with characters Windows-1252 lacks (written as '?').
    QList<int> changedCharacters;
};

// One record per data row (rows 1..Rows-2): "text 1","text 2",quantity and
// CR LF; an empty text is written as one blank, the quantity as converted.
// Reads the cells directly; the cursor is the caller's business.
TagFileBytes writeTagFile(const TagGrid &grid);
