#pragma once

struct Document;

// Open: save prompt, open dialog, read the chosen tag file into the table.
void Oppna(Document &doc);
// Saves in place when FilNamn ends in ".brk" (any case), else asks for a name.
void Spara(Document &doc, bool &saved);
// Asks for a name and saves under it.
void SparaSom(Document &doc, bool &saved);
