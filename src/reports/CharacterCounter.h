#pragma once

#include <QString>
#include <QtGlobal>

struct Document;

// The Info menu: entry 0 is the character counter.
void mnuInfoItem_Click(Document &doc, qint16 index);

// The counter's message for the current list (at least one tag row): how
// many tags carry 1 to 10, 11, ..., 39 and 40 or more characters of text.
QString characterCountMessage(const Document &doc);
