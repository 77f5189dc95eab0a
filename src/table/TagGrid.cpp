#include "table/TagGrid.h"

#include <algorithm>

namespace {
const QString kEmpty;

QStringList emptyRow(int cols)
{
    QStringList r;
    r.resize(cols);
    return r;
}
} // namespace

TagGrid::TagGrid()
{
    setCols(2);
    setRows(2);
    m_fixedRows = 1;
    m_fixedCols = 1;
    m_row = m_rowSel = 1;
    m_col = m_colSel = 1;
    m_topRow = 1;
}

void TagGrid::checkRow(int r) const
{
    if (r < 0 || r >= rows())
        throw Error("Ogiltigt radnummer");
}

void TagGrid::checkCol(int c) const
{
    if (c < 0 || c >= m_cols)
        throw Error("Ogiltigt kolumnnummer");
}

void TagGrid::setRows(int n)
{
    if (n < 0)
        throw Error("Ogiltigt antal rader");
    if (n == rows())
        return;
    if (n > rows()) {
        while (rows() < n)
            m_cells.push_back(emptyRow(m_cols));
    } else {
        m_cells.resize(static_cast<size_t>(n));
    }
    m_rowHeights.resize(static_cast<size_t>(n), -1);
    ++m_structureVersion;
    clampAfterShrink();
}

void TagGrid::setCols(int n)
{
    if (n < 0)
        throw Error("Ogiltigt antal kolumner");
    m_cols = n;
    for (auto &r : m_cells)
        r.resize(n);
    m_colAlign.resize(static_cast<size_t>(n), Alignment::LeftCenter);
    m_headerAlign.resize(static_cast<size_t>(n), Alignment::LeftCenter);
    m_colWidths.resize(static_cast<size_t>(n), DefaultColWidth);
    m_col = std::min(m_col, std::max(0, n - 1));
    m_colSel = std::min(m_colSel, std::max(0, n - 1));
    ++m_structureVersion;
}

void TagGrid::setFixedRows(int n)
{
    if (n < 0 || n > rows())
        throw Error("Ogiltigt antal fasta rader");
    m_fixedRows = n;
    m_topRow = std::clamp(m_topRow, m_fixedRows, maxTopRow());
}

void TagGrid::setFixedCols(int n)
{
    if (n < 0 || n > m_cols)
        throw Error("Ogiltigt antal fasta kolumner");
    m_fixedCols = n;
}

void TagGrid::clampAfterShrink()
{
    const int last = std::max(0, rows() - 1);
    m_row = std::min(m_row, last);
    m_rowSel = std::min(m_rowSel, last);
    m_topRow = std::clamp(m_topRow, m_fixedRows, maxTopRow());
}

void TagGrid::setRow(int r)
{
    checkRow(r);
    m_row = m_rowSel = r;
    m_colSel = m_col;
}

void TagGrid::setCol(int c)
{
    checkCol(c);
    m_col = m_colSel = c;
    m_rowSel = m_row;
}

void TagGrid::setRowSel(int r)
{
    checkRow(r);
    m_rowSel = r;
}

void TagGrid::setColSel(int c)
{
    checkCol(c);
    m_colSel = c;
}

QString TagGrid::text() const
{
    return textAt(m_row, m_col);
}

void TagGrid::setText(const QString &t)
{
    if (m_fillStyle != FillStyle::Repeat) {
        setTextAt(m_row, m_col, t);
        return;
    }
    const int r0 = std::min(m_row, m_rowSel), r1 = std::max(m_row, m_rowSel);
    const int c0 = std::min(m_col, m_colSel), c1 = std::max(m_col, m_colSel);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            setTextAt(r, c, t);
}

std::vector<QStringList> TagGrid::rowsAt(int first, int count) const
{
    if (count < 0 || first < 0 || first + count > rows())
        throw Error("Ogiltigt radnummer");
    return {m_cells.begin() + first, m_cells.begin() + first + count};
}

const QString &TagGrid::textAt(int r, int c) const
{
    if (r < 0 || r >= rows() || c < 0 || c >= m_cols)
        return kEmpty;
    return m_cells[static_cast<size_t>(r)][c];
}

