// The resize rule as a pure function of the window's size, in twips; the
// place the window opens at when it remembers one; and where the program's
// other windows go beside the main window, in pixels.
#include "app/Layout.h"
#include "app/WindowPlace.h"
#include "base/WindowBeside.h"

#include <QtTest>

#include <limits>

class TestLayout : public QObject {
    Q_OBJECT

    static layout::Input window(double clientW, double clientH)
    {
        layout::Input in;
        in.scaleWidth = clientW;
        in.scaleHeight = clientH;
        in.outerWidth = clientW + 150;  // sizable borders
        in.outerHeight = clientH + 690; // title, menu bar and borders
        return in;
    }

private slots:
    void initialSize()
    {
        const auto r = layout::compute(window(6615, 5040));
        QVERIFY(r.complete);
        QCOMPARE(*r.frameTop, 3948.0f);
        QCOMPARE(*r.frameLeft, 120.0f);
        QCOMPARE(*r.tableTop, 852.0f);
        QCOMPARE(*r.tableLeft, 120.0f);
        QCOMPARE(*r.tableHeight, 2976.0f);
        QCOMPARE(*r.tableWidth, 6375.0f);
        QCOMPARE(r.colWidth[0].value(), 300);
        QCOMPARE(r.colWidth[1].value(), 2475);
        QCOMPARE(r.colWidth[2].value(), 2475);
        QCOMPARE(r.colWidth[3].value(), 800);
    }

    void textColumnsRoundHalvesToEven_data()
    {
        QTest::addColumn<float>("tableWidth");
        QTest::addColumn<int>("width");
        QTest::newRow("6375") << 6375.0f << 2475;
        QTest::newRow("6390: 2482.5 down") << 6390.0f << 2482;
        QTest::newRow("6420: 2497.5 up") << 6420.0f << 2498;
        QTest::newRow("6391") << 6391.0f << 2483;
    }
    void textColumnsRoundHalvesToEven()
    {
        QFETCH(float, tableWidth);
        QFETCH(int, width);
        QCOMPARE(layout::textColumnWidth(tableWidth).value(), width);
        // The rule reads the width back from the table, which may differ.
        layout::Input in = window(9000, 5040);
        const auto r = layout::compute(in, [&](float) { return tableWidth; });
        QCOMPARE(r.colWidth[1].value(), width);
        QCOMPARE(r.colWidth[2].value(), width);
        const int sum = 300 + 2 * width + 800;
        QVERIFY(std::abs(sum - (tableWidth - 325)) <= 1.0f);
    }

    void numberColumnWidensAndTheTextColumnsGiveWay_data()
    {
        QTest::addColumn<int>("largest");  // the largest row number shown
        QTest::addColumn<double>("needs"); // and what it needs
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("text");
        QTest::newRow("nothing measured") << 1 << 0.0 << 300 << 2475;
        QTest::newRow("999: as it always was") << 999 << 330.0 << 300 << 2475;
        QTest::newRow("1000 fits in 300") << 1000 << 285.0 << 300 << 2475;
        QTest::newRow("1000") << 1000 << 405.0 << 405 << 2422;        // 2422.5 to even
        QTest::newRow("a part twip") << 1000 << 420.2 << 421 << 2414; // whole twips, rounded up
        QTest::newRow("32766") << 32766 << 480.0 << 480 << 2385;
        QTest::newRow("no measure") << 32766 << std::numeric_limits<double>::quiet_NaN() << 300 << 2475;
    }
    void numberColumnWidensAndTheTextColumnsGiveWay()
    {
        QFETCH(int, largest);
        QFETCH(double, needs);
        QFETCH(int, number);
        QFETCH(int, text);
        layout::Input in = window(6615, 5040);
        in.largestRowNumber = largest;
        in.numberNeeds = needs;
        const auto r = layout::compute(in);
        QVERIFY(r.complete);
        QCOMPARE(r.colWidth[0].value(), number);
        QCOMPARE(r.colWidth[1].value(), text);
        QCOMPARE(r.colWidth[2].value(), text);
        QCOMPARE(r.colWidth[3].value(), 800); // the quantity keeps its width
        QVERIFY(std::abs(number + 2 * text + 800 - (6375 - 325)) <= 1);
        // A list growing past 999 takes this path without a resize.
        QVERIFY(layout::columnWidths(6375.0f, largest, needs) == (std::array<int, 4>{number, text, text, 800}));
    }

    void minimumSize_data()
    {
        QTest::addColumn<double>("outerW");
        QTest::addColumn<double>("outerH");
        QTest::addColumn<double>("newW"); // 0: unchanged
        QTest::addColumn<double>("newH");
        QTest::newRow("too narrow") << 6000.0 << 5000.0 << 6756.0 << 0.0;
        QTest::newRow("too low") << 8000.0 << 3000.0 << 0.0 << 3492.0;
        QTest::newRow("both") << 100.0 << 100.0 << 6756.0 << 3492.0;
        QTest::newRow("exactly the minimum") << 6756.0 << 3492.0 << 0.0 << 0.0;
    }
    void minimumSize()
    {
        QFETCH(double, outerW);
        QFETCH(double, outerH);
        QFETCH(double, newW);
        QFETCH(double, newH);
        layout::Input in;
        in.outerWidth = outerW;
        in.outerHeight = outerH;
        in.scaleWidth = outerW - 120;
        in.scaleHeight = outerH - 690;
        const auto r = layout::compute(in);
        QCOMPARE(r.newOuterWidth.value_or(0), newW);
        QCOMPARE(r.newOuterHeight.value_or(0), newH);
        if (newW || newH) {
            QVERIFY(!r.complete); // the corrected size lays the window out anew
            QVERIFY(!r.frameTop);
        } else {
            QVERIFY(r.complete);
        }
    }

