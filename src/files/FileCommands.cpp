#include "files/FileCommands.h"

#include "document/Document.h"
#include "document/TableRoutines.h"
#include "files/FileSystem.h"
#include "files/ListClaim.h"
#include "files/SparaFil.h"
#include "files/TagFileReader.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("Märkbricksfiler (*.brk)|*.brk|Alla filer (*.*)|*.*");

void warnAboutRead(Document &doc, const TagFileContent &l, int rows)
{
    if (l.end == TagFileContent::End::ListLimit) {
        doc.warnListFull();
    } else if (l.end == TagFileContent::End::ReadError && l.contentLeft) {
        doc.warnReadStopped(rows);
    }
}

// True when FilNamn's file may be written over: it is still the one this
// program last read or wrote, it has vanished, or the user says to replace
// what another program put there.
bool mayOverwrite(Document &doc)
{
    if (!doc.stamp || !QFileInfo::exists(doc.FilNamn) || fileUnchangedSince(doc.FilNamn, *doc.stamp))
        return true;
    return doc.desktop.messageBox(QStringLiteral("Filen har ändrats av ett annat program sedan den öppnades eller "
                                                 "sparades.\nVill du skriva över den?"),
                                  QStringLiteral("Spara"), Desktop::Icon::Warning, Desktop::Buttons::YesNo,
                                  Desktop::Answer::No) == Desktop::Answer::Yes;
}
} // namespace

Desktop::FileDialogSettings openDialogSettings()
{
    Desktop::FileDialogSettings s;
    s.save = false;
    s.title = QStringLiteral("Öppna");
    s.flags = Desktop::DialogFlag::HideReadOnly;
    s.filter = kFilter;
    s.filterIndex = 1;
    s.defaultExt = QStringLiteral("brk");
    return s;
}

Desktop::FileDialogSettings saveAsDialogSettings()
{
    Desktop::FileDialogSettings s = openDialogSettings();
    s.save = true;
    s.title = QStringLiteral("Spara som");
    s.flags = Desktop::DialogFlag::HideReadOnly | Desktop::DialogFlag::AskBeforeReplacing;
    return s;
}

bool maybeSave(Document &doc)
{
    if (!doc.Andrad())
        return true;
    const Desktop::Answer a = doc.desktop.messageBox(QStringLiteral("Vill du spara de ändringar du har gjort?"),
                                                     QStringLiteral("Spara ändringar?"), Desktop::Icon::Question,
                                                     Desktop::Buttons::YesNoCancel, Desktop::Answer::Yes);
    if (a == Desktop::Answer::No)
        return true;
    if (a != Desktop::Answer::Yes)
        return false;
    return Spara(doc);
}

void newFile(Document &doc)
{
    if (!maybeSave(doc))
        return;
    resetDocument(doc);
}

bool Form_QueryUnload(Document &doc)
{
    return !maybeSave(doc);
}

void openFile(Document &doc)
{
    if (!maybeSave(doc))
        return;
    if (const std::optional<Desktop::FileChoice> choice = doc.desktop.fileDialog(openDialogSettings()))
        openPath(doc, choice->fileName, choice->fileTitle);
}

void openPath(Document &doc, const QString &path, const QString &fileTitle)
{
    QFile file;
    if (!openRegularFile(file, path)) {
        doc.desktop.messageBox(QStringLiteral("Filen fanns inte!"), QStringLiteral("Fil saknas"),
                               Desktop::Icon::Warning);
        return;
    }
    ListLock lock;
    const Claim claim = claimForOpening(doc, path, fileTitle, lock);
    if (claim == Claim::Cancelled)
        return;
    // Read as it is parsed; the file's stamp covers what was read.
    ContentHash hash;
    TagFileContent l = readTagFile(file, kMaxTags, &hash);
    FileStamp stamp;
    stamp.size = file.size();
    stamp.modified = file.fileTime(QFileDevice::FileModificationTime);
    stamp.contentHash = hash.value();
    stamp.hashedBytes = hash.bytes();
    file.close();

    // The document changes only once the whole list is in memory: should
    // the memory run out before, the list, FilNamn and the caption stay as
    // they were, and agree.
    const int n = static_cast<int>(l.rows.size());
    fillList(doc, std::move(l.rows), n + 1);
    doc.FilNamn = path;
    if (claim != Claim::Kept)
        doc.lock = std::move(lock); // the lock of the list replaced goes
    doc.readOnly = claim == Claim::ReadOnly;
    doc.setFileCaption(fileTitle);
    doc.stamp = stamp;
    doc.history.clear();
    doc.markSaved();
    doc.recent.add(path);
    warnAboutRead(doc, l, n);
}

void openFromOutside(Document &doc, const QString &path)
{
    if (!maybeSave(doc))
        return;
    const QFileInfo info(path);
    openPath(doc, info.absoluteFilePath(), info.fileName());
}

bool isTagFileName(const QString &path)
{
    return path.endsWith(QLatin1String(".brk"), Qt::CaseInsensitive);
}

bool Spara(Document &doc)
{
    // A list another program holds is saved under a name of its own.
    if (!isTagFileName(doc.FilNamn) || doc.readOnly)
        return SparaSom(doc);
    std::optional<FileStamp> stamp;
    if (!mayOverwrite(doc) || !SparaFil(doc, doc.FilNamn, &stamp))
        return false;
    doc.stamp = stamp;
    doc.recent.add(doc.FilNamn);
    return true;
}

bool SparaSom(Document &doc)
{
    const std::optional<Desktop::FileChoice> choice = doc.desktop.fileDialog(saveAsDialogSettings());
    if (!choice)
        return false;
    ListLock lock;
    const Claim claim = claimForSaving(doc, choice->fileName, choice->fileTitle, lock);
    if (claim == Claim::Cancelled)
        return false;
    doc.FilNamn = choice->fileName;
    if (claim != Claim::Kept)
        doc.lock = std::move(lock); // the lock moves with the name
    doc.readOnly = false;
    doc.setFileCaption(choice->fileTitle);
    // The dialog asked before replacing a file, so there is nothing to
    // compare; a file that could not be written is not one we know.
    std::optional<FileStamp> stamp;
    const bool saved = SparaFil(doc, doc.FilNamn, &stamp);
    doc.stamp = saved ? stamp : std::nullopt;
    if (saved)
        doc.recent.add(doc.FilNamn);
    return saved;
}
