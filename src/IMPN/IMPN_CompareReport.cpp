#include "IMPN/IMPN_CompareReport.h"

#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_SeparationDifference.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_VersionMatch.h"

#include <map>
#include <memory>
#include <utility>

namespace
{
using InkPair = IMPN_VersionMatch::InkPair;
const char* const kSurfaceNames[2] = {"front", "back"};

std::string Identity(const IMPN_Sheet& sheet)
{
    return sheet.GetTitle() + "\t" + std::to_string(sheet.GetSignatureNumber()) + "\t" +
           std::to_string(sheet.GetWebNumber());
}

const IMPN_Surface& SurfaceOf(const IMPN_Sheet& sheet, int side)
{
    return side == 0 ? sheet.GetFrontSurface() : sheet.GetBackSurface();
}

// Which inks of a surface the ink filter shows: the exact name when any ink has it, else the
// name without regard to case.
class InkFilter
{
public:
    InkFilter(const std::string& name, const std::vector<InkPair>& inks) : m_Name(name)
    {
        for (const InkPair& ink : inks)
            m_Exact = m_Exact || Named(ink, true);
    }
    bool Shows(const InkPair& ink) const { return m_Name.empty() || Named(ink, m_Exact); }
    bool ShowsAny(const std::vector<InkPair>& inks) const
    {
        for (const InkPair& ink : inks)
            if (Shows(ink))
                return true;
        return false;
    }

private:
    bool Named(const InkPair& ink, bool exact) const
    {
        for (const IMPN_Separation* s : {ink.older, ink.newer})
            if (s != nullptr && (exact ? s->GetName() == m_Name
                                       : IMPN_VersionMatch::SameNameNoCase(s->GetName(), m_Name)))
                return true;
        return false;
    }

    const std::string& m_Name;
    bool m_Exact = false;
};

// One line of the report that waits for its separation's comparison.
struct Line
{
    int sheet = 0;
    int side = 0;
    const IMPN_Sheet* sheetOf = nullptr;
    std::string ink;
    IMPN_SeparationDifference* difference = nullptr;
};
} // namespace

IMPN_CompareReport::Outcome IMPN_CompareReport::Run(IMPN_Registry& older, IMPN_Registry& newer,
                                                    const Filter& filter, IMPN_WorkerPool* pool,
                                                    unsigned threads)
{
    Outcome outcome;
    // The remarks (no partner) are known at once; the lines of compared separations wait for
    // their counts. Both keep the order of the walk.
    std::vector<Line> compared;
    std::vector<std::pair<std::string, Line>> remarks; // text, or the line of a comparison
    std::map<std::pair<std::string, std::string>, std::unique_ptr<IMPN_SeparationDifference>>
        differences;

    const auto remark = [&](std::string text)
    {
        outcome.differs = true;
        remarks.emplace_back(std::move(text), Line{});
    };
    for (const IMPN_VersionMatch::SheetPair& pair : IMPN_VersionMatch::Match(older, newer))
    {
        if (filter.sheet > 0 && pair.olderNumber != filter.sheet)
            continue;
        const IMPN_Sheet& sheet = pair.older != nullptr ? *pair.older : *pair.newer;
        const std::string identity = Identity(sheet);
        const char* const lone = pair.older != nullptr ? "only in old\t" : "only in new\t";
        bool sheetShown = false;
        for (int side = 0; side < 2; ++side)
        {
            if (filter.surface >= 0 && filter.surface != side)
                continue;
            const std::vector<InkPair>& inks = pair.inks[side];
            const InkFilter inkFilter(filter.ink, inks);
            if (!inkFilter.ShowsAny(inks))
                continue;
            if (pair.older == nullptr || pair.newer == nullptr)
            {
                sheetShown = true;
                continue;
            }
            const bool oldHas = SurfaceOf(*pair.older, side).HasSeparations();
            const bool newHas = SurfaceOf(*pair.newer, side).HasSeparations();
            if (oldHas != newHas)
            {
                remark((oldHas ? "only in old\t" : "only in new\t") + identity + "\t" +
                       kSurfaceNames[side]);
                continue;
            }
            for (const InkPair& ink : inks)
            {
                if (!inkFilter.Shows(ink))
                    continue;
                if (ink.older == nullptr || ink.newer == nullptr)
                {
                    const IMPN_Separation& one = ink.older != nullptr ? *ink.older : *ink.newer;
                    remark((ink.older != nullptr ? "only in old\t" : "only in new\t") + identity +
                           "\t" + kSurfaceNames[side] + "\t" + one.GetName());
                    continue;
                }
                // A work-and-turn sheet prints both surfaces from the same files.
                auto& difference =
                    differences[{ink.older->GetFilePath(), ink.newer->GetFilePath()}];
                if (!difference)
                    difference = std::make_unique<IMPN_SeparationDifference>(
                        ink.older->GetFilePath(), ink.newer->GetFilePath());
                Line line{pair.olderNumber, side, pair.older, ink.older->GetName(),
                          difference.get()};
                compared.push_back(line);
                remarks.emplace_back(std::string(), line);
            }
        }
        if (sheetShown)
            remark(lone + identity);
    }

    for (auto& [paths, difference] : differences)
    {
        IMPN_SeparationDifference::Status status = difference->Open(threads);
        if (status == IMPN_SeparationDifference::Status::NotRun)
            status = difference->Run(pool);
        if (status == IMPN_SeparationDifference::Status::Unreadable)
        {
            outcome.unreadable = difference->GetProblem();
            outcome.differs = true;
            return outcome;
        }
        for (const std::string& warning : difference->GetWarnings())
            outcome.warnings.push_back(warning);
    }

    std::string& text = outcome.text;
    for (const Line& line : compared)
    {
        const IMPN_SeparationDifference& d = *line.difference;
        if (d.GetStatus() != IMPN_SeparationDifference::Status::Compared)
            continue;
        outcome.differs = outcome.differs || d.HasDifferences() || !d.GetWarnings().empty();
        text += std::to_string(line.sheet) + "\t" + kSurfaceNames[line.side] + "\t" + line.ink +
                "\t" + std::to_string(d.GetAdded()) + "\t" + std::to_string(d.GetRemoved()) + "\n";
        if (filter.regions)
            for (const IMPN_Rect& r : d.GetRegions())
                text += "\t" + std::to_string(r.top) + "," + std::to_string(r.left) + "," +
                        std::to_string(r.width) + "," + std::to_string(r.height) + "\n";
    }
    for (const auto& [remarkText, line] : remarks)
    {
        if (line.difference == nullptr)
        {
            text += remarkText + "\n";
            continue;
        }
        if (line.difference->GetStatus() != IMPN_SeparationDifference::Status::NotComparable)
            continue;
        outcome.differs = true;
        text += "not comparable\t" + Identity(*line.sheetOf) + "\t" + kSurfaceNames[line.side] +
                "\t" + line.ink + "\t" + line.difference->GetProblem() + "\n";
    }
    return outcome;
}
