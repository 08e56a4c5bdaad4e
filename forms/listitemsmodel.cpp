#include "forms/listitemsmodel.h"

namespace Lumisong {

ListItemsModel::ListItemsModel(QObject *parent) : QAbstractTableModel(parent) {}

void ListItemsModel::setColumnHeaders(const QStringList &headers)
{
    beginResetModel();
    m_headers = headers;
    endResetModel();
}

void ListItemsModel::setCheckboxes(bool on)
{
    if (m_checkboxes == on)
        return;
    m_checkboxes = on;
    if (!m_rows.isEmpty())
        announceChecks(0, rowCount() - 1);
}

void ListItemsModel::appendRows(QList<QStringList> rows)
{
    if (rows.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    m_rows.append(std::move(rows));
    m_checked.resize(m_rows.size(), false);
    endInsertRows();
}

void ListItemsModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_checked.clear();
    endResetModel();
}

QString ListItemsModel::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    const QStringList &items = m_rows.at(row);
    return column < items.size() ? items.at(column) : QString();
}

bool ListItemsModel::isChecked(int row) const
{
    return row >= 0 && row < rowCount() && m_checked[size_t(row)];
}

void ListItemsModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= rowCount() || m_checked[size_t(row)] == checked)
        return;
    m_checked[size_t(row)] = checked;
    announceChecks(row, row);
}

void ListItemsModel::setAllChecked(bool checked)
{
    if (m_rows.isEmpty())
        return;
    std::fill(m_checked.begin(), m_checked.end(), checked);
    announceChecks(0, rowCount() - 1);
}

void ListItemsModel::invertChecks()
{
    if (m_rows.isEmpty())
        return;
    m_checked.flip();
    announceChecks(0, rowCount() - 1);
}

void ListItemsModel::announceChecks(int first, int last)
{
    emit dataChanged(index(first, 0), index(last, 0), {Qt::CheckStateRole});
}

int ListItemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ListItemsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant ListItemsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::CheckStateRole:
        if (m_checkboxes && index.column() == 0)
            return m_checked[size_t(index.row())] ? Qt::Checked : Qt::Unchecked;
        break;
    default:
        break;
    }
    return {};
}

bool ListItemsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !m_checkboxes || index.column() != 0
        || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant ListItemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < m_headers.size())
        return m_headers.at(section);
    return {};
}

Qt::ItemFlags ListItemsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkboxes && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace Lumisong
