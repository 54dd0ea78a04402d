// The separations palette on real job windows: what its rows do to the separations, what the job
// windows draw afterwards, and how a picked colour becomes a custom colour for every window.

#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/palettes/WKRN_InkSwatchControl.h"
#include "WKRN/palettes/WKRN_SeparationWindow.h"
#include "WKRN/palettes/WKRN_SeparationWindowRow.h"
#include "WKRN/palettes/WKRN_SeparationWindowSurfaceRow.h"
#include "WKRN/palettes/WKRN_TextBoxButton.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "IMPN/IMPN_ColorDatabaseFile.h"
#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_Sheet.h"
#include "WTLU/WTLU_ColorDialog.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>

namespace
{
constexpr std::uint32_t kStripe = 100;

// Four inks of the front, each in its own vertical stripe 100 pixels wide, in this order.
const char* const kFrontInks[] = {"Cyan", "Magenta", "Yellow", "Mauve"};

QColor ToQColor(const IMPN_ColorBGR& color)
{
    return QColor(color[2], color[1], color[0]);
}

class SeparationWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WKRN_Preferences::Current() = WKRN_PreferenceValues();
        IMPN_ColorDatabases::Global().LoadCustomColors(customFolder.Path());
        app = std::make_unique<WKRN_Tressida>(QPixmap());
        app->SetQuitAction([] {});
        previousPresenter = WTLU_ColorDialog::SetPresenter(
            [this](const WTLU_ColorDialog::Request& request) -> std::optional<QColor>
            {
                dialogStarts.push_back(request.initial);
                popUpWhileOpen.push_back(job != nullptr && job->PopUpInProgress());
                return dialogAnswer;
            });
    }
    void TearDown() override
    {
        WTLU_ColorDialog::SetPresenter(previousPresenter);
        palettes.clear();
        app.reset();
        WKRN_ProcessEvents();
        IMPN_ColorDatabases::Global().LoadCustomColors(std::nullopt);
        WKRN_Preferences::Current() = WKRN_PreferenceValues();
    }

    // Front: the four inks; back (when asked): Black over the whole width.
    IMPN_SheetReference Sheet(bool withBack = false)
    {
        WKRN_TestSheetSpec spec;
        spec.width = 4 * kStripe;
        spec.height = 300;
        spec.surfaces.clear();
        for (std::uint32_t i = 0; i < 4; ++i)
        {
            WKRN_TestSurface ink;
            ink.surface = 0;
            ink.ink = kFrontInks[i];
            ink.color = std::uint16_t(i < 3 ? i + 1 : 8);
            ink.fill = [i](std::uint32_t x, std::uint32_t) { return x / kStripe == i; };
            spec.surfaces.push_back(ink);
        }
        if (withBack)
        {
            WKRN_TestSurface black;
            black.surface = 1;
            black.ink = "Black";
            black.color = 4;
            black.fill = [](std::uint32_t, std::uint32_t) { return true; };
            spec.surfaces.push_back(black);
        }
        return sheets.Make(spec);
    }

    // A job window at 1:1 with its palette.
    WKRN_SeparationWindow* Open(const IMPN_SheetReference& sheet)
    {
        WKRN_SheetWindow* window = app->OpenJobWindow(sheet, QRect(20, 20, 700, 500), true);
        window->View()->SetTilePause({});
        window->View()->SetBackupMode(IMPN_SheetView::BackupPlates);
        window->View()->ZoomToLevel(IMPN_SheetView::kUnitLevel, true);
        window->View()->ScrollTo(0, 0, true);
        auto palette = std::make_unique<WKRN_SeparationWindow>(*window);
        palette->SetSheet(window->Sheet(), true);
        window->SetPalette(ID_WINDOW_SEPARATIONS, palette.get());
        palette->resize(palette->sizeHint());
        palette->show();
        palettes.push_back(std::move(palette));
        if (job == nullptr)
            job = window;
        return palettes.back().get();
    }

    // Paints what is invalid and waits for the painting to finish.
    static void Settle(WKRN_SheetWindow* window)
    {
        window->View()->viewport()->repaint();
        ASSERT_TRUE(
            QTest::qWaitFor([window] { return !window->View()->IsPaintingTimerActive(); }, 5000));
        WKRN_ProcessEvents();
    }
    // The canvas in the middle of the stripe of front ink i.
    static QColor StripePixel(WKRN_SheetWindow* window, int i)
    {
        return window->View()->Canvas().pixelColor(int(kStripe) * i + 50, 150);
    }

    static WKRN_SeparationWindowRow* Row(WKRN_SeparationWindow* palette, const char* ink)
    {
        for (WKRN_SeparationWindowRow* row : palette->Rows())
            if (row->Separation().GetName() == ink)
                return row;
        return nullptr;
    }
    static void ClickBox(WKRN_SeparationWindowRow* row,
                         Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QCheckBox* box = row->VisibilityBox();
        QTest::mouseClick(box, Qt::LeftButton, modifiers, box->rect().center());
    }
    static std::vector<bool> FrontVisibility(WKRN_SeparationWindow* palette)
    {
        std::vector<bool> visible;
        for (const char* ink : kFrontInks)
            visible.push_back(Row(palette, ink)->Separation().IsVisible());
        return visible;
    }

    WKRN_TestFolder customFolder;
    WKRN_TestSheets sheets;
    std::unique_ptr<WKRN_Tressida> app;
    std::vector<std::unique_ptr<WKRN_SeparationWindow>> palettes;
    WKRN_SheetWindow* job = nullptr;
    WTLU_ColorDialog::Presenter previousPresenter;
    std::optional<QColor> dialogAnswer;
    std::vector<QColor> dialogStarts;
    std::vector<bool> popUpWhileOpen;
};
} // namespace

