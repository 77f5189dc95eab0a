#include "files/Skrivfel.h"

#include <cerrno>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {
const QString kBehorighet = QStringLiteral("Du har inte behörighet att skriva filen.");
const QString kSkrivskyddad = QStringLiteral("Enheten är skrivskyddad.");
const QString kFull = QStringLiteral("Det finns inte plats på disken.");
const QString kKvot = QStringLiteral("Ditt diskutrymme (kvot) är slut.");
const QString kMappSaknas = QStringLiteral("Mappen finns inte.");
const QString kAnvands = QStringLiteral("Filen används av ett annat program.");
const QString kMapp = QStringLiteral("Det finns en mapp med det namnet.");
const QString kForStor = QStringLiteral("Filen blir för stor för enheten.");
const QString kOkant = QStringLiteral("Okänt fel vid skrivning");

QString posixOrsak(int e)
{
    // Names that a platform lacks (MinGW has no EDQUOT) are left out there.
    switch (e) {
    case EACCES:
    case EPERM:
        return kBehorighet;
#ifdef EROFS
    case EROFS:
        return kSkrivskyddad;
#endif
    case ENOSPC:
        return kFull;
#ifdef EDQUOT
    case EDQUOT:
        return kKvot;
#endif
    case ENOENT:
    case ENOTDIR:
        return kMappSaknas;
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return kAnvands;
    case EISDIR:
        return kMapp;
    case EFBIG:
        return kForStor;
    default:
        return QString();
    }
}

QString windowsOrsak(unsigned long e)
{
    // The codes of winerror.h, spelled out so that the table reads the same
    // on every platform.
    switch (e) {
    case 5: // ERROR_ACCESS_DENIED
        return kBehorighet;
    case 19: // ERROR_WRITE_PROTECT
        return kSkrivskyddad;
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return kFull;
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED
        return kKvot;
    case 2: // ERROR_FILE_NOT_FOUND
    case 3: // ERROR_PATH_NOT_FOUND
        return kMappSaknas;
    case 32: // ERROR_SHARING_VIOLATION
    case 33: // ERROR_LOCK_VIOLATION
        return kAnvands;
    case 223: // ERROR_FILE_TOO_LARGE
        return kForStor;
    default:
        return QString();
    }
}
} // namespace

QString skrivfelOrsak(const Skrivfel &fel)
{
    QString s = fel.windows ? windowsOrsak(fel.windows) : QString();
    if (s.isEmpty() && fel.posix)
        s = posixOrsak(fel.posix);
    if (!s.isEmpty())
        return s;
    const QString text = fel.text.trimmed();
    if (text.isEmpty() || text.compare(QLatin1String("Unknown error"), Qt::CaseInsensitive) == 0)
        return kOkant;
    return text;
}

Skrivfel senasteSkrivfel(const QString &text)
{
    Skrivfel fel;
    fel.posix = errno;
#ifdef Q_OS_WIN
    fel.windows = GetLastError();
#endif
    fel.text = text;
    return fel;
}

void nollstallSkrivfel()
{
    errno = 0;
#ifdef Q_OS_WIN
    SetLastError(0);
#endif
}
