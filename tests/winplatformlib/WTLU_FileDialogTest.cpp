#include "WTLU/WTLU_FileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

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

// Runs the real dialog (offscreen) and acts in it as a user would, once it is up.
WTLU_FileDialogResult RunDialog(const WTLU_FileDialogRequest& request,
                                const std::function<void(QFileDialog&)>& act)
{
    QTimer::singleShot(0,
                       [&act]
                       {
                           QFileDialog* dialog = nullptr;
                           for (QWidget* widget : QApplication::topLevelWidgets())
                               if (auto* d = qobject_cast<QFileDialog*>(widget);
                                   d != nullptr && d->isVisible())
                                   dialog = d;
                           ASSERT_NE(dialog, nullptr);
                           act(*dialog);
                           if (dialog->isVisible())
                               dialog->reject();
                       });
    return WTLU_FileDialog::RunModal(request);
}

TEST(FileDialog, AFolderTheRequestAcceptsIsChosenWholeAnyOtherIsEntered)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir top(root.path());
    for (const char* name : {"version/a.tif", "notes/b.txt"})
    {
        ASSERT_TRUE(top.mkpath(QFileInfo(top.filePath(name)).path()));
        QFile file(top.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    WTLU_FileDialogRequest request;
    request.folder = top.path();
    request.folderChoice = [](const QString& folder)
    { return QFileInfo::exists(QDir(folder).filePath("a.tif")); };

    WTLU_FileDialogResult chosen =
        RunDialog(request,
                  [](QFileDialog& dialog)
                  {
                      dialog.selectFile(QStringLiteral("version"));
                      static_cast<QDialog&>(dialog).accept(); // the Open button
                  });
    EXPECT_EQ(chosen.files, QStringList{top.filePath("version")});
    EXPECT_EQ(chosen.folder, top.absolutePath());

    // A folder the request refuses opens, and a file in it is chosen as ever.
    chosen = RunDialog(request,
                       [&top](QFileDialog& dialog)
                       {
                           dialog.selectFile(QStringLiteral("notes"));
                           static_cast<QDialog&>(dialog).accept(); // the Open button
                           EXPECT_TRUE(dialog.isVisible());
                           EXPECT_EQ(dialog.directory().absolutePath(), top.filePath("notes"));
                           dialog.selectFile(QStringLiteral("b.txt"));
                           static_cast<QDialog&>(dialog).accept(); // the Open button
                       });
    EXPECT_EQ(chosen.files, QStringList{top.filePath("notes/b.txt")});

    // Without a folder choice every folder opens.
    request.folderChoice = {};
    chosen = RunDialog(request,
                       [&top](QFileDialog& dialog)
                       {
                           dialog.selectFile(QStringLiteral("version"));
                           static_cast<QDialog&>(dialog).accept(); // the Open button
                           EXPECT_EQ(dialog.directory().absolutePath(), top.filePath("version"));
                       });
    EXPECT_FALSE(chosen.Accepted());
}
} // namespace
