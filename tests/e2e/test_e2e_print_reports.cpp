// "Skriv ut" and "Teckenräknare" from the real menus, answered in the real
// message boxes: the warning of a machine without a printer and the
// counter's information, each leaving the list as it was.
#include "WindowTest.h"
#include "app/widgets/Huvudbild.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {

struct Seen {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool okPressed = false;
};
} // namespace

class TestE2ePrintReports : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    // Waits for the next message box, notes what it shows, saves a
    // screenshot and presses its OK button.
    void answerNextMessageBox(Seen *seen, const QString &shot)
    {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [timer, seen, shot, this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            timer->stop();
            timer->deleteLater();
            seen->text = box->text();
            seen->title = box->windowTitle();
            seen->icon = box->icon();
            seen->buttons = int(box->buttons().size());
            QTest::qWait(200); // painted before the screen is read
            w->screen()->grabWindow(0).save(QDir(QStringLiteral(TAGGVERK_ARTIFACT_DIR)).filePath(shot));
            if (QAbstractButton *ok = box->button(QMessageBox::Ok)) {
                seen->okPressed = true;
                QTest::mouseClick(ok, Qt::LeftButton);
            }
        });
        timer->start(50);
    }

    QString cursor() const
    {
        const TagGrid &g = w->document().grid;
        return QStringLiteral("%1,%2 %3,%4").arg(g.row()).arg(g.col()).arg(g.rowSel()).arg(g.colSel());
    }

private slots:
    void initTestCase() { Huvudbild::installApplicationSettings(*qApp); }
    void init()
    {
        useOwnSettings();
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w));
        commitTag(*w, QStringLiteral("Nyckel"), QStringLiteral("Förråd"), QStringLiteral("5"));
        commitTag(*w, QString(11, QLatin1Char('x')), QString(), QStringLiteral("2"));
        w->document().markSaved();
    }
    void cleanup() { QVERIFY(closeDiscarding(w)); }

    void printingWithoutAPrinterWarnsAndChangesNothing()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer; nothing is sent to it from a test");
        const QString before = cursor();
        Seen seen;
        answerNextMessageBox(&seen, QStringLiteral("e2e_print_no_printer.png"));
        w->action(Command::Print)->trigger();

        QVERIFY(seen.okPressed);
        QCOMPARE(seen.text, QStringLiteral("Ingen skrivare är installerad."));
        QCOMPARE(seen.title, QStringLiteral("Skriv ut"));
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.buttons, 1);
        QCOMPARE(cursor(), before);
        QVERIFY(!w->document().Andrad());
        QVERIFY(w->isEnabled());
    }

    void counterShowsItsCountAndPutsTheCursorBack()
    {
        const QString before = cursor();
        Seen seen;
        answerNextMessageBox(&seen, QStringLiteral("e2e_teckenraknare.png"));
        w->action(Command::CharacterCount)->trigger();

        QVERIFY(seen.okPressed);
        QCOMPARE(seen.text, QStringLiteral(" 0 brickor innehåller 1 till 10 tecken.\n"
                                           " 2 brickor innehåller 11 tecken.\n"
                                           " 5 brickor innehåller 12 tecken."));
        QCOMPARE(seen.title, QStringLiteral("Teckenräknare"));
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(seen.buttons, 1);
        QCOMPARE(cursor(), before);
        QVERIFY(!w->document().Andrad());
    }
};

QTEST_MAIN(TestE2ePrintReports)
#include "test_e2e_print_reports.moc"
