#pragma once
// Where two versions of a separation differ, as a person looks for it: the picture divided into
// square cells, a cell changed when any of its pixels differs, and the changed cells grouped into
// regions of cells that touch (sides or corners). Each region is the bounding box of its cells in
// device pixels, clipped to the picture.

#include "IMPN/IMPN_Rect.h"

#include <cstdint>
#include <vector>

// The changed cells of one picture: across x down flags, row by row, non-zero for a changed cell;
// cellSize pixels a side, the last row and column possibly cut short by the picture's edge.
struct IMPN_ChangedCells
{
    std::uint32_t across = 0;
    std::uint32_t down = 0;
    std::uint32_t cellSize = 64;
    std::uint32_t width = 0; // the picture, in device pixels
    std::uint32_t height = 0;
    std::vector<std::uint8_t> cells;

    // An empty map for a picture of width x height pixels.
    void Reset(std::uint32_t pictureWidth, std::uint32_t pictureHeight, std::uint32_t size);
    bool Any() const;
    // Marks every cell that is changed in other as well (a map of the same picture and cells).
    void Merge(const IMPN_ChangedCells& other);
    // Marks the cells that meet the pixel rectangle [left, right) x [top, bottom).
    void MarkPixels(std::uint32_t left, std::uint32_t top, std::uint32_t right,
                    std::uint32_t bottom);
};

class IMPN_ChangedRegions
{
public:
    // The regions of the changed cells, ordered by top, then left, then height, then width.
    static std::vector<IMPN_Rect> Find(const IMPN_ChangedCells& map);
};
