#include "FILT/FILT_BicubicKernel.h"

#include <cmath>

// The nudge of 1e-6 decides the pieces, not the value: a distance a hair below 1 or 2 is taken
// as the outer piece or as outside, so the exact zeros of the kernel at 1 and 2 stay zeros.
long double FILT_BicubicKernel::Weight(float x) const
{
    const double d = std::fabs(static_cast<double>(x));
    const double t = d + 0.000001;
    if (t >= 2.0)
        return 0.0L;
    const long double ld = d;
    if (t < 1.0)
        return (1.25L * ld - 2.25L) * ld * ld + 1.0L;
    return ((-0.75L * ld + 3.75L) * ld - 6.0L) * ld + 3.0L;
}
