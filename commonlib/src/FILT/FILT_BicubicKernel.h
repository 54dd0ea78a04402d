#pragma once

// Cubic convolution with a = -0.75: sharper than a = -0.5, with small negative lobes that make
// hard edges overshoot (the down-sampler clamps the results).

#include "FILT/FILT_DecimKernelBase.h"

class FILT_BicubicKernel : public FILT_DecimKernelBase
{
public:
    uint16_t SupportWidth() const override { return 4; }
    uint16_t TapSpan() const override { return 5; }
    long double Weight(float x) const override;
    const char* Name() const override { return "Bicubic"; }
};
