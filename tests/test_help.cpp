// The Help menu: the help page it asks the desktop to show, the About window,
// and indices that do nothing.
#include "FakeDesktop.h"

#include "help/Hjalp.h"

#include <QFile>
#include <QtTest>

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void overviewOpensOurHelpPage()
    {
        TestDoc t;
        t.doc.Andrad = true;
        mnuHjalpItem_Click(t.doc, 0);
        QCOMPARE(t.desktop.helpRequests.size(), 1);
        QCOMPARE(t.desktop.aboutShown, 0);
        QVERIFY(t.desktop.messages.empty());
        QVERIFY(t.doc.Andrad);

        // From the build tree the page is found even before it is installed.
        QFile page(t.desktop.helpRequests.first());
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
        const QString html = QString::fromUtf8(page.readAll());
        for (const char *topic :
             {"Uppdatera", "Spara", "Öppna", "Kopiera", "Klistra in", "kalkylprogram", "Skriv ut", "Teckenräknare"})
            QVERIFY2(html.contains(QString::fromUtf8(topic)), topic);
    }

    void aboutOpensTheAboutWindow()
    {
        TestDoc t;
        mnuHjalpItem_Click(t.doc, 1);
        QCOMPARE(t.desktop.aboutShown, 1);
        QVERIFY(t.desktop.helpRequests.isEmpty());
    }

    void otherIndicesDoNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("2") << 2;
        QTest::newRow("-1") << -1;
    }
    void otherIndicesDoNothing()
    {
        QFETCH(int, index);
        TestDoc t;
        mnuHjalpItem_Click(t.doc, static_cast<qint16>(index));
        QCOMPARE(t.desktop.aboutShown, 0);
        QVERIFY(t.desktop.helpRequests.isEmpty());
        QVERIFY(t.desktop.messages.empty());
    }
};

QTEST_GUILESS_MAIN(TestHelp)
#include "test_help.moc"
