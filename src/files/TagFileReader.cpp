#include "files/TagFileReader.h"

#include "document/FileStamp.h"
#include "files/Windows1252.h"
#include "table/RowNumbers.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace {
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isSeparator(char c)
{
    return c == ',' || isLineEnd(c);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || isLineEnd(c);
}

// The quantity item as a whole number, taken a piece at a time: blanks
// around it, an optional sign, plain decimal digits and a fraction after a
// full stop, rounded half to even. 0 for anything else; nullopt when the
// value lies outside the 16-bit range.
class Quantity {
public:
    void add(QByteArrayView bytes)
    {
        const char *p = bytes.data();
        const char *const end = p + bytes.size();
        while (p != end) {
            // Digits of the whole part, the common case, in one go.
            if (m_state != State::Fraction && m_state != State::Trail && m_state != State::Bad && isDigit(*p)) {
                do {
                    m_whole = std::min(kCap, m_whole * 10 + (*p - '0'));
                    ++m_digits;
                } while (++p != end && isDigit(*p));
                m_state = State::Whole;
                continue;
            }
            step(*p++);
        }
    }

    std::optional<qint16> value() const
    {
        if (m_state == State::Bad || m_digits == 0)
            return qint16(0);
        long whole = m_whole;
        if (m_firstFraction > 5 || (m_firstFraction == 5 && (m_restNonZero || whole % 2 == 1)))
            ++whole;
        const long value = m_negative ? -whole : whole;
        if (value < -32768 || value > 32767)
            return std::nullopt;
        return static_cast<qint16>(value);
    }

private:
    enum class State { Lead, Sign, Whole, Fraction, Trail, Bad };

    static constexpr long kCap = 100000; // beyond the range either way
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    void step(char c)
    {
        const bool digit = isDigit(c);
        switch (m_state) {
        case State::Lead:
            if (c == ' ')
                return;
            if (c == '-' || c == '+') {
                m_negative = c == '-';
                m_state = State::Sign;
                return;
            }
            [[fallthrough]];
        case State::Sign:
        case State::Whole:
            if (digit) {
                m_whole = std::min(kCap, m_whole * 10 + (c - '0'));
                ++m_digits;
                m_state = State::Whole;
            } else {
                m_state = c == '.' ? State::Fraction : c == ' ' ? State::Trail : State::Bad;
            }
            return;
        case State::Fraction:
            if (digit) {
                ++m_digits;
                if (m_firstFraction < 0)
                    m_firstFraction = c - '0';
                else if (c != '0')
                    m_restNonZero = true;
            } else {
                m_state = c == ' ' ? State::Trail : State::Bad;
            }
            return;
        case State::Trail:
            if (c != ' ')
                m_state = State::Bad;
            return;
        case State::Bad:
            return;
        }
    }

    State m_state = State::Lead;
    bool m_negative = false;
    long m_whole = 0;
    int m_digits = 0;
    int m_firstFraction = -1; // first digit after the point
    bool m_restNonZero = false;
};

// Collects a text item, from one piece or several, and decodes it. An
// unquoted item loses its trailing blanks; those at the end of a piece are
// only counted until text follows them, so no run of blanks is kept.
class Text {
public:
    // Decodes into text.
    Text(QString &text, qsizetype maxLength) : m_text(text), m_max(maxLength) {}

    // Bytes still allowed.
    qsizetype room() const { return m_max - m_kept.size() - m_blanks; }
    // False when the item passes the limit. The last piece decodes the item.
    // An unquoted item is trimmed.
    Q_ALWAYS_INLINE bool add(QByteArrayView bytes, bool last, bool trimmed)
    {
        qsizetype keep = bytes.size();
        if (trimmed)
            while (keep > 0 && bytes[keep - 1] == ' ')
                --keep;
        if (keep > 0) {
            if (keep > room())
                return false;
            if (last && m_kept.isEmpty() && m_blanks == 0) {
                m_text = fromWindows1252(bytes.first(keep));
                return true;
            }
            m_kept.append(m_blanks, ' ');
            m_kept.append(bytes.first(keep));
            m_blanks = 0;
        }
        m_blanks += bytes.size() - keep;
        if (last)
            m_text = fromWindows1252(m_kept);
        return true;
    }

private:
    QString &m_text;
    qsizetype m_max;
    QByteArray m_kept;
    qsizetype m_blanks = 0;
};

