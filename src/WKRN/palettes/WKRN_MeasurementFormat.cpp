#include "WKRN/palettes/WKRN_MeasurementFormat.h"

#include "WKRN/app/WKRN_Language.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <system_error>
#include <utility>

namespace
{
constexpr int kLanguageCount = 8;
constexpr int kPointsPerPica = 12;
// Beyond this many hundred-thousandths of a point, whole picas and points no longer fit the
// integer arithmetic exactly; such lengths are far outside any press sheet.
constexpr double kLargestScaledPoints = 9.0e15;

int ClampDecimals(int decimals)
{
    return std::clamp(decimals, 0, WKRN_MeasurementFormat::kMaxDecimals);
}

/* The text "%.*f" gives in the C locale ("%+.*f" when signed). std::to_chars does not follow the
   process locale, which the application sets from the user's environment, and the buffer grows
   until the text fits. */
QString Printed(double value, int decimals, bool isSigned)
{
    std::string text(64, '\0');
    for (;;)
    {
        const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                          std::chars_format::fixed, decimals);
        if (result.ec == std::errc())
        {
            text.resize(std::size_t(result.ptr - text.data()));
            break;
        }
        text.resize(text.size() * 2);
    }
    if (isSigned && !std::signbit(value))
        text.insert(text.begin(), '+');
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

long long PowerOfTen(int exponent)
{
    long long result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}
} // namespace

WKRN_MeasurementFormat::Separators WKRN_MeasurementFormat::SeparatorsOf(int languageIndex)
{
    switch (languageIndex)
    {
    case 2: // German
    case 3: // Spanish
    case 5: // Italian
        return {QLatin1Char(','), QStringLiteral(".")};
    case 4: // French
        return {QLatin1Char(','), QString(QChar(0x00A0))};
    default: // other, English, Japanese, Simplified Chinese, and anything unknown
        return {QLatin1Char('.'), QStringLiteral(",")};
    }
}

WKRN_MeasurementFormat::WKRN_MeasurementFormat(int languageIndex,
                                               std::array<QString, 5> abbreviations)
    : m_language(languageIndex >= 0 && languageIndex < kLanguageCount ? languageIndex : 0),
      m_abbreviations(std::move(abbreviations))
{
}

WKRN_MeasurementFormat WKRN_MeasurementFormat::OfRun()
{
    return WKRN_MeasurementFormat(WKRN_Language::Index(), WKRN_Language::UnitAbbreviations());
}

QString WKRN_MeasurementFormat::Abbreviation(int unit) const
{
    if (unit < 0 || unit >= int(m_abbreviations.size()))
        return {};
    return m_abbreviations[std::size_t(unit)];
}

QString WKRN_MeasurementFormat::Number(double value, int decimals, bool isSigned) const
{
    if (!std::isfinite(value))
        return {};
    decimals = ClampDecimals(decimals);
    QString text = Printed(value, decimals, isSigned);
    const Separators separators = SeparatorsOf(m_language);

    qsizetype integerEnd = text.size();
    if (decimals > 0)
    {
        integerEnd = text.indexOf(QLatin1Char('.'));
        if (integerEnd >= 0)
            text[integerEnd] = separators.decimal;
        else
            integerEnd = text.size();
    }
    const qsizetype integerStart =
        !text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) ? 1 : 0;
    for (qsizetype at = integerEnd - 3; at > integerStart; at -= 3)
        text.insert(at, separators.thousands);
    return text;
}

/* The points are rounded together with the picas, as one count of points: rounding the points
   alone would carry 11.6 points to "12" beside the same whole picas. The sign belongs to the whole
   length, so a length below one pica keeps it ("-0p3"). */
QString WKRN_MeasurementFormat::PicasForm(double value, int decimals) const
{
    const long long scale = PowerOfTen(decimals);
    const double scaled = std::fabs(value) * kPointsPerPica * double(scale);
    if (scaled >= kLargestScaledPoints)
        return Number(std::trunc(value), 0) + QLatin1Char('p');
    const long long total = std::llround(scaled);
    const long long perPica = kPointsPerPica * scale;
    const long long picas = total / perPica;
    const long long points = total % perPica;
    const QString sign = value < 0 && total != 0 ? QStringLiteral("-") : QString();
    QString text = sign + Number(double(picas), 0) + QLatin1Char('p');
    if (decimals == 0 && points == 0)
        return text;
    return text + Number(double(points) / double(scale), decimals);
}

QString WKRN_MeasurementFormat::Length(double value, int decimals, int unit) const
{
    if (!std::isfinite(value))
        return {};
    decimals = ClampDecimals(decimals);
    return unit == kPicas ? PicasForm(value, decimals) : Number(value, decimals);
}

QString WKRN_MeasurementFormat::Pair(double h, double v, int unit, int decimals) const
{
    if (!std::isfinite(h) || !std::isfinite(v))
        return {};
    QString text = QStringLiteral("( ") + Length(h, decimals, unit) + QStringLiteral(", ") +
                   Length(v, decimals, unit) + QStringLiteral(") ");
    if (unit != kPicas)
        text += Abbreviation(unit);
    return text;
}

QString WKRN_MeasurementFormat::DistanceAndAngle(double distance, double angle, int unit,
                                                 int linearDecimals, int angularDecimals) const
{
    if (!std::isfinite(distance) || !std::isfinite(angle))
        return {};
    QString text = Length(distance, linearDecimals, unit);
    if (unit != kPicas)
        text += QLatin1Char(' ') + Abbreviation(unit);
    return text + QStringLiteral("  |  ") + Number(angle, angularDecimals, true) + QChar(0x00B0);
}

WKRN_MeasurementFormat::Measure WKRN_MeasurementFormat::MeasureOf(double dh, double dv)
{
    const double distance = std::hypot(dh, dv);
    double angle = 90.0;
    if (dh != 0.0 && distance > 0.0)
        angle = std::acos(std::clamp(dh / distance, -1.0, 1.0)) * 180.0 / std::numbers::pi;
    if (dv < 0)
        angle = -angle;
    return {distance, angle};
}
