// The Edit menu's row commands on a document with a scripted desktop.
#include "FakeDesktop.h"
#include "app/Commands.h"
#include "document/TableRoutines.h"
#include "edit/RowCommands.h"
#include "edit/RowText.h"
#include "table/RowNumbers.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(Command)

namespace {

// Tag i holds "Ti", "xi", "i".
void addNumberedTags(TestDoc &t, int n)
{
    std::vector<std::array<QString, 3>> tags;
    for (int i = 1; i <= n; ++i)
        tags.push_back({QStringLiteral("T%1").arg(i), QStringLiteral("x%1").arg(i), QString::number(i)});
    t.addTags(tags);
}

// Fills a list quickly: n tags "Ti", "", "1", numbered, cursor on the entry row.
void fillTags(TestDoc &t, int n)
{
    TagGrid &g = t.doc.grid;
    g.setRows(n + 2);
    for (int r = 1; r <= n; ++r) {
        g.setTextAt(r, 1, QStringLiteral("T%1").arg(r));
        g.setTextAt(r, 3, QStringLiteral("1"));
    }
    g.setRow(n + 1);
    NumreraRader(t.doc);
    MarkeraRader(t.doc);
    HamtaRad(t.doc);
}

void select(TestDoc &t, int row, int rowSel)
{
    t.doc.grid.setRow(row);
    MarkeraRader(t.doc);
    t.doc.grid.setRowSel(rowSel);
}

// Columns 1..3 of rows 1..Rows-1 as "a|b|c"; the last one is the entry row.
QStringList tags(const TestDoc &t)
{
    QStringList out;
    for (int r = 1; r < t.doc.grid.rows(); ++r)
        out << t.doc.grid.textAt(r, 1) + QLatin1Char('|') + t.doc.grid.textAt(r, 2) + QLatin1Char('|') +
                   t.doc.grid.textAt(r, 3);
    return out;
}

QStringList numberedTags(const QList<int> &order)
{
    QStringList out;
    for (int i : order)
        out << (i ? QStringLiteral("T%1|x%1|%1").arg(i) : QStringLiteral("||"));
    return out;
}

QStringList fields(const TestDoc &t)
{
    return {t.fields.values[0], t.fields.values[1], t.fields.values[2]};
}

// The shape every changing command leaves: numbered 1..Rows-1, an empty
// entry row, whole-tag selection, the cursor row in the fields.
void verifyResting(const TestDoc &t)
{
    const TagGrid &g = t.doc.grid;
    for (int r = 1; r < g.rows(); ++r)
        QCOMPARE(g.textAt(r, 0), QString::number(r));
    QCOMPARE(tags(t).constLast(), QStringLiteral("||"));
    QCOMPARE(g.col(), 1);
    QCOMPARE(g.colSel(), 3);
    QCOMPARE(fields(t), (QStringList{g.textAt(g.row(), 1), g.textAt(g.row(), 2), g.textAt(g.row(), 3)}));
    QCOMPARE(t.fields.focus, int(EditorFields::Rad1));
}

// Delete exactly as first described: one row at a time, renumbering,
// reselecting and reloading after each. The batch must end the same way.
void referenceDelete(Document &doc)
{
    TagGrid &g = doc.grid;
    if (g.row() >= g.rows() - 1)
        return;
    const qint16 a = toRowIndex(g.row()), b = toRowIndex(g.rowSel());
    for (int k = a; k <= b; ++k) {
        if (g.row() < g.rows() - 1) {
            g.deleteRows(g.row(), 1);
            NumreraRader(doc);
            MarkeraRader(doc);
            HamtaRad(doc);
            doc.markChanged();
        }
    }
}

QString gridState(const TestDoc &t)
{
    const TagGrid &g = t.doc.grid;
    QStringList s;
    for (int r = 0; r < g.rows(); ++r)
        s << t.rowText(r) + QStringLiteral("@%1").arg(g.rowHeight(r));
    s << QStringLiteral("cursor %1,%2 sel %3,%4 top %5")
             .arg(g.row())
             .arg(g.col())
             .arg(g.rowSel())
             .arg(g.colSel())
             .arg(g.topRow());
    s << fields(t) << QString::number(t.fields.focus) << QString::number(t.doc.Andrad());
    return s.join(QLatin1Char('\n'));
}

const QString kDiskFull = QStringLiteral("Listan rymmer högst 32765 brickor.");
const QString kFullTitle = QStringLiteral("För många brickor");
} // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
private slots:
    void insertRow_data();
    void insertRow();
    void copy_data();
    void copy();
    void deleteRows_data();
    void deleteRows();
    void deleteNothing_data();
    void deleteNothing();
    void deleteMatchesRowByRow_data();
    void deleteMatchesRowByRow();
    void cut_data();
    void cut();
    void upwardSelection_data();
    void upwardSelection();
    void paste_data();
    void paste();
    void pasteWithoutText();
    void pasteLeavesOutTooLongLines_data();
    void pasteLeavesOutTooLongLines();
    void pastedRowsGetHeaderHeight();
    void listLimit_data();
    void listLimit();
};

