#include "WKRN_JobWindowFixture.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/palettes/WKRN_MeasurementPanel.h"
#include "WKRN/palettes/WKRN_MeasurementWindow.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesApplied.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "WTLU/WTLU_MessageEvent.h"

#include <QLocale>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
const QString kNbsp = QString(QChar(0x00A0));
const QString kDegree = QString(QChar(0x00B0));

class MeasurementWindow : public WKRN_JobWindowTest
{
protected:
    void SetUp() override
    {
        WKRN_JobWindowTest::SetUp();
        job = Open(sheets.Make(WKRN_TestSheetSpec()));
        palette = std::make_unique<WKRN_MeasurementWindow>(*job);
    }
    void TearDown() override
    {
        palette.reset();
        WKRN_JobWindowTest::TearDown();
        // Back to the built-in table and the separators of "other" languages.
        WKRN_Language::Start({}, QLocale(QLocale::Russian));
        WKRN_Language::Stop();
    }
    static void Speak(QLocale::Language language)
    {
        WKRN_Language::Start({}, QLocale(language));
        WKRN_Language::Stop();
    }
    // What the job window relays from the view: a position, and an offset while dragging.
    void Relay(std::vector<double> values)
    {
        WTLU_MessageEvent::Send(job, JOBMSG_MEASUREMENT, 0, 0, std::move(values));
    }
    QString Value(int row) const { return palette->Row(row)->Value(); }

    WKRN_SheetWindow* job = nullptr;
    std::unique_ptr<WKRN_MeasurementWindow> palette;
};
} // namespace

TEST_F(MeasurementWindow, Layout_ThreeLabelledRowsOfTheDocumentedSize)
{
    EXPECT_EQ(palette->windowTitle(), QStringLiteral("Measurement"));
    EXPECT_EQ(palette->width(), 270);
    const QString labels[] = {QStringLiteral("Current ( h, v ) :"),
                              QStringLiteral("Delta ( h, v ) :"),
                              QStringLiteral("Distance | Angle :")};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(palette->Row(i)->Label(), labels[i]);
        EXPECT_EQ(palette->Row(i)->geometry(), QRect(0, 4 + 24 * i, 270, 24));
        EXPECT_TRUE(Value(i).isEmpty());
    }
    EXPECT_EQ(palette->Row(3), nullptr);
}

TEST_F(MeasurementWindow, RelayedValues_ReadInTheUnitAndLanguageOfTheRun)
{
    job->SetPalette(ID_WINDOW_MEASUREMENT, palette.get());
    struct Case
    {
        QLocale::Language language;
        int unit;
        QString position, offset, distance;
    };
    const Case cases[] = {
        {QLocale::English, 2, QStringLiteral("( 1,234.50, -3.25) in"),
         QStringLiteral("( 10.00, -10.00) in"), QStringLiteral("14.14 in  |  -45.0") + kDegree},
        {QLocale::German, 3, QStringLiteral("( 1.234,50, -3,25) mm"),
         QStringLiteral("( 10,00, -10,00) mm"), QStringLiteral("14,14 mm  |  -45,0") + kDegree},
        {QLocale::French, 3, QStringLiteral("( 1") + kNbsp + QStringLiteral("234,50, -3,25) mm"),
         QStringLiteral("( 10,00, -10,00) mm"), QStringLiteral("14,14 mm  |  -45,0") + kDegree},
        {QLocale::English, 1, QStringLiteral("( 1,234p6.00, -3p3.00) "),
         QStringLiteral("( 10p0.00, -10p0.00) "), QStringLiteral("14p1.71  |  -45.0") + kDegree},
        {QLocale::German, 1, QStringLiteral("( 1.234p6,00, -3p3,00) "),
         QStringLiteral("( 10p0,00, -10p0,00) "), QStringLiteral("14p1,71  |  -45,0") + kDegree},
        {QLocale::French, 2, QStringLiteral("( 1") + kNbsp + QStringLiteral("234,50, -3,25) in"),
         QStringLiteral("( 10,00, -10,00) in"), QStringLiteral("14,14 in  |  -45,0") + kDegree},
    };
    for (const Case& c : cases)
    {
        Speak(c.language);
        WKRN_Preferences::Current().PreferredLinearUnits = c.unit;
        palette->Clear();
        Relay({1234.5, -3.25, 10, -10});
        EXPECT_EQ(Value(0), c.position) << c.language << " unit " << c.unit;
        EXPECT_EQ(Value(1), c.offset) << c.language << " unit " << c.unit;
        EXPECT_EQ(Value(2), c.distance) << c.language << " unit " << c.unit;
    }
    // The palette, not the status bar, shows them.
    EXPECT_TRUE(job->statusBar()->currentMessage().isEmpty());
}

TEST_F(MeasurementWindow, PositionAlone_KeepsTheLastMeasurementUntilCleared)
{
    Speak(QLocale::English);
    WKRN_Preferences::Current().LinearUnitPrecision = 1;
    WKRN_Preferences::Current().AngularUnitPrecision = 0;
    double position[2] = {5, 6};
    double offset[2] = {0, 3};
    // Sent as the view sends it without a copy: pointers only.
    WTLU_MessageEvent::Send(palette.get(), JOBMSG_MEASUREMENT, reinterpret_cast<quintptr>(position),
                            reinterpret_cast<qintptr>(offset));
    EXPECT_EQ(Value(0), QStringLiteral("( 5.0, 6.0) pt"));
    EXPECT_EQ(Value(1), QStringLiteral("( 0.0, 3.0) pt"));
    EXPECT_EQ(Value(2), QStringLiteral("3.0 pt  |  +90") + kDegree);

    palette->ShowPosition(7, 8, 0);
    EXPECT_EQ(Value(0), QStringLiteral("( 7.0, 8.0) pt"));
    EXPECT_EQ(Value(2), QStringLiteral("3.0 pt  |  +90") + kDegree);

    // Values that are not numbers empty their rows rather than show garbage.
    palette->ShowMeasurement(std::nan(""), 1, 0);
    EXPECT_TRUE(Value(1).isEmpty());
    EXPECT_TRUE(Value(2).isEmpty());

    palette->Clear();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Value(i).isEmpty());
}

// New preferences show at once: the values on display move to the new unit and precision
// without waiting for the next measurement.
TEST_F(MeasurementWindow, PreferencesApplied_ShowTheValuesInTheNewUnitAtOnce)
{
    Speak(QLocale::English);
    job->SetPalette(ID_WINDOW_MEASUREMENT, palette.get());
    WKRN_Preferences::Current().PreferredLinearUnits = 0; // points
    WKRN_Preferences::Current().LinearUnitPrecision = 2;
    Relay({72, 36, 144, -72});
    EXPECT_EQ(Value(0), QStringLiteral("( 72.00, 36.00) pt"));

    WKRN_Preferences::Current().PreferredLinearUnits = 3; // millimetres
    WKRN_Preferences::Current().LinearUnitPrecision = 1;
    WKRN_PreferencesApplied::Notify();
    EXPECT_EQ(Value(0), QStringLiteral("( 25.4, 12.7) mm"));
    EXPECT_EQ(Value(1), QStringLiteral("( 50.8, -25.4) mm"));
    EXPECT_TRUE(Value(2).startsWith(QStringLiteral("56.8 mm"))) << Value(2).toStdString();

    // Nothing measured yet: nothing to show.
    palette->Clear();
    WKRN_PreferencesApplied::Notify();
    EXPECT_TRUE(Value(0).isEmpty());
}
