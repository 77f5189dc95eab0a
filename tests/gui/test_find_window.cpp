// The Sök and Ersätt windows on the offscreen platform: what they show, one
// of each, Return and Escape, their buttons running the commands on the
// main window's list, and the keys from the main window's fields.
#include "WindowTest.h"
#include "document/TableRoutines.h"
#include "edit/widgets/FindWindow.h"
#include "table/widgets/GridView.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

class TestFindWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    static QList<FindWindow *> findWindows()
    {
        QList<FindWindow *> found;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<FindWindow *>(t); f && f->isVisible())
                found << f;
        return found;
    }

    // Tags "Pump 1".."Pump n" in Rad 1, "Rum" in Rad 2, quantity 1; cursor on row 1.
    void fillTags(int n)
    {
        Document &d = w->document();
        d.grid.setRows(n + 2);
        for (int r = 1; r <= n; ++r) {
            d.grid.setTextAt(r, 1, QStringLiteral("Pump %1").arg(r));
            d.grid.setTextAt(r, 2, QStringLiteral("Rum"));
            d.grid.setTextAt(r, 3, QStringLiteral("1"));
        }
        d.grid.setRow(1);
        NumreraRader(d);
        MarkeraRader(d);
        HamtaRad(d);
        w->refreshView();
    }

    FindWindow *open(bool replace)
    {
        w->action(replace ? Command::Replace : Command::Find)->trigger();
        FindWindow *f = w->findWindow(replace);
        return f && QTest::qWaitForWindowExposed(f) ? f : nullptr;
    }

    // Answers the next message box with OK and gives its title and text.
    QString messageAfter(const std::function<void()> &action)
    {
        QString seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            seen = box->windowTitle() + QLatin1Char(':') + box->text();
            box->button(QMessageBox::Ok)->click();
        });
        poll.start(10);
        action();
        return seen;
    }

