#pragma once

#include <QtGlobal>

struct Document;

// The Edit menu: 0 insert row, 1 cut, 2 copy, 3 paste, 4 delete; any other
// index does nothing. None of them shows a message except the warnings that
// the list is full and that Paste left out lines with too long a text.
void mnuRedigeraItem_Click(Document &doc, qint16 index);

// Copy: puts the row text of the selected rows on the clipboard, with the
// same rows as an HTML table for spreadsheets, and leaves
// the cursor and the selection as they were.
void KopieraRader(Document &doc);
// Delete: removes the selected rows, never the entry row; the cursor ends on
// the row that followed them, alone selected and loaded into the fields.
void TaBortRader(Document &doc);
