#pragma once

struct Document;

// The routines every command uses to reset, number, select, load and show
// the table. They act on the document's grid through its cursor.

// Resets to an empty, untitled list: header row, entry row "1", empty fields.
void NyLista(Document &doc);
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
