// krn thumbnail PATH... --out FILE: the navigation thumbnail of one surface of one sheet, made as
// the viewer makes it (separations mixed in their decided inks over the paper, reduced to 350
// pixels). Prints its size and scale. Files ending in .png are PNG (when the tool is built with
// Qt), .ppm binary PPM.

#include "KRN_Command.h"
#include "KRN_OptionParser.h"
#include "KRN_SheetInput.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_ColorDatabasePaths.h"
#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_ThumbnailImage.h"
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
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{
const char* const kUsage =
    "usage: krn thumbnail PATH... [--sheet N] [--surface front|back] [--paper RRGGBB]\n"
    "                     [--colordb FILE] [--threads N] --out FILE.png|FILE.ppm\n"
    "--surface: the front unless given, or the back when only the back has inks\n"
    "--threads: threads that decode the reduced images (default: one per core; 1: this one only)\n"
    "inks are coloured as in the viewer: from the shipped named-colour library (or --colordb\n"
    "FILE, a site's own) and the user's custom colours\n";

struct Options
{
    std::vector<std::string> paths;
    int sheet = 1;
    bool back = false;
    bool surfaceChosen = false;
    std::optional<IMPN_ColorBGR> paper;
    std::string colordb;
    std::string out;
    unsigned threads = 0; // 0: one per core
};

// Reads the options into o; nothing when the thumbnail should be made, else the exit code.
std::optional<int> ParseOptions(const std::vector<std::string>& args, Options& o)
{
    using P = KRN_OptionParser;
    P parser("thumbnail", kUsage);
    parser.Operands(o.paths, 1, "no preview files given");
    KRN_AddSurfaceOptions(parser, o.sheet, o.back, &o.surfaceChosen);
    parser.Option("--paper", [&o](const std::string& v) { o.paper = P::Colour(v); });
    parser.Option("--colordb", o.colordb);
    KRN_AddThreadsOption(parser, o.threads);
    parser.Option("--out", o.out, P::kRequired);
    return parser.Parse(args);
}

int RunThumbnail(const std::vector<std::string>& args)
{
    Options o;
    if (const std::optional<int> exit = ParseOptions(args, o))
        return *exit;
    if (!KRN_CheckPictureOutput("thumbnail", o.out))
        return 2;
    // Inks are coloured as in the viewer, from the named-colour library and the custom colours.
    if (!KRN_LoadColorDatabases("thumbnail", o.colordb))
        return 1;

    IMPN_Registry registry;
    KRN_PlaceFiles("thumbnail", o.paths, registry);
    IMPN_SheetReference sheet = KRN_PickSheet("thumbnail", registry, o.sheet);
    if (!sheet)
        return 1;
    std::unique_ptr<IMPN_WorkerPool> pool = KRN_MakeWorkerPool(o.threads);
    // Unless a surface is asked for, the one with inks: the viewer's navigation shows the back
    // of a sheet whose front has none.
    if (!o.surfaceChosen && !sheet->GetFrontSurface().HasSeparations())
        o.back = true;
    IMPN_Surface& surface = o.back ? sheet->GetBackSurface() : sheet->GetFrontSurface();
    // The surface's own thumbnail is the picture asked for unless another paper is: it is made
    // by Prepare, and only then remade.
    if (o.paper)
        surface.SetPaperColor((*o.paper)[0], (*o.paper)[1], (*o.paper)[2]);
    sheet->Prepare(pool.get());
    if (!surface.HasSeparations() || surface.GetThumbnail() == nullptr)
    {
        std::cerr << "krn thumbnail: the " << (o.back ? "back" : "front") << " of "
                  << sheet->GetName() << " has no separations\n";
        return 1;
    }
    const IMPN_ThumbnailImage& thumbnail = *surface.GetThumbnail();
    if (thumbnail.GetWidth() <= 0 || thumbnail.GetHeight() <= 0)
    {
        std::cerr << "krn thumbnail: the reduced images of this surface cannot be read\n";
        return 1;
    }
    if (!KRN_WritePicture(o.out, thumbnail.GetPixels(), thumbnail.GetWidth(), thumbnail.GetHeight(),
                          std::size_t(thumbnail.GetRowLength()), 4))
    {
        std::cerr << "krn thumbnail: cannot write " << o.out << ": " << std::strerror(errno)
                  << "\n";
        return 1;
    }
    std::cout << thumbnail.GetWidth() << " x " << thumbnail.GetHeight() << " pixels, "
              << thumbnail.GetScale() << " full-resolution pixels per thumbnail pixel\n";
    return 0;
}

const KRN_CommandRegistration registration(
    {"thumbnail",
     "thumbnail PATH... --out FILE  navigation thumbnail of one surface (see krn thumbnail "
     "--help)",
     RunThumbnail});
} // namespace
