// Sök, Sök nästa and Ersätt on a document with a scripted desktop: the
// order a search goes in and where it goes round, upper and lower case, and
// what a replacement changes, counts and leaves.
#include "FakeDesktop.h"
#include "app/Commands.h"
#include "base/Limits.h"
#include "document/TableRoutines.h"
#include "edit/FindReplace.h"

#include <QTest>

Q_DECLARE_METATYPE(FindSettings)

namespace {

// Each tag as "Rad 1|Rad 2|Antal".
void fill(TestDoc &t, const QStringList &rows)
{
    std::vector<std::array<QString, 3>> tags;
    for (const QString &row : rows) {
        const QStringList c = row.split(QLatin1Char('|'));
        tags.push_back({c.value(0), c.value(1), c.value(2)});
    }
    t.addTags(tags);
    t.doc.history.clear();
    t.doc.Andrad = false;
    // Few rows in view, so that a row found must be scrolled to.
    t.doc.grid.setVisibleRowCount(2);
}

// The data rows as "Rad 1|Rad 2|Antal"; the entry row must stay empty.
QStringList tags(const TestDoc &t)
{
    const TagGrid &g = t.doc.grid;
    const int entry = g.rows() - 1;
    if (g.textAt(entry, 1) + g.textAt(entry, 2) + g.textAt(entry, 3) != QString())
        return {QStringLiteral("entry row written")};
    QStringList out;
    for (int r = 1; r < entry; ++r)
        out << g.textAt(r, 1) + QLatin1Char('|') + g.textAt(r, 2) + QLatin1Char('|') + g.textAt(r, 3);
    return out;
}

void click(TestDoc &t, int row, int rowSel = -1)
{
    tablePress(t.doc, row, 1, false);
    if (rowSel >= 0)
        tableDrag(t.doc, rowSel, 3);
    grdGrid_Click(t.doc);
}

FindSettings search(const QString &text, bool matchCase = false, bool textsOnly = false,
                    const QString &replacement = QString())
{
    return {text, replacement, matchCase, textsOnly};
}

QString fieldsOf(const TestDoc &t)
{
    return t.fields.values[0] + QLatin1Char('|') + t.fields.values[1] + QLatin1Char('|') + t.fields.values[2];
}

QString cursorRowOf(const TestDoc &t)
{
    return tags(t).value(t.doc.grid.row() - 1, QStringLiteral("||"));
}

// One message, titled and with the information icon.
void verifyOneMessage(const TestDoc &t, const QString &prompt, const QString &title)
{
    QCOMPARE(int(t.desktop.messages.size()), 1);
    QCOMPARE(t.desktop.messages[0].prompt, prompt);
    QCOMPARE(t.desktop.messages[0].title, title);
    QCOMPARE(t.desktop.messages[0].icon, Desktop::Icon::Information);
}

const QStringList kList = {"Pump 1|Källare|2", "Ventil V317|Rum 4|1", "pump 2||12", "PUMP 3|Tak|3", "Motor|ventil|4"};

} // namespace

class TestFindReplace : public QObject {
    Q_OBJECT

private slots:
    void findNextOrderAndCase_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("replaceWindow"); // Rad 1 and Rad 2 only, title "Ersätt"
        QTest::addColumn<int>("found");          // 0: nothing found

