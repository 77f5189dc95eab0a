#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QtGlobal>

#include <algorithm>

// The tag file as this program last read or wrote it, to tell when another
// program has changed or replaced it since. Size and time alone miss a
// same-size change whose time was put back or that a coarse clock (FAT,
// network shares) cannot show; the content's hash catches those. Open stops
// where the list stops, so the hash covers the first hashedBytes bytes.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    quint64 contentHash = 0;
    qint64 hashedBytes = 0;
    bool operator==(const FileStamp &) const = default;
};

// A hash of a file's bytes for FileStamp, taken piece by piece as the bytes
// are read or written: the same bytes give the same hash however they were
// cut. It guards against other programs' changes, not against an attacker,
// so a fast 64-bit hash will do (a chance of 2^-64 to miss a change): a
// cryptographic one takes several times longer on a full list. The stamp
// lives only in memory and in this user's recovery copy, so the hash need
// not be the same across Qt versions.
class ContentHash {
public:
    void add(QByteArrayView bytes)
    {
        m_bytes += bytes.size();
        if (!m_partial.isEmpty()) {
            const qsizetype take = std::min(kBlock - m_partial.size(), bytes.size());
            m_partial.append(bytes.first(take));
            bytes = bytes.sliced(take);
            if (m_partial.size() < kBlock)
                return;
            m_hash = mix(m_partial, m_hash);
            m_partial.clear();
        }
        // Whole blocks straight from the caller's bytes; a tail waits for
        // the next piece.
        while (bytes.size() >= kBlock) {
            m_hash = mix(bytes.first(kBlock), m_hash);
            bytes = bytes.sliced(kBlock);
        }
        m_partial.append(bytes);
    }
    quint64 value() const { return m_partial.isEmpty() ? m_hash : mix(m_partial, m_hash); }
    qint64 bytes() const { return m_bytes; }

private:
    static constexpr qsizetype kBlock = qsizetype(1) << 16;
    static quint64 mix(QByteArrayView block, quint64 seed)
    {
        if constexpr (sizeof(size_t) >= sizeof(quint64))
            return qHash(block, size_t(seed));
        // Where size_t has 32 bits, two seeds make up the 64.
        return (quint64(qHash(block, size_t(seed))) << 32) | quint64(qHash(block, size_t(seed >> 32) ^ 1u));
    }

    quint64 m_hash = 0;
    qint64 m_bytes = 0;
    QByteArray m_partial;
};

inline quint64 contentHash(QByteArrayView bytes)
{
    ContentHash h;
    h.add(bytes);
    return h.value();
}
