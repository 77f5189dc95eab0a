#include "reports/PrintListing.h"

#include "base/Numbers.h"
#include "document/Document.h"
#include "table/RowNumbers.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("Skriv ut");

// Print columns of the listing.
constexpr int kColText1 = 7;
constexpr int kColText2 = 38;
constexpr int kColQuantity = 68;

// A number as the listing prints it: a sign place (blank or minus), the
// digits and one blank after them.
QString printedNumber(int n)
{
    return (n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n) + QLatin1Char(' ');
}

// A list without tags has nothing to print, preview or write.
bool hasTags(const Document &doc)
{
    return doc.grid.rows() >= 3;
}

} // namespace

void writeListing(const Document &doc, PrintJob &job)
{
    const TagGrid &g = doc.grid;
    job.print(QStringLiteral("Filnamn: "));
    job.print(doc.FilNamn.isEmpty() ? Document::kUntitled : doc.FilNamn);
    job.newLine();
    job.newLine();
    job.print(QStringLiteral("Radnr Textrad 1"));
    job.tab(kColText2);
    job.print(QStringLiteral("Textrad 2"));
    job.tab(kColQuantity);
    job.print(QStringLiteral("Antal"));
    job.newLine();
    job.newLine();

    // The cells are read directly, so the cursor and the selection stay on
    // the row the editor fields show: the next Uppdatera must update that
    // row, not the last one.
    const int last = g.rows() - 2;
    for (int r = 1; r <= last; ++r) {
        job.print(printedNumber(toRowIndex(r)));
        job.tab(kColText1);
        job.print(g.textAt(r, 1));
        job.tab(kColText2);
        job.print(g.textAt(r, 2));
        job.tab(kColQuantity);
        const QString &quantity = g.textAt(r, 3);
        // A quantity that cannot be converted is printed as the cell holds it
        // rather than dropping the row or stopping the listing.
        const std::optional<qint16> n = convertQuantity(quantity);
        job.print(n ? printedNumber(*n) : quantity);
        job.newLine();
    }
}

void printTo(Document &doc, PrintJob &job)
{
    writeListing(doc, job);
    QString reason;
    if (!job.end(&reason)) {
        QString prompt = QStringLiteral("Utskriften misslyckades!");
        if (!reason.isEmpty())
            prompt += QLatin1Char('\n') + reason;
        doc.desktop.messageBox(prompt, kTitle, Desktop::Icon::Warning);
    }
}

void printListing(Document &doc)
{
    if (!hasTags(doc))
        return;
    std::unique_ptr<PrintJob> job = doc.desktop.startPrintJob();
    if (!job) {
        doc.desktop.messageBox(QStringLiteral("Ingen skrivare är installerad."), kTitle, Desktop::Icon::Warning);
        return;
    }
    printTo(doc, *job);
}

void previewListing(Document &doc)
{
    if (!hasTags(doc))
        return;
    // The preview draws its pages again whenever it needs them (and once
    // more on the printer its print button chose).
    doc.desktop.showPrintPreview([&doc](PrintJob &job) { printTo(doc, job); });
}

Desktop::FileDialogSettings pdfDialogSettings(const Document &doc)
{
    Desktop::FileDialogSettings s;
    s.save = true;
    s.title = QStringLiteral("Spara som PDF");
    s.flags = Desktop::DialogFlag::HideReadOnly | Desktop::DialogFlag::AskBeforeReplacing;
    s.filter = QStringLiteral("PDF-filer (*.pdf)|*.pdf");
    s.filterIndex = 1;
    s.defaultExt = QStringLiteral("pdf");
    if (doc.FilNamn.isEmpty()) {
        s.fileName = Document::kUntitled + QStringLiteral(".pdf");
    } else {
        const QFileInfo list(doc.FilNamn);
        // A title that is all extension (".brk") keeps it rather than
        // offering a bare ".pdf".
        const QString base = list.completeBaseName().isEmpty() ? list.fileName() : list.completeBaseName();
        s.fileName = QDir(list.path()).filePath(base + QStringLiteral(".pdf"));
    }
    return s;
}

void saveListingAsPdf(Document &doc)
{
    if (!hasTags(doc))
        return;
    const std::optional<Desktop::FileChoice> choice = doc.desktop.fileDialog(pdfDialogSettings(doc));
    if (!choice)
        return;
    std::unique_ptr<PrintJob> job = doc.desktop.startPdfJob(choice->fileName);
    writeListing(doc, *job);
    QString reason;
    if (!job->end(&reason)) {
        QString prompt = QStringLiteral("Filen kunde inte sparas!");
        if (!reason.isEmpty())
            prompt += QLatin1Char('\n') + reason;
        doc.desktop.messageBox(prompt, QStringLiteral("Fel vid sparande"), Desktop::Icon::Warning);
    }
}
