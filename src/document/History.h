#pragma once

#include <QStringList>

#include <deque>
#include <vector>

class TagGrid;

// Where the cursor and the selection were, to be put back as they were.
struct GridSelection {
    int row = 1, col = 1, rowSel = 1, colSel = 3;
    bool operator==(const GridSelection &) const = default;
    static GridSelection of(const TagGrid &g);
    void applyTo(TagGrid &g) const;
};

// One change of the list: from row index on, the rows removed were
// replaced by the rows inserted (either may be none). Only what changed is
// kept, never the whole list.
struct ListChange {
    int index = 0;
    std::vector<QStringList> removed, inserted;
    GridSelection before, after;
};

// The changes that Ångra takes back and Gör om makes again. It keeps up to
// kMaxSteps changes and kMaxBytes of text in them; the oldest go first. A
// new change drops those that could be made again.
class History {
public:
    static constexpr int kMaxSteps = 1000;
    static constexpr qint64 kMaxBytes = qint64(64) * 1024 * 1024;

    void record(ListChange change);
    void clear();
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // Puts the rows of the last change back into the grid and gives the
    // selection to restore; nullptr when there is nothing to undo. Row
    // numbers are the caller's to renumber.
    const ListChange *undo(TagGrid &g);
    const ListChange *redo(TagGrid &g);

    int steps() const { return static_cast<int>(m_steps.size()); }
    // Bytes the kept changes hold: two a character, and the cells' and
    // rows' own share of the heap.
    qint64 bytes() const { return m_bytes; }

private:
    static qint64 bytesOf(const ListChange &change);
    void dropOldest();

    std::deque<ListChange> m_steps;
    size_t m_done = 0; // the steps before this one are done; the rest undone
    qint64 m_bytes = 0;
};