TEST_F(SeparationWindowTest, HidingAnInk_RemovesItFromTheCanvas_OpacityFadesIt)
{
    WKRN_SeparationWindow* palette = Open(Sheet());
    Settle(job);
    const QColor magenta = StripePixel(job, 1);
    ASSERT_NE(magenta, QColor(Qt::white));
    const QColor cyan = StripePixel(job, 0);

    WKRN_SeparationWindowRow* row = Row(palette, "Magenta");
    ClickBox(row);
    EXPECT_FALSE(row->Separation().IsVisible());
    EXPECT_FALSE(row->VisibilityBox()->isChecked());
    Settle(job);
    EXPECT_EQ(StripePixel(job, 1), QColor(Qt::white));
    EXPECT_EQ(StripePixel(job, 0), cyan);

    ClickBox(row);
    Settle(job);
    EXPECT_EQ(StripePixel(job, 1), magenta);

    // Half opacity: the ink over white, halfway.
    row->OpacitySlider()->setValue(50);
    EXPECT_EQ(row->Separation().GetCurrentColor().opacity, 50);
    Settle(job);
    const QColor half = StripePixel(job, 1);
    EXPECT_GT(half.green(), magenta.green());
    EXPECT_LT(half.green(), 255);
}

TEST_F(SeparationWindowTest, CtrlClick_ShowsOnlyThatInkThenAllAgain_ShiftGivesTheSameState)
{
    WKRN_SeparationWindow* palette = Open(Sheet(true));
    WKRN_SeparationWindowRow* yellow = Row(palette, "Yellow");
    ClickBox(yellow, Qt::ControlModifier);
    EXPECT_EQ(FrontVisibility(palette), (std::vector<bool>{false, false, true, false}));
    EXPECT_TRUE(yellow->VisibilityBox()->isChecked());
    EXPECT_FALSE(Row(palette, "Cyan")->VisibilityBox()->isChecked());
    // The other surface is not touched.
    EXPECT_TRUE(Row(palette, "Black")->Separation().IsVisible());
    Settle(job);
    EXPECT_EQ(StripePixel(job, 0), QColor(Qt::white));
    EXPECT_NE(StripePixel(job, 2), QColor(Qt::white));

    ClickBox(yellow, Qt::ControlModifier);
    EXPECT_EQ(FrontVisibility(palette), (std::vector<bool>{true, true, true, true}));
    Settle(job);
    EXPECT_NE(StripePixel(job, 0), QColor(Qt::white));

    // Ctrl on a hidden ink shows it alone.
    ClickBox(Row(palette, "Cyan"));
    ClickBox(Row(palette, "Cyan"), Qt::ControlModifier);
    EXPECT_EQ(FrontVisibility(palette), (std::vector<bool>{true, false, false, false}));

    // Shift: every ink of the surface takes the clicked one's new state.
    ClickBox(Row(palette, "Mauve"), Qt::ShiftModifier);
    EXPECT_EQ(FrontVisibility(palette), (std::vector<bool>{true, true, true, true}));
    ClickBox(Row(palette, "Mauve"), Qt::ShiftModifier);
    EXPECT_EQ(FrontVisibility(palette), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(Row(palette, "Black")->Separation().IsVisible());
}

TEST_F(SeparationWindowTest, PickedColourForUnknownInk_IsKeptAndReachesEveryJobWindow)
{
    WKRN_SeparationWindow* first = Open(Sheet());
    WKRN_SeparationWindow* second = Open(Sheet());
    WKRN_SheetWindow* other = app->JobWindows().back();
    ASSERT_NE(other, job);
    IMPN_Separation& mauve = Row(first, "Mauve")->Separation();
    ASSERT_TRUE(mauve.GetDecidedColor().isDefault);
    ASSERT_EQ(ToQColor(mauve.GetCurrentColor().color), QColor(153, 153, 153));

    Row(first, "Mauve")->OpacitySlider()->setValue(40);
    dialogAnswer = QColor(200, 30, 90);
    QTest::mouseClick(Row(first, "Mauve")->Swatch(), Qt::LeftButton);
    ASSERT_EQ(dialogStarts.size(), 1u);
    EXPECT_EQ(dialogStarts[0], QColor(153, 153, 153));
    EXPECT_EQ(popUpWhileOpen, std::vector<bool>{true});
    EXPECT_FALSE(job->PopUpInProgress());
    EXPECT_EQ(ToQColor(mauve.GetCurrentColor().color), QColor(200, 30, 90));
    EXPECT_EQ(mauve.GetCurrentColor().opacity, 100);
    EXPECT_EQ(Row(first, "Mauve")->OpacitySlider()->value(), 100);

    // Kept under the ink's name, in memory and in the file.
    const auto kept = IMPN_ColorDatabases::Global().LookUpCustomColor("Mauve");
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(ToQColor(*kept), QColor(200, 30, 90));
    const auto file = IMPN_ColorDatabaseFile::Read(customFolder.Path() / "Custom.colordb").database;
    ASSERT_NE(file.Find("Mauve"), nullptr);
    EXPECT_EQ(ToQColor(file.Find("Mauve")->BGR()), QColor(200, 30, 90));

    // The other job window takes it up when the application window passes the change on.
    WKRN_ProcessEvents();
    IMPN_Separation& otherMauve = Row(second, "Mauve")->Separation();
    EXPECT_EQ(ToQColor(otherMauve.GetCurrentColor().color), QColor(200, 30, 90));
    EXPECT_FALSE(otherMauve.GetDecidedColor().isDefault);
    EXPECT_EQ(Row(second, "Mauve")->Swatch()->ShownColor(), QColor(200, 30, 90));
    Settle(other);
    EXPECT_EQ(StripePixel(other, 3), QColor(200, 30, 90));
    Settle(job);
    EXPECT_EQ(StripePixel(job, 3), QColor(200, 30, 90));
}

TEST_F(SeparationWindowTest, PickedColourForKnownInk_StaysInThisWindow_CancelChangesNothing)
{
    WKRN_SeparationWindow* first = Open(Sheet());
    WKRN_SeparationWindow* second = Open(Sheet());
    const IMPN_ColorRecord cyanBefore = Row(second, "Cyan")->Separation().GetCurrentColor();

    dialogAnswer.reset();
    QTest::mouseClick(Row(first, "Cyan")->Swatch(), Qt::LeftButton);
    EXPECT_EQ(Row(first, "Cyan")->Separation().GetCurrentColor(), cyanBefore);
    EXPECT_FALSE(job->PopUpInProgress());

    dialogAnswer = QColor(10, 200, 10);
    QTest::mouseClick(Row(first, "Cyan")->Swatch(), Qt::LeftButton);
    WKRN_ProcessEvents();
    EXPECT_EQ(ToQColor(Row(first, "Cyan")->Separation().GetCurrentColor().color),
              QColor(10, 200, 10));
    EXPECT_EQ(Row(second, "Cyan")->Separation().GetCurrentColor(), cyanBefore);
    EXPECT_FALSE(IMPN_ColorDatabases::Global().LookUpCustomColor("Cyan").has_value());
    EXPECT_TRUE(IMPN_ColorDatabases::Global().CustomColors().Empty());
    Settle(job);
    EXPECT_EQ(StripePixel(job, 0), QColor(10, 200, 10));

    // Ctrl-click on the swatch gives back the decided colour, and the slider follows.
    Row(first, "Cyan")->OpacitySlider()->setValue(30);
    QTest::mouseClick(Row(first, "Cyan")->Swatch(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Row(first, "Cyan")->Separation().GetCurrentColor(), cyanBefore);
    EXPECT_EQ(Row(first, "Cyan")->OpacitySlider()->value(), 100);
    EXPECT_EQ(dialogStarts.size(), 2u);
}

TEST_F(SeparationWindowTest, FailedSave_WarnsAndKeepsTheColourForTheRun)
{
    WKRN_SeparationWindow* palette = Open(Sheet());
    // The folder of the custom colours becomes a file: nothing can be written there now.
    std::filesystem::remove_all(customFolder.Path());
    std::ofstream(customFolder.Path()) << "in the way";
    WKRN_RecordedBoxes boxes;
    dialogAnswer = QColor(1, 2, 3);
    QTest::mouseClick(Row(palette, "Mauve")->Swatch(), Qt::LeftButton);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].caption.endsWith(QStringLiteral("Custom Colors Not Saved")));
    EXPECT_NE(boxes.Boxes()[0].style & WTLU_MB_ICONMASK, 0u);
    EXPECT_FALSE(job->PopUpInProgress());
    const auto kept = IMPN_ColorDatabases::Global().LookUpCustomColor("Mauve");
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(ToQColor(*kept), QColor(1, 2, 3));
    WKRN_ProcessEvents();
    EXPECT_EQ(ToQColor(Row(palette, "Mauve")->Separation().GetCurrentColor().color),
              QColor(1, 2, 3));
    std::filesystem::remove(customFolder.Path());
    std::filesystem::create_directories(customFolder.Path());
}

