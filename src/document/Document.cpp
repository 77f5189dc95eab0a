#include "document/Document.h"

QString Document::caption(const QString &fileTitle)
{
    return (fileTitle.isEmpty() ? kNamnlos : fileTitle) + QStringLiteral(" - ") + kTitel;
}

void Document::warnListFull()
{
    desktop.messageBox(QStringLiteral("Listan rymmer högst 32765 brickor."), QStringLiteral("För många brickor"),
                       Desktop::Icon::Warning);
}
