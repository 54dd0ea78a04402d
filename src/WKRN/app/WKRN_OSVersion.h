#pragma once
// The operating-system version the viewer requires: 5.0 with service pack 1 or later, each of
// major version, minor version and service pack compared as greater than or equal. This platform
// reports itself as a version that passes.

struct WKRN_OSVersion
{
    int major = 0;
    int minor = 0;
    int servicePack = 0;

    static bool IsSupported(const WKRN_OSVersion& version);
    static WKRN_OSVersion Current();
};
