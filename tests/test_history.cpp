// Ångra and Gör om: every list command taken back and made again, a long
// random mix of them, and the bounds of what is kept.
#include "FakeDesktop.h"
#include "app/Commands.h"
#include "document/TableRoutines.h"
#include "edit/FindReplace.h"
#include "edit/RowEditor.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

namespace {
// Everything a step must put back: every cell, the cursor and selection,
// the fields.
struct State {
    QStringList cells;
    GridSelection selection;
    QString fields;
    bool operator==(const State &) const = default;
};

State stateOf(const TestDoc &t)
{
    State s;
    const TagGrid &g = t.doc.grid;
    for (int r = 0; r < g.rows(); ++r)
        s.cells << t.rowText(r);
    s.selection = GridSelection::of(g);
    s.fields = t.fields.values[0] + QLatin1Char('|') + t.fields.values[1] + QLatin1Char('|') + t.fields.values[2];
    return s;
}

char *toString(const State &s)
{
    return QTest::toString(QStringLiteral("%1 rows, cursor %2/%3, sel %4/%5, fields %6: %7")
                               .arg(s.cells.size())
                               .arg(s.selection.row)
                               .arg(s.selection.col)
                               .arg(s.selection.rowSel)
                               .arg(s.selection.colSel)
                               .arg(s.fields, s.cells.join(QLatin1String(" / ")).left(300)));
}

void select(TestDoc &t, int row, int rowSel)
{
    tablePress(t.doc, row, 1, false);
    tableDrag(t.doc, rowSel, 3);
    grdGrid_Click(t.doc);
}

void commit(TestDoc &t, const QString &a, const QString &q)
{
    t.fields.set(a, QStringLiteral("x"), q);
    cmdUppdatera_Click(t.doc);
}

using Action = std::function<void(TestDoc &)>;
} // namespace

Q_DECLARE_METATYPE(Action)

class TestHistory : public QObject {
    Q_OBJECT

private slots:
    void eachCommandUndoneAndRedone_data()
    {
        QTest::addColumn<int>("row"); // the selection the command starts from
        QTest::addColumn<int>("rowSel");
        QTest::addColumn<Action>("action");
        QTest::newRow("Uppdatera a tag") << 2 << 2 << Action([](TestDoc &t) {
            commit(t, QStringLiteral("ny"), QStringLiteral("7"));
        });
        QTest::newRow("Uppdatera the entry row")
            << 5 << 5 << Action([](TestDoc &t) { commit(t, QStringLiteral("sist"), QStringLiteral("1")); });
        QTest::newRow("Infoga rad") << 3 << 3 << Action([](TestDoc &t) { runCommand(t.doc, Command::InsertRow); });
        QTest::newRow("Klipp ut, dragged upwards")
            << 4 << 2 << Action([](TestDoc &t) { runCommand(t.doc, Command::Cut); });
        QTest::newRow("Ta bort, dragged upwards")
            << 3 << 1 << Action([](TestDoc &t) { runCommand(t.doc, Command::Delete); });
        QTest::newRow("Ta bort all") << 1 << 4 << Action([](TestDoc &t) { runCommand(t.doc, Command::Delete); });
        QTest::newRow("Klistra in") << 2 << 3 << Action([](TestDoc &t) {
            t.desktop.clipboard = QStringLiteral("A\tB\t1\r\nC\t\t2\r\n");
            runCommand(t.doc, Command::Paste);
        });
    }
    // Ångra gives back the cells, the cursor, the selection (at the end it
    // was dragged to) and the fields of before; Gör om those of after.
    void eachCommandUndoneAndRedone()
    {
        QFETCH(int, row);
        QFETCH(int, rowSel);
        QFETCH(Action, action);
        TestDoc t;
        t.addTags({{"a", "1", "1"}, {"b", "2", "2"}, {"c", "3", "3"}, {"d", "4", "4"}});
        t.doc.history.clear();
        select(t, row, rowSel);
        const State before = stateOf(t);
        action(t);
        QVERIFY(t.doc.history.canUndo());
        const State after = stateOf(t);
        t.doc.markSaved();
        runCommand(t.doc, Command::Undo);
        QVERIFY(t.doc.Andrad());
        QVERIFY(!t.doc.history.canUndo());
        QCOMPARE(stateOf(t), before);
        runCommand(t.doc, Command::Redo);
        QCOMPARE(stateOf(t), after);
        runCommand(t.doc, Command::Undo);
        QCOMPARE(stateOf(t), before);
    }

