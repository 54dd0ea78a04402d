#include "IMPN/IMPN_VersionMatch.h"

#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"

bool IMPN_VersionMatch::SameSheet(const IMPN_Sheet& a, const IMPN_Sheet& b)
{
    return a.GetTitle() == b.GetTitle() && a.GetSignatureNumber() == b.GetSignatureNumber() &&
           a.GetWebNumber() == b.GetWebNumber();
}

bool IMPN_VersionMatch::SameNameNoCase(const std::string& a, const std::string& b)
{
    const std::wstring wa = ToWide(a), wb = ToWide(b);
    // Text that is not UTF-8 widens to nothing; such names are compared by their ASCII letters.
    if ((wa.empty() && !a.empty()) || (wb.empty() && !b.empty()))
        return a.size() == b.size() && CompareAsciiNoCase(a.c_str(), b.c_str()) == 0;
    return CompareNoCase(wa, wb) == 0;
}

std::vector<IMPN_VersionMatch::InkPair> IMPN_VersionMatch::MatchInks(const IMPN_Surface& older,
                                                                     const IMPN_Surface& newer)
{
    const auto& oldInks = older.GetSeparations();
    const auto& newInks = newer.GetSeparations();
    std::vector<InkPair> pairs(oldInks.size());
    std::vector<bool> taken(newInks.size(), false);
    for (std::size_t i = 0; i < oldInks.size(); ++i)
        pairs[i].older = oldInks[i].get();
    // Exact names for every ink first, so that a process Cyan and a spot cyan on both sides
    // each find their own before either is matched loosely.
    const auto pass = [&](bool exact)
    {
        for (InkPair& pair : pairs)
        {
            if (pair.newer != nullptr)
                continue;
            const std::string& name = pair.older->GetName();
            for (std::size_t j = 0; j < newInks.size(); ++j)
            {
                if (taken[j])
                    continue;
                const std::string& other = newInks[j]->GetName();
                if (exact ? name == other : SameNameNoCase(name, other))
                {
                    pair.newer = newInks[j].get();
                    taken[j] = true;
                    break;
                }
            }
        }
    };
    pass(true);
    pass(false);
    for (std::size_t j = 0; j < newInks.size(); ++j)
        if (!taken[j])
            pairs.push_back(InkPair{nullptr, newInks[j].get()});
    return pairs;
}

std::vector<IMPN_VersionMatch::SheetPair> IMPN_VersionMatch::Match(IMPN_Registry& older,
                                                                   IMPN_Registry& newer)
{
    std::vector<IMPN_Sheet*> oldSheets, newSheets;
    older.CollectSheets(oldSheets);
    newer.CollectSheets(newSheets);
    std::vector<bool> taken(newSheets.size(), false);
    std::vector<SheetPair> pairs;
    const auto fillInks = [](SheetPair& pair)
    {
        static const IMPN_Surface empty;
        for (int side = 0; side < 2; ++side)
        {
            const auto surface = [side](const IMPN_Sheet* sheet) -> const IMPN_Surface&
            {
                if (sheet == nullptr)
                    return empty;
                return side == 0 ? sheet->GetFrontSurface() : sheet->GetBackSurface();
            };
            pair.inks[side] = MatchInks(surface(pair.older), surface(pair.newer));
        }
    };
    for (std::size_t i = 0; i < oldSheets.size(); ++i)
    {
        SheetPair pair;
        pair.older = oldSheets[i];
        pair.olderNumber = static_cast<int>(i + 1);
        for (std::size_t j = 0; j < newSheets.size(); ++j)
            if (!taken[j] && SameSheet(*oldSheets[i], *newSheets[j]))
            {
                pair.newer = newSheets[j];
                taken[j] = true;
                break;
            }
        fillInks(pair);
        pairs.push_back(std::move(pair));
    }
    for (std::size_t j = 0; j < newSheets.size(); ++j)
        if (!taken[j])
        {
            SheetPair pair;
            pair.newer = newSheets[j];
            fillInks(pair);
            pairs.push_back(std::move(pair));
        }
    return pairs;
}
