#include "forms/listview.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionViewItem>

#include "forms/listitemsmodel.h"
#include "forms/listviewaccessible.h"
#include "forms/listviewstyle.h"
#include "platform/twips.h"

namespace Lumisong {

ListView::ListView(QWidget *parent) : QTreeView(parent), m_items(new ListItemsModel(this))
{
    ListViewAccessible::install();
    setModel(m_items);
    auto *style = new ListViewStyle;
    style->setParent(this);
    setStyle(style);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // Every row has the height of the first: lets a thousand rows append fast.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
}

void ListView::setColumns(const QList<Column> &columns)
{
    m_columns = columns;
    QStringList headers;
    for (const Column &c : columns)
        headers.append(c.text);
    m_items->setColumnHeaders(headers);
    applyColumnWidths();
}

void ListView::applyColumnWidths()
{
    for (int i = 0; i < m_columns.size(); ++i)
        header()->resizeSection(i, Twips::toPixels(m_columns.at(i).widthTwips));
}

void ListView::setCheckboxes(bool on)
{
    m_items->setCheckboxes(on);
}

int ListView::rowAt(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

int ListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void ListView::selectRow(int row)
{
    if (row < 0 || row >= m_items->rowCount()) {
        clearRowSelection();
        return;
    }
    const QModelIndex index = m_items->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                 | QItemSelectionModel::Rows);
}

void ListView::mousePressEvent(QMouseEvent *event)
{
    QTreeView::mousePressEvent(event);
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void ListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    emit mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void ListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    emit dblClick(event->position().toPoint());
}

int ListView::keyboardRow() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() < m_items->rowCount())
        return current.row();
    return selectedRow();
}

QPoint ListView::menuAnchor(int row)
{
    const QModelIndex index = m_items->index(row, 0);
    scrollTo(index);
    const QRect cell = visualRect(index);
    return viewport()->mapToGlobal(QPoint(cell.left() + cell.height(), cell.bottom() + 1));
}

// The platform turns the menu key into a keyboard context-menu event (where
// it does not, the key is handled below); a mouse one is left to the
// release handler, which knows the row under the pointer.
void ListView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    event->accept();
    emit menuKey();
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        event->accept();
        emit menuKey();
        return;
    }
    // The view would toggle only the current cell, and only the first column
    // has the check box; a click elsewhere in the row must not take Space away.
    const int row = keyboardRow();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier
        && m_items->checkboxes() && row >= 0) {
        m_items->setChecked(row, !m_items->isChecked(row));
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTreeView::rowsInserted(parent, start, end);
    if (!currentIndex().isValid() && m_items->rowCount() > 0)
        selectionModel()->setCurrentIndex(m_items->index(0, 0), QItemSelectionModel::NoUpdate);
}

void ListView::initViewItemOption(QStyleOptionViewItem *option) const
{
    QTreeView::initViewItemOption(option);
    if (hasFocus())
        return;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        option->palette.setColor(group, QPalette::Highlight,
                                 option->palette.color(group, QPalette::Button));
        option->palette.setColor(group, QPalette::HighlightedText,
                                 option->palette.color(group, QPalette::ButtonText));
    }
}

// The selection changes colour with the focus.
void ListView::focusInEvent(QFocusEvent *event)
{
    QTreeView::focusInEvent(event);
    viewport()->update();
}

void ListView::focusOutEvent(QFocusEvent *event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void ListView::clearRowSelection()
{
    selectionModel()->clearSelection();
}

} // namespace Lumisong
