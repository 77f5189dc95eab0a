#include "files/SparaFil.h"

#include "document/Document.h"
#include "files/TagFileWriter.h"
#include "files/WriteError.h"
#include "table/RowNumbers.h"

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
} // namespace

bool SparaFil(Document &doc, const QString &path)
{
    QSaveFile file(path);
    return SparaFil(doc, file);
}

bool SparaFil(Document &doc, QSaveFile &file)
{
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
            showSaveError(doc, reason);
            return false;
        }
    }

    TagGrid &g = doc.grid;
    const TagFileBytes content = writeTagFile(g);
    if (g.rows() >= 3) {
        const int col = g.col();
        const qint16 row = toRowIndex(g.row());
        g.setCol(col);
        g.setRow(row);
    }

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
    warnAboutChanges(doc, content);
    return true;
}
