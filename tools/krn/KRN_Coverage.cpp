// krn coverage PATH...: exact ink coverage of one surface of one sheet, counted from the screened
// one-bit separations: each ink's percentage and their total over the picture or a rectangle of
// it, or per ink zone of the press (equal parts of the width, or the press's own grid), as
// tab-separated lines or as CSV; and the cells of a measuring area over a total-ink limit.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SheetInput.h"

#include "IMPN/IMPN_CellCoverage.h"
#include "IMPN/IMPN_CoverageReport.h"
#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_InkLimit.h"
#include "IMPN/IMPN_InkZones.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: krn coverage PATH... [--sheet N] [--surface front|back]\n"
    "                    [--rect TOP,LEFT,WIDTH,HEIGHT] [--zones N] [--csv]\n"
    "                    [--zone-width MM [--zone-offset MM]]\n"
    "                    [--limit PCT [--area MM] [--limit-map FILE.png]] [--threads N]\n"
    "prints each ink's coverage in percent and the total, in device pixels of the surface;\n"
    "--zones splits the width into N ink zones; --sheet counts from 1\n"
    "--zone-width places the press's zones of MM millimetres (N of them, by default the fewest\n"
    "  that span the picture) centred on the sheet, or --zone-offset MM from its centre; zones\n"
    "  without a column of the plate read -\n"
    "--limit adds 'Over limit', the number of cells of --area MM (default 0.5) whose total of all\n"
    "  inks exceeds PCT percent, and the number of cells; --limit-map writes them as a one-bit\n"
    "  PNG, one pixel a cell, black where over\n";

constexpr long long kMaxZones = 65536;

struct Options
{
    std::vector<std::string> paths;
    int sheet = 1;
    bool back = false;
    std::optional<std::array<std::int32_t, 4>> rect; // top, left, width, height
    std::uint32_t zones = 0;                         // 0: no zones
    bool csv = false;
    std::optional<std::int32_t> zoneWidth; // micrometres
    std::optional<std::int32_t> zoneOffset;
    std::optional<std::uint32_t> limit; // hundredths of a percent
    std::optional<int> area;            // micrometres
    std::string limitMap;
    unsigned threads = 0;
};

// Millimetres given to the micrometre, within a range of micrometres; out of it, `needs` and the
// range in millimetres are the usage error ("--area needs a measuring area from 0.1 to 5 mm").
std::int32_t Micrometres(const std::string& text, std::int32_t low, std::int32_t high,
                         const std::string& needs)
{
    const auto mm = [](std::int32_t um)
    { return (um < 0 ? "-" : "") + IMPN_CoverageReport::Millimetres(um < 0 ? -um : um); };
    const double value = KRN_OptionParser::Number(
        text, low / 1000.0, high / 1000.0, needs + " from " + mm(low) + " to " + mm(high) + " mm");
    return std::int32_t(std::llround(value * 1000.0));
}

// The terminal's "counting N%" line, when standard error is one.
struct ProgressLine
{
    bool terminal = ::isatty(STDERR_FILENO) == 1;
    int shown = -1;

    std::function<bool(std::uint64_t, std::uint64_t)> Callback()
    {
        if (!terminal)
            return {};
        return [this](std::uint64_t done, std::uint64_t total)
        {
            const int percent = int(done * 100 / std::max<std::uint64_t>(total, 1));
            if (percent != shown)
            {
                shown = percent;
                std::cerr << "\rcounting " << percent << "%" << std::flush;
            }
            return true;
        };
    }
    void Clear()
    {
        if (terminal && shown >= 0)
            std::cerr << "\r" << std::string(16, ' ') << "\r";
        shown = -1;
    }
};

