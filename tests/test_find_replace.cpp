// Sök, Sök nästa and Ersätt with a scripted desktop: the order a search
// goes in and where it goes round, case, and what a replacement changes,
// counts and leaves.
#include "FakeDesktop.h"
#include "app/Commands.h"
#include "base/Limits.h"
#include "document/TableRoutines.h"
#include "edit/FindReplace.h"

#include <QTest>

Q_DECLARE_METATYPE(FindSettings)

namespace {
// Tags "Rad 1|Rad 2|Antal" joined by "; "; the cursor row clicked; two rows in view.
void setUp(TestDoc &t, const QString &rows, int cursor)
{
    std::vector<std::array<QString, 3>> tags;
    for (const QString &row : rows.split(QStringLiteral("; "), Qt::SkipEmptyParts))
        tags.push_back({row.section(u'|', 0, 0), row.section(u'|', 1, 1), row.section(u'|', 2, 2)});
    t.addTags(tags);
    t.doc.history.clear();
    t.doc.markSaved();
    t.doc.grid.setVisibleRowCount(2);
    t.doc.grid.setRow(cursor);
    grdGrid_Click(t.doc);
}

// The data rows as setUp takes them, the fields and the last message.
QString tags(const TestDoc &t)
{
    QStringList out;
    for (int r = 1; r < t.doc.grid.rows() - 1; ++r)
        out << t.rowText(r).section(u'|', 1);
    return out.join(QStringLiteral("; "));
}
QString fields(const TestDoc &t)
{
    return t.fields.values[0] + u'|' + t.fields.values[1] + u'|' + t.fields.values[2];
}
QString message(const TestDoc &t)
{
    const auto &m = t.desktop.messages;
    return m.empty() ? QString() : m.back().title + QStringLiteral(": ") + m.back().prompt;
}

const QString kList = QStringLiteral("Pump 1|Källare|2; Ventil V317|Rum 4|1; pump 2||12; PUMP 3|Tak|3; Motor|ventil|4");
} // namespace

class TestFindReplace : public QObject {
    Q_OBJECT

private slots:
    void findNext_data()
    {
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("how");   // 1: the box ticked; 2: from the Ersätt window (the texts only)
        QTest::addColumn<int>("found"); // 0: none
        QTest::newRow("down from the row after the cursor") << 1 << "pump" << 0 << 3;
        QTest::newRow("the cursor row itself last") << 3 << "pump" << 0 << 4;
        QTest::newRow("round from row 1") << 4 << "pump" << 0 << 1;
        QTest::newRow("round to the cursor row itself") << 2 << "V317" << 0 << 2;
        QTest::newRow("from the entry row: row 1 first") << 6 << "pump" << 0 << 1;
        QTest::newRow("in Antal") << 1 << "12" << 0 << 3;
        QTest::newRow("Ersätt: not in Antal") << 1 << "12" << 2 << 0;
        QTest::newRow("Ersätt: in Rad 2") << 3 << "TAK" << 2 << 4;
        QTest::newRow("case ignored without the box") << 2 << "VENTIL" << 0 << 5;
        QTest::newRow("case matters with the box") << 2 << "VENTIL" << 1 << 0;
    }
    void findNext()
    {
        QFETCH(int, cursor);
        QFETCH(QString, text);
        QFETCH(int, how);
        QFETCH(int, found);
        TestDoc t;
        setUp(t, kList, cursor);
        const QString title = how == 2 ? kReplaceTitle : kFindTitle;
        QCOMPARE(::findNext(t.doc, {text, QString(), how == 1, how == 2}, title), found > 0);
        // As a click on the row found; nothing changes when none is.
        const TagGrid &g = t.doc.grid;
        QCOMPARE(g.row(), found ? found : cursor);
        QCOMPARE(g.rowSel(), g.row());
        QCOMPARE(fields(t), kList.split(QStringLiteral("; ")).value(g.row() - 1, QStringLiteral("||")));
        QVERIFY(g.isRowVisible(g.row()));
        QCOMPARE(message(t), found ? QString() : title + QStringLiteral(": Hittade inte \"") + text + "\".");
        QVERIFY(t.desktop.messages.empty() || t.desktop.messages[0].icon == Desktop::Icon::Information);
        QVERIFY(tags(t) == kList && !t.doc.Andrad());
    }

    // F3 repeats the last search as it was made, or opens Sök.
    void menuCommands()
    {
        TestDoc t;
        setUp(t, kList, 1);
        runCommand(t.doc, Command::Replace);
        runCommand(t.doc, Command::FindNext);
        QVERIFY(t.desktop.replaceShown == 1 && t.desktop.findShown == 1);
        QVERIFY(!::findNext(t.doc, {}, kFindTitle)); // an empty text: nothing
        ::findNext(t.doc, {QStringLiteral("12"), QString(), false, true}, kReplaceTitle);
        runCommand(t.doc, Command::FindNext);
        QCOMPARE(message(t), QStringLiteral("Sök: Hittade inte \"12\"."));
        ::findNext(t.doc, {QStringLiteral("Pump"), QString(), true, false}, kFindTitle);
        runCommand(t.doc, Command::FindNext);
        QCOMPARE(t.doc.grid.row(), 1);
        QCOMPARE(t.desktop.findShown, 1);
        // The windows open with the last search and replacement.
        replaceAll(t.doc, {QStringLiteral("Tak"), QStringLiteral("Golv"), true, true});
        ::findNext(t.doc, {QStringLiteral("Motor"), QString(), false, false}, kFindTitle);
        QCOMPARE(t.doc.find.replacement + t.doc.find.text, QStringLiteral("GolvMotor"));
    }

