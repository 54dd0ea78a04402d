#pragma once
// The full-resolution tiles of two versions of one separation, read through readers of its own:
// whether a tile's stored bytes are the same in both files (then its pixels are, and nothing is
// decoded), and the decoded bits of both when they are not. One version may lack the ink: that
// side reads as blank. A pair belongs to one thread at a time; it is opened on the thread that
// opens preview files.

#include "TIFX/TIFX_KRNFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IMPN_TilePair
{
public:
    enum class Status
    {
        Closed,
        Ready,         // both sides can be compared pixel for pixel
        NotComparable, // both readable, of different pixel sizes, resolutions or tiles
        Unreadable,    // a side cannot be opened or is not a one-bit tiled image
    };

    // The largest picture compared: its map of changed cells stays within 64 MiB.
    static constexpr std::uint64_t kMaxCells = std::uint64_t(64) << 20;

    // An empty path is a side that lacks the ink.
    IMPN_TilePair(std::string oldPath, std::string newPath);
    ~IMPN_TilePair();
    IMPN_TilePair(const IMPN_TilePair&) = delete;
    IMPN_TilePair& operator=(const IMPN_TilePair&) = delete;

    // Opens the sides there are at their full-resolution image and checks that they line up.
    Status Open();
    Status GetStatus() const { return m_Status; }
    // Why the pair is not Ready, naming the file or the two sizes; empty when it is.
    const std::string& GetProblem() const { return m_Problem; }

    const std::string& GetOldPath() const { return m_Paths[0]; }
    const std::string& GetNewPath() const { return m_Paths[1]; }
    bool HasOld() const { return !m_Paths[0].empty(); }
    bool HasNew() const { return !m_Paths[1].empty(); }
    // The reader of a side (0 old, 1 new); null for a side that lacks the ink or before Open.
    TIFX_KRNFile* GetFile(int side) const { return m_Files[side].get(); }

    // The picture of the sides there are (both alike once Ready).
    std::uint32_t GetWidth() const { return m_Width; }
    std::uint32_t GetHeight() const { return m_Height; }
    std::uint32_t GetTileWidth() const { return m_TileWidth; }
    std::uint32_t GetTileLength() const { return m_TileLength; }
    std::uint32_t GetTilesAcross() const { return m_TilesAcross; }
    std::uint32_t GetTilesDown() const { return m_TilesDown; }
    std::size_t GetTileBytes() const { return m_TileBytes; }
    std::size_t GetRowBytes() const { return m_TileWidth / 8; }
    // The tile at column c, row r of the tile grid, numbered row by row.
    std::size_t TileNumber(std::uint32_t column, std::uint32_t row) const
    {
        return std::size_t(row) * m_TilesAcross + column;
    }

    // True when both sides have the ink, code their tiles alike and hold the same stored bytes
    // for the tile at (column, row). Byte counts that differ answer at once.
    bool SameBytes(std::uint32_t column, std::uint32_t row);

    // SameBytes for every tile of a tile row at once: same[c] is 1 for column c when its stored
    // bytes are the same. Each side's bytes of the row are read in one go where they lie
    // together in the file, as a writer puts them.
    void SameBytesRow(std::uint32_t row, std::vector<std::uint8_t>& same);

    // Decodes the tile at (column, row) of both sides into the pair's buffers (a side that lacks
    // the ink is blank). Returns which sides failed: bit 0 old, bit 1 new.
    int Decode(std::uint32_t column, std::uint32_t row);
    const std::uint8_t* OldBits() const { return m_Bits[0].data(); }
    const std::uint8_t* NewBits() const { return m_Bits[1].data(); }
    // Column and row of the tile the buffers hold after a Decode; -1 when none.
    std::int64_t DecodedColumn() const { return m_DecodedColumn; }
    std::int64_t DecodedRow() const { return m_DecodedRow; }
    int DecodedFailures() const { return m_DecodedFailures; }

private:
    bool OpenSide(int side);

    std::string m_Paths[2];
    std::unique_ptr<TIFX_KRNFile> m_Files[2];
    TIFX_KRNFile::TileCoding m_Coding[2];
    bool m_SameCoding = false;
    Status m_Status = Status::Closed;
    std::string m_Problem;
    std::uint32_t m_Width = 0, m_Height = 0, m_TileWidth = 0, m_TileLength = 0;
    std::uint32_t m_TilesAcross = 0, m_TilesDown = 0;
    std::size_t m_TileBytes = 0;
    std::uint64_t m_MaxRawBytes = 0;
    std::vector<std::uint8_t> m_Raw[2];
    std::vector<std::uint8_t> m_RowBytes[2];
    std::vector<std::uint8_t> m_Bits[2];
    std::int64_t m_DecodedColumn = -1, m_DecodedRow = -1;
    int m_DecodedFailures = 0;
};
