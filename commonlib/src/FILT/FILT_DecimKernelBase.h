#pragma once

// A decimation kernel: the weight of an input sample at a distance from an output sample's
// centre, measured in output-sample units.

#include <cstdint>

class FILT_DecimKernelBase
{
public:
    virtual ~FILT_DecimKernelBase();
    // Support in output-sample units (the kernel is zero at and beyond half of it).
    virtual uint16_t SupportWidth() const = 0;
    // The most output samples one input sample may feed; also the output lines open at once.
    virtual uint16_t TapSpan() const = 0;
    virtual long double Weight(float x) const = 0;
    virtual const char* Name() const = 0;
};
