#pragma once

// The case-folding table: one row per UTF-16 code unit that folds, with its folded text of one to
// three units, sorted by key. Keys with both a full and a simple folding have two rows, the full
// one first; lookups find the full one.

#include <cstddef>
#include <cstdint>
#include <span>

struct GLIB_CaseFolding
{
    uint16_t key;
    wchar_t folded[3];
    uint8_t length;
};

extern const GLIB_CaseFolding iGLIB_CaseFolder[];
extern const std::size_t iGLIB_CaseFolderSize;

inline std::span<const GLIB_CaseFolding> GLIB_CaseFoldingTable()
{
    return {iGLIB_CaseFolder, iGLIB_CaseFolderSize};
}

// The row for a unit by binary search, or null when the unit does not fold.
const GLIB_CaseFolding* GLIB_FindCaseFolding(wchar_t unit);
