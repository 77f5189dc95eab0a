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

// A fake desktop whose PDF jobs and previews are the real ones.
class RealPdfDesktop : public FakeDesktop {
public:
    std::unique_ptr<PrintJob> startPdfJob(const QString &path) override
    {
        pdfPaths << path;
        return m_real.startPdfJob(path);
    }
    void showPrintPreview(const std::function<void(PrintJob &)> &printPages) override
    {
        ++previews;
        m_real.showPrintPreview(printPages);
    }

private:
    QtDesktop m_real{nullptr, Twips()};
};

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A list of n tags, the cursor on row 2 with rows 2..3 selected and loaded.
void fill(TestDoc &t, int n)
{
    std::vector<std::array<QString, 3>> tags;
    for (int i = 1; i <= n; ++i)
        tags.push_back(
            {QStringLiteral("Pump %1").arg(i), QStringLiteral("Källare %1").arg(i % 7), QString::number(i % 13 + 1)});
    t.addTags(tags);
    t.doc.grid.setRow(2);
    HamtaRad(t.doc);
    t.doc.grid.setRowSel(3);
    t.doc.Andrad = true;
}

QString cursorAndFields(const TestDoc &t)
{
    const TagGrid &g = t.doc.grid;
    return QStringLiteral("%1,%2 %3,%4 %5|%6|%7 %8")
        .arg(g.row())
        .arg(g.col())
        .arg(g.rowSel())
        .arg(g.colSel())
        .arg(t.fields.values[0], t.fields.values[1], t.fields.values[2])
        .arg(t.doc.Andrad);
}

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

    // Spara som PDF writes the pages Skriv ut prints: the same words at the
    // same places on the same pages, page break included.
    void pdfHasThePagesOfThePrintedListing()
    {
        if (!m_pdftotext)
            QSKIP("pdftotext (poppler-utils) is not installed");
        TestDoc seed;
        fill(seed, 130); // more than a page
        seed.doc.FilNamn = QStringLiteral("/home/anna/lista.brk");

        auto printer = QtDesktop::listingPrinter();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_dir.filePath(QStringLiteral("utskrift.pdf")));
        {
            QtPrintJob job(printer.get());
            printTo(seed.doc, job);
        }
        RealPdfDesktop desktop;
        FakeFields fields;
        Document doc(fields, desktop);
        doc.grid = seed.doc.grid;
        doc.FilNamn = seed.doc.FilNamn;
        const QString pdf = m_dir.filePath(QStringLiteral("lista.pdf"));
        desktop.dialogAnswers.push_back(FakeDesktop::choice(pdf));
        runCommand(doc, Command::SavePdf);
        QVERIFY(desktop.messages.empty());

        const QList<QList<Word>> printed = pdfWords(printer->outputFileName());
        const QList<QList<Word>> saved = pdfWords(pdf);
        QCOMPARE(saved.size(), 2);
        QCOMPARE(saved.size(), printed.size());
        for (int p = 0; p < saved.size(); ++p) {
            QCOMPARE(saved[p].size(), printed[p].size());
            for (int i = 0; i < saved[p].size(); ++i) {
                QCOMPARE(saved[p][i].text, printed[p][i].text);
                QVERIFY(qAbs(saved[p][i].xMin - printed[p][i].xMin) < 0.1);
                QVERIFY(qAbs(saved[p][i].yMin - printed[p][i].yMin) < 0.1);
            }
        }

        // Line by line, the listing's lines; the second page goes on where
        // the first stopped.
        QStringList lines;
        for (const QString &l : pdfLayoutText(pdf).split(QLatin1Char('\n')))
            if (!l.trimmed().isEmpty())
                lines << l.simplified();
        QCOMPARE(lines.value(0), QStringLiteral("Filnamn: /home/anna/lista.brk"));
        QCOMPARE(lines.value(1), QStringLiteral("Radnr Textrad 1 Textrad 2 Antal"));
        QCOMPARE(lines.size(), 2 + 130);
        for (int r = 1; r <= 130; ++r)
            QCOMPARE(lines.value(1 + r), QStringLiteral("%1 Pump %1 Källare %2 %3").arg(r).arg(r % 7).arg(r % 13 + 1));
        // The header's 8 words, then 6 a row ("1 Pump 1 Källare 1 2").
        QCOMPARE(saved[1].first().text, QString::number((saved[0].size() - 8) / 6 + 1));
    }

    void pdfThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("sizeLimit");
        QTest::newRow("no such folder") << "finns-inte/lista.pdf"
                                        << "Mappen finns inte." << false;
        QTest::newRow("a folder of that name") << "mapp.pdf"
                                               << "Det finns en mapp med det namnet." << false;
