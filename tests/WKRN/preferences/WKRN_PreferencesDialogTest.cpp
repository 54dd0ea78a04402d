#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/palettes/CColorButton.h"
#include "WKRN/palettes/CColorPopup.h"
#include "WKRN/preferences/WKRN_InkCoveragePage.h"
#include "WKRN/preferences/WKRN_MeasurementPage.h"
#include "WKRN/preferences/WKRN_NavigationPage.h"
#include "WKRN/preferences/WKRN_NavigationPreviewPane.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesDialog.h"
#include "WKRN/preferences/WKRN_SheetViewPage.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{
const QString kDegree = QString(QChar(0x00B0));

QColor Rgb(int red, int green, int blue)
{
    return QColor(red, green, blue);
}

class PreferencesSandbox : public ::testing::Test
{
protected:
    void SetUp() override { WKRN_Preferences::Current() = WKRN_PreferenceValues(); }
    void TearDown() override
    {
        WKRN_Preferences::Current() = WKRN_PreferenceValues();
        WKRN_Preferences::SetStorePath({});
        WKRN_Language::Start({}, QLocale(QLocale::Russian));
        WKRN_Language::Stop();
    }
};

QColor ColorOf(const WKRN_ColorBytes& bytes)
{
    return QColor(bytes.red, bytes.green, bytes.blue);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Chooses the default item of a colour button's drop-down as the user does.
void ChooseDefault(CColorButton* button)
{
    button->ShowPopup();
    ASSERT_NE(button->Popup(), nullptr);
    QTest::mouseClick(button->Popup()->DefaultItem(), Qt::LeftButton);
}

// Shows the dialog and opens each listed page, as the user would by its tab.
void Visit(WKRN_PreferencesDialog& dialog, std::initializer_list<int> pages)
{
    dialog.show();
    for (int page : pages)
        dialog.Tabs()->setCurrentIndex(page);
}

class PreferencesDialog : public PreferencesSandbox
{
protected:
    void SetUp() override
    {
        PreferencesSandbox::SetUp();
        store = folder.File("Varnex.conf");
        WKRN_Preferences::SetStorePath(store);
    }
    WKRN_TestFolder folder;
    QString store;
};

using MeasurementPage = PreferencesSandbox;
using NavigationPreview = PreferencesSandbox;
} // namespace

TEST_F(MeasurementPage, Sample_FollowsUnitAndPrecisions)
{
    WKRN_Language::Start({}, QLocale(QLocale::English));
    WKRN_Language::Stop();
    WKRN_PreferenceValues values;
    values.PreferredLinearUnits = 3;
    values.LinearUnitPrecision = 4;
    values.AngularUnitPrecision = 0;
    WKRN_MeasurementPage page(values);
    // The controls start from the preferences given.
    EXPECT_EQ(page.Units()->currentRow(), 3);
    EXPECT_EQ(page.LinearPrecision()->value(), 4);
    EXPECT_EQ(page.AngularPrecision()->value(), 0);
    ASSERT_EQ(page.Units()->count(), 5);
    EXPECT_EQ(page.Units()->item(1)->text(), QStringLiteral("picas"));
    EXPECT_EQ(page.SampleText(), QStringLiteral("1,234.5679 mm  |  +123") + kDegree);

    page.Units()->setCurrentRow(0);
    page.LinearPrecision()->setValue(2);
    page.AngularPrecision()->setValue(1);
    EXPECT_EQ(page.SampleText(), QStringLiteral("1,234.57 pt  |  +123.5") + kDegree);
    page.Units()->setCurrentRow(1);
    page.AngularPrecision()->setValue(6);
    EXPECT_EQ(page.SampleText(), QStringLiteral("1,234p6.81  |  +123.456790") + kDegree);
    page.LinearPrecision()->setValue(0);
    EXPECT_EQ(page.SampleText(), QStringLiteral("1,234p7  |  +123.456790") + kDegree);

    // The separators are those of the run's language.
    WKRN_Language::Start({}, QLocale(QLocale::German));
    WKRN_Language::Stop();
    page.Units()->setCurrentRow(4);
    EXPECT_EQ(page.SampleText(), QStringLiteral("1.235 cm  |  +123,456790") + kDegree);

    WKRN_PreferenceValues stored;
    page.Store(stored);
    EXPECT_EQ(stored.PreferredLinearUnits, 4);
    EXPECT_EQ(stored.LinearUnitPrecision, 0);
    EXPECT_EQ(stored.AngularUnitPrecision, 6);
}

