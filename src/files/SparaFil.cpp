#include "files/SparaFil.h"

#include "document/Document.h"
#include "files/FileCommands.h"
#include "files/FileSystem.h"
#include "files/TagFileWriter.h"
#include "files/WriteError.h"
#include "table/RowNumbers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>

namespace {
void showSaveError(Document &doc, const WriteError &reason)
{
    doc.desktop.messageBox(QStringLiteral("Filen kunde inte sparas!\n") + writeErrorReason(reason),
                           QStringLiteral("Fel vid sparande"), Desktop::Icon::Warning);
}

QString rowList(const QList<int> &rows)
{
    return Document::rowList(QList<qsizetype>(rows.begin(), rows.end()));
}

void warnAboutChanges(Document &doc, const TagFileBytes &f)
{
    QStringList lines;
    if (!f.withoutQuantity.isEmpty())
        lines << QStringLiteral("Rader utan giltigt antal sparades inte: ") + rowList(f.withoutQuantity);
    if (!f.changedCharacters.isEmpty())
        lines << QStringLiteral("Rader med tecken som inte kan sparas oförändrade: ") + rowList(f.changedCharacters);
    if (!lines.isEmpty())
        doc.desktop.messageBox(lines.join(QLatin1Char('\n')), QStringLiteral("Spara"), Desktop::Icon::Warning);
}

// The list's bytes; the cursor goes back onto its cell as the write leaves it.
TagFileBytes takeContent(Document &doc)
{
    TagGrid &g = doc.grid;
    TagFileBytes content = writeTagFile(g);
    if (g.rows() >= 3) {
        const int col = g.col();
        const qint16 row = toRowIndex(g.row());
        g.setCol(col);
        g.setRow(row);
    }
    return content;
}

void finish(Document &doc, const TagFileBytes &content, quint64 *hash)
{
    if (hash)
        *hash = contentHash(content.bytes);
    warnAboutChanges(doc, content);
}

bool saveInPlace(Document &doc, const QString &path, quint64 *hash)
{
    QFile file(path);
    clearLastWriteError();
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly)) {
        showSaveError(doc, lastWriteError(file.errorString()));
        return false;
    }
    const TagFileBytes content = takeContent(doc);
    WriteError reason;
    if (!replaceContent(file, content.bytes, reason)) {
        showSaveError(doc, reason);
        return false;
    }
    finish(doc, content, hash);
    return true;
}

bool isPermissionError(const WriteError &e)
{
    return e.posix == EACCES || e.posix == EPERM || e.windows == 5; // ERROR_ACCESS_DENIED
}
} // namespace

bool SparaFil(Document &doc, const QString &path, quint64 *contentHash)
{
    surviveFileSizeLimit();
    if (hasOtherNames(path))
        return saveInPlace(doc, path, contentHash);
    QSaveFile file(path);
    return SparaFil(doc, file, contentHash);
}

bool SparaFil(Document &doc, QSaveFile &file, quint64 *contentHash)
{
    surviveFileSizeLimit();
    // The system's error code is taken right after each call that can fail,
    // before anything else can overwrite it.
    if (!file.isOpen()) {
        // Writing in place when no temporary file can be made would put the
        // old file at risk; refuse instead.
        file.setDirectWriteFallback(false);
        clearLastWriteError();
        if (!file.open(QIODevice::WriteOnly)) {
            WriteError reason = lastWriteError(file.errorString());
            // Qt refuses a folder itself, without a system call to tell why.
            if (!reason.posix && !reason.windows && QFileInfo(file.fileName()).isDir())
                reason.posix = EISDIR;
            // The new file is made beside the old one: when the old one
            // could be written, the folder is what refused.
            reason.folder = isPermissionError(reason) && targetWritableOrMissing(file.fileName());
            showSaveError(doc, reason);
            return false;
        }
    }
    keepOwnerAndGroup(file, file.fileName());

    const TagFileBytes content = takeContent(doc);
    clearLastWriteError();
    bool ok = file.write(content.bytes) == content.bytes.size();
    if (ok)
        ok = file.flush();
    if (ok)
        ok = file.commit();
    if (!ok) {
        const WriteError reason = lastWriteError(file.errorString());
        if (file.isOpen())
            file.cancelWriting(); // the temporary file goes, the old file stays
        showSaveError(doc, reason);
        return false;
    }
    finish(doc, content, contentHash);
    return true;
}

bool replaceContent(QFile &file, const QByteArray &bytes, WriteError &error)
{
    QByteArray old;
    clearLastWriteError();
    if (!file.seek(0) || !readFileContent(file, old, kMaxTagFileBytes)) {
        error = lastWriteError(file.errorString());
        return false;
    }
    // Room first: a full disk or a size limit then fails before a byte of
    // the old list is overwritten.
    const qint64 size = bytes.size();
    clearLastWriteError();
    const bool ok = (size <= old.size() || reserveRoom(file, size)) && file.seek(0) && file.write(bytes) == size &&
                    file.resize(size) && syncToDisk(file);
    if (ok)
        return true;
    error = lastWriteError(file.errorString());
    // The old bytes back, as they were; the reason stays the first failure's.
    if (file.seek(0) && file.write(old) == old.size() && file.resize(old.size()))
        syncToDisk(file);
    return false;
}
