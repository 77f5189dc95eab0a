#pragma once

#include <QtGlobal>

struct Document;

// The Help menu: 0 opens the help window, 1 the About window.
void mnuHjalpItem_Click(Document &doc, qint16 index);
