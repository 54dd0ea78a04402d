#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "WKRN/WKRN_Language.h"
#include "WKRN/WKRN_MeasurementPage.h"
#include "WKRN/WKRN_NavigationPreviewPane.h"
#include "WKRN/WKRN_Preferences.h"

#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSlider>

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
