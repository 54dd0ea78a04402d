#include "KRN_SheetInput.h"

#include "KRN_OptionParser.h"

#include "GFIL/GFIL_FileKind.h"
#include "GFIL/GFIL_FileSpec.h"
#include "GFIL/GFIL_ProgramData.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_ColorDatabasePaths.h"
#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_Exception.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if __has_include(<QtGui/QImage>)
#include <QtCore/QFile>
#include <QtGui/QImage>
#define KRN_PNG 1
#endif

bool KRN_EndsWithNoCase(std::string text, const char* suffix)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

bool KRN_HasPreviewExtension(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    return KRN_EndsWithNoCase(name, ".krn") || KRN_EndsWithNoCase(name, ".prv") ||
           KRN_EndsWithNoCase(name, ".tif");
}

std::vector<std::string> KRN_ExpandPath(const std::string& path, std::vector<std::string>& problems)
{
    std::error_code error;
    if (!std::filesystem::is_directory(path, error))
        return {path};
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
    {
        std::error_code ignored;
        if (entry.is_regular_file(ignored) && KRN_HasPreviewExtension(entry.path()))
            files.push_back(entry.path().string());
    }
    if (error)
        problems.push_back(path + ": cannot list the folder: " + error.message());
    std::sort(files.begin(), files.end());
    return files;
}

bool KRN_PlaceFiles(const char* command, const std::vector<std::string>& paths,
                    IMPN_Registry& registry)
{
    std::vector<std::string> problems;
    std::vector<IMPN_Registry::RejectedFile> rejected;
    for (const std::string& arg : paths)
    {
        for (const std::string& path : KRN_ExpandPath(arg, problems))
        {
            try
            {
                registry.AddFiles({GFIL_FileSpec(path)}, false, &rejected);
            }
            catch (const TIFX_Exception& e)
            {
                problems.push_back(path + ": " + e.what());
            }
            catch (const GLIB_Exception& e)
            {
                problems.push_back(path + ": " + e.WhatNarrow());
            }
        }
    }
    for (const std::string& problem : problems)
        std::cerr << "krn " << command << ": " << problem << "\n";
    for (const auto& r : rejected)
        std::cerr << "krn " << command << ": skipped " << PathToNarrow(r.path)
                  << (r.detail.empty() ? std::string() : ": " + r.detail) << "\n";
    return problems.empty() && rejected.empty();
}

bool KRN_LoadColorDatabases(const char* command, const std::string& libraryPath)
{
    using Status = IMPN_ColorDatabaseFile::Status;
    IMPN_ColorDatabases& databases = IMPN_ColorDatabases::Global();
    const std::optional<std::filesystem::path> library =
        libraryPath.empty() ? GFIL_ProgramData::Find(IMPN_ColorDatabasePaths::kNamedColorsFileName)
                            : std::optional<std::filesystem::path>(libraryPath);
    const IMPN_ColorDatabaseFile::ReadResult named = databases.LoadNamedColors(library);
    if (!libraryPath.empty() && !named.Accepted())
    {
        std::cerr << "krn " << command << ": " << libraryPath << ": "
                  << (named.status == Status::Missing ? std::string("no such file")
                      : named.problem.empty()         ? std::string("not a colour database")
                                                      : named.problem)
                  << "\n";
        return false;
    }
    if (named.status == Status::Incomplete)
        std::cerr << "krn " << command << ": warning: " << library->string() << ": read "
                  << named.entriesRead << " of " << named.announcedCount << " entries\n";

    // The viewer's load would create a missing custom file; here it is only read.
    databases.ClearCustomColors();
    const std::optional<std::filesystem::path> folder = IMPN_ColorDatabasePaths::UserDataFolder();
    if (!folder)
        return true;
    const std::filesystem::path file = *folder / IMPN_ColorDatabasePaths::kCustomColorsFileName;
    const IMPN_ColorDatabaseFile::ReadResult custom = IMPN_ColorDatabaseFile::Read(file);
    if (custom.status == Status::Rejected || custom.status == Status::Unreadable ||
        custom.status == Status::Incomplete)
        std::cerr << "krn " << command << ": warning: custom colours " << file.string() << ": "
                  << custom.problem << "\n";
    // Stored as the viewer stores a picked colour; a name of the named-colour library never
    // reaches the custom colours, as it is found there first anyway.
    for (const auto& [name, entry] : custom.database)
        databases.StoreCustomColor(name, entry.DisplayColor());
    return true;
}

