#include "table/widgets/GridView.h"

#include "table/TagGrid.h"
#include "table/widgets/TagGridModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>
#include <optional>

namespace {
// The number column's width comes from the layout rule, never from its
// texts. Qt's own hint measures up to 200 numbers, again after every
// header update: that alone costs more than a move at 32,765 rows.
class NumberHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;
    QSize sizeHint() const override { return {minimumWidth(), minimumHeight()}; }
};
} // namespace

GridView::GridView(TagGrid &grid, const Twips &scale, QWidget *parent)
    : QTableView(parent), m_grid(grid), m_scale(scale), m_model(new TagGridModel(grid, this))
{
    auto *numbers = new NumberHeader(Qt::Vertical, this);
    numbers->setSectionsClickable(true);
    setVerticalHeader(numbers);
    setModel(m_model);
    // Reached by Tab; a click leaves the focus where the click routine puts it.
    setFocusPolicy(Qt::TabFocus);
    horizontalHeader()->setFocusPolicy(Qt::NoFocus);
    verticalHeader()->setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(192, 192, 192); }"));

    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GridView::scrollFromUser);
    applyGeometryFromGrid();
}

int GridView::rowPx() const
{
    // The grid's height in twips, but never less than the text needs: a
    // font taller than the twips allow (another system's font, a higher
    // font resolution) would lose its lowest pixels. A cell needs the line
    // and its grid line; a header draws its text inside margins of its
    // style's own (4 pixels each side on Windows, 2 in Fusion).
    QStyleOptionHeader opt;
    opt.initFrom(horizontalHeader());
    opt.rect = QRect(0, 0, 100, 100);
    const int headerMargins =
        opt.rect.height() - style()->subElementRect(QStyle::SE_HeaderLabel, &opt, horizontalHeader()).height();
    const int header =
        std::max(horizontalHeader()->fontMetrics().height(), verticalHeader()->fontMetrics().height()) + headerMargins;
    const int cell = fontMetrics().height() + 2;
    return std::max({1, m_scale.px(m_grid.rowHeight(0)), header, cell});
}

void GridView::applyGeometryFromGrid()
{
    // Only what changed: setting a header's section size walks all its
    // sections, which at 32,765 rows costs more than the whole move.
    const int rowPx = this->rowPx();
    verticalHeader()->setMinimumSectionSize(1);
    if (verticalHeader()->defaultSectionSize() != rowPx)
        verticalHeader()->setDefaultSectionSize(rowPx);
    if (horizontalHeader()->minimumHeight() != rowPx || horizontalHeader()->maximumHeight() != rowPx)
        horizontalHeader()->setFixedHeight(rowPx);
    const int numberPx = m_grid.cols() > 0 ? m_scale.px(m_grid.colWidth(0)) : 0;
    if (m_grid.cols() > 0 &&
        (verticalHeader()->minimumWidth() != numberPx || verticalHeader()->maximumWidth() != numberPx))
        verticalHeader()->setFixedWidth(numberPx);
    for (int c = 1; c < m_grid.cols(); ++c)
        if (columnWidth(c - 1) != m_scale.px(m_grid.colWidth(c)))
            setColumnWidth(c - 1, m_scale.px(m_grid.colWidth(c)));
}

void GridView::updateVisibleRows()
{
    const int rowPx = this->rowPx();
    // Whole rows only, as the scroll bar counts them: a partly shown row is
    // not visible.
    m_grid.setVisibleRowCount(std::max(0, viewport()->height() / rowPx));
}

void GridView::refresh()
{
    m_syncing = true;
    // The rows shown, and the part of one more at the bottom.
    const int top = std::max(0, m_grid.topRow() - m_grid.fixedRows());
    m_model->sync(top, top + std::min(m_grid.visibleRowCount(), m_grid.rows()) + 1);
    applyGeometryFromGrid();
    // The scroll range must fit the new size before TopRow is shown, and a
    // header grown with its font leaves less room for rows.
    updateGeometries();
    updateVisibleRows();
    verticalScrollBar()->setValue(m_grid.topRow() - m_grid.fixedRows());
    m_syncing = false;
}

void GridView::scrollFromUser(int value)
{
    if (m_syncing)
        return;
    try {
        m_grid.setTopRow(value + m_grid.fixedRows());
    } catch (const TagGrid::Error &) {
        // The scroll bar went past what the grid can show; keep its TopRow.
    }
}

QModelIndex GridView::cellAt(const QPoint &pos) const
{
    // A drag past the edges picks the nearest shown cell.
    const QRect vp = viewport()->rect();
    const QPoint p(std::clamp(pos.x(), 0, std::max(0, vp.width() - 1)),
                   std::clamp(pos.y(), 0, std::max(0, vp.height() - 1)));
    QModelIndex idx = indexAt(p);
    if (!idx.isValid() && m_model->rowCount() > 0 && m_model->columnCount() > 0) {
        int r = rowAt(p.y());
        int c = columnAt(p.x());
        if (r < 0)
            r = p.y() < rowViewportPosition(0) ? 0 : m_model->rowCount() - 1;
        if (c < 0)
            c = m_model->columnCount() - 1;
        idx = m_model->index(r, c);
    }
    return idx;
}

