#pragma once
// The texts of lengths and angles shown to the user: the measurement palette, the status-bar
// fallback of a job window without one, and the sample of the Preferences dialog all go through
// here, so that a number reads the same everywhere. No widgets: the rules are plain text rules,
// tested as tables.
//
// Numbers are printed in the C locale and then given the separators of the run's language
// (decimal and thousands separators by language index). Lengths in picas read "3p6" (whole
// picas, "p", points). A value that is not finite has no text at all.

#include <QString>

#include <array>

class WKRN_MeasurementFormat
{
public:
    static constexpr int kPicas = 1;
    static constexpr int kMaxDecimals = 6;

    struct Separators
    {
        QChar decimal;
        QString thousands;
    };
    // The separators of a language index (0 other, 1 English ... 7 Simplified Chinese); an index
    // outside the table gets those of 0.
    static Separators SeparatorsOf(int languageIndex);

    // language: the language index; abbreviations: the five unit abbreviations in unit order.
    WKRN_MeasurementFormat(int languageIndex, std::array<QString, 5> abbreviations);
    // The language and unit abbreviations of the run.
    static WKRN_MeasurementFormat OfRun();

    int LanguageIndex() const { return m_language; }
    // The abbreviation of a unit index, empty outside 0 to 4.
    QString Abbreviation(int unit) const;

    // One number with the given decimals (clamped to 0..6); signed puts "+" before positive
    // values.
    QString Number(double value, int decimals, bool isSigned = false) const;
    // A number, or the picas form for unit 1.
    QString Length(double value, int decimals, int unit) const;
    // "( h, v) " followed by the abbreviation (none for picas).
    QString Pair(double h, double v, int unit, int decimals) const;
    // The distance in the unit, "  |  ", the signed angle and the degree sign.
    QString DistanceAndAngle(double distance, double angle, int unit, int linearDecimals,
                             int angularDecimals) const;

    struct Measure
    {
        double distance;
        double angle; // degrees, -180 to 180
    };
    // The distance and angle of an offset; straight up or down (and a zero offset) is 90 degrees,
    // negative when dv is below 0.
    static Measure MeasureOf(double dh, double dv);

private:
    QString PicasForm(double value, int decimals) const;

    int m_language;
    std::array<QString, 5> m_abbreviations;
};
