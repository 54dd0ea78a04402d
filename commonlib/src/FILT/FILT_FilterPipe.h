#pragma once

// A chain of filters that is itself a filter. Between two filters sits an intermediate buffer
// owned by the pipe; the first filter reads the caller's input and the last writes the caller's
// output. A cursor remembers which filter is to run next, across calls, so that a pipe can be fed
// and drained in pieces of any size.

#include "FILT/FILT_Filter.h"

#include <cstdint>
#include <memory>
#include <vector>

class FILT_FilterPipe : public FILT_Filter
{
public:
    static constexpr uint32_t kIntermediateSize = 0x4000;

    FILT_FilterPipe() = default;
    ~FILT_FilterPipe() override;
    FILT_FilterPipe(const FILT_FilterPipe&) = delete;
    FILT_FilterPipe& operator=(const FILT_FilterPipe&) = delete;

    const char* Name() const override { return "FILT_FilterPipe"; }

    // Add a filter after the last, or before the first, with the intermediate buffer that joins
    // it to its neighbour. The pipe owns the filter. False (and the pipe unchanged, the filter
    // destroyed) when the intermediate buffer cannot be made.
    bool AppendFilter(std::unique_ptr<FILT_Filter> filter);
    bool PrependFilter(std::unique_ptr<FILT_Filter> filter);

    // Runs filters until the first needs more input from the caller (cursor below 0) or the last
    // has run with data, end of data or a full output. An empty pipe copies input to output.
    void ProcessBytes(FILT_FilterBuffer& in, FILT_FilterBuffer& out) override;

    // Log every step of ProcessBytes at INFO.
    void SetTrace(bool on) { m_trace = on ? 1 : 0; }
    // Log a notice each time a filter hands data downstream.
    void SetTraceOutput(bool on) { m_traceOutput = on ? 1 : 0; }

    int FilterCount() const { return static_cast<int>(m_filters.size()); }
    FILT_Filter* FilterAt(int index) const
    {
        return m_filters.at(static_cast<std::size_t>(index)).get();
    }
    // The intermediate buffer between filters index - 1 and index (1 <= index < FilterCount()).
    FILT_FilterBuffer* IntermediateAt(int index) const;
    int Cursor() const { return m_cursor; }

private:
    bool InsertFilter(std::size_t position, std::unique_ptr<FILT_Filter> filter);

    uint8_t m_trace = 0;
    uint8_t m_traceOutput = 0;
    // buffers[1 .. N-1] of the stream; buffers[0] and buffers[N] are the caller's during a call.
    std::vector<std::unique_ptr<FILT_FilterBuffer>> m_intermediates;
    uint32_t m_intermediateSize = kIntermediateSize;
    std::vector<std::unique_ptr<FILT_Filter>> m_filters;
    int32_t m_cursor = 0;
};
