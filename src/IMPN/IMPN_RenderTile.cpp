#include "IMPN/IMPN_RenderTile.h"

#include <cstring>

void IMPN_RenderTile::Release()
{
    pixels.reset();
    storeBytes = 0;
    rowBytes = 0;
    stamp = 0;
    kind = IMPN_TileKind::None;
}

void IMPN_RenderTile::Allocate(std::size_t bytes)
{
    if (pixels && storeBytes >= bytes)
        return;
    pixels.reset();
    pixels = std::make_unique_for_overwrite<std::uint8_t[]>(bytes);
    storeBytes = bytes;
}

void IMPN_RenderTile::CopyRow(std::int32_t y, std::int32_t x, std::int32_t count,
                              std::uint8_t* bgr) const
{
    if (count <= 0)
        return;
    const std::uint8_t white[3] = {255, 255, 255};
    auto paletteEntry = [this, &white](std::uint8_t index) -> const std::uint8_t*
    {
        if (palette == nullptr)
            return white;
        return palette + 3 * (index < paletteCount ? index : 0);
    };
    switch (kind)
    {
    case IMPN_TileKind::Indexed:
    {
        const std::uint8_t* src = pixels.get() + std::size_t(y) * rowBytes + x;
        for (std::int32_t i = 0; i < count; ++i)
            std::memcpy(bgr + 3 * i, paletteEntry(src[i]), 3);
        break;
    }
    case IMPN_TileKind::UniformIndex:
    {
        const std::uint8_t* c = paletteEntry(pixels[0]);
        for (std::int32_t i = 0; i < count; ++i)
            std::memcpy(bgr + 3 * i, c, 3);
        break;
    }
    case IMPN_TileKind::Colour:
        std::memcpy(bgr, pixels.get() + std::size_t(y) * rowBytes + 3 * std::size_t(x),
                    3 * std::size_t(count));
        break;
    case IMPN_TileKind::UniformColour:
        for (std::int32_t i = 0; i < count; ++i)
            std::memcpy(bgr + 3 * i, pixels.get(), 3);
        break;
    case IMPN_TileKind::None:
        for (std::int32_t i = 0; i < count; ++i)
            std::memcpy(bgr + 3 * i, white, 3);
        break;
    }
}
