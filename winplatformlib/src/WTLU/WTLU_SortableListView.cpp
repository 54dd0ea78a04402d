#include "WTLU/WTLU_SortableListView.h"

#include <QHeaderView>

#include <algorithm>
#include <vector>

WTLU_SortableListView::WTLU_SortableListView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The view sorts on its own terms; Qt's sorting would re-sort on every insertion and is not
    // guaranteed to keep equal rows in place.
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &WTLU_SortableListView::SortByColumn);
}

WTLU_SortableListView::~WTLU_SortableListView() = default;

int WTLU_SortableListView::AddColumn(const QString& title, int width)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    QTreeWidgetItem* head = headerItem();
    head->setText(column, title);
    setColumnWidth(column, width);
    return column;
}

void WTLU_SortableListView::SetComparator(int column, Comparator comparator)
{
    if (comparator)
        m_comparators[column] = std::move(comparator);
    else
        m_comparators.erase(column);
}

int WTLU_SortableListView::Compare(int column, const QTreeWidgetItem& a,
                                   const QTreeWidgetItem& b) const
{
    const auto it = m_comparators.find(column);
    if (it != m_comparators.end())
        return it->second(a, b);
    return QString::compare(a.text(column), b.text(column), Qt::CaseInsensitive);
}

void WTLU_SortableListView::SortByColumn(int column)
{
    if (column < 0 || column >= columnCount())
        return;

    QTreeWidgetItem* current = currentItem();
    const QList<QTreeWidgetItem*> selected = selectedItems();

    // Taking the rows out and putting them back is the only way to reorder a QTreeWidget without
    // its own sort; the rows' selection state lives in the view, so it is put back afterwards.
    std::vector<QTreeWidgetItem*> rows;
    rows.reserve(std::size_t(topLevelItemCount()));
    const QSignalBlocker blocker(selectionModel());
    while (topLevelItemCount() > 0)
        rows.push_back(takeTopLevelItem(0));
    std::stable_sort(rows.begin(), rows.end(),
                     [this, column](const QTreeWidgetItem* a, const QTreeWidgetItem* b)
                     { return Compare(column, *a, *b) < 0; });
    for (QTreeWidgetItem* row : rows)
        addTopLevelItem(row);
    if (current != nullptr)
        setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* row : selected)
        row->setSelected(true);

    m_sortColumn = column;
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, Qt::AscendingOrder);
    emit Sorted(column);
}

QList<QTreeWidgetItem*> WTLU_SortableListView::SelectedRows() const
{
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->isSelected())
            rows.append(topLevelItem(i));
    return rows;
}

int WTLU_SortableListView::RemoveSelectedRows()
{
    const QList<QTreeWidgetItem*> rows = SelectedRows();
    for (QTreeWidgetItem* row : rows)
        delete row;
    return int(rows.size());
}
