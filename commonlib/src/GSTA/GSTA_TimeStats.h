#pragma once

// Wall-clock, user and kernel time of the process, in 100-nanosecond units, plus an object count
// that sampling leaves alone. Wall time is the system time as a file time (100 ns units since
// 1601-01-01 UTC); user and kernel time are the process's CPU times.
//
// The clock is injectable so that tests can pin the arithmetic of nested phases: every value made
// with a given sampler reads that sampler.

#include "GSTA/GSTA_AccumStats.h"

#include <cstdint>

struct GSTA_TimeSample
{
    int64_t wall = 0;
    int64_t user = 0;
    int64_t kernel = 0;
};

using GSTA_TimeSampler = std::function<GSTA_TimeSample()>;

class GSTA_TimeStats : public GSTA_AccumStats
{
public:
    // Reads the system clock and the process's resource usage.
    GSTA_TimeStats();
    explicit GSTA_TimeStats(GSTA_TimeSampler sampler);

    void Assign(const GSTA_AccumStats& other) override;
    void Subtract(const GSTA_AccumStats& other) override;
    void Add(const GSTA_AccumStats& other) override;
    bool NotLess(const GSTA_AccumStats& other) const override;
    void Sample() override;
    void Reset() override;
    // The phase table of the accumulator, each line ending "\r\n".
    void Report(std::ostream& out, const GSTA_Accum& accum) const override;

    int64_t WallTime() const { return m_wall; }
    int64_t UserTime() const { return m_user; }
    int64_t KernelTime() const { return m_kernel; }
    int32_t ObjectCount() const { return m_objects; }
    void SetObjectCount(int32_t count) { m_objects = count; }

    static double Seconds(int64_t units) { return static_cast<double>(units) * 1e-7; }

    // The real clock: system time as a file time and the process's CPU times.
    static GSTA_TimeSample SystemSample();
    // A factory for an accumulator; with no sampler the values read the real clock.
    static GSTA_StatsFactory Factory(GSTA_TimeSampler sampler = {});

private:
    static const GSTA_TimeStats& Cast(const GSTA_AccumStats& other);

    int64_t m_wall = 0;
    int64_t m_user = 0;
    int64_t m_kernel = 0;
    int32_t m_objects = 0;
    GSTA_TimeSampler m_sampler;
};
