// The printed listing as a sequence of print operations (on the printer, in
// the preview and in a PDF), and the character counter's message, cursor and
// selection.
#include "FakeDesktop.h"

#include "app/Commands.h"
#include "document/TableRoutines.h"
#include "edit/RowEditor.h"
#include "reports/CharacterCounter.h"
#include "reports/PrintListing.h"

#include <QtTest>

using Tags = std::vector<std::array<QString, 3>>;
Q_DECLARE_METATYPE(Tags)

namespace {

// The operations of one listed row, as the fake desktop records them.
QStringList rowOps(const QString &nr, const QString &t1, const QString &t2, const QString &antal)
{
    return {QStringLiteral("print:") + nr,    QStringLiteral("tab:7"),       QStringLiteral("print:") + t1,
            QStringLiteral("tab:38"),         QStringLiteral("print:") + t2, QStringLiteral("tab:68"),
            QStringLiteral("print:") + antal, QStringLiteral("newline")};
}

QStringList headOps(const QString &fileName)
{
    return {QStringLiteral("print:Filnamn: "),
            QStringLiteral("print:") + fileName,
            QStringLiteral("newline"),
            QStringLiteral("newline"),
            QStringLiteral("print:Radnr Textrad 1"),
            QStringLiteral("tab:38"),
            QStringLiteral("print:Textrad 2"),
            QStringLiteral("tab:68"),
            QStringLiteral("print:Antal"),
            QStringLiteral("newline"),
            QStringLiteral("newline")};
}

QString repeat(int n, QChar c = QLatin1Char('x'))
{
    return QString(n, c);
}

struct Cursor {
    int row, col, rowSel, colSel;
    bool operator==(const Cursor &) const = default;
};

Cursor cursorOf(const TagGrid &g)
{
    return {g.row(), g.col(), g.rowSel(), g.colSel()};
}

// Runs the listing's command; the PDF's dialog chooses a file.
void runListing(TestDoc &t, Command command)
{
    if (command == Command::SavePdf)
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(QStringLiteral("/tmp/lista.pdf")));
    runCommand(t.doc, command);
}

} // namespace

Q_DECLARE_METATYPE(Cursor)
Q_DECLARE_METATYPE(Command)

