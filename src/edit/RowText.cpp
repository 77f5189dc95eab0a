#include "edit/RowText.h"

#include "base/Numbers.h"
#include "table/TagGrid.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

QString rowText(const TagGrid &grid, int first, int last)
{
    // Measure first so that a whole list is built with one allocation.
    qsizetype length = 0;
    for (int r = first; r <= last; ++r)
        length += grid.textAt(r, 1).size() + grid.textAt(r, 2).size() + grid.textAt(r, 3).size() + 4;
    QString t;
    t.reserve(length);
    for (int r = first; r <= last; ++r) {
        t += grid.textAt(r, 1);
        t += QLatin1Char('\t');
        t += grid.textAt(r, 2);
        t += QLatin1Char('\t');
        t += grid.textAt(r, 3);
        t += QLatin1String("\r\n");
    }
    return t;
}

namespace {
// The characters that would read as markup; the rest goes as it stands.
void appendEscaped(QString &out, const QString &s)
{
    const QChar *p = s.constData();
    const qsizetype n = s.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char *entity = nullptr;
        switch (p[i].unicode()) {
        case u'&':
            entity = "&amp;";
            break;
        case u'<':
            entity = "&lt;";
            break;
        case u'>':
            entity = "&gt;";
            break;
        case u'"':
            entity = "&quot;";
            break;
        default:
            continue;
        }
        out.append(p + start, i - start);
        out += QLatin1String(entity);
        start = i + 1;
    }
    out.append(p + start, n - start);
}
} // namespace

QString rowHtml(const TagGrid &grid, int first, int last)
{
    if (last < first)
        return QString();
    // The charset is named because spreadsheets otherwise read the bytes in
    // their own default encoding and break the Swedish letters.
    const QLatin1String head("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=utf-8\"></head><body><table>\n");
    const QLatin1String tail("</table></body></html>\n");
    const QLatin1String rowStart("<tr><td>"), cellBreak("</td><td>"), rowEnd("</td></tr>\n");
    qsizetype length = head.size() + tail.size();
    for (int r = first; r <= last; ++r)
        length += grid.textAt(r, 1).size() + grid.textAt(r, 2).size() + grid.textAt(r, 3).size() + rowStart.size() +
                  2 * cellBreak.size() + rowEnd.size();
    QString h;
    h.reserve(length); // grows only when something had to be escaped
    h += head;
    for (int r = first; r <= last; ++r) {
        h += rowStart;
        appendEscaped(h, grid.textAt(r, 1));
        h += cellBreak;
        appendEscaped(h, grid.textAt(r, 2));
        h += cellBreak;
        appendEscaped(h, grid.textAt(r, 3));
        h += rowEnd;
    }
    h += tail;
    return h;
}

namespace {
// RTF is 7-bit: the group and escape characters get a backslash, everything
// outside printable ASCII goes as the control word "\\uN?" (N the UTF-16 unit
// as a signed 16-bit number, "?" for readers that do not know it).
bool plainRtf(char16_t u)
{
    return u >= 0x20 && u < 0x7f && u != u'\\' && u != u'{' && u != u'}';
}

// Room the text takes at most: one byte a plain character, nine otherwise.
qsizetype rtfBound(QStringView s)
{
    qsizetype n = s.size();
    for (const QChar ch : s)
        if (!plainRtf(ch.unicode()))
            n += 8;
    return n;
}

char *putRtf(char *out, QStringView s)
{
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        if (plainRtf(u)) {
            *out++ = static_cast<char>(u);
        } else if (u == u'\\' || u == u'{' || u == u'}') {
            *out++ = '\\';
            *out++ = static_cast<char>(u);
        } else {
            *out++ = '\\';
            *out++ = 'u';
            out = std::to_chars(out, out + 6, static_cast<qint16>(u)).ptr;
            *out++ = '?';
        }
    }
    return out;
}

char *put(char *out, std::string_view s)
{
    return std::copy(s.begin(), s.end(), out);
}
} // namespace

