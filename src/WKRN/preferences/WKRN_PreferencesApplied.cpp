#include "WKRN/preferences/WKRN_PreferencesApplied.h"

WKRN_PreferencesApplied& WKRN_PreferencesApplied::Instance()
{
    static WKRN_PreferencesApplied notice;
    return notice;
}

void WKRN_PreferencesApplied::Notify()
{
    emit Instance().Applied();
}
