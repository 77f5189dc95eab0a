#pragma once

#include <QByteArray>
#include <QString>

class QFile;
class QSaveFile;
struct Document;
struct WriteError;

// Writes the table's tag list to the file, atomically: the old file stays
// whole until the new one is complete, and keeps its owner, group and mode
// as far as the system allows. A file with other names (hard links) is
// written in place instead, so that every name sees the new list, with the
// old bytes kept to put back if the write fails. Once the file is open the
// cursor goes back to the cell it was on, the selection collapsed onto it
// (the rows were visited through it). A failure shows "Filen kunde inte
// sparas!" with the reason and gives false; a save that could not store
// every row as shown warns once, by row number, after writing. contentHash,
// when given, receives the hash of the bytes written.
bool SparaFil(Document &doc, const QString &path, quint64 *contentHash = nullptr);
// The same on a save file the caller made, opened or not (tests hand in
// failing ones).
bool SparaFil(Document &doc, QSaveFile &file, quint64 *contentHash = nullptr);

// Replaces the whole content of file, open for reading and writing without
// a buffer, with bytes, and forces them to the disk. The old bytes are read
// first; if any step fails they are written back and false is returned with
// the failing step's reason in error.
bool replaceContent(QFile &file, const QByteArray &bytes, WriteError &error);
