#include "files/TaggfilSkrivare.h"

#include "files/Antal.h"
#include "files/Windows1252.h"
#include "table/TagGrid.h"

namespace {
// Writes one quoted text; false when it will not read back as it stands.
bool appendText(QByteArray &out, const QString &text)
{
    out.append('"');
    bool faithful = true;
    if (text.isEmpty())
        out.append(' ');
    else
        faithful = appendWindows1252(out, text) && !text.contains(QLatin1Char('"'));
    out.append('"');
    return faithful;
}
} // namespace

Taggfil skrivTaggfil(const TagGrid &grid)
{
    Taggfil f;
    const int last = grid.rows() - 2;
    if (last < 1)
        return f;
    qsizetype estimate = 0;
    for (int r = 1; r <= last; ++r)
        estimate += grid.textAt(r, 1).size() + grid.textAt(r, 2).size() + 16;
    f.bytes.reserve(estimate);

    for (int r = 1; r <= last; ++r) {
        const std::optional<qint16> n = konverteraAntal(grid.textAt(r, 3));
        if (!n) {
            f.utanAntal << r;
            continue;
        }
        bool faithful = appendText(f.bytes, grid.textAt(r, 1));
        f.bytes.append(',');
        faithful = appendText(f.bytes, grid.textAt(r, 2)) && faithful;
        f.bytes.append(',');
        f.bytes.append(QByteArray::number(*n));
        f.bytes.append("\r\n", 2);
        if (!faithful)
            f.andradeTecken << r;
    }
    return f;
}
