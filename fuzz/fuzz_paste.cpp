// Paste's reader under libFuzzer: any clipboard text, read as UTF-8, must
// parse without a crash in time linear in its length, and every row it gives
// must pass Paste's test and read back unchanged from its own row text.
#include "edit/RadText.h"
#include "table/TagGrid.h"
#include "table/Tal.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ParsedRows all = parseRowText(text, 1 << 20);
    check(!all.truncated);
    check(static_cast<qsizetype>(all.rows.size()) <= text.count(QLatin1Char('\r')));
    for (const auto &f : all.rows) {
        check(!f[0].isEmpty() || !f[1].isEmpty());
        check(ledandeVarde(f[2]) > 0);
        for (const QString &s : f)
            for (const QChar ch : s)
                check(ch.unicode() >= 32);
    }

    // A limit keeps the first rows and says that more were left.
    const qsizetype half = static_cast<qsizetype>(all.rows.size()) / 2;
    const ParsedRows some = parseRowText(text, half);
    check(static_cast<qsizetype>(some.rows.size()) == half);
    check(some.truncated == (half < static_cast<qsizetype>(all.rows.size())));
    for (qsizetype i = 0; i < half; ++i)
        check(some.rows[static_cast<size_t>(i)] == all.rows[static_cast<size_t>(i)]);

    // Written back as row text, the rows read back as themselves.
    TagGrid grid;
    grid.setCols(4);
    grid.setRows(static_cast<int>(all.rows.size()) + 2);
    for (size_t i = 0; i < all.rows.size(); ++i)
        for (int c = 0; c < 3; ++c)
            grid.setTextAt(static_cast<int>(i) + 1, c + 1, all.rows[i][static_cast<size_t>(c)]);
    const ParsedRows again = parseRowText(rowText(grid, 1, grid.rows() - 2), 1 << 20);
    check(again.rows == all.rows);
    return 0;
}
