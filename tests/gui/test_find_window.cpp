// The Sök and Ersätt windows on the offscreen platform: what they show, one
// of each, Return and Escape, the buttons on the main window's list, and the
// keys from the main window's fields.
#include "WindowTest.h"
#include "edit/widgets/FindWindow.h"
#include "table/widgets/GridView.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>

class TestFindWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    FindWindow *open(bool replace)
    {
        w->action(replace ? Command::Replace : Command::Find)->trigger();
        FindWindow *f = w->findWindow(replace);
        return f && QTest::qWaitForWindowExposed(f) ? f : nullptr;
    }
    static QStringList texts(const QList<QLabel *> &labels, const QList<QPushButton *> &buttons)
    {
        QStringList out;
        for (const QLabel *l : labels)
            out << l->text();
        for (const QPushButton *b : buttons)
            out << b->text() + (b->isEnabled() ? "" : " (grey)") + (b->isDefault() ? " (default)" : "");
        return out;
    }

private slots:
    void initTestCase() { Huvudbild::installApplicationSettings(*qApp); }
    void init()
    {
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w, true));
        // Tags "Pump 1".."Pump 3", "Rum"; a quantity "77" in row 2, a text "77" in row 3.
        for (const char *tag : {"Pump 1|Rum|1", "Pump 2|Rum|77", "Pump 3|Rum 77|1"})
            commitTag(*w, QString(tag).section('|', 0, 0), QString(tag).section('|', 1, 1),
                      QString(tag).section('|', 2, 2));
        w->document().markSaved();
        w->document().history.clear();
        w->refreshView();
    }
    void cleanup() { QVERIFY(closeDiscarding(w)); } // the windows go with it

    void whatTheWindowsShow_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Sök") << false << QStringList{"Sök", "Sök &efter:", "Sök &nästa (grey) (default)", "S&täng"};
        QTest::newRow("Ersätt") << true << QStringList{"Ersätt",         "Sök &efter:",
                                                       "Ersätt &med:",   "Sök &nästa (grey) (default)",
                                                       "E&rsätt (grey)", "Ersätt &alla (grey)",
                                                       "S&täng"};
    }
    void whatTheWindowsShow()
    {
        QFETCH(bool, replace);
        QFETCH(QStringList, texts);
        FindWindow *f = open(replace);
        QVERIFY(f);
        QCOMPARE(QStringList(f->windowTitle()) +
                     TestFindWindow::texts(f->findChildren<QLabel *>(), f->findChildren<QPushButton *>()),
                 texts);
        QCOMPARE(f->matchCaseBox()->text() + (f->matchCaseBox()->isChecked() ? "x" : ""),
                 QStringLiteral("Matcha &versaler/gemener"));
        QVERIFY(!f->isModal() && f->parentWidget() == w.get());
        QCOMPARE(QApplication::focusWidget(), f->searchField());
        QTest::keyClicks(f->searchField(), "p");
        QVERIFY(f->findNextButton()->isEnabled() && (!replace || f->replaceAllButton()->isEnabled()));
        QCOMPARE(QAccessible::queryAccessibleInterface(f->searchField())->text(QAccessible::Name), "Sök efter");
        if (replace)
            QCOMPARE(QAccessible::queryAccessibleInterface(f->replaceField())->text(QAccessible::Name), "Ersätt med");
        QVERIFY(!f->frameGeometry().intersects(w->frameGeometry())); // beside it where there is room
        QVERIFY(open(replace) == f);                                 // one of each
        QVERIFY(open(!replace) != f);
    }

    // Return is Sök nästa, Escape closes; a window opens with the last
    // search. Ersätt looks in the texts only; its buttons change the list.
    void theButtonsRunTheCommands()
    {
        FindWindow *r = open(true);
        QTest::keyClicks(r->searchField(), "77");
        QTest::keyClick(r->searchField(), Qt::Key_Return); // the texts only
        const TagGrid &g = w->document().grid;
        QCOMPARE(g.row(), 3);
        QTest::keyClick(r, Qt::Key_Escape);
        QTRY_VERIFY(!w->findWindow(true));
        FindWindow *f = open(false);
        QCOMPARE(f->searchField()->selectedText(), QStringLiteral("77"));
        QTest::keyClick(f->searchField(), Qt::Key_Return); // the quantities too
        QCOMPARE(g.row(), 2);
        // Nothing found: the message shows over the window and gives it the keyboard back.
        QString seen;
        QTimer poll;
        whenMessageBoxShows(
            poll,
            [&](QMessageBox *box) {
                seen = box->windowTitle() + ": " + box->text() + (box->parentWidget() == f ? "" : " (elsewhere)");
                box->button(QMessageBox::Ok)->click();
            },
            10);
        f->searchField()->setText(QStringLiteral("77x"));
        QTest::keyClick(f->searchField(), Qt::Key_Return);
        QCOMPARE(seen, QStringLiteral("Sök: Hittade inte \"77x\"."));
        QTRY_COMPARE(QApplication::activeWindow(), f);
        r = open(true);
        r->searchField()->setText(QStringLiteral("77"));
        r->replaceField()->setText(QStringLiteral("78"));
        r->replaceButton()->click(); // no match in the cursor row: on to the next
        QCOMPARE(g.row(), 3);
        QVERIFY(!w->document().Andrad());
        r->replaceButton()->click();
        QCOMPARE(w->grid()->model()->index(2, 1).data().toString(), QStringLiteral("Rum 78"));
        QCOMPARE(w->txtRad2()->text(), QStringLiteral("Rum 78"));
        QVERIFY(w->document().Andrad() && w->action(Command::Undo)->isEnabled());
    }

    // Ctrl+H, F3 and Ctrl+F reach the menu from a field, which does not
    // take Ctrl+H as a backspace.
    void keysFromAField()
    {
        auto press = [&](QKeyCombination key) {
            w->activateWindow();
            w->txtRad2()->setFocus();
            w->txtRad2()->setText(QStringLiteral("abc"));
            QTRY_COMPARE(QApplication::focusWidget(), w->txtRad2());
            QTest::keyClick(w->txtRad2(), key.key(), key.keyboardModifiers());
        };
        press(Qt::CTRL | Qt::Key_H);
        QTRY_VERIFY(w->findWindow(true) && w->findWindow(true)->isVisible());
        QCOMPARE(w->txtRad2()->text(), QStringLiteral("abc"));
        press(QKeyCombination(Qt::Key_F3)); // no search yet: Sök opens
        QTRY_VERIFY(w->findWindow(false) && w->findWindow(false)->isVisible());
        w->findWindow(false)->close();
        w->document().find.text = QStringLiteral("pump");
        press(QKeyCombination(Qt::Key_F3));
        QCOMPARE(w->document().grid.row(), 1);
        press(Qt::CTRL | Qt::Key_F);
        QTRY_VERIFY(w->findWindow(false) && w->findWindow(false)->isVisible());
    }
};

QTEST_MAIN(TestFindWindow)
#include "test_find_window.moc"
