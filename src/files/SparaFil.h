#pragma once

#include "document/FileStamp.h"
#include "files/InPlaceSave.h"

#include <QString>

#include <optional>

class QSaveFile;
struct Document;

// Writes the table's tag list to the file, atomically: the old file stays
// whole until the new one is complete, and keeps its owner, group and mode
// as far as the system allows. A file with other names (hard links) is
// written in place instead, so that every name sees the new list, with the
// old bytes on the disk beside it until the new ones are (see
// replaceContent). Once the file is open the
// cursor goes back to the cell it was on, the selection collapsed onto it
// (the rows were visited through it). A failure shows "Filen kunde inte
// sparas!" with the reason and gives false; a save that could not store
// every row as shown warns once, by row number, after writing. stamp, when
// given, receives the saved file's stamp (nullopt when it cannot be read
// back). steps, when given, watches an in-place save.
bool SparaFil(Document &doc, const QString &path, std::optional<FileStamp> *stamp = nullptr,
              const SaveSteps &steps = {});
// The same on a save file the caller made, opened or not (tests hand in
// failing ones).
bool SparaFil(Document &doc, QSaveFile &file, std::optional<FileStamp> *stamp = nullptr);
