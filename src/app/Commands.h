#pragma once

#include <functional>

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
    Find,
    FindNext,
    Replace,
    Preview,
    SavePdf,
    // Arkiv's recent lists, newest first.
    OpenRecent1,
    OpenRecent2,
    OpenRecent3,
    OpenRecent4,
};

void runCommand(Document &doc, Command command);

// Runs what a user event asks for so that its failure never ends the
// program with the list in it: running out of memory is told as "Minnet
// räckte inte.", any other failure as "Kommandot kunde inte slutföras."
// with its reason.
void runGuarded(Document &doc, const std::function<void()> &work);
