#include "IMPN/IMPN_SheetComparison.h"

#include "IMPN/IMPN_ChangedRegions.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_SeparationDifference.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_TilePairStates.h"
#include "IMPN/IMPN_VersionMatch.h"

#include <algorithm>

struct IMPN_SheetComparison::Task
{
    std::string oldPath, newPath;
    std::unique_ptr<IMPN_SeparationDifference> difference;
    // What the task and the pictures learn of each tile, shared between them.
    std::shared_ptr<IMPN_TilePairStates> states;
    IMPN_SeparationDifference::Status opened = IMPN_SeparationDifference::Status::NotRun;
    bool sides[2] = {false, false};
    bool finished = false;

    bool Comparable() const { return opened == IMPN_SeparationDifference::Status::NotRun; }
};

namespace
{
IMPN_Surface& SurfaceOf(IMPN_Sheet& sheet, int side)
{
    return side == 0 ? sheet.GetFrontSurface() : sheet.GetBackSurface();
}

IMPN_Sheet* FindPartner(IMPN_Registry& registry, const IMPN_Sheet& shown)
{
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    for (IMPN_Sheet* sheet : sheets)
        if (IMPN_VersionMatch::SameSheet(*sheet, shown))
            return sheet;
    return nullptr;
}
} // namespace

IMPN_SheetComparison::IMPN_SheetComparison(IMPN_Sheet& shown, std::unique_ptr<IMPN_Registry> other,
                                           const IMPN_CompareLook& look)
    : m_Shown(&shown), m_Registry(std::move(other)), m_Look(look)
{
    if (m_Registry)
        m_Other = IMPN_SheetReference(FindPartner(*m_Registry, shown));
}

IMPN_SheetComparison::~IMPN_SheetComparison()
{
    End();
}

bool IMPN_SheetComparison::Begin(unsigned threads)
{
    if (m_Begun || !m_Other)
        return false;
    for (int side = 0; side < 2; ++side)
    {
        IMPN_Surface& shown = SurfaceOf(*m_Shown, side);
        for (const IMPN_VersionMatch::InkPair& pair :
             IMPN_VersionMatch::MatchInks(SurfaceOf(*m_Other, side), shown))
        {
            Ink ink;
            ink.shown = pair.newer;
            ink.other = pair.older;
            const std::string oldPath = pair.older ? pair.older->GetFilePath() : std::string();
            const std::string newPath = pair.newer ? pair.newer->GetFilePath() : std::string();
            const auto found =
                std::find_if(m_Tasks.begin(), m_Tasks.end(),
                             [&](const auto& task)
                             { return task->oldPath == oldPath && task->newPath == newPath; });
            if (found != m_Tasks.end())
                ink.task = found->get();
            else
            {
                auto task = std::make_unique<Task>();
                task->oldPath = oldPath;
                task->newPath = newPath;
                task->difference = std::make_unique<IMPN_SeparationDifference>(oldPath, newPath);
                task->opened = task->difference->Open(threads);
                if (task->Comparable())
                    task->states = std::make_shared<IMPN_TilePairStates>(
                        std::size_t(task->difference->GetTilesAcross()) *
                        task->difference->GetTilesDown());
                ink.task = task.get();
                m_Tasks.push_back(std::move(task));
            }
            ink.task->sides[side] = true;
            m_Inks[side].push_back(ink);
        }
    }
    m_Begun = true;
    return true;
}

