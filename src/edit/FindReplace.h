#pragma once

#include "document/FindSettings.h"

#include <QString>

struct Document;

// Sök and Ersätt on the data rows of the list; the entry row is never
// searched and never changed. Each remembers its search in the document, so
// that Sök nästa from the menu repeats it. An empty search text does
// nothing.

// Sök nästa: looks in the three cells of the data rows (in Rad 1 and Rad 2
// only when search.textsOnly), from the row after the cursor row down, then
// from row 1 round to the cursor row itself. The row found becomes the
// cursor row as a click makes it. Nothing found: "Hittade inte "TEXT"."
// under title. True when a row was found.
bool findNext(Document &doc, const FindSettings &search, const QString &title);
// Sök nästa from the menu: the last search again, or the Sök window when
// there was none.
void repeatFind(Document &doc);
// Ersätt: every match in the two texts of the cursor row, when it has one,
// as one Ångra step; then on to the next row as Sök nästa goes, without a
// message when none is left. A row the replacement would make too long or
// empty in both texts is left as it was, and the message says so.
void replaceOne(Document &doc, const FindSettings &search);
// Ersätt alla: every match in the two texts of every data row as one Ångra
// step, then the count (and the rows left as they were) in a message.
void replaceAll(Document &doc, const FindSettings &search);

// The titles of the two windows, which are also the titles of their messages.
inline const QString kFindTitle = QStringLiteral("Sök");
inline const QString kReplaceTitle = QStringLiteral("Ersätt");
