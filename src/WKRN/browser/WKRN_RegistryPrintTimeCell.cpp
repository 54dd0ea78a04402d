#include "WKRN/browser/WKRN_RegistryPrintTimeCell.h"

WKRN_RegistryPrintTimeCell::WKRN_RegistryPrintTimeCell()
{
    SetDateFlags(LongDate);
}

std::unique_ptr<WMCT_CellBase> WKRN_RegistryPrintTimeCell::Clone() const
{
    return std::unique_ptr<WMCT_CellBase>(new WKRN_RegistryPrintTimeCell(*this));
}

void WKRN_RegistryPrintTimeCell::SetNode(IMPN_RegistryScan::Kind kind, const IMPN_Node& node)
{
    SetFileTime(IMPN_RegistryScan::PrintTicks(kind, node));
}
