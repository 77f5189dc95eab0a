#include "table/RowNumbers.h"

#include "table/TagGrid.h"

#include <vector>

QString rowNumberText(int row)
{
    constexpr int kShared = 32767;
    // Made on first use (thread-safe) and never changed after.
    static const std::vector<QString> shared = [] {
        std::vector<QString> v;
        v.reserve(kShared + 1);
        for (int i = 0; i <= kShared; ++i)
            v.push_back(QString::number(i));
        return v;
    }();
    if (row < 0 || row > kShared)
        return QString::number(row);
    return shared[static_cast<size_t>(row)];
}

qint16 toRowIndex(int row)
{
    if (row < -32768 || row > 32767)
        throw TagGrid::Error("Radnumret ryms inte i 16 bitar");
    return static_cast<qint16>(row);
}
