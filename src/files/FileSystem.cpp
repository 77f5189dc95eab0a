#include "files/FileSystem.h"

#include "files/WriteError.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#endif

namespace {
#ifdef Q_OS_WIN
HANDLE nativeHandle(QFileDevice &file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}
#endif

#ifdef Q_OS_UNIX
void ignoreFileSizeSignal(int)
{
    // The write that crossed the limit returns EFBIG once this returns.
}
#endif
} // namespace

bool openRegularFile(QFile &file, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
#ifdef Q_OS_UNIX
    // Opening a pipe waits for a writer: O_NONBLOCK, and the type checked
    // again on what was opened.
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

std::optional<FileStamp> fileStampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    FileStamp stamp;
    stamp.size = info.size();
    stamp.modified = info.fileTime(QFileDevice::FileModificationTime);
    return stamp;
}

bool fileUnchangedSince(const QString &path, const FileStamp &stamp)
{
    // Size and time first: most changes show there without a read.
    const std::optional<FileStamp> now = fileStampOf(path);
    if (!now || now->size != stamp.size || now->modified != stamp.modified)
        return false;
    QFile file;
    if (!openRegularFile(file, path))
        return false;
    // As much as was read or written of it, in pieces.
    ContentHash hash;
    QByteArray piece;
    for (qint64 left = stamp.hashedBytes; left > 0;) {
        piece.resize(std::min<qint64>(left, qint64(1) << 20));
        const qint64 got = file.read(piece.data(), piece.size());
        if (got <= 0)
            return false;
        hash.add(QByteArrayView(piece.constData(), got));
        left -= got;
    }
    return hash.value() == stamp.contentHash;
}

bool hasOtherNames(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1;
#elif defined(Q_OS_WIN)
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(nativeHandle(file), &info) && info.nNumberOfLinks > 1;
#else
    Q_UNUSED(path);
    return false;
#endif
}

void keepOwnerAndGroup(QFileDevice &newFile, const QString &target)
{
#ifdef Q_OS_UNIX
    struct stat old {};
    struct stat now {};
    const int fd = newFile.handle();
    if (fd < 0 || ::stat(QFile::encodeName(target).constData(), &old) != 0 || ::fstat(fd, &now) != 0)
        return; // a new name: the system's defaults
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid)
        return;
    if (::fchown(fd, old.st_uid, old.st_gid) == 0 || now.st_gid == old.st_gid)
        return;
    // Not root: the owner stays the saver, the group is kept when the saver
    // belongs to it. Either refusal leaves a file the saver can still write.
    (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
#else
    // Windows: the new file takes the folder's inherited permissions and
    // the saver as owner; nothing here changes that.
    Q_UNUSED(newFile);
    Q_UNUSED(target);
#endif
}

bool targetWritableOrMissing(const QString &target)
{
    const QFileInfo info(target);
    if (!info.exists())
        return true;
#ifdef Q_OS_UNIX
    // The effective ids, as the refused open used them.
    return ::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) == 0;
#else
    // The read-only attribute first, as QSaveFile checks it; then the
    // permissions, which Windows tells only by trying (opening for
    // appending changes nothing in the file).
    QFile probe(target);
    return info.isWritable() && probe.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
#endif
}

WriteError refusedNewFile(const QString &target, const QString &errorString)
{
    WriteError reason = lastWriteError(errorString);
    // Qt refuses a folder itself, without a system call to tell why.
    if (!reason.posix && !reason.windows && QFileInfo(target).isDir())
        reason.posix = EISDIR;
    // The new file is made beside the old one: when the old one could be
    // written, the folder is what refused.
    const bool permission = reason.posix == EACCES || reason.posix == EPERM || reason.windows == 5; // ACCESS_DENIED
    reason.folder = permission && targetWritableOrMissing(target);
    return reason;
}

bool syncToDisk(QFileDevice &file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#elif defined(Q_OS_WIN)
    return FlushFileBuffers(nativeHandle(file)) != 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

bool reserveRoom(QFileDevice &file, qint64 size)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const int rc = ::posix_fallocate(file.handle(), 0, static_cast<off_t>(size));
    if (rc == 0 || rc == EINVAL || rc == EOPNOTSUPP || rc == ENOSYS)
        return true;
    errno = rc; // it returns its error instead of setting errno
    return false;
#else
    Q_UNUSED(file);
    Q_UNUSED(size);
    return true;
#endif
}

void surviveFileSizeLimit()
{
#ifdef Q_OS_UNIX
    // A handler, not SIG_IGN: programs started from here get the default
    // back when they start (a handler does not survive exec).
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO))
        return;
    struct sigaction handler {};
    handler.sa_handler = ignoreFileSizeSignal;
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESTART;
    ::sigaction(SIGXFSZ, &handler, nullptr);
#endif
}
