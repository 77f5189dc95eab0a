#pragma once

#include <QString>

// What the system said when a write failed: the POSIX errno or the Windows
// error code taken right after the failing call (0 when there was none),
// and the text the file layer gave.
struct Skrivfel {
    int posix = 0;
    unsigned long windows = 0;
    QString text;
};

// The reason shown under "Filen kunde inte sparas!": Swedish for the common
// causes, else the system's own words, and never an empty or "Unknown
// error" text.
QString skrivfelOrsak(const Skrivfel &fel);

// The error code of the last failed system call on this platform, for
// Skrivfel (errno, or GetLastError() on Windows).
Skrivfel senasteSkrivfel(const QString &text);
// Clears the codes before a call whose failure is to be read.
void nollstallSkrivfel();
