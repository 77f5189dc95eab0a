#include "document/Document.h"

#include <QStringList>

QString Document::caption(const QString &fileTitle)
{
    return (fileTitle.isEmpty() ? kNamnlos : fileTitle) + QStringLiteral(" - ") + kTitel;
}

void Document::warnListFull()
{
    desktop.messageBox(QStringLiteral("Listan rymmer högst 32765 brickor."), QStringLiteral("För många brickor"),
                       Desktop::Icon::Warning);
}

QString Document::radlista(const QList<qsizetype> &rows)
{
    constexpr qsizetype kMax = 20;
    QStringList parts;
    for (qsizetype i = 0; i < rows.size() && i < kMax; ++i)
        parts << QString::number(rows[i]);
    const QString s = parts.join(QStringLiteral(", "));
    return rows.size() > kMax ? s + QStringLiteral(", ...") : s + QLatin1Char('.');
}
