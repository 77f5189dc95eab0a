#include "files/TagFileWriter.h"

#include "base/Numbers.h"
#include "files/Windows1252.h"
#include "table/TagGrid.h"

#include <charconv>

namespace {
// Writes into a buffer sized beforehand: a record takes at most one byte per
// UTF-16 unit of its texts plus kRecordBytes.
constexpr qsizetype kRecordBytes = 2 * 3 + 2 + 6 + 2; // quotes and blanks, commas, -32768, CR LF

char *putText(char *out, const QString &text, bool &faithful)
{
    *out++ = '"';
    if (text.isEmpty()) {
        *out++ = ' ';
    } else {
        out = encodeWindows1252(text, out, faithful);
        if (faithful && text.contains(QLatin1Char('"')))
            faithful = false;
    }
    *out++ = '"';
    return out;
}

char *putNumber(char *out, qint16 n)
{
    // The buffer has room for "-32768".
    return std::to_chars(out, out + 6, n).ptr;
}
} // namespace

TagFileBytes writeTagFile(const TagGrid &grid)
{
    TagFileBytes f;
    const int last = grid.rows() - 2;
    if (last < 1)
        return f;
    qsizetype capacity = 0;
    for (int r = 1; r <= last; ++r)
        capacity += grid.textAt(r, 1).size() + grid.textAt(r, 2).size() + kRecordBytes;
    f.bytes.resize(capacity);
    char *const begin = f.bytes.data();
    char *out = begin;

    for (int r = 1; r <= last; ++r) {
        const std::optional<qint16> n = convertQuantity(grid.textAt(r, 3));
        if (!n) {
            f.withoutQuantity << r;
            continue;
        }
        bool faithful1 = true, faithful2 = true;
        out = putText(out, grid.textAt(r, 1), faithful1);
        *out++ = ',';
        out = putText(out, grid.textAt(r, 2), faithful2);
        *out++ = ',';
        out = putNumber(out, *n);
        *out++ = '\r';
        *out++ = '\n';
        if (!faithful1 || !faithful2)
            f.changedCharacters << r;
    }
    f.bytes.truncate(out - begin);
    return f;
}
