#pragma once
// The job browser's tree: the multi-column tree control with an "Item" and a "Print Time" column,
// one row kind per level of the imposition tree, and the registry behind it. The registry of a
// finished scan comes in whole and gets one row per imposition; rows below are added when a row
// is first expanded, in the browser's order.
//
// The columns follow what they show: the print times are never cut, and the item column takes
// the rest of the width, so both grow with the window.

#include "IMPN/IMPN_RegistryScan.h"

#include "IMPN/IMPN_Registry.h"
#include "WMCT/WMCT_MultiColumnTreeCtrl.h"

#include <memory>

class WKRN_RegistryItem;

class WKRN_RegistryBrowser : public WMCT_MultiColumnTreeCtrl
{
    Q_OBJECT
public:
    static constexpr int kItemColumn = 0;
    static constexpr int kPrintTimeColumn = 1;

    explicit WKRN_RegistryBrowser(QWidget* parent = nullptr);
    ~WKRN_RegistryBrowser() override;

    // Replaces every row and the registry with a scanned one (null: an empty one). entireTree adds
    // surfaces and separations below the sheets.
    void Take(std::unique_ptr<IMPN_Registry> registry, bool entireTree);
    // Removes every row, then empties the registry.
    void Clear();

    IMPN_Registry& Registry() { return *m_registry; }
    WKRN_RegistryItem* Item(WMCT_ItemRef item) const;
    bool EntireTree() const { return m_entireTree; }

    // The icon of a row kind (resources 235, 237, 234, 238, 236).
    static QIcon KindIcon(int kind);

    // The width a column needs for its title and the widest text of the rows made so far.
    int ContentWidth(int column) const;
    // Sizes the columns to the window: see above.
    void FitColumns();

protected:
    void ItemExpanding(WMCT_ItemRef item) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<IMPN_Registry> m_registry;
    bool m_entireTree = false;
};
