#include "IMPN/IMPN_SeparationDifference.h"

#include "IMPN/IMPN_DifferenceKernel.h"
#include "IMPN/IMPN_TilePairStates.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

struct IMPN_SeparationDifference::RowResult
{
    IMPN_DifferenceKernel::Counts counts;
    std::uint64_t byBytes = 0;
    std::uint64_t decoded = 0;
    std::vector<std::string> warnings;
};

IMPN_SeparationDifference::IMPN_SeparationDifference(std::string oldPath, std::string newPath)
    : m_OldPath(std::move(oldPath)), m_NewPath(std::move(newPath))
{
}

IMPN_SeparationDifference::~IMPN_SeparationDifference() = default;

IMPN_SeparationDifference::Status IMPN_SeparationDifference::Open(unsigned threads)
{
    m_Pairs.clear();
    m_Problem.clear();
    for (unsigned i = 0; i < std::max(threads, 1u); ++i)
    {
        auto pair = std::make_unique<IMPN_TilePair>(m_OldPath, m_NewPath);
        const IMPN_TilePair::Status opened = pair->Open();
        if (opened != IMPN_TilePair::Status::Ready)
        {
            m_Status = opened == IMPN_TilePair::Status::NotComparable ? Status::NotComparable
                                                                      : Status::Unreadable;
            m_Problem = pair->GetProblem();
            m_Pairs.clear();
            return m_Status;
        }
        m_Pairs.push_back(std::move(pair));
    }
    const IMPN_TilePair& first = *m_Pairs.front();
    m_Width = first.GetWidth();
    m_Height = first.GetHeight();
    m_TileWidth = first.GetTileWidth();
    m_TileLength = first.GetTileLength();
    m_TilesAcross = first.GetTilesAcross();
    m_TilesDown = first.GetTilesDown();
    m_Cells.Reset(m_Width, m_Height, IMPN_DifferenceKernel::kCellSize);
    m_Status = Status::NotRun;
    return m_Status;
}

void IMPN_SeparationDifference::CompareRow(IMPN_TilePair& pair, std::uint32_t row,
                                           IMPN_TilePairStates* states, RowResult& result)
{
    constexpr std::uint32_t cell = IMPN_DifferenceKernel::kCellSize;
    const std::uint32_t h = std::min(m_TileLength, m_Height - row * m_TileLength);
    std::vector<std::uint8_t> same;
    pair.SameBytesRow(row, same);
    for (std::uint32_t column = 0; column < m_TilesAcross; ++column)
    {
        const std::size_t tile = pair.TileNumber(column, row);
        if (same[column] || (states != nullptr && states->IsSame(tile)))
        {
            ++result.byBytes;
            if (states != nullptr && same[column])
                states->Set(tile, IMPN_TilePairStates::SameBytes);
            continue;
        }
        const std::uint32_t w = std::min(m_TileWidth, m_Width - column * m_TileWidth);
        std::uint8_t* cells = m_Cells.cells.data() +
                              std::size_t(row * (m_TileLength / cell)) * m_Cells.across +
                              column * (m_TileWidth / cell);
        const int failures = pair.Decode(column, row);
        ++result.decoded;
        const std::uint8_t* older = (failures & 1) ? nullptr : pair.OldBits();
        const std::uint8_t* newer = (failures & 2) ? nullptr : pair.NewBits();
        IMPN_DifferenceKernel::Counts counts;
        IMPN_DifferenceKernel::Compare(older, newer, pair.GetRowBytes(), w, h, counts, cells,
                                       m_Cells.across);
        if (failures == 0)
        {
            if (states != nullptr)
                states->Set(tile, counts.added != 0 || counts.removed != 0
                                      ? IMPN_TilePairStates::Different
                                      : IMPN_TilePairStates::SamePixels);
            result.counts.added += counts.added;
            result.counts.removed += counts.removed;
            continue;
        }
        // The side that cannot be decoded is taken as the inverse of the other.
        const std::uint64_t pixels = std::uint64_t(w) * h;
        if (failures == 3)
            result.counts.added += pixels;
        else if (failures == 1)
        {
            result.counts.added += counts.added;
            result.counts.removed += pixels - counts.added;
        }
        else
        {
            result.counts.removed += counts.removed;
            result.counts.added += pixels - counts.removed;
        }
        m_Cells.MarkPixels(column * m_TileWidth, row * m_TileLength, column * m_TileWidth + w,
                           row * m_TileLength + h);
        if (states != nullptr)
            states->Set(tile, IMPN_TilePairStates::Unreadable);
        for (int side = 0; side < 2; ++side)
            if (failures & (1 << side))
                result.warnings.push_back((side == 0 ? m_OldPath : m_NewPath) + ": tile " +
                                          std::to_string(tile) + " (column " +
                                          std::to_string(column) + ", row " + std::to_string(row) +
                                          ") cannot be decoded; its pixels count as changed");
    }
}

IMPN_SeparationDifference::Status IMPN_SeparationDifference::Run(IMPN_WorkerPool* pool,
                                                                 const std::atomic<bool>* stop,
                                                                 IMPN_TilePairStates* states)
{
    if (m_Status != Status::NotRun)
        return m_Status;
    if (m_Pairs.empty() && Open(1) != Status::NotRun)
        return m_Status;
    if (states != nullptr && states->Count() != std::size_t(m_TilesAcross) * m_TilesDown)
        states = nullptr;

    // A row takes whichever pair of readers is free; the pool may run more rows at once than
    // there are pairs, and those wait for one.
    std::mutex mutex;
    std::condition_variable freed;
    std::vector<IMPN_TilePair*> idle;
    for (const auto& pair : m_Pairs)
        idle.push_back(pair.get());
    std::atomic<bool> stopped{false};
    std::vector<RowResult> results(m_TilesDown);
    const auto body = [&](std::size_t row)
    {
        if (stopped.load(std::memory_order_relaxed) ||
            (stop != nullptr && stop->load(std::memory_order_relaxed)))
        {
            stopped.store(true, std::memory_order_relaxed);
            return;
        }
        IMPN_TilePair* pair = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex);
            freed.wait(lock, [&] { return !idle.empty(); });
            pair = idle.back();
            idle.pop_back();
        }
        CompareRow(*pair, static_cast<std::uint32_t>(row), states, results[row]);
        {
            std::lock_guard<std::mutex> lock(mutex);
            idle.push_back(pair);
        }
        freed.notify_one();
    };
    if (pool != nullptr && m_Pairs.size() > 1)
        pool->ParallelFor(m_TilesDown, body);
    else
        for (std::uint32_t row = 0; row < m_TilesDown; ++row)
            body(row);

    for (RowResult& result : results)
    {
        m_Added += result.counts.added;
        m_Removed += result.counts.removed;
        m_TilesByBytes += result.byBytes;
        m_TilesDecoded += result.decoded;
        for (std::string& warning : result.warnings)
            m_Warnings.push_back(std::move(warning));
    }
    m_Pairs.clear();
    m_Status = stopped ? Status::Stopped : Status::Compared;
    return m_Status;
}
