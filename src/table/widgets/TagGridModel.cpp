#include "table/widgets/TagGridModel.h"

#include "table/TagGrid.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace {
Qt::Alignment toQt(TagGrid::Alignment a)
{
    return a == TagGrid::Alignment::RightCenter ? (Qt::AlignRight | Qt::AlignVCenter)
                                                : (Qt::AlignLeft | Qt::AlignVCenter);
}
} // namespace

TagGridModel::TagGridModel(TagGrid &grid, QObject *parent) : QAbstractTableModel(parent), m_grid(grid)
{
    m_rows = std::max(0, grid.rows() - grid.fixedRows());
    m_cols = std::max(0, grid.cols() - grid.fixedCols());
    m_version = grid.structureVersion();
}

int TagGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TagGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

bool TagGridModel::isSelected(int r, int c) const
{
    const int r0 = std::min(m_grid.row(), m_grid.rowSel()), r1 = std::max(m_grid.row(), m_grid.rowSel());
    const int c0 = std::min(m_grid.col(), m_grid.colSel()), c1 = std::max(m_grid.col(), m_grid.colSel());
    return r >= r0 && r <= r1 && c >= c0 && c <= c1;
}

QVariant TagGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int r = index.row() + m_grid.fixedRows();
    const int c = index.column() + m_grid.fixedCols();
    switch (role) {
    case Qt::DisplayRole:
        return m_grid.textAt(r, c);
    case Qt::TextAlignmentRole:
        return c < m_grid.cols() ? QVariant::fromValue(toQt(m_grid.colAlignment(c))) : QVariant();
    case Qt::BackgroundRole:
        if (isSelected(r, c))
            return QApplication::palette().brush(QPalette::Active, QPalette::Highlight);
        return {};
    case Qt::ForegroundRole:
        if (isSelected(r, c))
            return QApplication::palette().brush(QPalette::Active, QPalette::HighlightedText);
        return {};
    default:
        return {};
    }
}

QVariant TagGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const bool horizontal = orientation == Qt::Horizontal;
    const int r = horizontal ? 0 : section + m_grid.fixedRows();
    const int c = horizontal ? section + m_grid.fixedCols() : 0;
    if (role == Qt::DisplayRole)
        return m_grid.textAt(r, c);
    if (role == Qt::TextAlignmentRole && c < m_grid.cols())
        return QVariant::fromValue(toQt(m_grid.headerAlignment(c)));
    return {};
}

void TagGridModel::sync(int firstRow, int lastRow)
{
    const int rows = std::max(0, m_grid.rows() - m_grid.fixedRows());
    const int cols = std::max(0, m_grid.cols() - m_grid.fixedCols());
    if (rows != m_rows || cols != m_cols || m_version != m_grid.structureVersion()) {
        beginResetModel();
        m_rows = rows;
        m_cols = cols;
        m_version = m_grid.structureVersion();
        endResetModel();
        return;
    }
    const int first = std::clamp(firstRow, 0, std::max(0, m_rows - 1));
    const int last = std::clamp(lastRow, first, std::max(0, m_rows - 1));
    if (m_rows > 0 && m_cols > 0)
        emit dataChanged(index(first, 0), index(last, m_cols - 1));
    if (m_cols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
    if (m_rows > 0)
        emit headerDataChanged(Qt::Vertical, first, last);
}
