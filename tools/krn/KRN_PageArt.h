#pragma once
// The continuous-tone art of one press-sheet surface, one coverage plane per ink (0 no ink, 255
// full ink), sampled on a grid of square blocks of device pixels. Art is painted as elements
// placed in frames: a page frame turns the page's own upright coordinates (0..1 across the trim,
// beyond it in the bleed) into sheet pixels by the page's orientation; the sheet frame places
// marks and colour bars.

#include <array>
#include <cstdint>
#include <vector>

class KRN_PageArt
{
public:
    static constexpr int MaxInks = 8;
    using Inks = std::array<std::uint8_t, MaxInks>;

    // Where frame coordinates (u across, v down, 0..1) land on the sheet, in device pixels.
    // Orientation: 0 up, 1 down (turned half way), 2 left (the page's head faces the sheet's
    // left edge), 3 right.
    struct Frame
    {
        double left = 0, top = 0, width = 1, height = 1;
        int orientation = 0;
    };

    enum class Kind
    {
        Flat,      // coverage a
        GradientU, // a at u0 to b at u1
        GradientV, // a at v0 to b at v1
        Noise,     // a plus or minus b, smooth noise like a photograph
        Ring,      // a ring inscribed in the element, thickness b[0] percent of its radius
    };

    struct Element
    {
        double u0 = 0, v0 = 0, u1 = 1, v1 = 1;
        Kind kind = Kind::Flat;
        Inks a{};
        Inks b{};
        std::uint32_t seed = 0;
        // Overprint adds its inks over what is there (darkest wins); otherwise the element
        // knocks out every ink it does not carry.
        bool overprint = false;
    };

    KRN_PageArt(std::uint32_t width, std::uint32_t height, std::uint32_t blockPixels, int inkCount);

    void Paint(const Frame& frame, const Element& element);

    // Coverage of an ink at a device pixel.
    std::uint8_t Coverage(int ink, std::uint32_t x, std::uint32_t y) const
    {
        return m_Planes[static_cast<std::size_t>(ink)]
                       [std::size_t{y / m_Block} * m_BlocksAcross + x / m_Block];
    }
    // The blocks of one ink along device row y, one byte per block.
    const std::uint8_t* BlockRow(int ink, std::uint32_t y) const
    {
        return m_Planes[static_cast<std::size_t>(ink)].data() +
               std::size_t{y / m_Block} * m_BlocksAcross;
    }

    std::uint32_t Width() const { return m_Width; }
    std::uint32_t Height() const { return m_Height; }
    std::uint32_t BlockPixels() const { return m_Block; }
    int InkCount() const { return m_InkCount; }

    // Smooth noise in 0..1 at frame coordinates, repeatable for a seed.
    static double Noise(double u, double v, std::uint32_t seed);

private:
    std::uint32_t m_Width;
    std::uint32_t m_Height;
    std::uint32_t m_Block;
    std::uint32_t m_BlocksAcross;
    std::uint32_t m_BlocksDown;
    int m_InkCount;
    std::vector<std::vector<std::uint8_t>> m_Planes;
};
