#pragma once

#include <QTreeView>

namespace Lumisong {

class ListItemsModel;

// A list view in report layout: one line per row, column headers, an optional
// check box in front of every row, one selected row at most, never sorted.
// It owns its ListItemsModel. Hit testing is QTreeView::indexAt over every
// column, so any press that selects a row also finds that row. Space ticks or
// unticks the row the keyboard is on, whichever of its cells was clicked last.
// Once rows arrive in an empty list, the first is current (neither selected
// nor ticked), so the keys act on it at once. Without the focus the selected
// row shows in the inactive selection colours (3-D face and button text), so
// that the list does not look focused while another control has the keys.
class ListView final : public QTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListView)

public:
    struct Column
    {
        QString text;
        int widthTwips = 0;
    };

    explicit ListView(QWidget *parent = nullptr);

    ListItemsModel *items() const { return m_items; }
    void setColumns(const QList<Column> &columns);
    QList<Column> columns() const { return m_columns; }
    void setCheckboxes(bool on);

    // The row under a point of the viewport, -1 for none (header, empty space).
    int rowAt(const QPoint &viewportPos) const;
    // The selected row, -1 when none is selected.
    int selectedRow() const;
    void selectRow(int row);
    void clearRowSelection();
    // The row the keyboard is on (the current row, else the selected one); -1 for none.
    int keyboardRow() const;
    // Where a menu for the row opens, in global coordinates: below the start
    // of its first cell, after scrolling the row into view.
    QPoint menuAnchor(int row);

signals:
    // Mouse events of the viewport, sent after the view's own handling (so a
    // press has already selected its row); positions in viewport coordinates.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void dblClick(const QPoint &pos);
    // The menu key or Shift+F10 was pressed in the list.
    void menuKey();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void initViewItemOption(QStyleOptionViewItem *option) const override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

protected slots:
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    void applyColumnWidths();

    ListItemsModel *m_items;
    QList<Column> m_columns;
};

} // namespace Lumisong
