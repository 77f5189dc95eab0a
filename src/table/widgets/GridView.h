#pragma once

#include "base/TableKey.h"
#include "base/Twips.h"

#include <QAbstractTableModel>
#include <QTableView>

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

// The table as the user sees it. Mouse presses move the grid's cursor,
// drags move the selection corner, a release raises gridClicked() (or
// gridShiftClicked() when Shift held the cursor). It takes the keyboard
// focus by Tab only, never by a click, and hands its keys on as gridKey().
class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(TagGrid &grid, const Twips &scale, QWidget *parent = nullptr);

    TagGridModel *tagModel() const { return m_model; }
    // Shows the grid as it is now: cells, headers, column widths, TopRow.
    void refresh();
    // Tells the grid how many whole rows fit at the current height.
    void updateVisibleRows();
    // Twips the number column needs to show this row number whole, in the
    // header's font with the cell margins.
    double numberColumnNeeds(const QString &number) const;

signals:
    void gridClicked();
    void gridShiftClicked();
    void gridKey(TableKey key, bool shift);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QModelIndex cellAt(const QPoint &pos) const;
    // A press, a drag and a release, on the cells or on the headers alike;
    // a negative row or column in a drag leaves that side of the corner.
    void pressAt(int row, int col, bool extend);
    void dragTo(int row, int col);
    void release();
    void scrollFromUser(int value);
    void applyGeometryFromGrid();
    // The height of every row, the header row included, in pixels.
    int rowPx() const;

    TagGrid &m_grid;
    const Twips m_scale;
    TagGridModel *m_model;
    bool m_dragging = false;
    bool m_extending = false; // the press held Shift: the cursor stays
    bool m_syncing = false;
};