TEST_F(NavigationPreview, Veil_FogOutsideAndAOnePixelOutline)
{
    QImage thumbnail(20, 10, QImage::Format_RGB32);
    thumbnail.fill(Rgb(200, 100, 0));
    const QRect view(5, 2, 8, 5);
    const WKRN_NavigationColor outline{0, 0, 255, 100}; // red, opaque
    const WKRN_NavigationColor fog{255, 255, 255, 60};  // white at 60 percent
    const QImage picture = WKRN_NavigationPreviewPane::Veil(thumbnail, view, outline, fog);
    // Inside the frame the thumbnail is untouched.
    EXPECT_EQ(picture.pixelColor(8, 4), Rgb(200, 100, 0));
    EXPECT_EQ(picture.pixelColor(6, 3), Rgb(200, 100, 0));
    // The frame is the outline colour all round.
    for (const QPoint p : {QPoint(5, 2), QPoint(12, 2), QPoint(5, 6), QPoint(12, 6), QPoint(9, 2)})
        EXPECT_EQ(picture.pixelColor(p), Rgb(255, 0, 0)) << p.x() << "," << p.y();
    // Outside, the thumbnail is laid over white with alpha 40 x 255 / 100 = 102.
    const QColor fogged = picture.pixelColor(0, 0);
    EXPECT_NEAR(fogged.red(), 255 + (200 - 255) * 102 / 255, 1);
    EXPECT_NEAR(fogged.green(), 255 + (100 - 255) * 102 / 255, 1);
    EXPECT_NEAR(fogged.blue(), 255 + (0 - 255) * 102 / 255, 1);

    // No fog leaves the plain thumbnail; a faint outline lets the thumbnail through.
    const QImage clear =
        WKRN_NavigationPreviewPane::Veil(thumbnail, view, {0, 0, 255, 25}, {0, 0, 0, 0});
    EXPECT_EQ(clear.pixelColor(0, 0), Rgb(200, 100, 0));
    const QColor faint = clear.pixelColor(5, 2);
    EXPECT_NEAR(faint.red(), 200 + (255 - 200) * (255 - 191) / 255, 1);
    EXPECT_NEAR(faint.green(), 100 * 191 / 255, 1);

    // A view rectangle outside the picture draws no outline and does not fail.
    const QImage none =
        WKRN_NavigationPreviewPane::Veil(thumbnail, QRect(50, 50, 4, 4), outline, fog);
    EXPECT_EQ(none.pixelColor(0, 0), fogged);
}

TEST_F(NavigationPreview, Pane_FollowsItsColours)
{
    WKRN_NavigationPreviewPane pane;
    const QRect view = pane.ViewRect();
    pane.SetOutline({0, 255, 0, 100});
    pane.SetFog({0, 0, 0, 75});
    QImage picture = pane.Picture();
    EXPECT_EQ(picture.pixelColor(view.topLeft()), Rgb(0, 255, 0));
    const QColor before = picture.pixelColor(1, 1);
    pane.SetFog({0, 0, 255, 75});
    picture = pane.Picture();
    EXPECT_GT(picture.pixelColor(1, 1).red(), before.red());
    EXPECT_EQ(pane.Fog(), (WKRN_NavigationColor{0, 0, 255, 75}));
}

