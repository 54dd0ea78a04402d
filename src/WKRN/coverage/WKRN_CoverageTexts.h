#pragma once
// The numbers and names the ink-coverage tools show: percentages and millimetres with the
// decimal and thousands separators of the run's language, as the measurement palette shows its
// lengths, and the name of a press of the zone presets.

#include <QLocale>
#include <QString>

#include <cstdint>

struct WKRN_ZonePreset;

class WKRN_CoverageTexts
{
public:
    // A percentage with two decimals ("33.55", German "33,55").
    static QString Percent(double value);
    // Micrometres as millimetres without trailing zeros ("32.5", German "32,5").
    static QString Millimetres(std::int64_t micrometres);
    // The preset's name, or its geometry ("32 x 32.5 mm") when it has none.
    static QString PresetName(const WKRN_ZonePreset& preset);
    // The locale of the run's language, for what formats numbers by itself (chart axes).
    static QLocale Locale();
};
