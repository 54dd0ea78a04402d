#include "IMPN/IMPN_DifferenceKernel.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace
{
std::uint64_t Load(const std::uint8_t* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// The bits of the first `pixels` pixels of a word as it lies in memory (0 < pixels <= 64).
std::uint64_t LeadingMask(std::uint32_t pixels)
{
    std::uint8_t bytes[8] = {};
    for (std::uint32_t b = 0; b < 8; ++b)
    {
        const std::uint32_t first = b * 8;
        if (pixels >= first + 8)
            bytes[b] = 0xFF;
        else if (pixels > first)
            bytes[b] = static_cast<std::uint8_t>(0xFF << (8 - (pixels - first)));
    }
    return Load(bytes);
}

// The counting loop. Where the processor has a population-count instruction a second copy of
// it uses that, chosen once at load time; not under a sanitizer, whose instrumented resolver would
// run before its runtime is up and fail the program's loading.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) &&                             \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("popcnt", "default")))
#endif
void CompareRows(const std::uint8_t* older, const std::uint8_t* newer, std::size_t rowBytes,
                 std::uint32_t words, std::uint64_t lastMask, std::uint32_t height,
                 std::uint64_t& added, std::uint64_t& removed, std::uint8_t* changed,
                 std::size_t changedStride)
{
    constexpr std::uint32_t cell = IMPN_DifferenceKernel::kCellSize;
    for (std::uint32_t y = 0; y < height; ++y)
    {
        const std::size_t row = std::size_t(y) * rowBytes;
        std::uint8_t* cells = changed + std::size_t(y / cell) * changedStride;
        for (std::uint32_t w = 0; w < words; ++w)
        {
            const std::uint64_t mask = w + 1 == words ? lastMask : ~std::uint64_t(0);
            const std::uint64_t o = older ? Load(older + row + 8 * std::size_t(w)) & mask : 0;
            const std::uint64_t n = newer ? Load(newer + row + 8 * std::size_t(w)) & mask : 0;
            if (o == n)
                continue;
            added += std::uint64_t(std::popcount(n & ~o));
            removed += std::uint64_t(std::popcount(o & ~n));
            cells[w] = 1;
        }
    }
}
} // namespace

void IMPN_DifferenceKernel::Compare(const std::uint8_t* older, const std::uint8_t* newer,
                                    std::size_t rowBytes, std::uint32_t width, std::uint32_t height,
                                    Counts& counts, std::uint8_t* changed,
                                    std::size_t changedStride)
{
    if (width == 0 || height == 0)
        return;
    const std::uint32_t words = (width + kCellSize - 1) / kCellSize;
    std::uint64_t added = 0, removed = 0;
    CompareRows(older, newer, rowBytes, words, LeadingMask(width - (words - 1) * kCellSize), height,
                added, removed, changed, changedStride);
    counts.added += added;
    counts.removed += removed;
}

bool IMPN_DifferenceKernel::Combine(Part part, const std::uint8_t* older, const std::uint8_t* newer,
                                    std::size_t bytes, std::uint8_t* out)
{
    static const std::uint8_t blank[8] = {};
    const std::uint8_t* o = older ? older : blank;
    const std::uint8_t* n = newer ? newer : blank;
    const std::size_t oStep = older ? 1 : 0, nStep = newer ? 1 : 0;
    std::uint8_t any = 0;
    const auto run = [&](auto op)
    {
        for (std::size_t i = 0; i < bytes; ++i)
        {
            const std::uint8_t v = op(o[i * oStep], n[i * nStep]);
            out[i] = v;
            any |= v;
        }
    };
    switch (part)
    {
    case Part::Both:
        run([](std::uint8_t a, std::uint8_t b) { return std::uint8_t(a & b); });
        break;
    case Part::OnlyNewer:
        run([](std::uint8_t a, std::uint8_t b) { return std::uint8_t(b & ~a); });
        break;
    case Part::OnlyOlder:
        run([](std::uint8_t a, std::uint8_t b) { return std::uint8_t(a & ~b); });
        break;
    }
    return any != 0;
}
