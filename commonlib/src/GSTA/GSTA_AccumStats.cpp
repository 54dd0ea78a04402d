#include "GSTA/GSTA_AccumStats.h"

GSTA_AccumStats::~GSTA_AccumStats() = default;

void GSTA_AccumStats::Report(std::ostream&, const GSTA_Accum&) const {}
