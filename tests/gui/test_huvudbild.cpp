// The main window on the offscreen platform: menus, controls, tab order,
// mouse on the table, and the resize rule applied to real widgets.
#include "WindowTest.h"
#include "app/Layout.h"
#include "app/widgets/Huvudbild.h"
#include "table/widgets/GridView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

class TestHuvudbild : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    QPoint cellCenter(int gridRow, int gridCol) const
    {
        GridView *v = w->grid();
        return v->visualRect(v->model()->index(gridRow - 1, gridCol - 1)).center();
    }

private slots:
    void initTestCase() { Huvudbild::installApplicationSettings(*qApp); }

    void init()
    {
        w = std::make_unique<Huvudbild>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup()
    {
        w->document().Andrad = false;
        w.reset();
    }

    void startsAsAnEmptyUntitledList()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Namnlös - Ovelda Taggverk"));
        QCOMPARE(w->document().Andrad, false);
        QCOMPARE(w->grid()->model()->rowCount(), 1);
        QCOMPARE(w->grid()->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QCOMPARE(w->grid()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Antal"));
        QCOMPARE(QApplication::focusWidget(), w->txtRad1());
        QCOMPARE(w->document().grid.minimumRowHeight(), w->document().grid.rowHeight(0));
    }

    void menus_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items"); // "-" is the separator
        QTest::newRow("Arkiv") << int(Huvudbild::Arkiv) << "&Arkiv"
                               << QStringList{"&Nytt",     "&Öppna...", "&Spara",  "Spara so&m...",
                                              "Skriv &ut", "-",         "&Avsluta"};
        QTest::newRow("Redigera") << int(Huvudbild::Redigera) << "&Redigera"
                                  << QStringList{"&Infoga rad", "&Klipp ut", "K&opiera", "K&listra in", "&Ta bort"};
        QTest::newRow("Info") << int(Huvudbild::Info) << "&Info" << QStringList{"&Teckenräknare"};
        QTest::newRow("Hjälp") << int(Huvudbild::Hjalp) << "&Hjälp" << QStringList{"&Översikt...", "&Om..."};
    }
    void menus()
    {
        QFETCH(int, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        const auto m = Huvudbild::Menu(menu);
        QCOMPARE(w->menu(m)->title(), title);
        const QList<QAction *> actions = w->menu(m)->actions();
        QCOMPARE(actions.size(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            QAction *a = w->menuItem(m, i);
            QCOMPARE(a, actions[i]);
            if (items[i] == QLatin1String("-")) {
                QVERIFY(a->isSeparator());
                continue;
            }
            QCOMPARE(a->text(), items[i]);
            QVERIFY(a->shortcut().isEmpty());
            QVERIFY(a->isEnabled() && a->isVisible() && !a->isChecked());
        }
        QCOMPARE(w->menuItem(m, items.size()), nullptr);
    }

    void separatorDoesNothing()
    {
        commitTag(*w, "a", "", "1");
        const bool before = w->document().Andrad;
        w->menuItem(Huvudbild::Arkiv, 5)->trigger();
        QCOMPARE(w->document().Andrad, before);
        QCOMPARE(w->document().grid.rows(), 3);
    }

    void controlsSitWhereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Image1") << "Image1" << QRect(120, 120, 2424, 468);
        QTest::newRow("Label4") << "Label4" << QRect(2760, 120, 3855, 615);
        QTest::newRow("Label1") << "Label1" << QRect(120, 285, 735, 255);
        QTest::newRow("txtRad1") << "txtRad1" << QRect(960, 240, 2292, 288);
        QTest::newRow("Label2") << "Label2" << QRect(120, 645, 735, 255);
        QTest::newRow("txtRad2") << "txtRad2" << QRect(960, 600, 2292, 288);
        QTest::newRow("Label3") << "Label3" << QRect(3480, 645, 495, 255);
        QTest::newRow("txtAntal") << "txtAntal" << QRect(4080, 600, 492, 288);
        QTest::newRow("cmdUppdatera") << "cmdUppdatera" << QRect(5040, 480, 972, 372);
    }
    void controlsSitWhereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QWidget *c = nullptr;
        if (name == "Image1")
            c = w->image1();
        else if (name.startsWith("Label"))
            c = w->label(name.right(1).toInt());
        else if (name == "txtRad1")
            c = w->txtRad1();
        else if (name == "txtRad2")
            c = w->txtRad2();
        else if (name == "txtAntal")
            c = w->txtAntal();
        else
            c = w->cmdUppdatera();
        const QRect want(w->scale().px(twips.x()), w->scale().px(twips.y()), w->scale().px(twips.width()),
                         w->scale().px(twips.height()));
        QCOMPARE(c->geometry(), want);
    }

    void captionsAndLook()
    {
        QCOMPARE(w->label(1)->text(), QStringLiteral("Textrad 1"));
        QCOMPARE(w->label(2)->text(), QStringLiteral("Textrad 2"));
        QCOMPARE(w->label(3)->text(), QStringLiteral("Antal"));
        QCOMPARE(w->label(4)->text(), QStringLiteral("Taggverk"));
        QVERIFY(w->label(1)->alignment() & Qt::AlignRight);
        QCOMPARE(w->label(4)->font().pointSize(), 24);
        QVERIFY(w->label(4)->font().bold());
        QCOMPARE(w->label(4)->palette().color(QPalette::WindowText), QColor(0, 57, 109));
        QCOMPARE(w->cmdUppdatera()->text(), QStringLiteral("Uppdatera"));
        QVERIFY(!w->cmdUppdatera()->isDefault() && !w->cmdUppdatera()->autoDefault());
        QCOMPARE(w->image1()->pixmap().size(), QSize(202, 39));
        QCOMPARE(w->windowIcon().availableSizes().value(0), QSize(32, 32));
        QCOMPARE(w->frmFrame()->title(), QString());
        // Captions stay readable when the window is disabled.
        const QPalette p = w->label(1)->palette();
        QVERIFY(qAbs(p.color(QPalette::Disabled, QPalette::WindowText).lightness() -
                     p.color(QPalette::Window).lightness()) >= 40);
    }

    void standardButtonsAreSwedish()
    {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nej"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Avbryt"));
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    }

    void tabOrderRunsThroughTheEditor()
    {
        QWidget *order[] = {w->txtRad1(), w->txtRad2(), w->txtAntal(), w->cmdUppdatera()};
        w->txtRad1()->setFocus();
        for (int i = 1; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
        QCOMPARE(w->grid()->focusPolicy(), Qt::NoFocus);
    }

    void enterInAFieldCommitsNothing()
    {
        w->txtRad1()->setText("a");
        w->txtAntal()->setText("1");
        QTest::keyClick(w->txtAntal(), Qt::Key_Return);
        QCOMPARE(w->document().grid.rows(), 2);
    }

    void typedTagsAppearInTheTable()
    {
        commitTag(*w, "Pump 1", "", "12");
        commitTag(*w, "Källare", "A, B", "1");
        QAbstractItemModel *m = w->grid()->model();
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Pump 1"));
        QCOMPARE(m->index(1, 1).data().toString(), QStringLiteral("A, B"));
        QCOMPARE(m->headerData(2, Qt::Vertical).toString(), QStringLiteral("3"));
        QCOMPARE(QApplication::focusWidget(), w->txtRad1());
        QVERIFY(w->document().Andrad);
    }

    void clickAndDragEndInTheClickRoutine()
    {
        for (int i = 1; i <= 4; ++i)
            commitTag(*w, QStringLiteral("tag %1").arg(i), "", QString::number(i));
        QWidget *vp = w->grid()->viewport();

        QTest::mouseClick(vp, Qt::LeftButton, {}, cellCenter(2, 2));
        const TagGrid &g = w->document().grid;
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.rowSel(), 2);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.colSel(), 3);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("tag 2"));
        QCOMPARE(QApplication::focusWidget(), w->txtRad1());

        // Drag upwards from row 4 to row 1.
        QTest::mousePress(vp, Qt::LeftButton, {}, cellCenter(4, 3));
        QMouseEvent move(QEvent::MouseMove, cellCenter(1, 1), vp->mapToGlobal(cellCenter(1, 1)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, cellCenter(1, 1));
        QCOMPARE(g.row(), 4);
        QCOMPARE(g.rowSel(), 1);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.colSel(), 3);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("tag 4"));
        QVERIFY(w->grid()->model()->index(0, 0).data(Qt::BackgroundRole).isValid()); // drawn selected
        QVERIFY(!w->grid()->model()->index(4, 0).data(Qt::BackgroundRole).isValid());
    }

    void headerRowClickLoadsTheFirstRow()
    {
        commitTag(*w, "first", "", "1");
        commitTag(*w, "second", "", "2");
        QHeaderView *h = w->grid()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(1) + 5, h->height() / 2));
        const TagGrid &g = w->document().grid;
        QCOMPARE(g.row(), 1);
        QCOMPARE(g.rowSel(), 1);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("first"));
    }

    void numberColumnClickSelectsTheRow()
    {
        commitTag(*w, "first", "", "1");
        commitTag(*w, "second", "", "2");
        QHeaderView *h = w->grid()->verticalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->width() / 2, h->sectionViewportPosition(1) + 3));
        const TagGrid &g = w->document().grid;
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.colSel(), 3);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("second"));
    }

    void resizeFollowsTheRule()
    {
        const QSize client = w->centralWidget()->size();
        const double sw = w->scale().twips(client.width()), sh = w->scale().twips(client.height());
        QCOMPARE(w->grid()->geometry(), QRect(w->scale().px(120), w->scale().px(852), w->scale().px(sw - 240),
                                              w->scale().px(sh - 972 - 1092)));
        QCOMPARE(w->frmFrame()->y(), w->scale().px(sh - 120 - 972));

        w->resize(800, 600);
        QTRY_COMPARE(w->centralWidget()->width(), 800);
        const double tw = w->scale().twips(w->grid()->width());
        const int text = w->scale().px(*layout::textColumnWidth(float(tw)));
        QCOMPARE(w->grid()->columnWidth(0), text);
        QCOMPARE(w->grid()->columnWidth(1), text);
        QCOMPARE(w->grid()->columnWidth(2), w->scale().px(800));
        QCOMPARE(w->grid()->verticalHeader()->width(), w->scale().px(300));
        QCOMPARE(w->frmFrame()->width(), w->scale().px(6372)); // never changes
    }

    void windowKeepsItsMinimumSize()
    {
        w->resize(100, 100);
        // 6756 x 3492 twips outside, border and title included.
        QTRY_VERIFY(w->frameGeometry().width() >= 451 && w->frameGeometry().height() >= 233);
        QVERIFY(w->frameGeometry().width() <= 452);
    }

    void currentRowStaysInViewWhenTheTableShrinks()
    {
        for (int i = 1; i <= 30; ++i)
            commitTag(*w, QStringLiteral("t%1").arg(i), "", "1");
        w->resize(800, 700);
        QTest::qWait(20);
        TagGrid &g = w->document().grid;
        QVERIFY(g.isRowVisible(g.row()));
        w->resize(800, 300);
        QTRY_VERIFY(g.isRowVisible(g.row()));
        // The view shows what the grid says is shown.
        GridView *v = w->grid();
        // Every row the grid counts as shown is shown whole.
        for (int r = g.topRow(); r < g.rows() && r < g.topRow() + g.visibleRowCount(); ++r)
            QVERIFY(v->viewport()->rect().contains(v->visualRect(v->model()->index(r - 1, 0))));
        QVERIFY(g.visibleRowCount() >= 3);
        const QRect cell = v->visualRect(v->model()->index(g.row() - 1, 0));
        QVERIFY(v->viewport()->rect().contains(cell));
    }

    void modelIsConsistent()
    {
        QAbstractItemModelTester tester(w->grid()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        commitTag(*w, "a", "b", "1");
        commitTag(*w, "c", "d", "2");
        w->document().Andrad = false;                // no save prompt
        w->menuItem(Huvudbild::Arkiv, 0)->trigger(); // New resets the rows
        QCOMPARE(w->grid()->model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestHuvudbild)
#include "test_huvudbild.moc"
