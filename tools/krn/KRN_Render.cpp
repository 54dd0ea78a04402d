// krn render PATH... --level L --out FILE: the composite of one surface of one sheet at one zoom
// level, assembled from the surface renderer's tiles exactly as the sheet view draws them. Files
// ending in .png are PNG (when the tool is built with Qt), .ppm binary PPM.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SheetInput.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_ColorDatabasePaths.h"
#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_SeparationInk.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_Exception.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: krn render PATH... [--sheet N] [--surface front|back] --level L\n"
    "                  [--rect TOP,LEFT,WIDTH,HEIGHT] [--hide INK]... [--opacity INK=P]...\n"
    "                  [--colour INK=RRGGBB]... [--paper RRGGBB] [--colordb FILE]\n"
    "                  [--memory SIZE] [--threads N] --out FILE.png|FILE.ppm\n"
    "levels: 0 is 8:1, 3 is 1:1, 6 is 1:8, 12 is 1:512; --sheet counts from 1\n"
    "--memory: budget of the tiles kept while rendering, bytes or with a unit\n"
    "(256M, 256MiB, 1G; MB and GB are powers of 1000), 16 MiB to 64 GiB, default 256 MiB\n"
    "--threads: threads that decode and reduce tiles (default: one per core; 1: this one only)\n"
    "inks are coloured as in the viewer: from the shipped named-colour library (or --colordb\n"
    "FILE, a site's own) and the user's custom colours\n";

// Pictures larger than this are refused before anything is allocated; a whole 8:1 level of a
// press sheet is tens of gigabytes, and --rect cuts out the part that is wanted.
constexpr std::uint64_t kMaxOutputBytes = std::uint64_t(2) << 30;

struct Options
{
    std::vector<std::string> paths;
    int sheet = 1;
    bool back = false;
    int level = -1;
    std::optional<std::array<std::int32_t, 4>> rect; // top, left, width, height
    std::vector<std::string> hide;
    std::vector<std::pair<std::string, int>> opacity;
    std::vector<std::pair<std::string, IMPN_ColorBGR>> colour;
    std::optional<IMPN_ColorBGR> paper;
    std::string colordb;
    std::string out;
    std::size_t memory = IMPN_SurfaceRenderer::kDefaultMemoryBudget;
    unsigned threads = 0; // 0: one per core
};

// Reads the options into o; nothing when the render should go ahead, else the exit code.
std::optional<int> ParseOptions(const std::vector<std::string>& args, Options& o)
{
    using P = KRN_OptionParser;
    P parser("render", kUsage);
    parser.Operands(o.paths, 1, "no preview files given");
    KRN_AddSurfaceOptions(parser, o.sheet, o.back);
    parser.Option(
        "--level",
        [&o](const std::string& v)
        {
            o.level = int(P::Integer(v, 0, IMPN_RenderLevel::kLevelCount - 1,
                                     "--level is 0 (8:1) to 12 (1:512)"));
        },
        P::kRequired);
    parser.Option("--rect",
                  [&o](const std::string& v)
                  {
                      const char* const problem =
                          "--rect needs TOP,LEFT,WIDTH,HEIGHT with a positive size";
                      const std::vector<long long> r = P::IntegerList(v, ',', 4, problem);
                      for (std::size_t k = 0; k < 4; ++k)
                          if (r[k] < (k < 2 ? INT32_MIN : 1) || r[k] > INT32_MAX)
                              throw KRN_UsageError(problem);
                      o.rect = std::array<std::int32_t, 4>{std::int32_t(r[0]), std::int32_t(r[1]),
                                                           std::int32_t(r[2]), std::int32_t(r[3])};
                  });
    parser.Repeated("--hide", o.hide);
    parser.Option("--opacity",
                  [&o](const std::string& v)
                  {
                      auto [ink, value] = P::Assignment(v, "--opacity");
                      o.opacity.emplace_back(
                          ink,
                          int(P::Integer(value, 0, 100, "--opacity needs a percentage 0 to 100")));
                  });
    parser.Option("--colour",
                  [&o](const std::string& v)
                  {
                      auto [ink, value] = P::Assignment(v, "--colour");
                      o.colour.emplace_back(ink, P::Colour(value));
                  });
    parser.Alias("--color", "--colour");
    parser.Option("--paper", [&o](const std::string& v) { o.paper = P::Colour(v); });
    parser.Option("--colordb", o.colordb);
    parser.Option("--memory",
                  [&o](const std::string& v)
                  {
                      o.memory = std::size_t(P::ByteSize(
                          v, IMPN_SurfaceRenderer::kMinMemoryBudget,
                          IMPN_SurfaceRenderer::kMaxMemoryBudget,
                          "--memory needs a size from 16MiB to 64GiB (bytes, or K, M, G, KiB, "
                          "MiB, GiB, KB, MB, GB)"));
                  });
    KRN_AddThreadsOption(parser, o.threads);
    parser.Option("--out", o.out, P::kRequired);
    return parser.Parse(args);
}

