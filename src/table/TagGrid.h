#pragma once

#include <QString>
#include <QStringList>

#include <climits>
#include <stdexcept>
#include <vector>

// The tag table as a plain object: rows of text cells, a cursor (row, col) and
// a selection corner (rowSel, colSel), the first shown row and how many rows
// fit. It is the only store of the list; widgets only show it.
class TagGrid {
public:
    // Raised for values the table cannot take (a TopRow it cannot scroll to,
    // a row or column outside the table).
    class Error : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    enum class Alignment { LeftCenter, RightCenter };
    // Repeat: a write of text() fills the whole selection.
    enum class FillStyle { Single, Repeat };
    static constexpr int DefaultRowHeight = 240; // twips
    static constexpr int DefaultColWidth = 960;  // twips

    TagGrid();

    int rows() const { return static_cast<int>(m_cells.size()); }
    void setRows(int n);
    int cols() const { return m_cols; }
    void setCols(int n);
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int n);
    int fixedCols() const { return m_fixedCols; }
    void setFixedCols(int n);

    // Writing the cursor collapses the selection onto the new cursor cell.
    int row() const { return m_row; }
    void setRow(int r);
    int col() const { return m_col; }
    void setCol(int c);
    // Writing the corner changes the selection only.
    int rowSel() const { return m_rowSel; }
    void setRowSel(int r);
    int colSel() const { return m_colSel; }
    void setColSel(int c);

    void setFillStyle(FillStyle style) { m_fillStyle = style; }

    // Text of the cursor cell; in FillStyle::Repeat a write fills the selection.
    QString text() const;
    void setText(const QString &t);

    // Rows first..first+count-1 as they are, each cols() cells.
    std::vector<QStringList> rowsAt(int first, int count) const;

    // Direct cell access, for the view and for whole-list work done once.
    const QString &textAt(int r, int c) const;
    void setTextAt(int r, int c, const QString &t);

    Alignment colAlignment(int c) const;
    void setColAlignment(int c, Alignment a);
    Alignment headerAlignment(int c) const;
    void setHeaderAlignment(int c, Alignment a);
    int colWidth(int c) const;
    void setColWidth(int c, int w);
    int rowHeight(int r) const;
    void setRowHeight(int r, int h);
    int minimumRowHeight() const { return m_minRowHeight; }
    void setMinimumRowHeight(int h) { m_minRowHeight = h; }

    // Inserts a row at index (or at the end when index == rows()); item holds
    // the cell texts from column 0 on, separated by TAB. The cursor keeps its
    // row index.
    void addItem(const QString &item, int index);
    // Removes count rows from index on in one step (same end state as count
    // single removals with the cursor below or inside the block); the cursor
    // keeps its row index.
    void deleteRows(int index, int count);
    // Inserts whole rows before index in one step; each row is made cols()
    // cells. The rows are moved in, not copied.
    void insertRows(int index, std::vector<QStringList> newRows);
    // Room for n rows, taken now, so that growing to n rows later cannot
    // run out of memory half-way.
    void reserveRows(int n);

    int topRow() const { return m_topRow; }
    // Throws Error for a row it cannot scroll to.
    void setTopRow(int r);
    // How many non-fixed rows the view shows whole; the view tells the grid.
    int visibleRowCount() const { return m_visibleRows; }
    void setVisibleRowCount(int n);
    // The largest TopRow that still fills the view.
    int maxTopRow() const;
    bool isRowVisible(int r) const;

    // Bumped whenever rows are added or removed, so a view can tell a
    // structural change from a change of texts.
    quint64 structureVersion() const { return m_structureVersion; }

private:
    void checkRow(int r) const;
    void checkCol(int c) const;
    void clampAfterShrink();

    std::vector<QStringList> m_cells;
    std::vector<int> m_rowHeights;
    std::vector<Alignment> m_colAlign, m_headerAlign;
    std::vector<int> m_colWidths;
    int m_cols = 0;
    int m_fixedRows = 0, m_fixedCols = 0;
    int m_row = 0, m_col = 0, m_rowSel = 0, m_colSel = 0;
    FillStyle m_fillStyle = FillStyle::Single;
    int m_topRow = 0;
    int m_visibleRows = INT_MAX / 2;
    int m_minRowHeight = 0;
    quint64 m_structureVersion = 0;
};