void GridView::pressAt(int row, int col, bool extend)
{
    m_dragging = true;
    emit cellPressed(row, col, extend);
}

void GridView::dragTo(int row, int col)
{
    emit cellDragged(row, col);
}

void GridView::release()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    emit released();
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (idx.isValid())
        pressAt(idx.row() + m_grid.fixedRows(), idx.column() + m_grid.fixedCols(),
                event->modifiers().testFlag(Qt::ShiftModifier));
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const QModelIndex idx = cellAt(event->position().toPoint());
    if (idx.isValid())
        dragTo(idx.row() + m_grid.fixedRows(), idx.column() + m_grid.fixedCols());
}

void GridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        release();
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double click is two clicks to the table; the second press starts anew.
    mousePressEvent(event);
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    if (mods & ~(Qt::ShiftModifier | Qt::ControlModifier)) {
        event->ignore(); // Alt and the like belong to the menus
        return;
    }
    std::optional<TableKey> key;
    switch (event->key()) {
    case Qt::Key_Up:
        if (!ctrl)
            key = TableKey::Up;
        break;
    case Qt::Key_Down:
        if (!ctrl)
            key = TableKey::Down;
        break;
    case Qt::Key_PageUp:
        if (!ctrl)
            key = TableKey::PageUp;
        break;
    case Qt::Key_PageDown:
        if (!ctrl)
            key = TableKey::PageDown;
        break;
    case Qt::Key_Home:
        if (ctrl)
            key = TableKey::First;
        break;
    case Qt::Key_End:
        if (ctrl)
            key = TableKey::Last;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!ctrl && !shift)
            key = TableKey::Return;
        break;
    default:
        break;
    }
    if (!key) {
        event->ignore();
        return;
    }
    event->accept();
    emit gridKey(*key, shift);
}

void GridView::focusInEvent(QFocusEvent *event)
{
    // Not the item view's own: it would move a current index of its own.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void GridView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (!hasFocus())
        return;
    // The focus: a frame round the cells and a dotted line round the
    // cursor row, which a widened selection would otherwise hide.
    QPainter p(viewport());
    const QPalette &pal = palette();
    QPen frame(pal.color(QPalette::Active, QPalette::Highlight).darker(140), 2);
    frame.setJoinStyle(Qt::MiterJoin);
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
    const int r = m_grid.row() - m_grid.fixedRows();
    if (r >= 0 && r < m_model->rowCount() && m_model->columnCount() > 0) {
        const QRect row = visualRect(m_model->index(r, 0))
                              .united(visualRect(m_model->index(r, m_model->columnCount() - 1)))
                              .adjusted(0, 0, -1, -1);
        QPen dots(pal.color(QPalette::Active, QPalette::Text), 1, Qt::DotLine);
        p.setPen(dots);
        p.drawRect(row);
    }
}

double GridView::numberColumnNeeds(const QString &number) const
{
    // The header draws its text inside a margin on either side.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, verticalHeader());
    return m_scale.twips(verticalHeader()->fontMetrics().horizontalAdvance(number) + 2 * margin);
}

void GridView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    // A new font may need taller rows, and then fewer of them fit.
    if (event->type() == QEvent::FontChange) {
        applyGeometryFromGrid();
        updateGeometries();
        updateVisibleRows();
    }
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    updateVisibleRows();
}

bool GridView::eventFilter(QObject *watched, QEvent *event)
{
    const bool horizontal = watched == horizontalHeader()->viewport();
    const bool vertical = watched == verticalHeader()->viewport();
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                       type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
    if ((!horizontal && !vertical) || !mouse)
        return QTableView::eventFilter(watched, event);
    QHeaderView *header = horizontal ? horizontalHeader() : verticalHeader();
    auto *me = static_cast<QMouseEvent *>(event);
    // The header row is row 0; the number column is column 0.
    const int s = header->logicalIndexAt(me->position().toPoint());
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (me->button() == Qt::LeftButton && s >= 0) {
            const bool extend = me->modifiers().testFlag(Qt::ShiftModifier);
            if (horizontal)
                pressAt(0, s + m_grid.fixedCols(), extend);
            else
                pressAt(s + m_grid.fixedRows(), 0, extend);
        }
        return true;
    case QEvent::MouseMove:
        if (m_dragging && (me->buttons() & Qt::LeftButton) && s >= 0)
            dragTo(horizontal ? -1 : s + m_grid.fixedRows(), horizontal ? s + m_grid.fixedCols() : -1);
        return true;
    case QEvent::MouseButtonRelease:
        if (me->button() == Qt::LeftButton)
            release();
        return true;
    default:
        return QTableView::eventFilter(watched, event);
    }
}