int RunCoverage(const std::vector<std::string>& args)
{
    Options o;
    KRN_OptionParser parser("coverage", kUsage);
    parser.Operands(o.paths, 1, "no preview files given");
    KRN_AddSurfaceOptions(parser, o.sheet, o.back);
    KRN_AddThreadsOption(parser, o.threads);
    parser.Option("--rect",
                  [&](const std::string& v)
                  {
                      const std::string problem =
                          "--rect needs TOP,LEFT,WIDTH,HEIGHT with a positive size";
                      const std::vector<long long> r =
                          KRN_OptionParser::IntegerList(v, ',', 4, problem);
                      for (int k = 0; k < 4; ++k)
                          if (r[k] < (k < 2 ? INT32_MIN : 1) || r[k] > INT32_MAX)
                              throw KRN_UsageError(problem);
                      o.rect = std::array<std::int32_t, 4>{std::int32_t(r[0]), std::int32_t(r[1]),
                                                           std::int32_t(r[2]), std::int32_t(r[3])};
                  });
    parser.Option("--zones",
                  [&](const std::string& v)
                  {
                      o.zones = std::uint32_t(KRN_OptionParser::Integer(
                          v, 1, kMaxZones,
                          "--zones needs a zone count from 1 to " + std::to_string(kMaxZones)));
                  });
    parser.Option("--zone-width",
                  [&](const std::string& v)
                  {
                      o.zoneWidth =
                          Micrometres(v, IMPN_InkZones::kMinWidth, IMPN_InkZones::kMaxWidth,
                                      "--zone-width needs a zone width");
                  });
    parser.Option("--zone-offset",
                  [&](const std::string& v)
                  {
                      o.zoneOffset =
                          Micrometres(v, -IMPN_InkZones::kMaxOffset, IMPN_InkZones::kMaxOffset,
                                      "--zone-offset needs an offset");
                  });
    parser.Option("--limit",
                  [&](const std::string& v)
                  {
                      const double percent = KRN_OptionParser::Number(
                          v, 1, IMPN_InkLimit::kMaxLimit,
                          "--limit needs a total ink limit from 1 to " +
                              std::to_string(IMPN_InkLimit::kMaxLimit) + " %");
                      o.limit = std::uint32_t(std::llround(percent * 100.0));
                  });
    parser.Option("--area",
                  [&](const std::string& v)
                  {
                      o.area = Micrometres(v, IMPN_InkLimit::kMinArea, IMPN_InkLimit::kMaxArea,
                                           "--area needs a measuring area");
                  });
    parser.Option("--limit-map", o.limitMap);
    parser.Flag("--csv", o.csv);
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;
    if (o.zoneOffset && !o.zoneWidth)
        return parser.Fail("--zone-offset needs --zone-width");
    if (o.zoneWidth && o.zones > IMPN_InkZones::kMaxZones)
        return parser.Fail("--zones needs a zone count from 1 to " +
                           std::to_string(IMPN_InkZones::kMaxZones) + " with --zone-width");
    if ((o.area || !o.limitMap.empty()) && !o.limit)
        return parser.Fail(o.area ? "--area needs --limit" : "--limit-map needs --limit");
    if (!o.limitMap.empty() && !KRN_EndsWithNoCase(o.limitMap, ".png"))
        return parser.Fail("--limit-map needs a file name ending in .png");
    if (!o.limitMap.empty() && !KRN_CheckPictureOutput("coverage", o.limitMap))
        return 1;

    IMPN_Registry registry;
    KRN_PlaceFiles("coverage", o.paths, registry);
    IMPN_SheetReference sheet = KRN_PickSheet("coverage", registry, o.sheet);
    if (!sheet)
        return 1;
    const IMPN_Surface& surface = o.back ? sheet->GetBackSurface() : sheet->GetFrontSurface();
    if (!surface.HasSeparations())
    {
        std::cerr << "krn coverage: the " << (o.back ? "back" : "front") << " of "
                  << sheet->GetName() << " has no separations\n";
        return 1;
    }
    std::vector<std::string> paths, names;
    for (const auto& separation : surface.GetSeparations())
    {
        paths.push_back(separation->GetFilePath());
        names.push_back(separation->GetName());
    }
    const std::unique_ptr<IMPN_InkCoverage> counter = IMPN_InkCoverage::FromFiles(paths, 0);
    if (!counter->HasPicture())
    {
        std::cerr << "krn coverage: the picture of " << names[0] << " cannot be read\n";
        return 1;
    }
    const std::int32_t width = std::int32_t(counter->GetImageWidth());
    const std::int32_t length = std::int32_t(counter->GetImageLength());
    IMPN_Rect rect;
    rect.width = width;
    rect.height = length;
    if (o.rect)
    {
        rect.top = (*o.rect)[0];
        rect.left = (*o.rect)[1];
        rect.width = (*o.rect)[2];
        rect.height = (*o.rect)[3];
    }
    IMPN_Rect inside;
    if (!counter->Clip(rect, inside))
    {
        std::cerr << "krn coverage: the rectangle " << rect.top << "," << rect.left << ","
                  << rect.width << "," << rect.height << " lies wholly outside the picture ("
                  << width << " x " << length << " pixels)\n";
        return 1;
    }
    const double resolution = sheet->GetXResolution();
    if ((o.zoneWidth || o.limit) && !(std::isfinite(resolution) && resolution > 0))
    {
        std::cerr << "krn coverage: " << sheet->GetName()
                  << " has no resolution to place millimetres by\n";
        return 1;
    }

    // The zones: the width split in N, or the press's grid.
    IMPN_InkZones::Geometry geometry;
    IMPN_InkZones::Layout layout;
    if (o.zoneWidth)
    {
        geometry.width = *o.zoneWidth;
        geometry.offset = o.zoneOffset.value_or(0);
        geometry.count = o.zones > 0 ? o.zones
                                     : IMPN_InkZones::FewestZones(geometry.width, resolution,
                                                                  std::uint32_t(width));
        if (geometry.count > IMPN_InkZones::kMaxZones)
            return parser.Fail("--zone-width " + IMPN_CoverageReport::Millimetres(geometry.width) +
                               " gives " + std::to_string(geometry.count) +
                               " zones across the picture; give --zones from 1 to " +
                               std::to_string(IMPN_InkZones::kMaxZones));
        layout = IMPN_InkZones::Place(
            IMPN_InkZones::ZoneStarts(geometry, resolution, std::uint32_t(width)), inside.left,
            inside.left + inside.width);
    }
    else if (o.zones > std::uint32_t(inside.width))
        return parser.Fail("--zones " + std::to_string(o.zones) + " is more zones than the " +
                           std::to_string(inside.width) + " columns counted");

    ProgressLine line;
    IMPN_InkCoverageCounts counts;
    const bool counted =
        o.zoneWidth
            ? counter->CountGrid(inside, layout.edges, {inside.top, inside.top + inside.height},
                                 counts, line.Callback())
            : counter->CountColumns(inside, std::max<std::uint32_t>(o.zones, 1), counts,
                                    line.Callback());
    line.Clear();
    if (!counted)
    {
        std::cerr << "krn coverage: nothing to count\n";
        return 1;
    }

    // The over-limit cells of all inks, counted on the pool.
    IMPN_InkLimit::Map map;
    if (o.limit)
    {
        const std::unique_ptr<IMPN_WorkerPool> pool = KRN_MakeWorkerPool(o.threads);
        const unsigned readers = pool ? pool->GetWorkerCount() + 1 : 1;
        std::vector<std::unique_ptr<IMPN_CellCoverage>> inks;
        std::vector<IMPN_CellCoverage*> raw;
        for (const std::string& path : paths)
        {
            inks.push_back(std::make_unique<IMPN_CellCoverage>(path, readers));
            raw.push_back(inks.back().get());
            if (!inks.back()->IsReadable())
            {
                std::cerr << "krn coverage: " << path << ": " << inks.back()->GetProblem() << "\n";
                return 1;
            }
        }
        const std::uint32_t side =
            IMPN_InkLimit::CellSide(o.area.value_or(IMPN_InkLimit::kDefaultArea), resolution);
        const bool limited =
            IMPN_InkLimit::Count(raw, side, inside, *o.limit, pool.get(), map, line.Callback());
        line.Clear();
        if (!limited)
        {
            std::cerr << "krn coverage: the inks of " << sheet->GetName()
                      << " differ in size; no limit can be counted\n";
            return 1;
        }
    }

    if (o.zoneWidth)
    {
        if (o.csv)
            std::cout << IMPN_CoverageReport::ZoneComment(sheet->GetTitle(), sheet->GetName(),
                                                          o.back, geometry, resolution);
        std::cout << IMPN_CoverageReport::WriteZones(names, counts, layout.zoneBand, o.csv);
    }
    else
        std::cout << IMPN_CoverageReport::Write(names, counts, o.zones > 0, o.csv);
    if (o.limit)
    {
        const char separator = o.csv ? ',' : '\t';
        std::cout << "Over limit" << separator << map.overCells << separator
                  << map.columns * map.rows << "\n";
    }

    int status = 0;
    if (!o.limitMap.empty())
    {
        // The whole picture's cells, those outside the rectangle white.
        const std::uint32_t side = map.side;
        const std::size_t across = (std::size_t(width) + side - 1) / side;
        const std::size_t down = (std::size_t(length) + side - 1) / side;
        std::vector<std::uint8_t> black(across * down, 0);
        for (std::size_t r = 0; r < map.rows; ++r)
            for (std::size_t c = 0; c < map.columns; ++c)
                black[(map.firstRow + r) * across + map.firstColumn + c] =
                    map.over[r * map.columns + c];
        if (!KRN_WriteOneBitPicture(o.limitMap, black, std::int32_t(across), std::int32_t(down)))
        {
            std::cerr << "krn coverage: cannot write " << o.limitMap << "\n";
            status = 1;
        }
    }

    for (std::size_t k = 0; k < names.size(); ++k)
        if (counts.unreadTiles[k] > 0)
        {
            std::cerr << "krn coverage: " << counts.unreadTiles[k] << " tile(s) of ink '"
                      << names[k] << "' could not be read and were counted without ink\n";
            status = 1;
        }
    // The limit reads the same tiles; its failures are told only when the coverage's were not.
    if (counts.unreadTiles.empty() ||
        std::all_of(counts.unreadTiles.begin(), counts.unreadTiles.end(),
                    [](std::uint64_t n) { return n == 0; }))
        for (const IMPN_TileFailure& failure : map.failures)
        {
            std::cerr << "krn coverage: " << failure.Describe() << "; counted without ink\n";
            status = 1;
        }
    return status;
}

const KRN_CommandRegistration registration(
    {"coverage",
     "coverage PATH...  each ink's coverage and the total, per rectangle or ink zone, and the "
     "cells over an ink limit (see krn coverage --help)",
     RunCoverage});
} // namespace
