#pragma once
// How the back of a sheet is laid under its front. The view mirrors the surface underneath about
// the flip axis and then shifts it so that the chosen features line up: the plates themselves
// (no shift), the press sheets, or the page areas. The shifts are precomputed for the 13 zoom
// factors 8, 4, 2, 1, 1/2 ... 1/512 so that drawing needs no arithmetic on them.

#include "IMPN/IMPN_PageEntry.h"
#include "IMPN/IMPN_Rect.h"

#include <array>
#include <cstdint>
#include <vector>

class IMPN_BackupTables
{
public:
    static constexpr int LevelCount = 13;

    // Backup modes, the first index of Dx and Dy.
    static constexpr int ModePlates = 0;
    static constexpr int ModePressSheets = 1;
    static constexpr int ModePages = 2;

    // Flip axes.
    static constexpr int AxisNone = 0;
    static constexpr int AxisLeftRight = 1;
    static constexpr int AxisTopBottom = 2;

    using Table = std::array<std::int32_t, LevelCount>;

    // All six tables zero.
    void Clear();

    // Fills the tables of a sheet whose surfaces both have separations. pageBounds is the
    // bounding rectangle of the front's pages; without pages the page tables stay zero.
    void Compute(int flipAxis, std::int32_t imageWidth, std::int32_t imageLength,
                 const IMPN_Rect& frontPressSheet, const IMPN_Rect& backPressSheet,
                 const std::vector<IMPN_PageEntry>& frontPages);

    // Entry for a backup mode (0 plates, 1 press sheets, 2 pages) and a zoom level (0 to 12);
    // 0 for anything outside those ranges.
    std::int32_t Dx(int mode, int level) const;
    std::int32_t Dy(int mode, int level) const;

    const Table& PlateDx() const { return m_PlateDx; }
    const Table& PressSheetDx() const { return m_PressSheetDx; }
    const Table& PageDx() const { return m_PageDx; }
    const Table& PlateDy() const { return m_PlateDy; }
    const Table& PressSheetDy() const { return m_PressSheetDy; }
    const Table& PageDy() const { return m_PageDy; }

    // The mirror of the back onto the front from the workstyle and the imposition tile
    // orientation: none for single-sided work; otherwise the workstyle code (1 to 4, others 0)
    // plus 0 for Up, 2 for Down, 1 for Left, 3 for Right; odd mirrors left-right, even top-bottom.
    static int FlipAxis(int workStyle, int orientation);

    // Full-resolution offsets that bring the centre of back rectangle B onto front rectangle F
    // after mirroring about the axis, for an image of width W and length L. Axis 0: no offsets.
    static void Offsets(int flipAxis, std::int32_t imageWidth, std::int32_t imageLength,
                        const IMPN_Rect& front, const IMPN_Rect& back, long double& dx,
                        long double& dy);

    // Nearest integer, halves to the even neighbour, symmetric about zero; saturates at the
    // 32-bit range so that absurd geometry from a file cannot overflow.
    static std::int32_t Round(long double value);

    // Bounding rectangle of the page positions; all zero when there are none.
    static IMPN_Rect PageBounds(const std::vector<IMPN_PageEntry>& pages);

    // Zoom factor of a level: 8 / 2^level.
    static long double ZoomFactor(int level);

private:
    static void FillTables(long double dx, long double dy, Table& dxTable, Table& dyTable);

    Table m_PlateDx{};
    Table m_PressSheetDx{};
    Table m_PageDx{};
    Table m_PlateDy{};
    Table m_PressSheetDy{};
    Table m_PageDy{};
};
