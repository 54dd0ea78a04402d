#pragma once

// Times one phase for the lifetime of the object: pushes on construction, pops on destruction,
// also when an exception leaves the scope. A null accumulator times nothing, so that callers can
// keep the guard in place whether their statistics are on or off.

#include "GSTA/GSTA_Accum.h"

class GSTA_AccumScope
{
public:
    GSTA_AccumScope(GSTA_Accum* accum, int id) : m_accum(accum), m_id(id)
    {
        if (m_accum)
            m_accum->Push(m_id);
    }
    GSTA_AccumScope(GSTA_Accum& accum, int id) : GSTA_AccumScope(&accum, id) {}
    ~GSTA_AccumScope()
    {
        if (m_accum)
            m_accum->Pop(m_id);
    }
    GSTA_AccumScope(const GSTA_AccumScope&) = delete;
    GSTA_AccumScope& operator=(const GSTA_AccumScope&) = delete;

private:
    GSTA_Accum* m_accum;
    int m_id;
};
