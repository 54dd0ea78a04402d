#include "WMCT/WMCT_CellPrototype.h"

WMCT_CellPrototype::WMCT_CellPrototype(std::shared_ptr<const WMCT_CellBase> prototype)
    : m_prototype(std::move(prototype))
{
}

WMCT_CellPrototype::WMCT_CellPrototype(Factory factory) : m_factory(std::move(factory)) {}

std::unique_ptr<WMCT_CellBase> WMCT_CellPrototype::Make() const
{
    if (m_prototype)
        return m_prototype->Clone();
    if (m_factory)
        return m_factory();
    return nullptr;
}
