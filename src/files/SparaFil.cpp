#include "files/SparaFil.h"

#include "document/Document.h"
#include "files/TaggfilSkrivare.h"
#include "table/Radnummer.h"

#include <QSaveFile>
#include <QStringList>

namespace {
void fel(Document &doc, const QString &reason)
{
    doc.desktop.messageBox(QStringLiteral("Filen kunde inte sparas!\n") + reason, QStringLiteral("Fel vid sparande"),
                           Desktop::Icon::Warning);
}

// "3, 7." or, past 20 numbers, "1, 2, ..., 20, ..."
QString radlista(const QList<int> &rows)
{
    constexpr int kMax = 20;
    QStringList parts;
    for (int i = 0; i < rows.size() && i < kMax; ++i)
        parts << QString::number(rows[i]);
    QString s = parts.join(QStringLiteral(", "));
    return rows.size() > kMax ? s + QStringLiteral(", ...") : s + QLatin1Char('.');
}

void varnaForAndringar(Document &doc, const Taggfil &f)
{
    QStringList lines;
    if (!f.utanAntal.isEmpty())
        lines << QStringLiteral("Rader utan giltigt antal sparades inte: ") + radlista(f.utanAntal);
    if (!f.andradeTecken.isEmpty())
        lines << QStringLiteral("Rader med tecken som inte kan sparas oförändrade: ") + radlista(f.andradeTecken);
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
    // Writing in place when no temporary file can be made would put the old
    // file at risk; refuse instead.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        fel(doc, file.errorString());
        return false;
    }

    TagGrid &g = doc.grid;
    const Taggfil content = skrivTaggfil(g);
    if (g.rows() >= 3) {
        const int col = g.col();
        const qint16 row = toRowIndex(g.row());
        g.setCol(col);
        g.setRow(row);
    }

    const bool written = file.write(content.bytes) == content.bytes.size() && file.flush();
    if (!written || !file.commit()) {
        const QString reason = file.errorString();
        if (file.isOpen())
            file.cancelWriting(); // the temporary file goes, the old file stays
        fel(doc, reason);
        return false;
    }
    varnaForAndringar(doc, content);
    return true;
}
