#include "document/TableRoutines.h"

#include "document/Document.h"
#include "table/RowNumbers.h"

#include <algorithm>

void NyLista(Document &doc)
{
    TagGrid &g = doc.grid;
    doc.FilNamn.clear();
    doc.desktop.setCaption(Document::caption(QString()));

    g.setRows(2);
    g.setCols(4);
    g.setFixedRows(1);
    g.setFixedCols(1);

    g.setFillStyle(TagGrid::FillStyle::Repeat);
    g.setText(QString());
    g.setFillStyle(TagGrid::FillStyle::Single);

    static const QString headers[4] = {QString(), QStringLiteral("Rad 1"), QStringLiteral("Rad 2"),
                                       QStringLiteral("Antal")};
    using A = TagGrid::Alignment;
    static const A align[4] = {A::RightCenter, A::LeftCenter, A::LeftCenter, A::RightCenter};
    g.setRow(0);
    for (int c = 0; c < 4; ++c) {
        g.setCol(c);
        g.setColAlignment(c, align[c]);
        g.setHeaderAlignment(c, align[c]);
        g.setText(headers[c]);
    }

    g.setRow(1);
    g.setCol(0);
    g.setText(rowNumberText(g.row()));
    for (int c = 1; c <= 3; ++c) {
        g.setCol(c);
        g.setText(QString());
    }
    HamtaRad(doc);
}

void resetDocument(Document &doc)
{
    doc.lock.release();
    doc.readOnly = false;
    NyLista(doc);
    doc.stamp.reset();
    doc.history.clear();
    doc.markSaved();
}

void fillList(Document &doc, std::vector<std::array<QString, 3>> tags, int cursorRow)
{
    // The rows are built, and the table's room taken, before the table
    // changes: what can run out of memory comes first. The rows are then
    // moved into the table, not copied.
    TagGrid &g = doc.grid;
    const int n = static_cast<int>(tags.size());
    std::vector<QStringList> rows;
    rows.reserve(tags.size());
    for (auto &tag : tags)
        rows.push_back({QString(), std::move(tag[0]), std::move(tag[1]), std::move(tag[2])});
    tags = {};
    g.reserveRows(n + 2);
    // The tags fill rows 1..n and the last row, cleared, becomes the entry row.
    g.setRows(2);
    g.setRow(1);
    for (int c = 1; c <= 3; ++c)
        g.setTextAt(1, c, QString());
    g.insertRows(1, std::move(rows));
    g.setRow(std::clamp(cursorRow, 1, n + 1));
    NumreraRader(doc);
    MarkeraRader(doc);
    HamtaRad(doc);
}

void NumreraRader(Document &doc)
{
    TagGrid &g = doc.grid;
    const qint16 remembered = toRowIndex(g.row());
    g.setCol(0);
    const int last = g.rows() - 1;
    toRowIndex(last + 1); // the counter must be able to step past the last row
    for (int i = 1; i <= last; ++i) {
        // A row that has its number already is left alone: its cells may be
        // shared with Ångra's history, and a write would copy them.
        const QString &number = rowNumberText(i);
        if (g.textAt(i, 0) != number)
            g.setTextAt(i, 0, number);
    }
    g.setRow(remembered);
    g.setCol(1);
}

void MarkeraRader(Document &doc)
{
    TagGrid &g = doc.grid;
    const int remembered = g.rowSel();
    g.setCol(1);
    g.setColSel(3);
    g.setRowSel(remembered);
}

