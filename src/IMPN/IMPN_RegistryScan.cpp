#include "IMPN/IMPN_RegistryScan.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Imposition.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Signature.h"
#include "IMPN/IMPN_Surface.h"
#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_KRNFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <exception>
#include <sys/stat.h>

namespace
{
template <class T>
int Sign(T a, T b)
{
    return (a > b) - (a < b);
}

// The mean of the times that can be read (above 0), without overflow: times are near 2^57.
std::int64_t MeanOfKnown(const std::vector<std::int64_t>& times)
{
    std::vector<std::int64_t> known;
    for (std::int64_t t : times)
        if (t > 0)
            known.push_back(t);
    if (known.empty())
        return 0;
    const std::int64_t n = static_cast<std::int64_t>(known.size());
    std::int64_t quotients = 0, remainders = 0;
    for (std::int64_t t : known)
    {
        quotients += t / n;
        remainders += t % n;
    }
    return quotients + remainders / n;
}

std::int64_t SurfaceTicks(const IMPN_Surface& surface)
{
    std::vector<std::int64_t> times;
    for (const auto& separation : surface.GetSeparations())
        times.push_back(separation->GetPrintTicks());
    return MeanOfKnown(times);
}

std::int64_t SheetTicks(const IMPN_Sheet& sheet)
{
    return MeanOfKnown(
        {SurfaceTicks(sheet.GetFrontSurface()), SurfaceTicks(sheet.GetBackSurface())});
}

std::string Describe(const std::exception& e)
{
    const char* text = e.what();
    return text != nullptr && *text != '\0' ? text : "Unreadable file";
}
} // namespace

bool IMPN_RegistryScan::IsCandidateName(std::string_view name)
{
    if (name.empty() || name.front() == '.')
        return false;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension(name.substr(dot));
    for (const char* wanted : {".KRN", ".PRV", ".TIF"})
        if (extension.size() == std::strlen(wanted) &&
            CompareAsciiNoCase(extension.c_str(), wanted) == 0)
            return true;
    return false;
}

bool IMPN_RegistryScan::ListFolder(const std::string& folder, std::vector<std::string>& files,
                                   std::string& error)
{
    files.clear();
    error.clear();
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
    {
        error = std::strerror(errno);
        return false;
    }
    const std::string prefix = !folder.empty() && folder.back() == '/' ? folder : folder + "/";
    std::vector<std::pair<std::wstring, std::string>> found;
    while (const dirent* entry = readdir(dir))
    {
        const std::string_view name = entry->d_name;
        if (!IsCandidateName(name))
            continue;
        std::string path = prefix + std::string(name);
        struct stat info;
        // A name that cannot be examined is still listed: reading it says why it is no preview.
        if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            continue;
        found.emplace_back(ToWide(name), std::move(path));
    }
    closedir(dir);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b)
              {
                  const int c = CompareNoCase(a.first, b.first);
                  return c != 0 ? c < 0 : a.second < b.second;
              });
    files.reserve(found.size());
    for (auto& [key, path] : found)
        files.push_back(std::move(path));
    return true;
}

/* The file is placed in a scratch registry first: a failure half way through placing it (a
   broken reduced image met while its separation is made) then leaves no empty imposition or
   signature behind in the real one. */
bool IMPN_RegistryScan::AddFile(IMPN_Registry& registry, const std::string& path,
                                IMPN_RegistryFolder& record)
{
    auto invalid = [&](std::string reason)
    {
        ++record.invalidCount;
        record.invalidFiles.push_back(path);
        record.reasons.push_back(std::move(reason));
        return false;
    };
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return invalid(std::strerror(errno));
    // A FIFO or device would block or never end: only regular files are opened.
    if (!S_ISREG(info.st_mode))
        return invalid(NotRegularReason);
    try
    {
        TIFX_KRNFile file(path);
        file.Open();
        if (!file.IsValidPreviewFile())
            return invalid(MissingTagReason);
        {
            IMPN_Registry trial;
            trial.AddFile(file);
        }
        registry.AddFile(file);
    }
    catch (const TIFX_Exception& e)
    {
        return invalid(Describe(e));
    }
    catch (const GLIB_Exception& e)
    {
        return invalid(e.WhatNarrow());
    }
    catch (const std::bad_alloc&)
    {
        return invalid("Not enough memory to read the file");
    }
    catch (const std::exception& e)
    {
        return invalid(Describe(e));
    }
    catch (...)
    {
        return invalid(GLIB_DescribeException(std::current_exception()));
    }
    ++record.validCount;
    return true;
}

