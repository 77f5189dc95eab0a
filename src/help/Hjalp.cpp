#include "help/Hjalp.h"

#include "document/Document.h"

void mnuHjalpItem_Click(Document &doc, qint16 index)
{
    switch (index) {
    case 0:
        doc.desktop.showHelp();
        break;
    case 1:
        doc.desktop.showAbout();
        break;
    default:
        break;
    }
}
