#pragma once

// The keys the table answers while it has the keyboard focus, as the view
// hands them to the document: cursor moves and Return.
enum class Tabelltangent {
    RadUpp,  // Up
    RadNed,  // Down
    SidaUpp, // Page Up: by the rows shown
    SidaNed, // Page Down
    Forsta,  // Ctrl+Home: the first data row
    Sista,   // Ctrl+End: the entry row
    Retur,   // Return or keypad Enter: back to the first field
};
