#pragma once

#include "document/Desktop.h"

#include <QString>

struct Document;

// New: resets the list, after the save prompt when there are changes.
void newFile(Document &doc);
// Open: save prompt, open dialog, then openPath with the chosen file.
void openFile(Document &doc);
// Reads the tag file at path (a regular file) into the table as Open does
// once the file is chosen: "Filen fanns inte!" when it cannot be opened,
// the caption from fileTitle, warnings for a damaged file or a full list.
void openPath(Document &doc, const QString &path, const QString &fileTitle);
// A tag file named from outside the program: at start, or dropped on the
// window. After the save prompt, as openPath; a relative path is taken from
// the working folder.
void openFromOutside(Document &doc, const QString &path);
// True for a name a tag file carries (".brk", any case).
bool isTagFileName(const QString &path);
// Saves in place when FilNamn ends in ".brk" (any case), else asks for a
// name. True when the list was saved.
bool Spara(Document &doc);
// Asks for a name and saves under it. True when the list was saved.
bool SparaSom(Document &doc);

// The save prompt, put only while there are unsaved changes: Yes saves
// first. True when the command that asked may go on (no changes, No, or
// Yes and saved); false on Cancel or a save that did not happen.
bool maybeSave(Document &doc);
// A request to close the main window; returns true when the close is refused.
bool Form_QueryUnload(Document &doc);

// The dialog settings of Open and Save As.
Desktop::FileDialogSettings openDialogSettings();
Desktop::FileDialogSettings saveAsDialogSettings();
