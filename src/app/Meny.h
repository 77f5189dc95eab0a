#pragma once

#include <QtGlobal>

struct Document;

// The File menu, dispatched by entry index; the separator (5) and unknown
// indices do nothing.
void mnuArkivItem_Click(Document &doc, qint16 index);
