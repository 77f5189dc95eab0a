#pragma once

struct Document;

// Every command the menus give, by name. The menus map their entries to
// these; tests and benchmarks run them the same way.
enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    Print,
    Exit,
    Undo,
    Redo,
    InsertRow,
    Cut,
    Copy,
    Paste,
    Delete,
    CharacterCount,
    Help,
    About,
    Preview,
    SavePdf,
    // Arkiv's recent lists, newest first.
    OpenRecent1,
    OpenRecent2,
    OpenRecent3,
    OpenRecent4,
};

void runCommand(Document &doc, Command command);
