#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Application.h"
#include "WKRN/app/WKRN_DataFolders.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace
{
// Points the program's data folders at one folder for the life of a test.
struct DataFoldersAt
{
    explicit DataFoldersAt(const QString& folder) { WKRN_DataFolders::SetOverride({folder}); }
    ~DataFoldersAt() { WKRN_DataFolders::SetOverride({}); }
};
} // namespace

TEST(WKRN_Splash, ShippedPictureInTheDataFoldersComesBeforeTheBuiltInOne)
{
    WKRN_TestFolder folder;
    const QString folderPath = QString::fromStdString(folder.Path().string());
    {
        DataFoldersAt at(folderPath);
        // Nothing shipped: the built-in picture, which loads.
        const QString builtIn = WKRN_Application::SplashResource();
        EXPECT_TRUE(builtIn.startsWith(QStringLiteral(":/"))) << builtIn.toStdString();
        EXPECT_FALSE(QPixmap(builtIn).isNull());

        // A site's own picture under the installed name takes its place.
        QImage own(64, 32, QImage::Format_RGB32);
        own.fill(Qt::red);
        ASSERT_TRUE(own.save(folder.File("splash.png"), "PNG"));
        const QString shipped = WKRN_Application::SplashResource();
        EXPECT_EQ(shipped, folder.File("splash.png"));
        EXPECT_EQ(QPixmap(shipped).size(), QSize(64, 32));
    }
}
