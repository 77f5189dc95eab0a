// The About window: what it shows, where, and that the main window is
// disabled exactly while it is open, however it is closed.
#include "OwnSettings.h"
#include "app/widgets/Huvudbild.h"
#include "help/widgets/Om.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QList<Om *> openAboutWindows()
{
    QList<Om *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *om = qobject_cast<Om *>(w); om && om->isVisible())
            found << om;
    return found;
}

QRect twips(int l, int t, int w, int h)
{
    const Twips s = Twips::forDotsPerInch(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
    return QRect(s.px(l), s.px(t), s.px(w), s.px(h));
}

} // namespace

class TestOm : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> m_main;

    Om *openAbout()
    {
        m_main->action(Command::About)->trigger();
        const QList<Om *> open = openAboutWindows();
        return open.size() == 1 ? open.first() : nullptr;
    }

private slots:
    void initTestCase()
    {
        Huvudbild::installApplicationSettings(*qobject_cast<QApplication *>(QCoreApplication::instance()));
    }

    void init()
    {
        useOwnSettings();
        m_main = std::make_unique<Huvudbild>();
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }

    void cleanup()
    {
        for (Om *om : openAboutWindows())
            delete om;
        // Hidden first, while its document still exists.
        m_main->hide();
        m_main.reset();
    }

    void showsNameVersionNoticeAndOk()
    {
        Om *om = openAbout();
        QVERIFY(om);
        QCOMPARE(om->windowTitle(), QStringLiteral("Om Ovelda Taggverk"));
        QCOMPARE(om->label1()->text(), QStringLiteral("Ovelda Taggverk 1.4"));
        QVERIFY(!om->label2()->text().isEmpty());
        QVERIFY(!om->label2()->text().contains(QLatin1Char('\n')));
        QCOMPARE(om->cmdOmOK()->text(), QStringLiteral("OK"));
        QVERIFY(!om->image1()->pixmap().isNull());
        QVERIFY(!om->windowIcon().isNull());
        QVERIFY(!om->isModal());
        QVERIFY(!om->parentWidget());

        QCOMPARE(om->size(), twips(0, 0, 4545, 1095).size());
        QCOMPARE(om->minimumSize(), om->maximumSize());
        QCOMPARE(om->image1()->geometry(), twips(120, 240, 492, 492));
        QCOMPARE(om->label1()->geometry(), twips(840, 240, 2412, 252));
        QCOMPARE(om->label2()->geometry(), twips(840, 600, 2412, 252));
        QCOMPARE(om->cmdOmOK()->geometry(), twips(3360, 360, 972, 372));
        QVERIFY(om->label1()->alignment() & Qt::AlignLeft);
        QVERIFY(om->label2()->alignment() & Qt::AlignLeft);
        // The labels are wide enough for their one line.
        QVERIFY(om->label1()->fontMetrics().horizontalAdvance(om->label1()->text()) <= om->label1()->width());
        QVERIFY(om->label2()->fontMetrics().horizontalAdvance(om->label2()->text()) <= om->label2()->width());

        // The button is the only control that takes the focus.
        QTRY_COMPARE(QApplication::activeWindow(), om);
        QCOMPARE(QApplication::focusWidget(), om->cmdOmOK());
        QVERIFY(!(om->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(om->windowFlags() & Qt::WindowMinimizeButtonHint));
    }

    void mainWindowIsDisabledUntilAboutCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << QStringLiteral("ok");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("Escape") << QStringLiteral("escape");
        QTest::newRow("Enter") << QStringLiteral("enter");
    }
    void mainWindowIsDisabledUntilAboutCloses()
    {
        QFETCH(QString, how);
        // Twice, since each opening is a fresh load of the window.
        for (int round = 0; round < 2; ++round) {
            QVERIFY(m_main->isEnabled());
            QPointer<Om> om = openAbout();
            QVERIFY(om);
            QVERIFY(!m_main->isEnabled());

            // Keys and clicks on the main window have no effect meanwhile.
            for (int i = 0; i < 2; ++i) // press and release, both refused
                QTest::ignoreMessage(QtWarningMsg, "Keyboard event not accepted by receiving widget");
            QTest::keyClick(m_main->txtRad1(), Qt::Key_A);
            QTest::mouseClick(m_main->cmdUppdatera(), Qt::LeftButton);
            QVERIFY(m_main->txtRad1()->text().isEmpty());
            QCOMPARE(m_main->document().grid.rows(), 2);

            if (how == QLatin1String("ok"))
                QTest::mouseClick(om->cmdOmOK(), Qt::LeftButton);
            else if (how == QLatin1String("close"))
                QVERIFY(om->close());
            else if (how == QLatin1String("escape"))
                QTest::keyClick(om->cmdOmOK(), Qt::Key_Escape);
            else
                QTest::keyClick(om->cmdOmOK(), Qt::Key_Return);

            QVERIFY(m_main->isEnabled());
            QVERIFY(openAboutWindows().isEmpty());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(om.isNull()); // unloaded: the next opening loads afresh
        }
        QVERIFY(!m_main->document().Andrad());
    }

    void mainWindowCannotBeClosedWhileAboutIsOpen()
    {
        m_main->document().markChanged(); // closing would ask to save
        Om *om = openAbout();
        QVERIFY(om);
        // A save prompt here would sit on the disabled window; should one
        // come, it is cancelled so that the test ends and fails.
        bool prompted = false;
        auto cancelPrompt = [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                prompted = true;
                box->done(QMessageBox::Cancel);
            }
        };
        QTimer::singleShot(100, this, cancelPrompt);
        QVERIFY(!m_main->close());
        QVERIFY(!prompted);
        QVERIFY(m_main->isVisible());
        QCOMPARE(openAboutWindows().size(), 1);
        QTest::mouseClick(om->cmdOmOK(), Qt::LeftButton);

        // Afterwards the close request reaches the main window again: the
        // save prompt comes, and Cancel keeps the window open.
        QTimer::singleShot(100, this, cancelPrompt);
        QVERIFY(!m_main->close());
        QVERIFY(prompted);
        m_main->document().markSaved();
    }

    void destroyingTheWindowAlsoEnablesTheMainWindow()
    {
        Om *om = openAbout();
        QVERIFY(om);
        QVERIFY(!m_main->isEnabled());
        delete om;
        QVERIFY(m_main->isEnabled());
    }

    void asksForAnOpenWindowBringItForwardInsteadOfASecondOne()
    {
        Om *om = openAbout();
        QVERIFY(om);
        // The menu cannot be reached while the main window is disabled; a
        // second request from elsewhere finds the open window.
        m_main->document().desktop.showAbout();
        QCOMPARE(openAboutWindows().size(), 1);
        QVERIFY(!m_main->isEnabled());
        om->close();
        QVERIFY(m_main->isEnabled());
    }
};

QTEST_MAIN(TestOm)
#include "test_om.moc"
