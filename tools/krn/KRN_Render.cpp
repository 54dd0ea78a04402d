// krn render PATH... --level L --out FILE: the composite of one surface of one sheet at one zoom
// level, assembled from the surface renderer's tiles exactly as the sheet view draws them. Files
// ending in .png are PNG (when the tool is built with Qt), .ppm binary PPM.

#include "KRN_Command.h"
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
    "                  [--colour INK=RRGGBB]... [--paper RRGGBB] --out FILE.png|FILE.ppm\n"
    "levels: 0 is 8:1, 3 is 1:1, 6 is 1:8, 12 is 1:512; --sheet counts from 1\n";

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
    std::string out;
};

struct UsageError
{
    std::string text;
};

bool ParseInt(const std::string& text, long long low, long long high, long long& value)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

IMPN_ColorBGR ParseColour(const std::string& text)
{
    if (text.size() != 6 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); }))
        throw UsageError{"'" + text + "' is not a colour RRGGBB in hexadecimal"};
    const unsigned long v = std::stoul(text, nullptr, 16);
    return IMPN_MakeColorBGR(std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v));
}

std::pair<std::string, std::string> SplitAssignment(const std::string& text, const char* option)
{
    const std::size_t eq = text.rfind('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError{std::string(option) + " needs INK=VALUE, not '" + text + "'"};
    return {text.substr(0, eq), text.substr(eq + 1)};
}

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
        long long n = 0;
        if (a == "--sheet")
        {
            if (!ParseInt(v, 1, 1 << 30, n))
                throw UsageError{"--sheet needs a sheet number from 1"};
            o.sheet = int(n);
        }
        else if (a == "--surface")
        {
            if (v != "front" && v != "back")
                throw UsageError{"--surface is front or back"};
            o.back = v == "back";
        }
        else if (a == "--level")
        {
            if (!ParseInt(v, 0, IMPN_RenderLevel::kLevelCount - 1, n))
                throw UsageError{"--level is 0 (8:1) to 12 (1:512)"};
            o.level = int(n);
        }
        else if (a == "--rect")
        {
            std::array<std::int32_t, 4> r{};
            std::size_t start = 0;
            for (int k = 0; k < 4; ++k)
            {
                const std::size_t comma = k < 3 ? v.find(',', start) : v.size();
                if (comma == std::string::npos ||
                    !ParseInt(v.substr(start, comma - start), k < 2 ? INT32_MIN : 1, INT32_MAX, n))
                    throw UsageError{"--rect needs TOP,LEFT,WIDTH,HEIGHT with a positive size"};
                r[k] = std::int32_t(n);
                start = comma + 1;
            }
            o.rect = r;
        }
        else if (a == "--hide")
            o.hide.push_back(v);
        else if (a == "--opacity")
        {
            auto [ink, value] = SplitAssignment(v, "--opacity");
            if (!ParseInt(value, 0, 100, n))
                throw UsageError{"--opacity needs a percentage 0 to 100"};
            o.opacity.emplace_back(ink, int(n));
        }
        else if (a == "--colour" || a == "--color")
        {
            auto [ink, value] = SplitAssignment(v, "--colour");
            o.colour.emplace_back(ink, ParseColour(value));
        }
        else if (a == "--paper")
            o.paper = ParseColour(v);
        else if (a == "--out")
            o.out = v;
        else
            throw UsageError{"unknown option " + a};
    }
    if (o.paths.empty())
        throw UsageError{"no preview files given"};
    if (o.level < 0)
        throw UsageError{"--level is required"};
    if (o.out.empty())
        throw UsageError{"--out is required"};
    return o;
}

int RunRender(const std::vector<std::string>& args)
{
    if (std::find_if(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; }) != args.end())
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
        std::cerr << "krn render: " << e.text << "\n" << kUsage;
        return 2;
    }
    if (!KRN_CheckPictureOutput("render", o.out))
        return 2;

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
    // Inks are coloured from the shipped colour library as in the viewer. The user's custom
    // colours are left alone: loading them creates their file when it is missing, and a render
    // must not write anything but its picture.
    IMPN_ColorDatabases::Global().LoadNamedColors(IMPN_ColorDatabasePaths::FindProgramDataFile(
        IMPN_ColorDatabasePaths::kNamedColorsFileName));
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
        throw UsageError{"no ink '" + ink + "' on this surface; its inks are" + known};
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
    catch (const UsageError& e)
    {
        std::cerr << "krn render: " << e.text << "\n";
        return 1;
    }
    if (o.paper)
        surface.SetPaperColor((*o.paper)[0], (*o.paper)[1], (*o.paper)[2]);

    std::unique_ptr<IMPN_SurfaceRenderer> renderer =
        IMPN_SeparationInk::CreateRenderer(surface.GetSeparations(), surface.PaperColor().data());
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
    IMPN_RenderComposite::Compose(*renderer, o.level, surface.GetLatestChange(), rect[0], rect[1],
                                  rect[2], rect[3], bgr.data(), std::size_t(rect[2]) * 3, progress);
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
