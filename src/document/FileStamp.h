#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QtGlobal>

// The tag file as this program last read or wrote it, to tell when another
// program has changed or replaced it since. Size and time alone miss a
// same-size change whose time was put back or that a coarse clock (FAT,
// network shares) cannot show; the content's hash catches those.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    quint64 contentHash = 0;
    bool operator==(const FileStamp &) const = default;
};

// A hash of a file's bytes for FileStamp. It guards against other programs'
// changes, not against an attacker, so a fast 64-bit hash will do (a chance
// of 2^-64 to miss a change): a cryptographic one takes several times longer
// on a full list. The stamp lives only in memory, so the hash need not be
// the same across Qt versions or runs.
inline quint64 contentHash(QByteArrayView bytes)
{
    if constexpr (sizeof(size_t) >= sizeof(quint64))
        return qHash(bytes, 0);
    // Where size_t has 32 bits, two seeds make up the 64.
    return (quint64(qHash(bytes, 1)) << 32) | quint64(qHash(bytes, 2));
}