        QTest::newRow("down from the row after the cursor") << kList << 1 << "pump" << false << false << 3;
        QTest::newRow("the cursor row itself comes last") << kList << 3 << "pump" << false << false << 4;
        QTest::newRow("round from row 1") << kList << 4 << "pump" << false << false << 1;
        QTest::newRow("round to the cursor row itself") << kList << 2 << "V317" << false << false << 2;
        QTest::newRow("from the entry row: row 1 first") << kList << 6 << "pump" << false << false << 1;
        QTest::newRow("in Rad 2") << kList << 1 << "rum" << false << false << 2;
        QTest::newRow("in Antal") << kList << 1 << "12" << false << false << 3;
        QTest::newRow("Ersätt: not in Antal") << kList << 1 << "12" << false << true << 0;
        QTest::newRow("Ersätt: in Rad 2") << kList << 3 << "TAK" << false << true << 4;
        QTest::newRow("case ignored without the box") << kList << 2 << "VENTIL" << false << false << 5;
        QTest::newRow("case matters with the box") << kList << 2 << "VENTIL" << true << false << 0;
        QTest::newRow("with the box: the same case only") << kList << 1 << "ventil" << true << false << 5;
        QTest::newRow("å and Å alike without the box") << kList << 2 << "KÄLLARE" << false << false << 1;
        QTest::newRow("within a word, over a blank") << kList << 5 << "l V3" << false << false << 2;
        QTest::newRow("not found") << kList << 1 << "Hjul" << false << false << 0;
        QTest::newRow("not found, Ersätt") << kList << 1 << "Hjul" << false << true << 0;
        QTest::newRow("an empty list") << QStringList() << 1 << "a" << false << false << 0;
    }
    void findNextOrderAndCase()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, cursor);
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, replaceWindow);
        QFETCH(int, found);
        TestDoc t;
        fill(t, rows);
        click(t, cursor);
        t.fields.set(QStringLiteral("typed"), QString(), QString());
        t.fields.focus = -1;
        const QString title = replaceWindow ? kReplaceTitle : kFindTitle;

        QCOMPARE(findNext(t.doc, search(text, matchCase, replaceWindow), title), found > 0);

        const TagGrid &g = t.doc.grid;
        QCOMPARE(tags(t), rows);
        QCOMPARE(t.doc.Andrad, false);
        QCOMPARE(t.doc.history.steps(), 0);
        if (found == 0) {
            verifyOneMessage(t, QStringLiteral("Hittade inte \"") + text + QStringLiteral("\"."), title);
            QCOMPARE(g.row(), cursor);
            QCOMPARE(t.fields.values[0], QStringLiteral("typed"));
            return;
        }
        // As a click on the row found.
        QVERIFY(t.desktop.messages.empty());
        QCOMPARE(g.row(), found);
        QCOMPARE(g.rowSel(), found);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.colSel(), 3);
        QCOMPARE(fieldsOf(t), rows[found - 1]);
        QCOMPARE(t.fields.focus, int(EditorFields::Rad1));
        QVERIFY(g.isRowVisible(found));
    }

    void emptyTextDoesNothing()
    {
        TestDoc t;
        fill(t, kList);
        click(t, 2);
        QVERIFY(!findNext(t.doc, search(QString()), kFindTitle));
        replaceOne(t.doc, search(QString(), false, true, QStringLiteral("x")));
        replaceAll(t.doc, search(QString(), false, true, QStringLiteral("x")));
        QCOMPARE(t.doc.grid.row(), 2);
        QCOMPARE(tags(t), kList);
        QVERIFY(t.desktop.messages.empty());
        QCOMPARE(t.doc.history.steps(), 0);
    }

    // Sök and Ersätt open their windows; Sök nästa repeats the last search,
    // its case and where it looked, or opens Sök when there was none.
    void menuCommands()
    {
        TestDoc t;
        fill(t, kList);
        click(t, 1);
        runCommand(t.doc, Command::Find);
        runCommand(t.doc, Command::Replace);
        QCOMPARE(t.desktop.findShown, 1);
        QCOMPARE(t.desktop.replaceShown, 1);
        runCommand(t.doc, Command::FindNext);
        QCOMPARE(t.desktop.findShown, 2);
        QCOMPARE(t.doc.grid.row(), 1);

        findNext(t.doc, search(QStringLiteral("pump")), kFindTitle);
        QCOMPARE(t.doc.grid.row(), 3);
        runCommand(t.doc, Command::FindNext);
        QCOMPARE(t.doc.grid.row(), 4);
        runCommand(t.doc, Command::FindNext);
        QCOMPARE(t.doc.grid.row(), 1);

        findNext(t.doc, search(QStringLiteral("Pump"), true), kFindTitle);
        runCommand(t.doc, Command::FindNext);
        QCOMPARE(t.doc.grid.row(), 1); // only row 1 has it so

        // From the Ersätt window: the texts only, also when repeated.
        click(t, 1);
        findNext(t.doc, search(QStringLiteral("12"), false, true), kReplaceTitle);
        runCommand(t.doc, Command::FindNext);
        QCOMPARE(t.doc.grid.row(), 1);
        QCOMPARE(int(t.desktop.messages.size()), 2);
        QCOMPARE(t.desktop.messages[1].title, kFindTitle);
        QCOMPARE(t.desktop.findShown, 2);
        // The windows open with the last search and replacement.
        replaceAll(t.doc, search(QStringLiteral("Tak"), true, true, QStringLiteral("Golv")));
        QCOMPARE(t.doc.find.text, QStringLiteral("Tak"));
        QCOMPARE(t.doc.find.replacement, QStringLiteral("Golv"));
        QVERIFY(t.doc.find.matchCase);
        findNext(t.doc, search(QStringLiteral("Motor")), kFindTitle);
        QCOMPARE(t.doc.find.replacement, QStringLiteral("Golv"));
        QVERIFY(!t.doc.find.textsOnly);
    }

    void replaceInTheCursorRow_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<FindSettings>("settings");
        QTest::addColumn<QStringList>("want");
        QTest::addColumn<int>("wantCursor");
        QTest::addColumn<QString>("message"); // "" none

        const QString tooLong(40000, QLatin1Char('a'));
        const QString left1 = QStringLiteral("0 ersättningar gjordes.\nRader som inte ändrades: 1.");
        QTest::newRow("every match of both texts, then the next")
            << QStringList{"Pump pump|pumpa|5", "Motor||1", "Pump 3||2"} << 1 << search("pump", false, true, "P")
            << QStringList{"P P|Pa|5", "Motor||1", "Pump 3||2"} << 3 << "";
        QTest::newRow("never the quantity") << QStringList{"a1|b1|1", "c||1"} << 1 << search("1", false, true, "2")
                                            << QStringList{"a2|b2|1", "c||1"} << 1 << "";
        QTest::newRow("none left: no message") << QStringList{"a||1", "b||1"} << 2 << search("b", false, true, "c")
                                               << QStringList{"a||1", "c||1"} << 2 << "";
        QTest::newRow("a cursor row without a match: only the next")
            << QStringList{"a||1", "b||1", "ab||1"} << 1 << search("b", false, true, "x")
            << QStringList{"a||1", "b||1", "ab||1"} << 2 << "";
        QTest::newRow("with the box") << QStringList{"Pump pump||1"} << 1 << search("pump", true, true, "X")
                                      << QStringList{"Pump X||1"} << 1 << "";
        QTest::newRow("overlapping: from the left")
            << QStringList{"aaaa|aaa|1"} << 1 << search("aa", false, true, "b") << QStringList{"bb|ba|1"} << 1 << "";
        QTest::newRow("an empty replacement")
            << QStringList{"Pump 1|Pump|1"} << 1 << search("pump", false, true, "") << QStringList{" 1||1"} << 1 << "";
        QTest::newRow("both texts would end empty: left")
            << QStringList{"Pump|pump|1", "Pump 2||1"} << 1 << search("pump", false, true, "")
            << QStringList{"Pump|pump|1", "Pump 2||1"} << 2 << left1;
        QTest::newRow("too long: left") << QStringList{tooLong + "||1"} << 1 << search("a", false, true, "aa")
                                        << QStringList{tooLong + "||1"} << 1 << left1;
        QTest::newRow("at the length limit: replaced")
            << QStringList{QString(kMaxTextLength - 2, QLatin1Char('b')) + "a||1"} << 1
            << search("a", false, true, "aa") << QStringList{QString(kMaxTextLength - 2, QLatin1Char('b')) + "aa||1"}
            << 1 << "";
        QTest::newRow("the replacement still matches: it stays")
            << QStringList{"a||1", "b||1"} << 1 << search("a", false, true, "aa") << QStringList{"aa||1", "b||1"} << 1
            << "";
        QTest::newRow("from the entry row: nothing replaced")
            << QStringList{"x||1"} << 2 << search("x", false, true, "y") << QStringList{"x||1"} << 1 << "";
        QTest::newRow("the same text again: no change")
            << QStringList{"a||1", "A||1"} << 1 << search("A", false, true, "a") << QStringList{"a||1", "A||1"} << 2
            << "";
        QTest::newRow("no match anywhere") << QStringList{"a||1"} << 1 << search("q", false, true, "r")
                                           << QStringList{"a||1"} << 1 << QStringLiteral("Hittade inte \"q\".");
    }
    void replaceInTheCursorRow()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, cursor);
        QFETCH(FindSettings, settings);
        QFETCH(QStringList, want);
        QFETCH(int, wantCursor);
        QFETCH(QString, message);
        TestDoc t;
        fill(t, rows);
        click(t, cursor);
        const QStringList cellsBefore = t.column(1) + t.column(2) + t.column(0);

        replaceOne(t.doc, settings);

        QCOMPARE(tags(t), want);
        const bool changed = want != rows;
        QCOMPARE(t.doc.Andrad, changed);
        QCOMPARE(t.doc.history.steps(), changed ? 1 : 0);
        QCOMPARE(t.doc.grid.row(), wantCursor);
        QCOMPARE(t.doc.grid.rowSel(), wantCursor);
        QCOMPARE(fieldsOf(t), cursorRowOf(t));
        if (message.isEmpty())
            QVERIFY(t.desktop.messages.empty());
        else
            verifyOneMessage(t, message, kReplaceTitle);
        if (!changed)
            return;
        // One step: Ångra puts the row, the cursor and the fields back.
        runCommand(t.doc, Command::Undo);
        QCOMPARE(t.column(1) + t.column(2) + t.column(0), cellsBefore);
        QCOMPARE(t.doc.grid.row(), cursor);
        QCOMPARE(fieldsOf(t), cursorRowOf(t));
        runCommand(t.doc, Command::Redo);
        QCOMPARE(tags(t), want);
    }

    void replaceEverywhere_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<FindSettings>("settings");
        QTest::addColumn<QStringList>("want");
        QTest::addColumn<QString>("message");

        QTest::newRow("every match, both texts, several in one")
            << QStringList{"Pump pump|pumpa|12", "Motor||1", "PUMP||2"} << search("pump", false, true, "P")
            << QStringList{"P P|Pa|12", "Motor||1", "P||2"} << "4 ersättningar gjordes.";
        QTest::newRow("one") << QStringList{"a||1", "b||1"} << search("b", false, true, "c")
                             << QStringList{"a||1", "c||1"} << "1 ersättning gjordes.";
        QTest::newRow("never a quantity") << QStringList{"a1|1|1", "b||11"} << search("1", false, true, "")
                                          << QStringList{"a||1", "b||11"} << "2 ersättningar gjordes.";
        QTest::newRow("with the box") << QStringList{"Pump|pump|1", "PUMP||1"} << search("pump", true, true, "X")
                                      << QStringList{"Pump|X|1", "PUMP||1"} << "1 ersättning gjordes.";
        QTest::newRow("overlapping: from the left") << QStringList{"aaa|aaaa|1"} << search("aa", false, true, "b")
                                                    << QStringList{"ba|bb|1"} << "3 ersättningar gjordes.";
        QTest::newRow("no match") << QStringList{"a||1"} << search("zz", false, true, "y") << QStringList{"a||1"}
                                  << "Hittade inte \"zz\".";
        QTest::newRow("an empty list") << QStringList() << search("a", false, true, "b") << QStringList()
                                       << "Hittade inte \"a\".";
        QTest::newRow("rows that would end empty are left and named")
            << QStringList{"x|x|1", "y x|x|1", "x||1", "ax||1"} << search("x", false, true, "")
            << QStringList{"x|x|1", "y ||1", "x||1", "a||1"}
            << "3 ersättningar gjordes.\nRader som inte ändrades: 1, 3.";
        QTest::newRow("every match in rows left")
            << QStringList{"x||1"} << search("x", false, true, "") << QStringList{"x||1"}
            << "0 ersättningar gjordes.\nRader som inte ändrades: 1.";
        const QString tooLong = QString(40000, QLatin1Char('a'));
        QTest::newRow("a row that would be too long is left")
            << QStringList{tooLong + "|b|1", "a|b|1"} << search("a", false, true, "aa")
            << QStringList{tooLong + "|b|1", "aa|b|1"} << "1 ersättning gjordes.\nRader som inte ändrades: 1.";
        QStringList many;
        for (int i = 0; i < 22; ++i)
            many << QStringLiteral("x||1");
        QTest::newRow("past 20 rows left: cut") << many << search("x", false, true, "") << many
                                                << "0 ersättningar gjordes.\nRader som inte ändrades: 1, 2, 3, 4, 5, "
                                                   "6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, ...";
        QTest::newRow("the same text again: counted, no change")
            << QStringList{"a||1"} << search("a", false, true, "a") << QStringList{"a||1"} << "1 ersättning gjordes.";
    }
    void replaceEverywhere()
    {
        QFETCH(QStringList, rows);
        QFETCH(FindSettings, settings);
        QFETCH(QStringList, want);
        QFETCH(QString, message);
        TestDoc t;
        fill(t, rows);
        const int cursor = std::min(2, int(rows.size()) + 1);
        click(t, cursor, t.doc.grid.rows() - 1);
        t.fields.set(QStringLiteral("typed"), QString(), QString());
        const QStringList cellsBefore = t.column(1) + t.column(2) + t.column(0);

        replaceAll(t.doc, settings);

        QCOMPARE(tags(t), want);
        verifyOneMessage(t, message, kReplaceTitle);
        const bool changed = want != rows;
        QCOMPARE(t.doc.Andrad, changed);
        QCOMPARE(t.doc.history.steps(), changed ? 1 : 0);
        // The cursor and the selection stay; a change reloads the fields.
        QCOMPARE(t.doc.grid.row(), cursor);
        QCOMPARE(t.doc.grid.rowSel(), t.doc.grid.rows() - 1);
        QCOMPARE(fieldsOf(t), changed ? cursorRowOf(t) : QStringLiteral("typed||"));
        if (!changed)
            return;
        runCommand(t.doc, Command::Undo);
        QCOMPARE(t.column(1) + t.column(2) + t.column(0), cellsBefore);
        QCOMPARE(t.doc.grid.row(), cursor);
        QCOMPARE(t.doc.grid.rowSel(), t.doc.grid.rows() - 1);
        QCOMPARE(fieldsOf(t), cursorRowOf(t));
        QVERIFY(t.doc.Andrad);
        runCommand(t.doc, Command::Redo);
        QCOMPARE(tags(t), want);
    }

    // A text that would grow past all memory is measured, never built.
    void hugeGrowthIsMeasuredFirst()
    {
        TestDoc t;
        fill(t, {QString(kMaxTextLength, QLatin1Char('a')) + QStringLiteral("||1")});
        replaceAll(t.doc, search(QStringLiteral("a"), false, true, QString(kMaxTextLength, QLatin1Char('b'))));
        verifyOneMessage(t, QStringLiteral("0 ersättningar gjordes.\nRader som inte ändrades: 1."), kReplaceTitle);
        QCOMPARE(t.doc.grid.textAt(1, 1).size(), kMaxTextLength);
    }
};

QTEST_GUILESS_MAIN(TestFindReplace)
#include "test_find_replace.moc"
