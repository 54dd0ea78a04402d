// krn thumbnail PATH... --out FILE: the navigation thumbnail of one surface of one sheet, made as
// the viewer makes it (separations mixed in their decided inks over the paper, reduced to 350
// pixels). Prints its size and scale. Files ending in .png are PNG (when the tool is built with
// Qt), .ppm binary PPM.

#include "KRN_Command.h"

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

#if __has_include(<QtGui/QImage>)
#include <QtGui/QImage>
#define KRN_THUMBNAIL_PNG 1
#endif

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

bool EndsWith(std::string text, const char* suffix)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// The files a path names: the file itself, or a folder's files (no recursion), sorted by name.
std::vector<std::string> ExpandPath(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_directory(path, error))
        return {path};
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
    {
        std::error_code ignored;
        if (entry.is_regular_file(ignored))
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The thumbnail's pixels are blue, green, red and a spare byte; PPM wants red, green, blue.
bool WritePpm(const std::string& path, const IMPN_ThumbnailImage& t)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", t.GetWidth(), t.GetHeight());
    std::vector<std::uint8_t> row(std::size_t(t.GetWidth()) * 3);
    bool ok = true;
    for (std::int32_t y = 0; y < t.GetHeight() && ok; ++y)
    {
        const std::uint8_t* src = t.GetPixels() + std::size_t(y) * t.GetRowLength();
        for (std::int32_t x = 0; x < t.GetWidth(); ++x)
        {
            row[3 * std::size_t(x)] = src[4 * std::size_t(x) + 2];
            row[3 * std::size_t(x) + 1] = src[4 * std::size_t(x) + 1];
            row[3 * std::size_t(x) + 2] = src[4 * std::size_t(x)];
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

bool WritePng(const std::string& path, const IMPN_ThumbnailImage& t)
{
#ifdef KRN_THUMBNAIL_PNG
    // Byte 3 is 0, so the pixels are read as 32-bit RGB without alpha, blue in the low byte.
    QImage image(t.GetPixels(), t.GetWidth(), t.GetHeight(), qsizetype(t.GetRowLength()),
                 QImage::Format_RGB32);
    return image.save(QString::fromStdString(path), "PNG");
#else
    (void)path, (void)t;
    return false;
#endif
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
    const bool png = EndsWith(o.out, ".png");
    if (!png && !EndsWith(o.out, ".ppm"))
    {
        std::cerr << "krn thumbnail: --out must end in .png or .ppm\n";
        return 2;
    }
#ifndef KRN_THUMBNAIL_PNG
    if (png)
    {
        std::cerr << "krn thumbnail: this krn is built without Qt and writes PPM only\n";
        return 2;
    }
#endif

    IMPN_Registry registry;
    std::vector<IMPN_Registry::RejectedFile> rejected;
    for (const std::string& arg : o.paths)
        for (const std::string& path : ExpandPath(arg))
        {
            try
            {
                registry.AddFiles({GFIL_FileSpec(path)}, false, &rejected);
            }
            catch (const TIFX_Exception& e)
            {
                std::cerr << "krn thumbnail: " << path << ": " << e.what() << "\n";
            }
            catch (const GLIB_Exception& e)
            {
                std::cerr << "krn thumbnail: " << path << ": " << e.WhatNarrow() << "\n";
            }
        }
    for (const auto& r : rejected)
        std::cerr << "krn thumbnail: skipped " << ToNarrow(r.path)
                  << (r.detail.empty() ? std::string() : ": " + r.detail) << "\n";

    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    if (sheets.empty())
    {
        std::cerr << "krn thumbnail: no preview files to show\n";
        return 1;
    }
    if (o.sheet > int(sheets.size()))
    {
        std::cerr << "krn thumbnail: --sheet " << o.sheet << " but there are " << sheets.size()
                  << " sheets\n";
        return 1;
    }
    IMPN_SheetReference sheet(sheets[std::size_t(o.sheet - 1)]);
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
    if (!(png ? WritePng(o.out, thumbnail) : WritePpm(o.out, thumbnail)))
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
