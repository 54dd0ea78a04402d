#pragma once
// The object behind one item of a tree control: its label and one cell per column, keyed by the
// column id. The control owns it through the item and destroys it with the item.

#include "WMCT/WMCT_CellBase.h"
#include "WMCT/WMCT_CellPrototype.h"
#include "WMCT/WMCT_ItemRef.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QPainter;
class QPalette;
class QRect;
class WMCT_MultiColumnTreeCtrl;

class WMCT_RowBase
{
public:
    // Three-way comparison of two rows for sorting: below 0, 0, above 0.
    using CompareFunction =
        std::function<int(const WMCT_RowBase&, const WMCT_RowBase&, std::intptr_t)>;

    static constexpr const wchar_t* PlaceholderLabel = L"WMCT_RowBase: Placeholder label";

    WMCT_RowBase(const WMCT_RowBase&) = delete;
    WMCT_RowBase& operator=(const WMCT_RowBase&) = delete;
    virtual ~WMCT_RowBase();

    // Stores label, item and control, then adds one cell per column of the control in header
    // order, made from that column's prototype. Throws 1449001 when a cell cannot be made or a
    // column id occurs twice.
    virtual void Initialize(const std::wstring& label, const WMCT_CellPrototypes& prototypes,
                            WMCT_ItemRef item, WMCT_MultiColumnTreeCtrl& control);
    // The cell of a column, or null.
    virtual WMCT_CellBase* Cell(int columnId) const;
    virtual WMCT_ItemRef Item() const { return m_item; }
    // One child labelled as a placeholder, first, so that the row offers to expand before its
    // children exist.
    virtual void AddPlaceholder();
    virtual void DeleteChildren();
    virtual void CellAdd(int columnId, const WMCT_CellPrototype& prototype);

    void DrawCell(int columnId, QPainter& painter, const QRect& rect,
                  const QPalette& palette) const;
    void SortChildren(const CompareFunction& compare, std::intptr_t parameter);

    const std::wstring& Label() const { return m_label; }
    WMCT_MultiColumnTreeCtrl* Control() const { return m_control; }
    const std::map<int, std::unique_ptr<WMCT_CellBase>>& Cells() const { return m_cells; }

protected:
    WMCT_RowBase() = default;

private:
    std::wstring m_label;
    WMCT_ItemRef m_item;
    WMCT_MultiColumnTreeCtrl* m_control = nullptr;
    std::map<int, std::unique_ptr<WMCT_CellBase>> m_cells;
};
