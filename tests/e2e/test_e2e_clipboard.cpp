// Copy and Paste through the real X clipboard, with xclip as the other
// program: rows copied in the window read back byte for byte, and a
// tab-separated text placed by xclip pastes into the list.
#include "Process.h"
#include "WindowTest.h"
#include "app/widgets/Huvudbild.h"
#include "table/widgets/GridView.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
enum Entry { InfogaRad = 0, KlippUt = 1, Kopiera = 2, KlistraIn = 3, TaBort = 4 };
}

class TestE2eClipboard : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    QPoint cellCenter(int gridRow) const
    {
        GridView *v = w->grid();
        return v->visualRect(v->model()->index(gridRow - 1, 0)).center();
    }
    void drag(int fromRow, int toRow)
    {
        QWidget *vp = w->grid()->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, cellCenter(fromRow));
        QTest::mouseMove(vp, cellCenter(toRow));
        QTest::mouseRelease(vp, Qt::LeftButton, {}, cellCenter(toRow));
    }
    QStringList viewRow(int gridRow) const
    {
        const QAbstractItemModel *m = w->grid()->model();
        QStringList cells;
        for (int c = 0; c < 3; ++c)
            cells << m->data(m->index(gridRow - 1, c)).toString();
        return cells;
    }
    void screenshot(const QString &name)
    {
        // Let the window paint what the last command changed before the
        // screen is read.
        QTest::qWait(300);
        const QPixmap shot = w->screen()->grabWindow(0);
        const QString path = QDir(QStringLiteral(TAGGVERK_ARTIFACT_DIR)).filePath(name);
        QVERIFY2(shot.save(path), qPrintable(path));
    }

    static bool xclip(const QStringList &args, QByteArray *out = nullptr)
    {
        return runProcess(QStringLiteral("xclip"),
                          QStringList{QStringLiteral("-selection"), QStringLiteral("clipboard")} + args, out, 10000);
    }

private slots:
    void initTestCase()
    {
        Huvudbild::installApplicationSettings(*qApp);
        if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
            QFAIL("xclip is needed to reach the clipboard from outside");
    }
    void init()
    {
        w = std::make_unique<Huvudbild>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup()
    {
        w->document().Andrad = false; // no save prompt on close
        // Closed first, as the program ends: destroying a shown window
        // lets the table view read the document after it is gone.
        QVERIFY(w->close());
        w.reset();
    }

    void copiedRowsReachOtherPrograms()
    {
        commitTag(*w, QStringLiteral("Åsa"), QStringLiteral("Östra €"), QStringLiteral("2"));
        commitTag(*w, QStringLiteral("B"), QString(), QStringLiteral("3"));
        commitTag(*w, QStringLiteral("C"), QStringLiteral("c"), QStringLiteral("1"));
        // Dragged upwards: rows 1 and 2, as a downward drag would give.
        drag(2, 1);
        QCOMPARE(w->document().grid.row(), 2);
        QCOMPARE(w->document().grid.rowSel(), 1);

        w->menuItem(Huvudbild::Redigera, Kopiera)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Åsa\tÖstra €\t2\r\nB\t\t3\r\n"));

        QByteArray bytes;
        QVERIFY(xclip({QStringLiteral("-o")}, &bytes));
        QCOMPARE(bytes, QStringLiteral("Åsa\tÖstra €\t2\r\nB\t\t3\r\n").toUtf8());
        // Copy changes nothing in the list.
        QCOMPARE(w->document().grid.rows(), 5);
        QCOMPARE(w->document().Andrad, true);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("B"));
        screenshot(QStringLiteral("e2e_clipboard_copy.png"));

        // Cut of the same rows leaves the same text and removes them.
        w->menuItem(Huvudbild::Redigera, KlippUt)->trigger();
        QVERIFY(xclip({QStringLiteral("-o")}, &bytes));
        QCOMPARE(bytes, QStringLiteral("Åsa\tÖstra €\t2\r\nB\t\t3\r\n").toUtf8());
        QCOMPARE(w->grid()->model()->rowCount(), 2);
        QCOMPARE(viewRow(1), (QStringList{QStringLiteral("C"), QStringLiteral("c"), QStringLiteral("1")}));
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("C"));
    }

    void textFromOtherProgramsPastes()
    {
        commitTag(*w, QStringLiteral("Första"), QString(), QStringLiteral("1"));
        commitTag(*w, QStringLiteral("Andra"), QString(), QStringLiteral("2"));
        drag(2, 2);

        // As a spreadsheet or a text editor would place it: a skipped line,
        // a quantity with a unit, a line without CR at the end.
        const QByteArray text = QStringLiteral("Ny\tÅ\t4\r\nhoppa\töver\t0\r\nTvå\t\t1 st\r\nsist\t\t9").toUtf8();
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("rader.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QVERIFY(xclip({QStringLiteral("-i"), file.fileName()}));
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text().toUtf8(), text, 5000);

        w->menuItem(Huvudbild::Redigera, KlistraIn)->trigger();

        const TagGrid &g = w->document().grid;
        QCOMPARE(g.rows(), 6);
        QCOMPARE(w->grid()->model()->rowCount(), 5);
        QCOMPARE(viewRow(1), (QStringList{QStringLiteral("Första"), QString(), QStringLiteral("1")}));
        QCOMPARE(viewRow(2), (QStringList{QStringLiteral("Ny"), QStringLiteral("Å"), QStringLiteral("4")}));
        QCOMPARE(viewRow(3), (QStringList{QStringLiteral("Två"), QString(), QStringLiteral("1 st")}));
        QCOMPARE(viewRow(4), (QStringList{QStringLiteral("Andra"), QString(), QStringLiteral("2")}));
        QCOMPARE(w->grid()->model()->headerData(3, Qt::Vertical).toString(), QStringLiteral("4"));
        QCOMPARE(g.row(), 4);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("Andra"));
        QCOMPARE(w->txtAntal()->text(), QStringLiteral("2"));
        QVERIFY(w->document().Andrad);
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // no message
        screenshot(QStringLiteral("e2e_clipboard_paste.png"));
    }
};

QTEST_MAIN(TestE2eClipboard)
#include "test_e2e_clipboard.moc"
