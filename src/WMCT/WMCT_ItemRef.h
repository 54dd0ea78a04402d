#pragma once
// A reference to one item of a tree control: the item's number and the control it belongs to.
// Numbers are never reused, so a reference kept past the deletion of its item finds nothing
// instead of a later item.

#include <cstdint>

class WMCT_MultiColumnTreeCtrl;

struct WMCT_ItemRef
{
    std::uint64_t item = 0;
    const WMCT_MultiColumnTreeCtrl* tree = nullptr;

    bool IsEmpty() const { return item == 0 || tree == nullptr; }
    friend bool operator==(const WMCT_ItemRef&, const WMCT_ItemRef&) = default;
};