    void replace_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<FindSettings>("search");
        QTest::addColumn<QString>("want");
        QTest::addColumn<int>("wantCursor");
        QTest::addColumn<QString>("message");
        const QString left1 = QStringLiteral("Ersätt: 0 ersättningar gjordes.\nRader som inte ändrades: 1.");
        const QString longest(kMaxTextLength, u'a'), b(kMaxTextLength - 2, u'b');
        auto s = [](const QString &text, const QString &with) { return FindSettings{text, with, false, true}; };
        QTest::newRow("both texts, then the next") << false << "Pump pump|pumpa|5; M||1; Pump 3||2" << 1
                                                   << s("pump", "P") << "P P|Pa|5; M||1; Pump 3||2" << 3 << "";
        QTest::newRow("never the quantity; none left: no message")
            << false << "a1|b1|1; c||1" << 1 << s("1", "2") << "a2|b2|1; c||1" << 1 << "";
        QTest::newRow("both texts would end empty: left")
            << false << "Pump|pump|1; Pump 2||1" << 1 << s("pump", "") << "Pump|pump|1; Pump 2||1" << 2 << left1;
        QTest::newRow("up to the length limit") << false << b + "a||1" << 1 << s("a", "aa") << b + "aa||1" << 1 << "";
        QTest::newRow("from the entry row: the next only") << false << "x||1" << 2 << s("x", "y") << "x||1" << 1 << "";
        QTest::newRow("no match") << false << "a||1" << 1 << s("q", "r") << "a||1" << 1
                                  << "Ersätt: Hittade inte \"q\".";
        QTest::newRow("all: every match, the count")
            << true << "Pump pump|pumpa|12; M||1; PUMP||2" << 1 << s("pump", "P") << "P P|Pa|12; M||1; P||2" << 1
            << "Ersätt: 4 ersättningar gjordes.";
        QTest::newRow("all: one, never a quantity")
            << true << "x1||1; b||11" << 1 << s("1", "") << "x||1; b||11" << 1 << "Ersätt: 1 ersättning gjordes.";
        QTest::newRow("all: overlapping, from the left")
            << true << "aaa|aaaa|1" << 1 << s("aa", "b") << "ba|bb|1" << 1 << "Ersätt: 3 ersättningar gjordes.";
        QTest::newRow("all: rows left are named")
            << true << "x|x|1; y x|x|1; x||1; ax||1" << 1 << s("x", "") << "x|x|1; y ||1; x||1; a||1" << 1
            << "Ersätt: 3 ersättningar gjordes.\nRader som inte ändrades: 1, 3.";
        QTest::newRow("all: growth past all memory, measured first")
            << true << longest + "||1" << 1 << s("a", longest) << longest + "||1" << 1 << left1;
        QTest::newRow("all: the same text, counted, no change")
            << true << "a||1" << 1 << s("A", "a") << "a||1" << 1 << "Ersätt: 1 ersättning gjordes.";
        QTest::newRow("all: an empty list")
            << true << "" << 1 << s("a", "b") << "" << 1 << "Ersätt: Hittade inte \"a\".";
    }
    void replace()
    {
        QFETCH(bool, all);
        QFETCH(QString, rows);
        QFETCH(int, cursor);
        QFETCH(FindSettings, search);
        QFETCH(QString, want);
        QFETCH(int, wantCursor);
        QFETCH(QString, message);
        TestDoc t;
        setUp(t, rows, cursor);
        all ? replaceAll(t.doc, search) : replaceOne(t.doc, search);
        QCOMPARE(tags(t), want);
        QCOMPARE(::message(t), message);
        QCOMPARE(t.doc.grid.row(), wantCursor);
        QCOMPARE(fields(t),
                 want.split(QStringLiteral("; "), Qt::SkipEmptyParts).value(wantCursor - 1, QStringLiteral("||")));
        // One Ångra step, and Andrad, for a change only.
        const bool changed = want != rows;
        QCOMPARE(t.doc.Andrad(), changed);
        QCOMPARE(t.doc.history.steps(), int(changed));
        if (changed) {
            runCommand(t.doc, Command::Undo);
            QVERIFY(tags(t) == rows && t.doc.grid.row() == cursor);
        }
    }
};

QTEST_GUILESS_MAIN(TestFindReplace)
#include "test_find_replace.moc"
