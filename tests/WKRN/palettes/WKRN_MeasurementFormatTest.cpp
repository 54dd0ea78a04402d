#include "WKRN_TestSupport.h"

#include "WKRN/palettes/WKRN_MeasurementFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
enum Language
{
    Other = 0,
    English = 1,
    German = 2,
    Spanish = 3,
    French = 4,
    Italian = 5,
    Japanese = 6,
    Chinese = 7
};
enum Unit
{
    Points = 0,
    Picas = 1,
    Inches = 2,
    Millimetres = 3,
    Centimetres = 4
};

const std::array<QString, 5> kUnits{QStringLiteral("pt"), QStringLiteral("p"), QStringLiteral("in"),
                                    QStringLiteral("mm"), QStringLiteral("cm")};

WKRN_MeasurementFormat In(int language)
{
    return WKRN_MeasurementFormat(language, kUnits);
}

const QString kNbsp = QString(QChar(0x00A0));
const QString kDegree = QString(QChar(0x00B0));

struct NumberCase
{
    int language;
    double value;
    int decimals;
    bool isSigned;
    QString text;
};
} // namespace

TEST(WKRN_MeasurementFormat, Number_SeparatorsRoundingAndSigns)
{
    const NumberCase cases[] = {
        {English, 1234.5, 2, false, QStringLiteral("1,234.50")},
        {German, 1234.56, 1, false, QStringLiteral("1.234,6")},
        {French, 1234.56, 1, false, QStringLiteral("1") + kNbsp + QStringLiteral("234,6")},
        {Spanish, 1234567.0, 0, false, QStringLiteral("1.234.567")},
        {Italian, 0.5, 3, false, QStringLiteral("0,500")},
        {Japanese, -9876543.21, 2, false, QStringLiteral("-9,876,543.21")},
        {Chinese, 999.996, 2, false, QStringLiteral("1,000.00")},
        {Other, 12.5, 0, false, QStringLiteral("12")}, // the print step rounds halves to even
        // Rounded by the print step before separators go in.
        {English, 1234.6, 0, false, QStringLiteral("1,235")},
        // No separator directly after a sign.
        {English, -123.4, 1, false, QStringLiteral("-123.4")},
        {English, 123456.0, 0, true, QStringLiteral("+123,456")},
        {German, -123456.0, 0, false, QStringLiteral("-123.456")},
        {English, 45.0, 1, true, QStringLiteral("+45.0")},
        {English, -45.0, 1, true, QStringLiteral("-45.0")},
        // With no decimals there is no separator to replace, whatever the language.
        {German, 7.0, 0, false, QStringLiteral("7")},
        // Decimals outside the preference range are held to it.
        {English, 1.0 / 3.0, 9, false, QStringLiteral("0.333333")},
        {English, 2.5, -1, false, QStringLiteral("2")},
        // An unknown language index formats as "other".
        {42, 1234.5, 1, false, QStringLiteral("1,234.5")},
        // Long numbers need no buffer of any fixed size.
        {English, 1e20, 6, false, QStringLiteral("100,000,000,000,000,000,000.000000")},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(In(c.language).Number(c.value, c.decimals, c.isSigned), c.text)
            << "language " << c.language << ", value " << c.value << ", decimals " << c.decimals;
}

TEST(WKRN_MeasurementFormat, NonFiniteValues_HaveNoText)
{
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    const WKRN_MeasurementFormat format = In(English);
    for (double v : values)
    {
        EXPECT_TRUE(format.Number(v, 2).isEmpty());
        for (int unit = Points; unit <= Centimetres; ++unit)
            EXPECT_TRUE(format.Length(v, 2, unit).isEmpty());
        EXPECT_TRUE(format.Pair(v, 1.0, Points, 2).isEmpty());
        EXPECT_TRUE(format.Pair(1.0, v, Picas, 2).isEmpty());
        EXPECT_TRUE(format.DistanceAndAngle(v, 45.0, Inches, 2, 1).isEmpty());
        EXPECT_TRUE(format.DistanceAndAngle(1.0, v, Inches, 2, 1).isEmpty());
    }
}

TEST(WKRN_MeasurementFormat, Picas_WholePicasAndPoints)
{
    struct Case
    {
        int language;
        double picas;
        int decimals;
        QString text;
    };
    const Case cases[] = {
        {English, 3.5, 0, QStringLiteral("3p6")},
        {English, 3.5, 2, QStringLiteral("3p6.00")},
        {English, 3.0, 0, QStringLiteral("3p")},
        {English, 3.0, 1, QStringLiteral("3p0.0")},
        {English, 0.25, 0, QStringLiteral("0p3")},
        {English, 3.02, 0, QStringLiteral("3p")}, // 0.24 points: below half a point
        // The points never reach twelve: the carry goes into the picas.
        {English, 3.99, 0, QStringLiteral("4p")},
        {English, 3.9999, 2, QStringLiteral("4p0.00")},
        {English, 3.999, 2, QStringLiteral("3p11.99")},
        // The sign belongs to the whole length, also below one pica.
        {English, -0.25, 0, QStringLiteral("-0p3")},
        {English, -3.5, 1, QStringLiteral("-3p6.0")},
        {English, -0.001, 0, QStringLiteral("0p")}, // rounds to nothing: no sign left
        // Points take the language's decimal separator, whole picas its thousands separator.
        {German, 3.5, 2, QStringLiteral("3p6,00")},
        {French, 1234.5, 1, QStringLiteral("1") + kNbsp + QStringLiteral("234p6,0")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(In(c.language).Length(c.picas, c.decimals, Picas), c.text)
            << "picas " << c.picas << ", decimals " << c.decimals;
    // Other units are plain numbers.
    EXPECT_EQ(In(English).Length(3.5, 0, Points), QStringLiteral("4"));
    EXPECT_EQ(In(German).Length(25.4, 2, Millimetres), QStringLiteral("25,40"));
}

TEST(WKRN_MeasurementFormat, Pair_AbbreviationExceptForPicas)
{
    EXPECT_EQ(In(English).Pair(1234.5, -3, Points, 2), QStringLiteral("( 1,234.50, -3.00) pt"));
    EXPECT_EQ(In(German).Pair(1234.5, -3, Millimetres, 1), QStringLiteral("( 1.234,5, -3,0) mm"));
    EXPECT_EQ(In(French).Pair(0.5, 12.25, Centimetres, 2), QStringLiteral("( 0,50, 12,25) cm"));
    EXPECT_EQ(In(English).Pair(3.5, -0.25, Picas, 0), QStringLiteral("( 3p6, -0p3) "));
    // The abbreviations are the table given, as a language module translates them.
    const WKRN_MeasurementFormat custom(English, {QStringLiteral("Pt"), QStringLiteral("P"),
                                                  QStringLiteral("Zoll"), QStringLiteral("MM"),
                                                  QStringLiteral("CM")});
    EXPECT_EQ(custom.Pair(1, 2, Inches, 0), QStringLiteral("( 1, 2) Zoll"));
    EXPECT_TRUE(custom.Abbreviation(5).isEmpty());
    EXPECT_TRUE(custom.Abbreviation(-1).isEmpty());
}

TEST(WKRN_MeasurementFormat, DistanceAndAngle_OfMeasuredOffsets)
{
    struct Case
    {
        double dh, dv;
        int unit;
        int language;
        QString text;
    };
    const Case cases[] = {
        {0, 5, Points, English, QStringLiteral("5.00 pt  |  +90.0") + kDegree},
        {0, 0, Points, English, QStringLiteral("0.00 pt  |  +90.0") + kDegree},
        {0, -5, Points, English, QStringLiteral("5.00 pt  |  -90.0") + kDegree},
        {10, -10, Points, English, QStringLiteral("14.14 pt  |  -45.0") + kDegree},
        {-10, 0, Inches, German, QStringLiteral("10,00 in  |  +180,0") + kDegree},
        {-3, -4, Millimetres, French, QStringLiteral("5,00 mm  |  -126,9") + kDegree},
        {0.3, 0.4, Picas, English, QStringLiteral("0p6.00  |  +53.1") + kDegree},
    };
    for (const Case& c : cases)
    {
        const auto measure = WKRN_MeasurementFormat::MeasureOf(c.dh, c.dv);
        EXPECT_EQ(In(c.language).DistanceAndAngle(measure.distance, measure.angle, c.unit, 2, 1),
                  c.text)
            << c.dh << ", " << c.dv;
    }
    // The sample of the Preferences dialog.
    EXPECT_EQ(In(English).DistanceAndAngle(1234.56789878, 123.45678987, Points, 2, 1),
              QStringLiteral("1,234.57 pt  |  +123.5") + kDegree);
}
