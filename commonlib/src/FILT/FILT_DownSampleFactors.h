#pragma once

// The sparse weight table of one axis of a reduction from n input samples to m output samples:
// one entry per (input sample, output sample) pair whose weight is not negligible, ordered by
// input sample, then by output sample, so that a single walk over the input visits each input
// sample's entries together. Each output sample's weights add up to 1. Taps that fall outside
// the input read the edge sample, keeping the weights of their true positions.

#include <cstdint>

class FILT_DecimKernelBase;

class FILT_DownSampleFactors
{
public:
    struct Entry
    {
        float weight;
        int16_t source;
        int16_t output;
    };
    static_assert(sizeof(Entry) == 8);

    // Inputs and outputs are indexed with 16 bits.
    static constexpr uint32_t kMaxSize = 32767;

    FILT_DownSampleFactors() = default;
    ~FILT_DownSampleFactors();
    FILT_DownSampleFactors(const FILT_DownSampleFactors&) = delete;
    FILT_DownSampleFactors& operator=(const FILT_DownSampleFactors&) = delete;

    // Fills the table for n inputs and m outputs, 1 <= m <= n <= kMaxSize. Throws GLIB_Exception
    // (FILT_ERR_BAD_PARAMETERS) for other sizes, including any enlargement. The entry array grows
    // when too small and is kept otherwise.
    void Compute(const FILT_DecimKernelBase& kernel, uint32_t inputSize, uint32_t outputSize);

    uint32_t Used() const { return m_used; }
    uint32_t Capacity() const { return m_capacity; }
    // The used entries, followed by one zero entry.
    const Entry* Entries() const { return m_entries; }
    const Entry& operator[](uint32_t index) const { return m_entries[index]; }

private:
    Entry* m_entries = nullptr;
    uint32_t m_used = 0;
    uint32_t m_capacity = 0;
};

// Error codes of the raster filters.
inline constexpr int FILT_ERR_INSUFFICIENT_DATA = 1130022;
// Sizes the down-sampler cannot work with: zero, an enlargement, beyond 16-bit indices, or
// buffers beyond what a preview thumbnail can need.
inline constexpr int FILT_ERR_BAD_PARAMETERS = 1130023;
