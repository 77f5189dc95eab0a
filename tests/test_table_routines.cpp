// The table routines and the row editor, through the fake desktop.
#include "FakeDesktop.h"
#include "base/Numbers.h"
#include "document/TableRoutines.h"
#include "edit/RowEditor.h"

#include <QtTest>

namespace {
struct LocaleScope {
    QLocale saved;
    explicit LocaleScope(const QLocale &l) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(saved); }
};
const QLocale kSwedish(QLocale::Swedish, QLocale::Sweden);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
} // namespace

class TestTableRoutines : public QObject {
    Q_OBJECT

    static void selectionIs(const TagGrid &g, int row, int rowSel)
    {
        QCOMPARE(g.row(), row);
        QCOMPARE(g.rowSel(), rowSel);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.colSel(), 3);
    }

private slots:
    void nyListaLeavesHeaderAndNumberedEntryRow()
    {
        TestDoc t;
        t.addTags({{"a", "b", "1"}, {"c", "d", "2"}, {"e", "f", "3"}});
        t.doc.FilNamn = QStringLiteral("/tmp/x.brk");
        t.doc.markChanged();
        t.doc.grid.setRow(2);
        t.doc.grid.setRowSel(3);
        t.fields.set("typed", "not", "committed");
        NyLista(t.doc);
        QCOMPARE(t.doc.grid.rows(), 2);
        QCOMPARE(t.doc.grid.cols(), 4);
        QCOMPARE(t.rowText(0), QStringLiteral("|Rad 1|Rad 2|Antal"));
        QCOMPARE(t.rowText(1), QStringLiteral("1|||"));
        QCOMPARE(t.doc.FilNamn, QString());
        QCOMPARE(t.desktop.caption, QStringLiteral("Namnlös - Ovelda Taggverk"));
        QCOMPARE(t.doc.Andrad(), true); // its callers clear it
        selectionIs(t.doc.grid, 1, 1);
        QCOMPARE(t.fields.values[0] + t.fields.values[1] + t.fields.values[2], QString());
        QCOMPARE(t.doc.grid.colAlignment(0), TagGrid::Alignment::RightCenter);
        QCOMPARE(t.doc.grid.headerAlignment(1), TagGrid::Alignment::LeftCenter);
        QCOMPARE(t.doc.grid.colAlignment(3), TagGrid::Alignment::RightCenter);
    }

    void numreraRaderNumbersEveryRowAndKeepsTheCursorRow()
    {
        TestDoc t;
        t.addTags({{"a", "", "1"}, {"b", "", "1"}, {"c", "", "1"}});
        for (int r = 1; r < t.doc.grid.rows(); ++r)
            t.doc.grid.setTextAt(r, 0, QStringLiteral("old"));
        t.doc.grid.setRow(2);
        t.doc.grid.setCol(3);
        t.doc.grid.setRowSel(4);
        NumreraRader(t.doc);
        QCOMPARE(t.column(0), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(t.doc.grid.row(), 2);
        QCOMPARE(t.doc.grid.col(), 1);
        QCOMPARE(t.doc.grid.rowSel(), 2); // collapsed; callers follow with MarkeraRader
        QCOMPARE(t.doc.grid.colSel(), 1);
    }

    void markeraRaderWidensInEitherDirection_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("rowSel");
        QTest::newRow("dragged down") << 2 << 5;
        QTest::newRow("dragged up") << 5 << 2;
        QTest::newRow("one row") << 3 << 3;
    }
    void markeraRaderWidensInEitherDirection()
    {
        QFETCH(int, row);
        QFETCH(int, rowSel);
        TestDoc t;
        t.addTags({{"a", "", "1"}, {"b", "", "1"}, {"c", "", "1"}, {"d", "", "1"}, {"e", "", "1"}});
        t.doc.grid.setRow(row);
        t.doc.grid.setCol(0);
        t.doc.grid.setRowSel(rowSel);
        MarkeraRader(t.doc);
        selectionIs(t.doc.grid, row, rowSel);
    }

    void hamtaRadLoadsTheCursorRowAsItStands()
    {
        TestDoc t;
        t.addTags({{" pad ", "B", "2,5"}});
        t.doc.grid.setRow(1);
        t.doc.grid.setRowSel(2);
        t.fields.focus = -1;
        HamtaRad(t.doc);
        QCOMPARE(t.fields.values[0], QStringLiteral(" pad "));
        QCOMPARE(t.fields.values[1], QStringLiteral("B"));
        QCOMPARE(t.fields.values[2], QStringLiteral("2,5"));
        selectionIs(t.doc.grid, 1, 2);
        QCOMPARE(t.fields.focus, int(EditorFields::Rad1));

        t.doc.grid.setRow(2); // the entry row
        t.fields.shown = false;
        t.fields.focus = -1;
        HamtaRad(t.doc);
        QCOMPARE(t.fields.values[0] + t.fields.values[1] + t.fields.values[2], QString());
        QCOMPARE(t.fields.focus, -1); // a hidden field takes no focus
    }

    void visaAktuellRadScrollsOnlyAsFarAsNeeded_data()
    {
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("topAfter");
        QTest::newRow("shown: no scrolling") << 5 << 3 << 6 << 3;
        QTest::newRow("below: just into view") << 5 << 1 << 12 << 8;
        QTest::newRow("entry row at the end") << 5 << 1 << 20 << 16;
        QTest::newRow("above: brought into view") << 5 << 10 << 4 << 4;
        QTest::newRow("no row fits: ends") << 0 << 1 << 7 << 20;
    }
    void visaAktuellRadScrollsOnlyAsFarAsNeeded()
    {
        QFETCH(int, visible);
        QFETCH(int, top);
        QFETCH(int, cursor);
        QFETCH(int, topAfter);
        TestDoc t;
        std::vector<std::array<QString, 3>> tags(19, {"x", "", "1"});
        t.addTags(tags); // rows 1..19 and the entry row 20
        t.doc.grid.setVisibleRowCount(visible);
        t.doc.grid.setTopRow(top);
        t.doc.grid.setRow(cursor);
        VisaAktuellRad(t.doc);
        QCOMPARE(t.doc.grid.topRow(), topAfter);
        if (visible > 0)
            QVERIFY(t.doc.grid.isRowVisible(cursor));
    }

    // A press, maybe a drag to rowSel, and the release.
    void mouseGesturesSelectWholeTagsAndLoadTheCursorRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("rowSel");
        QTest::addColumn<int>("wantRow");
        QTest::addColumn<int>("wantSel");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("header row") << 0 << 2 << 0 << 1 << 1 << "a";
        QTest::newRow("a cell") << 2 << 2 << 2 << 2 << 2 << "b";
        QTest::newRow("number column") << 3 << 0 << 3 << 3 << 3 << "c";
        QTest::newRow("dragged up") << 3 << 3 << 1 << 3 << 1 << "c";
        QTest::newRow("entry row") << 4 << 1 << 4 << 4 << 4 << "";
    }
    void mouseGesturesSelectWholeTagsAndLoadTheCursorRow()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, rowSel);
        QFETCH(int, wantRow);
        QFETCH(int, wantSel);
        QFETCH(QString, loaded);
        TestDoc t;
        t.addTags({{"a", "", "1"}, {"b", "", "2"}, {"c", "", "3"}});
        t.doc.markSaved();
        t.fields.set("typed", "not", "committed");
        tablePress(t.doc, row, col, false);
        if (rowSel != row)
            tableDrag(t.doc, rowSel, col);
        grdGrid_Click(t.doc);
        selectionIs(t.doc.grid, wantRow, wantSel);
        QCOMPARE(t.fields.values[0], loaded);
        QCOMPARE(t.fields.focus, int(EditorFields::Rad1));
        QCOMPARE(t.doc.Andrad(), false);
    }

    // 20 tags t1..t20 and the entry row 21; five rows shown from row 1.
    void keyMovesActLikeAClickButKeepTheFocus_data()
    {
        using K = TableKey;
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("rowSel");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("wantRow");
        QTest::addColumn<int>("wantSel");
        QTest::newRow("Down") << 3 << 3 << int(K::Down) << false << 4 << 4;
        QTest::newRow("Up stops at the first data row") << 1 << 1 << int(K::Up) << false << 1 << 1;
        QTest::newRow("Down stops at the entry row") << 21 << 21 << int(K::Down) << false << 21 << 21;
        QTest::newRow("Page Down by the rows shown") << 3 << 3 << int(K::PageDown) << false << 8 << 8;
        QTest::newRow("Page Up stops at row 1") << 3 << 3 << int(K::PageUp) << false << 1 << 1;
        QTest::newRow("Ctrl+Home") << 12 << 12 << int(K::First) << false << 1 << 1;
        QTest::newRow("Ctrl+End") << 3 << 3 << int(K::Last) << false << 21 << 21;
        QTest::newRow("Down drops a widened selection") << 3 << 6 << int(K::Down) << false << 4 << 4;
        QTest::newRow("Shift+Down widens") << 3 << 3 << int(K::Down) << true << 3 << 4;
        QTest::newRow("Shift+Down widens further") << 3 << 4 << int(K::Down) << true << 3 << 5;
        QTest::newRow("Shift+Up above the cursor") << 3 << 3 << int(K::Up) << true << 3 << 2;
        QTest::newRow("Shift+Up stops at row 1") << 3 << 1 << int(K::Up) << true << 3 << 1;
        QTest::newRow("Shift+Ctrl+End") << 3 << 3 << int(K::Last) << true << 3 << 21;
    }
    void keyMovesActLikeAClickButKeepTheFocus()
    {
        QFETCH(int, row);
        QFETCH(int, rowSel);
        QFETCH(int, key);
        QFETCH(bool, shift);
        QFETCH(int, wantRow);
        QFETCH(int, wantSel);
        TestDoc t;
        for (int i = 1; i <= 20; ++i)
            t.addTags({{QStringLiteral("t%1").arg(i), QStringLiteral("u%1").arg(i), QString::number(i)}});
        TagGrid &g = t.doc.grid;
        g.setVisibleRowCount(5);
        g.setTopRow(1);
        g.setRow(row);
        g.setRowSel(rowSel);
        MarkeraRader(t.doc);
        t.fields.set("typed", "not", "committed");
        t.fields.focusChanges = 0;
        t.doc.markSaved();

        tableKeyPress(t.doc, TableKey(key), shift);
        selectionIs(g, wantRow, wantSel);
        QCOMPARE(t.fields.focusChanges, 0); // the focus stays in the table
        QCOMPARE(t.doc.Andrad(), false);
        QVERIFY(t.desktop.messages.empty());
        // Every gesture ends like a click: the fields show the cursor row,
        // so the next Uppdatera cannot write typed texts over it unseen.
        QCOMPARE(t.fields.values[0], wantRow == 21 ? QString() : QStringLiteral("t%1").arg(wantRow));
        QCOMPARE(t.fields.values[1], wantRow == 21 ? QString() : QStringLiteral("u%1").arg(wantRow));
        QVERIFY(g.isRowVisible(shift ? wantSel : wantRow));
    }

    void validationMessages_data()
    {
        QTest::addColumn<QString>("rad1");
        QTest::addColumn<QString>("rad2");
        QTest::addColumn<QString>("antal");
        QTest::addColumn<bool>("swedish");
        QTest::addColumn<QString>("prompt"); // empty: accepted
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("focus");
        const QString text = QStringLiteral("Minst ett av textfälten måste innehålla något!");
        const QString numeric = QStringLiteral("Antal måste vara numeriskt!");
        const QString positive = QStringLiteral("Antal måste vara större än noll!");
        const QString fText = QStringLiteral("Fel text"), fAntal = QStringLiteral("Fel antal");
        const int r1 = EditorFields::Rad1, an = EditorFields::Antal;
        QTest::newRow("both empty, text check first") << ""
                                                      << ""
                                                      << "abc" << false << text << fText << r1;
        QTest::newRow("line 2 only") << ""
                                     << "X"
                                     << "1" << false << ""
                                     << "" << r1;
        QTest::newRow("a blank counts as text") << " "
                                                << ""
                                                << "1" << false << ""
                                                << "" << r1;
        QTest::newRow("empty quantity") << "a"
                                        << ""
                                        << "" << false << numeric << fAntal << an;
        QTest::newRow("blanks only") << "a"
                                     << ""
                                     << "   " << false << numeric << fAntal << an;
        QTest::newRow("abc") << "a"
                             << ""
                             << "abc" << false << numeric << fAntal << an;
        QTest::newRow("12abc") << "a"
                               << ""
                               << "12abc" << false << numeric << fAntal << an;
        QTest::newRow("zero") << "a"
                              << ""
                              << "0" << false << positive << fAntal << an;
        QTest::newRow("negative") << "a"
                                  << ""
                                  << "-3" << false << positive << fAntal << an;
        QTest::newRow("blanks around") << "a"
                                       << ""
                                       << " 5 " << false << ""
                                       << "" << r1;
        QTest::newRow("no upper bound") << "a"
                                        << ""
                                        << "40000" << false << ""
                                        << "" << r1;
        QTest::newRow("sv 0,5: numeric, leading value 0") << "a"
                                                          << ""
                                                          << "0,5" << true << positive << fAntal << an;
        QTest::newRow("sv 2,5 accepted") << "a"
                                         << ""
                                         << "2,5" << true << ""
                                         << "" << r1;
        QTest::newRow("sv full stop is no separator") << "a"
                                                      << ""
                                                      << "2.5" << true << numeric << fAntal << an;
        QTest::newRow("en 0.5 leading value 0.5") << "a"
                                                  << ""
                                                  << "0.5" << false << ""
                                                  << "" << r1;
        QTest::newRow("infinity is no number") << "a"
                                               << ""
                                               << "inf" << false << numeric << fAntal << an;
    }
    void validationMessages()
    {
        QFETCH(QString, rad1);
        QFETCH(QString, rad2);
        QFETCH(QString, antal);
        QFETCH(bool, swedish);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        QFETCH(int, focus);
        LocaleScope locale(swedish ? kSwedish : kEnglish);
        TestDoc t;
        t.addTags({{"old", "row", "9"}});
        t.doc.markSaved();
        const QString before = t.rowText(2);
        t.fields.set(rad1, rad2, antal);
        cmdUppdatera_Click(t.doc);
        QCOMPARE(t.fields.focus, focus);
        if (prompt.isEmpty()) {
            QVERIFY(t.desktop.messages.empty());
            QCOMPARE(t.rowText(2), QStringLiteral("2|%1|%2|%3").arg(rad1, rad2, antal)); // stored as typed
            QCOMPARE(t.doc.Andrad(), true);
            return;
        }
        QCOMPARE(t.desktop.messages.size(), size_t(1));
        QCOMPARE(t.desktop.messages[0].prompt, prompt);
        QCOMPARE(t.desktop.messages[0].title, title);
        QCOMPARE(t.desktop.messages[0].icon, Desktop::Icon::Warning);
        QCOMPARE(t.desktop.messages[0].buttons, Desktop::Buttons::Ok);
        QCOMPARE(t.rowText(2), before);
        QCOMPARE(t.doc.grid.rows(), 3);
        QCOMPARE(t.fields.values[2], antal); // the typed text stays for correcting
        QCOMPARE(t.doc.Andrad(), false);
    }

    void commitIntoEntryRowAppendsANewOne()
    {
        TestDoc t;
        t.fields.set("A", "", "3");
        cmdUppdatera_Click(t.doc);
        QCOMPARE(t.rowText(1), QStringLiteral("1|A||3"));
        QCOMPARE(t.rowText(2), QStringLiteral("2|||"));
        QCOMPARE(t.doc.grid.rows(), 3);
        selectionIs(t.doc.grid, 2, 2);
        QCOMPARE(t.fields.values[0] + t.fields.values[1] + t.fields.values[2], QString());
        QCOMPARE(t.fields.focus, int(EditorFields::Rad1));
        QCOMPARE(t.doc.Andrad(), true);
    }

    void commitIntoDataRowOverwritesAndSteps()
    {
        TestDoc t;
        t.addTags({{"a", "", "1"}, {"b", "x", "2"}, {"c", "y", "3"}});
        t.doc.grid.setRow(2);
        t.fields.set("B", "X", "20");
        cmdUppdatera_Click(t.doc);
        QCOMPARE(t.rowText(2), QStringLiteral("2|B|X|20"));
        QCOMPARE(t.doc.grid.rows(), 5);
        selectionIs(t.doc.grid, 3, 3);
        QCOMPARE(t.fields.values[0], QStringLiteral("c"));
        QCOMPARE(t.fields.values[2], QStringLiteral("3"));

        t.fields.set("C", "", "4"); // the last data row: on to the entry row
        cmdUppdatera_Click(t.doc);
        QCOMPARE(t.doc.grid.rows(), 5);
        selectionIs(t.doc.grid, 4, 4);
        QCOMPARE(t.fields.values[0], QString());
    }

    void commitScrollsTheNewRowIntoView()
    {
        TestDoc t;
        t.doc.grid.setVisibleRowCount(3);
        for (int i = 0; i < 6; ++i) {
            t.fields.set("x", "", "1");
            cmdUppdatera_Click(t.doc);
        }
        QCOMPARE(t.doc.grid.row(), 7);
        QVERIFY(t.doc.grid.isRowVisible(7));
        QCOMPARE(t.doc.grid.topRow(), 5);
    }

    void fullListRefusesAnotherTag()
    {
        TestDoc t;
        TagGrid &g = t.doc.grid;
        g.setRows(kMaxRows);
        g.setRow(g.rows() - 1);
        t.fields.set("one", "too many", "1");
        cmdUppdatera_Click(t.doc);
        QCOMPARE(g.rows(), kMaxRows);
        QCOMPARE(g.textAt(g.rows() - 1, 1), QString());
        QCOMPARE(t.desktop.messages.size(), size_t(1));
        QCOMPARE(t.desktop.messages[0].prompt, QStringLiteral("Listan rymmer högst 32765 brickor."));
        QCOMPARE(t.desktop.messages[0].title, QStringLiteral("För många brickor"));
        QCOMPARE(t.doc.Andrad(), false);

        g.setRow(5); // overwriting a tag of a full list is still allowed
        cmdUppdatera_Click(t.doc);
        QCOMPARE(g.textAt(5, 2), QStringLiteral("too many"));
    }

    void hugeTextIsAccepted()
    {
        TestDoc t;
        const QString big(100000, QLatin1Char('W'));
        t.fields.set(big, "", "1");
        cmdUppdatera_Click(t.doc);
        QCOMPARE(t.doc.grid.textAt(1, 1).size(), 100000);
    }

    void leadingValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("12") << "12" << 12.0;
        QTest::newRow("blanks inside") << " 1 2" << 12.0;
        QTest::newRow("tabs and line feeds") << "\t3\n4" << 34.0;
        QTest::newRow("unit after") << "3 st" << 3.0;
        QTest::newRow("comma ends") << "2,5" << 2.0;
        QTest::newRow("0,5") << "0,5" << 0.0;
        QTest::newRow("full stop") << "2.5" << 2.5;
        QTest::newRow("minus") << "-4" << -4.0;
        QTest::newRow("plus") << "+4" << 4.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("dangling exponent") << "7e" << 7.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("abc") << "abc" << 0.0;
        QTest::newRow("minus alone") << "-" << 0.0;
        QTest::newRow("huge") << QString(400, QLatin1Char('9')) << HUGE_VAL;
        QTest::newRow("tiny") << "1e-400" << 0.0;
        // Only the number read decides its scale; what follows it does not.
        QTest::newRow("huge, then more") << "1e400e-5" << HUGE_VAL;
    }
    void leadingValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        LocaleScope locale(kSwedish); // the leading value ignores the locale
        QCOMPARE(::leadingValue(text), value);
    }
};

QTEST_GUILESS_MAIN(TestTableRoutines)
#include "test_table_routines.moc"