private slots:
    void initTestCase()
    {
        Huvudbild::installApplicationSettings(*qApp);
        QStandardPaths::setTestModeEnabled(true);
    }
    void init()
    {
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w));
    }
    void cleanup()
    {
        QVERIFY(closeDiscarding(w));
        QTRY_VERIFY(findWindows().isEmpty()); // they go with the main window
    }

    void whatTheWindowsShow_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("Sök") << false << "Sök" << QStringList{"Sök &efter:"} << QStringList{"Sök &nästa", "S&täng"};
        QTest::newRow("Ersätt") << true << "Ersätt" << QStringList{"Sök &efter:", "Ersätt &med:"}
                                << QStringList{"Sök &nästa", "E&rsätt", "Ersätt &alla", "S&täng"};
    }
    void whatTheWindowsShow()
    {
        QFETCH(bool, replace);
        QFETCH(QString, title);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, buttons);
        FindWindow *f = open(replace);
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), title);
        QVERIFY(!f->isModal());
        QVERIFY(w->isEnabled());
        QCOMPARE(f->parentWidget(), w.get());
        QStringList shownLabels;
        for (QLabel *l : f->findChildren<QLabel *>())
            shownLabels << l->text();
        QCOMPARE(shownLabels, labels);
        QStringList shownButtons;
        for (QPushButton *b : f->findChildren<QPushButton *>())
            shownButtons << b->text();
        QCOMPARE(shownButtons, buttons);
        QVERIFY(f->findNextButton()->isDefault());
        QCOMPARE(f->matchCaseBox()->text(), QStringLiteral("Matcha &versaler/gemener"));
        QVERIFY(!f->matchCaseBox()->isChecked());
        // Screen readers name the fields by their labels.
        QCOMPARE(QAccessible::queryAccessibleInterface(f->searchField())->text(QAccessible::Name),
                 QStringLiteral("Sök efter"));
        if (replace)
            QCOMPARE(QAccessible::queryAccessibleInterface(f->replaceField())->text(QAccessible::Name),
                     QStringLiteral("Ersätt med"));
        QCOMPARE(QApplication::focusWidget(), f->searchField());
        // Nothing to look for while the field is empty.
        for (QPushButton *b : f->findChildren<QPushButton *>())
            QCOMPARE(b->isEnabled(), b == f->closeButton());
        QTest::keyClicks(f->searchField(), "p");
        for (QPushButton *b : f->findChildren<QPushButton *>())
            QVERIFY(b->isEnabled());
        // Beside the main window, not over its table.
        // Beside the main window where the screen has room, not over the table.
        QVERIFY(!f->frameGeometry().intersects(w->frameGeometry()));
    }

    // One of each: a second Ctrl+F brings the open window forward; a window
    // opened again shows the last search.
    void oneOfEachAndTheLastSearch()
    {
        fillTags(3);
        FindWindow *f = open(false);
        QVERIFY(f);
        QVERIFY(open(false) == f);
        QCOMPARE(findWindows().size(), 1);
        FindWindow *r = open(true);
        QVERIFY(r && r != f);
        QCOMPARE(findWindows().size(), 2);

        f->searchField()->setText(QStringLiteral("pump 2"));
        f->matchCaseBox()->setChecked(false);
        f->findNextButton()->click();
        QCOMPARE(w->document().grid.row(), 2);
        QTest::keyClick(f, Qt::Key_Escape);
        QTRY_VERIFY(!w->findWindow(false));
        f = open(false);
        QVERIFY(f);
        QCOMPARE(f->searchField()->text(), QStringLiteral("pump 2"));
        QCOMPARE(f->searchField()->selectedText(), QStringLiteral("pump 2"));
    }

    // Return presses Sök nästa: the row found is the cursor row in the view,
    // and the window keeps the keyboard for the next Return.
    void returnFindsTheNextRow()
    {
        fillTags(60);
        FindWindow *f = open(false);
        QVERIFY(f);
        QTest::keyClicks(f->searchField(), "pump 5");
        QTest::keyClick(f->searchField(), Qt::Key_Return);
        const TagGrid &g = w->document().grid;
        QCOMPARE(g.row(), 5);
        QTest::keyClick(f->searchField(), Qt::Key_Return);
        QCOMPARE(g.row(), 50);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("Pump 50"));
        GridView *v = w->grid();
        QVERIFY(v->viewport()->rect().contains(v->visualRect(v->model()->index(49, 0))));
        QVERIFY(f->isVisible());
        QCOMPARE(f->focusWidget(), f->searchField());
        // Nothing found: the message is titled by the window.
        QTest::keyClicks(f->searchField(), "x");
        QCOMPARE(messageAfter([&] { QTest::keyClick(f->searchField(), Qt::Key_Return); }),
                 QStringLiteral("Sök:Hittade inte \"pump 5x\"."));
        QCOMPARE(g.row(), 50);
        QVERIFY(!w->document().Andrad);
    }

    void replaceButtonsChangeTheList()
    {
        fillTags(3);
        FindWindow *r = open(true);
        QVERIFY(r);
        r->searchField()->setText(QStringLiteral("pump"));
        r->replaceField()->setText(QStringLiteral("Ventil"));
        r->replaceButton()->click();
        const Document &d = w->document();
        QCOMPARE(d.grid.textAt(1, 1), QStringLiteral("Ventil 1"));
        QCOMPARE(d.grid.row(), 2);
        QVERIFY(d.Andrad);
        QVERIFY(w->action(Command::Undo)->isEnabled());
        QCOMPARE(w->grid()->model()->index(0, 0).data().toString(), QStringLiteral("Ventil 1"));

        r->matchCaseBox()->setChecked(true);
        QCOMPARE(messageAfter([&] { r->replaceAllButton()->click(); }),
                 QStringLiteral("Ersätt:Hittade inte \"pump\"."));
        r->searchField()->setText(QStringLiteral("Rum"));
        r->replaceField()->setText(QString());
        QCOMPARE(messageAfter([&] { r->replaceAllButton()->click(); }),
                 QStringLiteral("Ersätt:3 ersättningar gjordes."));
        QCOMPARE(w->grid()->model()->index(2, 1).data().toString(), QString());
        QCOMPARE(w->grid()->model()->index(2, 2).data().toString(), QStringLiteral("1"));
        w->action(Command::Undo)->trigger();
        QCOMPARE(w->grid()->model()->index(2, 1).data().toString(), QStringLiteral("Rum"));
        QCOMPARE(d.grid.textAt(1, 1), QStringLiteral("Ventil 1"));
    }

    // Ctrl+F, Ctrl+H and F3 reach the menu from each field of the main
    // window; a field never takes Ctrl+H as a backspace.
    void keysFromTheFields_data()
    {
        QTest::addColumn<int>("field");
        QTest::newRow("Textrad 1") << 0;
        QTest::newRow("Textrad 2") << 1;
        QTest::newRow("Antal") << 2;
    }
    void keysFromTheFields()
    {
        QFETCH(int, field);
        fillTags(3);
        QVERIFY(shown(*w, true));
        QLineEdit *fields[] = {w->txtRad1(), w->txtRad2(), w->txtAntal()};
        QLineEdit *e = fields[field];
        auto focusField = [&] {
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
            e->setFocus();
            e->setText(QStringLiteral("abc"));
            QTRY_COMPARE(QApplication::focusWidget(), e);
        };

        focusField();
        QTest::keyClick(e, Qt::Key_F3); // no search yet: Sök opens
        QTRY_VERIFY(w->findWindow(false) && w->findWindow(false)->isVisible());
        w->findWindow(false)->close();
        QTRY_VERIFY(!w->findWindow(false));

        focusField();
        QTest::keyClick(e, Qt::Key_H, Qt::ControlModifier);
        QTRY_VERIFY(w->findWindow(true) && w->findWindow(true)->isVisible());
        QCOMPARE(e->text(), QStringLiteral("abc"));
        w->findWindow(true)->close();

        focusField();
        QTest::keyClick(e, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(w->findWindow(false) && w->findWindow(false)->isVisible());
        w->findWindow(false)->searchField()->setText(QStringLiteral("pump"));
        w->findWindow(false)->findNextButton()->click();
        QCOMPARE(w->document().grid.row(), 2);
        w->findWindow(false)->close();
        QTRY_VERIFY(!w->findWindow(false));

        focusField();
        QTest::keyClick(e, Qt::Key_F3); // the last search again, without the window
        QCOMPARE(w->document().grid.row(), 3);
        QVERIFY(!w->findWindow(false));
    }
};

QTEST_MAIN(TestFindWindow)
#include "test_find_window.moc"
