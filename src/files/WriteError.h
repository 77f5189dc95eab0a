#pragma once

#include <QString>

// What the system said when a write failed: the POSIX errno or the Windows
// error code taken right after the failing call (0 when there was none),
// the text the file layer gave, and whether the step that failed was making
// a new file in the folder while the target itself could be written.
struct WriteError {
    int posix = 0;
    unsigned long windows = 0;
    QString text;
    bool folder = false;
};

// The reason shown under "Filen kunde inte sparas!": Swedish for the common
// causes, else the system's own words, and never an empty or "Unknown
// error" text.
QString writeErrorReason(const WriteError &error);

// The error code of the last failed system call on this platform, for
// WriteError (errno, or GetLastError() on Windows).
WriteError lastWriteError(const QString &text);
// Clears the codes before a call whose failure is to be read.
void clearLastWriteError();