void TagGrid::setTextAt(int r, int c, const QString &t)
{
    checkRow(r);
    checkCol(c);
    m_cells[static_cast<size_t>(r)][c] = t;
}

TagGrid::Alignment TagGrid::colAlignment(int c) const
{
    checkCol(c);
    return m_colAlign[static_cast<size_t>(c)];
}

void TagGrid::setColAlignment(int c, Alignment a)
{
    checkCol(c);
    m_colAlign[static_cast<size_t>(c)] = a;
}

TagGrid::Alignment TagGrid::headerAlignment(int c) const
{
    checkCol(c);
    return m_headerAlign[static_cast<size_t>(c)];
}

void TagGrid::setHeaderAlignment(int c, Alignment a)
{
    checkCol(c);
    m_headerAlign[static_cast<size_t>(c)] = a;
}

int TagGrid::colWidth(int c) const
{
    checkCol(c);
    return m_colWidths[static_cast<size_t>(c)];
}

void TagGrid::setColWidth(int c, int w)
{
    checkCol(c);
    if (w < 0)
        throw Error("Ogiltig kolumnbredd");
    m_colWidths[static_cast<size_t>(c)] = w;
}

int TagGrid::rowHeight(int r) const
{
    checkRow(r);
    const int h = m_rowHeights[static_cast<size_t>(r)];
    return std::max(h < 0 ? DefaultRowHeight : h, m_minRowHeight);
}

void TagGrid::setRowHeight(int r, int h)
{
    checkRow(r);
    if (h < 0)
        throw Error("Ogiltig radhöjd");
    m_rowHeights[static_cast<size_t>(r)] = h;
}

void TagGrid::addItem(const QString &item, int index)
{
    if (index < 0 || index > rows())
        throw Error("Ogiltigt radnummer");
    QStringList cells = item.split(QLatin1Char('\t'));
    cells.resize(m_cols);
    m_cells.insert(m_cells.begin() + index, std::move(cells));
    m_rowHeights.insert(m_rowHeights.begin() + index, -1);
    ++m_structureVersion;
}

void TagGrid::insertRows(int index, std::vector<QStringList> newRows)
{
    if (index < 0 || index > rows())
        throw Error("Ogiltigt radnummer");
    if (newRows.empty())
        return;
    auto at = m_cells.insert(m_cells.begin() + index, std::make_move_iterator(newRows.begin()),
                             std::make_move_iterator(newRows.end()));
    for (auto it = at; it != at + static_cast<std::ptrdiff_t>(newRows.size()); ++it)
        if (it->size() != m_cols)
            it->resize(m_cols);
    m_rowHeights.insert(m_rowHeights.begin() + index, newRows.size(), -1);
    ++m_structureVersion;
}

void TagGrid::reserveRows(int n)
{
    m_cells.reserve(static_cast<size_t>(std::max(n, 0)));
    m_rowHeights.reserve(static_cast<size_t>(std::max(n, 0)));
}

void TagGrid::deleteRows(int index, int count)
{
    if (count <= 0)
        return;
    if (index < m_fixedRows || index + count > rows())
        throw Error("Ogiltigt radnummer");
    m_cells.erase(m_cells.begin() + index, m_cells.begin() + index + count);
    m_rowHeights.erase(m_rowHeights.begin() + index, m_rowHeights.begin() + index + count);
    ++m_structureVersion;
    clampAfterShrink();
}

int TagGrid::maxTopRow() const
{
    const long long top = static_cast<long long>(rows()) - m_visibleRows;
    return static_cast<int>(std::max<long long>(m_fixedRows, top));
}

void TagGrid::setTopRow(int r)
{
    if (r < m_fixedRows || r >= rows())
        throw Error("Kan inte rulla till raden");
    m_topRow = std::min(r, maxTopRow());
}

void TagGrid::setVisibleRowCount(int n)
{
    m_visibleRows = std::max(0, n);
    m_topRow = std::clamp(m_topRow, m_fixedRows, maxTopRow());
}

bool TagGrid::isRowVisible(int r) const
{
    if (r < 0 || r >= rows())
        return false;
    if (r < m_fixedRows)
        return true;
    return r >= m_topRow && static_cast<long long>(r) < static_cast<long long>(m_topRow) + m_visibleRows;
}