    void failureEndsThePassAtThatStep_data()
    {
        QTest::addColumn<double>("scaleW");
        QTest::addColumn<double>("scaleH");
        QTest::addColumn<bool>("hasTableHeight");
        QTest::addColumn<bool>("hasTableWidth");
        QTest::addColumn<bool>("hasColumns");
        // Minimised: no client area, the table's height would be negative.
        QTest::newRow("minimised") << 0.0 << 0.0 << false << false << false;
        QTest::newRow("width negative") << 100.0 << 5000.0 << true << false << false;
        QTest::newRow("overflow") << 1e300 << 5000.0 << true << false << false;
        QTest::newRow("not a number") << 7000.0 << std::numeric_limits<double>::quiet_NaN() << false << false << false;
    }
    void failureEndsThePassAtThatStep()
    {
        QFETCH(double, scaleW);
        QFETCH(double, scaleH);
        QFETCH(bool, hasTableHeight);
        QFETCH(bool, hasTableWidth);
        QFETCH(bool, hasColumns);
        layout::Input in;
        in.outerWidth = 8000;
        in.outerHeight = 6000;
        in.scaleWidth = scaleW;
        in.scaleHeight = scaleH;
        const auto r = layout::compute(in);
        QVERIFY(!r.complete);
        QCOMPARE(r.tableHeight.has_value(), hasTableHeight);
        QCOMPARE(r.tableWidth.has_value(), hasTableWidth);
        QCOMPARE(r.colWidth[1].has_value(), hasColumns);
    }

    void windowBesideTheMainWindow_data()
    {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QRect>("place"); // 600 x 540 wanted, 320 wide at least, on a 1920 x 1080 screen
        QTest::newRow("room on the right") << QRect(100, 200, 450, 380) << QRect(550, 200, 600, 540);
        QTest::newRow("just room on the right") << QRect(720, 100, 600, 380) << QRect(1320, 100, 600, 540);
        QTest::newRow("room only on the left") << QRect(1300, 100, 450, 380) << QRect(700, 100, 600, 540);
        QTest::newRow("neither side: below") << QRect(500, 0, 900, 380) << QRect(800, 380, 600, 540);
        QTest::newRow("neither side nor below: above") << QRect(500, 540, 900, 540) << QRect(800, 0, 600, 540);
        QTest::newRow("nowhere whole: the wider side, narrower")
            << QRect(500, 300, 900, 500) << QRect(1400, 300, 520, 540);
        QTest::newRow("the left is wider") << QRect(580, 300, 900, 500) << QRect(0, 300, 580, 540);
        QTest::newRow("low on the screen: its bottom stays on it")
            << QRect(100, 900, 450, 180) << QRect(550, 540, 600, 540);
        QTest::newRow("no room beside it at all: at the screen's right edge")
            << QRect(0, 0, 1800, 1000) << QRect(1320, 0, 600, 540);
    }
    void windowBesideTheMainWindow()
    {
        QFETCH(QRect, main);
        QFETCH(QRect, place);
        QCOMPARE(windowBeside(main, QSize(600, 540), QRect(0, 0, 1920, 1080), 320), place);
        // Beside it means over none of it, where there is room at all.
        if (QByteArrayView(QTest::currentDataTag()) != "no room beside it at all: at the screen's right edge")
            QVERIFY(!place.intersects(main));
    }

    void rememberedPlace_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");    // null: the first place (centred)
        const QRect left(0, 0, 1920, 1040);     // a taskbar below
        const QRect right(1920, 0, 1280, 1024); // a second screen to its right
        const QRect window(300, 200, 450, 380);
        QTest::newRow("nothing saved") << QRect() << QList<QRect>{left} << QRect();
        QTest::newRow("on the screen") << window << QList<QRect>{left} << window;
        QTest::newRow("on the second screen")
            << window.translated(1920, 0) << QList<QRect>{left, right} << window.translated(1920, 0);
        QTest::newRow("the second screen is gone") << window.translated(1920, 0) << QList<QRect>{left} << QRect();
        QTest::newRow("over the edge: moved back")
            << QRect(1600, 800, 450, 380) << QList<QRect>{left} << QRect(1470, 660, 450, 380);
        QTest::newRow("across two screens: onto the one with its middle")
            << QRect(1800, 100, 450, 380) << QList<QRect>{left, right} << QRect(1920, 100, 450, 380);
        QTest::newRow("larger than the screen now") << QRect(0, 0, 1900, 1100) << QList<QRect>{left} << QRect();
        QTest::newRow("no screen") << window << QList<QRect>{} << QRect();
        QTest::newRow("an empty rectangle") << QRect(300, 200, 0, 380) << QList<QRect>{left} << QRect();
    }
    void rememberedPlace()
    {
        QFETCH(QRect, saved);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        const std::optional<QRect> r = windowplace::restored(saved, screens);
        QCOMPARE(r.value_or(QRect()), expected);
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
