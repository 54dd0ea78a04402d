#include "IMPN/IMPN_PpfExport.h"

#include "GFIL/GFIL_SafeSave.h"
#include "IMPN/IMPN_CellCoverage.h"
#include "IMPN/IMPN_ColorDecision.h"
#include "IMPN/IMPN_Sheet.h"

#include <cerrno>
#include <cstdio>
#include <map>
#include <system_error>
#include <unistd.h>

namespace
{
// Progress units per separation: the count of each is reported as its share of the whole.
constexpr std::uint64_t kUnitsPerInk = 1000;

bool WriteAll(int fd, const char* bytes, std::size_t size)
{
    while (size > 0)
    {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes += n;
        size -= std::size_t(n);
    }
    return true;
}
} // namespace

struct IMPN_PpfExport::Ink
{
    std::string name;
    std::string path;
    std::optional<std::array<double, 3>> lab;
    std::unique_ptr<IMPN_CellCoverage> counter;
};

struct IMPN_PpfExport::Surface
{
    bool back = false;
    std::vector<Ink> inks;
};

IMPN_PpfExport::IMPN_PpfExport(const IMPN_Sheet& sheet, const IMPN_ColorDatabases& databases,
                               unsigned readers)
{
    m_Sheet.jobName = sheet.GetTitle();
    m_Sheet.sheetName = SheetName(sheet);
    m_XResolution = sheet.GetXResolution();
    m_YResolution = sheet.GetYResolution();
    // The plate is the separations' picture: the size and resolution every file of the sheet
    // shares, taken from its first file as the tree takes them.
    const IMPN_PpfPreview::Resolution points = *IMPN_PpfPreview::Resolution::Parse("72");
    if (!IMPN_PpfPreview::SampleCount(1, m_XResolution, points) ||
        !IMPN_PpfPreview::SampleCount(1, m_YResolution, points))
        m_Problem = "the sheet's resolution (" + IMPN_PpfWriter::Number(m_XResolution, 3) + " x " +
                    IMPN_PpfWriter::Number(m_YResolution, 3) + " dpi) is not usable";
    m_Sheet.widthPoints = double(sheet.GetImageWidth()) * 72.0 / double(m_XResolution);
    m_Sheet.heightPoints = double(sheet.GetImageLength()) * 72.0 / double(m_YResolution);

    for (const IMPN_Surface* surface : {&sheet.GetFrontSurface(), &sheet.GetBackSurface()})
    {
        if (!surface->HasSeparations())
            continue;
        auto made = std::make_unique<Surface>();
        made->back = surface == &sheet.GetBackSurface();
        for (const auto& separation : surface->GetSeparations())
        {
            Ink ink;
            ink.name = separation->GetName();
            ink.path = separation->GetFilePath();
            ink.lab = IMPN_ColorDecision::KnownLab(separation->GetColorName(),
                                                   separation->HasCMYKEquivalent(), databases);
            ink.counter = std::make_unique<IMPN_CellCoverage>(ink.path, readers);
            made->inks.push_back(std::move(ink));
        }
        m_Surfaces.push_back(std::move(made));
    }
}

IMPN_PpfExport::~IMPN_PpfExport() = default;

std::string IMPN_PpfExport::SheetName(const IMPN_Sheet& sheet)
{
    return "Signature " + std::to_string(sheet.GetSignatureNumber()) + " Web " +
           std::to_string(sheet.GetWebNumber());
}

std::string IMPN_PpfExport::CreationTime(std::time_t when)
{
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d",
                  kDays[unsigned(local.tm_wday) % 7], kMonths[unsigned(local.tm_mon) % 12],
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, local.tm_year + 1900);
    return text;
}

/* Counts one separation after another (each on the pool), turns the counts into samples and
   writes them. A file that both surfaces print from (work and turn, work and tumble) is counted
   once: its back preview is the same image, as the back is not mirrored. */
