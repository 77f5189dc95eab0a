#include "edit/RadText.h"

#include "table/TagGrid.h"
#include "table/Tal.h"

#include <algorithm>
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
bool accepted(const std::array<QString, 3> &f)
{
    return (!f[0].isEmpty() || !f[1].isEmpty()) && ledandeVarde(f[2]) > 0;
}
} // namespace

ParsedRows parseRowText(QStringView text, qsizetype maxRows)
{
    ParsedRows out;
    // Every accepted line ends with a CR, so this bounds the row count.
    out.rows.reserve(static_cast<size_t>(std::min(text.count(QLatin1Char('\r')), maxRows + 1)));
    std::array<QString, 3> fields;
    QString current;
    // Field number of the text being gathered; past the third field nothing
    // is stored, so it stops counting at 4 (no 16-bit wrap on long lines).
    int k = 1;
    // Printable characters are copied in runs up to the next control
    // character rather than one by one.
    qsizetype runStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = text[i].unicode();
        if (ch >= 32)
            continue;
        if (k <= 3 && i > runStart) {
            const QStringView run = text.sliced(runStart, i - runStart);
            if (current.isEmpty())
                current = run.toString(); // the usual case: one run, one exact allocation
            else
                current.append(run);
        }
        runStart = i + 1;
        if (ch == u'\t') {
            if (k <= 3) {
                fields[static_cast<size_t>(k - 1)] = std::exchange(current, QString());
                ++k;
            }
        } else if (ch == u'\r') {
            if (k <= 3)
                fields[static_cast<size_t>(k - 1)] = std::exchange(current, QString());
            if (accepted(fields)) {
                if (static_cast<qsizetype>(out.rows.size()) >= maxRows) {
                    out.truncated = true;
                    return out;
                }
                out.rows.push_back(std::move(fields));
            }
            fields = {};
            current = QString();
            k = 1;
        }
    }
    return out;
}
