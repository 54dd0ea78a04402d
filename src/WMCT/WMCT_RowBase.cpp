#include "WMCT/WMCT_RowBase.h"

#include "WMCT/WMCT_MultiColumnTreeCtrl.h"

#include "GLIB/GLIB_Exception.h"

WMCT_RowBase::~WMCT_RowBase() = default;

void WMCT_RowBase::Initialize(const std::wstring& label, const WMCT_CellPrototypes& prototypes,
                              WMCT_ItemRef item, WMCT_MultiColumnTreeCtrl& control)
{
    m_label = label;
    m_item = item;
    m_control = &control;
    static const WMCT_CellPrototype none;
    for (int columnId : control.ColumnIdsInHeaderOrder())
    {
        const auto found = prototypes.find(columnId);
        CellAdd(columnId, found != prototypes.end() ? found->second : none);
    }
}

WMCT_CellBase* WMCT_RowBase::Cell(int columnId) const
{
    const auto found = m_cells.find(columnId);
    return found != m_cells.end() ? found->second.get() : nullptr;
}

void WMCT_RowBase::AddPlaceholder()
{
    if (m_control)
        m_control->AddPlaceholder(m_item);
}

void WMCT_RowBase::DeleteChildren()
{
    if (m_control)
        m_control->DeleteChildren(m_item);
}

void WMCT_RowBase::CellAdd(int columnId, const WMCT_CellPrototype& prototype)
{
    std::unique_ptr<WMCT_CellBase> cell = prototype.Make();
    if (!cell)
        throw GLIB_Exception(1449001,
                             "An Error occured during the creation of cells for a row in the     "
                             "         Windows multi-column tree control - unsuccessful Clone()",
                             __FILE__, __LINE__);
    if (!m_cells.emplace(columnId, std::move(cell)).second)
        throw GLIB_Exception(1449001,
                             "An Error occured during the creation of cells for a row in the     "
                             "        Windows multi-column tree control - unsuccessful insert()",
                             __FILE__, __LINE__);
}

void WMCT_RowBase::DrawCell(int columnId, QPainter& painter, const QRect& rect,
                            const QPalette& palette) const
{
    if (const WMCT_CellBase* cell = Cell(columnId); cell != nullptr && cell->IsDrawn())
        cell->Draw(painter, rect, palette);
}

void WMCT_RowBase::SortChildren(const CompareFunction& compare, std::intptr_t parameter)
{
    if (m_control)
        m_control->SortChildren(m_item, compare, parameter);
}
