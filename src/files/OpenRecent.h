#pragma once

#include <QString>

struct Document;

// A list chosen from Arkiv's recent lists: as Öppna after choosing path (the
// save prompt first, the same messages). A file that is no longer there says
// "Filen fanns inte!" and leaves the recent lists.
void openRecent(Document &doc, const QString &path);
