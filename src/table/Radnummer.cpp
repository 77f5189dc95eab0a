#include "table/Radnummer.h"

#include "table/TagGrid.h"

#include <vector>

const QString &radnummer(int row)
{
    static std::vector<QString> cache;
    if (row < 0 || row > 40000) {
        static thread_local QString scratch;
        scratch = QString::number(row);
        return scratch;
    }
    if (cache.empty()) {
        cache.reserve(40001);
        for (int i = 0; i <= 40000; ++i)
            cache.push_back(QString::number(i));
    }
    return cache[static_cast<size_t>(row)];
}

qint16 toRowIndex(int row)
{
    if (row < -32768 || row > 32767)
        throw TagGrid::Error("Radnumret ryms inte i 16 bitar");
    return static_cast<qint16>(row);
}
