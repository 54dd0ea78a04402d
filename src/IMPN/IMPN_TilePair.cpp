#include "IMPN/IMPN_TilePair.h"

#include "TIFX/TIFX_Exception.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <sstream>

namespace
{
std::string Size(std::uint32_t width, std::uint32_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string Resolution(float x, float y)
{
    std::ostringstream text;
    text << x << " x " << y << " dpi";
    return text.str();
}
} // namespace

IMPN_TilePair::IMPN_TilePair(std::string oldPath, std::string newPath)
    : m_Paths{std::move(oldPath), std::move(newPath)}
{
}

IMPN_TilePair::~IMPN_TilePair() = default;

bool IMPN_TilePair::OpenSide(int side)
{
    const std::string& path = m_Paths[side];
    try
    {
        auto file = std::make_unique<TIFX_KRNFile>(path);
        file->Open();
        if (file->GetDirectory() != 0 && !file->SetDirectory(0))
        {
            m_Problem = path + ": the full-resolution image cannot be read";
            return false;
        }
        if (file->GetBitsPerSample() != 1 || file->CountTiles() == 0)
        {
            m_Problem = path + ": the full-resolution image is not a tiled one-bit separation";
            return false;
        }
        // Asked for here so that a missing tag fails the open, not a comparison half done.
        file->GetXResolution();
        file->GetYResolution();
        m_Coding[side] = file->GetTileCoding();
        m_Files[side] = std::move(file);
        return true;
    }
    catch (const TIFX_Exception& e)
    {
        m_Problem = path + ": " + e.what();
        return false;
    }
}

IMPN_TilePair::Status IMPN_TilePair::Open()
{
    m_Problem.clear();
    m_Status = Status::Unreadable;
    if (!HasOld() && !HasNew())
    {
        m_Problem = "neither version has the ink";
        return m_Status;
    }
    for (int side = 0; side < 2; ++side)
        if (!m_Paths[side].empty() && !OpenSide(side))
            return m_Status;

    const TIFX_KRNFile& first = HasNew() ? *m_Files[1] : *m_Files[0];
    m_Width = first.GetImageWidth();
    m_Height = first.GetImageLength();
    m_TileWidth = first.GetTileWidth();
    m_TileLength = first.GetTileLength();
    m_Status = Status::NotComparable;
    if (HasOld() && HasNew())
    {
        const TIFX_KRNFile& a = *m_Files[0];
        const TIFX_KRNFile& b = *m_Files[1];
        if (a.GetImageWidth() != b.GetImageWidth() || a.GetImageLength() != b.GetImageLength())
        {
            m_Problem = "the old version is " + Size(a.GetImageWidth(), a.GetImageLength()) +
                        " pixels, the new " + Size(b.GetImageWidth(), b.GetImageLength());
            return m_Status;
        }
        if (a.GetXResolution() != b.GetXResolution() || a.GetYResolution() != b.GetYResolution())
        {
            m_Problem = "the old version has " +
                        Resolution(a.GetXResolution(), a.GetYResolution()) + ", the new " +
                        Resolution(b.GetXResolution(), b.GetYResolution());
            return m_Status;
        }
        if (a.GetTileWidth() != b.GetTileWidth() || a.GetTileLength() != b.GetTileLength())
        {
            m_Problem = "the old version has tiles of " +
                        Size(a.GetTileWidth(), a.GetTileLength()) + " pixels, the new of " +
                        Size(b.GetTileWidth(), b.GetTileLength());
            return m_Status;
        }
    }
    constexpr std::uint32_t cell = 64;
    if (m_TileWidth == 0 || m_TileLength == 0 || m_TileWidth % cell != 0 ||
        m_TileLength % cell != 0 ||
        std::uint64_t(m_TileWidth) * m_TileLength > (std::uint64_t(1) << 28))
    {
        m_Problem = "tiles of " + Size(m_TileWidth, m_TileLength) +
                    " pixels are not made of whole 64-pixel cells";
        return m_Status;
    }
    const std::uint64_t cells = ((std::uint64_t(m_Width) + cell - 1) / cell) *
                                ((std::uint64_t(m_Height) + cell - 1) / cell);
    if (m_Width == 0 || m_Height == 0 || m_Width > INT32_MAX || m_Height > INT32_MAX ||
        cells > kMaxCells)
    {
        m_Problem = "a picture of " + Size(m_Width, m_Height) + " pixels is too large to compare";
        return m_Status;
    }
    m_TilesAcross = (m_Width + m_TileWidth - 1) / m_TileWidth;
    m_TilesDown = (m_Height + m_TileLength - 1) / m_TileLength;
    m_TileBytes = std::size_t(m_TileWidth / 8) * m_TileLength;
    // Decoding fills what the TIFF library sizes a tile at: one sample of one bit, nothing more.
    for (int side = 0; side < 2; ++side)
        if (m_Files[side] && m_Files[side]->GetTileSize() != std::int64_t(m_TileBytes))
        {
            m_Status = Status::Unreadable;
            m_Problem = m_Paths[side] + ": the tiles are not one sample of one bit a pixel";
            return m_Status;
        }
    // A tile stored larger than this is compared by its pixels: a coded tile that dwarfs its
    // decoded size is damaged or hostile, and not worth holding twice.
    m_MaxRawBytes = std::max<std::uint64_t>(4 * std::uint64_t(m_TileBytes), 1u << 20);
    for (auto& bits : m_Bits)
        bits.assign(m_TileBytes, 0);
    m_SameCoding = HasOld() && HasNew() && m_Coding[0] == m_Coding[1];
    m_DecodedColumn = m_DecodedRow = -1;
    m_Status = Status::Ready;
    return m_Status;
}

bool IMPN_TilePair::SameBytes(std::uint32_t column, std::uint32_t row)
{
    if (m_Status != Status::Ready || !m_SameCoding || column >= m_TilesAcross || row >= m_TilesDown)
        return false;
    const auto index = static_cast<std::uint32_t>(TileNumber(column, row));
    const std::uint64_t size = m_Files[0]->GetRawTileSize(index);
    if (size == 0 || size != m_Files[1]->GetRawTileSize(index) || size > m_MaxRawBytes)
        return false;
    return m_Files[0]->ReadRawTile(index, m_Raw[0], m_MaxRawBytes) &&
           m_Files[1]->ReadRawTile(index, m_Raw[1], m_MaxRawBytes) &&
           std::memcmp(m_Raw[0].data(), m_Raw[1].data(), m_Raw[0].size()) == 0;
}

void IMPN_TilePair::SameBytesRow(std::uint32_t row, std::vector<std::uint8_t>& same)
{
    same.assign(m_TilesAcross, 0);
    if (m_Status != Status::Ready || !m_SameCoding || row >= m_TilesDown)
        return;
    // Where each side keeps the row's tiles; a row whose tiles lie scattered (or are damaged)
    // is compared tile by tile.
    const auto first = static_cast<std::uint32_t>(TileNumber(0, row));
    std::uint64_t begin[2] = {UINT64_MAX, UINT64_MAX}, end[2] = {0, 0};
    bool together = true;
    for (int side = 0; side < 2; ++side)
    {
        std::uint64_t stored = 0;
        for (std::uint32_t c = 0; c < m_TilesAcross && together; ++c)
        {
            const std::uint64_t offset = m_Files[side]->GetRawTileOffset(first + c);
            const std::uint64_t size = m_Files[side]->GetRawTileSize(first + c);
            together =
                offset != 0 && size != 0 && size <= m_MaxRawBytes && offset <= UINT64_MAX - size;
            begin[side] = std::min(begin[side], offset);
            end[side] = std::max(end[side], offset + size);
            stored += size;
        }
        // Gaps between the tiles are read too; a row spread over the file is not worth it.
        together = together && end[side] - begin[side] <= 2 * stored + (std::uint64_t(1) << 16);
    }
    for (int side = 0; side < 2 && together; ++side)
    {
        m_RowBytes[side].resize(std::size_t(end[side] - begin[side]));
        if (!m_Files[side]->ReadFileBytes(begin[side], end[side] - begin[side],
                                          m_RowBytes[side].data()))
        {
            for (std::uint32_t c = 0; c < m_TilesAcross; ++c)
                same[c] = SameBytes(c, row) ? 1 : 0;
            return;
        }
    }
    for (std::uint32_t c = 0; c < m_TilesAcross; ++c)
    {
        if (!together)
        {
            same[c] = SameBytes(c, row) ? 1 : 0;
            continue;
        }
        const std::uint64_t size = m_Files[0]->GetRawTileSize(first + c);
        if (size == 0 || size != m_Files[1]->GetRawTileSize(first + c))
            continue;
        const std::uint8_t* a =
            m_RowBytes[0].data() + (m_Files[0]->GetRawTileOffset(first + c) - begin[0]);
        const std::uint8_t* b =
            m_RowBytes[1].data() + (m_Files[1]->GetRawTileOffset(first + c) - begin[1]);
        same[c] = std::memcmp(a, b, std::size_t(size)) == 0 ? 1 : 0;
    }
}

int IMPN_TilePair::Decode(std::uint32_t column, std::uint32_t row)
{
    int failures = 0;
    const std::uint32_t x = column * m_TileWidth, y = row * m_TileLength;
    for (int side = 0; side < 2; ++side)
    {
        std::vector<std::uint8_t>& bits = m_Bits[side];
        if (!m_Files[side] || m_Status != Status::Ready || column >= m_TilesAcross ||
            row >= m_TilesDown)
        {
            std::memset(bits.data(), 0, bits.size());
            if (m_Files[side] && m_Status == Status::Ready)
                failures |= 1 << side;
            continue;
        }
        const std::int64_t got = m_Files[side]->ReadTile(bits.data(), x, y);
        if (got < 0)
        {
            std::memset(bits.data(), 0, bits.size());
            failures |= 1 << side;
        }
        else if (std::uint64_t(got) < bits.size())
            // A short tile is inked no further than it was decoded.
            std::memset(bits.data() + got, 0, bits.size() - std::size_t(got));
    }
    m_DecodedColumn = column;
    m_DecodedRow = row;
    m_DecodedFailures = failures;
    return failures;
}
