// The Edit Custom Colors dialog over a custom colour file in a scratch folder, and the job
// window's Custom Colors command that runs it.

#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/palettes/WKRN_ColorDBBrowser.h"
#include "WKRN/palettes/WKRN_EditColorDialog.h"
#include "WKRN/palettes/WKRN_SeparationWindow.h"
#include "WKRN/palettes/WKRN_SeparationWindowRow.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "IMPN/IMPN_ColorDatabaseFile.h"
#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_Separation.h"
#include "WTLU/WTLU_ColorDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace
{
class EditColorDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Two RGB colours as the viewer keeps them, and two a colour library may hold.
        IMPN_ColorDatabase custom;
        custom.Set("Mauve", IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(10, 20, 30)));
        custom.Set("Sea Spot", IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(40, 50, 60)));
        custom.Set("Lab Spot", *IMPN_ColorEntry::FromLab(50.0, 10.0, -20.0));
        custom.Set("Process Spot", IMPN_ColorEntry::FromCMYKPercent(10, 20, 30, 40));
        IMPN_ColorDatabaseFile::Write(File(), custom);
        IMPN_ColorDatabases::Global().LoadCustomColors(folder.Path());
        ASSERT_EQ(IMPN_ColorDatabases::Global().CustomColors().Size(), 4u);
        previous = WTLU_ColorDialog::SetPresenter(
            [this](const WTLU_ColorDialog::Request& request) -> std::optional<QColor>
            {
                starts.push_back(request.initial);
                return answer;
            });
    }
    void TearDown() override
    {
        WTLU_ColorDialog::SetPresenter(previous);
        IMPN_ColorDatabases::Global().LoadCustomColors(std::nullopt);
    }

    std::filesystem::path File() const { return folder.Path() / "Custom.colordb"; }
    static int RowNamed(WKRN_EditColorDialog& dialog, const std::string& name)
    {
        for (int row = 0; row < dialog.List()->RowCount(); ++row)
            if (dialog.List()->Item(row).name == name)
                return row;
        return -1;
    }

    WKRN_TestFolder folder;
    WTLU_ColorDialog::Presenter previous;
    std::optional<QColor> answer;
    std::vector<QColor> starts;
};
} // namespace

TEST_F(EditColorDialogTest, ListsTheRgbColours_ButtonsFollowTheSelection)
{
    WKRN_EditColorDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit Custom Colors"));
    ASSERT_EQ(dialog.List()->RowCount(), 2);
    EXPECT_EQ(dialog.List()->headerItem()->text(0), QStringLiteral("Color"));
    EXPECT_EQ(dialog.List()->columnWidth(0), 290);
    EXPECT_EQ(RowNamed(dialog, "Lab Spot"), -1);
    EXPECT_EQ(RowNamed(dialog, "Process Spot"), -1);
    EXPECT_EQ(dialog.List()->Item(RowNamed(dialog, "Mauve")).color, IMPN_MakeColorBGR(10, 20, 30));

    EXPECT_FALSE(dialog.EditButton()->isEnabled());
    EXPECT_FALSE(dialog.DeleteButton()->isEnabled());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(dialog.CancelButton()->isEnabled());
    dialog.List()->SelectRow(0);
    EXPECT_TRUE(dialog.EditButton()->isEnabled());
    EXPECT_TRUE(dialog.DeleteButton()->isEnabled());
    dialog.List()->SelectRow(1);
    EXPECT_FALSE(dialog.EditButton()->isEnabled());
    EXPECT_TRUE(dialog.DeleteButton()->isEnabled());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
}

// Entries the list does not show are kept; only what was edited or deleted changes.
TEST_F(EditColorDialogTest, Ok_WritesBackOnlyTheEditsAndDeletions)
{
    WKRN_EditColorDialog dialog(nullptr);
    dialog.List()->SelectRow(RowNamed(dialog, "Mauve"));
    answer.reset();
    dialog.EditButton()->click();
    EXPECT_FALSE(dialog.OkButton()->isEnabled()); // cancelled: nothing edited
    answer = QColor(200, 100, 0);
    dialog.EditButton()->click();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1], QColor(10, 20, 30));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.List()->SelectRow(RowNamed(dialog, "Mauve"), false);
    dialog.List()->SelectRow(RowNamed(dialog, "Sea Spot"));
    dialog.DeleteButton()->click();
    EXPECT_EQ(dialog.List()->RowCount(), 1);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    for (const IMPN_ColorDatabase& db : {IMPN_ColorDatabases::Global().CustomColors(),
                                         IMPN_ColorDatabaseFile::Read(File()).database})
    {
        ASSERT_EQ(db.Size(), 3u);
        ASSERT_NE(db.Find("Mauve"), nullptr);
        EXPECT_EQ(db.Find("Mauve")->BGR(), IMPN_MakeColorBGR(200, 100, 0));
        EXPECT_EQ(db.Find("Sea Spot"), nullptr);
        ASSERT_NE(db.Find("Lab Spot"), nullptr);
        EXPECT_EQ(db.Find("Lab Spot")->Space(), IMPN_ColorSpace::Lab);
        ASSERT_NE(db.Find("Process Spot"), nullptr);
        EXPECT_EQ(db.Find("Process Spot")->CMYKPercent(),
                  (std::array<std::uint8_t, 4>{10, 20, 30, 40}));
    }
}

