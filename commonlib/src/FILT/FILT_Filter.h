#pragma once

// A stage of a byte stream: reads from an input buffer and writes to an output buffer as much as
// both allow, remembering where it stopped, and is called again with more input or more room. A
// filter that has produced its last byte sets end of data on its output.

#include "FILT/FILT_FilterBuffer.h"

class FILT_Filter
{
public:
    virtual ~FILT_Filter();
    // Names the filter in diagnostics.
    virtual const char* Name() const = 0;
    virtual void ProcessBytes(FILT_FilterBuffer& in, FILT_FilterBuffer& out) = 0;
};