TEST_F(PreferencesDialog, Pages_StartFromTheCurrentPreferences)
{
    WKRN_PreferenceValues& current = WKRN_Preferences::Current();
    current.PressSheetEdgeColor = {1, 2, 3};
    current.BleedEdgeColor = {4, 5, 6};
    current.PageEdgeColor = {7, 8, 9};
    current.ShowImpositionOnOpen = true;
    current.DefaultSpotColor = {10, 11, 12};
    current.NavigationFrame = {20, 21, 22, 40};
    current.NavigationScreen = {30, 31, 32, 10};
    current.ZoomToFitWindowOnOpen = true;
    current.PreferredLinearUnits = 2;
    current.LinearUnitPrecision = 5;
    current.AngularUnitPrecision = 3;
    current.DensitometerAperture = 2345;
    current.InkLimit = 280;

    WKRN_PreferencesDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Preferences"));
    ASSERT_EQ(dialog.Tabs()->count(), 4);
    EXPECT_EQ(dialog.Tabs()->tabText(0), QStringLiteral("Sheet"));
    EXPECT_EQ(dialog.Tabs()->tabText(1), QStringLiteral("Navigation"));
    EXPECT_EQ(dialog.Tabs()->tabText(2), QStringLiteral("Measurement"));
    EXPECT_EQ(dialog.Tabs()->tabText(3), QStringLiteral("Ink Coverage"));

    const WKRN_SheetViewPage* sheet = dialog.SheetPage();
    EXPECT_EQ(sheet->PressSheetEdge()->Color(), ColorOf({1, 2, 3}));
    EXPECT_EQ(sheet->BleedEdges()->Color(), ColorOf({4, 5, 6}));
    EXPECT_EQ(sheet->PageEdges()->Color(), ColorOf({7, 8, 9}));
    EXPECT_TRUE(sheet->ShowImposition()->isChecked());
    EXPECT_EQ(sheet->UnknownInks()->Color(), ColorOf({10, 11, 12}));
    EXPECT_EQ(sheet->BleedEdges()->DefaultText(), QStringLiteral("Default Color"));
    EXPECT_EQ(sheet->BleedEdges()->CustomText(), QStringLiteral("Color Picker..."));

    const WKRN_NavigationPage* navigation = dialog.NavigationPage();
    EXPECT_EQ(navigation->Outline(), (WKRN_NavigationColor{20, 21, 22, 40}));
    EXPECT_EQ(navigation->Fog(), (WKRN_NavigationColor{30, 31, 32, 10}));
    EXPECT_EQ(navigation->Preview()->Outline(), navigation->Outline());
    EXPECT_EQ(navigation->Preview()->Fog(), navigation->Fog());
    EXPECT_TRUE(navigation->ZoomToFit()->isChecked());
    EXPECT_EQ(navigation->OutlineOpacity()->minimum(), 25);
    EXPECT_EQ(navigation->FogOpacity()->maximum(), 75);

    EXPECT_EQ(dialog.MeasurementPage()->Units()->currentRow(), 2);
    EXPECT_EQ(dialog.MeasurementPage()->LinearPrecision()->value(), 5);
    EXPECT_EQ(dialog.MeasurementPage()->AngularPrecision()->value(), 3);

    EXPECT_EQ(dialog.InkCoveragePage()->Aperture()->text(), QStringLiteral("2.345 mm"));
    EXPECT_EQ(dialog.InkCoveragePage()->InkLimit()->text(), QStringLiteral("280 %"));
}

