// The tag file reader under libFuzzer: any bytes must read without a crash,
// within the data and in time linear in its length; the same bytes cut into
// pieces (as a file is read) must read the same; every row must have the
// table's shape and a 16-bit quantity; a smaller limit must give the first
// rows of the same reading; a text limit must give the rows before the first
// longer text, and stop there; and rows written back must read back the same.
#include "Pieces.h"
#include "files/TagFileReader.h"
#include "files/TagFileWriter.h"
#include "files/Windows1252.h"
#include "table/TagGrid.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}

constexpr int kMax = 1 << 20;

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    bool faithful = true;
    out.truncate(encodeWindows1252(text, out.data(), faithful) - out.data());
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    check(encode(fromWindows1252(bytes)) == bytes);

    const TagFileContent all = readTagFile(bytes, kMax);
    check(all.end != TagFileContent::End::ListLimit);
    Pieces pieces(bytes, size ? 1 + data[size - 1] % 13 : 1);
    const TagFileContent cut = readTagFile(pieces, kMax);
    check(cut.rows == all.rows && cut.end == all.end && cut.contentLeft == all.contentLeft);
    check(all.end != TagFileContent::End::Complete || !all.contentLeft);
    std::vector<QStringList> rows;
    for (const auto &r : all.rows) {
        bool ok = false;
        const int n = r[2].toInt(&ok);
        check(ok && n >= -32768 && n <= 32767 && r[2] == QString::number(n));
        rows.push_back({QString(), r[0], r[1], r[2]});
    }

    // The inputs stay far below the real text limit; a small one, taken from
    // the data, walks the same path.
    const int limit = size ? data[0] % 64 : 0;
    const TagFileContent capped = readTagFile(bytes, kMax, limit);
    check(capped.rows.size() <= all.rows.size());
    for (size_t i = 0; i < capped.rows.size(); ++i)
        check(capped.rows[i] == all.rows[i]);
    size_t firstLong = all.rows.size();
    for (size_t i = 0; i < all.rows.size() && firstLong == all.rows.size(); ++i)
        if (all.rows[i][0].size() > limit || all.rows[i][1].size() > limit)
            firstLong = i;
    if (firstLong < all.rows.size()) {
        check(capped.rows.size() == firstLong);
        check(capped.end == TagFileContent::End::ReadError && capped.contentLeft);
    } else {
        check(capped.rows.size() == all.rows.size() && capped.end == all.end);
        // An unfinished last record with a long text is damage either way.
        check(!all.contentLeft || capped.contentLeft);
    }

    const int half = static_cast<int>(all.rows.size() / 2);
    const TagFileContent some = readTagFile(bytes, half);
    check(static_cast<int>(some.rows.size()) == half);
    for (int i = 0; i < half; ++i)
        check(some.rows[static_cast<size_t>(i)] == all.rows[static_cast<size_t>(i)]);
    if (half < static_cast<int>(all.rows.size()))
        check(some.end == TagFileContent::End::ListLimit && some.contentLeft);

    TagGrid grid;
    grid.setCols(4);
    grid.setRows(2);
    grid.insertRows(1, rows);
    const TagFileBytes written = writeTagFile(grid);
    check(written.withoutQuantity.isEmpty());
    if (written.changedCharacters.isEmpty()) {
        const TagFileContent again = readTagFile(written.bytes, kMax);
        check(again.end == TagFileContent::End::Complete);
        check(again.rows.size() == all.rows.size());
        for (size_t i = 0; i < all.rows.size(); ++i)
            for (size_t c = 0; c < 3; ++c) {
                const QString &before = all.rows[i][c];
                check(again.rows[i][c] == (before.isEmpty() ? QStringLiteral(" ") : before));
            }
    }
    return 0;
}