// The quantity item has no length limit: only its value counts.
class QuantityItem {
public:
    static qsizetype room() { return std::numeric_limits<qsizetype>::max() - 1; }
    bool add(QByteArrayView bytes, bool, bool) { return quantity.add(bytes), true; }
    Quantity quantity;
};

class Items {
public:
    enum class Result { Ok, End, TooLong };

    explicit Items(ByteSource &source) : m_source(source) {}

    bool atEnd() { return !more(); }
    // Starts a record: whether it shows anything but blanks and line ends
    // is told when the reading stops inside it.
    void beginRecord() { m_content = false; }
    bool recordHasContent() const { return m_content; }

    // The next item into the sink (a Text or a QuantityItem): End when the
    // data ends before it is complete, TooLong when it runs past what the
    // sink may hold. Bounded: a long item is given up on without reading
    // the rest of it.
    template <typename Sink> Q_ALWAYS_INLINE Result next(Sink &sink)
    {
        while (more() && *m_p == ' ')
            ++m_p;
        if (!more())
            return Result::End;
        const Result r = *m_p == '"' ? quoted(sink) : unquoted(sink);
        if (r == Result::Ok)
            skipSeparator();
        return r;
    }

private:
    bool more()
    {
        if (m_p != m_end)
            return true;
        if (m_ended)
            return false;
        const QByteArrayView piece = m_source.next();
        m_p = piece.data();
        m_end = m_p + piece.size();
        m_ended = piece.isEmpty();
        return !m_ended;
    }

    template <typename Sink> Q_ALWAYS_INLINE Result quoted(Sink &sink)
    {
        m_content = true;
        ++m_p;
        for (;;) {
            if (!more())
                return Result::End;
            // The closing quote may lie one byte past what the item may hold.
            const qsizetype span = std::min<qsizetype>(m_end - m_p, sink.room() + 1);
            const auto *close = static_cast<const char *>(std::memchr(m_p, '"', static_cast<size_t>(span)));
            if (close) {
                sink.add(QByteArrayView(m_p, close), true, false);
                m_p = close + 1;
                break;
            }
            if (span > sink.room())
                return Result::TooLong;
            sink.add(QByteArrayView(m_p, m_end), false, false);
            m_p = m_end;
        }
        // Whatever follows the closing quote up to the next separator.
        while (more()) {
            const char *p = m_p;
            while (p != m_end && !isSeparator(*p))
                ++p;
            m_p = p;
            if (p != m_end)
                break;
        }
        return Result::Ok;
    }

    template <typename Sink> Q_ALWAYS_INLINE Result unquoted(Sink &sink)
    {
        for (;;) {
            if (!more()) {
                sink.add(QByteArrayView(), true, true); // the end of the data ends the item
                return Result::Ok;
            }
            const char *p = m_p;
            while (p != m_end && !isSeparator(*p))
                ++p;
            if (!m_content)
                m_content = std::any_of(m_p, p, [](char c) { return !isBlank(c); });
            const bool last = p != m_end;
            if (!sink.add(QByteArrayView(m_p, p), last, true))
                return Result::TooLong;
            m_p = p;
            if (last)
                return Result::Ok;
        }
    }

    void skipSeparator()
    {
        if (!more())
            return;
        const char c = *m_p++;
        // A comma is no blank: a record of commas is no blank line.
        m_content = m_content || c == ',';
        if (c == '\r' && more() && *m_p == '\n')
            ++m_p;
    }

    ByteSource &m_source;
    const char *m_p = nullptr;
    const char *m_end = nullptr;
    bool m_ended = false;
    bool m_content = false;
};

QString quantityText(qint16 n)
{
    // The shared number texts spare an allocation per row.
    return n >= 0 ? rowNumberText(n) : QString::number(n);
}

