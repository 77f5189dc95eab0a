#include "document/ListLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <utility>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {
const QString kSinceFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");
// A lock file is a few lines; more is not one of ours.
constexpr qint64 kMaxLockBytes = 4096;

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString accountName()
{
#ifdef Q_OS_UNIX
    passwd entry{};
    passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(::geteuid());
#elif defined(Q_OS_WIN)
    wchar_t name[257];
    DWORD size = 257;
    return GetUserNameW(name, &size) ? QString::fromWCharArray(name, int(size) - 1) : QString();
#else
    return QString();
#endif
}

QString computerName()
{
#ifdef Q_OS_WIN
    // The name Windows gives the computer on the network.
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? QString::fromWCharArray(name, int(size)) : QString();
#else
    return QSysInfo::machineHostName();
#endif
}

bool processRuns(qint64 pid)
{
#ifdef Q_OS_UNIX
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#elif defined(Q_OS_WIN)
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    Q_UNUSED(pid);
    return true;
#endif
}

std::optional<LockOwner> readLock(const QString &lockPath)
{
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly)) {
        // There, but not to be read: held by someone who cannot be named.
        return QFileInfo::exists(lockPath) ? std::optional(LockOwner()) : std::nullopt;
    }
    return LockOwner::fromBytes(file.read(kMaxLockBytes));
}

void hide(const QString &path)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(path);
    const auto *name = reinterpret_cast<const wchar_t *>(native.utf16());
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(name, attributes | FILE_ATTRIBUTE_HIDDEN);
#else
    Q_UNUSED(path); // the leading dot hides it
#endif
}
} // namespace

LockOwner LockOwner::thisProgram()
{
    // Asked of the system once: the account's name may take a directory
    // service.
    static const QString user = oneLine(accountName());
    static const QString host = oneLine(computerName());
    LockOwner me;
    me.user = user;
    me.host = host;
    me.pid = QCoreApplication::applicationPid();
    const QDateTime now = QDateTime::currentDateTime();
    me.since = now.addMSecs(-now.time().msec());
    return me;
}

QByteArray LockOwner::toBytes() const
{
    return QStringLiteral("user=%1\nhost=%2\npid=%3\nsince=%4\n")
        .arg(oneLine(user), oneLine(host), QString::number(pid), since.toString(kSinceFormat))
        .toUtf8();
}

LockOwner LockOwner::fromBytes(QByteArrayView bytes)
{
    LockOwner owner;
    for (QByteArrayView line : bytes.toByteArray().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArrayView key = line.first(eq);
        const QString value = QString::fromUtf8(line.sliced(eq + 1)).trimmed();
        if (key == "user")
            owner.user = value;
        else if (key == "host")
            owner.host = value;
        else if (key == "pid")
            owner.pid = value.toLongLong();
        else if (key == "since")
            owner.since = QDateTime::fromString(value, Qt::ISODate);
    }
    return owner;
}

bool LockOwner::isStale() const
{
    // Only a process of this computer can be looked for; one that cannot be
    // named is taken to run.
    return !host.isEmpty() && host == thisProgram().host && pid > 0 && !processRuns(pid);
}

bool LockOwner::isThisProgram() const
{
    return host == thisProgram().host && pid == QCoreApplication::applicationPid();
}

ListLock::ListLock(ListLock &&other) noexcept : m_path(std::exchange(other.m_path, QString()))
{
}

ListLock &ListLock::operator=(ListLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_path = std::exchange(other.m_path, QString());
    }
    return *this;
}

QString ListLock::lockPathFor(const QString &listPath)
{
    // Beside the file itself, so that every symbolic link to it shares one
    // lock (each hard link is a name of its own).
    const QFileInfo info(listPath);
    const QString canonical = info.canonicalFilePath();
    const QFileInfo file(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
    return file.absolutePath() + QStringLiteral("/.") + file.fileName() + QStringLiteral(".taggverk-lock");
}

std::optional<LockOwner> ListLock::holderOf(const QString &listPath)
{
    return readLock(lockPathFor(listPath));
}

ListLock::Result ListLock::take(const QString &listPath, LockOwner *holder)
{
    const QString lockPath = lockPathFor(listPath);
    if (lockPath == m_path)
        return Result::Taken;
    // Twice at most: a stale lock is removed, then the lock is made anew.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QFile file(lockPath);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QByteArray bytes = LockOwner::thisProgram().toBytes();
            const bool written = file.write(bytes) == bytes.size() && file.flush();
            file.close();
            if (!written) {
                QFile::remove(lockPath);
                return Result::Unwritable;
            }
            hide(lockPath);
            release();
            m_path = lockPath;
            return Result::Taken;
        }
        const std::optional<LockOwner> owner = readLock(lockPath);
        if (!owner)
            return Result::Unwritable; // refused for another reason: a folder or medium that takes no file
        if (attempt == 0 && owner->isStale() && QFile::remove(lockPath))
            continue;
        if (holder)
            *holder = *owner;
        return Result::HeldBy;
    }
    return Result::Unwritable;
}

void ListLock::release()
{
    if (m_path.isEmpty())
        return;
    // Only while it is still this program's: another may have taken it
    // meanwhile, believing it stale.
    const std::optional<LockOwner> owner = readLock(m_path);
    if (owner && owner->isThisProgram())
        QFile::remove(m_path);
    m_path.clear();
}
