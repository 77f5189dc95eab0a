#include "help/Hjalp.h"

#include "app/Document.h"

// PLACEHOLDER until the help work lands.
void mnuHjalpItem_Click(Document &, qint16) {}
