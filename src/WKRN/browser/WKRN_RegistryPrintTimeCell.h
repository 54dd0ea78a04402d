#pragma once
// The "Print Time" column: the time a separation was printed, or the mean time of a surface or
// sheet, in the user's long date form; "----" for signatures, impositions and times that cannot
// be read.

#include "WKRN/browser/WKRN_RegistryCell.h"

#include "WMCT/WMCT_CellDateTime.h"

class WKRN_RegistryPrintTimeCell : public WMCT_CellDateTime, public WKRN_RegistryCell
{
public:
    WKRN_RegistryPrintTimeCell();
    std::unique_ptr<WMCT_CellBase> Clone() const override;
    void SetNode(IMPN_RegistryScan::Kind kind, const IMPN_Node& node) override;

protected:
    WKRN_RegistryPrintTimeCell(const WKRN_RegistryPrintTimeCell&) = default;
};
