// The tag file reader under libFuzzer: any bytes must read without a crash,
// within the data and in time linear in its length; every row must have the
// table's shape and a 16-bit quantity; a smaller limit must give the first
// rows of the same reading; a text limit must give the rows before the first
// longer text, and stop there; and rows written back must read back the same.
#include "files/TaggfilLasare.h"
#include "files/TaggfilSkrivare.h"
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

    const Lasning all = lasTaggfil(bytes, kMax);
    check(all.slut != Lasning::Slut::Listgrans);
    check(all.slut != Lasning::Slut::Filslut || !all.innehallKvar);
    std::vector<QStringList> rows;
    for (const auto &r : all.rader) {
        bool ok = false;
        const int n = r[2].toInt(&ok);
        check(ok && n >= -32768 && n <= 32767 && r[2] == QString::number(n));
        rows.push_back({QString(), r[0], r[1], r[2]});
    }

    // The inputs stay far below the real text limit; a small one, taken from
    // the data, walks the same path.
    const int limit = size ? data[0] % 64 : 0;
    const Lasning capped = lasTaggfil(bytes, kMax, limit);
    check(capped.rader.size() <= all.rader.size());
    for (size_t i = 0; i < capped.rader.size(); ++i)
        check(capped.rader[i] == all.rader[i]);
    size_t firstLong = all.rader.size();
    for (size_t i = 0; i < all.rader.size() && firstLong == all.rader.size(); ++i)
        if (all.rader[i][0].size() > limit || all.rader[i][1].size() > limit)
            firstLong = i;
    if (firstLong < all.rader.size()) {
        check(capped.rader.size() == firstLong);
        check(capped.slut == Lasning::Slut::Lasfel && capped.innehallKvar);
    } else {
        check(capped.rader.size() == all.rader.size() && capped.slut == all.slut);
        // An unfinished last record with a long text is damage either way.
        check(!all.innehallKvar || capped.innehallKvar);
    }

    const int half = static_cast<int>(all.rader.size() / 2);
    const Lasning some = lasTaggfil(bytes, half);
    check(static_cast<int>(some.rader.size()) == half);
    for (int i = 0; i < half; ++i)
        check(some.rader[static_cast<size_t>(i)] == all.rader[static_cast<size_t>(i)]);
    if (half < static_cast<int>(all.rader.size()))
        check(some.slut == Lasning::Slut::Listgrans && some.innehallKvar);

    TagGrid grid;
    grid.setCols(4);
    grid.setRows(2);
    grid.insertRows(1, rows);
    const Taggfil written = skrivTaggfil(grid);
    check(written.utanAntal.isEmpty());
    if (written.andradeTecken.isEmpty()) {
        const Lasning again = lasTaggfil(written.bytes, kMax);
        check(again.slut == Lasning::Slut::Filslut);
        check(again.rader.size() == all.rader.size());
        for (size_t i = 0; i < all.rader.size(); ++i)
            for (size_t c = 0; c < 3; ++c) {
                const QString &before = all.rader[i][c];
                check(again.rader[i][c] == (before.isEmpty() ? QStringLiteral(" ") : before));
            }
    }
    return 0;
}
