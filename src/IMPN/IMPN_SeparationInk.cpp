#include "IMPN/IMPN_SeparationInk.h"

#include "IMPN/IMPN_Separation.h"

#include <algorithm>
#include <cstring>

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
