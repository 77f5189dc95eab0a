#include "files/TagFileReader.h"

#include "files/Windows1252.h"
#include "table/RowNumbers.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

namespace {
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isSeparator(char c)
{
    return c == ',' || isLineEnd(c);
}

bool onlyBlanks(const char *p, const char *end)
{
    for (; p != end; ++p)
        if (*p != ' ' && *p != '\t' && !isLineEnd(*p))
            return false;
    return true;
}

class Items {
public:
    Items(const char *begin, const char *end) : m_p(begin), m_end(end) {}

    const char *pos() const { return m_p; }
    // True once an item was given up on for its length.
    bool tooLong() const { return m_tooLong; }
    bool atEnd() const { return m_p == m_end; }

    // The next item; false when the data ends before one is complete or
    // when the item runs past maxLength bytes (one byte is one character).
    // Bounded: a long item is given up on without reading the rest of it.
    bool next(QByteArrayView &item, qsizetype maxLength)
    {
        while (m_p != m_end && *m_p == ' ')
            ++m_p;
        if (m_p == m_end)
            return false;
        if (*m_p == '"') {
            const char *start = m_p + 1;
            const qsizetype span = std::min<qsizetype>(m_end - start, maxLength + 1);
            const auto *close = static_cast<const char *>(std::memchr(start, '"', static_cast<size_t>(span)));
            if (!close) {
                m_tooLong = span > maxLength;
                return false;
            }
            item = QByteArrayView(start, close - start);
            m_p = close + 1;
            while (m_p != m_end && !isSeparator(*m_p))
                ++m_p;
        } else {
            const char *start = m_p;
            while (m_p != m_end && !isSeparator(*m_p))
                ++m_p;
            const char *stop = m_p;
            while (stop != start && stop[-1] == ' ')
                --stop;
            item = QByteArrayView(start, stop - start);
            if (item.size() > maxLength) {
                m_tooLong = true;
                return false;
            }
        }
        skipSeparator();
        return true;
    }

private:
    void skipSeparator()
    {
        if (m_p == m_end)
            return;
        if (*m_p == '\r' && m_p + 1 != m_end && m_p[1] == '\n')
            ++m_p;
        ++m_p;
    }

    const char *m_p;
    const char *m_end;
    bool m_tooLong = false;
};

// The quantity item as a whole number: plain decimal with an optional sign
// and a fraction after a full stop, rounded half to even. 0 for anything
// else; nullopt when the value lies outside the 16-bit range.
std::optional<qint16> quantity(QByteArrayView item)
{
    const char *p = item.data();
    const char *end = p + item.size();
    while (p != end && *p == ' ')
        ++p;
    while (end != p && end[-1] == ' ')
        --end;
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';

    constexpr long kCap = 100000; // beyond the range either way
    long whole = 0;
    int digits = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p, ++digits)
        whole = std::min(kCap, whole * 10 + (*p - '0'));
    int firstFraction = -1; // first digit after the point
    bool restNonZero = false;
    if (p != end && *p == '.') {
        for (++p; p != end && *p >= '0' && *p <= '9'; ++p, ++digits) {
            if (firstFraction < 0)
                firstFraction = *p - '0';
            else if (*p != '0')
                restNonZero = true;
        }
    }
    if (p != end || digits == 0)
        return qint16(0);

    if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1)))
        ++whole;
    const long value = negative ? -whole : whole;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

QString quantityText(qint16 n)
{
    // The shared number texts spare an allocation per row.
    return n >= 0 ? rowNumberText(n) : QString::number(n);
}
} // namespace

TagFileContent readTagFile(QByteArrayView data, int maxRecords, int maxTextLength)
{
    TagFileContent result;
    const char *end = data.data() + data.size();
    Items items(data.data(), end);
    // A record takes at least a few bytes; growing past the guess is fine.
    result.rows.reserve(static_cast<size_t>(std::min<qsizetype>(maxRecords, data.size() / 16)));
    while (!items.atEnd()) {
        const char *recordStart = items.pos();
        QByteArrayView t1, t2, q;
        std::optional<qint16> n;
        // The quantity item has no length limit: only its value counts.
        constexpr qsizetype kUnlimited = std::numeric_limits<qsizetype>::max() - 1;
        if (!items.next(t1, maxTextLength) || !items.next(t2, maxTextLength) || !items.next(q, kUnlimited) ||
            !(n = quantity(q))) {
            result.end = TagFileContent::End::ReadError;
            // A text too long to hold is damage even when it is all blanks.
            result.contentLeft = items.tooLong() || !onlyBlanks(recordStart, end);
            return result;
        }
        // One record more than the list holds: only now is it sure that the
        // rest is more than blank lines or a damaged end.
        if (static_cast<int>(result.rows.size()) >= maxRecords) {
            result.end = TagFileContent::End::ListLimit;
            result.contentLeft = true;
            return result;
        }
        result.rows.push_back({fromWindows1252(t1), fromWindows1252(t2), quantityText(*n)});
    }
    return result;
}
