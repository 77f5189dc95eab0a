#pragma once

#include "base/TableKey.h"

struct Document;

// The routines every command uses to reset, number, select, load and show
// the table. They act on the document's grid through its cursor.

// Resets to an empty, untitled list: header row, entry row "1", empty fields.
void NyLista(Document &doc);
// Start-up and New: an empty untitled list with nothing to save.
void resetDocument(Document &doc);
// Rewrites the number column 1..Rows-1; leaves the cursor on its row, column 1.
void NumreraRader(Document &doc);
// Widens the selection to whole tags (columns 1..3) between Row and RowSel.
void MarkeraRader(Document &doc);
// Loads the cursor row into the editor fields and brings it into view.
void HamtaRad(Document &doc);
// Scrolls until the cursor row is shown; errors of the table end it quietly.
void VisaAktuellRad(Document &doc);
// A click on the table: off the header row, select whole tags, load the row.
void grdGrid_Click(Document &doc);
// A key while the table has the focus. A move goes where a click on that
// row would (never onto the header row, never past the entry row) and does
// what the click does, but leaves the focus in the table. With extend (Shift)
// it widens the selection from the cursor row instead; cursor and fields stay.
// Return puts the focus in the first field.
void tableKeyPress(Document &doc, TableKey key, bool extend);
// Shift+click: the selection runs from the cursor row to RowSel as whole
// tags; the cursor row and the fields stay, the focus goes to the first field.
void tableShiftClick(Document &doc);
