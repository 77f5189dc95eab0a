#include "document/History.h"

#include "table/TagGrid.h"

GridSelection GridSelection::of(const TagGrid &g)
{
    return {g.row(), g.col(), g.rowSel(), g.colSel()};
}

void GridSelection::applyTo(TagGrid &g) const
{
    g.setRow(row);
    g.setCol(col);
    g.setRowSel(rowSel);
    g.setColSel(colSel);
}

qint64 History::bytesOf(const ListChange &change)
{
    // The text, and what each cell and row costs on the heap besides (a
    // list of short texts takes several times its characters).
    constexpr qint64 kCell = 32, kRow = 64;
    qint64 bytes = 0;
    for (const auto *rows : {&change.removed, &change.inserted})
        for (const QStringList &row : *rows) {
            bytes += kRow;
            for (const QString &cell : row)
                bytes += 2 * cell.size() + kCell;
        }
    return bytes;
}

void History::record(ListChange change)
{
    while (canRedo()) {
        m_bytes -= bytesOf(m_steps.back());
        m_steps.pop_back();
    }
    m_bytes += bytesOf(change);
    m_steps.push_back(std::move(change));
    m_done = m_steps.size();
    while (!m_steps.empty() && (steps() > kMaxSteps || m_bytes > kMaxBytes))
        dropOldest();
}

void History::dropOldest()
{
    m_bytes -= bytesOf(m_steps.front());
    m_steps.pop_front();
    if (m_done > 0)
        --m_done;
}

void History::clear()
{
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
}

const ListChange *History::undo(TagGrid &g)
{
    if (!canUndo())
        return nullptr;
    const ListChange &c = m_steps[--m_done];
    g.deleteRows(c.index, static_cast<int>(c.inserted.size()));
    g.insertRows(c.index, c.removed);
    return &c;
}

const ListChange *History::redo(TagGrid &g)
{
    if (!canRedo())
        return nullptr;
    const ListChange &c = m_steps[m_done++];
    g.deleteRows(c.index, static_cast<int>(c.removed.size()));
    g.insertRows(c.index, c.inserted);
    return &c;
}
