#pragma once
// Assembles a rectangle of one zoom level of a surface's picture from the renderer's tiles, the
// way the sheet view draws them: indexed tiles through the palette, uniform tiles expanded.
// Used by the command-line renderer and by checks that compare whole levels.

#include <cstddef>
#include <cstdint>
#include <functional>

class IMPN_SurfaceRenderer;
class IMPN_WorkerPool;

class IMPN_RenderComposite
{
public:
    // Called after each row of tiles with the tiles done and the tiles in all.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    // Writes width x height pixels (blue, green, red; rows stride bytes apart) of the level,
    // starting at level pixel (left, top). Pixels outside the level picture are white. Returns
    // false for a level outside 0..12 or a negative size. With a pool, the tiles are made on its
    // workers a few at a time just before they are copied (the pixels are the same either way).
    static bool Compose(IMPN_SurfaceRenderer& renderer, int level, std::uint32_t stamp,
                        std::int32_t top, std::int32_t left, std::int32_t width,
                        std::int32_t height, std::uint8_t* bgr, std::size_t stride,
                        const Progress& progress = {}, IMPN_WorkerPool* pool = nullptr);
};
