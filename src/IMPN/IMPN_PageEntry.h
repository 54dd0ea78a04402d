#pragma once
// One imposed page of a surface: its folio number, its orientation (0 Up, 1 Down, 2 Left,
// 3 Right) and where it stands on the press sheet.

#include "IMPN/IMPN_Rect.h"

#include <cstdint>

struct IMPN_PageEntry
{
    std::uint16_t number = 0;
    std::uint16_t orientation = 0;
    IMPN_Rect position;

    friend bool operator==(const IMPN_PageEntry&, const IMPN_PageEntry&) = default;
};