int RunRender(const std::vector<std::string>& args)
{
    Options o;
    if (const std::optional<int> exit = ParseOptions(args, o))
        return *exit;
    if (!KRN_CheckPictureOutput("render", o.out))
        return 2;
    // Inks are coloured as in the viewer, from the named-colour library and the custom colours.
    if (!KRN_LoadColorDatabases("render", o.colordb))
        return 1;

    IMPN_Registry registry;
    KRN_PlaceFiles("render", o.paths, registry);
    IMPN_SheetReference sheet = KRN_PickSheet("render", registry, o.sheet);
    if (!sheet)
        return 1;
    IMPN_Surface& surface = o.back ? sheet->GetBackSurface() : sheet->GetFrontSurface();
    if (!surface.HasSeparations())
    {
        std::cerr << "krn render: the " << (o.back ? "back" : "front") << " of " << sheet->GetName()
                  << " has no separations\n";
        return 1;
    }
    // The separations are prepared as the surface prepares them (colour decision, tile classes,
    // stamps); the surface's navigation thumbnail, which a render does not show, is not made.
    for (const auto& separation : surface.GetSeparations())
        separation->Prepare();

    auto find = [&surface](const std::string& ink) -> IMPN_Separation*
    {
        if (IMPN_Separation* s = surface.FindSeparation(ink))
            return s;
        std::string known;
        for (const auto& s : surface.GetSeparations())
            known += " '" + s->GetName() + "'";
        throw KRN_UsageError("no ink '" + ink + "' on this surface; its inks are" + known);
    };
    try
    {
        for (const std::string& ink : o.hide)
            find(ink)->SetVisible(false);
        for (const auto& [ink, percent] : o.opacity)
            find(ink)->SetOpacity(percent);
        for (const auto& [ink, bgr] : o.colour)
        {
            IMPN_Separation* s = find(ink);
            IMPN_ColorRecord record = s->GetCurrentColor();
            record.color = bgr;
            s->SetCurrentColor(record);
        }
    }
    catch (const KRN_UsageError& e)
    {
        std::cerr << "krn render: " << e.what() << "\n";
        return 1;
    }
    if (o.paper)
        surface.SetPaperColor((*o.paper)[0], (*o.paper)[1], (*o.paper)[2]);

    std::unique_ptr<IMPN_SurfaceRenderer> renderer =
        IMPN_SeparationInk::CreateRenderer(surface.GetSeparations(), surface.PaperColor().data());
    renderer->SetMemoryBudget(o.memory);
    const IMPN_RenderLevel& level = renderer->GetLevel(o.level);
    std::array<std::int32_t, 4> rect =
        o.rect.value_or(std::array<std::int32_t, 4>{0, 0, level.width, level.height});
    if (!o.rect)
    {
        if (level.width <= 0 || level.height <= 0)
        {
            std::cerr << "krn render: the picture is empty at level " << o.level << "\n";
            return 1;
        }
    }
    const std::uint64_t bytes = std::uint64_t(rect[2]) * std::uint64_t(rect[3]) * 3;
    if (bytes > kMaxOutputBytes)
    {
        std::cerr << "krn render: " << rect[2] << " x " << rect[3]
                  << " pixels is too large a picture; cut it with --rect\n";
        return 1;
    }

    std::vector<std::uint8_t> bgr(bytes);
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    int shown = -1;
    IMPN_RenderComposite::Progress progress;
    if (terminal)
        progress = [&shown](std::size_t done, std::size_t total)
        {
            const int percent = int(done * 100 / std::max<std::size_t>(total, 1));
            if (percent != shown)
            {
                shown = percent;
                std::cerr << "\rrendering " << percent << "%" << std::flush;
            }
        };
    // This thread takes a share of every batch, so N threads are this one and N - 1 workers.
    std::unique_ptr<IMPN_WorkerPool> pool = KRN_MakeWorkerPool(o.threads);
    IMPN_RenderComposite::Compose(*renderer, o.level, surface.GetLatestChange(), rect[0], rect[1],
                                  rect[2], rect[3], bgr.data(), std::size_t(rect[2]) * 3, progress,
                                  pool.get());
    if (terminal)
        std::cerr << "\r" << std::string(16, ' ') << "\r";

    const bool written =
        KRN_WritePicture(o.out, bgr.data(), rect[2], rect[3], std::size_t(rect[2]) * 3, 3);
    if (!written)
    {
        std::cerr << "krn render: cannot write " << o.out << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    return 0;
}

const KRN_CommandRegistration registration(
    {"render",
     "render PATH... --level L --out FILE  composite of one surface at one zoom level (see "
     "krn render --help)",
     RunRender});
} // namespace