TEST_F(EditColorDialogTest, Cancel_ChangesNothing)
{
    const IMPN_ColorDatabase before = IMPN_ColorDatabases::Global().CustomColors();
    WKRN_EditColorDialog dialog(nullptr);
    dialog.List()->SelectRow(0);
    dialog.DeleteButton()->click();
    dialog.CancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(IMPN_ColorDatabases::Global().CustomColors() == before);
    EXPECT_TRUE(IMPN_ColorDatabaseFile::Read(File()).database == before);
}

TEST_F(EditColorDialogTest, FailedSave_WarnsAndKeepsTheChangesForTheRun)
{
    WKRN_EditColorDialog dialog(nullptr);
    dialog.List()->SelectRow(RowNamed(dialog, "Sea Spot"));
    dialog.DeleteButton()->click();
    std::filesystem::remove_all(folder.Path());
    std::ofstream(folder.Path()) << "in the way";
    WKRN_RecordedBoxes boxes;
    dialog.OkButton()->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].caption.endsWith(QStringLiteral("Custom Colors Not Saved")));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(IMPN_ColorDatabases::Global().CustomColors().Find("Sea Spot"), nullptr);
    EXPECT_EQ(IMPN_ColorDatabases::Global().CustomColors().Size(), 3u);
    std::filesystem::remove(folder.Path());
    std::filesystem::create_directories(folder.Path());
}

// The command runs the dialog; after OK every job window decides its colours again.
TEST_F(EditColorDialogTest, CustomColorsCommand_RefreshesTheJobWindowsAfterOk)
{
    WKRN_Preferences::Current() = WKRN_PreferenceValues();
    WKRN_Tressida app{QPixmap()};
    app.SetQuitAction([] {});
    WKRN_TestSheets sheets;
    WKRN_TestSheetSpec spec;
    spec.surfaces[0].ink = "Mauve";
    spec.surfaces[0].color = 8;
    WKRN_SheetWindow* job = app.OpenJobWindow(sheets.Make(spec), QRect(20, 20, 500, 400), true);
    ASSERT_TRUE(job->Action(ID_EDIT_CUSTOM_COLORS)->isEnabled());
    WKRN_SeparationWindow palette(*job);
    palette.SetSheet(job->Sheet(), true);
    IMPN_Separation& mauve = palette.Rows().front()->Separation();
    ASSERT_EQ(mauve.GetCurrentColor().color, IMPN_MakeColorBGR(10, 20, 30));

    QTimer::singleShot(0,
                       []
                       {
                           auto* dialog = qobject_cast<WKRN_EditColorDialog*>(
                               QApplication::activeModalWidget());
                           ASSERT_NE(dialog, nullptr);
                           dialog->List()->SelectRow(RowNamed(*dialog, "Mauve"));
                           dialog->DeleteButton()->click();
                           dialog->OkButton()->click();
                       });
    job->Execute(ID_EDIT_CUSTOM_COLORS);
    WKRN_ProcessEvents();
    EXPECT_TRUE(mauve.GetCurrentColor().isDefault);
    EXPECT_EQ(mauve.GetCurrentColor().color, IMPN_ColorDatabases::Global().DefaultColor());

    // Cancelled: no refresh, so a colour picked meanwhile stays.
    IMPN_ColorRecord picked = mauve.GetCurrentColor();
    picked.color = IMPN_MakeColorBGR(1, 1, 1);
    mauve.SetCurrentColor(picked);
    QTimer::singleShot(0,
                       []
                       {
                           if (auto* dialog = qobject_cast<WKRN_EditColorDialog*>(
                                   QApplication::activeModalWidget()))
                               dialog->reject();
                       });
    job->Execute(ID_EDIT_CUSTOM_COLORS);
    WKRN_ProcessEvents();
    EXPECT_EQ(mauve.GetCurrentColor().color, IMPN_MakeColorBGR(1, 1, 1));
}
