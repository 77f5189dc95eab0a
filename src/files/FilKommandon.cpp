#include "files/FilKommandon.h"

#include "app/Document.h"

// PLACEHOLDER until the tag-file work lands.
void Oppna(Document &) {}
void Spara(Document &, bool &saved) { saved = false; }
void SparaSom(Document &, bool &saved) { saved = false; }
