#include "IMPN/IMPN_Surface.h"

#include "IMPN/IMPN_PrintTime.h"
#include "IMPN/IMPN_SeparationInk.h"
#include "IMPN/IMPN_ThumbnailImage.h"
#include "TIFX/TIFX_KRNFile.h"

#include <algorithm>
#include <ostream>

IMPN_Surface::IMPN_Surface() = default;

IMPN_Surface::~IMPN_Surface()
{
    Clear();
}

void IMPN_Surface::AddFile(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    if (!m_Separations.empty())
    {
        const KRNDirectoryInfo& info = file.GetDirectoryInfo();
        const std::int64_t arriving = IMPN_PrintTime::ParseOrZero(info.printTime);
        auto same = std::find_if(m_Separations.begin(), m_Separations.end(),
                                 [&](const std::unique_ptr<IMPN_Separation>& s)
                                 { return s->GetColorName() == info.colorName; });
        if (same != m_Separations.end())
        {
            // A re-rendered ink replaces the older file; an older file never replaces a newer.
            if ((*same)->GetPrintTicks() > arriving)
                return;
            // Make the new separation before the old one goes, so that a file that fails half
            // way leaves the surface as it was.
            auto replacement = std::make_unique<IMPN_Separation>(file);
            m_Separations.erase(same);
            InsertSeparation(std::move(replacement));
            return;
        }
    }
    AddSeparation(file);
}

void IMPN_Surface::AddSeparation(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    auto separation = std::make_unique<IMPN_Separation>(file);
    if (m_Separations.empty())
        TakeSurfaceData(file);
    InsertSeparation(std::move(separation));
}

void IMPN_Surface::TakeSurfaceData(TIFX_KRNFile& file)
{
    const KRNDirectoryInfo& info = file.GetDirectoryInfo();
    m_PressSheet = IMPN_Rect::FromEdges(info.pressSheetTop, info.pressSheetLeft,
                                        info.pressSheetBottom, info.pressSheetRight);
    m_Pages.clear();
    m_Bleeds.clear();
    m_MaxBleeds.clear();
    m_ClipPaths.clear();
    for (const KRNPageInfo& page : info.pages)
    {
        IMPN_PageEntry entry;
        entry.number = page.pageNumber;
        entry.orientation = page.orientation;
        entry.position =
            IMPN_Rect::FromEdges(page.posTop, page.posLeft, page.posBottom, page.posRight);
        m_Pages.push_back(entry);
        m_Bleeds.push_back(
            IMPN_Rect::FromEdges(page.bleedTop, page.bleedLeft, page.bleedBottom, page.bleedRight));
        m_MaxBleeds.push_back(IMPN_Rect::FromEdges(page.maxBleedTop, page.maxBleedLeft,
                                                   page.maxBleedBottom, page.maxBleedRight));
    }
    m_HasClipPaths = info.IsFieldSet(TIFX_Field::PageSourceClipPath);
    if (m_HasClipPaths)
    {
        for (const KRNPageInfo& page : info.pages)
        {
            PageClipPaths paths;
            paths.reserve(page.clipPaths.size());
            for (const std::vector<KRNPoint>& source : page.clipPaths)
            {
                std::vector<IMPN_Point> points;
                points.reserve(source.size());
                for (const KRNPoint& p : source)
                    points.push_back(IMPN_Point{p.x, p.y});
                paths.push_back(IMPN_ClipPath::FromPoints(std::move(points)));
            }
            m_ClipPaths.push_back(std::move(paths));
        }
    }
}

void IMPN_Surface::InsertSeparation(std::unique_ptr<IMPN_Separation> separation)
{
    const std::uint16_t code = separation->GetColorCode();
    auto position = m_Separations.end();
    if (code != 0)
    {
        // Process inks go before the first spot ink or the first process ink of a later code,
        // so that equal codes keep their arrival order.
        position = std::find_if(m_Separations.begin(), m_Separations.end(),
                                [code](const std::unique_ptr<IMPN_Separation>& s)
                                { return s->GetColorCode() == 0 || s->GetColorCode() > code; });
    }
    m_Separations.insert(position, std::move(separation));
}

