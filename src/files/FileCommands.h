#pragma once

#include "document/Desktop.h"

#include <QByteArray>

class QIODevice;
struct Document;

// New: resets the list, after the save prompt when there are changes.
void newFile(Document &doc);
// Open: save prompt, open dialog, read the chosen tag file into the table.
void openFile(Document &doc);
// Saves in place when FilNamn ends in ".brk" (any case), else asks for a name.
void Spara(Document &doc, bool &saved);
// Asks for a name and saves under it.
void SparaSom(Document &doc, bool &saved);

// The save prompt, put only while there are unsaved changes: Yes saves
// first. True when the command that asked may go on (no changes, No, or
// Yes and saved); false on Cancel or a save that did not happen.
bool maybeSave(Document &doc);
// A request to close the main window; returns true when the close is refused.
bool Form_QueryUnload(Document &doc);

// The dialog settings of Open and Save As.
Desktop::FileDialogSettings openDialogSettings();
Desktop::FileDialogSettings saveAsDialogSettings();

// Reads a tag file's bytes, at most maxBytes of them (no tag file comes
// near that; a device without an end must not fill the memory). False when
// the device failed or had more to give.
bool readFileContent(QIODevice &device, QByteArray &data, qint64 maxBytes);
