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
    qint64 chars = 0;
    for (const auto *rows : {&change.removed, &change.inserted})
        for (const QStringList &row : *rows)
            for (const QString &cell : row)
                chars += cell.size();
    return 2 * chars;
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
