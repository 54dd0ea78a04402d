#include "IMPN/IMPN_CoverageReport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>

std::string IMPN_CoverageReport::Percent(double value)
{
    // Fixed-point in hundredths: snprintf would follow a locale's decimal comma.
    const long long hundredths = std::llround(value * 100.0);
    const long long whole = hundredths / 100, part = std::llabs(hundredths % 100);
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", hundredths < 0 && whole == 0 ? "-" : "",
                  whole, part);
    return text;
}

std::string IMPN_CoverageReport::Millimetres(std::int64_t micrometres)
{
    std::string text = std::to_string(std::llabs(micrometres / 1000));
    const long long part = std::llabs(micrometres % 1000);
    if (part != 0)
    {
        char digits[8];
        std::snprintf(digits, sizeof digits, ".%03lld", part);
        std::string fraction = digits;
        while (fraction.back() == '0')
            fraction.pop_back();
        text += fraction;
    }
    return (micrometres < 0 ? "-" : "") + text;
}

std::string IMPN_CoverageReport::ZoneComment(const std::string& job, const std::string& sheet,
                                             bool back, const IMPN_InkZones::Geometry& geometry,
                                             double resolution)
{
    // One line whatever the names hold.
    const auto oneLine = [](std::string text)
    {
        for (char& c : text)
            if (static_cast<unsigned char>(c) < 0x20)
                c = ' ';
        return text;
    };
    // std::to_chars, unlike printf, never follows the process's locale.
    char dpi[32] = {};
    std::to_chars(dpi, dpi + sizeof dpi - 1, resolution, std::chars_format::general, 6);
    return "# Job: " + oneLine(job) + "; Sheet: " + oneLine(sheet) +
           "; Surface: " + (back ? "back" : "front") +
           "; Zones: " + std::to_string(geometry.count) + " x " + Millimetres(geometry.width) +
           " mm; Offset: " + Millimetres(geometry.offset) + " mm; Resolution: " + dpi + " dpi\n";
}

std::string IMPN_CoverageReport::CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
    {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

namespace
{
// One value per ink and column (a zone, or the whole area); no value where a zone is off the
// plate.
std::string WriteTable(const std::vector<std::string>& inkNames,
                       const std::vector<std::string>& header, std::size_t columns,
                       const std::function<std::optional<double>(std::size_t, std::size_t)>& value,
                       bool csv, const std::string& totalName)
{
    const char separator = csv ? ',' : '\t';
    std::string out;
    auto line = [&](const std::string& name, const std::vector<std::optional<double>>& values)
    {
        out += csv ? IMPN_CoverageReport::CsvField(name) : name;
        for (const std::optional<double>& v : values)
        {
            out += separator;
            out += v ? IMPN_CoverageReport::Percent(*v) : std::string("-");
        }
        out += '\n';
    };
    if (csv)
    {
        for (std::size_t i = 0; i < header.size(); ++i)
            out += (i ? "," : "") + header[i];
        out += '\n';
    }
    std::vector<std::optional<double>> totals(columns);
    for (std::size_t k = 0; k < inkNames.size(); ++k)
    {
        std::vector<std::optional<double>> values(columns);
        for (std::size_t z = 0; z < columns; ++z)
        {
            values[z] = value(k, z);
            if (values[z])
                totals[z] = totals[z].value_or(0.0) + *values[z];
        }
        line(inkNames[k], values);
    }
    for (std::size_t z = 0; z < columns; ++z)
        if (!totals[z] && (inkNames.empty() || value(0, z)))
            totals[z] = 0.0;
    line(totalName, totals);
    return out;
}
} // namespace

std::string IMPN_CoverageReport::Write(const std::vector<std::string>& inkNames,
                                       const IMPN_InkCoverageCounts& counts, bool zones, bool csv,
                                       const std::string& totalName)
{
    if (zones)
    {
        std::vector<std::optional<std::size_t>> bands(counts.Columns());
        for (std::size_t z = 0; z < bands.size(); ++z)
            bands[z] = z;
        return WriteZones(inkNames, counts, bands, csv, totalName);
    }
    const std::size_t inks = std::min(inkNames.size(), counts.inked.size());
    const std::vector<std::string> names(inkNames.begin(), inkNames.begin() + std::ptrdiff_t(inks));
    return WriteTable(
        names, {"Ink", "Coverage"}, 1,
        [&](std::size_t k, std::size_t) { return std::optional<double>(counts.AreaPercent(k)); },
        csv, totalName);
}

std::string
IMPN_CoverageReport::WriteZones(const std::vector<std::string>& inkNames,
                                const IMPN_InkCoverageCounts& counts,
                                const std::vector<std::optional<std::size_t>>& zoneBands, bool csv,
                                const std::string& totalName)
{
    const std::size_t inks = std::min(inkNames.size(), counts.inked.size());
    const std::vector<std::string> names(inkNames.begin(), inkNames.begin() + std::ptrdiff_t(inks));
    std::vector<std::string> header{"Ink"};
    for (std::size_t z = 0; z < zoneBands.size(); ++z)
        header.push_back("Zone " + std::to_string(z + 1));
    return WriteTable(
        names, header, zoneBands.size(),
        [&](std::size_t k, std::size_t z)
        {
            const std::optional<std::size_t>& band = zoneBands[z];
            return band && *band < counts.Columns()
                       ? std::optional<double>(counts.CellPercent(k, 0, *band))
                       : std::nullopt;
        },
        csv, totalName);
}
