#include "files/SparaFil.h"

#include "document/Document.h"
#include "files/Skrivfel.h"
#include "files/TaggfilSkrivare.h"
#include "table/RowNumbers.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>

namespace {
void fel(Document &doc, const Skrivfel &orsak)
{
    doc.desktop.messageBox(QStringLiteral("Filen kunde inte sparas!\n") + skrivfelOrsak(orsak),
                           QStringLiteral("Fel vid sparande"), Desktop::Icon::Warning);
}

QString rowList(const QList<int> &rows)
{
    return Document::rowList(QList<qsizetype>(rows.begin(), rows.end()));
}

void varnaForAndringar(Document &doc, const Taggfil &f)
{
    QStringList lines;
    if (!f.utanAntal.isEmpty())
        lines << QStringLiteral("Rader utan giltigt antal sparades inte: ") + rowList(f.utanAntal);
    if (!f.andradeTecken.isEmpty())
        lines << QStringLiteral("Rader med tecken som inte kan sparas oförändrade: ") + rowList(f.andradeTecken);
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
        nollstallSkrivfel();
        if (!file.open(QIODevice::WriteOnly)) {
            Skrivfel orsak = senasteSkrivfel(file.errorString());
            // Qt refuses a folder itself, without a system call to tell why.
            if (!orsak.posix && !orsak.windows && QFileInfo(file.fileName()).isDir())
                orsak.posix = EISDIR;
            fel(doc, orsak);
            return false;
        }
    }

    TagGrid &g = doc.grid;
    const Taggfil content = skrivTaggfil(g);
    if (g.rows() >= 3) {
        const int col = g.col();
        const qint16 row = toRowIndex(g.row());
        g.setCol(col);
        g.setRow(row);
    }

    nollstallSkrivfel();
    bool ok = file.write(content.bytes) == content.bytes.size();
    if (ok)
        ok = file.flush();
    if (ok)
        ok = file.commit();
    if (!ok) {
        const Skrivfel orsak = senasteSkrivfel(file.errorString());
        if (file.isOpen())
            file.cancelWriting(); // the temporary file goes, the old file stays
        fel(doc, orsak);
        return false;
    }
    varnaForAndringar(doc, content);
    return true;
}
