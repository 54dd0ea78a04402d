#include "IMPN/IMPN_CoverageKernel.h"

#include <bit>
#include <cstring>

namespace
{
// Weights by set-bit count, per row of the cell.
constexpr std::uint8_t kWeight2Odd[2][3] = {{0, 64, 128}, {0, 63, 127}};  // pixels 1 and 3
constexpr std::uint8_t kWeight2Even[2][3] = {{0, 63, 127}, {0, 64, 128}}; // pixels 0 and 2
constexpr std::uint8_t kWeight4[4][5] = {
    {0, 16, 32, 47, 64}, {0, 16, 32, 48, 63}, {0, 15, 32, 48, 64}, {0, 16, 31, 48, 64}};

// Lane-packed lookups: every output value fits a byte (the weights of a full cell sum to 255),
// so adding packed words never carries between lanes.
struct Tables
{
    std::uint64_t expand1[256];    // 8 lanes of 0 or 255, in memory order
    std::uint32_t expand2[2][256]; // 4 lanes, one table per row of the cell
    std::uint16_t expand4[4][256]; // 2 lanes, one table per row of the cell

    Tables()
    {
        for (unsigned b = 0; b < 256; ++b)
        {
            std::uint8_t lanes8[8];
            for (unsigned k = 0; k < 8; ++k)
                lanes8[k] = (b & (0x80u >> k)) ? 255 : 0;
            std::memcpy(&expand1[b], lanes8, 8);
            for (unsigned row = 0; row < 2; ++row)
            {
                std::uint8_t lanes4[4];
                for (unsigned k = 0; k < 4; ++k)
                    lanes4[k] = static_cast<std::uint8_t>(IMPN_CoverageKernel::RowWeight(
                        2, row, k, std::popcount((b >> (6 - 2 * k)) & 3u)));
                std::memcpy(&expand2[row][b], lanes4, 4);
            }
            for (unsigned row = 0; row < 4; ++row)
            {
                std::uint8_t lanes2[2] = {static_cast<std::uint8_t>(IMPN_CoverageKernel::RowWeight(
                                              4, row, 0, std::popcount(b >> 4))),
                                          static_cast<std::uint8_t>(IMPN_CoverageKernel::RowWeight(
                                              4, row, 1, std::popcount(b & 15u)))};
                std::memcpy(&expand4[row][b], lanes2, 2);
            }
        }
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

// Set bits of row bits [a, b), most significant bit of each byte first.
inline std::uint64_t CountBits(const std::uint8_t* row, std::uint32_t a, std::uint32_t b)
{
    if (a >= b)
        return 0;
    const std::uint32_t first = a >> 3, last = (b - 1) >> 3;
    const unsigned headMask = 0xFFu >> (a & 7u);
    const unsigned tailMask = (0xFFu << (7u - ((b - 1) & 7u))) & 0xFFu;
    if (first == last)
        return std::popcount(static_cast<unsigned>(row[first] & headMask & tailMask));
    std::uint64_t n = std::popcount(static_cast<unsigned>(row[first] & headMask));
    std::uint32_t i = first + 1;
    for (; i + 8 <= last; i += 8)
    {
        std::uint64_t word;
        std::memcpy(&word, row + i, 8);
        n += std::popcount(word);
    }
    for (; i < last; ++i)
        n += std::popcount(static_cast<unsigned>(row[i]));
    return n + std::popcount(static_cast<unsigned>(row[last] & tailMask));
}

// Counting is most of the work of a whole-surface profile; where the processor has a
// population-count instruction a second copy of this loop uses it, chosen once at load time.
// Not under a sanitizer: its instrumented resolver would run before the sanitizer's runtime is
// up, and the program would fail to load.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) &&                             \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("popcnt", "default")))
#endif
void CountRows(const std::uint8_t* bits, std::size_t rowBytes, std::uint32_t from,
               std::uint32_t to, const IMPN_CoverageKernel::Span* spans, std::size_t spanCount,
               std::uint64_t* cells)
{
    for (std::uint32_t y = from; y < to; ++y)
    {
        const std::uint8_t* row = bits + std::size_t(y) * rowBytes;
        for (std::size_t i = 0; i < spanCount; ++i)
            cells[spans[i].cell] += CountBits(row, spans[i].from, spans[i].to);
    }
}
} // namespace

void IMPN_CoverageKernel::CountSpans(const std::uint8_t* bits, std::size_t rowBytes,
                                     std::uint32_t rowFrom, std::uint32_t rowTo, const Span* spans,
                                     std::size_t spanCount, std::uint64_t* cells)
{
    CountRows(bits, rowBytes, rowFrom, rowTo, spans, spanCount, cells);
}

bool IMPN_CoverageKernel::IsSupported(unsigned reduction)
{
    return reduction == 1 || reduction == 2 || reduction == 4 || reduction == 8;
}

unsigned IMPN_CoverageKernel::RowWeight(unsigned reduction, unsigned rowInCell,
                                        unsigned pixelInByte, unsigned setBits)
{
    switch (reduction)
    {
    case 1:
        return setBits ? 255u : 0u;
    case 2:
        return (pixelInByte & 1u) ? kWeight2Odd[rowInCell & 1u][setBits > 2 ? 2 : setBits]
                                  : kWeight2Even[rowInCell & 1u][setBits > 2 ? 2 : setBits];
    case 4:
        return kWeight4[rowInCell & 3u][setBits > 4 ? 4 : setBits];
    default:
        return 0;
    }
}

void IMPN_CoverageKernel::Reduce(unsigned reduction, const std::uint8_t* bits, std::size_t rowBytes,
                                 std::uint32_t x0, std::uint32_t y0, std::uint32_t cellsAcross,
                                 std::uint32_t cellsDown, std::uint8_t* out, std::size_t outStride)
{
    const Tables& t = GetTables();
    const std::uint8_t* base = bits + x0 / 8;
    switch (reduction)
    {
    case 1:
        for (std::uint32_t y = 0; y < cellsDown; ++y)
        {
            const std::uint8_t* src = base + (std::size_t(y0) + y) * rowBytes;
            std::uint8_t* dst = out + y * outStride;
            std::uint32_t x = 0;
            for (; x + 8 <= cellsAcross; x += 8)
                std::memcpy(dst + x, &t.expand1[src[x / 8]], 8);
            if (x < cellsAcross)
            {
                std::uint8_t lanes[8];
                std::memcpy(lanes, &t.expand1[src[x / 8]], 8);
                std::memcpy(dst + x, lanes, cellsAcross - x);
            }
        }
        break;
    case 2:
        for (std::uint32_t y = 0; y < cellsDown; ++y)
        {
            const std::uint8_t* r0 = base + (std::size_t(y0) + 2 * y) * rowBytes;
            const std::uint8_t* r1 = r0 + rowBytes;
            std::uint8_t* dst = out + y * outStride;
            std::uint32_t x = 0;
            for (; x + 4 <= cellsAcross; x += 4)
            {
                const std::uint32_t v = t.expand2[0][r0[x / 4]] + t.expand2[1][r1[x / 4]];
                std::memcpy(dst + x, &v, 4);
            }
            if (x < cellsAcross)
            {
                const std::uint32_t v = t.expand2[0][r0[x / 4]] + t.expand2[1][r1[x / 4]];
                std::uint8_t lanes[4];
                std::memcpy(lanes, &v, 4);
                std::memcpy(dst + x, lanes, cellsAcross - x);
            }
        }
        break;
    case 4:
        for (std::uint32_t y = 0; y < cellsDown; ++y)
        {
            const std::uint8_t* r0 = base + (std::size_t(y0) + 4 * y) * rowBytes;
            const std::uint8_t* r1 = r0 + rowBytes;
            const std::uint8_t* r2 = r1 + rowBytes;
            const std::uint8_t* r3 = r2 + rowBytes;
            std::uint8_t* dst = out + y * outStride;
            std::uint32_t x = 0;
            for (; x + 2 <= cellsAcross; x += 2)
            {
                const std::size_t i = x / 2;
                const std::uint16_t v =
                    static_cast<std::uint16_t>(t.expand4[0][r0[i]] + t.expand4[1][r1[i]] +
                                               t.expand4[2][r2[i]] + t.expand4[3][r3[i]]);
                std::memcpy(dst + x, &v, 2);
            }
            if (x < cellsAcross)
            {
                const std::size_t i = x / 2;
                dst[x] =
                    static_cast<std::uint8_t>(kWeight4[0][std::popcount(unsigned(r0[i] >> 4))] +
                                              kWeight4[1][std::popcount(unsigned(r1[i] >> 4))] +
                                              kWeight4[2][std::popcount(unsigned(r2[i] >> 4))] +
                                              kWeight4[3][std::popcount(unsigned(r3[i] >> 4))]);
            }
        }
        break;
    case 8:
    {
        // Set bits are counted eight bytes at a time in byte lanes (at most 64 per lane).
        std::uint8_t scaled[65];
        for (unsigned n = 0; n <= 64; ++n)
            scaled[n] = static_cast<std::uint8_t>((n * 255u) >> 6);
        for (std::uint32_t y = 0; y < cellsDown; ++y)
        {
            const std::uint8_t* row = base + (std::size_t(y0) + 8 * y) * rowBytes;
            std::uint8_t* dst = out + y * outStride;
            std::uint32_t x = 0;
            for (; x + 8 <= cellsAcross; x += 8)
            {
                std::uint64_t sum = 0;
                const std::uint8_t* p = row + x;
                for (int k = 0; k < 8; ++k, p += rowBytes)
                {
                    std::uint64_t v;
                    std::memcpy(&v, p, 8);
                    v = v - ((v >> 1) & 0x5555555555555555ull);
                    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
                    sum += (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
                }
                std::uint8_t lanes[8];
                std::memcpy(lanes, &sum, 8);
                for (int k = 0; k < 8; ++k)
                    dst[x + k] = scaled[lanes[k]];
            }
            for (; x < cellsAcross; ++x)
            {
                unsigned n = 0;
                const std::uint8_t* p = row + x;
                for (int k = 0; k < 8; ++k, p += rowBytes)
                    n += std::popcount(unsigned(*p));
                dst[x] = scaled[n];
            }
        }
        break;
    }
    default:
        break;
    }
}
