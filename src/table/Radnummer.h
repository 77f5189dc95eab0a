#pragma once

#include <QString>
#include <QtGlobal>

// Row numbers as the number column shows them ("1", "2", ...), shared so that
// numbering a full list allocates nothing.
const QString &radnummer(int row);

// Row indices are 16-bit; a value outside that range is an error of the
// table, never a silent wrap.
qint16 toRowIndex(int row);
