#pragma once
// A list view of rows and columns (a tree without children) that sorts its rows when the user
// clicks a column header. Each column compares rows by its own rule; the default rule compares
// the column's texts without regard to case. Sorting is ascending and stable: rows that compare
// equal keep the order they had, so sorting by the same column again changes nothing. Selection
// and current row survive a sort.

#include <QTreeWidget>

#include <functional>
#include <map>

class WTLU_SortableListView : public QTreeWidget
{
    Q_OBJECT
public:
    // Negative: a before b; 0: equal; positive: a after b.
    using Comparator = std::function<int(const QTreeWidgetItem& a, const QTreeWidgetItem& b)>;

    explicit WTLU_SortableListView(QWidget* parent = nullptr);
    ~WTLU_SortableListView() override;

    // Appends a column with its header text and width in pixels; returns its index.
    int AddColumn(const QString& title, int width);

    // The rule for a column; an empty comparator restores the text comparison.
    void SetComparator(int column, Comparator comparator);

    // Sorts the rows by the column (ascending, stable) and marks its header. A column out of
    // range is ignored.
    void SortByColumn(int column);
    // The column of the latest sort; -1 before the first.
    int SortColumn() const { return m_sortColumn; }

    int RowCount() const { return topLevelItemCount(); }
    QTreeWidgetItem* Row(int index) const { return topLevelItem(index); }
    // Selected rows in list order (QTreeWidget::selectedItems follows selection order).
    QList<QTreeWidgetItem*> SelectedRows() const;

    // Deletes the selected rows; returns how many went.
    int RemoveSelectedRows();

signals:
    // After every sort, with the column sorted by.
    void Sorted(int column);

private:
    int Compare(int column, const QTreeWidgetItem& a, const QTreeWidgetItem& b) const;

    std::map<int, Comparator> m_comparators;
    int m_sortColumn = -1;
};
