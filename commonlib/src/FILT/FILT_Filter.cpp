#include "FILT/FILT_Filter.h"

FILT_Filter::~FILT_Filter() = default;
