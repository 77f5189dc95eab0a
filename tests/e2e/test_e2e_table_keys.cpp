// The table by keyboard in a real X server: Tab into the table, move and
// widen with real key presses (xdotool), Return back to the first field, and
// the help window opened from the menu by keys. Screenshots are kept: the
// table with the focus, a long list at its end, the help window.
#include "Process.h"
#include "WindowTest.h"
#include "app/widgets/Huvudbild.h"
#include "document/TableRoutines.h"
#include "help/widgets/HelpWindow.h"
#include "table/widgets/GridView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTextBrowser>
#include <QtTest>

class TestE2eTableKeys : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    static bool key(const QStringList &keys)
    {
        return runProcess(QStringLiteral("xdotool"), QStringList{"key", "--delay", "40"} + keys);
    }
    static void screenshot(const QString &name)
    {
        QTest::qWait(150);
        runProcess(QStringLiteral("import"),
                   {"-window", "root", QStringLiteral(TAGGVERK_ARTIFACT_DIR) + QLatin1Char('/') + name});
    }

private slots:
    void initTestCase()
    {
        useOwnSettings();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed");
        Huvudbild::installApplicationSettings(*qApp);
        w = std::make_unique<Huvudbild>();
        // A list past a thousand tags, so that the numbers have four digits.
        Document &d = w->document();
        d.grid.setRows(1200 + 2);
        for (int r = 1; r <= 1200; ++r) {
            d.grid.setTextAt(r, 1, QStringLiteral("Pump %1").arg(r));
            d.grid.setTextAt(r, 2, QStringLiteral("Rum %1").arg(r % 37));
            d.grid.setTextAt(r, 3, QString::number(1 + r % 9));
        }
        d.grid.setRow(1);
        NumreraRader(d);
        MarkeraRader(d);
        HamtaRad(d);
        w->refreshView();
        QVERIFY(shown(*w, true));
    }
    void cleanupTestCase() { closeDiscarding(w); }

    void tabIntoTheTableAndMoveByKeys()
    {
        QTRY_COMPARE(QApplication::focusWidget(), w->txtRad1());
        QVERIFY(key({"Tab", "Tab", "Tab", "Tab"}));
        QTRY_COMPARE(QApplication::focusWidget(), w->grid());
        const TagGrid &g = w->document().grid;

        QVERIFY(key({"Down", "Down"}));
        QTRY_COMPARE(g.row(), 3);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("Pump 3"));
        QVERIFY(key({"shift+Down", "shift+Down"}));
        QTRY_COMPARE(g.rowSel(), 5);
        QCOMPARE(g.row(), 3);
        QCOMPARE(QApplication::focusWidget(), w->grid());
        screenshot(QStringLiteral("e2e_table_focus.png"));

        QVERIFY(key({"ctrl+End"}));
        QTRY_COMPARE(g.row(), 1201);
        QCOMPARE(w->txtRad1()->text(), QString());
        GridView *v = w->grid();
        QVERIFY(v->viewport()->rect().contains(v->visualRect(v->model()->index(1200, 2))));
        QCOMPARE(v->model()->headerData(1200, Qt::Vertical).toString(), QStringLiteral("1201"));
        screenshot(QStringLiteral("e2e_table_end.png"));

        QVERIFY(key({"Prior", "Return"}));
        QTRY_COMPARE(QApplication::focusWidget(), w->txtRad1());
        QCOMPARE(g.row(), 1201 - g.visibleRowCount());
        QVERIFY(!w->document().Andrad());
    }

    void helpOpensFromTheMenuByKeys()
    {
        QVERIFY(key({"alt+h", "Return"}));
        HelpWindow *h = nullptr;
        QTRY_VERIFY((h = w->findChild<HelpWindow *>()) && h->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(h));
        QCOMPARE(h->windowTitle(), QStringLiteral("Ovelda Taggverk – hjälp"));
        QVERIFY(h->browser()->toPlainText().contains(QStringLiteral("Tangentbordet")));
        screenshot(QStringLiteral("e2e_help.png"));
        h->close();
    }
};

QTEST_MAIN(TestE2eTableKeys)
#include "test_e2e_table_keys.moc"
