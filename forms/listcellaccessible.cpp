#include "forms/listcellaccessible.h"

#include <QHeaderView>

#include "forms/listitemsmodel.h"
#include "forms/listview.h"

namespace Lumisong {

ListCellAccessible::ListCellAccessible(ListView *view, int row, int column)
    : m_view(view), m_row(row), m_column(column)
{
}

bool ListCellAccessible::isValid() const
{
    return m_view && m_row < m_view->items()->rowCount()
           && m_column < m_view->items()->columnCount();
}

bool ListCellAccessible::isCheckCell() const
{
    return !isHeader() && m_column == 0 && m_view->items()->checkboxes();
}

QAccessibleInterface *ListCellAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface *ListCellAccessible::table() const
{
    return parent();
}

QString ListCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name)
        return {};
    if (isHeader())
        return m_view->items()->headerData(m_column, Qt::Horizontal).toString();
    return m_view->items()->text(m_row, m_column);
}

QRect ListCellAccessible::rect() const
{
    if (!isValid())
        return {};
    if (isHeader()) {
        const QHeaderView *header = m_view->header();
        const QRect section(header->sectionViewportPosition(m_column), 0,
                            header->sectionSize(m_column), header->height());
        return section.translated(header->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    const QRect cell = m_view->visualRect(m_view->items()->index(m_row, m_column));
    return cell.translated(m_view->viewport()->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role ListCellAccessible::role() const
{
    return isHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State ListCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const QRect shown(m_view->viewport()->mapToGlobal(QPoint(0, 0)), m_view->viewport()->size());
    state.invisible = !m_view->isVisible() || !shown.intersects(rect());
    if (isHeader())
        return state;
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    const QModelIndex current = m_view->currentIndex();
    state.focused = current.isValid() && current.row() == m_row && current.column() == m_column;
    if (isCheckCell()) {
        state.checkable = true;
        state.checked = m_view->items()->isChecked(m_row);
    }
    return state;
}

void *ListCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

bool ListCellAccessible::isSelected() const
{
    return isValid() && !isHeader() && m_view->selectedRow() == m_row;
}

QList<QAccessibleInterface *> ListCellAccessible::columnHeaderCells() const
{
    const QAccessibleInterface *list = parent();
    QAccessibleInterface *header = list && !isHeader() ? list->child(m_column) : nullptr;
    return header && !m_view->header()->isHidden() ? QList<QAccessibleInterface *>{header}
                                                   : QList<QAccessibleInterface *>{};
}

QStringList ListCellAccessible::actionNames() const
{
    return isValid() && isCheckCell() ? QStringList{toggleAction()} : QStringList{};
}

void ListCellAccessible::doAction(const QString &actionName)
{
    if (actionName != toggleAction() || !isValid() || !isCheckCell())
        return;
    ListItemsModel *items = m_view->items();
    items->setChecked(m_row, !items->isChecked(m_row));
}

} // namespace Lumisong
