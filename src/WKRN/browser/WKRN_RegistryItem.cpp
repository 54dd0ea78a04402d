#include "WKRN/browser/WKRN_RegistryItem.h"

#include "WKRN/browser/WKRN_RegistryCell.h"

#include "WMCT/WMCT_MultiColumnTreeCtrl.h"

int WKRN_RegistryItem::Compare(const WKRN_RegistryItem& other, int column, int direction) const
{
    if (other.m_kind != m_kind || m_node == nullptr || other.m_node == nullptr)
        return 0;
    return IMPN_RegistryScan::Compare(m_kind, *m_node, *other.m_node, column, direction);
}

void WKRN_RegistryItem::SetNode(IMPN_Node& node)
{
    m_node = &node;
    for (const auto& [id, cell] : Cells())
        if (auto* registryCell = dynamic_cast<WKRN_RegistryCell*>(cell.get()))
            registryCell->SetNode(m_kind, node);
    if (Control() != nullptr)
        Control()->RowChanged(Item());
}

bool WKRN_RegistryItem::HasChildren(bool entireTree) const
{
    return m_node != nullptr && !IMPN_RegistryScan::Children(m_kind, *m_node, entireTree).empty();
}

void WKRN_RegistryItem::Populate(bool entireTree)
{
    WMCT_MultiColumnTreeCtrl* control = Control();
    if (control == nullptr || m_node == nullptr)
        return;
    DeleteChildren();
    for (const IMPN_RegistryScan::Child& child :
         IMPN_RegistryScan::Children(m_kind, *m_node, entireTree))
    {
        const WMCT_ItemRef item = control->InsertChildRow(L"", Item(), child.kind);
        auto* row = static_cast<WKRN_RegistryItem*>(control->Row(item));
        row->SetNode(*child.node);
        if (row->HasChildren(entireTree))
            row->AddPlaceholder();
    }
    SortChildren(CompareRows, SortParameter(0, 1));
}

std::intptr_t WKRN_RegistryItem::SortParameter(int column, int direction)
{
    return std::intptr_t(direction) * 256 + column;
}

int WKRN_RegistryItem::CompareRows(const WMCT_RowBase& a, const WMCT_RowBase& b,
                                   std::intptr_t parameter)
{
    const auto* x = dynamic_cast<const WKRN_RegistryItem*>(&a);
    const auto* y = dynamic_cast<const WKRN_RegistryItem*>(&b);
    if (x == nullptr || y == nullptr)
        return 0;
    const int column = int(parameter & 0xFF);
    const int direction = int((parameter - column) / 256);
    return x->Compare(*y, column, direction);
}
