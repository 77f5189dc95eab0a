#pragma once

#include <QAbstractTableModel>

#include <climits>

class TagGrid;

// A thin model over the grid: row 0 of the grid is the horizontal header,
// column 0 the vertical header, the rest the cells. It caches the shape so
// that it changes only inside sync().
class TagGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TagGridModel(TagGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // One update for everything a command changed: a reset when rows or
    // columns came or went, otherwise one dataChanged over the rows from
    // firstRow to lastRow (model rows), the ones a view shows. Rows out of
    // view hold nothing a view keeps, so a move at 32,765 rows costs what
    // the shown rows cost.
    void sync(int firstRow = 0, int lastRow = INT_MAX);

private:
    bool isSelected(int gridRow, int gridCol) const;

    TagGrid &m_grid;
    int m_rows = 0, m_cols = 0;
    quint64 m_version = 0;
};
