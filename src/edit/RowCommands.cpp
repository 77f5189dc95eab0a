#include "edit/RowCommands.h"

#include "document/Document.h"
#include "document/TableRoutines.h"
#include "edit/RowText.h"
#include "table/RowNumbers.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

struct RowRange {
    qint16 first, last;
};

// The selected rows, read once. Taken from the upper to the lower of Row and
// RowSel, so a selection dragged upwards covers the same rows as one dragged
// downwards. The commands that move the cursor keep it off the header row.
RowRange selectedRows(const TagGrid &g)
{
    const qint16 a = toRowIndex(g.row());
    const qint16 b = toRowIndex(g.rowSel());
    return {std::min(a, b), std::max(a, b)};
}

// Ends every command that changed rows, and records the change: the rows
// inserted are taken once numbered, so the list and its history share them.
void afterRowsChanged(Document &doc, ListChange change, int insertedCount)
{
    TagGrid &g = doc.grid;
    NumreraRader(doc);
    MarkeraRader(doc);
    HamtaRad(doc);
    doc.markChanged();
    if (change.removed.empty() && insertedCount == 0)
        return;
    change.inserted = g.rowsAt(change.index, insertedCount);
    change.after = GridSelection::of(g);
    doc.history.record(std::move(change));
}

ListChange changeAt(const TagGrid &g, int index)
{
    ListChange change;
    change.index = index;
    change.before = GridSelection::of(g);
    return change;
}

// Ångra and Gör om end like a click on the row the cursor was on.
void restore(Document &doc, const ListChange *change, bool undone)
{
    if (!change)
        return;
    NumreraRader(doc);
    (undone ? change->before : change->after).applyTo(doc.grid);
    grdGrid_Click(doc);
    doc.markChanged();
}

} // namespace

void insertRow(Document &doc)
{
    TagGrid &g = doc.grid;
    if (g.rows() >= kMaxRows) {
        doc.warnListFull();
        return;
    }
    const int r = g.row();
    ListChange change = changeAt(g, r);
    g.addItem(rowNumberText(r) + QLatin1String("\t\t\t"), r);
    g.setRowHeight(r, g.rowHeight(0));
    // Back onto the tag that was current, now one row further down.
    g.setRow(r + 1);
    afterRowsChanged(doc, std::move(change), 1);
}

void pasteRows(Document &doc)
{
    if (!doc.desktop.clipboardHasText())
        return;
    const QString text = doc.desktop.clipboardText();
    TagGrid &g = doc.grid;
    const int room = std::max(0, kMaxRows - g.rows());
    const ParsedRows parsed = parseRowText(text, room);

    // All accepted lines go in at once above the cursor's tag, in the text's
    // order; the cursor stays on that tag. The rows are made blank and then
    // filled, so each row's cell list is allocated once, inside the grid.
    ListChange change = changeAt(g, g.row());
    int count = 0;
    if (!parsed.rows.empty()) {
        const int r0 = g.row();
        count = static_cast<int>(parsed.rows.size());
        g.insertRows(r0, std::vector<QStringList>(parsed.rows.size()));
        const int height = g.rowHeight(0);
        for (int i = 0; i < count; ++i) {
            const auto &f = parsed.rows[static_cast<size_t>(i)];
            const int r = r0 + i;
            g.setTextAt(r, 0, rowNumberText(r));
            g.setTextAt(r, 1, f[0]);
            g.setTextAt(r, 2, f[1]);
            g.setTextAt(r, 3, f[2]);
            g.setRowHeight(r, height);
        }
        g.setRow(r0 + count);
    }
    afterRowsChanged(doc, std::move(change), count);
    if (parsed.truncated)
        doc.warnListFull();
    if (!parsed.tooLong.isEmpty())
        doc.desktop.messageBox(QStringLiteral("Rader med för lång text klistrades inte in: ") +
                                   Document::rowList(parsed.tooLong),
                               QStringLiteral("Klistra in"), Desktop::Icon::Warning);
}

void KopieraRader(Document &doc)
{
    TagGrid &g = doc.grid;
    const int row = g.row();
    const int rowSel = g.rowSel();
    const RowRange range = selectedRows(g);
    doc.desktop.clearClipboard();
    doc.desktop.setClipboard(rowText(g, range.first, range.last), rowHtml(g, range.first, range.last));
    g.setRow(row);
    g.setCol(1);
    g.setRowSel(rowSel);
    g.setColSel(3);
}

void TaBortRader(Document &doc)
{
    TagGrid &g = doc.grid;
    const RowRange range = selectedRows(g);
    const int entryRow = g.rows() - 1;
    if (range.first >= entryRow || range.last < range.first)
        return;
    // The entry row stays, so the range stops at the last data row. Removing
    // the block at once leaves what removing it row by row, renumbering each
    // time, would leave: the cursor on the row that followed the block.
    const int last = std::min<int>(range.last, entryRow - 1);
    ListChange change = changeAt(g, range.first);
    change.removed = g.rowsAt(range.first, last - range.first + 1);
    g.deleteRows(range.first, last - range.first + 1);
    g.setRow(range.first);
    afterRowsChanged(doc, std::move(change), 0);
}

void undoChange(Document &doc)
{
    restore(doc, doc.history.undo(doc.grid), true);
}

void redoChange(Document &doc)
{
    restore(doc, doc.history.redo(doc.grid), false);
}

void cutRows(Document &doc)
{
    KopieraRader(doc);
    TaBortRader(doc);
}
