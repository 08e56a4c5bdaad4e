#include "forms/listviewaccessible.h"

#include <QHeaderView>

#include "forms/listcellaccessible.h"
#include "forms/listitemsmodel.h"
#include "forms/listview.h"
#include "platform/ui/accessiblefactory.h"

namespace Lumisong {

ListViewAccessible::ListViewAccessible(ListView *view) : QAccessibleWidget(view, QAccessible::Table)
{
}

ListViewAccessible::~ListViewAccessible()
{
    forgetCells();
}

void ListViewAccessible::install()
{
    installAccessibleInterface<ListViewAccessible, ListView>();
}

ListView *ListViewAccessible::view() const
{
    return static_cast<ListView *>(widget());
}

int ListViewAccessible::headerRows() const
{
    return view()->header()->isHidden() ? 0 : 1;
}

int ListViewAccessible::columnCount() const
{
    return view()->items()->columnCount();
}

int ListViewAccessible::rowCount() const
{
    return view()->items()->rowCount();
}

int ListViewAccessible::childCount() const
{
    return (rowCount() + headerRows()) * columnCount();
}

QAccessibleInterface *ListViewAccessible::cell(int row, int column) const
{
    const int columns = columnCount();
    if (column < 0 || column >= columns || row < -headerRows() || row >= rowCount())
        return nullptr;
    const int index = (row + headerRows()) * columns + column;
    if (const auto found = m_cells.constFind(index); found != m_cells.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto *made = new ListCellAccessible(view(), row, column);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(made));
    return made;
}

QAccessibleInterface *ListViewAccessible::child(int index) const
{
    const int columns = columnCount();
    if (index < 0 || columns == 0)
        return nullptr;
    return cell(index / columns - headerRows(), index % columns);
}

QAccessibleInterface *ListViewAccessible::cellAt(int row, int column) const
{
    return row < 0 ? nullptr : cell(row, column);
}

int ListViewAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const QAccessibleTableCellInterface *cellOf =
        child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
    if (!cellOf || child->parent() != this)
        return -1;
    return (cellOf->rowIndex() + headerRows()) * columnCount() + cellOf->columnIndex();
}

QAccessibleInterface *ListViewAccessible::childAt(int x, int y) const
{
    const QPoint viewportPos = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = view()->indexAt(viewportPos);
    if (index.isValid())
        return cell(index.row(), index.column());
    const QHeaderView *header = view()->header();
    if (headerRows() && header->rect().contains(header->mapFromGlobal(QPoint(x, y))))
        return cell(-1, header->logicalIndexAt(header->mapFromGlobal(QPoint(x, y))));
    return nullptr;
}

void *ListViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int ListViewAccessible::selectedCellCount() const
{
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface *> ListViewAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (const int row : selectedRows()) {
        for (int column = 0; column < columnCount(); ++column)
            cells.append(cell(row, column));
    }
    return cells;
}

QString ListViewAccessible::columnDescription(int column) const
{
    return view()->items()->headerData(column, Qt::Horizontal).toString();
}

int ListViewAccessible::selectedRowCount() const
{
    return view()->selectedRow() < 0 ? 0 : 1;
}

QList<int> ListViewAccessible::selectedRows() const
{
    const int row = view()->selectedRow();
    return row < 0 ? QList<int>() : QList<int>{row};
}

bool ListViewAccessible::isRowSelected(int row) const
{
    return row >= 0 && view()->selectedRow() == row;
}

bool ListViewAccessible::selectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    view()->selectRow(row);
    return true;
}

bool ListViewAccessible::unselectRow(int row)
{
    if (!isRowSelected(row))
        return false;
    view()->clearRowSelection();
    return true;
}

// Rows are only ever appended: the cells made so far keep their place then.
// Anything else (a cleared list, new columns) makes them all anew.
void ListViewAccessible::modelChange(QAccessibleTableModelChangeEvent *event)
{
    switch (event->modelChangeType()) {
    case QAccessibleTableModelChangeEvent::RowsInserted:
        break;
    case QAccessibleTableModelChangeEvent::DataChanged:
        announceTicks(event->firstRow(), event->lastRow());
        break;
    default:
        forgetCells();
        break;
    }
}

// A tick changed by Space or a button is told of for the check cells a
// reader already knows, so that it can say "checked" or "not checked".
void ListViewAccessible::announceTicks(int firstRow, int lastRow)
{
    if (!view()->items()->checkboxes())
        return;
    const int columns = columnCount();
    const int first = qMax(firstRow, 0);
    const int last = qMin(lastRow < 0 ? rowCount() - 1 : lastRow, rowCount() - 1);
    for (int row = first; row <= last; ++row) {
        const auto found = m_cells.constFind((row + headerRows()) * columns);
        if (found == m_cells.constEnd())
            continue;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(QAccessible::accessibleInterface(*found), changed);
        QAccessible::updateAccessibility(&event);
    }
}

void ListViewAccessible::forgetCells()
{
    const QHash<int, QAccessible::Id> cells = std::exchange(m_cells, {});
    for (const QAccessible::Id id : cells)
        QAccessible::deleteAccessibleInterface(id);
}

} // namespace Lumisong
