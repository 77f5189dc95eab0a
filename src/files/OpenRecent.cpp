#include "files/OpenRecent.h"

#include "document/Document.h"
#include "files/FileCommands.h"

#include <QFileInfo>

void openRecent(Document &doc, const QString &path)
{
    if (!maybeSave(doc))
        return;
    const QFileInfo info(path);
    const bool there = info.isFile();
    // openPath says "Filen fanns inte!" for a file that is gone; it then
    // leaves the menu too.
    openPath(doc, info.absoluteFilePath(), info.fileName());
    if (!there)
        doc.recent.remove(path);
}