void TestEditCommands::insertRow_data()
{
    QTest::addColumn<int>("tagCount");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rowSel");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("cursor");

    QTest::newRow("empty list") << 0 << 1 << 1 << numberedTags({0, 0}) << 2;
    QTest::newRow("first row") << 3 << 1 << 1 << numberedTags({0, 1, 2, 3, 0}) << 2;
    QTest::newRow("middle row") << 3 << 2 << 2 << numberedTags({1, 0, 2, 3, 0}) << 3;
    QTest::newRow("entry row") << 3 << 4 << 4 << numberedTags({1, 2, 3, 0, 0}) << 5;
    QTest::newRow("selection collapses") << 4 << 2 << 4 << numberedTags({1, 0, 2, 3, 4, 0}) << 3;
    QTest::newRow("upward selection") << 4 << 4 << 2 << numberedTags({1, 2, 3, 0, 4, 0}) << 5;
}

void TestEditCommands::insertRow()
{
    QFETCH(int, tagCount);
    QFETCH(int, row);
    QFETCH(int, rowSel);
    QFETCH(QStringList, expected);
    QFETCH(int, cursor);

    TestDoc t;
    addNumberedTags(t, tagCount);
    select(t, row, rowSel);
    t.doc.grid.setRowHeight(0, 300);
    runCommand(t.doc, Command::InsertRow);

    QCOMPARE(tags(t), expected);
    QCOMPARE(t.doc.grid.row(), cursor);
    QCOMPARE(t.doc.grid.rowSel(), cursor);
    QCOMPARE(t.doc.grid.rowHeight(cursor - 1), 300);
    verifyResting(t);
    QVERIFY(t.doc.Andrad());
    QVERIFY(t.desktop.messages.empty());
}

void TestEditCommands::copy_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rowSel");
    QTest::addColumn<QString>("text");

    QTest::newRow("two rows") << 2 << 3 << QStringLiteral("A\t\t1\r\nB\tx\t2\r\n");
    QTest::newRow("dragged upwards") << 3 << 2 << QStringLiteral("A\t\t1\r\nB\tx\t2\r\n");
    QTest::newRow("one row as stored") << 1 << 1 << QStringLiteral(" q \t\"r\"\t 5 \r\n");
    QTest::newRow("entry row alone") << 4 << 4 << QStringLiteral("\t\t\r\n");
    QTest::newRow("through entry row") << 3 << 4 << QStringLiteral("B\tx\t2\r\n\t\t\r\n");
    QTest::newRow("everything") << 1 << 4 << QStringLiteral(" q \t\"r\"\t 5 \r\nA\t\t1\r\nB\tx\t2\r\n\t\t\r\n");
}

void TestEditCommands::copy()
{
    QFETCH(int, row);
    QFETCH(int, rowSel);
    QFETCH(QString, text);

    for (const bool changed : {false, true}) {
        TestDoc t;
        t.addTags({{QStringLiteral(" q "), QStringLiteral("\"r\""), QStringLiteral(" 5 ")},
                   {QStringLiteral("A"), QString(), QStringLiteral("1")},
                   {QStringLiteral("B"), QStringLiteral("x"), QStringLiteral("2")}});
        select(t, row, rowSel);
        if (changed)
            t.doc.markChanged();
        t.fields.set(QStringLiteral("typed"), QString(), QStringLiteral("9"));
        t.desktop.clipboard = QStringLiteral("old");
        const QStringList before = tags(t);

        runCommand(t.doc, Command::Copy);

        QCOMPARE(t.desktop.clipboard, std::optional<QString>(text));
        // The HTML table beside it holds the same rows.
        QCOMPARE(t.desktop.clipboardHtml.count(QStringLiteral("<tr>")), text.count(QStringLiteral("\r\n")));
        QCOMPARE(t.desktop.clipboardClears, 1);
        QCOMPARE(tags(t), before);
        QCOMPARE(t.doc.grid.row(), row);
        QCOMPARE(t.doc.grid.rowSel(), rowSel);
        QCOMPARE(t.doc.grid.col(), 1);
        QCOMPARE(t.doc.grid.colSel(), 3);
        QCOMPARE(t.doc.Andrad(), changed);
        QCOMPARE(fields(t), (QStringList{QStringLiteral("typed"), QString(), QStringLiteral("9")}));
        QVERIFY(t.desktop.messages.empty());
    }
}

