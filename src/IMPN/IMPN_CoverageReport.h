#pragma once
// Coverage counts as text: one line per ink in the surface's order (the ink's name, then its
// percentage over the area, or one percentage per zone), then a line "Total" with the sums, two
// decimals each; a zone that holds no column of the plate reads "-". Tab-separated, or
// comma-separated with a header line (names quoted where they hold a comma, a quote or a line
// break). The command-line tool prints it; the viewer exports it.

#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_InkZones.h"

#include <optional>
#include <string>
#include <vector>

class IMPN_CoverageReport
{
public:
    // zones: one value per column band of counts rather than one per ink. totalName is the
    // label of the sums ("Total"); header texts are "Ink", "Coverage" and "Zone N".
    static std::string Write(const std::vector<std::string>& inkNames,
                             const IMPN_InkCoverageCounts& counts, bool zones, bool csv,
                             const std::string& totalName = "Total");
    // Zones of a press: zone k shows column band zoneBands[k] of counts, or "-" where the zone
    // holds no column of the plate (never 0.00, which would be a reading).
    static std::string WriteZones(const std::vector<std::string>& inkNames,
                                  const IMPN_InkCoverageCounts& counts,
                                  const std::vector<std::optional<std::size_t>>& zoneBands,
                                  bool csv, const std::string& totalName = "Total");

    // The comment line that opens a zone profile in CSV, so that the file says what it counts:
    // "# Job: J; Sheet: S; Surface: front; Zones: 32 x 32.5 mm; Offset: 0 mm; Resolution: R dpi".
    static std::string ZoneComment(const std::string& job, const std::string& sheet, bool back,
                                   const IMPN_InkZones::Geometry& geometry, double resolution);
    // Micrometres as millimetres, without trailing zeros ("32.5"), whatever the locale.
    static std::string Millimetres(std::int64_t micrometres);

    // A percentage with two decimals, whatever the locale.
    static std::string Percent(double value);
    // A field of comma-separated values, quoted when it must be.
    static std::string CsvField(const std::string& text);
};