/* A scan may run away from the user-interface thread: whatever it meets (no memory for the
   listing, a progress report that fails) ends it with the reason in the record, never by
   throwing. */
bool IMPN_RegistryScan::Scan(const std::string& folder, IMPN_Registry& registry,
                             IMPN_RegistryFolder& record, const Progress& progress,
                             const std::atomic<bool>* stop)
{
    registry.Clear();
    record.Clear();
    try
    {
        record.folder = folder;
        std::vector<std::string> files;
        if (!ListFolder(folder, files, record.listError))
            return false;
        record.total = static_cast<int>(files.size());
        for (const std::string& path : files)
        {
            if (stop != nullptr && stop->load())
            {
                record.stopped = true;
                break;
            }
            AddFile(registry, path, record);
            if (progress)
                progress(record.validCount + record.invalidCount, record.total);
        }
        return true;
    }
    catch (...)
    {
        registry.Clear();
        const std::string reason = GLIB_DescribeException(std::current_exception());
        record.Clear();
        record.folder = folder;
        record.listError = reason;
        return false;
    }
}

std::wstring IMPN_RegistryScan::ItemText(Kind kind, const IMPN_Node& node, const Words& words)
{
    switch (kind)
    {
    case Imposition:
    {
        const auto& imposition = static_cast<const IMPN_Imposition&>(node);
        const std::size_t count = imposition.GetSignatures().size();
        return ToWide(imposition.GetTitle()) + L" [" + std::to_wstring(count) + L" " +
               (count == 1 ? words.signature : words.signatures) + L"]";
    }
    case Signature:
    {
        const auto& signature = static_cast<const IMPN_Signature&>(node);
        const std::size_t count = signature.GetSheets().size();
        return words.signature + L" " + std::to_wstring(signature.GetNumber()) + L" [" +
               std::to_wstring(count) + L" " + (count == 1 ? words.web : words.webs) + L"]";
    }
    case Sheet:
    {
        const std::string name = static_cast<const IMPN_Sheet&>(node).GetName();
        return words.web + ToWide(name.size() > 3 ? name.substr(3) : std::string());
    }
    case Surface:
        return ToWide(node.GetName());
    case Separation:
        return ToWide(static_cast<const IMPN_Separation&>(node).GetColorName());
    }
    return {};
}

std::int64_t IMPN_RegistryScan::PrintTicks(Kind kind, const IMPN_Node& node)
{
    switch (kind)
    {
    case Separation:
        return std::max<std::int64_t>(0, static_cast<const IMPN_Separation&>(node).GetPrintTicks());
    case Surface:
        return SurfaceTicks(static_cast<const IMPN_Surface&>(node));
    case Sheet:
        return SheetTicks(static_cast<const IMPN_Sheet&>(node));
    default:
        return 0;
    }
}

/* Civil date from a day count (the proleptic Gregorian calendar), so that the text does not
   depend on the C library's time range or zone. */