void TestEditCommands::deleteRows_data()
{
    QTest::addColumn<int>("tagCount");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rowSel");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("cursor");

    QTest::newRow("rows 2..4 of 5") << 5 << 2 << 4 << numberedTags({1, 5, 0}) << 2;
    QTest::newRow("one row") << 3 << 2 << 2 << numberedTags({1, 3, 0}) << 2;
    QTest::newRow("first row") << 3 << 1 << 1 << numberedTags({2, 3, 0}) << 1;
    QTest::newRow("last data row") << 3 << 3 << 3 << numberedTags({1, 2, 0}) << 3;
    QTest::newRow("last data row and entry row") << 3 << 3 << 4 << numberedTags({1, 2, 0}) << 3;
    QTest::newRow("all through entry row") << 4 << 1 << 5 << numberedTags({0}) << 1;
    QTest::newRow("only tag") << 1 << 1 << 1 << numberedTags({0}) << 1;
}

void TestEditCommands::deleteRows()
{
    QFETCH(int, tagCount);
    QFETCH(int, row);
    QFETCH(int, rowSel);
    QFETCH(QStringList, expected);
    QFETCH(int, cursor);

    TestDoc t;
    addNumberedTags(t, tagCount);
    select(t, row, rowSel);
    runCommand(t.doc, Command::Delete);

    QCOMPARE(tags(t), expected);
    QCOMPARE(t.doc.grid.row(), cursor);
    QCOMPARE(t.doc.grid.rowSel(), cursor);
    verifyResting(t);
    QVERIFY(t.doc.Andrad());
    QVERIFY(t.desktop.messages.empty());
    QCOMPARE(t.desktop.clipboardClears, 0);
}

void TestEditCommands::deleteNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rowSel");
    QTest::newRow("entry row") << 4 << 4;
}

void TestEditCommands::deleteNothing()
{
    QFETCH(int, row);
    QFETCH(int, rowSel);
    TestDoc t;
    addNumberedTags(t, 3);
    select(t, row, rowSel);
    t.fields.set(QStringLiteral("typed"), QString(), QString());
    const QString before = gridState(t);
    runCommand(t.doc, Command::Delete);
    QCOMPARE(gridState(t), before);
    QVERIFY(!t.doc.Andrad());
    QVERIFY(t.desktop.messages.empty());
}

void TestEditCommands::deleteMatchesRowByRow_data()
{
    // Scrolling is part of the result: HamtaRad runs after every removal in
    // the row-by-row form.
    QTest::addColumn<int>("tagCount");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rowSel");
    QTest::addColumn<int>("visibleRows");
    QTest::addColumn<int>("topRow");

    QTest::newRow("all shown") << 6 << 2 << 4 << 100 << 1;
    QTest::newRow("cursor above shown rows") << 40 << 3 << 10 << 10 << 20;
    QTest::newRow("cursor below shown rows") << 40 << 25 << 30 << 10 << 1;
    QTest::newRow("block near end, scrolled to end") << 40 << 30 << 40 << 10 << 32;
    QTest::newRow("through entry row, scrolled") << 40 << 35 << 41 << 5 << 37;
    QTest::newRow("all rows, scrolled") << 40 << 1 << 41 << 7 << 30;
    QTest::newRow("shown block") << 40 << 12 << 14 << 10 << 10;
    QTest::newRow("one row shown") << 40 << 12 << 18 << 1 << 12;
}

