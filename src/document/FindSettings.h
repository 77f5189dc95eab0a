#pragma once

#include <QString>

// What the Sök and Ersätt windows last looked for. The document keeps it
// between events, so that Sök nästa from the menu repeats the last search
// and a window opens with what it showed before.
struct FindSettings {
    QString text; // "Sök efter"; empty until the first search
    QString replacement;
    bool matchCase = false;
    // The Ersätt window looks in the two texts only, never in Antal.
    bool textsOnly = false;
};
