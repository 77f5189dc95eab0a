// The listing on a real QPrinter writing a PDF: print columns, the tab rule
// that moves to the next line, page breaks, and the text as a PDF reader
// extracts it. Spara som PDF and the preview against those same pages, and a
// PDF that cannot be written.
#include "FakeDesktop.h"

#include "app/Commands.h"
#include "app/widgets/Huvudbild.h"
#include "app/widgets/QtDesktop.h"
#include "document/TableRoutines.h"
#include "reports/PrintListing.h"
#include "reports/widgets/QtPrintJob.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// A fake desktop whose print jobs go to a PDF printer.
class PdfDesktop : public FakeDesktop {
public:
    explicit PdfDesktop(QPrinter &printer) : m_printer(printer) {}
    std::unique_ptr<PrintJob> startPrintJob() override
    {
        ++printJobs;
        return std::make_unique<QtPrintJob>(&m_printer);
    }

private:
    QPrinter &m_printer;
};

// A document whose PDF jobs and previews are the real ones: n tags, rows 2
// and 3 selected, row 2 in the fields, changed.
struct RealDoc {
    class Desktop : public FakeDesktop {
        QtDesktop m_real{nullptr, Twips()};
        std::unique_ptr<PrintJob> startPdfJob(const QString &path) override { return m_real.startPdfJob(path); }
        void showPrintPreview(const std::function<void(PrintJob &)> &pages) override { m_real.showPrintPreview(pages); }
    };
    TestDoc seed;
    Desktop desktop;
    Document doc{seed.fields, desktop};
    explicit RealDoc(int n)
    {
        for (int i = 1; i <= n; ++i)
            seed.addTags({{QStringLiteral("Pump %1").arg(i), QStringLiteral("Källare %1").arg(i % 7), "3"}});
        doc.grid = seed.doc.grid;
        doc.grid.setRow(2);
        HamtaRad(doc);
        doc.grid.setRowSel(3);
        doc.markChanged();
    }
    // What neither the preview nor the PDF may change.
    QString state() const
    {
        const TagGrid &g = doc.grid;
        return QStringLiteral("%1 %2 %3 %4 %5 %6")
            .arg(g.row())
            .arg(g.rowSel())
            .arg(g.col())
            .arg(g.colSel())
            .arg(seed.fields.values[0] + seed.fields.values[2], QString::number(doc.Andrad()));
    }
};

struct Word {
    QString text;
    double xMin, yMin;
};

// The words of a PDF with their positions, page by page, from pdftotext.
QList<QList<Word>> pdfWords(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<QList<Word>> pages;
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            pages.append(QList<Word>());
            continue;
        }
        QString text = m.captured(3);
        text.replace(QLatin1String("&amp;"), QLatin1String("&"));
        if (!pages.isEmpty())
            pages.last().append(Word{text, m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return pages;
}

QString pdfLayoutText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

const Word *find(const QList<Word> &words, const QString &text, int occurrence = 0)
{
    for (const Word &w : words)
        if (w.text == text && occurrence-- == 0)
            return &w;
    return nullptr;
}

} // namespace

