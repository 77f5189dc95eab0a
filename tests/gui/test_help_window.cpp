// Hjälp > Översikt...: the program's own help window, on the offscreen
// platform. It needs no browser and no file outside the program.
#include "WindowTest.h"
#include "help/widgets/HelpWindow.h"

#include <QAccessible>
#include <QAction>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

class TestHelpWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    static QList<HelpWindow *> helpWindows()
    {
        QList<HelpWindow *> found;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (auto *h = qobject_cast<HelpWindow *>(t))
                found << h;
        return found;
    }
    HelpWindow *openHelp()
    {
        w->action(Command::Help)->trigger();
        const auto found = helpWindows();
        return found.size() == 1 ? found.first() : nullptr;
    }

private slots:
    void initTestCase() { Huvudbild::installApplicationSettings(*qApp); }
    void init()
    {
        useOwnSettings();
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w));
    }
    void cleanup()
    {
        QVERIFY(closeDiscarding(w));
        QVERIFY(helpWindows().isEmpty()); // it goes with the main window
    }

    void opensOurPageInAWindowOfItsOwn()
    {
        HelpWindow *h = openHelp();
        QVERIFY(h);
        QVERIFY(QTest::qWaitForWindowExposed(h));
        QCOMPARE(h->windowTitle(), QStringLiteral("Ovelda Taggverk – hjälp"));
        QVERIFY(h->isWindow());
        QCOMPARE(h->windowModality(), Qt::NonModal);
        // A screen reader announces it as a window, by its title.
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(h);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Window);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Ovelda Taggverk – hjälp"));
        QVERIFY(w->isEnabled()); // the main window stays usable
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        const QString text = h->browser()->toPlainText();
        for (const char *topic : {"Skriva in brickor", "Uppdatera", "Spara", "Öppna", "Klistra in", "kalkylprogram",
                                  "Skriv ut", "Teckenräknare", "Tangentbordet", "Ctrl"})
            QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
        // The licences: the program's own and Qt's.
        QVERIFY(text.contains(QStringLiteral("MIT-licensen")) && text.contains(QStringLiteral("LGPL-3.0")));
        QVERIFY(text.contains(QStringLiteral("Söka och ersätta")));
        QCOMPARE(h->browser()->source().scheme(), QStringLiteral("qrc")); // inside the program
    }

    void oneWindowThatGoesWithTheMainWindow()
    {
        HelpWindow *h = openHelp();
        QVERIFY(h);
        h->close();
        QCOMPARE(openHelp(), h); // brought back, not a second one
        QVERIFY(h->isVisible());
        QCOMPARE(openHelp(), h);
        QVERIFY(w->close());
        QVERIFY(!h->isVisible());
    }

    void aLinkInThePageMovesWithinIt()
    {
        HelpWindow *h = openHelp();
        QVERIFY(h);
        QVERIFY(QTest::qWaitForWindowExposed(h));
        QTextBrowser *b = h->browser();
        QCOMPARE(b->verticalScrollBar()->value(), 0);
        // Click the contents entry "Gränser".
        QTextCursor c = b->document()->find(QStringLiteral("Gränser"));
        QVERIFY(!c.isNull());
        QVERIFY(c.charFormat().isAnchor());
        c.setPosition(c.selectionStart() + 2);
        const QPoint at = b->cursorRect(c).center();
        QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(b->source().fragment(), QStringLiteral("granser"));
        QVERIFY(b->verticalScrollBar()->value() > 0);
        QCOMPARE(b->source().path(), QStringLiteral("/hjalp.html")); // still our page
    }
};

QTEST_MAIN(TestHelpWindow)
#include "test_help_window.moc"
