#pragma once
// The ink-limit overlay of a sheet view: the cells of the measuring area (IMPN_InkLimit) whose
// total of the shown inks exceeds the limit are hatched (black and yellow, so that the hatch
// stands out over any ink), in their true place and size at every zoom level. A screen pixel
// that holds several cells is hatched when any of them is over, one that lies inside a cell when
// that cell is; so the picture agrees with itself across zooms, and with the Densitometer set to
// the same aperture on the same cell.
//
// Cells are counted on the surface's coverage worker (its cell counters, on its pool), in blocks
// of source tiles for the part of the picture the view shows, and each finished block is hatched
// at once, so the overlay fills in progressively like the picture. A cell that reaches over a
// block's edge is finished when every block it meets is counted. A change of the limit, the
// measuring area, the shown inks or the facing surface counts again.

#include "IMPN/IMPN_CellCoverage.h"

#include <QObject>
#include <QRect>

#include <cstdint>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

class QPainter;
class WKRN_CoverageWorker;
class WKRN_SheetView;

class WKRN_InkLimitOverlay : public QObject
{
    Q_OBJECT
public:
    explicit WKRN_InkLimitOverlay(WKRN_SheetView& view, QObject* parent = nullptr);
    ~WKRN_InkLimitOverlay() override;

    void SetEnabled(bool enabled);
    bool IsEnabled() const { return m_Enabled; }

    // The worker of the surface facing the viewer (null: none), with the inks the total adds.
    // A different worker or different inks forget what was counted.
    void SetSource(WKRN_CoverageWorker* worker, const std::vector<bool>& included);
    // The total above which a cell is hatched, in percent.
    void SetLimit(int percent);
    int Limit() const { return m_Limit; }
    // The side of a cell in device pixels (IMPN_InkLimit::CellSide of the measuring area).
    void SetCellSide(std::uint32_t side);
    std::uint32_t CellSide() const { return m_Side; }

    // Asks for the blocks that the view shows and that are not counted yet.
    void Update();

    // Hatches the over-limit cells within a rectangle of level pixels (level index `level`).
    void Paint(QPainter& painter, const QRect& levelRect, int level) const;

    // Whether cell (column, row) of the surface's grid is counted and over the limit.
    bool IsOver(std::size_t column, std::size_t row) const;
    // Blocks counted so far, and whether blocks the view asked for are still being counted.
    std::size_t CountedBlocks() const { return m_Counted.size(); }
    bool IsCounting() const { return !m_Outstanding.empty(); }
    // Source tiles that could not be read (they count as no ink), over every ink counted.
    std::uint64_t UnreadableTiles() const { return m_Unreadable; }

signals:
    // More tiles could not be read; total is UnreadableTiles().
    void TilesUnreadable(quint64 total);

private:
    struct Pending
    {
        std::uint64_t inked = 0;
        unsigned parts = 0;
    };
    struct BlockResult;

    void Forget();
    void Deliver(BlockResult& result);
    // The blocks (of source tiles) cell (column, row) meets.
    unsigned BlocksMeeting(std::size_t column, std::size_t row) const;
    std::uint64_t CellPixels(std::size_t column, std::size_t row) const;
    void SetOver(std::size_t column, std::size_t row);

    WKRN_SheetView& m_View;
    WKRN_CoverageWorker* m_Worker = nullptr;
    std::vector<bool> m_Included;
    int m_Limit = 300;
    std::uint32_t m_Side = 0;
    bool m_Enabled = false;

    // The grid of the picture's cells and the blocks they are counted in.
    std::shared_ptr<const IMPN_CellGrid> m_Grid;
    std::uint32_t m_Width = 0, m_Length = 0;
    std::uint32_t m_BlockWidth = 0, m_BlockLength = 0, m_BlocksAcross = 0, m_BlocksDown = 0;
    std::vector<std::uint64_t> m_Over;                    // one bit a cell, row by row
    std::unordered_map<std::uint64_t, Pending> m_Pending; // cells over a counted block's edge
    std::set<std::uint32_t> m_Counted;
    std::vector<std::uint32_t> m_Outstanding; // asked for, not delivered yet
    std::uint64_t m_Unreadable = 0;
};
