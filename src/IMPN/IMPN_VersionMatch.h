#pragma once
// Which parts of two versions of a job are the same part: sheets by what identifies them in the
// imposition tree (the imposition's title byte for byte, the signature number, the web number),
// surfaces by front and back, separations by ink name, the exact name first and then, for inks
// still unmatched, a name equal without regard to case. Nothing is ever matched by position:
// what has no partner is only in one version.

#include <cstdint>
#include <string>
#include <vector>

class IMPN_Registry;
class IMPN_Separation;
class IMPN_Sheet;
class IMPN_Surface;

class IMPN_VersionMatch
{
public:
    // A separation of either version or both; null for the version that lacks the ink.
    struct InkPair
    {
        IMPN_Separation* older = nullptr;
        IMPN_Separation* newer = nullptr;
    };
    // A sheet of either version or both. The surfaces' inks: the old surface's separations in
    // its order (matched or not), then the new surface's unmatched ones in theirs.
    struct SheetPair
    {
        IMPN_Sheet* older = nullptr;
        IMPN_Sheet* newer = nullptr;
        int olderNumber = 0; // from 1 in the old version's order of sheets; 0 when only new
        std::vector<InkPair> inks[2]; // front, back
    };

    // The sheets of the old version in its order, then the sheets only in the new one in its
    // order. Sheets stay owned by their registries.
    static std::vector<SheetPair> Match(IMPN_Registry& older, IMPN_Registry& newer);
    // The inks of two surfaces, as in SheetPair.
    static std::vector<InkPair> MatchInks(const IMPN_Surface& older, const IMPN_Surface& newer);
    // The tree's identity of a sheet: title, signature, web.
    static bool SameSheet(const IMPN_Sheet& a, const IMPN_Sheet& b);
    // Ink names equal without regard to case (Unicode case folding; names that are not UTF-8 by
    // their ASCII letters).
    static bool SameNameNoCase(const std::string& a, const std::string& b);
};
