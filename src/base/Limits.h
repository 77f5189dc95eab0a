#pragma once

#include <QtGlobal>

// The sizes every part of the program agrees on.

// Most tags a list holds: row indices are 16-bit, and the table also has
// its header row and the entry row.
inline constexpr int kMaxTags = 32765;
inline constexpr int kMaxRows = kMaxTags + 2;

// Longest text a cell holds, in characters; keeps every command quick.
inline constexpr int kMaxTextLength = 65535;

// The most bytes one record of a tag file takes: two quoted texts at the
// longest (one byte a character), two commas, a quantity such as "-32768"
// and CR LF.
inline constexpr qint64 kMaxRecordBytes = 2 * (kMaxTextLength + 2) + 2 + 6 + 2;
// Open reads no more than this, so a file that never ends cannot fill the
// memory; yet every list the program can hold and save reads back whole.
inline constexpr qint64 kMaxTagFileBytes = kMaxTags * kMaxRecordBytes;
