#pragma once

#include <QString>

class ListLock;
struct Document;

// How a list read from or saved to a file is held.
enum class Claim {
    Kept,      // the document's own lock is this list's already
    Locked,    // its lock is taken
    Unlocked,  // no lock: none can be written there, or the user said so
    ReadOnly,  // another program holds it; read-only at the user's word
    Cancelled, // nothing is to be done
};

// Before the list at path is read: its lock, into lock. When another
// program holds it, asks ("Listan används", Ja the default): Ja reads it
// read-only, Nej without a lock, Avbryt not at all. A stale lock is taken
// over without a word, and where no lock can be written the list goes
// without one, also without a word.
Claim claimForOpening(Document &doc, const QString &path, const QString &title, ListLock &lock);

// Before Spara som writes the list to path: its lock, into lock. When
// another program holds it, says "Den kan inte sparas nu." and gives
// Cancelled.
Claim claimForSaving(Document &doc, const QString &path, const QString &title, ListLock &lock);
