#include "IMPN/IMPN_InkMixing.h"

#include <algorithm>

namespace
{
struct ProductTable
{
    std::uint8_t value[256][101];
    ProductTable()
    {
        for (unsigned v = 0; v < 256; ++v)
            for (unsigned p = 0; p <= 100; ++p)
                value[v][p] = static_cast<std::uint8_t>(v * p / 100);
    }
};

const ProductTable& Table()
{
    static const ProductTable table;
    return table;
}
} // namespace

std::uint8_t IMPN_InkMixing::Product(std::uint8_t v, unsigned percent)
{
    return Table().value[v][std::min(percent, 100u)];
}

void IMPN_InkMixing::InkAtPercentage(const std::uint8_t colour[3], const std::uint8_t background[3],
                                     unsigned percent, std::uint8_t ink[3])
{
    const ProductTable& t = Table();
    const unsigned p = std::min(percent, 100u);
    for (int c = 0; c < 3; ++c)
        ink[c] = static_cast<std::uint8_t>(t.value[colour[c]][p] + t.value[background[c]][100 - p]);
}

void IMPN_InkMixing::BuildCoverageInks(const std::uint8_t colour[3],
                                       const std::uint8_t background[3], unsigned opacity,
                                       CoverageInks& inks)
{
    const unsigned op = std::min(opacity, 100u);
    for (unsigned c = 0; c < 256; ++c)
        InkAtPercentage(colour, background, op * c / 255, inks[c].data());
}