namespace {
// The cursor row's texts into the fields; the cursor and selection stay.
void loadFields(Document &doc)
{
    const TagGrid &g = doc.grid;
    doc.fields.setText(EditorFields::Rad1, g.textAt(g.row(), 1));
    doc.fields.setText(EditorFields::Rad2, g.textAt(g.row(), 2));
    doc.fields.setText(EditorFields::Antal, g.textAt(g.row(), 3));
}

// HamtaRad without the focus change; a keyboard move keeps the focus.
void loadRow(Document &doc)
{
    TagGrid &g = doc.grid;
    const int remembered = g.rowSel();
    g.setCol(1);
    doc.fields.setText(EditorFields::Rad1, g.text());
    g.setCol(2);
    doc.fields.setText(EditorFields::Rad2, g.text());
    g.setCol(3);
    doc.fields.setText(EditorFields::Antal, g.text());
    VisaAktuellRad(doc);
    g.setCol(1);
    g.setColSel(3);
    g.setRowSel(remembered);
}

// Brings one row into view: scrolls up to it directly, or down until it is
// shown whole, as VisaAktuellRad does for the cursor row.
void showRow(TagGrid &g, int row)
{
    try {
        if (row >= g.fixedRows() && row < g.topRow()) {
            g.setTopRow(row);
            return;
        }
        while (!g.isRowVisible(row)) {
            const int before = g.topRow();
            g.setTopRow(before + 1);
            if (g.topRow() == before)
                break;
        }
    } catch (const TagGrid::Error &) {
        // The table could scroll no further; keep what was reached.
    }
}

void focusFirstField(Document &doc)
{
    if (doc.fields.isShown(EditorFields::Rad1))
        doc.fields.setFocus(EditorFields::Rad1);
}
} // namespace

void HamtaRad(Document &doc)
{
    loadRow(doc);
    focusFirstField(doc);
}

void VisaAktuellRad(Document &doc)
{
    // Scrolling down never reaches a row above the first shown one, so such
    // a row is brought into view directly.
    showRow(doc.grid, doc.grid.row());
}

void tablePress(Document &doc, int row, int col, bool extend)
{
    TagGrid &g = doc.grid;
    row = std::clamp(row, g.fixedRows(), g.rows() - 1);
    col = std::clamp(col, 0, g.cols() - 1);
    if (extend) {
        g.setRowSel(row);
        g.setColSel(col);
    } else {
        g.setRow(row);
        g.setCol(col);
    }
}

void tableDrag(Document &doc, int row, int col)
{
    TagGrid &g = doc.grid;
    if (row >= 0)
        g.setRowSel(std::clamp(row, g.fixedRows(), g.rows() - 1));
    if (col >= 0)
        g.setColSel(std::min(col, g.cols() - 1));
}

void grdGrid_Click(Document &doc)
{
    MarkeraRader(doc);
    HamtaRad(doc);
}

void tableKeyPress(Document &doc, TableKey key, bool extend)
{
    TagGrid &g = doc.grid;
    if (key == TableKey::Return) {
        focusFirstField(doc);
        return;
    }
    const int first = g.fixedRows();
    const int last = g.rows() - 1;
    if (last < first)
        return;
    // A widened selection moves its far end; a plain move the cursor.
    const int from = extend ? g.rowSel() : g.row();
    const int page = std::max(1, g.visibleRowCount());
    long long to = from;
    switch (key) {
    case TableKey::Up:
        to = from - 1LL;
        break;
    case TableKey::Down:
        to = from + 1LL;
        break;
    case TableKey::PageUp:
        to = static_cast<long long>(from) - page;
        break;
    case TableKey::PageDown:
        to = static_cast<long long>(from) + page;
        break;
    case TableKey::First:
        to = first;
        break;
    case TableKey::Last:
        to = last;
        break;
    case TableKey::Return:
        break;
    }
    const int target = static_cast<int>(std::clamp<long long>(to, first, last));
    if (extend) {
        // Ends like a click: the fields show the cursor row, while the far
        // end of the selection is the row brought into view.
        g.setRowSel(target);
        MarkeraRader(doc);
        loadFields(doc);
        showRow(g, target);
        return;
    }
    // As a click on the target row, but the focus stays in the table.
    g.setRow(target);
    MarkeraRader(doc);
    loadRow(doc);
}
