#include "FILT/FILT_DecimKernelBase.h"

FILT_DecimKernelBase::~FILT_DecimKernelBase() = default;
