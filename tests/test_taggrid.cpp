// The table object's cursor, selection, row and scrolling rules that every
// command relies on.
#include "table/TagGrid.h"

#include <QtTest>

class TestTagGrid : public QObject {
    Q_OBJECT

    static TagGrid make(int rows)
    {
        TagGrid g;
        g.setCols(4);
        g.setRows(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 4; ++c)
                g.setTextAt(r, c, QStringLiteral("%1.%2").arg(r).arg(c));
        return g;
    }

private slots:
    void writingCursorCollapsesSelection_data()
    {
        QTest::addColumn<bool>("writeRow");
        QTest::newRow("Row") << true;
        QTest::newRow("Col") << false;
    }
    void writingCursorCollapsesSelection()
    {
        QFETCH(bool, writeRow);
        TagGrid g = make(8);
        g.setRow(2);
        g.setCol(1);
        g.setRowSel(6);
        g.setColSel(3);
        if (writeRow)
            g.setRow(4);
        else
            g.setCol(2);
        QCOMPARE(g.rowSel(), g.row());
        QCOMPARE(g.colSel(), g.col());
        QCOMPARE(g.row(), writeRow ? 4 : 2);
        QCOMPARE(g.col(), writeRow ? 1 : 2);
    }

    void writingCornerMovesOnlyTheCorner()
    {
        TagGrid g = make(8);
        g.setRow(5);
        g.setCol(2);
        g.setRowSel(1);
        g.setColSel(3);
        QCOMPARE(g.row(), 5);
        QCOMPARE(g.col(), 2);
        QCOMPARE(g.rowSel(), 1);
        QCOMPARE(g.colSel(), 3);
    }

