#pragma once

#include "document/Desktop.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

class QIODevice;
struct Document;
struct FileStamp;

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
// The list replaced by these tags, numbered, the cursor on cursorRow (kept
// within the list), selected and loaded into the fields.
void fillList(Document &doc, std::vector<std::array<QString, 3>> tags, int cursorRow);
// "Fil skadad": the file stopped early; rows tags were read.
void warnReadStopped(Document &doc, int rows);
// Saves in place when FilNamn ends in ".brk" (any case), else asks for a
// name. True when the list was saved.
bool Spara(Document &doc);
// Asks for a name and saves under it. True when the list was saved.
bool SparaSom(Document &doc);

// True when the file at path is still the one stamp describes: the same
// size, modification time and content (read back, a regular file only).
// Spara in place asks before writing over a file for which this is false.
bool fileUnchangedSince(const QString &path, const FileStamp &stamp);

// The save prompt, put only while there are unsaved changes: Yes saves
// first. True when the command that asked may go on (no changes, No, or
// Yes and saved); false on Cancel or a save that did not happen.
bool maybeSave(Document &doc);
// A request to close the main window; returns true when the close is refused.
bool Form_QueryUnload(Document &doc);

// The dialog settings of Open and Save As.
Desktop::FileDialogSettings openDialogSettings();
Desktop::FileDialogSettings saveAsDialogSettings();

// Reads a tag file's bytes, at most maxBytes of them (a device without an
// end must not fill the memory). False when the device failed or had more
// to give.
bool readFileContent(QIODevice &device, QByteArray &data, qint64 maxBytes);
