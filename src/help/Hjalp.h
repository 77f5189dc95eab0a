#pragma once

#include <QString>
#include <QtGlobal>

struct Document;

// The Help menu: 0 opens the help page, 1 the About window.
void mnuHjalpItem_Click(Document &doc, qint16 index);

// The help page to open: the build-time setting when that file exists, else
// the page installed next to the program (an install under another prefix),
// else the page in the source tree (a program run from its build tree).
QString hjalpFil();
