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

// Far above any real tag file (32,765 tags of 2 KB text each).
constexpr qint64 kReadCap = qint64(64) * 1024 * 1024;

void warnAboutRead(Document &doc, const TagFileContent &l, int rows)
{
    if (l.end == TagFileContent::End::ListLimit) {
        doc.warnListFull();
    } else if (l.end == TagFileContent::End::ReadError && l.contentLeft) {
        const QString count = rows == 1 ? QStringLiteral("1 bricka") : QStringLiteral("%1 brickor").arg(rows);
        doc.desktop.messageBox(QStringLiteral("Filen kunde inte läsas till slut. %1 lästes in.").arg(count),
                               QStringLiteral("Fil skadad"), Desktop::Icon::Warning);
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

std::optional<FileStamp> stampFor(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return FileStamp{info.size(), info.fileTime(QFileDevice::FileModificationTime)};
}

// True when FilNamn's file may be written over: it is still the one this
// program last read or wrote, it has vanished, or the user says to replace
// what another program put there.
bool mayOverwrite(Document &doc)
{
    if (!doc.stamp)
        return true;
    const std::optional<FileStamp> now = stampFor(doc.FilNamn);
    if (!now || *now == *doc.stamp)
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
    // One byte past the cap tells a file that has more to give.
    data = device.read(maxBytes + 1);
    const bool whole = data.size() <= maxBytes && (device.isSequential() || device.atEnd());
    data.truncate(maxBytes);
    return whole;
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
    bool saved = false;
    Spara(doc, saved);
    return saved;
}

void newFile(Document &doc)
{
    if (!maybeSave(doc))
        return;
    NyLista(doc);
    doc.Andrad = false;
}

bool Form_QueryUnload(Document &doc)
{
    return !maybeSave(doc);
}

void openFile(Document &doc)
{
    if (!maybeSave(doc))
        return;
    const std::optional<Desktop::FileChoice> choice = doc.desktop.fileDialog(openDialogSettings());
    if (!choice)
        return;

    QFile file;
    if (!openRegularFile(file, choice->fileName)) {
        doc.desktop.messageBox(QStringLiteral("Filen fanns inte!"), QStringLiteral("Fil saknas"),
                               Desktop::Icon::Warning);
        return;
    }
    doc.FilNamn = choice->fileName;
    doc.setFileCaption(choice->fileTitle);

    QByteArray data;
    const bool whole = readFileContent(file, data, kReadCap);
    doc.stamp = FileStamp{file.size(), file.fileTime(QFileDevice::FileModificationTime)};
    file.close();
    TagFileContent l = readTagFile(data, kMaxTags);
    data = QByteArray();
    if (!whole && l.end == TagFileContent::End::Complete)
        l.end = TagFileContent::End::ReadError;
    if (!whole && l.end == TagFileContent::End::ReadError)
        l.contentLeft = true;

    // As if appended one by one: the records fill rows 1..n and the last
    // row, cleared, becomes the entry row. Cells are written directly, once.
    TagGrid &g = doc.grid;
    const int n = static_cast<int>(l.rows.size());
    g.setRows(2);
    g.setRow(1);
    g.setRows(n + 2);
    for (int r = 1; r <= n; ++r) {
        const auto &rad = l.rows[static_cast<size_t>(r - 1)];
        for (int c = 1; c <= 3; ++c)
            g.setTextAt(r, c, rad[static_cast<size_t>(c - 1)]);
    }
    for (int c = 1; c <= 3; ++c)
        g.setTextAt(n + 1, c, QString());
    g.setRow(n + 1);
    NumreraRader(doc);
    MarkeraRader(doc);
    HamtaRad(doc);
    doc.Andrad = false;
    warnAboutRead(doc, l, n);
}

void Spara(Document &doc, bool &saved)
{
    if (doc.FilNamn.endsWith(QLatin1String(".brk"), Qt::CaseInsensitive)) {
        saved = mayOverwrite(doc) && SparaFil(doc, doc.FilNamn);
        if (saved)
            doc.stamp = stampFor(doc.FilNamn);
        return;
    }
    SparaSom(doc, saved);
}

void SparaSom(Document &doc, bool &saved)
{
    saved = false;
    const std::optional<Desktop::FileChoice> choice = doc.desktop.fileDialog(saveAsDialogSettings());
    if (!choice)
        return;
    doc.FilNamn = choice->fileName;
    doc.setFileCaption(choice->fileTitle);
    // The dialog asked before replacing a file, so there is nothing to
    // compare; a file that could not be written is not one we know.
    saved = SparaFil(doc, doc.FilNamn);
    doc.stamp = saved ? stampFor(doc.FilNamn) : std::nullopt;
}
