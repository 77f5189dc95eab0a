#pragma once

#include <QtGlobal>

struct Document;

// The Edit menu: 0 insert row, 1 cut, 2 copy, 3 paste, 4 delete.
void mnuRedigeraItem_Click(Document &doc, qint16 index);
