#pragma once

#include <QString>
#include <QtGlobal>

struct Document;

// The character counter: its message for the list, or "Inga brickor
// upplagda!" for an empty one; the cursor and the selection stay.
void showCharacterCount(Document &doc);

// The counter's message for the current list (at least one tag row): how
// many tags carry 1 to 10, 11, ..., 39 and 40 or more characters of text.
QString characterCountMessage(const Document &doc);
