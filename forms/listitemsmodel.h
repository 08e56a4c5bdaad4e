#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace Lumisong {

// The rows of a report-style list view: per row the row text (column 0) and
// its sub-items, plus the row's tick. The model owns them; rows are only ever
// appended and keep their order (the view never sorts).
class ListItemsModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListItemsModel)

public:
    explicit ListItemsModel(QObject *parent = nullptr);

    void setColumnHeaders(const QStringList &headers);
    QStringList columnHeaders() const { return m_headers; }
    // With check boxes a tick shows in front of the row text.
    void setCheckboxes(bool on);
    bool checkboxes() const { return m_checkboxes; }

    // Appends rows in one step; each holds the row text and then the sub-items
    // (missing ones are empty, surplus ones ignored). New rows are unticked.
    void appendRows(QList<QStringList> rows);
    void clear();

    QString text(int row, int column) const;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    void invertChecks();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void announceChecks(int first, int last);

    QStringList m_headers;
    QList<QStringList> m_rows;
    std::vector<bool> m_checked;
    bool m_checkboxes = false;
};

} // namespace Lumisong
