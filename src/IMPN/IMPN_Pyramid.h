#pragma once
// One step of the averaging pyramid: a colour picture halved in both directions by averaging
// 2 x 2 pixel blocks. Only pixels inside the source picture count, so the last column or row of
// an odd-sized level is not lightened by the white beyond its edge.

#include <cstddef>
#include <cstdint>

class IMPN_Pyramid
{
public:
    // Writes outWidth x outHeight blue-green-red pixels to dst (rows dstStride bytes apart),
    // output pixel (x, y) averaging source pixels (2x..2x+1, 2y..2y+1) of src (rows srcStride
    // bytes apart) that lie inside srcWidth x srcHeight. An output pixel with no source pixel
    // inside is left untouched.
    static void Halve(const std::uint8_t* src, std::size_t srcStride, std::int32_t srcWidth,
                      std::int32_t srcHeight, std::uint8_t* dst, std::size_t dstStride,
                      std::int32_t outWidth, std::int32_t outHeight);
};