class TestReportsPdf : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    bool m_pdftotext = false;

    std::unique_ptr<QPrinter> pdfPrinter(const QString &name)
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_dir.filePath(name));
        return printer;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Huvudbild::installApplicationSettings(*qobject_cast<QApplication *>(QCoreApplication::instance()));
        m_pdftotext = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    }

    void tabStaysOnTheLineUpToTheColumnAndMovesDownPastIt()
    {
        auto printer = pdfPrinter(QStringLiteral("tab.pdf"));
        QtPrintJob job(printer.get());
        const qreal w = job.columnWidth();
        const qreal h = job.lineHeight();
        QVERIFY(w > 1);
        QVERIFY(h > 1);

        job.print(QStringLiteral("ab"));
        job.tab(10);
        QCOMPARE(job.x(), 9 * w);
        QCOMPARE(job.y(), 0.0);
        job.tab(10); // at the column's start: stays
        QCOMPARE(job.x(), 9 * w);
        QCOMPARE(job.y(), 0.0);
        job.print(QString(40, QLatin1Char('M')));
        QVERIFY(job.x() > 20 * w);
        job.tab(20); // past it: same column on the next line
        QCOMPARE(job.x(), 19 * w);
        QCOMPARE(job.y(), h);
        job.newLine();
        QCOMPARE(job.x(), 0.0);
        QCOMPARE(job.y(), 2 * h);
        QCOMPARE(QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::ArrowCursor,
                 Qt::WaitCursor);
        QString error;
        QVERIFY2(job.end(&error), qPrintable(error));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void noDefaultPrinterGivesNoJob()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer");
        QtDesktop desktop(nullptr, Twips());
        QVERIFY(!desktop.startPrintJob());
    }

    void listingAsAPdfReaderSeesIt()
    {
        if (!m_pdftotext)
            QSKIP("pdftotext (poppler-utils) is not installed");
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        auto printer = pdfPrinter(QStringLiteral("lista.pdf"));
        FakeFields fields;
        PdfDesktop desktop(*printer);
        Document doc(fields, desktop);
        TestDoc seed;
        seed.addTags({{QStringLiteral("Nyckel"), QStringLiteral("Förråd"), QStringLiteral("12")},
                      {QString(), QString(), QStringLiteral("2,5")},
                      {QString(60, QLatin1Char('L')), QStringLiteral("Andra"), QStringLiteral("007")},
                      {QStringLiteral("Tom"), QStringLiteral("Rad"), QString()}});
        doc.grid = seed.doc.grid;
        doc.FilNamn = QStringLiteral("/home/anna/lista.brk");

        printListing(doc);
        QLocale::setDefault(QLocale::c());
        QVERIFY(desktop.messages.empty());
        QCOMPARE(desktop.printJobs, 1);

        const QString pdf = printer->outputFileName();
        const QStringList lines = pdfLayoutText(pdf).split(QLatin1Char('\n'));
        QStringList nonEmpty;
        for (const QString &l : lines)
            if (!l.trimmed().isEmpty())
                nonEmpty << l.simplified();
        QCOMPARE(nonEmpty.value(0), QStringLiteral("Filnamn: /home/anna/lista.brk"));
        QCOMPARE(nonEmpty.value(1), QStringLiteral("Radnr Textrad 1 Textrad 2 Antal"));
        QCOMPARE(nonEmpty.value(2), QStringLiteral("1 Nyckel Förråd 12"));
        QCOMPARE(nonEmpty.value(3), QStringLiteral("2 2"));
        QCOMPARE(nonEmpty.value(4), QStringLiteral("3 ") + QString(60, QLatin1Char('L')));
        QCOMPARE(nonEmpty.value(5), QStringLiteral("Andra 7"));
        QCOMPARE(nonEmpty.value(6), QStringLiteral("4 Tom Rad"));
        QCOMPARE(nonEmpty.size(), 7);

        // Positions: text 2 starts at column 38 in the header and in every
        // row, also on the line a long text 1 pushed it to; the blank lines
        // 2 and 4 are really there.
        const QList<QList<Word>> pages = pdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        const QList<Word> &words = pages.first();
        const Word *header2 = find(words, QStringLiteral("Textrad"), 1);
        const Word *forrad = find(words, QStringLiteral("Förråd"));
        const Word *andra = find(words, QStringLiteral("Andra"));
        const Word *nyckel = find(words, QStringLiteral("Nyckel"));
        const Word *tom = find(words, QStringLiteral("Tom"));
        const Word *filnamn = find(words, QStringLiteral("Filnamn:"));
        const Word *radnr = find(words, QStringLiteral("Radnr"));
        const Word *lang = find(words, QString(60, QLatin1Char('L')));
        QVERIFY(header2 && forrad && andra && nyckel && tom && filnamn && radnr && lang);
        QVERIFY(qAbs(forrad->xMin - header2->xMin) < 0.5);
        QVERIFY(qAbs(andra->xMin - header2->xMin) < 0.5);
        QVERIFY(qAbs(tom->xMin - nyckel->xMin) < 0.5);
        QVERIFY(andra->yMin > lang->yMin);
        const double line = nyckel->yMin - radnr->yMin; // two lines: header and the blank one
        QVERIFY(line > 0);
        QVERIFY(qAbs((radnr->yMin - filnamn->yMin) - line) < 0.5);
        QVERIFY(qAbs((andra->yMin - lang->yMin) - line / 2) < 0.5);
    }

    void longListsBreakOntoNewPages()
    {
        if (!m_pdftotext)
            QSKIP("pdftotext (poppler-utils) is not installed");
        auto printer = pdfPrinter(QStringLiteral("sidor.pdf"));
        QtPrintJob job(printer.get());
        const int perPage = int(printer->height() / job.lineHeight());
        QVERIFY(perPage > 10);
        const int lines = perPage * 2 + 5;
        for (int i = 1; i <= lines; ++i) {
            job.print(QStringLiteral("Rad%1").arg(i));
            job.newLine();
        }
        QCOMPARE(job.page(), 3);
        QString error;
        QVERIFY2(job.end(&error), qPrintable(error));

        // Each page holds whole lines in order, and no empty page trails.
        const QList<QList<Word>> pages = pdfWords(printer->outputFileName());
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0].size(), perPage);
        QCOMPARE(pages[0].first().text, QStringLiteral("Rad1"));
        QCOMPARE(pages[1].first().text, QStringLiteral("Rad%1").arg(perPage + 1));
        QCOMPARE(pages[2].last().text, QStringLiteral("Rad%1").arg(lines));
    }

    void printerThatCannotStartReportsAnError()
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_dir.filePath(QStringLiteral("finns-inte/lista.pdf")));
        FakeFields fields;
        PdfDesktop desktop(*printer);
        Document doc(fields, desktop);
        TestDoc seed;
        seed.addTags({{QStringLiteral("a"), QString(), QStringLiteral("1")}});
        doc.grid = seed.doc.grid;
        const int row = doc.grid.row();

        printListing(doc);

        QCOMPARE(desktop.messages.size(), size_t(1));
        QVERIFY(desktop.messages.front().prompt.startsWith(QStringLiteral("Utskriften misslyckades!\n")));
        QVERIFY(desktop.messages.front().prompt.size() > 26);
        QCOMPARE(desktop.messages.front().title, QStringLiteral("Skriv ut"));
        QCOMPARE(doc.grid.row(), row);
    }

    // The preview and the PDF show the pages Skriv ut prints (the PDF the
    // same words at the same places, the second page going on from the
    // first), need no printer, and leave the cursor, the selection, the
    // fields and Andrad alone.
    void previewAndPdfHaveThePrintedPages()
    {
        RealDoc t(130);
        const QString before = t.state();
        auto printer = QtDesktop::listingPrinter();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_dir.filePath(QStringLiteral("utskrift.pdf")));
        QtPrintJob job(printer.get());
        printTo(t.doc, job);
        QVERIFY(job.page() > 1);

        QString seen;
        QTimer::singleShot(0, this, [&] {
            auto *dlg = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            seen = dlg->windowTitle() + QString::number(dlg->findChild<QPrintPreviewWidget *>()->pageCount());
            for (QAction *a : dlg->findChildren<QAction *>())
                if (a->text() == QStringLiteral("Utskriftsformat") && !a->isEnabled())
                    seen += QStringLiteral(", no page setup");
            dlg->reject();
        });
        runCommand(t.doc, Command::Preview);
        QCOMPARE(seen, QStringLiteral("Förhandsgranska%1").arg(job.page()) +
                           (QPrinterInfo::defaultPrinter().isNull() ? ", no page setup" : ""));
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(m_dir.filePath(QStringLiteral("lista.pdf"))));
        runCommand(t.doc, Command::SavePdf);
        QVERIFY(t.desktop.messages.empty());
        QCOMPARE(t.state(), before);

        if (!m_pdftotext)
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QList<QList<Word>> printed = pdfWords(printer->outputFileName());
        const QList<QList<Word>> saved = pdfWords(m_dir.filePath(QStringLiteral("lista.pdf")));
        QCOMPARE(saved.size(), job.page());
        QCOMPARE(saved.size(), printed.size());
        for (int p = 0; p < saved.size(); ++p) {
            QCOMPARE(saved[p].size(), printed[p].size());
            for (int i = 0; i < saved[p].size(); ++i) {
                QCOMPARE(saved[p][i].text, printed[p][i].text);
                QVERIFY(qAbs(saved[p][i].xMin - printed[p][i].xMin) < 0.1);
                QVERIFY(qAbs(saved[p][i].yMin - printed[p][i].yMin) < 0.1);
            }
        }
        // The header's 8 words, then 6 a row ("1 Pump 1 Källare 1 3").
        QCOMPARE(saved[1].first().text, QString::number((saved[0].size() - 8) / 6 + 1));
        QCOMPARE(saved[0].size() - 8 + saved[1].size(), 130 * 6);
    }

    void pdfThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no such folder") << "finns-inte/gammal.pdf"
                                        << "Mappen finns inte.";
        QTest::newRow("a folder of that name") << "mapp.pdf"
                                               << "Det finns en mapp med det namnet.";
