#include "WKRN/coverage/WKRN_CoverageTexts.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/palettes/WKRN_MeasurementFormat.h"
#include "WKRN/preferences/WKRN_Preferences.h"

QString WKRN_CoverageTexts::Percent(double value)
{
    return WKRN_MeasurementFormat::OfRun().Number(value, 2);
}

QString WKRN_CoverageTexts::Millimetres(std::int64_t micrometres)
{
    const WKRN_MeasurementFormat format = WKRN_MeasurementFormat::OfRun();
    QString text = format.Number(double(micrometres) / 1000.0, 3);
    const QChar decimal = WKRN_MeasurementFormat::SeparatorsOf(format.LanguageIndex()).decimal;
    if (text.contains(decimal))
    {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(decimal))
            text.chop(1);
    }
    return text;
}

QString WKRN_CoverageTexts::PresetName(const WKRN_ZonePreset& preset)
{
    if (!preset.name.trimmed().isEmpty())
        return preset.name.trimmed();
    return WKRN_StringTable::Load(IDS_ZONE_PRESET_GEOMETRY)
        .arg(preset.count)
        .arg(Millimetres(preset.width));
}

QLocale WKRN_CoverageTexts::Locale()
{
    // The language modules by index, as WKRN_Language numbers them.
    switch (WKRN_Language::Index())
    {
    case 2:
        return QLocale(QLocale::German, QLocale::Germany);
    case 3:
        return QLocale(QLocale::Spanish, QLocale::Spain);
    case 4:
        return QLocale(QLocale::French, QLocale::France);
    case 5:
        return QLocale(QLocale::Italian, QLocale::Italy);
    case 6:
        return QLocale(QLocale::Japanese, QLocale::Japan);
    case 7:
        return QLocale(QLocale::Chinese, QLocale::China);
    default:
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
}