void TestEditCommands::deleteMatchesRowByRow()
{
    QFETCH(int, tagCount);
    QFETCH(int, row);
    QFETCH(int, rowSel);
    QFETCH(int, visibleRows);
    QFETCH(int, topRow);

    TestDoc batch, reference;
    for (TestDoc *t : {&batch, &reference}) {
        addNumberedTags(*t, tagCount);
        t->doc.grid.setRowHeight(row, 500);
        t->doc.grid.setVisibleRowCount(visibleRows);
        t->doc.grid.setTopRow(topRow);
        select(*t, row, rowSel);
        t->fields.focus = -1;
    }
    runCommand(batch.doc, Command::Delete);
    referenceDelete(reference.doc);
    QCOMPARE(gridState(batch), gridState(reference));
}

void TestEditCommands::cut_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rowSel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<bool>("changed");

    QTest::newRow("rows 2 and 3") << 2 << 3 << QStringLiteral("T2\tx2\t2\r\nT3\tx3\t3\r\n") << numberedTags({1, 4, 0})
                                  << 2 << true;
    QTest::newRow("last row and entry row")
        << 4 << 5 << QStringLiteral("T4\tx4\t4\r\n\t\t\r\n") << numberedTags({1, 2, 3, 0}) << 4 << true;
    QTest::newRow("entry row only") << 5 << 5 << QStringLiteral("\t\t\r\n") << numberedTags({1, 2, 3, 4, 0}) << 5
                                    << false;
}

void TestEditCommands::cut()
{
    QFETCH(int, row);
    QFETCH(int, rowSel);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QFETCH(int, cursor);
    QFETCH(bool, changed);

    TestDoc t;
    addNumberedTags(t, 4);
    select(t, row, rowSel);
    runCommand(t.doc, Command::Cut);

    QCOMPARE(t.desktop.clipboard, std::optional<QString>(text));
    QCOMPARE(tags(t), expected);
    QCOMPARE(t.doc.grid.row(), cursor);
    QCOMPARE(t.doc.Andrad(), changed);
    QVERIFY(t.desktop.messages.empty());
}

void TestEditCommands::upwardSelection_data()
{
    QTest::addColumn<Command>("entry");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");

    const struct {
        const char *name;
        Command entry;
    } commands[] = {{"copy", Command::Copy}, {"cut", Command::Cut}, {"delete", Command::Delete}};
    const struct {
        const char *name;
        int top, bottom;
    } ranges[] = {{"rows 2..4", 2, 4}, {"rows 1..6", 1, 6}, {"row 5 to entry row", 5, 7}, {"all", 1, 7}};
    for (const auto &c : commands)
        for (const auto &r : ranges)
            QTest::addRow("%s %s", c.name, r.name) << c.entry << r.top << r.bottom;
}

void TestEditCommands::upwardSelection()
{
    QFETCH(Command, entry);
    QFETCH(int, top);
    QFETCH(int, bottom);

    TestDoc down, up;
    addNumberedTags(down, 6);
    addNumberedTags(up, 6);
    select(down, top, bottom);
    select(up, bottom, top);
    runCommand(down.doc, entry);
    runCommand(up.doc, entry);

    QVERIFY(down.desktop.clipboard != std::optional<QString>(QString()));
    QCOMPARE(up.desktop.clipboard, down.desktop.clipboard);
    QCOMPARE(tags(up), tags(down));
    QCOMPARE(fields(up), fields(down));
    QCOMPARE(up.doc.Andrad(), down.doc.Andrad());
    if (entry == Command::Copy) {
        // Copy puts back the selection it found.
        QCOMPARE(up.doc.grid.row(), bottom);
        QCOMPARE(up.doc.grid.rowSel(), top);
    } else {
        QCOMPARE(up.doc.grid.row(), down.doc.grid.row());
        QCOMPARE(up.doc.grid.rowSel(), down.doc.grid.rowSel());
        QCOMPARE(up.doc.grid.topRow(), down.doc.grid.topRow());
    }
}

