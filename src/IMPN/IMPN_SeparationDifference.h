#pragma once
// The exact difference of two versions of one separation: pixels added (inked only in the new
// version) and removed (inked only in the old one), counted at full resolution, and the changed
// 64 x 64-pixel cells from which the changed regions follow. A tile whose stored bytes are the
// same in both files is equal without being decoded; only the others are decoded and compared
// bit by bit. One version may lack the ink: everything the other inks then counts as added or
// removed.
//
// A tile that cannot be decoded on one side is taken as the inverse of the other side's, so that
// every pixel of it counts as changed (as removed where the readable side inks, else as added);
// when neither side decodes, its pixels count as added. Each such tile gives a warning that names
// the file and the tile.
//
// Threads: Open makes one pair of readers for each thread that will compare, on the calling
// thread (preview files are opened on one thread); Run shares the tile rows between the calling
// thread and a pool's workers. Results are read once Run has returned.

#include "IMPN/IMPN_ChangedRegions.h"
#include "IMPN/IMPN_TilePair.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IMPN_TilePairStates;
class IMPN_WorkerPool;

class IMPN_SeparationDifference
{
public:
    enum class Status
    {
        NotRun,
        Compared,
        NotComparable, // of different sizes or resolutions: GetProblem says which
        Unreadable,    // a side cannot be opened: GetProblem names it
        Stopped,       // Run was asked to stop; the counts are partial
    };

    // An empty path is a version that lacks the ink.
    IMPN_SeparationDifference(std::string oldPath, std::string newPath);
    ~IMPN_SeparationDifference();
    IMPN_SeparationDifference(const IMPN_SeparationDifference&) = delete;
    IMPN_SeparationDifference& operator=(const IMPN_SeparationDifference&) = delete;

    // Opens a pair of readers for each of `threads` threads (at least one) and checks that the
    // versions line up. Returns NotRun when they can be compared, else why not.
    Status Open(unsigned threads = 1);

    // Compares every tile, on the calling thread and, with a pool, on as many of its workers as
    // there are readers left. `stop` is looked at between tile rows. `states`, when given (one
    // entry per tile, row by row), learns each tile's outcome as it is found. Closes the readers
    // at the end. Returns Compared, Stopped, or what Open said.
    Status Run(IMPN_WorkerPool* pool = nullptr, const std::atomic<bool>* stop = nullptr,
               IMPN_TilePairStates* states = nullptr);

    Status GetStatus() const { return m_Status; }
    const std::string& GetProblem() const { return m_Problem; }
    const std::string& GetOldPath() const { return m_OldPath; }
    const std::string& GetNewPath() const { return m_NewPath; }

    std::uint64_t GetAdded() const { return m_Added; }
    std::uint64_t GetRemoved() const { return m_Removed; }
    bool HasDifferences() const { return m_Added != 0 || m_Removed != 0; }
    // Picture and tile grid of the versions (after Open).
    std::uint32_t GetWidth() const { return m_Width; }
    std::uint32_t GetHeight() const { return m_Height; }
    std::uint32_t GetTilesAcross() const { return m_TilesAcross; }
    std::uint32_t GetTilesDown() const { return m_TilesDown; }
    const IMPN_ChangedCells& GetCells() const { return m_Cells; }
    std::vector<IMPN_Rect> GetRegions() const { return IMPN_ChangedRegions::Find(m_Cells); }
    // One line a tile that could not be decoded: "FILE: tile N (column C, row R) cannot be
    // decoded; its pixels count as changed".
    const std::vector<std::string>& GetWarnings() const { return m_Warnings; }
    // Tiles found equal by their stored bytes, and tiles decoded on both sides.
    std::uint64_t GetTilesByBytes() const { return m_TilesByBytes; }
    std::uint64_t GetTilesDecoded() const { return m_TilesDecoded; }

private:
    struct RowResult;
    void CompareRow(IMPN_TilePair& pair, std::uint32_t row, IMPN_TilePairStates* states,
                    RowResult& result);

    std::string m_OldPath, m_NewPath;
    std::vector<std::unique_ptr<IMPN_TilePair>> m_Pairs;
    Status m_Status = Status::NotRun;
    std::string m_Problem;
    std::uint32_t m_Width = 0, m_Height = 0, m_TileWidth = 0, m_TileLength = 0;
    std::uint32_t m_TilesAcross = 0, m_TilesDown = 0;
    std::uint64_t m_Added = 0, m_Removed = 0;
    std::uint64_t m_TilesByBytes = 0, m_TilesDecoded = 0;
    IMPN_ChangedCells m_Cells;
    std::vector<std::string> m_Warnings;
};
