#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace Lumisong {

class ListView;

// What assistive technology sees of the song list: a table whose children
// are the column headers and then the cells row by row (the numbering Qt's
// item views use in their focus and selection events). A cell is named by
// its text. With check boxes, the cells of the first column are checkable,
// carry "checked" when their row is ticked and offer the one action Toggle,
// which ticks or unticks the row; the other cells offer no action, so a
// reader's "activate" cannot change a selection by surprise.
class ListViewAccessible final : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ListViewAccessible(ListView *view);
    ~ListViewAccessible() override;

    // Makes Qt's accessibility use this interface for every ListView.
    static void install();

    QAccessible::Role role() const override { return QAccessible::Table; }
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override;
    int rowCount() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

    ListView *view() const;

private:
    int headerRows() const; // 1 while the column headers show, else 0
    // The child for (row, column); row -1 is the header. Made once, then cached.
    QAccessibleInterface *cell(int row, int column) const;
    void forgetCells();
    void announceTicks(int firstRow, int lastRow);

    mutable QHash<int, QAccessible::Id> m_cells; // by child index
};

} // namespace Lumisong