TEST_F(PreferencesDialog, Ok_WritesTheStoreAtOnce_DefaultItemsGiveTheDocumentedDefaults)
{
    WKRN_Preferences::Current().BleedEdgeColor = {1, 1, 1};
    WKRN_Preferences::Current().NavigationFrame = {1, 1, 1, 30};
    WKRN_PreferencesDialog dialog;
    Visit(dialog, {0, 1, 2});
    WKRN_SheetViewPage* sheet = dialog.SheetPage();
    ChooseDefault(sheet->BleedEdges());
    sheet->PressSheetEdge()->SetColor(QColor(200, 0, 200));
    sheet->ShowImposition()->setChecked(true);
    WKRN_NavigationPage* navigation = dialog.NavigationPage();
    ChooseDefault(navigation->OutlineColor());
    navigation->OutlineOpacity()->setValue(80);
    navigation->FogColor()->SetColor(QColor(0, 0, 90));
    navigation->FogOpacity()->setValue(0);
    // The preview follows the controls before anything is stored.
    EXPECT_EQ(navigation->Preview()->Fog(), (WKRN_NavigationColor{90, 0, 0, 0}));
    dialog.MeasurementPage()->Units()->setCurrentRow(3);
    dialog.MeasurementPage()->AngularPrecision()->setValue(4);
    sheet->TileMemory()->setValue(768);
    Visit(dialog, {3});
    // Typed as the user types: a micrometre value survives the millimetre field exactly.
    dialog.InkCoveragePage()->Aperture()->setValue(0.987);
    dialog.InkCoveragePage()->InkLimit()->setValue(320);
    // Typed past its end, the measuring area stops at 5 mm.
    dialog.InkCoveragePage()->InkLimitArea()->setValue(7.5);
    QTableWidget* presets = dialog.InkCoveragePage()->Presets();
    ASSERT_EQ(presets->rowCount(), 2);                 // the two presses of the defaults
    dialog.InkCoveragePage()->RemovePreset()->click(); // none chosen: nothing goes
    presets->setCurrentCell(0, 0);
    dialog.InkCoveragePage()->RemovePreset()->click();
    dialog.InkCoveragePage()->AddPreset()->click();
    presets->item(1, 0)->setText(QStringLiteral("Sheetfed 74"));
    qobject_cast<QDoubleSpinBox*>(presets->cellWidget(1, 1))->setValue(36.25);
    qobject_cast<QSpinBox*>(presets->cellWidget(1, 2))->setValue(2000);
    dialog.accept();

    const WKRN_PreferenceValues stored = WKRN_Preferences::Read(store);
    EXPECT_EQ(stored.BleedEdgeColor, (WKRN_ColorBytes{0, 0, 255})); // red
    EXPECT_EQ(stored.PressSheetEdgeColor, (WKRN_ColorBytes{200, 0, 200}));
    EXPECT_TRUE(stored.ShowImpositionOnOpen);
    EXPECT_EQ(stored.NavigationFrame, (WKRN_NavigationColor{0, 255, 255, 80})); // yellow
    EXPECT_EQ(stored.NavigationScreen, (WKRN_NavigationColor{90, 0, 0, 0}));
    EXPECT_EQ(stored.PreferredLinearUnits, 3);
    EXPECT_EQ(stored.AngularUnitPrecision, 4);
    EXPECT_EQ(stored.TileMemory, 768);
    EXPECT_EQ(stored.DensitometerAperture, 987);
    EXPECT_EQ(stored.InkLimit, 320);
    EXPECT_EQ(stored.InkLimitArea, 5000);
    EXPECT_EQ(stored.ZonePresets,
              (std::vector<WKRN_ZonePreset>{{QString(), 30000, 23},
                                            {QStringLiteral("Sheetfed 74"), 36250, 1024}}));
    EXPECT_EQ(stored, WKRN_Preferences::Current());
}

TEST_F(PreferencesDialog, Cancel_LeavesTheStoreByteForByte)
{
    WKRN_Preferences::Current().PageEdgeColor = {3, 2, 1};
    WKRN_Preferences::WritePreferences();
    const QByteArray before = FileBytes(store);
    ASSERT_FALSE(before.isEmpty());
    const WKRN_PreferenceValues current = WKRN_Preferences::Current();

    WKRN_PreferencesDialog dialog;
    Visit(dialog, {0, 1, 2});
    dialog.SheetPage()->PageEdges()->SetColor(QColor(9, 9, 9));
    dialog.NavigationPage()->FogOpacity()->setValue(75);
    dialog.MeasurementPage()->LinearPrecision()->setValue(0);
    dialog.reject();
    EXPECT_EQ(FileBytes(store), before);
    EXPECT_EQ(WKRN_Preferences::Current(), current);
}

TEST_F(PreferencesDialog, UnshownPage_KeepsItsStoredValues)
{
    // Opacities the sliders cannot show (outline 25 to 100, fog 0 to 75).
    WKRN_Preferences::Current().NavigationFrame = {1, 2, 3, 10};
    WKRN_Preferences::Current().NavigationScreen = {4, 5, 6, 90};
    WKRN_Preferences::Current().LinearUnitPrecision = 6;
    WKRN_PreferencesDialog dialog;
    Visit(dialog, {});
    dialog.SheetPage()->PressSheetEdge()->SetColor(QColor(1, 2, 3));
    dialog.accept();
    WKRN_PreferenceValues stored = WKRN_Preferences::Read(store);
    EXPECT_EQ(stored.PressSheetEdgeColor, (WKRN_ColorBytes{3, 2, 1}));
    EXPECT_EQ(stored.NavigationFrame, (WKRN_NavigationColor{1, 2, 3, 10}));
    EXPECT_EQ(stored.NavigationScreen, (WKRN_NavigationColor{4, 5, 6, 90}));
    EXPECT_EQ(stored.LinearUnitPrecision, 6);

    // Once the page has been seen, what it shows is what is stored.
    WKRN_PreferencesDialog second;
    Visit(second, {1});
    second.accept();
    stored = WKRN_Preferences::Read(store);
    EXPECT_EQ(stored.NavigationFrame, (WKRN_NavigationColor{1, 2, 3, 25}));
    EXPECT_EQ(stored.NavigationScreen, (WKRN_NavigationColor{4, 5, 6, 75}));
    EXPECT_EQ(stored.LinearUnitPrecision, 6);
}

