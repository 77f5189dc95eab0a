// Copy and Paste through the real X clipboard, with xclip as the other
// program: rows copied in the window read back byte for byte, as text and as
// an HTML table, and tab-separated text placed by xclip (as spreadsheets
// place it) pastes into the list.
#include "Process.h"
#include "SpreadsheetRows.h"
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

    // Puts bytes on the clipboard as another program would, under the
    // UTF8_STRING target that both spreadsheets offer.
    static void offer(const QByteArray &bytes)
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("rader.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(xclip({QStringLiteral("-t"), QStringLiteral("UTF8_STRING"), QStringLiteral("-i"), file.fileName()}));
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text().toUtf8(), bytes, 5000);
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
        useOwnSettings();
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w));
    }
    void cleanup() { QVERIFY(closeDiscarding(w)); }

    void copiedRowsReachOtherPrograms()
    {
        commitTag(*w, QStringLiteral("Åsa"), QStringLiteral("Östra €"), QStringLiteral("2"));
        commitTag(*w, QStringLiteral("B"), QString(), QStringLiteral("3"));
        commitTag(*w, QStringLiteral("C"), QStringLiteral("c"), QStringLiteral("1"));
        // Dragged upwards: rows 1 and 2, as a downward drag would give.
        drag(2, 1);
        QCOMPARE(w->document().grid.row(), 2);
        QCOMPARE(w->document().grid.rowSel(), 1);

        w->action(Command::Copy)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Åsa\tÖstra €\t2\r\nB\t\t3\r\n"));

        QByteArray bytes;
        QVERIFY(xclip({QStringLiteral("-o")}, &bytes));
        QCOMPARE(bytes, QStringLiteral("Åsa\tÖstra €\t2\r\nB\t\t3\r\n").toUtf8());
        // Beside it, for spreadsheets, the same rows as an HTML table.
        QVERIFY(xclip({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("TARGETS")}, &bytes));
        const QList<QByteArray> targets = bytes.split('\n');
        QVERIFY2(targets.contains("text/html") && targets.contains("UTF8_STRING"), bytes.constData());
        QVERIFY(xclip({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("text/html")}, &bytes));
        QVERIFY2(bytes.contains(QStringLiteral("<table>\n<tr><td>Åsa</td><td>Östra €</td><td>2</td></tr>\n"
                                               "<tr><td>B</td><td></td><td>3</td></tr>\n</table>")
                                    .toUtf8()),
                 bytes.constData());
        QVERIFY(bytes.contains("charset=utf-8"));
        // And as RTF, which Calc takes before HTML.
        QVERIFY(xclip({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("text/rtf")}, &bytes));
        QVERIFY2(bytes.contains("\\intbl \\u197?sa\\cell \\u214?stra \\u8364?\\cell 2\\cell\\row"), bytes.constData());
        // Copy changes nothing in the list.
        QCOMPARE(w->document().grid.rows(), 5);
        QCOMPARE(w->document().Andrad(), true);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("B"));
        screenshot(QStringLiteral("e2e_clipboard_copy.png"));

        // Cut of the same rows leaves the same text and removes them.
        w->action(Command::Cut)->trigger();
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

        // As a text editor would place it: a skipped line, a quantity with a
        // unit, a line without a line end at the end.
        offer(QStringLiteral("Ny\tÅ\t4\r\nhoppa\töver\t0\r\nTvå\t\t1 st\r\nsist\t\t9").toUtf8());
        if (QTest::currentTestFailed())
            return;

        w->action(Command::Paste)->trigger();

        const TagGrid &g = w->document().grid;
        QCOMPARE(g.rows(), 7);
        QCOMPARE(w->grid()->model()->rowCount(), 6);
        QCOMPARE(viewRow(1), (QStringList{QStringLiteral("Första"), QString(), QStringLiteral("1")}));
        QCOMPARE(viewRow(2), (QStringList{QStringLiteral("Ny"), QStringLiteral("Å"), QStringLiteral("4")}));
        QCOMPARE(viewRow(3), (QStringList{QStringLiteral("Två"), QString(), QStringLiteral("1 st")}));
        QCOMPARE(viewRow(4), (QStringList{QStringLiteral("sist"), QString(), QStringLiteral("9")}));
        QCOMPARE(viewRow(5), (QStringList{QStringLiteral("Andra"), QString(), QStringLiteral("2")}));
        QCOMPARE(w->grid()->model()->headerData(4, Qt::Vertical).toString(), QStringLiteral("5"));
        QCOMPARE(g.row(), 5);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("Andra"));
        QCOMPARE(w->txtAntal()->text(), QStringLiteral("2"));
        QVERIFY(w->document().Andrad());
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // no message
        screenshot(QStringLiteral("e2e_clipboard_paste.png"));
    }

    void spreadsheetRowsPaste_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("LibreOffice Calc") << kCalcRows;
        QTest::newRow("Gnumeric") << kGnumericRows;
    }
    void spreadsheetRowsPaste()
    {
        QFETCH(QByteArray, bytes);
        commitTag(*w, QStringLiteral("Sist"), QString(), QStringLiteral("1"));
        drag(1, 1);
        offer(bytes);
        if (QTest::currentTestFailed())
            return;

        w->action(Command::Paste)->trigger();

        QCOMPARE(w->grid()->model()->rowCount(), 6);
        QCOMPARE(viewRow(1), (QStringList{QStringLiteral("Pump 1"), QStringLiteral("Källare"), QStringLiteral("12")}));
        QCOMPARE(viewRow(2), (QStringList{QStringLiteral("Åsa Öberg"), QStringLiteral("A, B"), QStringLiteral("3")}));
        QCOMPARE(viewRow(3), (QStringList{QStringLiteral("Värmeväxlare"), QString(), QStringLiteral("250")}));
        QCOMPARE(viewRow(4), (QStringList{QStringLiteral("\"citat\""), QStringLiteral("x"), QStringLiteral("1")}));
        QCOMPARE(viewRow(5), (QStringList{QStringLiteral("Sist"), QString(), QStringLiteral("1")}));
        QCOMPARE(w->grid()->model()->headerData(4, Qt::Vertical).toString(), QStringLiteral("5"));
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("Sist"));
        QVERIFY(w->document().Andrad());
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // no message
    }
};

QTEST_MAIN(TestE2eClipboard)
#include "test_e2e_clipboard.moc"
