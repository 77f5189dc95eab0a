#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Tag files are Windows-1252, one byte per character. Qt's named codecs need
// ICU, which not every build has, so the table lives here: Latin-1 plus the
// 32 entries of 0x80..0x9F. The five unassigned bytes map to the C1 controls
// of the same value, so every byte decodes and encodes back to itself.

QString fromWindows1252(QByteArrayView bytes);

// Appends the text as Windows-1252. A character the code page lacks is
// written as '?', one byte for one character (a surrogate pair counts as
// one); returns false when that happened.
bool appendWindows1252(QByteArray &out, QStringView text);

QByteArray toWindows1252(QStringView text, bool *faithful = nullptr);

// The same into a buffer with room for text.size() bytes; returns the end
// of what was written and clears faithful when a '?' stood in.
char *encodeWindows1252(QStringView text, char *out, bool &faithful);
