#pragma once

struct Document;

// New: resets the list, after the save prompt when there are changes.
void Nytt(Document &doc);
// A request to close the main window; returns true when the close is refused.
bool Form_QueryUnload(Document &doc);
