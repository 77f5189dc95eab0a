// The main window on the offscreen platform: menus, controls, tab order,
// names for screen readers, mouse and keys on the table, the number column,
// and the resize rule applied to real widgets.
#include "WindowTest.h"
#include "app/Layout.h"
#include "app/widgets/Huvudbild.h"
#include "base/Limits.h"
#include "document/TableRoutines.h"
#include "table/widgets/GridView.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestHuvudbild : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    QPoint cellCenter(int gridRow, int gridCol) const
    {
        GridView *v = w->grid();
        return v->visualRect(v->model()->index(gridRow - 1, gridCol - 1)).center();
    }

    void fillTags(int n)
    {
        Document &d = w->document();
        TagGrid &g = d.grid;
        g.setRows(n + 2);
        for (int r = 1; r <= n; ++r) {
            g.setTextAt(r, 1, QStringLiteral("tag %1").arg(r));
            g.setTextAt(r, 3, QStringLiteral("1"));
        }
        g.setRow(1);
        NumreraRader(d);
        MarkeraRader(d);
        HamtaRad(d);
        w->refreshView();
    }

private slots:
    void initTestCase()
    {
        Huvudbild::installApplicationSettings(*qApp);
        // Data of the tests' own (also where the environment cannot say so,
        // as on Windows), with no recovery copy that start() would offer.
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery"))
            .removeRecursively();
    }

    void init()
    {
        useOwnSettings();
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w));
    }
    void cleanup() { QVERIFY(closeDiscarding(w)); }

    void startsAsAnEmptyUntitledList()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Namnlös - Ovelda Taggverk"));
        QCOMPARE(w->document().Andrad(), false);
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
        QTest::newRow("Arkiv") << int(Huvudbild::Arkiv) << "&Arkiv" << QStringList{"&Nytt",
                                                                                   "&Öppna...",
                                                                                   "&Spara",
                                                                                   "Spara so&m...",
                                                                                   "Skriv &ut",
                                                                                   "&Förhandsgranska...",
                                                                                   "Spara som &PDF...",
                                                                                   "-",
                                                                                   "&Avsluta"};
        QTest::newRow("Redigera") << int(Huvudbild::Redigera) << "&Redigera"
                                  << QStringList{"&Ångra",    "&Gör om",  "-",           "&Infoga rad",
                                                 "&Klipp ut", "K&opiera", "K&listra in", "&Ta bort",
                                                 "-",         "&Sök...",  "Sök &nästa",  "&Ersätt..."};
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
            // Only these have keys; Ångra and Gör om have nothing to do in a new list.
            static const QHash<QString, QString> keys = {{"&Ångra", "Ctrl+Z"},
                                                         {"&Gör om", "Ctrl+Y, Ctrl+Shift+Z"},
                                                         {"&Sök...", "Ctrl+F"},
                                                         {"Sök &nästa", "F3"},
                                                         {"&Ersätt...", "Ctrl+H"}};
            QStringList shortcuts;
            for (const QKeySequence &k : a->shortcuts())
                shortcuts << k.toString(QKeySequence::PortableText);
            QCOMPARE(shortcuts.join(QStringLiteral(", ")), keys.value(items[i]));
            const bool undoRedo = a == w->action(Command::Undo) || a == w->action(Command::Redo);
            QCOMPARE(a->isEnabled(), !undoRedo);
            QVERIFY(a->isVisible() && !a->isChecked());
        }
        QCOMPARE(w->menuItem(m, items.size()), nullptr);
    }

    void separatorDoesNothing()
    {
        commitTag(*w, "a", "", "1");
        const bool before = w->document().Andrad();
        w->menuItem(Huvudbild::Arkiv, 7)->trigger();
        QCOMPARE(w->document().Andrad(), before);
        QCOMPARE(w->document().grid.rows(), 3);
    }

    // Arkiv's recent lists, with the full path as tip; choosing one opens it;
    // they come back at the next start.
    void recentListsInArkiv()
    {
        QTemporaryDir dir;
        QStringList paths, texts;
        for (const char *name : {"a/lista.brk", "b/lista.brk", "c/Pumpar & ventiler.brk"}) {
            QFile f(dir.filePath(name));
            QVERIFY(QDir(dir.path()).mkpath(QFileInfo(f).path()) && f.open(QIODevice::WriteOnly));
            f.write("\"Pump 1\",\" \",12\r\n");
            w->document().recent.add(paths.emplace_back(f.fileName()));
        }
        // Each entry with its tip (Avsluta's is its own text, as Qt gives it).
        auto arkiv = [this] {
            QStringList shown;
            for (int i = 8; QAction *a = w->menuItem(Huvudbild::Arkiv, i); ++i)
                shown << (a->isSeparator() ? QStringLiteral("-") : a->text() + ' ' + a->toolTip());
            return shown.join('|');
        };
        const QString a = QDir::toNativeSeparators(paths[0]), b = QDir::toNativeSeparators(paths[1]),
                      c = QDir::toNativeSeparators(paths[2]);
        w->refreshView();
        QCOMPARE(arkiv(), "&1 Pumpar && ventiler.brk " + c + "|&2 lista.brk " + b + "|&3 lista.brk " + a +
                              "|-|&Avsluta Avsluta");
        QVERIFY(w->menu(Huvudbild::Arkiv)->toolTipsVisible());
        w->menuItem(Huvudbild::Arkiv, 10)->trigger();
        QCOMPARE(w->windowTitle() + w->document().grid.textAt(1, 1),
                 QStringLiteral("lista.brk - Ovelda TaggverkPump 1"));
        const QString now =
            "&1 lista.brk " + a + "|&2 Pumpar && ventiler.brk " + c + "|&3 lista.brk " + b + "|-|&Avsluta Avsluta";
        QCOMPARE(arkiv(), now);
        QVERIFY(closeDiscarding(w));
        w = std::make_unique<Huvudbild>();
        QCOMPARE(arkiv(), now);
    }

    // The window's place and size as the last run left them, where a screen
    // there is now shows them; a maximised window keeps the place it goes
    // back to.
    void windowComesBackWhereItWas_data()
    {
        QTest::addColumn<bool>("onAScreen");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("on the screen") << true << false;
        QTest::newRow("on a screen that is gone") << false << false;
        QTest::newRow("maximised") << true << true;
    }
    void windowComesBackWhereItWas()
    {
        QFETCH(bool, onAScreen);
        QFETCH(bool, maximized);
        const QRect first(w->pos(), w->size()), screen = w->screen()->availableGeometry();
        const QRect moved(onAScreen ? screen.topLeft() + QPoint(17, 23) : QPoint(screen.right() + 400, 10),
                          first.size() + QSize(60, 40));
        w->resize(moved.size());
        w->move(moved.topLeft());
        w->setWindowState(maximized ? Qt::WindowMaximized : Qt::WindowNoState);
        QVERIFY(closeDiscarding(w));
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w));
        QCOMPARE(w->isMaximized(), maximized);
        QCOMPARE(maximized ? w->normalGeometry() : QRect(w->pos(), w->size()), onAScreen ? moved : first);
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
        // The icon in every size it is drawn in, for the window and the whole program.
        QList<QSize> iconSizes;
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            iconSizes << QSize(size, size);
        QCOMPARE(w->windowIcon().availableSizes(), iconSizes);
        QCOMPARE(QApplication::windowIcon().availableSizes(), iconSizes);
        QCOMPARE(w->frmFrame()->title(), QString());
        // The dialog font or one of its stand-ins, in the cells, fields,
        // labels and menus: never whatever face the system falls back on.
        const QString family = QApplication::font().family();
        const QStringList intended = QStringList{family} + QFont::substitutes(family);
        const QList<QWidget *> widgets{w->txtRad1(), w->label(1), w->grid(), w->menuBar()};
        for (QWidget *widget : widgets) {
            const QString drawn = QFontInfo(widget->font()).family();
            QVERIFY2(intended.contains(drawn, Qt::CaseInsensitive),
                     qPrintable(drawn + " not in " + intended.join(",")));
        }
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

    void tabRunsThroughTheEditorAndTheTable()
    {
        QWidget *order[] = {w->txtRad1(), w->txtRad2(), w->txtAntal(), w->cmdUppdatera(), w->grid(), w->txtRad1()};
        w->txtRad1()->setFocus();
        for (int i = 1; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
        for (int i = 4; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
        // Reached by Tab only: a click never leaves the focus in the table.
        QCOMPARE(w->grid()->focusPolicy(), Qt::TabFocus);
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
        QVERIFY(w->document().Andrad());
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

    // 30 tags "tag 1".."tag 30" and the entry row 31; the cursor on row 5,
    // the focus in the table.
    void keysOnTheTable_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<int>("wantRow"); // -1: the row a page down
        QTest::addColumn<int>("wantSel");
        QTest::addColumn<bool>("focusStays");
        const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Down") << int(Qt::Key_Down) << none << 6 << 6 << true;
        QTest::newRow("keypad Down") << int(Qt::Key_Down) << int(Qt::KeypadModifier) << 6 << 6 << true;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << none << -1 << -1 << true;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << none << 1 << 1 << true;
        QTest::newRow("Ctrl+End") << int(Qt::Key_End) << ctrl << 31 << 31 << true;
        QTest::newRow("Shift+Down") << int(Qt::Key_Down) << shift << 5 << 6 << true;
        QTest::newRow("Return") << int(Qt::Key_Return) << none << 5 << 5 << false;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 5 << 5 << false;
        QTest::newRow("Home alone: nothing") << int(Qt::Key_Home) << none << 5 << 5 << true;
        QTest::newRow("Alt+Down: nothing") << int(Qt::Key_Down) << int(Qt::AltModifier) << 5 << 5 << true;
    }
    void keysOnTheTable()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(int, wantRow);
        QFETCH(int, wantSel);
        QFETCH(bool, focusStays);
        fillTags(30);
        TagGrid &g = w->document().grid;
        QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {}, cellCenter(5, 1));
        QCOMPARE(g.row(), 5);
        w->grid()->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), w->grid());
        if (wantRow < 0)
            wantRow = wantSel = 5 + g.visibleRowCount();

        QTest::keyClick(w->grid(), Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(g.row(), wantRow);
        QCOMPARE(g.rowSel(), wantSel);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.colSel(), 3);
        QCOMPARE(QApplication::focusWidget(), focusStays ? static_cast<QWidget *>(w->grid()) : w->txtRad1());
        QCOMPARE(w->txtRad1()->text(), wantRow == 31 ? QString() : QStringLiteral("tag %1").arg(wantRow));
        QCOMPARE(w->document().Andrad(), false);
        // The row the key went to is drawn whole in the view.
        GridView *v = w->grid();
        QVERIFY(v->viewport()->rect().contains(v->visualRect(v->model()->index(wantSel - 1, 2))));
    }

    void clickOnTheFocusedTableEndsInTheFirstField()
    {
        fillTags(5);
        w->grid()->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {}, cellCenter(3, 2));
        QCOMPARE(w->document().grid.row(), 3);
        QCOMPARE(QApplication::focusWidget(), w->txtRad1());
    }

    void shiftClickWidensTheSelection()
    {
        fillTags(5);
        const TagGrid &g = w->document().grid;
        QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {}, cellCenter(2, 1));
        w->txtRad2()->setText("typed");
        QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCenter(4, 3));
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.rowSel(), 4);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.colSel(), 3);
        QCOMPARE(w->txtRad1()->text(), QStringLiteral("tag 2"));
        QCOMPARE(w->txtRad2()->text(), QString()); // as a click: the cursor row, not the typing
        QCOMPARE(QApplication::focusWidget(), w->txtRad1());
        // On the number column, upwards.
        QHeaderView *h = w->grid()->verticalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          QPoint(h->width() / 2, h->sectionViewportPosition(0) + 3));
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.rowSel(), 1);
        QCOMPARE(g.colSel(), 3);
    }

    // A drop and the start argument take the path that Arkiv > Öppna takes.
    void dropAndArgumentOpenATagFile_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("asArgument");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("onField"); // dropped on the first field, not the window
        QTest::newRow("dropped .brk") << QStringList{"lista.brk"} << false << true << false;
        QTest::newRow("dropped .BRK") << QStringList{"LISTA.BRK"} << false << true << false;
        QTest::newRow("the first .brk of several")
            << QStringList{"a.txt", "lista.brk", "b.brk"} << false << true << false;
        QTest::newRow("dropped .txt refused") << QStringList{"lista.txt"} << false << false << false;
        QTest::newRow("dropped on a field") << QStringList{"lista.brk"} << false << true << true;
        QTest::newRow("argument") << QStringList{"lista.brk"} << true << true << false;
    }
    void dropAndArgumentOpenATagFile()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, asArgument);
        QFETCH(bool, opened);
        QFETCH(bool, onField);
        QTemporaryDir dir;
        QList<QUrl> urls;
        for (const QString &name : names) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(name.endsWith(QLatin1String("b.brk")) ? "\"fel\",\" \",1\r\n" : "\"Pump 1\",\" \",12\r\n");
            urls << QUrl::fromLocalFile(f.fileName());
        }
        if (asArgument) {
            const QString before = QDir::currentPath();
            QDir::setCurrent(dir.path()); // a relative name is taken from the working folder
            w->start({QStringLiteral("taggverk"), names.first(), QStringLiteral("ignored.brk")});
            QDir::setCurrent(before);
        } else {
            QMimeData data;
            data.setUrls(urls);
            QWidget *target = onField ? static_cast<QWidget *>(w->txtRad1()) : w.get();
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &enter);
            QCOMPARE(enter.isAccepted(), opened);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &drop);
        }
        const Document &d = w->document();
        QCOMPARE(d.grid.textAt(1, 1), opened ? QStringLiteral("Pump 1") : QString());
        QCOMPARE(
            d.FilNamn,
            opened
                ? QFileInfo(dir.filePath(names.contains("lista.brk") ? "lista.brk" : names.first())).absoluteFilePath()
                : QString());
        QCOMPARE(w->grid()->model()->rowCount(), opened ? 2 : 1); // the view shows it
    }

    void undoKeysInAFieldThenInTheList_data()
    {
        QTest::addColumn<QKeySequence>("redo");
        QTest::newRow("Ctrl+Y") << QKeySequence(Qt::CTRL | Qt::Key_Y);
        QTest::newRow("Ctrl+Shift+Z") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    }
    // The keys act on a field's own typing first, then on the list; Ångra
    // and Gör om are greyed out as there is something to do.
    void undoKeysInAFieldThenInTheList()
    {
        QFETCH(QKeySequence, redo);
        QVERIFY(shown(*w, true));
        QAction *undoAction = w->action(Command::Undo);
        QAction *redoAction = w->action(Command::Redo);
        commitTag(*w, QStringLiteral("Pump 1"), QString(), QStringLiteral("12"));
        QVERIFY(undoAction->isEnabled() && !redoAction->isEnabled());
        commitTag(*w, QStringLiteral("Pump 2"), QString(), QStringLiteral("1"));
        QLineEdit *field = w->txtRad1();
        field->setFocus();
        // No typing to undo: the list's last change.
        QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w->document().grid.rows(), 3);
        QVERIFY(undoAction->isEnabled() && redoAction->isEnabled());

        // Typing to undo and redo: the field's own, with the list's Gör om
        // waiting.
        QTest::keyClicks(field, QStringLiteral("abc"));
        QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(field->text(), QString());
        QTest::keySequence(field, redo);
        QCOMPARE(field->text(), QStringLiteral("abc"));
        QCOMPARE(w->document().grid.rows(), 3);

        field->setText(QString()); // no typing left to redo
        QTest::keySequence(field, redo);
        QCOMPARE(w->document().grid.rows(), 4);
        QVERIFY(undoAction->isEnabled() && !redoAction->isEnabled());
    }

    // A copy of the list while it has unsaved changes, none once saved.
    void recoveryCopyFollowsUnsavedChanges()
    {
        QTemporaryDir dir;
        commitTag(*w, QStringLiteral("Pump 1"), QString(), QStringLiteral("12"));
        QVERIFY(w->recoveryCopy().path().isEmpty()); // not on every change at once
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(w->recoveryCopy().path()), Session::kCopyDelayMs + 3000);
        const QString copy = w->recoveryCopy().path();
        w->document().FilNamn = dir.filePath(QStringLiteral("lista.brk"));
        w->action(Command::Save)->trigger();
        QVERIFY(!w->document().Andrad());
        QVERIFY(!QFile::exists(copy));
    }

    void accessibleNames()
    {
        const std::pair<QWidget *, const char *> named[] = {{w->txtRad1(), "Textrad 1"},
                                                            {w->txtRad2(), "Textrad 2"},
                                                            {w->txtAntal(), "Antal"},
                                                            {w->grid(), "Brickor"},
                                                            {w->image1(), "Ovelda"}};
        for (const auto &[widget, name] : named)
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), QString::fromUtf8(name));
    }

    void focusFrameShowsWhenTheTableHasTheFocus()
    {
        GridView *v = w->grid();
        const QPoint probe = v->viewport()->geometry().bottomLeft() + QPoint(1, -1);
        const QColor frame = v->palette().color(QPalette::Active, QPalette::Highlight).darker(140);
        w->txtRad1()->setFocus();
        QVERIFY(v->grab().toImage().pixel(probe) != frame.rgb());
        v->setFocus(Qt::TabFocusReason);
        QCOMPARE(v->grab().toImage().pixel(probe), frame.rgb());
    }

    // The largest row number is the entry row's: n tags show 1..n+1.
    void numberColumnShowsWholeNumbers_data()
    {
        QTest::addColumn<int>("tags");
        QTest::newRow("up to 999: as before") << 998;
        QTest::newRow("up to 1000") << 999;
        QTest::newRow("up to 32766: the full list") << 32765;
    }
    void numberColumnShowsWholeNumbers()
    {
        QFETCH(int, tags);
        fillTags(tags);
        GridView *v = w->grid();
        const Twips &s = w->scale();
        const int oldText = s.px(*layout::textColumnWidth(float(s.twips(v->width()))));
        const int numberPx = v->verticalHeader()->width();
        const int margin = v->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, v->verticalHeader());
        const int needs = v->verticalHeader()->fontMetrics().horizontalAdvance(QString::number(tags + 1)) + 2 * margin;
        // Exactly the old layout up to 999; wider, and the text columns narrower, beyond.
        QCOMPARE(numberPx, tags < 999 ? s.px(300) : std::max(s.px(300), needs));
        QCOMPARE(v->columnWidth(0) < oldText, tags >= 999);
        QCOMPARE(v->columnWidth(0), v->columnWidth(1));
        QCOMPARE(v->columnWidth(2), s.px(800));

        // At the end of the list the last number and the quantity are in view.
        v->setFocus(Qt::TabFocusReason);
        QTest::keyClick(v, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(v->viewport()->rect().contains(v->visualRect(v->model()->index(tags, 2))));
        QCOMPARE(v->horizontalScrollBar()->maximum(), 0);

        w->document().markSaved();
        w->menuItem(Huvudbild::Arkiv, 0)->trigger(); // a new list gives the width back
        QCOMPARE(v->verticalHeader()->width(), s.px(300));
    }

    // A drag that leaves the cells picks the nearest row and column.
    void dragPastTheCellsPicksTheNearestRow_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("wantSel");
        QTest::newRow("below the last row") << "below" << 4;
        QTest::newRow("above the table") << "above" << 1;
        QTest::newRow("right of the last column") << "right" << 3;
    }
    void dragPastTheCellsPicksTheNearestRow()
    {
        QFETCH(QString, where);
        QFETCH(int, wantSel);
        for (int i = 1; i <= 3; ++i)
            commitTag(*w, QStringLiteral("tag %1").arg(i), "", "1");
        QWidget *vp = w->grid()->viewport();
        QPoint end = where == "below"   ? QPoint(cellCenter(2, 1).x(), vp->height() - 2)
                     : where == "above" ? QPoint(cellCenter(2, 1).x(), -20)
                                        : QPoint(vp->width() + 30, cellCenter(3, 1).y());
        QVERIFY(where != "below" || w->grid()->rowAt(end.y()) < 0); // really past the rows
        QTest::mousePress(vp, Qt::LeftButton, {}, cellCenter(2, 1));
        QMouseEvent move(QEvent::MouseMove, end, vp->mapToGlobal(end), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, end);
        const TagGrid &g = w->document().grid;
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.rowSel(), wantSel);
        QCOMPARE(g.colSel(), 3);
    }

    // Every column of a selected tag is drawn selected, none of the others.
    void selectionHighlightCoversTheWholeTag_data()
    {
        QTest::addColumn<int>("col");
        QTest::newRow("Rad 1") << 1;
        QTest::newRow("Rad 2") << 2;
        QTest::newRow("Antal") << 3;
    }
    void selectionHighlightCoversTheWholeTag()
    {
        QFETCH(int, col);
        for (int i = 1; i <= 4; ++i)
            commitTag(*w, QStringLiteral("tag %1").arg(i), "x", "1");
        QWidget *vp = w->grid()->viewport();
        QTest::mouseClick(vp, Qt::LeftButton, {}, cellCenter(2, 1));
        QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, cellCenter(3, 1));
        const QAbstractItemModel *m = w->grid()->model();
        const QPalette p = QApplication::palette();
        for (int row = 1; row <= 5; ++row) {
            const QModelIndex i = m->index(row - 1, col - 1);
            const bool selected = row == 2 || row == 3;
            QCOMPARE(i.data(Qt::BackgroundRole).isValid(), selected);
            if (selected) {
                QCOMPARE(i.data(Qt::BackgroundRole).value<QBrush>(), p.brush(QPalette::Active, QPalette::Highlight));
                QCOMPARE(i.data(Qt::ForegroundRole).value<QBrush>(),
                         p.brush(QPalette::Active, QPalette::HighlightedText));
            }
        }
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

    // Rows are as tall as the twips say, but never lower than their text:
    // a taller font (another system's, a higher resolution) must not lose
    // its lowest pixels in the cells, the header or the row numbers.
    void rowsAreAtLeastAsTallAsTheirText_data()
    {
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("a font that fits: the twips height") << 10;
        QTest::newRow("a font taller than the twips allow") << 30;
    }
    void rowsAreAtLeastAsTallAsTheirText()
    {
        QFETCH(int, pixelSize);
        fillTags(40);
        GridView *v = w->grid();
        QFont f = v->font();
        f.setPixelSize(pixelSize);
        // The headers take the small font too (first: the view's font
        // change lays the rows out); the large one is the cells' alone.
        if (pixelSize == 10) {
            v->horizontalHeader()->setFont(f);
            v->verticalHeader()->setFont(f);
        }
        v->setFont(f);
        const int twipsPx = w->scale().px(TagGrid::DefaultRowHeight);
        const int row = v->rowHeight(0);
        if (pixelSize == 10)
            QCOMPARE(row, twipsPx);
        else
            QVERIFY2(row > twipsPx, qPrintable(QString::number(row)));
        QVERIFY(row >= v->fontMetrics().height() + 1); // the grid line takes one pixel
        QCOMPARE(v->rowHeight(39), row);
        QCOMPARE(v->horizontalHeader()->height(), row);
        QCOMPARE(v->verticalHeader()->sectionSize(0), row);
        // Each header draws its text inside the style's label rectangle.
        for (QHeaderView *h : {v->horizontalHeader(), v->verticalHeader()}) {
            QStyleOptionHeader opt;
            opt.initFrom(h);
            opt.rect = QRect(0, 0, 100, row);
            const QRect label = h->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, h);
            QVERIFY2(label.height() >= h->fontMetrics().height(), qPrintable(QString::number(label.height())));
        }
        // The rows that fit are whole rows of the height shown.
        QCOMPARE(w->document().grid.visibleRowCount(), v->viewport()->height() / row);
        // The cursor row at the bottom of a page is still shown whole.
        v->setFocus(Qt::TabFocusReason);
        QTest::keyClick(v, Qt::Key_PageDown);
        w->refreshView();
        const QRect cursor = v->visualRect(v->model()->index(w->document().grid.row() - 1, 0));
        QVERIFY(v->viewport()->rect().contains(cursor));
        // The list itself keeps its twips.
        QCOMPARE(w->document().grid.rowHeight(1), TagGrid::DefaultRowHeight);
    }

    // A command's message shows over the table as the command left it, not
    // as it was before: here Paste with one line too long to take.
    void tableIsUpToDateBehindAMessage()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\t1\r\n") + QString(kMaxTextLength + 1, u'x') +
                                              QStringLiteral("\t\t1\r\nc\td\t2\r\n"));
        QString title;
        int rowsBehind = -1;
        QTimer poll;
        whenMessageBoxShows(
            poll,
            [&](QMessageBox *box) {
                title = box->windowTitle();
                rowsBehind = w->grid()->model()->rowCount();
                QTest::keyClick(box, Qt::Key_Return);
            },
            20);
        QCOMPARE(w->grid()->model()->rowCount(), 1);
        w->action(Command::Paste)->trigger();
        QCOMPARE(title, QStringLiteral("Klistra in"));
        QCOMPARE(rowsBehind, 3); // the two rows taken and the entry row
    }

    void modelIsConsistent()
    {
        QAbstractItemModelTester tester(w->grid()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        commitTag(*w, "a", "b", "1");
        commitTag(*w, "c", "d", "2");
        w->document().markSaved();                   // no save prompt
        w->menuItem(Huvudbild::Arkiv, 0)->trigger(); // New resets the rows
        QCOMPARE(w->grid()->model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestHuvudbild)
#include "test_huvudbild.moc"
