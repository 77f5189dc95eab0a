#pragma once

#include <QtGlobal>

struct Document;

// The Info menu: entry 0 is the character counter.
void mnuInfoItem_Click(Document &doc, qint16 index);
