#pragma once

// The keys the table answers while it has the keyboard focus, as the view
// hands them to the document: cursor moves and Return.
enum class TableKey {
    Up,       // Up
    Down,     // Down
    PageUp,   // Page Up: by the rows shown
    PageDown, // Page Down
    First,    // Ctrl+Home: the first data row
    Last,     // Ctrl+End: the entry row
    Return,   // Return or keypad Enter: back to the first field
};
