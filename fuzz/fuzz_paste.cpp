// Paste's reader under libFuzzer: any clipboard text, read as UTF-8, must
// parse without a crash in time linear in its length, and every row it gives
// must pass Paste's test, respect the text limit and read back unchanged from
// its own row text. The same text behind a first field near the text limit
// exercises the limit without inputs of 64 KiB.
#include "base/Numbers.h"
#include "edit/RowText.h"
#include "table/TagGrid.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}

qsizetype lineCount(const QString &text)
{
    return text.count(QLatin1Char('\r')) + text.count(QLatin1Char('\n')) + 1;
}

// What holds for any text's rows.
void checkRows(const QString &text, const ParsedRows &p)
{
    check(!p.truncated);
    check(static_cast<qsizetype>(p.rows.size() + static_cast<size_t>(p.tooLong.size())) <= lineCount(text));
    for (const auto &f : p.rows) {
        check(!f[0].isEmpty() || !f[1].isEmpty());
        check(leadingValue(f[2]) > 0);
        for (const QString &s : f) {
            check(s.size() <= kMaxTextLength);
            for (const QChar ch : s)
                check(ch.unicode() >= 32);
        }
    }
    for (qsizetype i = 0; i < p.tooLong.size(); ++i) {
        check(p.tooLong[i] >= 1 && p.tooLong[i] <= lineCount(text));
        check(i == 0 || p.tooLong[i - 1] < p.tooLong[i]);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ParsedRows all = parseRowText(text, 1 << 20);
    checkRows(text, all);
    // Short texts have no field over the limit.
    check(text.size() > kMaxTextLength || all.tooLong.isEmpty());

    // A limit keeps the first rows and says that more were left.
    const qsizetype half = static_cast<qsizetype>(all.rows.size()) / 2;
    const ParsedRows some = parseRowText(text, half);
    check(static_cast<qsizetype>(some.rows.size()) == half);
    check(some.truncated == (half < static_cast<qsizetype>(all.rows.size())));
    for (qsizetype i = 0; i < half; ++i)
        check(some.rows[static_cast<size_t>(i)] == all.rows[static_cast<size_t>(i)]);

    // Written back as row text and as an HTML table, the rows read back as
    // themselves and every cell's markup is escaped.
    TagGrid grid;
    grid.setCols(4);
    grid.setRows(static_cast<int>(all.rows.size()) + 2);
    for (size_t i = 0; i < all.rows.size(); ++i)
        for (int c = 0; c < 3; ++c)
            grid.setTextAt(static_cast<int>(i) + 1, c + 1, all.rows[i][static_cast<size_t>(c)]);
    const ParsedRows again = parseRowText(rowText(grid, 1, grid.rows() - 2), 1 << 20);
    check(again.rows == all.rows);
    const QString html = rowHtml(grid, 1, grid.rows() - 1);
    check(html.count(QStringLiteral("<tr>")) == static_cast<qsizetype>(all.rows.size()) + 1);
    check(html.count(QStringLiteral("<td>")) == 3 * (static_cast<qsizetype>(all.rows.size()) + 1));

    // The first field grown to just under, at or just over the limit: only
    // the first line can change, gaining a row or moving to the long ones.
    // One input in eight, chosen by its first byte, to keep the runs fast.
    if (size == 0 || data[0] % 8 != 0)
        return 0;
    const qsizetype pad = kMaxTextLength - 3 + data[0] / 8 % 6;
    const QString padded = QString(pad, QLatin1Char('y')) + text;
    const ParsedRows grown = parseRowText(padded, 1 << 20);
    checkRows(padded, grown);
    const auto taken = [](const ParsedRows &p) { return p.rows.size() + static_cast<size_t>(p.tooLong.size()); };
    check(taken(grown) == taken(all) || taken(grown) == taken(all) + 1);
    check(grown.tooLong.size() <= all.tooLong.size() + 1);
    const size_t common = std::min(all.rows.size(), grown.rows.size());
    if (common > 1)
        check(std::equal(all.rows.end() - static_cast<std::ptrdiff_t>(common - 1), all.rows.end(),
                         grown.rows.end() - static_cast<std::ptrdiff_t>(common - 1)));
    return 0;
}