void TestEditCommands::paste_data()
{
    QTest::addColumn<int>("tagCount");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("cursor");

    const QString two = QStringLiteral("A\t\t1\r\nB\tx\t2\r\n");
    QTest::newRow("two rows above row 5")
        << 6 << 5 << two
        << (numberedTags({1, 2, 3, 4}) + QStringList{QStringLiteral("A||1"), QStringLiteral("B|x|2")} +
            numberedTags({5, 6, 0}))
        << 7;
    QTest::newRow("onto the entry row") << 2 << 3 << two
                                        << (numberedTags({1, 2}) + QStringList{QStringLiteral("A||1"),
                                                                               QStringLiteral("B|x|2"),
                                                                               QStringLiteral("||")})
                                        << 5;
    QTest::newRow("into an empty list") << 0 << 1 << QStringLiteral("Ett\tTvå\t3\r\n")
                                        << QStringList{QStringLiteral("Ett|Två|3"), QStringLiteral("||")} << 2;
    QTest::newRow("first row") << 2 << 1 << QStringLiteral("x\t\t3 st\r")
                               << (QStringList{QStringLiteral("x||3 st")} + numberedTags({1, 2, 0})) << 2;
    QTest::newRow("skipped lines") << 2 << 2
                                   << QStringLiteral("\t\t5\r\nx\t\t0\r\nx\t\t-1\r\na\tb\r\na\tb\t2\textra\r\n")
                                   << (numberedTags({1}) + QStringList{QStringLiteral("a|b|2")} + numberedTags({2, 0}))
                                   << 3;
    QTest::newRow("line without line end")
        << 2 << 2 << QStringLiteral("Ett\tTvå\t3")
        << (numberedTags({1}) + QStringList{QStringLiteral("Ett|Två|3")} + numberedTags({2, 0})) << 3;
    QTest::newRow("lines ended by LF, header row")
        << 2 << 2 << QStringLiteral("Textrad 1\tTextrad 2\tAntal\na\tb\t1\n\nc\td\t2\n")
        << (numberedTags({1}) + QStringList{QStringLiteral("a|b|1"), QStringLiteral("c|d|2")} + numberedTags({2, 0}))
        << 4;
    // Nothing goes in, yet the list counts as changed, as with any text.
    QTest::newRow("no line taken") << 2 << 2 << QStringLiteral("Textrad 1\tTextrad 2\tAntal\n\t\t\n")
                                   << numberedTags({1, 2, 0}) << 2;
    QTest::newRow("empty text") << 2 << 2 << QString() << numberedTags({1, 2, 0}) << 2;
}

void TestEditCommands::paste()
{
    QFETCH(int, tagCount);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QFETCH(int, cursor);

    TestDoc t;
    addNumberedTags(t, tagCount);
    // A wider selection and stale field texts show that Paste reselects and
    // reloads even when nothing goes in.
    select(t, row, 1);
    t.fields.set(QStringLiteral("stale"), QStringLiteral("stale"), QStringLiteral("stale"));
    t.desktop.clipboard = text;
    runCommand(t.doc, Command::Paste);

    QCOMPARE(tags(t), expected);
    QCOMPARE(t.doc.grid.row(), cursor);
    QCOMPARE(t.doc.grid.rowSel(), cursor);
    verifyResting(t);
    QVERIFY(t.doc.Andrad());
    QVERIFY(t.desktop.messages.empty());
    QCOMPARE(t.desktop.clipboard, std::optional<QString>(text));
}

void TestEditCommands::pasteWithoutText()
{
    TestDoc t;
    addNumberedTags(t, 3);
    select(t, 2, 3);
    t.fields.set(QStringLiteral("typed"), QString(), QString());
    t.desktop.clipboard.reset();
    const QString before = gridState(t);
    runCommand(t.doc, Command::Paste);
    QCOMPARE(gridState(t), before);
    QVERIFY(!t.doc.Andrad());
    QVERIFY(t.desktop.messages.empty());
}

void TestEditCommands::pasteLeavesOutTooLongLines_data()
{
    QTest::addColumn<int>("longLines");
    QTest::addColumn<QString>("prompt");

    const QString start = QStringLiteral("Rader med för lång text klistrades inte in: ");
    QTest::newRow("none") << 0 << QString();
    QTest::newRow("one") << 1 << start + QStringLiteral("2.");
    QTest::newRow("twenty") << 20
                            << start + QStringLiteral("2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34, "
                                                      "36, 38, 40.");
    QTest::newRow("twenty-one, cut") << 21
                                     << start + QStringLiteral("2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, "
                                                               "30, 32, 34, 36, 38, 40, ...");
}

