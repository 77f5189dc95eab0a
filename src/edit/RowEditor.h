#pragma once

struct Document;

// "Uppdatera": validates the three fields, writes them into the cursor row,
// grows the list when that was the entry row and steps one row down.
void cmdUppdatera_Click(Document &doc);
