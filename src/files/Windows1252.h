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

// Writes the text as Windows-1252 into a buffer with room for text.size()
// bytes. A character the code page lacks is written as '?', one byte for
// one character (a surrogate pair counts as one), and clears faithful.
// Returns the end of what was written.
char *encodeWindows1252(QStringView text, char *out, bool &faithful);