QByteArray rtfTable(QStringView rowText)
{
    // 10 pt in Liberation Sans, as a new sheet's cells in LibreOffice Calc;
    // without a font table Calc takes its serif default for RTF. Not Arial:
    // Calc would show that name (drawn by a stand-in) beside cells in
    // Liberation Sans. \\fswiss asks for a sans where the font is missing.
    constexpr std::string_view head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Liberation Sans;}}\\f0\\fs20\n",
                               tail = "}\n";
    constexpr std::string_view rowStart = "\\trowd\\cellx1000\\cellx2000\\cellx3000\n\\intbl ";
    constexpr std::string_view cellBreak = "\\cell ", rowEnd = "\\cell\\row\n";
    const QLatin1String lineEnd("\r\n");
    if (rowText.isEmpty())
        return QByteArray();
    QByteArray r(head.size() + tail.size() + rtfBound(rowText) +
                     rowText.count(lineEnd) * (rowStart.size() + rowEnd.size()) +
                     rowText.count(QLatin1Char('\t')) * cellBreak.size(),
                 Qt::Uninitialized);
    char *out = put(r.data(), head);
    for (qsizetype from = 0; from < rowText.size();) {
        qsizetype to = rowText.indexOf(lineEnd, from);
        if (to < 0)
            to = rowText.size();
        out = put(out, rowStart);
        const QStringView line = rowText.sliced(from, to - from);
        qsizetype cell = 0;
        for (qsizetype tab; (tab = line.indexOf(QLatin1Char('\t'), cell)) >= 0; cell = tab + 1) {
            out = putRtf(out, line.sliced(cell, tab - cell));
            out = put(out, cellBreak);
        }
        out = putRtf(out, line.sliced(cell));
        out = put(out, rowEnd);
        from = to + lineEnd.size();
    }
    out = put(out, tail);
    r.truncate(out - r.constData());
    return r;
}

namespace {
bool accepted(const std::array<QString, 3> &f)
{
    return (!f[0].isEmpty() || !f[1].isEmpty()) && leadingValue(f[2]) > 0;
}
} // namespace

ParsedRows parseRowText(QStringView text, qsizetype maxRows)
{
    ParsedRows out;
    const qsizetype n = text.size();
    // Every line ends at a CR, an LF or the end of the text, so this bounds
    // the row count.
    const qsizetype lineEnds = text.count(QLatin1Char('\r')) + text.count(QLatin1Char('\n')) + 1;
    out.rows.reserve(static_cast<size_t>(std::min(lineEnds, maxRows + 1)));

    std::array<QString, 3> fields;
    QString current;
    // Field number of the text being gathered; past the third field nothing
    // is stored, so it stops counting at 4 (no 16-bit wrap on long lines).
    int k = 1;
    qsizetype line = 1;
    bool lineTooLong = false;
    // Printable characters are copied in runs up to the next control
    // character rather than one by one.
    qsizetype runStart = 0;
    qsizetype lineStart = 0;

    // A field keeps at most one character past the limit: enough to know it
    // is too long and to test the line as Paste would, without copying a
    // huge field whole.
    const auto gather = [&](qsizetype end) {
        const qsizetype room = kMaxTextLength + 1 - current.size();
        if (k > 3 || end <= runStart || room <= 0)
            return;
        const QStringView run = text.sliced(runStart, std::min(end - runStart, room));
        if (current.isEmpty())
            current = run.toString(); // the usual case: one run, one exact allocation
        else
            current.append(run);
    };
    const auto store = [&] {
        QString &f = fields[static_cast<size_t>(k - 1)];
        f = std::exchange(current, QString());
        if (f.size() > kMaxTextLength)
            lineTooLong = true;
    };
    // False when an accepted line found no more room.
    const auto endLine = [&] {
        if (k <= 3)
            store();
        if (accepted(fields)) {
            if (lineTooLong) {
                out.tooLong.push_back(line);
            } else if (static_cast<qsizetype>(out.rows.size()) >= maxRows) {
                out.truncated = true;
                return false;
            } else {
                out.rows.push_back(std::move(fields));
            }
        }
        fields = {};
        current = QString();
        k = 1;
        lineTooLong = false;
        ++line;
        return true;
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = text[i].unicode();
        if (ch >= 32)
            continue;
        gather(i);
        runStart = i + 1;
        if (ch == u'\t') {
            if (k <= 3) {
                store();
                ++k;
            }
        } else if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < n && text[i + 1].unicode() == u'\n')
                runStart = ++i + 1; // CR LF is one line end
            if (!endLine())
                return out;
            lineStart = runStart;
        }
    }
    // The end of the text ends a line that has begun.
    gather(n);
    if (lineStart < n)
        endLine();
    return out;
}
