#pragma once

#include "document/FileStamp.h"

#include <QString>

#include <optional>

class QFile;
class QFileDevice;
struct WriteError;

// The file system as the file commands need it: opening regular files
// only, the stamp of a file and the check against it, and the steps of a
// save that QSaveFile leaves to the program (what a file shared with others
// needs, and what the system's limits need).

// Opens path for reading when it names a regular file (a link to one
// included). A pipe, device, socket or folder is refused before it is
// opened, and where the system allows it the file is opened so that one
// swapped in for a pipe meanwhile cannot block.
bool openRegularFile(QFile &file, const QString &path);

// The size and modification time of the file at path (no hash yet);
// nullopt when there is none.
std::optional<FileStamp> fileStampOf(const QString &path);

// True when the file at path is still the one stamp describes: the same
// size, modification time and content (the bytes the stamp's hash covers,
// read back; a regular file only).
bool fileUnchangedSince(const QString &path, const FileStamp &stamp);

// True when the file at path (a link followed) has more than one name (hard
// links): replacing it would cut the other names off the new list.
bool hasOtherNames(const QString &path);

// Gives the new file, open and not yet in place, the owner and group of the
// file it will replace, as far as the system allows: only root may give a
// file to another user; anyone may give it a group they belong to. What is
// not allowed is left as the system made it (the saver's own).
void keepOwnerAndGroup(QFileDevice &newFile, const QString &target);

// True when target (a link followed) is missing or could be written, so that
// a refused new file beside it is the folder's fault.
bool targetWritableOrMissing(const QString &target);

// Why a new file for target could not be made (a QSaveFile's open refused),
// taken right after the refusal: the system's error, a folder of that name,
// or the folder's own refusal when the target itself could be written.
WriteError refusedNewFile(const QString &target, const QString &errorString);

// Forces what was written to the file onto the disk.
bool syncToDisk(QFileDevice &file);

// Reserves the disk room for a file of size bytes before any of its bytes
// is overwritten, so that a full disk or a file-size limit fails there.
// True where the system cannot reserve (nothing lost: the write finds out).
bool reserveRoom(QFileDevice &file, qint64 size);

// A write past the process's file-size limit then fails with EFBIG, as a
// full disk would, instead of ending the program with SIGXFSZ. Leaves a
// handler someone else set alone. Does nothing where there is no such limit.
void surviveFileSizeLimit();
