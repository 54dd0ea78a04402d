#pragma once
// The "Item" column: the node's name with its counts ("Brochure [2 Signatures]",
// "Signature 1 [3 Webs]", "Web 2 F[CMYK] B[K]", ink letters, ink name).

#include "WKRN/browser/WKRN_RegistryCell.h"

#include "WMCT/WMCT_CellString.h"

class WKRN_RegistryItemCell : public WMCT_CellString, public WKRN_RegistryCell
{
public:
    WKRN_RegistryItemCell() = default;
    std::unique_ptr<WMCT_CellBase> Clone() const override;
    void SetNode(IMPN_RegistryScan::Kind kind, const IMPN_Node& node) override;

protected:
    WKRN_RegistryItemCell(const WKRN_RegistryItemCell&) = default;
};
