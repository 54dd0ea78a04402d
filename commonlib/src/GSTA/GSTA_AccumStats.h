#pragma once

// An accumulating statistics value: something that can be sampled, subtracted and added, so that
// an accumulator can charge the difference between two samples to a phase. Concrete values
// (GSTA_TimeStats) decide what is measured and how the table of results is written.

#include <functional>
#include <memory>
#include <ostream>

class GSTA_Accum;

class GSTA_AccumStats
{
public:
    virtual ~GSTA_AccumStats();

    // Operations with another value throw GLIB_DerivedException<Tag_GSTA_Exception> (1205001)
    // when the other value is not of the same concrete kind.
    virtual void Assign(const GSTA_AccumStats& other) = 0;
    virtual void Subtract(const GSTA_AccumStats& other) = 0;
    virtual void Add(const GSTA_AccumStats& other) = 0;
    // True when every component is at least the other's.
    virtual bool NotLess(const GSTA_AccumStats& other) const = 0;
    // Takes the current values.
    virtual void Sample() = 0;
    virtual void Reset() = 0;
    // Writes the accumulator's table; the base writes nothing.
    virtual void Report(std::ostream& out, const GSTA_Accum& accum) const;
};

// Makes the values an accumulator keeps; every value of one accumulator comes from one factory.
using GSTA_StatsFactory = std::function<std::unique_ptr<GSTA_AccumStats>()>;

// The error code of a statistics operation given a value of another kind.
inline constexpr int GSTA_ERR_DYNAMIC_CAST = 1205001;
