// krn thumbnail PATH... --out FILE: the navigation thumbnail of one surface of one sheet, made as
// the viewer makes it (separations mixed in their decided inks over the paper, reduced to 350
// pixels). Prints its size and scale. Files ending in .png are PNG (when the tool is built with
// Qt), .ppm binary PPM.

#include "KRN_Command.h"
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
#include <vector>

namespace
{
const char* const kUsage = "usage: krn thumbnail PATH... [--sheet N] [--surface front|back]\n"
                           "                     [--paper RRGGBB] --out FILE.png|FILE.ppm\n";

struct Options
{
    std::vector<std::string> paths;
    int sheet = 1;
    bool back = false;
    std::optional<IMPN_ColorBGR> paper;
    std::string out;
};

struct UsageError
{
    std::string text;
};

Options ParseOptions(const std::vector<std::string>& args)
{
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& a = args[i];
        if (a.size() < 2 || a.compare(0, 2, "--") != 0)
        {
            o.paths.push_back(a);
            continue;
        }
        if (i + 1 >= args.size())
            throw UsageError{a + " needs a value"};
        const std::string& v = args[++i];
        if (a == "--sheet")
        {
            int n = 0;
            const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || ptr != v.data() + v.size() || n < 1)
                throw UsageError{"--sheet needs a sheet number from 1"};
            o.sheet = n;
        }
        else if (a == "--surface")
        {
            if (v != "front" && v != "back")
                throw UsageError{"--surface is front or back"};
            o.back = v == "back";
        }
        else if (a == "--paper")
        {
            if (v.size() != 6 ||
                !std::all_of(v.begin(), v.end(),
                             [](unsigned char c) { return std::isxdigit(c) != 0; }))
                throw UsageError{"'" + v + "' is not a colour RRGGBB in hexadecimal"};
            const unsigned long rgb = std::stoul(v, nullptr, 16);
            o.paper = IMPN_MakeColorBGR(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8),
                                        std::uint8_t(rgb));
        }
        else if (a == "--out")
            o.out = v;
        else
            throw UsageError{"unknown option " + a};
    }
    if (o.paths.empty())
        throw UsageError{"no preview files given"};
    if (o.out.empty())
        throw UsageError{"--out is required"};
    return o;
}

int RunThumbnail(const std::vector<std::string>& args)
{
    if (std::find(args.begin(), args.end(), "--help") != args.end())
    {
        std::cout << kUsage;
        return 0;
    }
    Options o;
    try
    {
        o = ParseOptions(args);
    }
    catch (const UsageError& e)
    {
        std::cerr << "krn thumbnail: " << e.text << "\n" << kUsage;
        return 2;
    }
    if (!KRN_CheckPictureOutput("thumbnail", o.out))
        return 2;

    IMPN_Registry registry;
    KRN_PlaceFiles("thumbnail", o.paths, registry);
    IMPN_SheetReference sheet = KRN_PickSheet("thumbnail", registry, o.sheet);
    if (!sheet)
        return 1;
    // Inks are coloured from the shipped colour library; the user's custom colours are left
    // alone, since loading them may create their file and this command writes only its picture.
    IMPN_ColorDatabases::Global().LoadNamedColors(IMPN_ColorDatabasePaths::FindProgramDataFile(
        IMPN_ColorDatabasePaths::kNamedColorsFileName));
    sheet->Prepare();
    IMPN_Surface& surface = o.back ? sheet->GetBackSurface() : sheet->GetFrontSurface();
    if (!surface.HasSeparations())
    {
        std::cerr << "krn thumbnail: the " << (o.back ? "back" : "front") << " of "
                  << sheet->GetName() << " has no separations\n";
        return 1;
    }
    if (o.paper)
        surface.SetPaperColor((*o.paper)[0], (*o.paper)[1], (*o.paper)[2]);

    const IMPN_ThumbnailImage thumbnail(surface.GetSeparations(), surface.PaperColor());
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
