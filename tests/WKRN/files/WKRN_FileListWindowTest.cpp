#include "WKRN_TestSupport.h"

#include "WKRN/files/WKRN_FileListWindow.h"

#include "WTLU/WTLU_SortableListView.h"

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
    EXPECT_EQ(list.columnWidth(0), 190);
    EXPECT_EQ(list.columnWidth(1), 280);
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Row(1)->text(0), "/jobs/b.prv");
    EXPECT_EQ(list.Row(1)->text(1), "Not a TIFF file");
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);

    window.show();
    QTest::mouseClick(window.CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}
} // namespace
