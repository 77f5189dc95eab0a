#pragma once

#include <QtGlobal>

struct Document;

// The Edit menu's commands. None of them shows a message except the
// warnings that the list is full and that Paste left out lines with too
// long a text.

// Ångra and Gör om: the last change of the list taken back, or made again,
// cells, cursor and selection as they were; the cursor row is loaded into
// the fields as after a click. Nothing happens when there is nothing to do.
void undoChange(Document &doc);
void redoChange(Document &doc);
// Insert row: an empty row above the cursor's tag, which stays current.
void insertRow(Document &doc);
// Cut: Copy, then Delete.
void cutRows(Document &doc);
// Paste: the accepted lines of the clipboard's row text, above the cursor's
// tag, in one step.
void pasteRows(Document &doc);

// Copy: puts the row text of the selected rows on the clipboard, with the
// same rows as an HTML table for spreadsheets, and leaves
// the cursor and the selection as they were.
void KopieraRader(Document &doc);
// Delete: removes the selected rows, never the entry row; the cursor ends on
// the row that followed them, alone selected and loaded into the fields.
void TaBortRader(Document &doc);