    // Each undo goes back to exactly the state before the step, each redo to
    // the state after it, over a long random mix of commands.
    void randomMixUndoneToTheStartAndRedoneToTheEnd()
    {
        TestDoc t;
        QRandomGenerator rng(20261207);
        std::vector<State> states{stateOf(t)};
        for (int i = 0; i < 300; ++i) {
            const int rows = t.doc.grid.rows();
            const int a = 1 + int(rng.bounded(rows - 1)), b = 1 + int(rng.bounded(rows - 1));
            select(t, a, b);
            const int before = t.doc.history.steps();
            switch (rng.bounded(6)) {
            case 0:
            case 1:
                commit(t, QStringLiteral("t%1").arg(i), QString::number(1 + rng.bounded(9)));
                break;
            case 2:
                runCommand(t.doc, Command::InsertRow);
                break;
            case 3:
                t.desktop.clipboard = QStringLiteral("p%1\t\t1\r\nq%1\t\t2\r\n").arg(i);
                runCommand(t.doc, Command::Paste);
                break;
            case 4:
                runCommand(t.doc, rng.bounded(2) ? Command::Cut : Command::Delete);
                break;
            case 5: // Ersätt alla: rows apart in one step
                replaceAll(t.doc, {QString::number(rng.bounded(10)), QStringLiteral("#"), false, true});
                break;
            }
            // A command that changed no cell makes no step.
            if (t.doc.history.steps() > before)
                states.push_back(stateOf(t));
            else
                QCOMPARE(stateOf(t).cells, states.back().cells);
        }
        const int steps = t.doc.history.steps();
        QCOMPARE(steps, int(states.size()) - 1);
        for (int i = steps; i > 0; --i) {
            runCommand(t.doc, Command::Undo);
            QCOMPARE(stateOf(t).cells, states[size_t(i - 1)].cells);
        }
        QVERIFY(!t.doc.history.canUndo());
        for (int i = 1; i <= steps; ++i) {
            runCommand(t.doc, Command::Redo);
            QCOMPARE(stateOf(t).cells, states[size_t(i)].cells);
        }
    }

    void aNewChangeDropsWhatCouldBeRedone()
    {
        TestDoc t;
        for (const char *text : {"a", "b", "c"})
            commit(t, QString::fromLatin1(text), QStringLiteral("1"));
        runCommand(t.doc, Command::Undo);
        runCommand(t.doc, Command::Undo);
        QVERIFY(t.doc.history.canRedo());
        commit(t, QStringLiteral("d"), QStringLiteral("1"));
        QVERIFY(!t.doc.history.canRedo());
        QCOMPARE(t.column(1), QStringList({"a", "d", ""}));
        // Both steps that were undone are gone: Ångra walks back through
        // the steps made, not through a stale one.
        runCommand(t.doc, Command::Undo);
        QCOMPARE(t.column(1), QStringList({"a", ""}));
        runCommand(t.doc, Command::Undo);
        QCOMPARE(t.column(1), QStringList({""}));
        QVERIFY(!t.doc.history.canUndo());
    }

    void newAndOpenClearTheHistorySaveKeepsIt()
    {
        QTemporaryDir dir;
        TestDoc t;
        commit(t, QStringLiteral("a"), QStringLiteral("1"));
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(dir.filePath(QStringLiteral("l.brk"))));
        runCommand(t.doc, Command::SaveAs);
        QVERIFY(t.doc.history.canUndo());
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(dir.filePath(QStringLiteral("l.brk"))));
        runCommand(t.doc, Command::Open);
        QVERIFY(!t.doc.history.canUndo());
        commit(t, QStringLiteral("b"), QStringLiteral("1"));
        t.desktop.answers.push_back(Desktop::Answer::No);
        runCommand(t.doc, Command::New);
        QVERIFY(!t.doc.history.canUndo());
    }

    void keepsAtLeast100StepsAndAtMost64MB()
    {
        TestDoc t;
        for (int i = 0; i < 1500; ++i)
            commit(t, QStringLiteral("t"), QString::number(1 + i % 9));
        QCOMPARE(t.doc.history.steps(), History::kMaxSteps);
        QVERIFY(History::kMaxSteps >= 100);
        // Steps of 8 MB each (two bytes a character): only the newest fit
        // under the bound, no more than eight.
        const QString big(4 * 1024 * 1024, QLatin1Char('x'));
        for (int i = 0; i < 12; ++i) {
            t.fields.set(big, QString::number(i), QStringLiteral("1"));
            cmdUppdatera_Click(t.doc);
        }
        QVERIFY(t.doc.history.bytes() <= History::kMaxBytes);
        QVERIFY(t.doc.history.steps() >= 7);
        QVERIFY(t.doc.history.steps() <= 8);
        const int rows = t.doc.grid.rows();
        runCommand(t.doc, Command::Undo);
        QCOMPARE(t.doc.grid.rows(), rows - 1);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