    void fillModeOneWritesTheWholeSelectionInEitherDirection()
    {
        TagGrid g = make(6);
        g.setRow(4);
        g.setCol(3);
        g.setRowSel(2); // dragged up and left
        g.setColSel(1);
        g.setFillStyle(TagGrid::FillStyle::Repeat);
        g.setText(QStringLiteral("x"));
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 4; ++c) {
                const bool inside = r >= 2 && r <= 4 && c >= 1;
                QCOMPARE(g.textAt(r, c), inside ? QStringLiteral("x") : QStringLiteral("%1.%2").arg(r).arg(c));
            }
        g.setFillStyle(TagGrid::FillStyle::Single);
        g.setText(QStringLiteral("y"));
        QCOMPARE(g.textAt(4, 3), QStringLiteral("y"));
        QCOMPARE(g.textAt(2, 1), QStringLiteral("x"));
    }

    void rowsGrowsAndShrinksAtTheEnd()
    {
        TagGrid g = make(4);
        g.setRows(6);
        QCOMPARE(g.textAt(3, 2), QStringLiteral("3.2"));
        QCOMPARE(g.textAt(5, 2), QString());
        g.setRow(5);
        g.setRows(3);
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.textAt(2, 1), QStringLiteral("2.1"));
        QCOMPARE(g.row(), 2); // the cursor stays inside the table
        g.setRows(5);
        QCOMPARE(g.textAt(3, 1), QString()); // removed rows do not come back
    }

    void addItemAndDeleteRowKeepTheCursorIndex()
    {
        TagGrid g = make(5);
        g.setRow(2);
        g.setCol(0);
        g.addItem(QStringLiteral("n\ta\tb\tc\textra"), 2);
        QCOMPARE(g.rows(), 6);
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.text(), QStringLiteral("n"));
        QCOMPARE(g.textAt(2, 3), QStringLiteral("c"));
        QCOMPARE(g.textAt(3, 0), QStringLiteral("2.0"));
        g.addItem(QStringLiteral("short"), 6); // at the end, missing cells empty
        QCOMPARE(g.rows(), 7);
        QCOMPARE(g.textAt(6, 1), QString());

        g.setRow(2);
        g.setCol(0);
        g.deleteRows(2, 1);
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.text(), QStringLiteral("2.0"));
        QCOMPARE(g.rows(), 6);
        g.setRow(5);
        g.deleteRows(5, 1); // the cursor's row went away: it moves onto the new last row
        QCOMPARE(g.row(), 4);
    }

    void invalidIndicesAreRefused()
    {
        TagGrid g = make(3);
        QVERIFY_THROWS_EXCEPTION(TagGrid::Error, g.setRow(3));
        QVERIFY_THROWS_EXCEPTION(TagGrid::Error, g.setCol(4));
        QVERIFY_THROWS_EXCEPTION(TagGrid::Error, g.addItem(QString(), 5));
        QVERIFY_THROWS_EXCEPTION(TagGrid::Error, g.deleteRows(0, 1)); // a fixed row
        QVERIFY_THROWS_EXCEPTION(TagGrid::Error, g.setRows(-1));
    }

    void topRowRefusesRowsItCannotScrollTo_data()
    {
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("write");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("topAfter");
        QTest::newRow("header row") << 3 << 0 << true << 1;
        QTest::newRow("past the last row") << 3 << 10 << true << 1;
        QTest::newRow("inside") << 3 << 4 << false << 4;
        QTest::newRow("last row, view full") << 3 << 9 << false << 7;
        QTest::newRow("everything fits") << 20 << 5 << false << 1;
    }
    void topRowRefusesRowsItCannotScrollTo()
    {
        QFETCH(int, visible);
        QFETCH(int, write);
        QFETCH(bool, refused);
        QFETCH(int, topAfter);
        TagGrid g = make(10);
        g.setVisibleRowCount(visible);
        if (refused)
            QVERIFY_THROWS_EXCEPTION(TagGrid::Error, g.setTopRow(write));
        else
            g.setTopRow(write);
        QCOMPARE(g.topRow(), topAfter);
    }

    void isRowVisibleFollowsTheRowsThatFit()
    {
        TagGrid g = make(10);
        g.setVisibleRowCount(3);
        g.setTopRow(4);
        QCOMPARE(g.isRowVisible(0), true); // the header row is always shown
        QCOMPARE(g.isRowVisible(3), false);
        QCOMPARE(g.isRowVisible(4), true);
        QCOMPARE(g.isRowVisible(6), true);
        QCOMPARE(g.isRowVisible(7), false);
        QCOMPARE(g.isRowVisible(10), false);
        g.setVisibleRowCount(5); // the view grew: more rows fit below
        QCOMPARE(g.isRowVisible(8), true);
        g.setVisibleRowCount(0);
        QCOMPARE(g.isRowVisible(4), false);
    }

    void shrinkingPullsTopRowBack()
    {
        TagGrid g = make(30);
        g.setVisibleRowCount(5);
        g.setTopRow(25);
        g.setRows(8);
        QCOMPARE(g.topRow(), 3);
        g.setRows(2);
        QCOMPARE(g.topRow(), 1);
    }

    void batchInsertAndDeleteMatchSingleSteps()
    {
        TagGrid a = make(6), b = make(6);
        a.setRow(3);
        b.setRow(3);
        a.insertRows(3, {QStringList{"p", "q"}, QStringList{"r", "s", "t", "u"}});
        b.addItem(QStringLiteral("r\ts\tt\tu"), 3);
        b.addItem(QStringLiteral("p\tq"), 3);
        QCOMPARE(a.rows(), b.rows());
        for (int r = 0; r < a.rows(); ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(a.textAt(r, c), b.textAt(r, c));
        QCOMPARE(a.row(), b.row());
        a.deleteRows(2, 3);
        for (int i = 0; i < 3; ++i)
            b.deleteRows(2, 1);
        QCOMPARE(a.rows(), b.rows());
        for (int r = 0; r < a.rows(); ++r)
            QCOMPARE(a.textAt(r, 1), b.textAt(r, 1));
    }
};

QTEST_GUILESS_MAIN(TestTagGrid)
#include "test_taggrid.moc"
