#include "IMPN/IMPN_ColorRecord.h"

#include "IMPN/IMPN_ColorConversion.h"

IMPN_ColorBGR IMPN_ColorRecord::Shown() const
{
    return IMPN_ColorConversion::ShownAtOpacity(color, opacity, background);
}
