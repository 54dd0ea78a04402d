#include "GLIB/GLIB_CaseFolder.h"

#include <algorithm>

const GLIB_CaseFolding* GLIB_FindCaseFolding(wchar_t unit)
{
    const auto value = static_cast<uint32_t>(unit);
    if (value > 0xFFFF)
        return nullptr;
    const std::span<const GLIB_CaseFolding> table = GLIB_CaseFoldingTable();
    const auto found =
        std::lower_bound(table.begin(), table.end(), value,
                         [](const GLIB_CaseFolding& row, uint32_t key) { return row.key < key; });
    if (found == table.end() || found->key != value)
        return nullptr;
    return &*found;
}
