#include "IMPN/IMPN_Pyramid.h"

#include <algorithm>

void IMPN_Pyramid::Halve(const std::uint8_t* src, std::size_t srcStride, std::int32_t srcWidth,
                         std::int32_t srcHeight, std::uint8_t* dst, std::size_t dstStride,
                         std::int32_t outWidth, std::int32_t outHeight)
{
    if (srcWidth <= 0 || srcHeight <= 0)
        return;
    // Output pixels whose whole 2 x 2 block lies inside take the quick path.
    const std::int32_t fullCols = std::min(outWidth, srcWidth / 2);
    const std::int32_t fullRows = std::min(outHeight, srcHeight / 2);
    const std::int32_t cols = std::min(outWidth, (srcWidth + 1) / 2);
    const std::int32_t rows = std::min(outHeight, (srcHeight + 1) / 2);
    for (std::int32_t y = 0; y < rows; ++y)
    {
        const std::uint8_t* r0 = src + std::size_t(2 * y) * srcStride;
        const bool secondRow = 2 * y + 1 < srcHeight;
        const std::uint8_t* r1 = secondRow ? r0 + srcStride : r0;
        std::uint8_t* out = dst + std::size_t(y) * dstStride;
        std::int32_t x = 0;
        if (y < fullRows)
        {
            for (; x < fullCols; ++x)
            {
                const std::uint8_t* a = r0 + 6 * std::size_t(x);
                const std::uint8_t* b = r1 + 6 * std::size_t(x);
                for (int c = 0; c < 3; ++c)
                    out[3 * x + c] =
                        static_cast<std::uint8_t>((a[c] + a[3 + c] + b[c] + b[3 + c]) >> 2);
            }
        }
        for (; x < cols; ++x)
        {
            const bool secondCol = 2 * x + 1 < srcWidth;
            const unsigned count = (secondCol ? 2u : 1u) * (secondRow ? 2u : 1u);
            const std::uint8_t* a = r0 + 6 * std::size_t(x);
            const std::uint8_t* b = r1 + 6 * std::size_t(x);
            for (int c = 0; c < 3; ++c)
            {
                unsigned sum = a[c];
                if (secondCol)
                    sum += a[3 + c];
                if (secondRow)
                {
                    sum += b[c];
                    if (secondCol)
                        sum += b[3 + c];
                }
                out[3 * x + c] = static_cast<std::uint8_t>(sum / count);
            }
        }
    }
}
