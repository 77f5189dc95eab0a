// The real window in a real X server: a tag typed with real key presses
// (xdotool), "Uppdatera" pressed with a real mouse click, the row in the
// table; then a validation message answered. A screenshot is kept.
#include "Process.h"
#include "WindowTest.h"
#include "app/widgets/Huvudbild.h"
#include "table/widgets/GridView.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

class TestE2eEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    static bool xdotool(const QStringList &args) { return runProcess(QStringLiteral("xdotool"), args); }
    static bool clickAt(const QPoint &global)
    {
        return xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())}) &&
               xdotool({"click", "1"});
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
        QVERIFY(shown(*w, true));
    }
    void cleanupTestCase() { closeDiscarding(w); }

    void typeATagAndCommitIt()
    {
        QTRY_COMPARE(QApplication::focusWidget(), w->txtRad1());
        QVERIFY(xdotool({"type", "--delay", "15", "Pump 1"}));
        QVERIFY(xdotool({"key", "Tab", "Tab"}));
        QVERIFY(xdotool({"type", "--delay", "15", "12"}));
        QTRY_COMPARE(w->txtAntal()->text(), QStringLiteral("12"));
        QPushButton *b = w->cmdUppdatera();
        QVERIFY(clickAt(b->mapToGlobal(b->rect().center())));

        QAbstractItemModel *m = w->grid()->model();
        QTRY_COMPARE(m->rowCount(), 2);
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Pump 1"));
        QCOMPARE(m->index(0, 1).data().toString(), QString());
        QCOMPARE(m->index(0, 2).data().toString(), QStringLiteral("12"));
        QCOMPARE(m->headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
        QCOMPARE(w->txtRad1()->text(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), w->txtRad1());
        QVERIFY(w->document().Andrad());
        QVERIFY(w->windowTitle() == QStringLiteral("Namnlös - Ovelda Taggverk"));

        QTest::qWait(100);
        runProcess(QStringLiteral("import"),
                   {"-window", "root", QStringLiteral(TAGGVERK_ARTIFACT_DIR) + QStringLiteral("/e2e_editor.png")});
    }

    // Ctrl+Z in a field takes back its own typing first; with nothing left
    // there it takes back the last change of the list, and Ctrl+Y makes it
    // again.
    void ctrlZInAFieldThenInTheList()
    {
        QAbstractItemModel *m = w->grid()->model();
        const int rows = m->rowCount();
        QVERIFY(rows >= 2);
        w->txtRad1()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w->txtRad1());
        QVERIFY(xdotool({"type", "--delay", "15", "abc"}));
        QTRY_COMPARE(w->txtRad1()->text(), QStringLiteral("abc"));
        QVERIFY(xdotool({"key", "ctrl+z"}));
        QTRY_COMPARE(w->txtRad1()->text(), QString());
        QCOMPARE(m->rowCount(), rows); // the list is untouched
        QVERIFY(xdotool({"key", "ctrl+z"}));
        QTRY_COMPARE(m->rowCount(), rows - 1);
        // New typing, undone: Ctrl+Y redoes it, though the list has a step
        // to redo and Ctrl+Y is not a line edit's own redo key here.
        QVERIFY(xdotool({"type", "--delay", "15", "xyz"}));
        QTRY_COMPARE(w->txtRad1()->text(), QStringLiteral("xyz"));
        QVERIFY(xdotool({"key", "ctrl+z"}));
        QTRY_COMPARE(w->txtRad1()->text(), QString());
        QVERIFY(xdotool({"key", "ctrl+y"}));
        QTRY_COMPARE(w->txtRad1()->text(), QStringLiteral("xyz"));
        QCOMPARE(m->rowCount(), rows - 1);
        w->txtRad1()->setText(QString()); // nothing left to redo there
        QVERIFY(xdotool({"key", "ctrl+y"}));
        QTRY_COMPARE(m->rowCount(), rows);
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Pump 1"));
    }

    void emptyTextsGiveTheWarningAndKeepTheFocusRight()
    {
        // The box is modal: look at it and close it from the event loop.
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer poll;
        whenMessageBoxShows(
            poll,
            [&](QMessageBox *box) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                runProcess(QStringLiteral("import"),
                           {"-window", "root",
                            QStringLiteral(TAGGVERK_ARTIFACT_DIR) + QStringLiteral("/e2e_editor_warning.png")});
                xdotool({"key", "Return"});
            },
            100);
        w->txtAntal()->setText(QStringLiteral("3"));
        QPushButton *b = w->cmdUppdatera();
        QVERIFY(clickAt(b->mapToGlobal(b->rect().center())));
        QTRY_COMPARE(text, QStringLiteral("Minst ett av textfälten måste innehålla något!"));
        QCOMPARE(title, QStringLiteral("Fel text"));
        QCOMPARE(icon, QMessageBox::Warning);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        // With no window manager the window need not be active again, so
        // look at its own focus widget.
        QTRY_COMPARE(w->focusWidget(), w->txtRad1());
        QCOMPARE(w->grid()->model()->rowCount(), 2);
    }
};

QTEST_MAIN(TestE2eEditor)
#include "test_e2e_editor.moc"
