#include "WTLU/WTLU_SortableListView.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
// Rows of (name, tag): the tag tells rows with equal names apart.
class SortableListView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view.AddColumn(QStringLiteral("Name"), 120);
        view.AddColumn(QStringLiteral("Size"), 60);
        for (const auto& [name, size, tag] :
             std::vector<std::tuple<const char*, int, int>>{{"beta", 30, 0},
                                                            {"Alpha", 200, 1},
                                                            {"BETA", 4, 2},
                                                            {"alpha", 30, 3},
                                                            {"gamma", 4, 4}})
        {
            auto* row = new QTreeWidgetItem(QStringList{name, QString::number(size)});
            row->setData(0, Qt::UserRole, tag);
            view.addTopLevelItem(row);
        }
    }

    std::vector<int> Tags() const
    {
        std::vector<int> tags;
        for (int i = 0; i < view.RowCount(); ++i)
            tags.push_back(view.Row(i)->data(0, Qt::UserRole).toInt());
        return tags;
    }

    WTLU_SortableListView view;
};

TEST_F(SortableListView, TextColumnsSortWithoutCaseAndKeepEqualRowsInOrder)
{
    view.SortByColumn(0);
    EXPECT_EQ(Tags(), (std::vector<int>{1, 3, 0, 2, 4}));
    EXPECT_EQ(view.SortColumn(), 0);
    // Again: nothing moves, equal rows included.
    view.SortByColumn(0);
    EXPECT_EQ(Tags(), (std::vector<int>{1, 3, 0, 2, 4}));
}

TEST_F(SortableListView, ColumnComparatorDecidesAndEqualRowsKeepThePreviousSortsOrder)
{
    view.SetComparator(1, [](const QTreeWidgetItem& a, const QTreeWidgetItem& b)
                       { return a.text(1).toInt() - b.text(1).toInt(); });
    view.SortByColumn(0);
    view.SortByColumn(1);
    // 4, 4 in name order (BETA before gamma), then 30, 30 in name order, then 200.
    EXPECT_EQ(Tags(), (std::vector<int>{2, 4, 3, 0, 1}));

    // Without the comparator the column compares as text again: "200" < "30" < "4".
    view.SetComparator(1, {});
    view.SortByColumn(1);
    EXPECT_EQ(Tags(), (std::vector<int>{1, 3, 0, 2, 4}));
}

TEST_F(SortableListView, SelectionAndCurrentRowSurviveASort)
{
    QTreeWidgetItem* gamma = view.Row(4);
    QTreeWidgetItem* beta = view.Row(0);
    view.setCurrentItem(gamma);
    beta->setSelected(true);
    QSignalSpy changed(&view, &QTreeWidget::itemSelectionChanged);
    view.SortByColumn(0);
    EXPECT_EQ(view.currentItem(), gamma);
    EXPECT_TRUE(gamma->isSelected());
    EXPECT_TRUE(beta->isSelected());
    EXPECT_EQ(view.SelectedRows(), (QList<QTreeWidgetItem*>{beta, gamma}));
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(SortableListView, HeaderClickSortsAscendingEveryTime)
{
    view.resize(300, 200);
    view.show();
    QHeaderView* header = view.header();
    const QPoint onName(header->sectionViewportPosition(0) + 10, header->height() / 2);
    QSignalSpy sorted(&view, &WTLU_SortableListView::Sorted);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onName);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onName);
    ASSERT_EQ(sorted.count(), 2);
    EXPECT_EQ(sorted.at(1).at(0).toInt(), 0);
    EXPECT_EQ(Tags(), (std::vector<int>{1, 3, 0, 2, 4}));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(SortableListView, RemoveSelectedRowsAndOutOfRangeSort)
{
    view.Row(1)->setSelected(true);
    view.Row(3)->setSelected(true);
    EXPECT_EQ(view.RemoveSelectedRows(), 2);
    EXPECT_EQ(Tags(), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(view.RemoveSelectedRows(), 0);

    view.SortByColumn(2);
    view.SortByColumn(-1);
    EXPECT_EQ(view.SortColumn(), -1);
    EXPECT_EQ(Tags(), (std::vector<int>{0, 2, 4}));
}
} // namespace
