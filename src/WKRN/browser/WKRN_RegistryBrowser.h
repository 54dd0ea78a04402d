#pragma once
// The job browser's tree: the multi-column tree control with an "Item" and a "Print Time" column,
// one row kind per level of the imposition tree, and the registry behind it. A scan fills the
// registry from a folder and adds one row per imposition; rows below are added when a row is
// first expanded, in the browser's order.
//
// While it scans, the browser sends its receiver (the window) the scan-started, file-processed
// (after every file, valid or not) and scan-finished messages, so the window can show progress.

#include "IMPN/IMPN_RegistryScan.h"

#include "IMPN/IMPN_Registry.h"
#include "WMCT/WMCT_MultiColumnTreeCtrl.h"

#include <QPointer>

class WKRN_RegistryItem;

class WKRN_RegistryBrowser : public WMCT_MultiColumnTreeCtrl
{
    Q_OBJECT
public:
    static constexpr int kItemColumn = 0;
    static constexpr int kPrintTimeColumn = 1;

    explicit WKRN_RegistryBrowser(QWidget* parent = nullptr);
    ~WKRN_RegistryBrowser() override;

    // Where the scan messages go.
    void SetReceiver(QObject* receiver) { m_receiver = receiver; }
    // Replaces every row and the registry with what the folder holds. entireTree adds surfaces
    // and separations below the sheets. False when the folder cannot be listed (the tree is then
    // empty and the record says why).
    bool Scan(const std::string& folder, IMPN_RegistryFolder& record, bool entireTree);
    // Removes every row, then empties the registry.
    void Clear();

    IMPN_Registry& Registry() { return m_registry; }
    WKRN_RegistryItem* Item(WMCT_ItemRef item) const;
    bool EntireTree() const { return m_entireTree; }

    // The icon of a row kind (resources 235, 237, 234, 238, 236).
    static QIcon KindIcon(int kind);

protected:
    void ItemExpanding(WMCT_ItemRef item) override;

private:
    IMPN_Registry m_registry;
    QPointer<QObject> m_receiver;
    bool m_entireTree = false;
};
