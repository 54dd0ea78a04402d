#include "IMPN/IMPN_CoverageReport.h"

#include <cmath>
#include <cstdio>

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

std::string IMPN_CoverageReport::Write(const std::vector<std::string>& inkNames,
                                       const IMPN_InkCoverageCounts& counts, bool zones, bool csv,
                                       const std::string& totalName)
{
    const char separator = csv ? ',' : '\t';
    const std::size_t columns = zones ? counts.Columns() : 1;
    std::string out;
    auto line = [&](const std::string& name, const std::vector<double>& values)
    {
        out += csv ? CsvField(name) : name;
        for (double v : values)
        {
            out += separator;
            out += Percent(v);
        }
        out += '\n';
    };
    if (csv)
    {
        out += "Ink";
        if (!zones)
            out += ",Coverage";
        else
            for (std::size_t z = 0; z < columns; ++z)
                out += ",Zone " + std::to_string(z + 1);
        out += '\n';
    }
    std::vector<double> totals(columns, 0.0);
    for (std::size_t k = 0; k < inkNames.size() && k < counts.inked.size(); ++k)
    {
        std::vector<double> values(columns);
        for (std::size_t z = 0; z < columns; ++z)
        {
            values[z] = zones ? counts.CellPercent(k, 0, z) : counts.AreaPercent(k);
            totals[z] += values[z];
        }
        line(inkNames[k], values);
    }
    line(totalName, totals);
    return out;
}
