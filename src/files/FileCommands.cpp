#include "files/FileCommands.h"

#include "document/Document.h"
#include "document/TableRoutines.h"
#include "files/SparaFil.h"
#include "files/TagFileReader.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
const QString kFilter = QStringLiteral("Märkbricksfiler (*.brk)|*.brk|Alla filer (*.*)|*.*");

void warnAboutRead(Document &doc, const TagFileContent &l, int rows)
{
    if (l.end == TagFileContent::End::ListLimit) {
        doc.warnListFull();
    } else if (l.end == TagFileContent::End::ReadError && l.contentLeft) {
        warnReadStopped(doc, rows);
    }
}

// Opens path for reading when it names a regular file (a link to one
// included). A pipe, device, socket or folder is refused before it is opened,
// and where the system allows it the file is opened so that one swapped in
// for a pipe meanwhile cannot block: opening a pipe waits for a writer.
bool openRegularFile(QFile &file, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
#endif
}

std::optional<FileStamp> stampFor(const QString &path, quint64 hash)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return FileStamp{info.size(), info.fileTime(QFileDevice::FileModificationTime), hash};
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

bool readFileContent(QIODevice &device, QByteArray &data, qint64 maxBytes)
{
    // One byte past what is wanted tells a file that has more to give. A
    // file is read in one go at its size: a buffer at the cap would be
    // gigabytes. A device without a size is read in pieces up to the cap.
    data.clear();
    if (!device.isSequential()) {
        // Straight into a buffer of the right size: QIODevice::read(qint64)
        // would copy the whole file once more to drop the byte it kept spare.
        data.resize(std::min(device.size() - device.pos(), maxBytes) + 1);
        const qint64 got = device.read(data.data(), data.size());
        data.truncate(std::max<qint64>(got, 0));
    } else {
        constexpr qint64 kPiece = qint64(1) << 20;
        while (data.size() <= maxBytes) {
            const QByteArray piece = device.read(std::min(kPiece, maxBytes + 1 - data.size()));
            if (piece.isEmpty())
                break;
            data += piece;
        }
    }
    const bool whole = data.size() <= maxBytes && (device.isSequential() || device.atEnd());
    data.truncate(maxBytes);
    return whole;
}

bool fileUnchangedSince(const QString &path, const FileStamp &stamp)
{
    // Size and time first: most changes show there without a read.
    const std::optional<FileStamp> now = stampFor(path, stamp.contentHash);
    if (!now || *now != stamp)
        return false;
    QFile file;
    if (!openRegularFile(file, path))
        return false;
    // As much as Open read of it; one byte more is a change.
    const qint64 cap = std::min(stamp.size, kMaxTagFileBytes);
    QByteArray data;
    const bool whole = readFileContent(file, data, cap);
    return (whole || stamp.size > cap) && contentHash(data) == stamp.contentHash;
}

bool maybeSave(Document &doc)
{
    if (!doc.Andrad)
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
    doc.FilNamn = path;
    doc.setFileCaption(fileTitle);

    QByteArray data;
    const bool whole = readFileContent(file, data, kMaxTagFileBytes);
    const FileStamp stamp{file.size(), file.fileTime(QFileDevice::FileModificationTime), contentHash(data)};
    file.close();
    TagFileContent l = readTagFile(data, kMaxTags);
    data = QByteArray();
    if (!whole && l.end == TagFileContent::End::Complete)
        l.end = TagFileContent::End::ReadError;
    if (!whole && l.end == TagFileContent::End::ReadError)
        l.contentLeft = true;

    const int n = static_cast<int>(l.rows.size());
    fillList(doc, std::move(l.rows), n + 1);
    doc.stamp = stamp;
    doc.history.clear();
    doc.markSaved();
    doc.recent.add(path);
    warnAboutRead(doc, l, n);
}

void fillList(Document &doc, std::vector<std::array<QString, 3>> tags, int cursorRow)
{
    // As if appended one by one: the tags fill rows 1..n and the last row,
    // cleared, becomes the entry row. The rows are built once and moved into
    // the table.
    TagGrid &g = doc.grid;
    const int n = static_cast<int>(tags.size());
    g.setRows(2);
    g.setRow(1);
    for (int c = 1; c <= 3; ++c)
        g.setTextAt(1, c, QString());
    std::vector<QStringList> rows;
    rows.reserve(tags.size());
    for (auto &tag : tags)
        rows.push_back({QString(), std::move(tag[0]), std::move(tag[1]), std::move(tag[2])});
    tags = {};
    g.insertRows(1, std::move(rows));
    g.setRow(std::clamp(cursorRow, 1, n + 1));
    NumreraRader(doc);
    MarkeraRader(doc);
    HamtaRad(doc);
}

void warnReadStopped(Document &doc, int rows)
{
    const QString count = rows == 1 ? QStringLiteral("1 bricka") : QStringLiteral("%1 brickor").arg(rows);
    doc.desktop.messageBox(QStringLiteral("Filen kunde inte läsas till slut. %1 lästes in.").arg(count),
                           QStringLiteral("Fil skadad"), Desktop::Icon::Warning);
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
    if (!isTagFileName(doc.FilNamn))
        return SparaSom(doc);
    quint64 hash = 0;
    if (!mayOverwrite(doc) || !SparaFil(doc, doc.FilNamn, &hash))
        return false;
    doc.stamp = stampFor(doc.FilNamn, hash);
    doc.recent.add(doc.FilNamn);
    return true;
}

bool SparaSom(Document &doc)
{
    const std::optional<Desktop::FileChoice> choice = doc.desktop.fileDialog(saveAsDialogSettings());
    if (!choice)
        return false;
    doc.FilNamn = choice->fileName;
    doc.setFileCaption(choice->fileTitle);
    // The dialog asked before replacing a file, so there is nothing to
    // compare; a file that could not be written is not one we know.
    quint64 hash = 0;
    const bool saved = SparaFil(doc, doc.FilNamn, &hash);
    doc.stamp = saved ? stampFor(doc.FilNamn, hash) : std::nullopt;
    if (saved)
        doc.recent.add(doc.FilNamn);
    return saved;
}
