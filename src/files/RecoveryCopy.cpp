#include "files/RecoveryCopy.h"

#include "base/Limits.h"
#include "document/Document.h"
#include "document/TableRoutines.h"
#include "files/ListClaim.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

namespace {
// "TVK2"; a "TVK1" copy, from before the stamp was kept, has none.
constexpr quint32 kMagic = 0x54564b32;
constexpr quint32 kMagicWithoutStamp = 0x54564b31;
constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
const QString kSuffix = QStringLiteral(".taggverk-kopia");

// A lock held for as long as the program runs: never stale by age, only
// when the program that took it is gone.
std::unique_ptr<QLockFile> lockFor(const QString &copy)
{
    auto lock = std::make_unique<QLockFile>(copy + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}
} // namespace

RecoveryCopy::RecoveryCopy()
    : RecoveryCopy(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery"))
{
}

RecoveryCopy::RecoveryCopy(QString folder) : m_folder(std::move(folder))
{
}

RecoveryCopy::~RecoveryCopy() = default;

bool RecoveryCopy::own()
{
    if (m_lock)
        return true;
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return false;
    // Where the system cannot make it the user's alone, the copy is still
    // better kept than lost.
    QFile::setPermissions(m_folder, kOwnerOnly | QFileDevice::ExeOwner);
    const QString path = m_folder + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces) + kSuffix;
    m_lock = lockFor(path);
    if (!m_lock)
        return false;
    m_path = path;
    return true;
}

bool RecoveryCopy::write(const Document &doc)
{
    if (!own())
        return false;
    const TagGrid &g = doc.grid;
    const int tags = std::max(0, g.rows() - 2);
    // Made in memory and written in one piece: far quicker than a write a
    // text, and the window waits for it.
    QByteArray bytes;
    qsizetype size = 64 + doc.FilNamn.size() * 2;
    for (int r = 1; r <= tags; ++r)
        size += 12 + 2 * (g.textAt(r, 1).size() + g.textAt(r, 2).size() + g.textAt(r, 3).size());
    bytes.reserve(size);
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out.setByteOrder(QDataStream::LittleEndian); // the texts as they lie in memory, not swapped
    out << kMagic << doc.FilNamn << qint32(g.row()) << qint32(tags);
    const FileStamp stamp = doc.stamp.value_or(FileStamp());
    out << bool(doc.stamp) << stamp.size << stamp.modified << stamp.contentHash << stamp.hashedBytes;
    for (int r = 1; r <= tags; ++r)
        out << g.textAt(r, 1) << g.textAt(r, 2) << g.textAt(r, 3);
    QSaveFile file(m_path);
    if (out.status() != QDataStream::Ok || !file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(kOwnerOnly);
    return file.write(bytes) == bytes.size() && file.commit();
}

void RecoveryCopy::leave()
{
    m_path.clear();
    m_lock.reset(); // unlocks: the copy is free for a later start
}

void RecoveryCopy::remove()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
    m_lock.reset(); // unlocks and removes the lock file
}

bool RecoveryCopy::adoptOrphan()
{
    if (m_folder.isEmpty())
        return false;
    const QFileInfoList copies = QDir(m_folder).entryInfoList({QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo &info : copies) { // newest first
        if (auto lock = lockFor(info.absoluteFilePath())) {
            remove();
            m_path = info.absoluteFilePath();
            m_lock = std::move(lock);
            return true;
        }
    }
    return false;
}

std::optional<RecoveryCopy::Content> RecoveryCopy::read() const
{
    QFile file(m_path);
    if (m_path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    in.setByteOrder(QDataStream::LittleEndian);
    quint32 magic = 0;
    qint32 row = 0, count = 0;
    Content c;
    in >> magic >> c.fileName >> row >> count;
    if (magic == kMagic) {
        bool hasStamp = false;
        FileStamp stamp;
        in >> hasStamp >> stamp.size >> stamp.modified >> stamp.contentHash >> stamp.hashedBytes;
        if (hasStamp)
            c.stamp = stamp;
    }
    if (in.status() != QDataStream::Ok || (magic != kMagic && magic != kMagicWithoutStamp))
        return std::nullopt;
    c.cursorRow = row;
    count = std::clamp(count, 0, kMaxTags);
    for (qint32 i = 0; i < count; ++i) {
        std::array<QString, 3> tag;
        in >> tag[0] >> tag[1] >> tag[2];
        if (in.status() != QDataStream::Ok) {
            c.whole = false;
            break;
        }
        for (QString &text : tag)
            text.truncate(kMaxTextLength);
        c.tags.push_back(std::move(tag));
    }
    return c;
}

bool offerRecovery(Document &doc, RecoveryCopy &copy)
{
    if (!copy.adoptOrphan())
        return false;
    std::optional<RecoveryCopy::Content> c = copy.read();
    if (!c) {
        copy.remove();
        return false;
    }
    const QString title = c->fileName.isEmpty() ? Document::kUntitled : QFileInfo(c->fileName).fileName();
    const Desktop::Answer answer = doc.desktop.messageBox(
        QStringLiteral("%1 avslutades utan att ändringarna i \"%2\" sparades.\nVill du återställa dem?")
            .arg(Document::kTitle, title),
        QStringLiteral("Återställ"), Desktop::Icon::Question, Desktop::Buttons::YesNo, Desktop::Answer::Yes);
    if (answer != Desktop::Answer::Yes) {
        copy.remove();
        return false;
    }
    // A list of a file is locked as Open locks it; should the user rather
    // not open it now, the copy waits for a later start.
    ListLock lock;
    const Claim claim = c->fileName.isEmpty() ? Claim::Unlocked : claimForOpening(doc, c->fileName, title, lock);
    if (claim == Claim::Cancelled) {
        copy.leave();
        return false;
    }
    const int read = static_cast<int>(c->tags.size());
    resetDocument(doc);
    fillList(doc, std::move(c->tags), c->cursorRow);
    doc.FilNamn = c->fileName;
    doc.stamp = c->stamp;
    doc.lock = std::move(lock);
    doc.readOnly = claim == Claim::ReadOnly;
    doc.setFileCaption(c->fileName.isEmpty() ? QString() : title);
    doc.markChanged();
    if (!c->whole)
        doc.warnReadStopped(read);
    return true;
}
