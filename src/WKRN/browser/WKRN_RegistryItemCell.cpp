#include "WKRN/browser/WKRN_RegistryItemCell.h"

#include "WKRN/browser/WKRN_RegistryTexts.h"

std::unique_ptr<WMCT_CellBase> WKRN_RegistryItemCell::Clone() const
{
    return std::unique_ptr<WMCT_CellBase>(new WKRN_RegistryItemCell(*this));
}

void WKRN_RegistryItemCell::SetNode(IMPN_RegistryScan::Kind kind, const IMPN_Node& node)
{
    SetText(IMPN_RegistryScan::ItemText(kind, node, WKRN_RegistryTexts::Words()));
}