std::string IMPN_RegistryScan::FormatTicks(std::int64_t ticks)
{
    if (ticks <= 0)
        return "----";
    constexpr std::int64_t ticksPerSecond = 10'000'000;
    const std::int64_t seconds = ticks / ticksPerSecond;
    const std::int64_t daysSince1601 = seconds / 86'400;
    const std::int64_t secondOfDay = seconds % 86'400;
    // 1601-01-01 is day -134774 counted from 1970-01-01.
    const std::int64_t z = daysSince1601 - 134'774 + 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const std::int64_t doe = z - era * 146'097;
    const std::int64_t yoe = (doe - doe / 1'460 + doe / 36'524 - doe / 146'096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld",
                  static_cast<long long>(year), static_cast<long long>(month),
                  static_cast<long long>(day), static_cast<long long>(secondOfDay / 3'600),
                  static_cast<long long>(secondOfDay / 60 % 60),
                  static_cast<long long>(secondOfDay % 60));
    return text;
}

std::vector<IMPN_RegistryScan::Child> IMPN_RegistryScan::Children(Kind kind, IMPN_Node& node,
                                                                  bool entireTree)
{
    std::vector<Child> children;
    switch (kind)
    {
    case Imposition:
        for (const auto& signature : static_cast<IMPN_Imposition&>(node).GetSignatures())
            children.push_back({Signature, signature.get()});
        break;
    case Signature:
        for (IMPN_Sheet* sheet : static_cast<IMPN_Signature&>(node).GetSheets())
            children.push_back({Sheet, sheet});
        break;
    case Sheet:
        if (entireTree)
        {
            auto& sheet = static_cast<IMPN_Sheet&>(node);
            if (sheet.GetBackSurface().HasSeparations())
                children.push_back({Surface, &sheet.GetBackSurface()});
            if (sheet.GetFrontSurface().HasSeparations())
                children.push_back({Surface, &sheet.GetFrontSurface()});
        }
        break;
    case Surface:
        if (entireTree)
            for (const auto& separation : static_cast<IMPN_Surface&>(node).GetSeparations())
                children.push_back({Separation, separation.get()});
        break;
    case Separation:
        break;
    }
    return children;
}

/* Every comparison is three-way on the full values: a difference of two 64-bit times narrowed to
   an int would change sign. */
int IMPN_RegistryScan::Compare(Kind kind, const IMPN_Node& a, const IMPN_Node& b, int column,
                               int direction)
{
    if ((column != 0 && column != 1) || (direction != 1 && direction != -1))
        return 0;
    int order = 0;
    switch (kind)
    {
    case Imposition:
        order = Sign(static_cast<const IMPN_Imposition&>(a).GetTitle().compare(
                         static_cast<const IMPN_Imposition&>(b).GetTitle()),
                     0);
        break;
    case Signature:
        order = Sign(static_cast<const IMPN_Signature&>(a).GetNumber(),
                     static_cast<const IMPN_Signature&>(b).GetNumber());
        break;
    case Sheet:
        order = column == 0 ? Sign(static_cast<const IMPN_Sheet&>(a).GetWebNumber(),
                                   static_cast<const IMPN_Sheet&>(b).GetWebNumber())
                            : Sign(PrintTicks(Sheet, a), PrintTicks(Sheet, b));
        break;
    case Surface:
        return 0;
    case Separation:
    {
        const auto& x = static_cast<const IMPN_Separation&>(a);
        const auto& y = static_cast<const IMPN_Separation&>(b);
        if (column == 1)
        {
            order = Sign(PrintTicks(Separation, a), PrintTicks(Separation, b));
            break;
        }
        const bool xProcess = x.GetColorCode() != 0;
        const bool yProcess = y.GetColorCode() != 0;
        if (xProcess != yProcess)
            order = xProcess ? -1 : 1;
        else if (xProcess)
            order = Sign(x.GetColorCode(), y.GetColorCode());
        else
            order = Sign(CompareAsciiNoCase(x.GetColorName().c_str(), y.GetColorName().c_str()), 0);
        break;
    }
    }
    return order * direction;
}

std::vector<IMPN_RegistryScan::Child> IMPN_RegistryScan::SortedChildren(Kind kind, IMPN_Node& node,
                                                                        bool entireTree)
{
    std::vector<Child> children = Children(kind, node, entireTree);
    std::stable_sort(children.begin(), children.end(),
                     [](const Child& a, const Child& b)
                     { return Compare(a.kind, *a.node, *b.node, 0, 1) < 0; });
    return children;
}
