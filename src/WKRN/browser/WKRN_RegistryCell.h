#pragma once
// A cell of the job browser: told the node of its row, it sets its own text. One operation takes
// the node with its kind, in place of one setter per kind, since the kind decides everything the
// cell does with it.

#include "IMPN/IMPN_RegistryScan.h"

class IMPN_Node;

class WKRN_RegistryCell
{
public:
    virtual ~WKRN_RegistryCell();
    virtual void SetNode(IMPN_RegistryScan::Kind kind, const IMPN_Node& node) = 0;

protected:
    WKRN_RegistryCell() = default;
    WKRN_RegistryCell(const WKRN_RegistryCell&) = default;
    WKRN_RegistryCell& operator=(const WKRN_RegistryCell&) = default;
};