void TestEditCommands::pasteLeavesOutTooLongLines()
{
    QFETCH(int, longLines);
    QFETCH(QString, prompt);

    // Good lines and lines one character over the limit, alternating.
    const QString over(kMaxTextLength + 1, QLatin1Char('x'));
    QString text;
    QStringList good;
    for (int i = 1; i <= longLines + 1; ++i) {
        text += QStringLiteral("G%1\t\t%1\n").arg(i);
        good << QStringLiteral("G%1||%1").arg(i);
        if (i <= longLines)
            text += QStringLiteral("t\t") + over + QStringLiteral("\t1\n");
    }
    TestDoc t;
    addNumberedTags(t, 1);
    select(t, 1, 1);
    t.desktop.clipboard = text;
    runCommand(t.doc, Command::Paste);

    QCOMPARE(tags(t), good + numberedTags({1, 0}));
    verifyResting(t);
    QVERIFY(t.doc.Andrad());
    if (prompt.isEmpty()) {
        QVERIFY(t.desktop.messages.empty());
        return;
    }
    QCOMPARE(t.desktop.messages.size(), size_t(1));
    const FakeDesktop::Message &m = t.desktop.messages.front();
    QCOMPARE(m.prompt, prompt);
    QCOMPARE(m.title, QStringLiteral("Klistra in"));
    QCOMPARE(m.icon, Desktop::Icon::Warning);
    QCOMPARE(m.buttons, Desktop::Buttons::Ok);
}

void TestEditCommands::pastedRowsGetHeaderHeight()
{
    TestDoc t;
    addNumberedTags(t, 2);
    t.doc.grid.setRowHeight(0, 345);
    select(t, 2, 2);
    t.desktop.clipboard = QStringLiteral("A\t\t1\r\nB\t\t2\r\n");
    runCommand(t.doc, Command::Paste);
    QCOMPARE(t.doc.grid.rowHeight(2), 345);
    QCOMPARE(t.doc.grid.rowHeight(3), 345);
    QCOMPARE(t.doc.grid.rowHeight(4), TagGrid::DefaultRowHeight);
}

void TestEditCommands::listLimit_data()
{
    QTest::addColumn<int>("tagCount");
    QTest::addColumn<Command>("entry");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("expectedTags");
    QTest::addColumn<bool>("warned");

    const int max = kMaxTags;
    const QString three = QStringLiteral("A\t\t1\r\nB\t\t2\r\nC\t\t3\r\n");
    QTest::newRow("insert into full list") << max << Command::InsertRow << QString() << max << true;
    QTest::newRow("insert the last tag") << max - 1 << Command::InsertRow << QString() << max << false;
    QTest::newRow("paste more than fits") << max - 2 << Command::Paste << three << max << true;
    QTest::newRow("paste exactly what fits") << max - 3 << Command::Paste << three << max << false;
    QTest::newRow("paste into full list") << max << Command::Paste << three << max << true;
    QTest::newRow("paste only skipped lines into full list")
        << max << Command::Paste << QStringLiteral("A\t\t0\r\n\t\t1\r\n") << max << false;
}

void TestEditCommands::listLimit()
{
    QFETCH(int, tagCount);
    QFETCH(Command, entry);
    QFETCH(QString, clipboard);
    QFETCH(int, expectedTags);
    QFETCH(bool, warned);

    TestDoc t;
    fillTags(t, tagCount);
    select(t, 2, 2);
    t.desktop.clipboard = clipboard;
    const QString before = gridState(t);
    runCommand(t.doc, entry);

    QCOMPARE(t.doc.grid.rows() - 2, expectedTags);
    QCOMPARE(t.desktop.messages.size(), size_t(warned ? 1 : 0));
    if (warned) {
        const FakeDesktop::Message &m = t.desktop.messages.front();
        QCOMPARE(m.prompt, kDiskFull);
        QCOMPARE(m.title, kFullTitle);
        QCOMPARE(m.icon, Desktop::Icon::Warning);
        QCOMPARE(m.buttons, Desktop::Buttons::Ok);
    }
    if (entry == Command::InsertRow && warned) {
        // A refused insert changes nothing at all.
        QCOMPARE(gridState(t), before);
        QVERIFY(!t.doc.Andrad());
        return;
    }
    // Whatever fitted went in above the cursor's tag, in the text's order.
    const int inserted = expectedTags - tagCount;
    const QStringList pasted{QStringLiteral("A||1"), QStringLiteral("B||2"), QStringLiteral("C||3")};
    for (int i = 0; i < inserted && entry == Command::Paste; ++i)
        QCOMPARE(tags(t).at(1 + i), pasted.at(i));
    QCOMPARE(t.doc.grid.textAt(t.doc.grid.row(), 1), QStringLiteral("T2"));
    QCOMPARE(t.doc.grid.row(), 2 + inserted);
    verifyResting(t);
    QVERIFY(t.doc.Andrad());
}

QTEST_GUILESS_MAIN(TestEditCommands)
#include "test_edit_commands.moc"
