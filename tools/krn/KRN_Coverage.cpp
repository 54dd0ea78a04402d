// krn coverage PATH...: exact ink coverage of one surface of one sheet, counted from the screened
// one-bit separations: each ink's percentage and their total over the picture or a rectangle of
// it, or per ink zone of the press, as tab-separated lines or as CSV.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SheetInput.h"

#include "IMPN/IMPN_CoverageReport.h"
#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_Surface.h"

#include <algorithm>
#include <array>
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
    "prints each ink's coverage in percent and the total, in device pixels of the surface;\n"
    "--zones splits the width into N ink zones; --sheet counts from 1\n";

constexpr long long kMaxZones = 65536;

struct Options
{
    std::vector<std::string> paths;
    int sheet = 1;
    bool back = false;
    std::optional<std::array<std::int32_t, 4>> rect; // top, left, width, height
    std::uint32_t zones = 0;                         // 0: no zones
    bool csv = false;
};

int RunCoverage(const std::vector<std::string>& args)
{
    Options o;
    KRN_OptionParser parser("coverage", kUsage);
    parser.Operands(o.paths, 1, "no preview files given");
    KRN_AddSurfaceOptions(parser, o.sheet, o.back);
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
    parser.Flag("--csv", o.csv);
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;

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
        IMPN_Rect inside;
        if (!counter->Clip(rect, inside))
        {
            std::cerr << "krn coverage: the rectangle " << rect.top << "," << rect.left << ","
                      << rect.width << "," << rect.height << " lies wholly outside the picture ("
                      << width << " x " << length << " pixels)\n";
            return 1;
        }
    }

    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    int shown = -1;
    IMPN_InkCoverage::Progress progress;
    if (terminal)
        progress = [&shown](std::uint64_t done, std::uint64_t total)
        {
            const int percent = int(done * 100 / std::max<std::uint64_t>(total, 1));
            if (percent != shown)
            {
                shown = percent;
                std::cerr << "\rcounting " << percent << "%" << std::flush;
            }
            return true;
        };
    IMPN_InkCoverageCounts counts;
    const bool counted =
        counter->CountColumns(rect, std::max<std::uint32_t>(o.zones, 1), counts, progress);
    if (terminal)
        std::cerr << "\r" << std::string(16, ' ') << "\r";
    if (!counted)
    {
        std::cerr << "krn coverage: nothing to count\n";
        return 1;
    }

    std::cout << IMPN_CoverageReport::Write(names, counts, o.zones > 0, o.csv);

    int status = 0;
    for (std::size_t k = 0; k < names.size(); ++k)
        if (counts.unreadTiles[k] > 0)
        {
            std::cerr << "krn coverage: " << counts.unreadTiles[k] << " tile(s) of ink '"
                      << names[k] << "' could not be read and were counted without ink\n";
            status = 1;
        }
    return status;
}

const KRN_CommandRegistration registration(
    {"coverage",
     "coverage PATH...  each ink's coverage and the total, per rectangle or ink zone (see krn "
     "coverage --help)",
     RunCoverage});
} // namespace