void IMPN_Surface::Clear()
{
    m_Pages.clear();
    m_Bleeds.clear();
    m_MaxBleeds.clear();
    m_ClipPaths.clear();
    m_HasClipPaths = false;
    // Before the separations they read.
    m_RendererOverride = nullptr;
    m_Thumbnail.reset();
    m_Renderer.reset();
    m_Separations.clear();
}

void IMPN_Surface::Dump(std::ostream& out, int level)
{
    static const char* const lines[] = {
        "Color          []", "PressSheetEdge []", "PageEdge       []", "BleedEdge      []",
        "MaxBleedEdge   []", "Image          []", "Thumbnail      []",
    };
    for (const char* line : lines)
    {
        WriteIndent(out, level);
        out << line << "\n";
    }
    for (const auto& separation : m_Separations)
        separation->Dump(out, level + 1);
}

std::string IMPN_Surface::GetName() const
{
    std::string name;
    static const char letters[] = {'C', 'M', 'Y', 'K'};
    for (std::uint16_t code = 1; code <= 4; ++code)
    {
        const bool present = std::any_of(m_Separations.begin(), m_Separations.end(),
                                         [code](const std::unique_ptr<IMPN_Separation>& s)
                                         { return s->GetColorCode() == code; });
        if (present)
            name += letters[code - 1];
    }
    int spot = 0;
    for (const auto& separation : m_Separations)
    {
        if (separation->GetColorCode() == 0)
            name += std::to_string(++spot);
    }
    return name;
}

void IMPN_Surface::Prepare(IMPN_WorkerPool* pool)
{
    for (const auto& separation : m_Separations)
        separation->Prepare();
    if (m_Separations.empty())
        return;
    if (!m_Renderer)
        m_Renderer = IMPN_SeparationInk::CreateRenderer(m_Separations, m_PaperColor.data());
    if (!m_Thumbnail)
        m_Thumbnail = std::make_unique<IMPN_ThumbnailImage>(m_Separations, m_PaperColor, pool);
}

std::int64_t IMPN_Surface::GetPrintTime() const
{
    if (m_Separations.empty())
        return 0;
    // Print times are about 2^57 ticks today: a sum of a few thousand of them would overflow,
    // so the mean is built from quotients and remainders.
    const std::int64_t n = static_cast<std::int64_t>(m_Separations.size());
    std::int64_t quotients = 0, remainders = 0;
    for (const auto& separation : m_Separations)
    {
        quotients += separation->GetPrintTicks() / n;
        remainders += separation->GetPrintTicks() % n;
    }
    return quotients + remainders / n;
}

std::uint32_t IMPN_Surface::GetLatestChange() const
{
    std::uint32_t latest = 0;
    for (const auto& separation : m_Separations)
        latest = std::max(latest, separation->GetChangeStamp());
    return latest;
}

void IMPN_Surface::CloseFiles()
{
    for (const auto& separation : m_Separations)
        separation->CloseFile();
}

void IMPN_Surface::ReleaseResources()
{
    // Before the files they read through.
    m_Thumbnail.reset();
    m_Renderer.reset();
    CloseFiles();
}

IMPN_Separation* IMPN_Surface::GetSeparation(std::size_t index) const
{
    return index < m_Separations.size() ? m_Separations[index].get() : nullptr;
}

IMPN_Separation* IMPN_Surface::FindSeparation(const std::string& name) const
{
    for (const auto& separation : m_Separations)
    {
        if (separation->GetColorName() == name)
            return separation.get();
    }
    return nullptr;
}

void IMPN_Surface::SetPaperColor(std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    m_PaperColor = IMPN_ColorBGR{blue, green, red};
}

void IMPN_Surface::SetOpacity(int opacity)
{
    m_Opacity = std::clamp(opacity, 0, 100);
}
