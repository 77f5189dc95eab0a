// The character counter, the printed listing and its PDF on a list at its
// limit of 32,765 tags.
#include "FakeDesktop.h"
#include "app/Commands.h"
#include "app/widgets/Huvudbild.h"
#include "app/widgets/QtDesktop.h"
#include "document/TableRoutines.h"
#include "reports/CharacterCounter.h"
#include "reports/PrintListing.h"
#include "reports/widgets/QtPrintJob.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<TestDoc> fullList(int tags)
{
    auto t = std::make_unique<TestDoc>();
    TagGrid &g = t->doc.grid;
    g.setRows(tags + 2);
    for (int r = 1; r <= tags; ++r) {
        // Lengths spread over every class, quantities of several forms.
        g.setTextAt(r, 1, QString(r % 37, QLatin1Char('a')));
        g.setTextAt(r, 2, QStringLiteral("Avdelning %1").arg(r % 97));
        g.setTextAt(r, 3, r % 11 == 0 ? QStringLiteral(" %1 ").arg(r % 50) : QString::number(r % 50 + 1));
    }
    g.setRow(tags + 1);
    NumreraRader(t->doc);
    MarkeraRader(t->doc);
    HamtaRad(t->doc);
    return t;
}

// A desktop whose print jobs go to a PDF file.
class PdfDesktop : public FakeDesktop {
public:
    explicit PdfDesktop(QString path) : m_path(std::move(path)) {}
    std::unique_ptr<PrintJob> startPrintJob() override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_path);
        return std::make_unique<QtPrintJob>(std::move(printer));
    }

private:
    QString m_path;
};

void BM_CharacterCounter(benchmark::State &state)
{
    auto t = fullList(static_cast<int>(state.range(0)));
    t->doc.grid.setRow(5);
    MarkeraRader(t->doc);
    for (auto _ : state) {
        showCharacterCount(t->doc);
        t->desktop.messages.clear();
    }
}
BENCHMARK(BM_CharacterCounter)->Arg(kMaxTags)->Unit(benchmark::kMillisecond);

void BM_PrintListingToTextReceiver(benchmark::State &state)
{
    auto t = fullList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        printListing(t->doc);
        benchmark::DoNotOptimize(t->desktop.printed.size());
        t->desktop.printed.clear();
    }
}
BENCHMARK(BM_PrintListingToTextReceiver)->Arg(kMaxTags)->Unit(benchmark::kMillisecond);

void BM_PrintListingToPdf(benchmark::State &state)
{
    QTemporaryDir dir;
    auto t = fullList(static_cast<int>(state.range(0)));
    FakeFields fields;
    PdfDesktop desktop(dir.filePath(QStringLiteral("lista.pdf")));
    Document doc(fields, desktop);
    doc.grid = t->doc.grid;
    for (auto _ : state) {
        printListing(doc);
        if (!desktop.messages.empty())
            state.SkipWithError("the listing failed");
    }
    state.counters["pdf_kB"] = QFileInfo(dir.filePath(QStringLiteral("lista.pdf"))).size() / 1024.0;
}
BENCHMARK(BM_PrintListingToPdf)->Arg(kMaxTags)->Unit(benchmark::kMillisecond)->Iterations(3);

// Spara som PDF once the file is chosen: the pages Skriv ut prints, written
// atomically into the file.
void BM_SaveListingAsPdf(benchmark::State &state)
{
    QTemporaryDir dir;
    auto t = fullList(static_cast<int>(state.range(0)));
    QtDesktop desktop(nullptr, Twips());
    const QString path = dir.filePath(QStringLiteral("lista.pdf"));
    for (auto _ : state) {
        std::unique_ptr<PrintJob> job = desktop.startPdfJob(path);
        writeListing(t->doc, *job);
        if (!job->end(nullptr))
            state.SkipWithError("the PDF was not written");
    }
    state.counters["pdf_kB"] = QFileInfo(path).size() / 1024.0;
}
BENCHMARK(BM_SaveListingAsPdf)->Arg(kMaxTags)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    // Fonts and the PDF engine need a GUI application; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Huvudbild::installApplicationSettings(app); // the program's font
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
