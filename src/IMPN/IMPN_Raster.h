#pragma once
// An 8-bit raster read from a separation's reduced image: whole tiles, so its rows may be longer
// and more numerous than the image itself.

#include <cstdint>
#include <vector>

struct IMPN_Raster
{
    // Pixel formats.
    static constexpr std::uint32_t FormatGrey8 = 5;   // 1 byte a pixel
    static constexpr std::uint32_t FormatColor32 = 6; // 4 bytes a pixel

    std::vector<std::uint8_t> pixels;
    std::uint32_t rowLength = 0; // bytes a row
    std::uint32_t rows = 0;
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint64_t size = 0; // rowLength x rows
    std::uint32_t pixelFormat = FormatGrey8;
    std::uint32_t changeStamp = 0;
};