bool IMPN_PpfExport::WriteSurfaces(IMPN_PpfWriter& writer, const Options& options, Outcome& outcome)
{
    std::size_t inkCount = 0;
    std::map<std::string, int> uses;
    for (const auto& surface : m_Surfaces)
        for (const Ink& ink : surface->inks)
        {
            ++inkCount;
            ++uses[ink.path];
        }
    const std::uint64_t total = inkCount * kUnitsPerInk;
    std::map<std::string, IMPN_PpfWriter::Preview> done;
    std::map<std::string, std::vector<std::uint8_t>> kept;
    std::vector<std::uint8_t> samples;
    std::size_t index = 0;

    IMPN_PpfWriter::SheetInfo sheet = m_Sheet;
    sheet.software = options.software;
    sheet.creationTime =
        options.creationTime.empty() ? CreationTime(std::time(nullptr)) : options.creationTime;
    if (!writer.BeginSheet(sheet))
        return false;

    for (const auto& surface : m_Surfaces)
    {
        IMPN_PpfWriter::SurfaceInfo info;
        info.back = surface->back;
        for (const Ink& ink : surface->inks)
        {
            info.inkNames.push_back(ink.name);
            info.inkColors.push_back(ink.lab);
        }
        if (!writer.BeginSurface(info))
            return false;

        for (const Ink& ink : surface->inks)
        {
            const std::uint64_t base = index++ * kUnitsPerInk;
            if (const auto again = done.find(ink.path); again != done.end())
            {
                IMPN_PpfWriter::Preview preview = again->second;
                preview.samples = kept[ink.path].data();
                if (!writer.AddSeparation(preview))
                    return false;
                if (options.progress && !options.progress(base + kUnitsPerInk, total))
                    throw Cancelled();
                continue;
            }

            IMPN_CellCoverage& counter = *ink.counter;
            if (!counter.IsReadable())
            {
                outcome.reason = ink.path + ": " + counter.GetProblem();
                errno = EIO;
                return false;
            }
            const std::uint32_t width = counter.GetImageWidth();
            const std::uint32_t length = counter.GetImageLength();
            bool xClamped = false, yClamped = false;
            const auto w =
                IMPN_PpfPreview::SampleCount(width, m_XResolution, options.resolution, &xClamped);
            const auto h =
                IMPN_PpfPreview::SampleCount(length, m_YResolution, options.resolution, &yClamped);
            if (!w || !h)
            {
                outcome.reason = ink.path + ": the picture cannot be measured";
                errno = EINVAL;
                return false;
            }

            IMPN_CellCounts counts;
            bool stopped = false;
            const IMPN_CellCoverage::Progress counted =
                [&](std::uint64_t tiles, std::uint64_t tilesTotal)
            {
                const std::uint64_t share =
                    tilesTotal == 0 ? kUnitsPerInk : tiles * kUnitsPerInk / tilesTotal;
                if (options.progress && !options.progress(base + share, total))
                    stopped = true;
                return !stopped;
            };
            if (!counter.Count(IMPN_CellGrid::Divided(width, length, *w, *h), std::nullopt,
                               options.pool, counts, counted))
            {
                if (stopped)
                    throw Cancelled();
                outcome.reason = ink.path + ": the picture cannot be counted";
                errno = EIO;
                return false;
            }
            for (const IMPN_TileFailure& failure : counts.failures)
                outcome.warnings.push_back(failure.Describe() + "; counted as no ink");

            samples.assign(std::size_t(*w) * *h, 255);
            for (std::size_t row = 0; row < counts.Rows(); ++row)
                for (std::size_t column = 0; column < counts.Columns(); ++column)
                    samples[row * *w + column] = IMPN_PpfPreview::Sample(
                        counts.Inked(column, row), counts.CellPixels(column, row));
            counts = {};

            IMPN_PpfWriter::Preview preview;
            preview.width = *w;
            preview.height = *h;
            preview.xResolution =
                xClamped ? IMPN_PpfWriter::Number(m_XResolution, 3) : options.resolution.Text();
            preview.yResolution =
                yClamped ? IMPN_PpfWriter::Number(m_YResolution, 3) : options.resolution.Text();
            preview.samples = samples.data();
            if (!writer.AddSeparation(preview))
                return false;
            if (uses[ink.path] > 1)
            {
                done[ink.path] = preview;
                kept[ink.path] = samples;
            }
        }
        if (!writer.EndSurface())
            return false;
    }
    return writer.EndSheet();
}

IMPN_PpfExport::Outcome IMPN_PpfExport::Write(const std::string& path, const Options& options)
{
    Outcome outcome;
    if (!m_Problem.empty())
    {
        outcome.reason = m_Problem;
        return outcome;
    }
    if (m_Surfaces.empty())
    {
        outcome.reason = "the sheet has no separations";
        return outcome;
    }
    bool cancelled = false;
    try
    {
        GFIL_SafeSave::Replace(
            path,
            [&](int fd, const std::string&)
            {
                int sinkError = 0;
                IMPN_PpfWriter writer(
                    [fd, &sinkError](const char* bytes, std::size_t size)
                    {
                        if (WriteAll(fd, bytes, size))
                            return true;
                        sinkError = errno;
                        return false;
                    },
                    options.encoding);
                try
                {
                    if (WriteSurfaces(writer, options, outcome))
                        return true;
                }
                catch (const Cancelled&)
                {
                    cancelled = true;
                    errno = ECANCELED;
                    return false;
                }
                catch (const std::exception& e)
                {
                    // The temporary goes only when the writer returns: nothing may escape it.
                    outcome.reason = e.what();
                    errno = ENOMEM;
                    return false;
                }
                // The save reports errno: the sink's own error when it was the sink that failed.
                if (sinkError != 0)
                    errno = sinkError;
                return false;
            },
            "cannot write " + path);
    }
    catch (const std::system_error& e)
    {
        if (cancelled)
        {
            outcome.status = Outcome::Status::Cancelled;
            outcome.warnings.clear();
            return outcome;
        }
        if (outcome.reason.empty())
            outcome.reason = e.code().message();
        outcome.warnings.clear();
        return outcome;
    }
    outcome.status = Outcome::Status::Written;
    return outcome;
}
