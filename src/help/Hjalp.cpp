#include "help/Hjalp.h"

#include "document/Document.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString hjalpFil()
{
    const QString setting = QStringLiteral(TAGGVERK_HELP_FILE);
    if (QFileInfo(setting).isFile())
        return setting;
#ifdef TAGGVERK_HELP_FILE_FROM_BIN
    if (QCoreApplication::instance()) {
        const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                                  QStringLiteral(TAGGVERK_HELP_FILE_FROM_BIN));
        if (QFileInfo(installed).isFile())
            return installed;
    }
#endif
#ifdef TAGGVERK_SOURCE_HELP_FILE
    const QString source = QStringLiteral(TAGGVERK_SOURCE_HELP_FILE);
    if (QFileInfo(source).isFile())
        return source;
#endif
    return setting;
}

void mnuHjalpItem_Click(Document &doc, qint16 index)
{
    switch (index) {
    case 0:
        doc.desktop.showHelp(hjalpFil());
        break;
    case 1:
        doc.desktop.showAbout();
        break;
    default:
        break;
    }
}
