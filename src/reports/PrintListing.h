#pragma once

struct Document;

// "Skriv ut": the printed listing on the default printer.
void printListing(Document &doc);
