#include "files/InPlaceSave.h"

#include "files/FileSystem.h"
#include "files/WriteError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
constexpr qint64 kPiece = qint64(1) << 20;

void step(const SaveSteps &steps, const char *name)
{
    if (steps)
        steps(name);
}

// Syncs the file and tells the step once its bytes are on the disk.
bool synced(QFileDevice &file, const SaveSteps &steps, const char *name)
{
    if (!syncToDisk(file))
        return false;
    step(steps, name);
    return true;
}

// Copies every byte of from into to, both at their start, in pieces.
bool copyAll(QFileDevice &from, QFileDevice &to)
{
    if (!from.seek(0) || !to.seek(0))
        return false;
    QByteArray piece;
    for (;;) {
        piece.resize(kPiece);
        const qint64 got = from.read(piece.data(), piece.size());
        if (got < 0)
            return false;
        if (got == 0)
            return to.resize(to.pos()) && to.flush();
        if (to.write(piece.constData(), got) != got)
            return false;
    }
}

// The old bytes into a backup file, beside the file or in the data folder,
// on the disk before anything overwrites them.
bool writeBackup(QFile &file, const QString &target, const QString &dataFolder, QFile &backup, WriteError &error,
                 const SaveSteps &steps)
{
    clearLastWriteError();
    backup.setFileName(backupBeside(target));
    if (!backup.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        error = lastWriteError(backup.errorString());
        if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder))
            return false;
        clearLastWriteError();
        backup.setFileName(backupIn(dataFolder, target));
        if (!backup.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
            error = lastWriteError(backup.errorString());
            return false;
        }
    }
    // Readable by those who may read the file, no one else.
    backup.setPermissions(QFileInfo(target).permissions());
    clearLastWriteError();
    if (copyAll(file, backup) && backup.size() == file.size() && synced(backup, steps, "backup synced"))
        return true;
    error = lastWriteError(backup.errorString());
    backup.remove();
    return false;
}
} // namespace

QString backupBeside(const QString &target)
{
    const QFileInfo info(target);
    const QString canonical = info.canonicalFilePath();
    const QFileInfo real(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
    return real.absolutePath() + QStringLiteral("/.") + real.fileName() + QStringLiteral(".taggverk-backup");
}

QString backupIn(const QString &dataFolder, const QString &target)
{
    return dataFolder + QLatin1Char('/') + QFileInfo(backupBeside(target)).fileName();
}

bool replaceContent(QFile &file, const QByteArray &bytes, const QString &dataFolder, WriteError &error,
                    const SaveSteps &steps)
{
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    QFile backup;
    if (!writeBackup(file, file.fileName(), dataFolder, backup, error, steps))
        return false;

    // Room first: a full disk or a size limit then fails before a byte of
    // the old list is overwritten. Written in two parts, so that a test can
    // stop the save between them.
    const qint64 size = bytes.size();
    const qint64 half = size / 2;
    clearLastWriteError();
    bool ok =
        (size <= file.size() || reserveRoom(file, size)) && file.seek(0) && file.write(bytes.constData(), half) == half;
    if (ok)
        step(steps, "first part written");
    ok = ok && file.write(bytes.constData() + half, size - half) == size - half && file.resize(size) &&
         synced(file, steps, "file synced");
    if (ok) {
        backup.remove();
        step(steps, "backup removed");
        return true;
    }
    error = lastWriteError(file.errorString());
    // The old bytes back, as they were; the reason stays the first failure's.
    // Should that fail too, the backup stays: it is then the only whole copy.
    if (copyAll(backup, file) && syncToDisk(file))
        backup.remove();
    file.setFileTime(modified, QFileDevice::FileModificationTime);
    return false;
}