class TestReports : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // ---- Printed listing ----

    void listWithoutTagsGivesNothing_data()
    {
        QTest::addColumn<Command>("command");
        QTest::newRow("Skriv ut") << Command::Print;
        QTest::newRow("Förhandsgranska") << Command::Preview;
        QTest::newRow("Spara som PDF") << Command::SavePdf;
    }
    void listWithoutTagsGivesNothing()
    {
        QFETCH(Command, command);
        TestDoc t;
        const Cursor before = cursorOf(t.doc.grid);
        runListing(t, command);
        QCOMPARE(t.desktop.printJobs + t.desktop.previews + t.desktop.pdfPaths.size(), 0);
        QVERIFY(t.desktop.dialogs.empty() && t.desktop.printed.isEmpty() && t.desktop.messages.empty());
        QVERIFY(cursorOf(t.doc.grid) == before);
    }

    void listingOfAWholeList_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("printedName");
        QTest::addColumn<Command>("command");
        const QString path = QStringLiteral("/home/anna/Märkbrickor/lista 2.brk");
        QTest::newRow("untitled") << QString() << QStringLiteral("Namnlös") << Command::Print;
        QTest::newRow("full path") << path << path << Command::Print;
        QTest::newRow("preview, untitled") << QString() << QStringLiteral("Namnlös") << Command::Preview;
        QTest::newRow("PDF, full path") << path << path << Command::SavePdf;
    }
    void listingOfAWholeList()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, printedName);
        QFETCH(Command, command);
        TestDoc t;
        t.addTags({{QStringLiteral("Nyckel 12"), QStringLiteral("Förråd"), QStringLiteral("12")},
                   {QString(), QString(), QStringLiteral("3")},
                   {QStringLiteral("Ut"), QString(), QStringLiteral("-3")}});
        t.doc.FilNamn = fileName;

        runListing(t, command);

        QStringList expected = headOps(printedName);
        expected << rowOps(QStringLiteral(" 1 "), QStringLiteral("Nyckel 12"), QStringLiteral("Förråd"),
                           QStringLiteral(" 12 "))
                 << rowOps(QStringLiteral(" 2 "), QString(), QString(), QStringLiteral(" 3 "))
                 << rowOps(QStringLiteral(" 3 "), QStringLiteral("Ut"), QString(), QStringLiteral("-3 "))
                 << QStringLiteral("end");
        QCOMPARE(t.desktop.printed, expected);
        QCOMPARE(t.desktop.printJobs + t.desktop.previews + t.desktop.pdfPaths.size(), 1);
        QVERIFY(t.desktop.messages.empty());
    }

    void quantityAsPrinted_data()
    {
        QTest::addColumn<QString>("antal");
        QTest::addColumn<bool>("swedish");
        QTest::addColumn<QString>("printed");
        QTest::newRow("plain") << QStringLiteral("12") << false << QStringLiteral(" 12 ");
        QTest::newRow("leading zeros") << QStringLiteral("007") << false << QStringLiteral(" 7 ");
        QTest::newRow("blanks around") << QStringLiteral(" 5 ") << false << QStringLiteral(" 5 ");
        QTest::newRow("comma under Swedish") << QStringLiteral("2,5") << true << QStringLiteral(" 2 ");
        QTest::newRow("half to even up") << QStringLiteral("3,5") << true << QStringLiteral(" 4 ");
        QTest::newRow("point under C") << QStringLiteral("2.5") << false << QStringLiteral(" 2 ");
        QTest::newRow("negative") << QStringLiteral("-40") << false << QStringLiteral("-40 ");
        QTest::newRow("largest") << QStringLiteral("32767") << false << QStringLiteral(" 32767 ");
        // Quantities that cannot be converted print as the cell holds them.
        QTest::newRow("empty (inserted row)") << QString() << false << QString();
        QTest::newRow("text") << QStringLiteral("3 st") << false << QStringLiteral("3 st");
        QTest::newRow("too large") << QStringLiteral("40000") << false << QStringLiteral("40000");
    }
    void quantityAsPrinted()
    {
        QFETCH(QString, antal);
        QFETCH(bool, swedish);
        QFETCH(QString, printed);
        if (swedish)
            QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        TestDoc t;
        t.addTags({{QStringLiteral("A"), QStringLiteral("B"), antal}});
        printListing(t.doc);
        QCOMPARE(t.desktop.printed.size(), 11 + 8 + 1);
        QCOMPARE(t.desktop.printed.at(11 + 6), QStringLiteral("print:") + printed);
        QCOMPARE(t.desktop.printed.last(), QStringLiteral("end"));
    }

    void longTextOneStillTabsToColumn38()
    {
        // The sink decides that the position is past column 38; the listing
        // only asks for the tab, as for any other row.
        TestDoc t;
        const QString lang = repeat(60);
        t.addTags({{lang, QStringLiteral("två"), QStringLiteral("1")}});
        printListing(t.doc);
        QCOMPARE(t.desktop.printed.mid(11, 8),
                 rowOps(QStringLiteral(" 1 "), lang, QStringLiteral("två"), QStringLiteral(" 1 ")));
    }

    void printKeepsCursorAndSelection_data()
    {
        QTest::addColumn<Cursor>("cursor");
        QTest::addColumn<Command>("command");
        QTest::newRow("first row, whole tag") << Cursor{1, 1, 1, 3} << Command::Print;
        QTest::newRow("rows dragged down") << Cursor{1, 1, 2, 3} << Command::Print;
        QTest::newRow("rows dragged up") << Cursor{3, 1, 1, 3} << Command::Print;
        QTest::newRow("a single cell") << Cursor{2, 2, 2, 2} << Command::Print;
        QTest::newRow("entry row") << Cursor{4, 1, 4, 3} << Command::Print;
        QTest::newRow("preview, a single cell") << Cursor{2, 2, 2, 2} << Command::Preview;
        QTest::newRow("PDF, rows dragged up") << Cursor{3, 1, 1, 3} << Command::SavePdf;
    }

    void printKeepsCursorAndSelection()
    {
        QFETCH(Cursor, cursor);
        QFETCH(Command, command);
        TestDoc t;
        t.addTags({{QStringLiteral("a"), QString(), QStringLiteral("1")},
                   {QStringLiteral("b"), QString(), QStringLiteral("2")},
                   {QStringLiteral("c"), QString(), QStringLiteral("3")}});
        TagGrid &g = t.doc.grid;
        g.setRow(cursor.row);
        HamtaRad(t.doc);
        g.setCol(cursor.col);
        g.setRowSel(cursor.rowSel);
        g.setColSel(cursor.colSel);
        const QString shown = t.fields.values[0];
        t.doc.FilNamn = QStringLiteral("/tmp/x.brk");
        t.doc.markChanged();

        runListing(t, command);

        QCOMPARE(t.desktop.printed.last(), QStringLiteral("end"));
        QVERIFY(cursorOf(g) == cursor);
        QCOMPARE(t.fields.values[0], shown);
        QCOMPARE(t.doc.FilNamn, QStringLiteral("/tmp/x.brk"));
        QVERIFY(t.doc.Andrad());
        QCOMPARE(g.rows(), 5);

        // The next Uppdatera writes the row the fields show, not the last tag.
        t.fields.set(QStringLiteral("ändrad"), QString(), QStringLiteral("9"));
        cmdUppdatera_Click(t.doc);
        QCOMPARE(g.textAt(cursor.row, 1), QStringLiteral("ändrad"));
        if (cursor.row != 3)
            QCOMPARE(g.textAt(3, 1), QStringLiteral("c"));
    }

    void printerProblemsWarnAndChangeNothing_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("printed");
        QTest::newRow("no printer") << Command::Print << false << QString()
                                    << QStringLiteral("Ingen skrivare är installerad.") << QStringLiteral("Skriv ut")
                                    << false;
        QTest::newRow("printer error") << Command::Print << true << QStringLiteral("Papperet är slut.")
                                       << QStringLiteral("Utskriften misslyckades!\nPapperet är slut.")
                                       << QStringLiteral("Skriv ut") << true;
        // Neither the preview nor the PDF needs a printer.
        QTest::newRow("preview without a printer")
            << Command::Preview << false << QString() << QString() << QString() << true;
        QTest::newRow("PDF not written") << Command::SavePdf << true << QStringLiteral("Mappen finns inte.")
                                         << QStringLiteral("Filen kunde inte sparas!\nMappen finns inte.")
                                         << QStringLiteral("Fel vid sparande") << true;
    }
    void printerProblemsWarnAndChangeNothing()
    {
        QFETCH(Command, command);
        QFETCH(bool, available);
        QFETCH(QString, error);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        QFETCH(bool, printed);
        TestDoc t;
        t.addTags({{QStringLiteral("a"), QString(), QStringLiteral("1")},
                   {QStringLiteral("b"), QString(), QStringLiteral("2")}});
        t.doc.grid.setRow(1);
        grdGrid_Click(t.doc);
        t.desktop.printerAvailable = available;
        t.desktop.printerError = command == Command::Print ? error : QString();
        t.desktop.pdfError = command == Command::SavePdf ? error : QString();
        const Cursor before = cursorOf(t.doc.grid);

        runListing(t, command);

        QCOMPARE(t.desktop.messages.size(), size_t(prompt.isEmpty() ? 0 : 1));
        if (!prompt.isEmpty()) {
            const FakeDesktop::Message &m = t.desktop.messages.front();
            QCOMPARE(m.prompt, prompt);
            QCOMPARE(m.title, title);
            QCOMPARE(m.icon, Desktop::Icon::Warning);
            QCOMPARE(m.buttons, Desktop::Buttons::Ok);
        }
        QCOMPARE(!t.desktop.printed.isEmpty(), printed);
        QVERIFY(cursorOf(t.doc.grid) == before);
        QVERIFY(!t.doc.Andrad());
    }

    void pdfDialog_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("offered");
        QTest::newRow("untitled") << QString() << QStringLiteral("Namnlös.pdf");
        QTest::newRow("lista.brk") << QStringLiteral("/home/anna/lista.brk") << QStringLiteral("/home/anna/lista.pdf");
        QTest::newRow("dots, upper case") << QStringLiteral("/a/lista.v2.BRK") << QStringLiteral("/a/lista.v2.pdf");
        QTest::newRow("all extension") << QStringLiteral("/a/.brk") << QStringLiteral("/a/.brk.pdf");
    }
    void pdfDialog()
    {
        TestDoc t;
        t.addTags({{QStringLiteral("a"), QString(), QStringLiteral("1")}});
        QFETCH(QString, fileName);
        t.doc.FilNamn = fileName;
        runCommand(t.doc, Command::SavePdf);
        QCOMPARE(t.desktop.dialogs.size(), size_t(1));
        const Desktop::FileDialogSettings &d = t.desktop.dialogs.front();
        QTEST(d.fileName, "offered");
        QCOMPARE(QStringList({d.title, d.filter, d.defaultExt, QString::number(d.filterIndex)}),
                 QStringList({"Spara som PDF", "PDF-filer (*.pdf)|*.pdf", "pdf", "1"}));
        QVERIFY(d.save && d.flags == (Desktop::DialogFlag::HideReadOnly | Desktop::DialogFlag::AskBeforeReplacing));
        QVERIFY(t.desktop.pdfPaths.isEmpty()); // cancelled: nothing written
    }

    // ---- Character counter ----

    void counterMessage_data()
    {
        QTest::addColumn<Tags>("tags");
        QTest::addColumn<QString>("message");
        const QString s = QStringLiteral("1");
        QTest::newRow("example of three classes") << Tags{{repeat(3), repeat(4), QStringLiteral("5")},
                                                          {repeat(11), QString(), QStringLiteral("2")},
                                                          {repeat(30), repeat(15), QStringLiteral("1")}}
                                                  << QStringLiteral(" 5 brickor innehåller 1 till 10 tecken.\n"
                                                                    " 2 brickor innehåller 11 tecken.\n"
                                                                    " 1 bricka innehåller 40 eller fler tecken.");
        QTest::newRow("one short tag") << Tags{{repeat(2), QString(), s}}
                                       << QStringLiteral(" 1 bricka innehåller 1 till 10 tecken.");
        QTest::newRow("first line always, with zero")
            << Tags{{repeat(11), QString(), QStringLiteral("2")}, {repeat(5), repeat(6), QStringLiteral("3")}}
            << QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n 5 brickor innehåller 11 tecken.");
        QTest::newRow("both texts empty count in the first class")
            << Tags{{QString(), QString(), QStringLiteral("4")}}
            << QStringLiteral(" 4 brickor innehåller 1 till 10 tecken.");
        QTest::newRow("10 and 11") << Tags{{repeat(10), QString(), s}, {repeat(6), repeat(5), s}}
                                   << QStringLiteral(
                                          " 1 bricka innehåller 1 till 10 tecken.\n 1 bricka innehåller 11 tecken.");
        QTest::newRow("39, 40 and 75") << Tags{{repeat(39), QString(), s},
                                               {repeat(20), repeat(20), s},
                                               {repeat(40), repeat(35), s}}
                                       << QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n"
                                                         " 1 bricka innehåller 39 tecken.\n"
                                                         " 2 brickor innehåller 40 eller fler tecken.");
        QTest::newRow("quantity, not rows")
            << Tags{{repeat(20), QString(), QStringLiteral("12")}}
            << QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n 12 brickor innehåller 20 tecken.");
        QTest::newRow("classes in increasing order")
            << Tags{{repeat(25), QString(), s}, {repeat(12), QString(), s}, {repeat(25), QString(), s}}
            << QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n"
                              " 1 bricka innehåller 12 tecken.\n"
                              " 2 brickor innehåller 25 tecken.");
        QTest::newRow("blanks count") << Tags{{QStringLiteral("     "), QStringLiteral("      "), s}}
                                      << QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n"
                                                        " 1 bricka innehåller 11 tecken.");
        QTest::newRow("negative total gets no line but the first shows it")
            << Tags{{repeat(2), QString(), QStringLiteral("-3")}, {repeat(15), QString(), QStringLiteral("-1")}}
            << QStringLiteral("-3 brickor innehåller 1 till 10 tecken.");
        QTest::newRow("sums past 16 bits do not wrap")
            << Tags{{QStringLiteral("a"), QString(), QStringLiteral("32767")},
                    {QStringLiteral("b"), QString(), QStringLiteral("32767")},
                    {QStringLiteral("c"), QString(), QStringLiteral("32767")}}
            << QStringLiteral(" 98301 brickor innehåller 1 till 10 tecken.");
        QTest::newRow("a pair of UTF-16 units is two characters")
            << Tags{{QString::fromUtf8("😀😀😀😀😀😀"), QString(), s}}
            << QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n 1 bricka innehåller 12 tecken.");
        QTest::newRow("digits: leading zeros and the 16-bit limit")
            << Tags{{QStringLiteral("a"), QString(), QStringLiteral("007")},
                    {QStringLiteral("b"), QString(), QStringLiteral("32767")},
                    {QStringLiteral("c"), QString(), QStringLiteral("32768")},
                    {QStringLiteral("d"), QString(), QStringLiteral("00000")},
                    {QStringLiteral("e"), QString(), QStringLiteral("+4")},
                    {QStringLiteral("f"), QString(), QStringLiteral("0000012")}}
            << QStringLiteral(" 32790 brickor innehåller 1 till 10 tecken.\n"
                              " 1 rad saknar giltigt antal och räknades inte.");
        QTest::newRow("one row without a valid quantity")
            << Tags{{repeat(3), QString(), QString()}, {repeat(3), QString(), QStringLiteral("2")}}
            << QStringLiteral(" 2 brickor innehåller 1 till 10 tecken.\n"
                              " 1 rad saknar giltigt antal och räknades inte.");
        QTest::newRow("rows without a valid quantity")
            << Tags{{repeat(30), QString(), QStringLiteral("abc")},
                    {repeat(3), QString(), QStringLiteral("40000")},
                    {repeat(3), QString(), QString()}}
            << QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n"
                              " 3 rader saknar giltigt antal och räknades inte.");
    }
    void counterMessage()
    {
        QFETCH(Tags, tags);
        QFETCH(QString, message);
        TestDoc t;
        t.addTags(tags);
        showCharacterCount(t.doc);
        QCOMPARE(t.desktop.messages.size(), size_t(1));
        const FakeDesktop::Message &m = t.desktop.messages.front();
        QCOMPARE(m.prompt, message);
        QCOMPARE(m.title, QStringLiteral("Teckenräknare"));
        QCOMPARE(m.icon, Desktop::Icon::Information);
        QCOMPARE(m.buttons, Desktop::Buttons::Ok);
    }

    void counterConvertsQuantitiesUnderTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        TestDoc t;
        t.addTags({{QStringLiteral("a"), QString(), QStringLiteral("2,5")},
                   {QStringLiteral("b"), QString(), QStringLiteral(" 3,5 ")}});
        showCharacterCount(t.doc);
        QCOMPARE(t.desktop.messages.front().prompt, QStringLiteral(" 6 brickor innehåller 1 till 10 tecken."));
    }

    void entryRowIsNeverCounted()
    {
        TestDoc t;
        t.addTags({{QStringLiteral("a"), QString(), QStringLiteral("1")}});
        const int entry = t.doc.grid.rows() - 1;
        t.doc.grid.setTextAt(entry, 1, repeat(15));
        t.doc.grid.setTextAt(entry, 3, QStringLiteral("9"));
        showCharacterCount(t.doc);
        QCOMPARE(t.desktop.messages.front().prompt, QStringLiteral(" 1 bricka innehåller 1 till 10 tecken."));
    }

    void counterRestoresCursorAndLeavesListAlone()
    {
        TestDoc t;
        t.addTags({{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("1")},
                   {QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("")},
                   {QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("3")}});
        t.doc.grid.setRow(2);
        grdGrid_Click(t.doc);
        t.fields.set(QStringLiteral("typed"), QString(), QString());
        t.doc.markChanged();
        QStringList cellsBefore;
        for (int r = 0; r < t.doc.grid.rows(); ++r)
            cellsBefore << t.rowText(r);

        showCharacterCount(t.doc);

        QVERIFY(cursorOf(t.doc.grid) == (Cursor{2, 1, 2, 3}));
        QCOMPARE(t.fields.values[0], QStringLiteral("typed"));
        QVERIFY(t.doc.Andrad());
        QStringList cellsAfter;
        for (int r = 0; r < t.doc.grid.rows(); ++r)
            cellsAfter << t.rowText(r);
        QCOMPARE(cellsAfter, cellsBefore);
    }

    void counterPutsBackColumnThenRowThenSelects()
    {
        // A selection of several rows comes back as the cursor row alone:
        // the cursor is written back before the rows are selected again.
        TestDoc t;
        t.addTags({{QStringLiteral("a"), QString(), QStringLiteral("1")},
                   {QStringLiteral("b"), QString(), QStringLiteral("2")},
                   {QStringLiteral("c"), QString(), QStringLiteral("3")}});
        t.doc.grid.setRow(1);
        t.doc.grid.setCol(2);
        t.doc.grid.setRowSel(3);
        showCharacterCount(t.doc);
        QVERIFY(cursorOf(t.doc.grid) == (Cursor{1, 1, 1, 3}));
    }

    void emptyListSaysSoAndTouchesNothing()
    {
        TestDoc t;
        t.doc.grid.setCol(2); // an unusual cursor must survive as it is
        t.doc.grid.setColSel(3);
        const Cursor before = cursorOf(t.doc.grid);
        showCharacterCount(t.doc);
        QCOMPARE(t.desktop.messages.size(), size_t(1));
        QCOMPARE(t.desktop.messages.front().prompt, QStringLiteral("Inga brickor upplagda!"));
        QCOMPARE(t.desktop.messages.front().title, QStringLiteral("Teckenräknare"));
        QCOMPARE(t.desktop.messages.front().icon, Desktop::Icon::Information);
        QVERIFY(cursorOf(t.doc.grid) == before);
        QVERIFY(!t.doc.Andrad());
    }
};

QTEST_GUILESS_MAIN(TestReports)
#include "test_reports.moc"
