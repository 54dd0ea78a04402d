#include "IMPN/IMPN_SeparationInk.h"

#include "IMPN/IMPN_Separation.h"
#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_KRNFile.h"

#include <algorithm>
#include <cstring>

namespace
{
// Reads the main image of one preview file for one worker. It answers what the separation's own
// ReadTile answers for a tile it has not classified yet, so a picture made from it is the same.
class WorkerReader : public IMPN_RenderInk
{
public:
    explicit WorkerReader(std::unique_ptr<TIFX_KRNFile> file) : m_File(std::move(file))
    {
        m_Width = m_File->GetImageWidth();
        m_Length = m_File->GetImageLength();
        m_TileWidth = m_File->GetTileWidth();
        m_TileLength = m_File->GetTileLength();
        const std::int64_t size = m_File->GetTileSize();
        m_TileSize = size > 0 ? std::uint64_t(size) : 0;
    }

    bool GetImageInfo(std::uint32_t& width, std::uint32_t& length, std::uint32_t& tileWidth,
                      std::uint32_t& tileLength) override
    {
        width = m_Width;
        length = m_Length;
        tileWidth = m_TileWidth;
        tileLength = m_TileLength;
        return width > 0 && length > 0 && tileWidth > 0 && tileLength > 0;
    }

    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                          std::uint32_t y) override
    {
        if (buffer == nullptr || bufferSize == 0 || Outside(x, y) || m_TileSize == 0 ||
            m_TileSize > bufferSize)
            return -1;
        const std::int64_t count = m_File->ReadTile(buffer, x, y);
        if (count < 0)
            return -1;
        if (IMPN_Separation::ClassifyTile(buffer, count) != IMPN_Separation::TileMixed)
            return 1;
        return count;
    }

    // As the separation counts a tile it has not classified yet.
    int ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer, std::size_t bufferSize,
                         std::uint32_t x, std::uint32_t y) override
    {
        if (Outside(x, y))
            return -1;
        const int found =
            IMPN_Separation::CountTileRuns(*m_File, counter, buffer, bufferSize, x, y);
        if (found < 0 || found == kNotCounted)
            return found;
        return found == int(IMPN_Separation::TileBlank)   ? 0
               : found == int(IMPN_Separation::TileSolid) ? 1
                                                          : 2;
    }

    int GetTileClass(std::uint32_t x, std::uint32_t y) override
    {
        return Outside(x, y) ? int(IMPN_Separation::TileOutside)
                             : int(IMPN_Separation::TileUnknown);
    }

    // Display state belongs to the separation; a worker is never asked for it.
    bool IsVisible() const override { return true; }
    void GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                unsigned& opacity) const override
    {
        std::memset(colour, 0, 3);
        std::memset(background, 255, 3);
        opacity = 100;
    }

private:
    bool Outside(std::uint32_t x, std::uint32_t y) const
    {
        // The tile grid, as the separation counts it: a whole last tile past the image edge.
        if (m_TileWidth == 0 || m_TileLength == 0)
            return true;
        const std::uint64_t gridW = (std::uint64_t(m_Width) + m_TileWidth - 1) / m_TileWidth;
        const std::uint64_t gridH = (std::uint64_t(m_Length) + m_TileLength - 1) / m_TileLength;
        return x / m_TileWidth >= gridW || y / m_TileLength >= gridH;
    }

    std::unique_ptr<TIFX_KRNFile> m_File;
    std::uint32_t m_Width = 0, m_Length = 0, m_TileWidth = 0, m_TileLength = 0;
    std::uint64_t m_TileSize = 0;
};
} // namespace

IMPN_SeparationInk::IMPN_SeparationInk(IMPN_Separation& separation)
    : m_Separation(separation), m_Path(separation.GetFilePath())
{
}

bool IMPN_SeparationInk::GetImageInfo(std::uint32_t& width, std::uint32_t& length,
                                      std::uint32_t& tileWidth, std::uint32_t& tileLength)
{
    // Outputs the separation cannot read keep these zeroes, which mark the geometry unusable.
    width = length = tileWidth = tileLength = 0;
    m_Separation.GetImageInfo(width, length, tileWidth, tileLength);
    return width > 0 && length > 0 && tileWidth > 0 && tileLength > 0;
}

std::int64_t IMPN_SeparationInk::ReadTile(std::uint8_t* buffer, std::size_t bufferSize,
                                          std::uint32_t x, std::uint32_t y)
{
    return m_Separation.ReadTile(buffer, bufferSize, x, y);
}

int IMPN_SeparationInk::ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer,
                                         std::size_t bufferSize, std::uint32_t x, std::uint32_t y)
{
    return m_Separation.ReadTileCoverage(counter, buffer, bufferSize, x, y);
}

int IMPN_SeparationInk::GetTileClass(std::uint32_t x, std::uint32_t y)
{
    return static_cast<int>(m_Separation.GetTileClass(x, y));
}

bool IMPN_SeparationInk::IsVisible() const
{
    return m_Separation.IsVisible();
}

void IMPN_SeparationInk::GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                                unsigned& opacity) const
{
    const IMPN_ColorRecord& record = m_Separation.GetCurrentColor();
    std::memcpy(colour, record.color.data(), 3);
    std::memcpy(background, record.background.data(), 3);
    opacity = static_cast<unsigned>(std::clamp(record.opacity, 0, 100));
}

std::unique_ptr<IMPN_RenderInk> IMPN_SeparationInk::OpenWorkerReader() const
{
    auto file = std::make_unique<TIFX_KRNFile>(m_Path);
    file->Open();
    if (file->GetDirectory() != 0 && !file->SetDirectory(0))
        throw TIFX_FileIOException(m_Path + ": the main image cannot be selected", __FILE__,
                                   __LINE__);
    return std::make_unique<WorkerReader>(std::move(file));
}

void IMPN_SeparationInk::NoteTileClass(std::uint32_t x, std::uint32_t y, int tileClass)
{
    m_Separation.NoteTileClass(x, y, static_cast<std::uint32_t>(tileClass));
}

std::unique_ptr<IMPN_SurfaceRenderer>
IMPN_SeparationInk::CreateRenderer(const std::vector<std::unique_ptr<IMPN_Separation>>& separations,
                                   const std::uint8_t* paperColour)
{
    std::vector<std::unique_ptr<IMPN_RenderInk>> inks;
    inks.reserve(separations.size());
    for (const auto& separation : separations)
        inks.push_back(std::make_unique<IMPN_SeparationInk>(*separation));
    return std::make_unique<IMPN_SurfaceRenderer>(std::move(inks), paperColour);
}
