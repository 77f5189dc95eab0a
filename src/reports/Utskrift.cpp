#include "reports/Utskrift.h"

#include "app/Document.h"

// PLACEHOLDER until the reports work lands.
void SkrivUt(Document &) {}
