#include "GSTA/GSTA_TimeStats.h"

#include "GLIB/GLIB_Exception.h"
#include "GSTA/GSTA_Accum.h"

#include <chrono>
#include <iomanip>
#include <sys/resource.h>

namespace
{

// 100 ns units between 1601-01-01 and 1970-01-01, the origin of file times.
constexpr int64_t kFileTimeOfUnixEpoch = 116444736000000000LL;

int64_t TimevalUnits(const timeval& tv)
{
    return static_cast<int64_t>(tv.tv_sec) * 10000000LL + static_cast<int64_t>(tv.tv_usec) * 10;
}

double Percent(int64_t part, int64_t sum)
{
    return sum == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(sum);
}

} // namespace

GSTA_TimeStats::GSTA_TimeStats() : m_sampler(&GSTA_TimeStats::SystemSample) {}

GSTA_TimeStats::GSTA_TimeStats(GSTA_TimeSampler sampler)
    : m_sampler(sampler ? std::move(sampler) : GSTA_TimeSampler(&GSTA_TimeStats::SystemSample))
{
}

GSTA_TimeSample GSTA_TimeStats::SystemSample()
{
    GSTA_TimeSample sample;
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    sample.wall = kFileTimeOfUnixEpoch + static_cast<int64_t>(sinceEpoch.count()) * 10;
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
    {
        sample.user = TimevalUnits(usage.ru_utime);
        sample.kernel = TimevalUnits(usage.ru_stime);
    }
    return sample;
}

GSTA_StatsFactory GSTA_TimeStats::Factory(GSTA_TimeSampler sampler)
{
    return [sampler]() -> std::unique_ptr<GSTA_AccumStats>
    { return std::make_unique<GSTA_TimeStats>(sampler); };
}

const GSTA_TimeStats& GSTA_TimeStats::Cast(const GSTA_AccumStats& other)
{
    const auto* stats = dynamic_cast<const GSTA_TimeStats*>(&other);
    if (!stats)
        throw GLIB_DerivedException<Tag_GSTA_Exception>(GSTA_ERR_DYNAMIC_CAST,
                                                        "Dynamic cast failed", __FILE__, __LINE__);
    return *stats;
}

void GSTA_TimeStats::Assign(const GSTA_AccumStats& other)
{
    const GSTA_TimeStats& o = Cast(other);
    m_wall = o.m_wall;
    m_user = o.m_user;
    m_kernel = o.m_kernel;
    m_objects = o.m_objects;
}

void GSTA_TimeStats::Subtract(const GSTA_AccumStats& other)
{
    const GSTA_TimeStats& o = Cast(other);
    m_wall -= o.m_wall;
    m_user -= o.m_user;
    m_kernel -= o.m_kernel;
    m_objects -= o.m_objects;
}

void GSTA_TimeStats::Add(const GSTA_AccumStats& other)
{
    const GSTA_TimeStats& o = Cast(other);
    m_wall += o.m_wall;
    m_user += o.m_user;
    m_kernel += o.m_kernel;
    m_objects += o.m_objects;
}

bool GSTA_TimeStats::NotLess(const GSTA_AccumStats& other) const
{
    const GSTA_TimeStats& o = Cast(other);
    return m_wall >= o.m_wall && m_user >= o.m_user && m_kernel >= o.m_kernel &&
           m_objects >= o.m_objects;
}

void GSTA_TimeStats::Sample()
{
    const GSTA_TimeSample sample = m_sampler();
    m_wall = sample.wall;
    m_user = sample.user;
    m_kernel = sample.kernel;
}

void GSTA_TimeStats::Reset()
{
    m_wall = 0;
    m_user = 0;
    m_kernel = 0;
    m_objects = 0;
}

void GSTA_TimeStats::Report(std::ostream& out, const GSTA_Accum& accum) const
{
    const char* eol = "\r\n";
    int64_t sumWall = 0;
    int64_t sumKernel = 0;
    int64_t sumUser = 0;
    int64_t sumCount = 0;
    for (int id = 0; id < accum.PhaseCount(); ++id)
    {
        const GSTA_TimeStats& total = Cast(accum.Total(id));
        sumWall += total.m_wall;
        sumKernel += total.m_kernel;
        sumUser += total.m_user;
        sumCount += accum.Count(id);
    }

    const auto flags = out.flags();
    const auto precision = out.precision();
    out << "%%%%%%%%%%%%%%%%%%%%%%%%%"
        << "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%" << eol;
    out << "%" << eol;
    out << "% Object           # Objs"
        << " WallTime    %  KrnlTime    %  UserTime    % " << eol;
    out << "% ---------------- ------"
        << " -------- ----- -------- ----- -------- -----" << eol;
    out << std::fixed << std::setprecision(1);
    for (int id = 0; id < accum.PhaseCount(); ++id)
    {
        const GSTA_TimeStats& total = Cast(accum.Total(id));
        out << "% " << std::left << std::setw(16) << accum.Name(id) << std::right << std::setw(7)
            << accum.Count(id);
        const int64_t parts[3] = {total.m_wall, total.m_kernel, total.m_user};
        const int64_t sums[3] = {sumWall, sumKernel, sumUser};
        for (int k = 0; k < 3; ++k)
        {
            // The share sits under the 5-dash column of the header, after one blank.
            out << std::setw(9) << Seconds(parts[k]) << std::setw(6) << Percent(parts[k], sums[k]);
        }
        out << eol;
    }
    out << "%                  ------"
        << " --------      --------      --------     " << eol;
    out << "%            Total" << std::setw(7) << sumCount << std::setw(9) << Seconds(sumWall)
        << "     " << std::setw(9) << Seconds(sumKernel) << "     " << std::setw(9)
        << Seconds(sumUser) << eol;
    out.flags(flags);
    out.precision(precision);
}
