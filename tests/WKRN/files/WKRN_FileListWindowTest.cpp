#include "WKRN_TestSupport.h"

#include "WKRN/files/WKRN_FileListWindow.h"

#include "WTLU/WTLU_SortableListView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
TEST(FileListWindow, ShowsBothLinesAndOneRowPerFileUntilClosed)
{
    WKRN_FileListWindow window(nullptr, QStringLiteral("2 files were ignored."),
                               QStringLiteral("<b>Check</b> the job folder."),
                               {{"/jobs/a.tif", "Required TIFF tag is either missing or invalid"},
                                {"/jobs/b.prv", "Not a TIFF file"}});
    EXPECT_EQ(window.windowTitle(), "Invalid Files");
    EXPECT_EQ(window.HeaderLine()->text(), "2 files were ignored.");
    // Texts come from files and folders: shown as they are, never as markup.
    EXPECT_EQ(window.SecondLine()->textFormat(), Qt::PlainText);

    WTLU_SortableListView& list = *window.List();
    ASSERT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.headerItem()->text(0), "Filename");
    EXPECT_EQ(list.headerItem()->text(1), "Explanation");
    // At least their first widths, and wide enough for the longest explanation.
    EXPECT_EQ(list.columnWidth(0), 190);
    EXPECT_GE(list.columnWidth(1), 280);
    EXPECT_GT(list.columnWidth(1), list.fontMetrics().horizontalAdvance(
                                       "Required TIFF tag is either missing or invalid"));
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Row(1)->text(0), "/jobs/b.prv");
    EXPECT_EQ(list.Row(1)->text(1), "Not a TIFF file");
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);

    window.show();
    QTest::mouseClick(window.CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

// A long path keeps the file's name in sight: the column widens for it where the screen allows,
// a path longer still loses its middle, and the tooltip holds it whole.
TEST(FileListWindow, LongPathsWidenTheColumnAndLoseTheirMiddle)
{
    // One path wider than the column's first width (the screen of the tests is small), one far
    // wider than any screen.
    const QFontMetrics metrics(QApplication::font());
    const QString name = QStringLiteral("/Spring_Brochure_S1_0_Black.tif");
    QString path = QStringLiteral("/jobs");
    while (metrics.horizontalAdvance(path + name) < 300)
        path += QStringLiteral("/job");
    path += name;
    QString longest = path;
    for (int i = 0; i < 60; ++i)
        longest += QStringLiteral("/more_%1").arg(i);
    WKRN_FileListWindow window(nullptr, QStringLiteral("2 files were ignored."), QString(),
                               {{path, "Not a TIFF file"}, {longest, "Not a TIFF file"}});
    WTLU_SortableListView& list = *window.List();
    const int pathWidth = list.fontMetrics().horizontalAdvance(path);
    EXPECT_GE(list.columnWidth(0), pathWidth);
    EXPECT_GE(window.width(), list.columnWidth(0) + list.columnWidth(1));
    EXPECT_LT(list.columnWidth(0), list.fontMetrics().horizontalAdvance(longest));
    EXPECT_EQ(list.textElideMode(), Qt::ElideMiddle);
    EXPECT_EQ(list.Row(1)->toolTip(0), longest);
}
} // namespace
