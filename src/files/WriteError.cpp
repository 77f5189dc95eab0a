#include "files/WriteError.h"

#include <cerrno>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {
const QString kNoPermission = QStringLiteral("Du har inte behörighet att skriva filen.");
const QString kFolderNotWritable = QStringLiteral("Mappen går inte att skriva i.");
const QString kWriteProtected = QStringLiteral("Enheten är skrivskyddad.");
const QString kDiskFull = QStringLiteral("Det finns inte plats på disken.");
const QString kQuotaExceeded = QStringLiteral("Ditt diskutrymme (kvot) är slut.");
const QString kNoFolder = QStringLiteral("Mappen finns inte.");
const QString kInUse = QStringLiteral("Filen används av ett annat program.");
const QString kFolderInTheWay = QStringLiteral("Det finns en mapp med det namnet.");
const QString kTooLarge = QStringLiteral("Filen blir för stor för enheten.");
const QString kUnknownError = QStringLiteral("Okänt fel vid skrivning");

QString posixReason(int e)
{
    // Names that a platform lacks (MinGW has no EDQUOT) are left out there.
    switch (e) {
    case EACCES:
    case EPERM:
        return kNoPermission;
#ifdef EROFS
    case EROFS:
        return kWriteProtected;
#endif
    case ENOSPC:
        return kDiskFull;
#ifdef EDQUOT
    case EDQUOT:
        return kQuotaExceeded;
#endif
    case ENOENT:
    case ENOTDIR:
        return kNoFolder;
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return kInUse;
    case EISDIR:
        return kFolderInTheWay;
    case EFBIG:
        return kTooLarge;
    default:
        return QString();
    }
}

QString windowsReason(unsigned long e)
{
    // The codes of winerror.h, spelled out so that the table reads the same
    // on every platform.
    switch (e) {
    case 5: // ERROR_ACCESS_DENIED
        return kNoPermission;
    case 19: // ERROR_WRITE_PROTECT
        return kWriteProtected;
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return kDiskFull;
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED
        return kQuotaExceeded;
    case 2: // ERROR_FILE_NOT_FOUND
    case 3: // ERROR_PATH_NOT_FOUND
        return kNoFolder;
    case 32: // ERROR_SHARING_VIOLATION
    case 33: // ERROR_LOCK_VIOLATION
        return kInUse;
    case 223: // ERROR_FILE_TOO_LARGE
        return kTooLarge;
    default:
        return QString();
    }
}
} // namespace

QString writeErrorReason(const WriteError &error)
{
    QString s = error.windows ? windowsReason(error.windows) : QString();
    if (s.isEmpty() && error.posix)
        s = posixReason(error.posix);
    if (error.folder && s == kNoPermission)
        return kFolderNotWritable;
    if (!s.isEmpty())
        return s;
    const QString text = error.text.trimmed();
    if (text.isEmpty() || text.compare(QLatin1String("Unknown error"), Qt::CaseInsensitive) == 0)
        return kUnknownError;
    return text;
}

WriteError lastWriteError(const QString &text)
{
    WriteError error;
    error.posix = errno;
#ifdef Q_OS_WIN
    error.windows = GetLastError();
#endif
    error.text = text;
    return error;
}

void clearLastWriteError()
{
    errno = 0;
#ifdef Q_OS_WIN
    SetLastError(0);
#endif
}
