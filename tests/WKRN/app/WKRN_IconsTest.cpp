#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Icons.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/sheet/WKRN_CommandTable.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace
{
// Pixels a picture covers: a picture that failed to load or draw covers none.
int OpaquePixels(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    return count;
}

std::vector<int> ToolbarCommands()
{
    std::vector<int> ids;
    for (int id : WKRN_CommandTable::ToolbarOrder())
        if (id != 0)
            ids.push_back(id);
    return ids;
}
} // namespace

TEST(WKRN_Icons, EveryToolbarCommandHasItsOwnDistinctPicture)
{
    const std::vector<int> ids = ToolbarCommands();
    ASSERT_EQ(ids.size(), 15u);
    QSet<QByteArray> seen;
    for (int id : ids)
    {
        const QPixmap own = WKRN_Icons::OwnCommandPicture(id);
        ASSERT_FALSE(own.isNull()) << id;
        EXPECT_EQ(own.size(), QSize(16, 16)) << id;
        EXPECT_GT(OpaquePixels(own), 10) << id;
        EXPECT_FALSE(WKRN_Icons::Command(id).isNull()) << id;
        // Two commands showing the same picture is a resource naming slip.
        const QImage image = own.toImage();
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()),
                               image.sizeInBytes());
        EXPECT_FALSE(seen.contains(bytes)) << id << " looks like another command";
        seen.insert(bytes);
    }
    EXPECT_TRUE(WKRN_Icons::OwnCommandPicture(ID_APP_EXIT).isNull());
}

TEST(WKRN_Icons, ProgramWorkStyleAndJobBrowserPicturesDrawAtEverySize)
{
    std::vector<int> ids = {IDR_MAINFRAME, 234, 235, 236, 237, 238};
    for (int style = 0; style <= 5; ++style)
        ids.push_back(WKRN_Icons::WorkStyleIconId(style));
    for (int id : ids)
    {
        EXPECT_FALSE(WKRN_Icons::ThemeName(id).isEmpty()) << id;
        EXPECT_FALSE(WKRN_Icons::Picture(id).isNull()) << id;
        for (int size : {16, 48, 128})
        {
            const QPixmap pixmap = WKRN_Icons::Render(id, size);
            ASSERT_EQ(pixmap.size(), QSize(size, size)) << id;
            // Scalable: a larger size covers proportionally more pixels, not a blown-up 16.
            EXPECT_GT(OpaquePixels(pixmap), size * size / 8) << id << " at " << size;
        }
    }
    const QIcon program = WKRN_Icons::Program();
    EXPECT_EQ(program.pixmap(32, 32).size(), QSize(32, 32));
    EXPECT_EQ(WKRN_Icons::WorkStyle(3).toImage(),
              WKRN_Icons::Render(IDI_WORKSTYLE_3, 16).toImage());
    EXPECT_NE(WKRN_Icons::WorkStyle(1).toImage(), WKRN_Icons::WorkStyle(2).toImage());
}

TEST(WKRN_Icons, IdsWithoutAPictureGiveNothing)
{
    for (int id : {0, 239, int(IDB_SPLASH), int(ID_APP_EXIT), -1})
    {
        EXPECT_TRUE(WKRN_Icons::Render(id, 16).isNull()) << id;
        EXPECT_TRUE(WKRN_Icons::Picture(id).isNull()) << id;
        EXPECT_TRUE(WKRN_Icons::ThemeName(id).isEmpty()) << id;
    }
}
