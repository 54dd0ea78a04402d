#include "WMCT/WMCT_CellBase.h"

WMCT_CellBase::~WMCT_CellBase() = default;

void WMCT_CellBase::SetText(const std::wstring&) {}

std::wstring WMCT_CellBase::Text() const
{
    return {};
}
