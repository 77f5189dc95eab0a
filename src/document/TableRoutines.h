#pragma once

#include "base/TableKey.h"

#include <QString>

#include <array>
#include <vector>

struct Document;

// The routines every command uses to reset, number, select, load and show
// the table. They act on the document's grid through its cursor.

// Resets to an empty, untitled list: header row, entry row "1", empty fields.
void NyLista(Document &doc);
// Start-up and New: an empty untitled list with nothing to save, and no
// lock on the file it replaces.
void resetDocument(Document &doc);
// The list replaced by these tags, as if appended one by one: numbered, the
// cursor on cursorRow (kept within the list), selected and loaded into the
// fields. Running out of memory leaves the table as it was.
void fillList(Document &doc, std::vector<std::array<QString, 3>> tags, int cursorRow);
// Rewrites the number column 1..Rows-1; leaves the cursor on its row, column 1.
void NumreraRader(Document &doc);
// Widens the selection to whole tags (columns 1..3) between Row and RowSel.
void MarkeraRader(Document &doc);
// Loads the cursor row into the editor fields and brings it into view.
void HamtaRad(Document &doc);
// Scrolls until the cursor row is shown; errors of the table end it quietly.
void VisaAktuellRad(Document &doc);
// The mouse on the table. A press moves the cursor to the cell (row 0 is
// the header row, column 0 the number column), never onto the header row;
// with extend (Shift) only the selection's corner moves. A drag with the
// button held moves the corner; a negative row or column keeps that side.
// Every gesture ends with the release: grdGrid_Click.
void tablePress(Document &doc, int row, int col, bool extend);
void tableDrag(Document &doc, int row, int col);
// The end of a click, a drag or a Shift+click: select whole tags, load the
// cursor row into the fields.
void grdGrid_Click(Document &doc);
// A key while the table has the focus. A move goes where a click on that
// row would (never onto the header row, never past the entry row) and does
// what the click does, but leaves the focus in the table. With extend
// (Shift) it widens the selection from the cursor row instead, and the
// cursor row is loaded as after a click. Return puts the focus in the first
// field.
void tableKeyPress(Document &doc, TableKey key, bool extend);
