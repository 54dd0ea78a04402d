#include "WTLU/WTLU_FileDialog.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
class Chooser
{
public:
    explicit Chooser(WTLU_FileDialogResult answer)
    {
        m_previous = WTLU_FileDialog::SetChooser(
            [this, answer](const WTLU_FileDialogRequest& request)
            {
                requests.push_back(request);
                return answer;
            });
    }
    ~Chooser() { WTLU_FileDialog::SetChooser(std::move(m_previous)); }
    std::vector<WTLU_FileDialogRequest> requests;

private:
    WTLU_FileDialog::Chooser m_previous;
};

TEST(FileDialog, FiltersOfferEveryPatternInBothLetterCases)
{
    EXPECT_EQ(WTLU_FileDialog::NameFilter({"Preview File", "*.PRV;*.KRN"}),
              "Preview File (*.PRV *.prv *.KRN *.krn)");
    EXPECT_EQ(WTLU_FileDialog::NameFilter({"Corvane TIFF", "*.tif"}), "Corvane TIFF (*.TIF *.tif)");
    // Patterns without letters once; blanks and repeats dropped.
    EXPECT_EQ(WTLU_FileDialog::NameFilter({"All", " *; ;*.Tif;*.TIF "}), "All (* *.TIF *.tif)");
    EXPECT_EQ(WTLU_FileDialog::NameFilters({{"A", "*.A"}, {"B", "*.b"}}),
              (QStringList{"A (*.A *.a)", "B (*.B *.b)"}));
}

TEST(FileDialog, RequestCarriesTitleFiltersFolderAndMultipleChoice)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString first = folder.filePath("one.PRV");
    Chooser chooser({{first, folder.filePath("two.prv")}, {}, {}});
    const WTLU_FileDialogResult result = WTLU_FileDialog::GetOpenFileNames(
        nullptr, "Add Separation Files", {{"Preview File", "*.PRV"}}, folder.path());

    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_EQ(chooser.requests[0].title, "Add Separation Files");
    EXPECT_EQ(chooser.requests[0].nameFilters, QStringList{"Preview File (*.PRV *.prv)"});
    EXPECT_EQ(chooser.requests[0].folder, folder.path());
    EXPECT_TRUE(chooser.requests[0].multiple);
    EXPECT_EQ(result.files.size(), 2);
    // The chooser named no folder: the first file's folder stands for it.
    EXPECT_EQ(result.folder, QDir(folder.path()).absolutePath());
}

TEST(FileDialog, MissingStartFolderSingleChoiceAndCancel)
{
    {
        Chooser chooser({{"/a/x.tif", "/b/y.tif"}, "/a", {}});
        const WTLU_FileDialogResult result =
            WTLU_FileDialog::GetOpenFileNames(nullptr, "T", {}, "/no/such/folder", false);
        EXPECT_TRUE(chooser.requests[0].folder.isEmpty());
        EXPECT_FALSE(chooser.requests[0].multiple);
        EXPECT_EQ(result.files, QStringList{"/a/x.tif"});
        EXPECT_EQ(result.folder, "/a");
    }
    {
        // A chooser that reports a folder without files was cancelled: nothing comes back.
        Chooser chooser({{}, "/a", {}});
        const WTLU_FileDialogResult result =
            WTLU_FileDialog::GetOpenFileNames(nullptr, "T", {}, QString());
        EXPECT_FALSE(result.Accepted());
        EXPECT_TRUE(result.folder.isEmpty());
    }
}
} // namespace
