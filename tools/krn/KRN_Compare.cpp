// krn compare OLD NEW: what changed between two versions of a job (two runs of the raster image
// processor), exactly: for each separation the pixels added and removed, counted at full
// resolution, optionally with the changed regions; and what is in one version only. Tiles whose
// stored bytes are the same in both files are not decoded.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SheetInput.h"

#include "IMPN/IMPN_CompareReport.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <iostream>
#include <string>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: krn compare OLD NEW [--sheet N] [--surface front|back] [--ink NAME] [--regions]\n"
    "                   [--threads N]\n"
    "OLD and NEW are each a job folder or a single preview file. One line per compared\n"
    "separation: sheet (from 1, in OLD's order), front or back, ink, pixels added, pixels\n"
    "removed; --regions adds the changed regions below it (TOP,LEFT,WIDTH,HEIGHT); then what\n"
    "is only in one version or cannot be compared. Exit 0 when nothing shown differs, 1 when\n"
    "something does, 2 for bad usage or a version that cannot be read\n";

int RunCompare(const std::vector<std::string>& args)
{
    std::vector<std::string> sides;
    IMPN_CompareReport::Filter filter;
    unsigned threads = 0;
    KRN_OptionParser parser("compare", kUsage);
    parser.Operands(sides, 2, "compare needs OLD and NEW");
    parser.Option("--sheet",
                  [&](const std::string& v)
                  {
                      filter.sheet = int(KRN_OptionParser::Integer(
                          v, 1, 1 << 30, "--sheet needs a sheet number from 1"));
                  });
    parser.Option("--surface",
                  [&](const std::string& v)
                  {
                      filter.surface = int(KRN_OptionParser::OneOf(v, {"front", "back"},
                                                                   "--surface is front or back"));
                  });
    parser.Option("--ink",
                  [&](const std::string& v)
                  {
                      if (v.empty())
                          throw KRN_UsageError("--ink needs an ink name");
                      filter.ink = v;
                  });
    parser.Flag("--regions", filter.regions);
    KRN_AddThreadsOption(parser, threads);
    if (const std::optional<int> exit = parser.Parse(args))
        return *exit;
    if (sides.size() != 2)
        return parser.Fail("compare needs exactly two versions, OLD and NEW");

    IMPN_Registry registries[2];
    const char* const names[2] = {"old", "new"};
    for (int i = 0; i < 2; ++i)
    {
        KRN_PlaceFiles("compare", {sides[i]}, registries[i]);
        std::vector<IMPN_Sheet*> sheets;
        registries[i].CollectSheets(sheets);
        if (sheets.empty())
        {
            std::cerr << "krn compare: the " << names[i] << " version " << sides[i]
                      << " holds no preview job (no valid preview files)\n";
            return 2;
        }
        if (i == 0 && filter.sheet > int(sheets.size()))
            return parser.Fail("--sheet " + std::to_string(filter.sheet) + " but " + sides[0] +
                               " has " + std::to_string(sheets.size()) + " sheets");
    }

    if (threads == 0)
        threads = IMPN_WorkerPool::DefaultWorkerCount();
    const std::unique_ptr<IMPN_WorkerPool> pool = KRN_MakeWorkerPool(threads);
    const IMPN_CompareReport::Outcome outcome =
        IMPN_CompareReport::Run(registries[0], registries[1], filter, pool.get(), threads);
    if (!outcome.unreadable.empty())
    {
        std::cerr << "krn compare: " << outcome.unreadable << "\n";
        return 2;
    }
    // An ink that neither version has is a mistake in the command, not a match.
    if (!filter.ink.empty() && outcome.text.empty())
        return parser.Fail("no ink " + filter.ink + " in what --sheet and --surface show");
    std::cout << outcome.text << std::flush;
    for (const std::string& warning : outcome.warnings)
        std::cerr << "krn compare: warning: " << warning << "\n";
    return outcome.differs ? 1 : 0;
}

const KRN_CommandRegistration registration(
    {"compare",
     "compare OLD NEW          pixels added and removed between two versions of a job (see krn "
     "compare --help)",
     RunCompare});
} // namespace
