#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFile;
struct WriteError;

// The steps of an in-place save as they are done, named for a test that
// watches their order (or stops the save after one, as a crash would).
using SaveSteps = std::function<void(const char *step)>;

// Where the old bytes of the file at target wait while it is written in
// place: ".NAME.taggverk-backup" beside the file itself (a link followed).
QString backupBeside(const QString &target);
// The same name in dataFolder, for a folder that cannot take the copy.
QString backupIn(const QString &dataFolder, const QString &target);

// Replaces the whole content of file, open for reading and writing without
// a buffer, with bytes, and forces them to the disk. The old bytes first go
// to a backup file, synced, so that a crash part-way leaves them on the
// disk; it goes once the new bytes are synced. If a step fails, the old
// bytes are put back from it, with the file's modification time (so that no
// one takes the failed save for another program's change), and false is
// returned with the first failing step's reason in error. dataFolder takes
// the backup where the file's folder cannot.
bool replaceContent(QFile &file, const QByteArray &bytes, const QString &dataFolder, WriteError &error,
                    const SaveSteps &steps = {});
