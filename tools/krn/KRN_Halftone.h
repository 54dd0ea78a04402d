#pragma once
// A round-dot halftone screen at one angle and ruling, as an output system screens an ink: every
// device pixel is compared with a threshold that depends on where it falls in its screen cell, so
// that a flat tint becomes a grid of round dots whose area matches the tint.

#include <array>
#include <cstdint>

class KRN_Halftone
{
public:
    // angleDegrees: screen angle (15 cyan, 75 magenta, 0 yellow, 45 black); cellPixels: the
    // screen period in device pixels (dpi / lpi).
    KRN_Halftone(double angleDegrees, double cellPixels);

    // Screens one row of device pixels: pixel x of row y is inked when its coverage (0 none to
    // 255 full) is above its threshold. coverageAt(x) gives the coverage; bits are packed most
    // significant first, 1 = ink, into (width + 7) / 8 bytes.
    template <class CoverageAt>
    void ScreenRow(std::uint32_t y, std::uint32_t width, CoverageAt coverageAt,
                   std::uint8_t* bits) const
    {
        std::uint32_t u = RowStartU(y);
        std::uint32_t v = RowStartV(y);
        std::uint8_t byte = 0;
        for (std::uint32_t x = 0; x < width; ++x)
        {
            const std::uint8_t threshold = m_Thresholds[(u >> 24) * TableSize + (v >> 24)];
            byte = static_cast<std::uint8_t>((byte << 1) | (coverageAt(x) > threshold ? 1 : 0));
            if ((x & 7) == 7)
            {
                bits[x >> 3] = byte;
                byte = 0;
            }
            u += m_StepU;
            v += m_StepV;
        }
        if (width & 7)
            bits[width >> 3] = static_cast<std::uint8_t>(byte << (8 - (width & 7)));
    }

    // Threshold at a position of the cell, both coordinates in 1/256 of the cell.
    std::uint8_t Threshold(unsigned cellU, unsigned cellV) const
    {
        return m_Thresholds[(cellU & 0xFF) * TableSize + (cellV & 0xFF)];
    }

private:
    static constexpr unsigned TableSize = 256;

    std::uint32_t RowStartU(std::uint32_t y) const;
    std::uint32_t RowStartV(std::uint32_t y) const;

    // Cell coordinates as fractions of 2^32 per cell, so that wrapping is the cell repeat.
    double m_SinPerCell = 0;
    double m_CosPerCell = 0;
    std::uint32_t m_StepU = 0;
    std::uint32_t m_StepV = 0;
    std::array<std::uint8_t, TableSize * TableSize> m_Thresholds{};
};
