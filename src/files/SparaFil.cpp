#include "files/SparaFil.h"

#include "document/Document.h"
#include "files/FileSystem.h"
#include "files/InPlaceSave.h"
#include "files/TagFileWriter.h"
#include "files/WriteError.h"
#include "table/RowNumbers.h"

#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

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

void finish(Document &doc, const QString &path, const TagFileBytes &content, std::optional<FileStamp> *stamp)
{
    if (stamp) {
        *stamp = fileStampOf(path);
        if (*stamp) {
            (*stamp)->contentHash = contentHash(content.bytes);
            (*stamp)->hashedBytes = content.bytes.size();
        }
    }
    warnAboutChanges(doc, content);
}

bool saveInPlace(Document &doc, const QString &path, std::optional<FileStamp> *stamp, const SaveSteps &steps)
{
    QFile file(path);
    clearLastWriteError();
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered | QIODevice::ExistingOnly)) {
        showSaveError(doc, lastWriteError(file.errorString()));
        return false;
    }
    const TagFileBytes content = takeContent(doc);
    WriteError reason;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!replaceContent(file, content.bytes, dataFolder, reason, steps)) {
        showSaveError(doc, reason);
        return false;
    }
    file.close();
    finish(doc, path, content, stamp);
    return true;
}

} // namespace

bool SparaFil(Document &doc, const QString &path, std::optional<FileStamp> *stamp, const SaveSteps &steps)
{
    surviveFileSizeLimit();
    if (hasOtherNames(path))
        return saveInPlace(doc, path, stamp, steps);
    QSaveFile file(path);
    return SparaFil(doc, file, stamp);
}

bool SparaFil(Document &doc, QSaveFile &file, std::optional<FileStamp> *stamp)
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
            showSaveError(doc, refusedNewFile(file.fileName(), file.errorString()));
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
    finish(doc, file.fileName(), content, stamp);
    return true;
}
