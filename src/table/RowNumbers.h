#pragma once

#include <QString>
#include <QtGlobal>

// A row number as the number column shows it ("1", "2", ...). The texts of
// the rows a list can have are made once and shared, so numbering a full
// list allocates nothing.
QString rowNumberText(int row);

// Row indices are 16-bit; a value outside that range is an error of the
// table, never a silent wrap.
qint16 toRowIndex(int row);