#ifdef Q_OS_UNIX
        QTest::newRow("past the file-size limit, half-way") << "gammal.pdf"
                                                            << "Filen blir för stor för enheten.";
#endif
    }
    void pdfThatCannotBeWritten()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("mapp.pdf")));
        QFile old(dir.filePath(QStringLiteral("gammal.pdf")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("%PDF gammal") == 11);
        old.close();
        RealDoc t(3000);
        const QString before = t.state();
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(dir.filePath(name)));
#ifdef Q_OS_UNIX
        // The writer fails part-way; SIGXFSZ as a program gets it, so a PDF
        // that does not turn it into a failure ends this test.
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit was = limit;
        limit.rlim_cur = name == "gammal.pdf" ? 20000 : limit.rlim_cur;
        struct sigaction byDefault {};
        struct sigaction asGiven {};
        byDefault.sa_handler = SIG_DFL;
        QCOMPARE(sigaction(SIGXFSZ, &byDefault, &asGiven) | setrlimit(RLIMIT_FSIZE, &limit), 0);
        runCommand(t.doc, Command::SavePdf);
        setrlimit(RLIMIT_FSIZE, &was);
        sigaction(SIGXFSZ, &asGiven, nullptr);
#else
        runCommand(t.doc, Command::SavePdf);
#endif
        QCOMPARE(t.desktop.messages.size(), size_t(1));
        QTEST(t.desktop.messages[0].prompt.mid(25), "reason");
        QCOMPARE(t.desktop.messages[0].prompt.left(25), QStringLiteral("Filen kunde inte sparas!\n"));
        QCOMPARE(t.desktop.messages[0].title, QStringLiteral("Fel vid sparande"));
        // The earlier file stays whole, and nothing half-written is left.
        QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "%PDF gammal");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("gammal.pdf")});
        QCOMPARE(t.state(), before);
    }
};

QTEST_MAIN(TestReportsPdf)
#include "test_reports_pdf.moc"
