#include "edit/RadKommandon.h"

#include "app/Document.h"

// PLACEHOLDER until the row-command work lands.
void mnuRedigeraItem_Click(Document &, qint16) {}
