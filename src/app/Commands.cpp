#include "app/Commands.h"

#include "document/Document.h"
#include "edit/FindReplace.h"
#include "edit/RowCommands.h"
#include "files/FileCommands.h"
#include "files/OpenRecent.h"
#include "reports/CharacterCounter.h"
#include "reports/PrintListing.h"

#include <exception>
#include <new>

void runCommand(Document &doc, Command command)
{
    switch (command) {
    case Command::New:
        newFile(doc);
        break;
    case Command::Open:
        openFile(doc);
        break;
    case Command::Save:
        if (Spara(doc))
            doc.markSaved();
        break;
    case Command::SaveAs:
        if (SparaSom(doc))
            doc.markSaved();
        break;
    case Command::Print:
        printListing(doc);
        break;
    case Command::Exit:
        doc.desktop.requestClose();
        break;
    case Command::Undo:
        undoChange(doc);
        break;
    case Command::Redo:
        redoChange(doc);
        break;
    case Command::InsertRow:
        insertRow(doc);
        break;
    case Command::Cut:
        cutRows(doc);
        break;
    case Command::Copy:
        KopieraRader(doc);
        break;
    case Command::Paste:
        pasteRows(doc);
        break;
    case Command::Delete:
        TaBortRader(doc);
        break;
    case Command::CharacterCount:
        showCharacterCount(doc);
        break;
    case Command::Help:
        doc.desktop.showHelp();
        break;
    case Command::About:
        doc.desktop.showAbout();
        break;
    case Command::Find:
        doc.desktop.showFind();
        break;
    case Command::FindNext:
        repeatFind(doc);
        break;
    case Command::Replace:
        doc.desktop.showReplace();
        break;
    case Command::Preview:
        previewListing(doc);
        break;
    case Command::SavePdf:
        saveListingAsPdf(doc);
        break;
    case Command::OpenRecent1:
    case Command::OpenRecent2:
    case Command::OpenRecent3:
    case Command::OpenRecent4: {
        // A copy: choosing a file that is gone takes it off the list.
        const QString path = doc.recent.paths().value(int(command) - int(Command::OpenRecent1));
        if (!path.isEmpty())
            openRecent(doc, path);
        break;
    }
    }
}

void runGuarded(Document &doc, const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::bad_alloc &) {
        doc.desktop.messageBox(QStringLiteral("Minnet räckte inte."), QStringLiteral("Fel"), Desktop::Icon::Warning);
    } catch (const std::exception &e) {
        doc.desktop.messageBox(QStringLiteral("Kommandot kunde inte slutföras.\n") + QString::fromLocal8Bit(e.what()),
                               QStringLiteral("Fel"), Desktop::Icon::Warning);
    }
}
