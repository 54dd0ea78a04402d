#include "FILT/FILT_DownSampleFactors.h"

#include "FILT/FILT_DecimKernelBase.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Memory.h"
#include "GLIB/GLIB_OStringStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace
{

constexpr float kNegligible = 0.00001f;

bool Significant(float w)
{
    return w < -kNegligible || w > kNegligible;
}

[[noreturn]] void Fail(const char* what, uint32_t n, uint32_t m, int line)
{
    GLIB_OStringStream text;
    text << "Cannot compute down-sampling factors from " << n << " to " << m << ": " << what;
    throw GLIB_Exception(FILT_ERR_BAD_PARAMETERS, text.str(), __FILE__, line);
}

// A kept tap before it is placed. Source positions of taps far outside the image do not fit the
// table's 16 bits, so they are held wide until clamped.
struct ScratchEntry
{
    float weight;
    int32_t source;
};

template <class T>
T* AllocArray(uint64_t count)
{
    auto* items = static_cast<T*>(
        TrackedAlloc(static_cast<std::size_t>(count * sizeof(T)), __LINE__, __FILE__));
    if (!items)
        throw std::bad_alloc();
    std::memset(static_cast<void*>(items), 0, static_cast<std::size_t>(count * sizeof(T)));
    return items;
}

} // namespace

FILT_DownSampleFactors::~FILT_DownSampleFactors()
{
    TrackedFree(m_entries, __LINE__, __FILE__);
}

void FILT_DownSampleFactors::Compute(const FILT_DecimKernelBase& kernel, uint32_t n, uint32_t m)
{
    if (n == 0 || m == 0)
        Fail("sizes must not be 0", n, m, __LINE__);
    if (m > n)
        Fail("enlarging is not supported", n, m, __LINE__);
    if (n > kMaxSize)
        Fail("sizes above 32767 are not supported", n, m, __LINE__);

    const double scale = static_cast<double>(m) / static_cast<double>(n);
    const double step = 1.0 / scale;
    const uint32_t span = kernel.TapSpan();
    const double support = kernel.SupportWidth();
    if (span == 0)
        Fail("the kernel has no tap span", n, m, __LINE__);

    // Candidates of one output lie in an interval of support x step input pixels, one more at
    // each end from the rounding to pixel centres; the slots run from the first candidate of the
    // first output (at -offset) to the last candidate of the last. Both bounds are taken at
    // least as large as the classic span x step sizes, with room for the terminating zero entry.
    const uint64_t perOutput = static_cast<uint64_t>(support * step) + 3;
    const uint64_t scratchSize = std::max<uint64_t>(static_cast<uint64_t>(span * step), perOutput);
    const uint64_t reach = static_cast<uint64_t>(std::ceil(support * step * 0.5)) + 2;
    const uint64_t groups = static_cast<uint64_t>(n) + 2 * reach + 1;
    const uint64_t needed =
        std::max<uint64_t>(static_cast<uint64_t>(span * (span * step + n)), span * groups + 1);
    if (needed > 0x7fffffffULL / sizeof(Entry))
        Fail("the factor table would be too large", n, m, __LINE__);

    if (needed > m_capacity)
    {
        TrackedFree(m_entries, __LINE__, __FILE__);
        m_entries = nullptr;
        m_capacity = 0;
        m_entries = AllocArray<Entry>(needed);
        m_capacity = static_cast<uint32_t>(needed);
    }
    // Only the slots this computation can reach are cleared and walked: a table grown by one
    // large reduction stays cheap for the small ones after it.
    const auto limit = static_cast<uint32_t>(needed);
    std::memset(static_cast<void*>(m_entries), 0, limit * sizeof(Entry));
    m_used = 0;

    auto* scratch = AllocArray<ScratchEntry>(scratchSize);
    int64_t offset = 0;
    try
    {
        for (uint32_t u = 0; u < m; ++u)
        {
            const double center = (u + 0.5) * step;
            const double radius = support * step * 0.5;
            const double first = std::ceil(center - radius - 0.5) + 0.5;
            const double last = std::floor(center + radius + 0.5) - 0.5;
            if (u == 0 && first < 0)
                offset = static_cast<int64_t>(-first);

            uint32_t taps = 0;
            // Summed in double: a large reduction adds thousands of small weights, and a float
            // sum drifts far enough to move a constant image's level.
            double sum = 0.0;
            for (double x = first; x <= last; x += 1.0)
            {
                const float w =
                    static_cast<float>(kernel.Weight(static_cast<float>((x - center) * scale)));
                if (!Significant(w))
                    continue;
                if (taps >= scratchSize)
                    Fail("too many taps for one output", n, m, __LINE__);
                scratch[taps].weight = w;
                scratch[taps].source = static_cast<int32_t>(static_cast<float>(x));
                sum += w;
                ++taps;
            }
            if (taps == 0 || !Significant(static_cast<float>(sum)))
                Fail("an output sample has no weight", n, m, __LINE__);

            // A tap kept here stays in the table whatever its normalised weight: in a large
            // reduction thousands of taps share the sum and many fall below the threshold once
            // normalised, and dropping them would shift every output's level by percents. A
            // placed entry is therefore told from a free slot by a weight that is not exactly 0.
            const float norm = static_cast<float>(1.0 / sum);
            for (uint32_t k = 0; k < taps; ++k)
            {
                const float w = scratch[k].weight * norm;
                const int64_t group = static_cast<int64_t>(scratch[k].source) + offset;
                if (group < 0)
                    Fail("a tap lies before the table", n, m, __LINE__);
                uint64_t slot = static_cast<uint64_t>(group) * span;
                uint32_t tries = 0;
                while (tries < span && slot < limit && m_entries[slot].weight != 0.0f)
                {
                    ++slot;
                    ++tries;
                }
                // A dropped tap would leave the output's weights short of 1; refuse instead.
                if (tries == span || slot + 1 >= limit)
                    Fail("no free slot for a tap", n, m, __LINE__);
                const int32_t source =
                    std::clamp<int32_t>(scratch[k].source, 0, static_cast<int32_t>(n) - 1);
                m_entries[slot].weight = w;
                m_entries[slot].source = static_cast<int16_t>(source);
                m_entries[slot].output = static_cast<int16_t>(u);
                ++m_used;
            }
        }
    }
    catch (...)
    {
        TrackedFree(scratch, __LINE__, __FILE__);
        m_used = 0;
        std::memset(static_cast<void*>(m_entries), 0, limit * sizeof(Entry));
        throw;
    }
    TrackedFree(scratch, __LINE__, __FILE__);

    uint32_t kept = 0;
    for (uint32_t i = 0; i < limit; ++i)
    {
        if (m_entries[i].weight == 0.0f)
            continue;
        if (i != kept)
        {
            m_entries[kept] = m_entries[i];
            m_entries[i] = Entry{0.0f, 0, 0};
        }
        ++kept;
    }
    m_used = kept;
    m_entries[kept] = Entry{0.0f, 0, 0};
}
