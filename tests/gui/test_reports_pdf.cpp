// The listing on a real QPrinter writing a PDF: print columns, the tab rule
// that moves to the next line, page breaks, and the text as a PDF reader
// extracts it.
#include "FakeDesktop.h"

#include "app/widgets/Huvudbild.h"
#include "app/widgets/QtDesktop.h"
#include "reports/PrintListing.h"
#include "reports/widgets/QtPrintJob.h"

#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
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
};

QTEST_MAIN(TestReportsPdf)
#include "test_reports_pdf.moc"
