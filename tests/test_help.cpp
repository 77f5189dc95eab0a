// The Help menu: the help window it asks the desktop to show, the About window,
// and indices that do nothing.
#include "FakeDesktop.h"

#include "help/Hjalp.h"

#include <QtTest>

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void overviewOpensOurHelpWindow()
    {
        TestDoc t;
        t.doc.Andrad = true;
        mnuHjalpItem_Click(t.doc, 0);
        QCOMPARE(t.desktop.helpShown, 1);
        QCOMPARE(t.desktop.aboutShown, 0);
        QVERIFY(t.desktop.messages.empty());
        QVERIFY(t.doc.Andrad);
    }

    void aboutOpensTheAboutWindow()
    {
        TestDoc t;
        mnuHjalpItem_Click(t.doc, 1);
        QCOMPARE(t.desktop.aboutShown, 1);
        QVERIFY(t.desktop.helpShown == 0);
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
        QVERIFY(t.desktop.helpShown == 0);
        QVERIFY(t.desktop.messages.empty());
    }
};

QTEST_GUILESS_MAIN(TestHelp)
#include "test_help.moc"
