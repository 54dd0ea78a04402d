#pragma once
// One cached tile of a surface's picture at one zoom level. Indexed tiles hold one palette index
// per pixel, so a colour change costs a palette build instead of a re-render; colour tiles hold
// blue, green, red per pixel. A tile whose pixels are all alike keeps just one index or colour.

#include <cstddef>
#include <cstdint>
#include <memory>

enum class IMPN_TileKind : std::uint8_t
{
    None = 0,          // not made yet (or released)
    Indexed = 1,       // 1 byte a pixel, colours from the palette
    UniformIndex = 2,  // one index for the whole tile
    Colour = 3,        // 3 bytes a pixel: blue, green, red
    UniformColour = 4, // one colour for the whole tile
};

struct IMPN_RenderTile
{
    std::unique_ptr<std::uint8_t[]> pixels; // owned pixel store
    std::size_t storeBytes = 0;
    std::uint32_t rowBytes = 0;
    std::uint32_t stamp = 0; // change stamp of the last make
    std::int32_t top = 0;    // level pixels
    std::int32_t left = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    IMPN_TileKind kind = IMPN_TileKind::None;
    const std::uint8_t* palette = nullptr; // 3 bytes an entry, for the indexed kinds
    int paletteCount = 0;

    bool HasPixels() const { return kind != IMPN_TileKind::None && pixels != nullptr; }
    bool IsUniform() const
    {
        return kind == IMPN_TileKind::UniformIndex || kind == IMPN_TileKind::UniformColour;
    }

    // Frees the pixel store; the tile is made again on its next request.
    void Release();

    // Gives the tile a store of at least the given size (kept when large enough). The bytes are
    // left as they are, a new store's undefined: every caller fills what it uses.
    void Allocate(std::size_t bytes);

    // Blue, green, red of `count` pixels of tile row y from column x on, through the palette for
    // indexed tiles and expanded for uniform ones. Indices beyond the palette count show entry 0.
    void CopyRow(std::int32_t y, std::int32_t x, std::int32_t count, std::uint8_t* bgr) const;
};
