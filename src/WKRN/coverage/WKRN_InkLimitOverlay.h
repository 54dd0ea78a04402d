#pragma once
// The ink-limit overlay of a sheet view: where the total coverage of the shown inks, averaged over
// cells of 4 x 4 device pixels, exceeds the limit, the view is hatched (black and yellow, so that
// it stands out over any ink), at every zoom level.
//
// Cells are counted per source tile on the coverage worker, for the tiles the view shows, and
// each finished tile is hatched at once, so the overlay fills in progressively like the picture.
// Each tile keeps its over-limit cells with OR-reduced copies at 2, 4, ... 128 times the cell, so
// that a zoomed-out view looks up one cell per screen pixel; a thin line of over-limit cells stays
// visible at 1:512. A change of the limit, the shown inks or the facing surface counts again.

#include <QObject>
#include <QRect>

#include <cstdint>
#include <map>
#include <vector>

class QPainter;
class WKRN_CoverageWorker;
class WKRN_SheetView;

class WKRN_InkLimitOverlay : public QObject
{
    Q_OBJECT
public:
    static constexpr std::uint32_t kCell = 4; // device pixels

    // Over-limit cells of one source tile, with the reduced copies.
    struct TileCells
    {
        std::uint32_t across = 0, down = 0; // cells of the finest level
        // levels[j]: cells of 2^j x 2^j finest cells, one byte each, rows of (across >> j)
        // rounded up.
        std::vector<std::vector<std::uint8_t>> levels;
        bool any = false;

        // From the finest level (across x down bytes, non-zero = over the limit).
        static TileCells FromFinest(std::uint32_t across, std::uint32_t down,
                                    std::vector<std::uint8_t> finest);
        std::uint32_t Across(std::size_t level) const;
        std::uint32_t Down(std::size_t level) const;
        bool At(std::size_t level, std::uint32_t x, std::uint32_t y) const;
    };

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

    // Asks for the tiles that the view shows and that are not counted yet.
    void Update();

    // Hatches the over-limit cells within a rectangle of level pixels (level index `level`).
    void Paint(QPainter& painter, const QRect& levelRect, int level) const;

    // Counted source tiles so far (for tests and the status).
    std::size_t CountedTiles() const { return m_Tiles.size(); }
    // Whether tiles the view asked for are still being counted.
    bool IsCounting() const { return !m_Outstanding.empty(); }

private:
    void Forget();
    void Deliver(std::uint32_t tileIndex, TileCells cells, const QRect& deviceRect);

    WKRN_SheetView& m_View;
    WKRN_CoverageWorker* m_Worker = nullptr;
    std::vector<bool> m_Included;
    int m_Limit = 300;
    bool m_Enabled = false;
    std::map<std::uint32_t, TileCells> m_Tiles;
    std::vector<std::uint32_t> m_Outstanding; // asked for, not delivered yet
};
