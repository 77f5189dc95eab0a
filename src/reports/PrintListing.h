#pragma once

#include "document/Desktop.h"

class PrintJob;
struct Document;

// "Skriv ut": the printed listing on the default printer.
void printListing(Document &doc);
// "Förhandsgranska...": the pages Skriv ut prints, in a print preview whose
// print button prints them.
void previewListing(Document &doc);
// "Spara som PDF...": the pages Skriv ut prints, in a PDF file chosen in a
// save dialog. A file that cannot be written says so with the reason.
void saveListingAsPdf(Document &doc);

// The listing's lines into job; the job is not ended. Every page drawing
// (printer, preview, PDF) comes from here, so all of them show the same
// pages. Reads the cells only: the cursor, the selection and the fields stay.
void writeListing(const Document &doc, PrintJob &job);
// The listing into job, then the job ended; a printer that failed says
// "Utskriften misslyckades!" with its reason.
void printTo(Document &doc, PrintJob &job);

// The save dialog of "Spara som PDF...": the list's file title with .pdf in
// place of its extension, in the list's folder ("Namnlös.pdf" untitled).
Desktop::FileDialogSettings pdfDialogSettings(const Document &doc);
