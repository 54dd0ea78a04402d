#pragma once
// The exact difference of two versions of one screened one-bit tile: pixels that only the newer
// version inks (added), pixels that only the older one inks (removed), and which 64 x 64-pixel
// cells hold any pixel that differs. A cell row is one 64-bit word of each tile row, so the
// counting runs a word at a time.

#include <cstddef>
#include <cstdint>

class IMPN_DifferenceKernel
{
public:
    static constexpr std::uint32_t kCellSize = 64;

    struct Counts
    {
        std::uint64_t added = 0;
        std::uint64_t removed = 0;
    };

    // Compares the top-left width x height pixels of two one-bit tiles (1 = ink, most significant
    // bit first) whose rows are rowBytes apart; rowBytes is a multiple of 8 that holds the width
    // rounded up to whole cells. A null tile is blank. Adds to counts, and sets
    // changed[row * changedStride + column] to 1 for every cell of the tile, numbered from its
    // top-left, that holds a difference. Pixels right of width and rows below height are not
    // looked at.
    static void Compare(const std::uint8_t* older, const std::uint8_t* newer, std::size_t rowBytes,
                        std::uint32_t width, std::uint32_t height, Counts& counts,
                        std::uint8_t* changed, std::size_t changedStride);

    // Writes the bits of one role of the pair into out (same layout, whole rows): both inks
    // (older AND newer), only the newer (newer AND NOT older) or only the older. A null tile is
    // blank. Returns true when any bit of out is set.
    enum class Part
    {
        Both,
        OnlyNewer,
        OnlyOlder
    };
    static bool Combine(Part part, const std::uint8_t* older, const std::uint8_t* newer,
                        std::size_t bytes, std::uint8_t* out);
};
