#pragma once
// Coverage counts as text: one line per ink in the surface's order (the ink's name, then its
// percentage over the area, or one percentage per zone), then a line "Total" with the sums, two
// decimals each. Tab-separated, or comma-separated with a header line (names quoted where they
// hold a comma, a quote or a line break). The command-line tool prints it; the viewer exports it.

#include "IMPN/IMPN_InkCoverage.h"

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

    // A percentage with two decimals, whatever the locale.
    static std::string Percent(double value);
    // A field of comma-separated values, quoted when it must be.
    static std::string CsvField(const std::string& text);
};