// All the bytes as one piece.
class WholeView : public ByteSource {
public:
    explicit WholeView(QByteArrayView data) : m_data(data) {}
    QByteArrayView next() override { return std::exchange(m_data, QByteArrayView()); }
    qint64 sizeHint() const override { return m_data.size(); }

private:
    QByteArrayView m_data;
};

// A device read a piece at a time into one buffer.
class DeviceSource : public ByteSource {
public:
    DeviceSource(QIODevice &device, ContentHash *hash, qint64 maxBytes)
        : m_device(device), m_hash(hash), m_left(maxBytes)
    {
    }

    QByteArrayView next() override
    {
        if (m_failed)
            return {};
        if (m_left <= 0) {
            // One byte more tells a file that goes on past the cap.
            char c;
            m_failed = m_device.read(&c, 1) != 0;
            return {};
        }
        constexpr qint64 kPiece = qint64(1) << 20;
        qint64 want = std::min(kPiece, m_left);
        // A small file gets a small buffer; one byte more finds its end.
        if (!m_device.isSequential())
            want = std::clamp<qint64>(m_device.size() - m_device.pos() + 1, 1, want);
        m_buffer.resize(want);
        const qint64 got = m_device.read(m_buffer.data(), want);
        if (got <= 0) {
            m_failed = got < 0;
            return {};
        }
        m_left -= got;
        const QByteArrayView piece(m_buffer.constData(), got);
        if (m_hash)
            m_hash->add(piece);
        return piece;
    }

    qint64 sizeHint() const override
    {
        return m_device.isSequential() ? -1 : std::min(m_left, m_device.size() - m_device.pos());
    }

    // The device failed, or had more than the cap.
    bool failed() const { return m_failed; }

private:
    QIODevice &m_device;
    ContentHash *m_hash;
    qint64 m_left;
    QByteArray m_buffer;
    bool m_failed = false;
};
} // namespace

TagFileContent readTagFile(ByteSource &source, int maxRecords, int maxTextLength)
{
    TagFileContent result;
    // A record takes at least a few bytes; growing past the guess is fine.
    result.rows.reserve(static_cast<size_t>(std::clamp<qint64>(source.sizeHint() / 16, 0, maxRecords) + 1));
    Items items(source);
    while (!items.atEnd()) {
        items.beginRecord();
        // Decoded straight into its row, which goes again should the record
        // not be one.
        std::array<QString, 3> &row = result.rows.emplace_back();
        Text t1(row[0], maxTextLength), t2(row[1], maxTextLength);
        QuantityItem q;
        Items::Result r = items.next(t1);
        if (r == Items::Result::Ok)
            r = items.next(t2);
        if (r == Items::Result::Ok)
            r = items.next(q);
        std::optional<qint16> n;
        if (r == Items::Result::Ok)
            n = q.quantity.value();
        if (!n) {
            result.rows.pop_back();
            result.end = TagFileContent::End::ReadError;
            // A text too long to hold is damage even when it is all blanks;
            // a quantity out of range is no blank.
            result.contentLeft = r != Items::Result::End || items.recordHasContent();
            return result;
        }
        // One record more than the list holds: only now is it sure that the
        // rest is more than blank lines or a damaged end.
        if (static_cast<int>(result.rows.size()) > maxRecords) {
            result.rows.pop_back();
            result.end = TagFileContent::End::ListLimit;
            result.contentLeft = true;
            return result;
        }
        row[2] = quantityText(*n);
    }
    return result;
}

TagFileContent readTagFile(QByteArrayView data, int maxRecords, int maxTextLength)
{
    WholeView source(data);
    return readTagFile(source, maxRecords, maxTextLength);
}

TagFileContent readTagFile(QIODevice &device, int maxRecords, ContentHash *hash, qint64 maxBytes)
{
    DeviceSource source(device, hash, maxBytes);
    TagFileContent content = readTagFile(source, maxRecords);
    if (source.failed()) {
        if (content.end == TagFileContent::End::Complete)
            content.end = TagFileContent::End::ReadError;
        if (content.end == TagFileContent::End::ReadError)
            content.contentLeft = true;
    }
    return content;
}
