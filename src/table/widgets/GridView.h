#pragma once

#include "base/TableKey.h"
#include "base/Twips.h"

#include <QTableView>

#include <climits>

class TagGrid;
class TagGridModel;

// The table as the user sees it. It only reads the grid, but for how many
// rows fit and which one the scroll bar shows first: mouse presses, drags
// and releases and its keys go out as signals, for the document's commands.
// It takes the keyboard focus by Tab only, never by a click.
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
    // The mouse on a cell, as grid row and column (0 for a header); the
    // document decides what they do.
    void cellPressed(int row, int col, bool extend);
    void cellDragged(int row, int col); // -1: that side stays
    void released();
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
    bool m_syncing = false;
};
