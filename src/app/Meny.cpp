#include "app/Meny.h"

#include "document/Document.h"
#include "files/FileCommands.h"
#include "reports/PrintListing.h"

void mnuArkivItem_Click(Document &doc, qint16 index)
{
    bool saved = false;
    switch (index) {
    case 0:
        newFile(doc);
        break;
    case 1:
        openFile(doc);
        break;
    case 2:
        Spara(doc, saved);
        if (saved)
            doc.Andrad = false;
        break;
    case 3:
        SparaSom(doc, saved);
        if (saved)
            doc.Andrad = false;
        break;
    case 4:
        printListing(doc);
        break;
    case 6:
        doc.desktop.requestClose();
        break;
    default:
        break;
    }
}
