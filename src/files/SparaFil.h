#pragma once

#include <QString>

class QSaveFile;
struct Document;

// Writes the table's tag list to the file, atomically: the old file stays
// whole until the new one is complete. Once the file is open the cursor goes
// back to the cell it was on, the selection collapsed onto it (the rows were
// visited through it). A failure shows "Filen kunde inte sparas!" with the
// reason and gives false; a save that could not store every row as shown
// warns once, by row number, after writing.
bool SparaFil(Document &doc, const QString &path);
// The same on a save file the caller made, opened or not (tests hand in
// failing ones).
bool SparaFil(Document &doc, QSaveFile &file);