TEST_F(SeparationWindowTest, Refresh_DropsColoursNotKept_AndTheSlidersFollow)
{
    WKRN_SeparationWindow* palette = Open(Sheet());
    WKRN_SeparationWindowRow* cyan = Row(palette, "Cyan");
    const IMPN_ColorRecord decided = cyan->Separation().GetDecidedColor();
    dialogAnswer = QColor(0, 0, 0);
    QTest::mouseClick(cyan->Swatch(), Qt::LeftButton);
    cyan->OpacitySlider()->setValue(20);
    ASSERT_EQ(cyan->Separation().GetCurrentColor().opacity, 20);
    job->RefreshColours();
    EXPECT_EQ(cyan->Separation().GetCurrentColor(), decided);
    EXPECT_EQ(cyan->OpacitySlider()->value(), 100);
    EXPECT_EQ(cyan->Swatch()->Color(), decided);
}

TEST_F(SeparationWindowTest, Groups_FacingSurfaceFirst_SurfaceSlidersSetAndFollowOpacity)
{
    WKRN_SeparationWindow* palette = Open(Sheet(true));
    IMPN_Sheet& sheet = *palette->Sheet();
    WKRN_SeparationWindowSurfaceRow* front = palette->SurfaceRowOf(sheet.GetFrontSurface());
    WKRN_SeparationWindowSurfaceRow* back = palette->SurfaceRowOf(sheet.GetBackSurface());
    ASSERT_NE(front, nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(front->y(), WKRN_SeparationWindow::kTopMargin);
    EXPECT_EQ(Row(palette, "Cyan")->y(), front->y() + WKRN_SeparationWindowSurfaceRow::kHeight);
    EXPECT_EQ(back->y(),
              Row(palette, "Mauve")->geometry().bottom() + 1 + WKRN_SeparationWindow::kGroupGap);
    EXPECT_EQ(palette->sizeHint().width(), 270);
    EXPECT_EQ(palette->Rows().front()->Separation().GetName(), "Cyan");

    // The back faces the viewer: its group comes first.
    job->View()->FlipSheet();
    WTLU_MessageEvent::Send(palette, SEPMSG_FACING, 0);
    EXPECT_FALSE(palette->FrontFaces());
    EXPECT_EQ(back->y(), WKRN_SeparationWindow::kTopMargin);
    EXPECT_GT(front->y(), Row(palette, "Black")->y());
    EXPECT_EQ(palette->Rows().front()->Separation().GetName(), "Black");

    // The job window's opacity commands move the slider of the surface facing the viewer.
    job->Execute(ID_SHEET_LESS_OPAQUE);
    EXPECT_EQ(sheet.GetBackSurface().GetOpacity(), 95);
    EXPECT_EQ(back->OpacitySlider()->value(), 95);
    EXPECT_EQ(front->OpacitySlider()->value(), 100);
    // The slider sets its surface's opacity, whichever surface faces the viewer.
    front->OpacitySlider()->setValue(30);
    EXPECT_EQ(sheet.GetFrontSurface().GetOpacity(), 30);
    EXPECT_EQ(sheet.GetBackSurface().GetOpacity(), 95);

    WTLU_MessageEvent::Send(palette, SEPMSG_FACING, 1);
    EXPECT_EQ(front->y(), WKRN_SeparationWindow::kTopMargin);
}

TEST_F(SeparationWindowTest, NarrowPalette_DropsNameFieldsThenSliders)
{
    WKRN_SeparationWindow* palette = Open(Sheet());
    WKRN_SeparationWindowRow* row = Row(palette, "Cyan");
    WKRN_SeparationWindowSurfaceRow* front =
        palette->SurfaceRowOf(palette->Sheet()->GetFrontSurface());
    struct Case
    {
        int width;
        bool nameField;
        bool slider;
        const char* surfaceName;
    };
    for (const Case& c : {Case{270, true, true, "Front Surface"},
                          Case{140, true, true, "Front Surface"}, Case{139, false, true, "Front"},
                          Case{101, false, true, "Front"}, Case{100, false, false, "Front"}})
    {
        palette->resize(c.width, palette->height());
        EXPECT_EQ(row->NameField()->isVisible(), c.nameField) << c.width;
        EXPECT_EQ(row->OpacitySlider()->isVisible(), c.slider) << c.width;
        EXPECT_EQ(front->OpacitySlider()->isVisible(), c.slider) << c.width;
        EXPECT_EQ(front->NameLabel()->text(), QString::fromLatin1(c.surfaceName)) << c.width;
        EXPECT_TRUE(row->Swatch()->isVisible()) << c.width;
        // Nothing reaches past the right edge.
        for (QWidget* part :
             {static_cast<QWidget*>(row->Swatch()), static_cast<QWidget*>(row->OpacitySlider()),
              static_cast<QWidget*>(row->NameField())})
        {
            if (part->isVisible())
            {
                EXPECT_LE(part->geometry().right(), c.width) << c.width;
            }
        }
    }
    palette->resize(139, palette->height());
    EXPECT_EQ(front->OpacitySlider()->x(), WKRN_SeparationWindowSurfaceRow::kShortSliderLeft);
    EXPECT_EQ(front->OpacitySlider()->x() + front->OpacitySlider()->width(), 139 - 5);
}

TEST_F(SeparationWindowTest, NameField_CyclesItsTexts_ShiftMovesEveryRow)
{
    WKRN_TestSheetSpec spec;
    spec.surfaces.clear();
    WKRN_TestSurface process;
    process.ink = "Rubine";
    process.color = 8;
    process.inkNames = "Rubine";
    process.cmykEquivalent = std::array<std::uint16_t, 4>{0, 65535, 32767, 655};
    WKRN_TestSurface spot;
    spot.ink = "Mauve";
    spot.color = 9;
    spec.surfaces = {process, spot};
    WKRN_SeparationWindow* palette = Open(sheets.Make(spec));
    WKRN_TextBoxButton* rubine = Row(palette, "Rubine")->NameField();
    WKRN_TextBoxButton* mauve = Row(palette, "Mauve")->NameField();
    ASSERT_EQ(rubine->Texts().size(), 3);
    EXPECT_EQ(rubine->Text(), QStringLiteral("Rubine"));
    EXPECT_EQ(rubine->Texts()[2], QStringLiteral("CMYK[ 0, 100, 49, 0 ]"));
    EXPECT_TRUE(rubine->Texts()[1].endsWith(QStringLiteral(".tif")));
    EXPECT_FALSE(rubine->Texts()[1].contains(QLatin1Char('/')));
    ASSERT_EQ(mauve->Texts().size(), 2);

    QTest::mouseClick(rubine, Qt::LeftButton);
    EXPECT_EQ(rubine->Index(), 1);
    EXPECT_EQ(mauve->Index(), 0);
    QTest::mouseClick(rubine, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(rubine->Index(), 2);
    // The spot ink has no CMYK text: it keeps what it shows.
    EXPECT_EQ(mauve->Index(), 0);
    QTest::mouseClick(rubine, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(rubine->Index(), 0);
    QTest::mouseClick(mauve, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(mauve->Index(), 1);
    EXPECT_EQ(rubine->Index(), 1);
    QTest::mouseClick(mauve, Qt::LeftButton);
    EXPECT_EQ(mauve->Text(), QStringLiteral("Mauve"));
}