#ifdef Q_OS_UNIX
        QTest::newRow("past the file-size limit, half-way") << "gammal.pdf"
                                                            << "Filen blir för stor för enheten." << true;
#endif
    }
    void pdfThatCannotBeWritten()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QFETCH(bool, sizeLimit);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("mapp.pdf")));
        const QString target = dir.filePath(name);
        {
            QFile old(dir.filePath(QStringLiteral("gammal.pdf")));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("%PDF gammal");
        }
        TestDoc t;
        fill(t, 3000);
        RealPdfDesktop desktop;
        Document doc(t.fields, desktop);
        doc.grid = t.doc.grid;
        doc.Andrad = true;
        desktop.dialogAnswers.push_back(FakeDesktop::choice(target));
        const QString before = cursorAndFields(t);

#ifdef Q_OS_UNIX
        // The writer fails part-way, after it has put bytes into the file;
        // the signal as a program gets it, so a PDF that does not turn it
        // into a failure ends this test.
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        struct sigaction asGiven {};
        struct sigaction byDefault {};
        byDefault.sa_handler = SIG_DFL;
        sigemptyset(&byDefault.sa_mask);
        if (sizeLimit) {
            rlimit small = old;
            small.rlim_cur = 20000;
            QCOMPARE(sigaction(SIGXFSZ, &byDefault, &asGiven), 0);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        }
#endif
        runCommand(doc, Command::SavePdf);
#ifdef Q_OS_UNIX
        if (sizeLimit) {
            setrlimit(RLIMIT_FSIZE, &old);
            sigaction(SIGXFSZ, &asGiven, nullptr);
        }
#endif
        QCOMPARE(desktop.messages.size(), size_t(1));
        QCOMPARE(desktop.messages[0].prompt, QStringLiteral("Filen kunde inte sparas!\n") + reason);
        QCOMPARE(desktop.messages[0].title, QStringLiteral("Fel vid sparande"));
        QCOMPARE(desktop.messages[0].icon, Desktop::Icon::Warning);
        // The earlier file stays whole, and nothing half-written is left.
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("gammal.pdf"))), QByteArray("%PDF gammal"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("gammal.pdf")});
        QCOMPARE(cursorAndFields(t), before);
        QVERIFY(doc.Andrad);
    }

    // The preview shows the pages Skriv ut prints, needs no printer, and
    // leaves the list, the cursor, the selection and the fields alone.
    void previewShowsThePages()
    {
        TestDoc t;
        fill(t, 130);
        RealPdfDesktop desktop;
        Document doc(t.fields, desktop);
        doc.grid = t.doc.grid;
        doc.Andrad = true;
        const QString before = cursorAndFields(t);
        // The pages Skriv ut's printer gets.
        auto printer = QtDesktop::listingPrinter();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_dir.filePath(QStringLiteral("sidor.pdf")));
        int pages = 0;
        {
            QtPrintJob job(printer.get());
            writeListing(doc, job);
            pages = job.page();
            QVERIFY(job.end(nullptr));
        }
        QVERIFY(pages > 1);

        int shownPages = -1;
        bool pageSetup = true;
        QString title;
        QTimer::singleShot(0, this, [&] {
            auto *dlg = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            title = dlg->windowTitle();
            if (auto *preview = dlg->findChild<QPrintPreviewWidget *>())
                shownPages = preview->pageCount();
            for (QAction *a : dlg->findChildren<QAction *>())
                if (a->text() == QStringLiteral("Utskriftsformat"))
                    pageSetup = a->isEnabled();
            dlg->reject();
        });
        runCommand(doc, Command::Preview);

        QCOMPARE(desktop.previews, 1);
        QCOMPARE(title, QStringLiteral("Förhandsgranska"));
        QCOMPARE(shownPages, pages);
        if (QPrinterInfo::defaultPrinter().isNull())
            QVERIFY(!pageSetup);
        QVERIFY(desktop.messages.empty());
        QCOMPARE(cursorAndFields(t), before);
        QVERIFY(doc.Andrad);
    }
};

QTEST_MAIN(TestReportsPdf)
#include "test_reports_pdf.moc"
