#include "document/Document.h"

#include <QStringList>

QString Document::caption(const QString &fileTitle, bool readOnly)
{
    const QString name = fileTitle.isEmpty() ? kUntitled : fileTitle;
    return name + (readOnly ? QStringLiteral(" (skrivskyddad) - ") : QStringLiteral(" - ")) + kTitle;
}

void Document::warnListFull()
{
    desktop.messageBox(QStringLiteral("Listan rymmer högst %1 brickor.").arg(kMaxTags),
                       QStringLiteral("För många brickor"), Desktop::Icon::Warning);
}

void Document::warnReadStopped(int rows)
{
    const QString count = rows == 1 ? QStringLiteral("1 bricka") : QStringLiteral("%1 brickor").arg(rows);
    desktop.messageBox(QStringLiteral("Filen kunde inte läsas till slut. %1 lästes in.").arg(count),
                       QStringLiteral("Fil skadad"), Desktop::Icon::Warning);
}

QString Document::rowList(const QList<qsizetype> &rows)
{
    constexpr qsizetype kMax = 20;
    QStringList parts;
    for (qsizetype i = 0; i < rows.size() && i < kMax; ++i)
        parts << QString::number(rows[i]);
    const QString s = parts.join(QStringLiteral(", "));
    return rows.size() > kMax ? s + QStringLiteral(", ...") : s + QLatin1Char('.');
}
