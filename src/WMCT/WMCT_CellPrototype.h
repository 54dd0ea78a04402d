#pragma once
// What a column's cells are made from: a prototype cell that is cloned, or a function that makes a
// new cell.

#include "WMCT/WMCT_CellBase.h"

#include <functional>
#include <map>
#include <memory>

class WMCT_CellPrototype
{
public:
    using Factory = std::function<std::unique_ptr<WMCT_CellBase>()>;

    WMCT_CellPrototype() = default;
    explicit WMCT_CellPrototype(std::shared_ptr<const WMCT_CellBase> prototype);
    explicit WMCT_CellPrototype(Factory factory);

    // A new cell, or null when neither a prototype nor a factory gives one.
    std::unique_ptr<WMCT_CellBase> Make() const;

private:
    std::shared_ptr<const WMCT_CellBase> m_prototype;
    Factory m_factory;
};

// Column id to what its cells are made from.
using WMCT_CellPrototypes = std::map<int, WMCT_CellPrototype>;
