#include "reports/PrintListing.h"

#include "base/Numbers.h"
#include "document/Document.h"
#include "table/RowNumbers.h"

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

} // namespace

void printListing(Document &doc)
{
    TagGrid &g = doc.grid;
    if (g.rows() < 3)
        return;

    std::unique_ptr<PrintJob> job = doc.desktop.startPrintJob();
    if (!job) {
        doc.desktop.messageBox(QStringLiteral("Ingen skrivare är installerad."), kTitle, Desktop::Icon::Warning);
        return;
    }

    job->print(QStringLiteral("Filnamn: "));
    job->print(doc.FilNamn.isEmpty() ? Document::kUntitled : doc.FilNamn);
    job->newLine();
    job->newLine();
    job->print(QStringLiteral("Radnr Textrad 1"));
    job->tab(kColText2);
    job->print(QStringLiteral("Textrad 2"));
    job->tab(kColQuantity);
    job->print(QStringLiteral("Antal"));
    job->newLine();
    job->newLine();

    // The cells are read directly, so the cursor and the selection stay on
    // the row the editor fields show: the next Uppdatera must update that
    // row, not the last one.
    const int last = g.rows() - 2;
    for (int r = 1; r <= last; ++r) {
        job->print(printedNumber(toRowIndex(r)));
        job->tab(kColText1);
        job->print(g.textAt(r, 1));
        job->tab(kColText2);
        job->print(g.textAt(r, 2));
        job->tab(kColQuantity);
        const QString &quantity = g.textAt(r, 3);
        // A quantity that cannot be converted is printed as the cell holds it
        // rather than dropping the row or stopping the listing.
        const std::optional<qint16> n = convertQuantity(quantity);
        job->print(n ? printedNumber(*n) : quantity);
        job->newLine();
    }

    QString reason;
    if (!job->end(&reason)) {
        QString prompt = QStringLiteral("Utskriften misslyckades!");
        if (!reason.isEmpty())
            prompt += QLatin1Char('\n') + reason;
        doc.desktop.messageBox(prompt, kTitle, Desktop::Icon::Warning);
    }
}