IMPN_SheetReference KRN_PickSheet(const char* command, IMPN_Registry& registry, int number)
{
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    if (sheets.empty())
    {
        std::cerr << "krn " << command << ": no valid preview files\n";
        return {};
    }
    if (number < 1 || number > static_cast<int>(sheets.size()))
    {
        std::cerr << "krn " << command << ": --sheet " << number << " but there are "
                  << sheets.size() << " sheets\n";
        return {};
    }
    return IMPN_SheetReference(sheets[static_cast<std::size_t>(number - 1)]);
}

bool KRN_CheckPictureOutput(const char* command, const std::string& path)
{
    const bool png = KRN_EndsWithNoCase(path, ".png");
    if (!png && !KRN_EndsWithNoCase(path, ".ppm"))
    {
        std::cerr << "krn " << command << ": --out must end in .png or .ppm\n";
        return false;
    }
    // A FIFO would hold the picture back until something reads it, a device or a folder cannot
    // take it: refused now, before any work, not after.
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
    {
        std::cerr << "krn " << command << ": --out " << path << ": "
                  << GFIL_NotRegularFileText(st.st_mode) << "\n";
        return false;
    }
#ifndef KRN_PNG
    if (png)
    {
        std::cerr << "krn " << command << ": this krn is built without Qt and writes PPM only\n";
        return false;
    }
#endif
    return true;
}

bool KRN_WritePicture(const std::string& path, const std::uint8_t* pixels, std::int32_t width,
                      std::int32_t height, std::size_t rowBytes, int bytesPerPixel)
{
    if (width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4))
        return false;
    // Opened without waiting, and written only when it is a regular file: a FIFO put in the
    // picture's place since the check would otherwise hold the write for ever.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::ftruncate(fd, 0) != 0)
    {
        const int error = S_ISREG(st.st_mode) ? errno : EINVAL;
        ::close(fd);
        errno = error;
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (KRN_EndsWithNoCase(path, ".png"))
    {
#ifdef KRN_PNG
        // With four bytes a pixel the spare byte is ignored: 32-bit RGB, blue in the low byte.
        const QImage image(pixels, width, height, static_cast<qsizetype>(rowBytes),
                           bytesPerPixel == 3 ? QImage::Format_BGR888 : QImage::Format_RGB32);
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
        {
            ::close(fd);
            return false;
        }
        return image.save(&file, "PNG") && file.flush();
#else
        ::close(fd);
        return false;
#endif
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr)
    {
        ::close(fd);
        return false;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    bool ok = true;
    for (std::int32_t y = 0; y < height && ok; ++y)
    {
        const std::uint8_t* src = pixels + static_cast<std::size_t>(y) * rowBytes;
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x)
        {
            const std::uint8_t* p = src + x * static_cast<std::size_t>(bytesPerPixel);
            row[3 * x] = p[2];
            row[3 * x + 1] = p[1];
            row[3 * x + 2] = p[0];
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

bool KRN_WriteOneBitPicture(const std::string& path, const std::vector<std::uint8_t>& black,
                            std::int32_t width, std::int32_t height)
{
#ifdef KRN_PNG
    if (width <= 0 || height <= 0 || black.size() < std::size_t(width) * std::size_t(height))
        return false;
    QImage image(width, height, QImage::Format_Mono);
    if (image.isNull())
        return false;
    // Index 0 white, 1 black: a two-grey palette, which the PNG writer keeps at one bit.
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            if (black[std::size_t(y) * std::size_t(width) + std::size_t(x)])
                image.setPixel(x, y, 1);
    return image.save(QString::fromStdString(path), "PNG");
#else
    (void)path, (void)black, (void)width, (void)height;
    return false;
#endif
}

void KRN_AddThreadsOption(KRN_OptionParser& parser, unsigned& threads)
{
    using P = KRN_OptionParser;
    parser.Option(
        "--threads", [&threads](const std::string& v)
        { threads = unsigned(P::Integer(v, 1, 256, "--threads needs a number 1 to 256")); });
}

std::unique_ptr<IMPN_WorkerPool> KRN_MakeWorkerPool(unsigned threads)
{
    if (threads == 0)
        threads = IMPN_WorkerPool::DefaultWorkerCount();
    if (threads <= 1)
        return nullptr;
    return std::make_unique<IMPN_WorkerPool>(threads - 1);
}

void KRN_AddSurfaceOptions(KRN_OptionParser& parser, int& sheet, bool& back, bool* chosen)
{
    using P = KRN_OptionParser;
    parser.Option("--sheet",
                  [&sheet](const std::string& v) {
                      sheet = int(P::Integer(v, 1, 1 << 30, "--sheet needs a sheet number from 1"));
                  });
    parser.Option("--surface",
                  [&back, chosen](const std::string& v)
                  {
                      back = P::OneOf(v, {"front", "back"}, "--surface is front or back") == 1;
                      if (chosen != nullptr)
                          *chosen = true;
                  });
}
