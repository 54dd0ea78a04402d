// Resident memory of a surface renderer panned over a whole large surface at 1:1 with its tile
// memory budget: a 1920 x 1080 window moves half its width at a time along bands of its height,
// left to right and back, asking for every tile it shows as the sheet view does (visible tiles
// marked first). Eight inks of a flat screen at about 50 % make every 1:1 tile a mixed one, the
// largest kind. The separations are made in memory, one tile pattern per ink, so that the figure
// is the renderer's own: what libtiff holds for the open files comes on top in the viewer.
//
//   KRN_BENCH_PAN_SIZE=WIDTHxHEIGHT   surface in pixels (96000x72000, a 2400-dpi press sheet)
//   KRN_BENCH_PAN_MEMORY=BYTES        the budget (the renderer's default, 256 MiB)
//
// Reported: peak resident memory of the process (VmHWM) and before the pan, the bytes the budget
// counts at the end, the tiles asked for and the tiles made (ink tiles read / 8).

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_RenderInk.h"
#include "IMPN/IMPN_SurfaceRenderer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr std::uint32_t kTile = 512;
constexpr unsigned kInks = 8;

// Every tile of ink k holds the same 45-degree line screen of 50 % at its own phase.
class FlatScreenInk : public IMPN_RenderInk
{
public:
    FlatScreenInk(std::uint32_t width, std::uint32_t length, unsigned ink, std::size_t& reads)
        : m_Width(width), m_Length(length), m_Reads(reads), m_Bits(kTile / 8 * kTile, 0)
    {
        for (std::uint32_t y = 0; y < kTile; ++y)
            for (std::uint32_t x = 0; x < kTile; ++x)
                if ((x + y + 3 * ink) % 12 < 6)
                    m_Bits[y * (kTile / 8) + x / 8] |= std::uint8_t(0x80u >> (x % 8));
        m_Colour[ink % 3] = std::uint8_t(40 + 25 * ink);
    }

    bool GetImageInfo(std::uint32_t& w, std::uint32_t& l, std::uint32_t& tw,
                      std::uint32_t& tl) override
    {
        w = m_Width;
        l = m_Length;
        tw = tl = kTile;
        return true;
    }
    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t size, std::uint32_t x,
                          std::uint32_t y) override
    {
        if (x >= m_Width || y >= m_Length || size < m_Bits.size())
            return -1;
        ++m_Reads;
        std::memcpy(buffer, m_Bits.data(), m_Bits.size());
        return std::int64_t(m_Bits.size());
    }
    int GetTileClass(std::uint32_t x, std::uint32_t y) override
    {
        return x < m_Width && y < m_Length ? 4 : 128;
    }
    bool IsVisible() const override { return true; }
    void GetInk(std::uint8_t c[3], std::uint8_t bg[3], unsigned& op) const override
    {
        std::memcpy(c, m_Colour, 3);
        std::memset(bg, 255, 3);
        op = 100;
    }

private:
    std::uint32_t m_Width, m_Length;
    std::size_t& m_Reads;
    std::vector<std::uint8_t> m_Bits;
    std::uint8_t m_Colour[3] = {255, 255, 255};
};

// Kibibytes of a line of /proc/self/status ("VmHWM:", "VmRSS:"), 0 when unknown.
double StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::strtod(line.c_str() + std::strlen(field), nullptr);
    return 0;
}

void PanAtOneToOne(benchmark::State& state)
{
    std::uint32_t width = 96000, height = 72000;
    if (const char* size = std::getenv("KRN_BENCH_PAN_SIZE"))
        if (std::sscanf(size, "%ux%u", &width, &height) != 2 || width == 0 || height == 0)
        {
            state.SkipWithError("KRN_BENCH_PAN_SIZE is WIDTHxHEIGHT");
            return;
        }
    std::size_t budget = IMPN_SurfaceRenderer::kDefaultMemoryBudget;
    if (const char* memory = std::getenv("KRN_BENCH_PAN_MEMORY"))
        budget = std::size_t(std::strtoull(memory, nullptr, 10));

    const std::int32_t screenW = 1920, screenH = 1080;
    std::size_t reads = 0, asked = 0;
    const double rssBefore = StatusKiB("VmRSS:");
    std::size_t budgeted = 0;
    for (auto _ : state)
    {
        const std::uint8_t paper[3] = {255, 255, 255};
        std::vector<std::unique_ptr<IMPN_RenderInk>> inks;
        for (unsigned k = 0; k < kInks; ++k)
            inks.push_back(std::make_unique<FlatScreenInk>(width, height, k, reads));
        IMPN_SurfaceRenderer renderer(std::move(inks), paper);
        renderer.SetMemoryBudget(budget);
        const IMPN_RenderLevel& unit = renderer.GetLevel(3);
        const std::uint32_t stamp = IMPN_ChangeCounter::Next();
        bool leftward = false;
        for (std::int64_t top = 0; top < unit.height; top += screenH, leftward = !leftward)
            for (std::int64_t step = 0; step < unit.width; step += screenW / 2)
            {
                const std::int64_t left =
                    leftward ? std::max<std::int64_t>(unit.width - screenW - step, 0) : step;
                renderer.SetVisibleTiles(3, std::int32_t(left), std::int32_t(top), screenW,
                                         screenH);
                for (std::int64_t y = top / unit.tileHeight * unit.tileHeight;
                     y < std::min<std::int64_t>(top + screenH, unit.height); y += unit.tileHeight)
                    for (std::int64_t x = left / unit.tileWidth * unit.tileWidth;
                         x < std::min<std::int64_t>(left + screenW, unit.width);
                         x += unit.tileWidth)
                    {
                        benchmark::DoNotOptimize(
                            renderer.GetTile(std::int32_t(y), std::int32_t(x), 3, stamp));
                        ++asked;
                    }
            }
        budgeted = renderer.GetBudgetedBytes();
    }
    state.counters["peak_rss_MiB"] = StatusKiB("VmHWM:") / 1024.0;
    state.counters["rss_before_MiB"] = rssBefore / 1024.0;
    state.counters["budget_MiB"] = double(budget) / (1024.0 * 1024.0);
    state.counters["budgeted_end_MiB"] = double(budgeted) / (1024.0 * 1024.0);
    state.counters["tiles_asked"] = double(asked);
    state.counters["tiles_made"] = double(reads) / kInks;
}
BENCHMARK(PanAtOneToOne)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