void IMPN_SheetComparison::ShowPictures()
{
    if (!m_Begun || m_Showing)
        return;
    m_Showing = true;
    for (int side = 0; side < 2; ++side)
    {
        IMPN_Surface& shown = SurfaceOf(*m_Shown, side);
        if (!shown.HasSeparations() || shown.GetRenderer() == nullptr)
            continue;
        // Ink both versions print first, then the added and the removed colour over it.
        std::vector<std::unique_ptr<IMPN_RenderInk>> layers[3];
        using Role = IMPN_CompareInk::Role;
        for (const Ink& ink : m_Inks[side])
        {
            const Task& task = *ink.task;
            const bool comparable = task.Comparable();
            std::shared_ptr<IMPN_CompareInk::Source> source;
            if (comparable)
                source =
                    IMPN_CompareInk::OpenSource(task.oldPath, task.newPath, task.states, false, 8);
            else if (ink.shown != nullptr)
                source = IMPN_CompareInk::OpenSource(std::string(), task.newPath, nullptr, true, 1);
            if (!source)
                continue;
            if (ink.shown != nullptr && (ink.other != nullptr || !comparable))
                layers[0].push_back(
                    std::make_unique<IMPN_CompareInk>(Role::Unchanged, source, ink.shown, &m_Look));
            if (comparable && ink.shown != nullptr)
                layers[1].push_back(
                    std::make_unique<IMPN_CompareInk>(Role::Added, source, ink.shown, &m_Look));
            if (comparable && ink.other != nullptr)
                layers[2].push_back(
                    std::make_unique<IMPN_CompareInk>(Role::Removed, source, ink.shown, &m_Look));
        }
        std::vector<std::unique_ptr<IMPN_RenderInk>> inks;
        for (auto& layer : layers)
            for (auto& ink : layer)
                inks.push_back(std::move(ink));
        auto renderer =
            std::make_unique<IMPN_SurfaceRenderer>(std::move(inks), shown.PaperColor().data());
        // A picture that would not line up with the surface's own (its first file unreadable
        // now) is not shown: the view keeps the surface's geometry.
        const IMPN_SurfaceRenderer& own = *shown.GetRenderer();
        if (renderer->GetImageWidth() != own.GetImageWidth() ||
            renderer->GetImageLength() != own.GetImageLength())
            continue;
        renderer->SetMemoryBudget(own.GetMemoryBudget());
        shown.SetRendererOverride(renderer.get());
        m_Renderers[side] = std::move(renderer);
    }
}

bool IMPN_SheetComparison::IsSideCounted(int side) const
{
    return std::all_of(m_Tasks.begin(), m_Tasks.end(),
                       [side](const auto& task)
                       { return !task->sides[side & 1] || task->finished || !task->Comparable(); });
}

void IMPN_SheetComparison::End()
{
    for (int side = 0; side < 2; ++side)
    {
        if (m_Renderers[side] && m_Shown)
            SurfaceOf(*m_Shown, side).SetRendererOverride(nullptr);
        m_Renderers[side].reset();
        m_Inks[side].clear();
    }
    m_Tasks.clear();
    m_Begun = false;
    m_Showing = false;
}

std::vector<std::size_t> IMPN_SheetComparison::TaskOrder(int firstSide) const
{
    std::vector<std::size_t> order;
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < m_Tasks.size(); ++i)
            if (m_Tasks[i]->sides[firstSide & 1] == (pass == 0))
                order.push_back(i);
    return order;
}

void IMPN_SheetComparison::RunTask(std::size_t i, IMPN_WorkerPool* pool,
                                   const std::atomic<bool>* stop)
{
    if (i >= m_Tasks.size() || !m_Tasks[i]->Comparable())
        return;
    m_Tasks[i]->difference->Run(pool, stop, m_Tasks[i]->states.get());
}

void IMPN_SheetComparison::FinishTask(std::size_t i)
{
    if (i < m_Tasks.size())
        m_Tasks[i]->finished = true;
}

std::size_t IMPN_SheetComparison::GetFinishedCount() const
{
    return std::size_t(std::count_if(m_Tasks.begin(), m_Tasks.end(),
                                     [](const auto& task) { return task->finished; }));
}

IMPN_SheetComparison::Summary IMPN_SheetComparison::Summarize(int side) const
{
    Summary summary;
    IMPN_ChangedCells cells;
    bool haveCells = false;
    for (const Ink& ink : m_Inks[side & 1])
    {
        ++summary.inks;
        if (ink.shown == nullptr || ink.other == nullptr)
            ++summary.oneVersionOnly;
        const Task& task = *ink.task;
        if (!task.Comparable())
        {
            ++summary.notComparable;
            continue;
        }
        if (!task.finished)
        {
            ++summary.pending;
            continue;
        }
        const IMPN_SeparationDifference& d = *task.difference;
        if ((ink.shown != nullptr && !ink.shown->IsVisible()) ||
            d.GetStatus() != IMPN_SeparationDifference::Status::Compared)
            continue;
        summary.added += d.GetAdded();
        summary.removed += d.GetRemoved();
        summary.warnings.insert(summary.warnings.end(), d.GetWarnings().begin(),
                                d.GetWarnings().end());
        if (!haveCells)
        {
            cells = d.GetCells();
            haveCells = true;
        }
        else
            cells.Merge(d.GetCells());
    }
    if (haveCells)
        summary.regions = IMPN_ChangedRegions::Find(cells);
    return summary;
}

void IMPN_SheetComparison::LookChanged()
{
    for (const auto& renderer : m_Renderers)
        if (renderer)
            renderer->Recolour();
}