namespace
{
class PreferencesDialogJob : public PreferencesDialog
{
protected:
    void SetUp() override
    {
        PreferencesDialog::SetUp();
        app = std::make_unique<WKRN_Tressida>(QPixmap());
        app->SetQuitAction([] {});
    }
    void TearDown() override
    {
        app.reset();
        WKRN_ProcessEvents();
        PreferencesDialog::TearDown();
    }
    // Waits until the view has painted everything it lists.
    static void Settle(WKRN_SheetView* view)
    {
        view->viewport()->repaint();
        ASSERT_TRUE(QTest::qWaitFor([view] { return !view->IsPaintingTimerActive(); }, 5000));
        WKRN_ProcessEvents();
    }
    static std::vector<QPoint> PixelsOf(const QImage& canvas, const QColor& color)
    {
        std::vector<QPoint> found;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (canvas.pixelColor(x, y) == color)
                    found.emplace_back(x, y);
        return found;
    }

    WKRN_TestSheets sheets;
    std::unique_ptr<WKRN_Tressida> app;
};
} // namespace

TEST_F(PreferencesDialogJob, Ok_RepaintsOpenJobWindowsWithTheNewEdgeColour_InksKeepTheirColours)
{
    WKRN_Preferences::Current().ShowImpositionOnOpen = true;
    WKRN_TestSheetSpec spec;
    spec.width = 400;
    spec.height = 300;
    spec.surfaces[0].fill = [](std::uint32_t x, std::uint32_t) { return x >= 200; };
    WKRN_SheetWindow* job = app->OpenJobWindow(sheets.Make(spec), QRect(20, 20, 700, 500), true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(job));
    WKRN_SheetView* view = job->View();
    view->ZoomToLevel(3, true);
    // An ink colour the user picked for this job.
    IMPN_Separation* black = job->Sheet()->GetFrontSurface().GetSeparation(0);
    ASSERT_NE(black, nullptr);
    IMPN_ColorRecord picked = black->GetCurrentColor();
    picked.color = {0, 128, 0}; // B, G, R: dark green
    black->SetCurrentColor(picked);
    view->Redraw();
    Settle(view);

    const QColor oldEdge = ColorOf(WKRN_Preferences::Current().PressSheetEdgeColor);
    const std::vector<QPoint> edge = PixelsOf(view->Canvas(), oldEdge);
    ASSERT_FALSE(edge.empty());
    const std::vector<QPoint> ink = PixelsOf(view->Canvas(), QColor(0, 128, 0));
    ASSERT_FALSE(ink.empty());

    // Through the menu command, as the user opens it; the dialog is modal.
    const QColor newEdge(255, 0, 255);
    QTimer::singleShot(0,
                       [newEdge]
                       {
                           auto* dialog = qobject_cast<WKRN_PreferencesDialog*>(
                               QApplication::activeModalWidget());
                           ASSERT_NE(dialog, nullptr);
                           dialog->SheetPage()->PressSheetEdge()->SetColor(newEdge);
                           dialog->accept();
                       });
    job->Execute(ID_EDIT_PREFERENCES);
    Settle(view);

    const QImage canvas = view->Canvas();
    for (const QPoint& p : edge)
        ASSERT_EQ(canvas.pixelColor(p), newEdge) << p.x() << "," << p.y();
    EXPECT_TRUE(PixelsOf(canvas, oldEdge).empty());
    for (const QPoint& p : ink)
        ASSERT_EQ(canvas.pixelColor(p), QColor(0, 128, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(WKRN_Preferences::Read(store).PressSheetEdgeColor, (WKRN_ColorBytes{255, 0, 255}));
}
