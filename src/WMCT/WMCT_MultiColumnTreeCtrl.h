#pragma once
// A tree whose rows carry one cell per column, under a header whose columns the user may resize
// (within each column's limits) and move. Rows are objects derived from WMCT_RowBase, made by a
// factory per row kind and owned by their items; cells are made from a prototype per column.
//
// The control tells its host what the user does through its dispatcher: a check-box click, a
// double click on the selected item (not within the double-click time after an expand or
// collapse, which keeps the second click on an expand button from acting on the row), and every
// change of selection. Handlers run under the message guard: an exception that escapes one becomes
// a fatal log entry naming this class.

#include "WMCT/WMCT_CellPrototype.h"
#include "WMCT/WMCT_HeaderItem.h"
#include "WMCT/WMCT_ItemRef.h"
#include "WMCT/WMCT_RowBase.h"

#include "GLIB/GLIB_MessageDispatcher.h"
#include "TMPL/TMPL_ReferenceCountPointer.h"

#include <QIcon>
#include <QTimer>
#include <QTreeView>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class GLIB_CallbackBase;
class WMCT_ItemDelegate;
class WMCT_TreeModel;
struct WMCT_TreeNode;

class WMCT_MultiColumnTreeCtrl : public QTreeView
{
    Q_OBJECT
public:
    using RowFactory = std::function<std::unique_ptr<WMCT_RowBase>()>;

    static constexpr const char* ClassName = "WMCT_MultiColumnTreeCtrl";
    static constexpr int kIndentation = 20;
    static constexpr int kNoFactoryCode = 1449002;

    explicit WMCT_MultiColumnTreeCtrl(QWidget* parent = nullptr);
    ~WMCT_MultiColumnTreeCtrl() override;

    // Columns, added once after creation.
    void AddColumn(const TMPL_ReferenceCountPointer<WMCT_HeaderItem>& column);
    const std::vector<TMPL_ReferenceCountPointer<WMCT_HeaderItem>>& Columns() const;
    // Column ids in the order the header shows them.
    std::vector<int> ColumnIdsInHeaderOrder() const;
    bool IsFirstVisualColumn(int logicalColumn) const;

    void SetCellPrototypes(WMCT_CellPrototypes prototypes) { m_prototypes = std::move(prototypes); }
    void SetRowFactories(std::map<int, RowFactory> factories)
    {
        m_factories = std::move(factories);
    }
    // The images of rows, and for each row kind its position in kindToImage: that is the image
    // index of rows of the kind (none, -1, for a kind not listed).
    void SetImageList(std::vector<QIcon> images, std::vector<int> kindToImage);
    int ImageIndexOfKind(int kind) const;

    // A top-level row after the existing ones.
    WMCT_ItemRef InsertRow(const std::wstring& label, int kind);
    // A row under the sibling's parent, directly after the sibling.
    WMCT_ItemRef InsertRowAfter(const std::wstring& label, WMCT_ItemRef sibling, int kind);
    // A child row after the parent's existing children, so children keep the order of the calls.
    WMCT_ItemRef InsertChildRow(const std::wstring& label, WMCT_ItemRef parent, int kind);

    void AddPlaceholder(WMCT_ItemRef item);
    bool IsPlaceholder(WMCT_ItemRef item) const;
    void DeleteItem(WMCT_ItemRef item);
    void DeleteChildren(WMCT_ItemRef item);
    void DeleteAllItems();

    // Lookups. An empty reference stands for the invisible root; a reference to a deleted item
    // finds nothing.
    WMCT_RowBase* Row(WMCT_ItemRef item) const;
    bool Exists(WMCT_ItemRef item) const;
    std::vector<WMCT_ItemRef> Children(WMCT_ItemRef item) const;
    WMCT_ItemRef Parent(WMCT_ItemRef item) const;
    std::wstring ItemText(WMCT_ItemRef item, int logicalColumn = 0) const;
    QModelIndex IndexOf(WMCT_ItemRef item, int logicalColumn = 0) const;
    WMCT_ItemRef ItemAt(const QModelIndex& index) const;

    WMCT_ItemRef SelectedItem() const;
    void SelectItem(WMCT_ItemRef item);
    void ExpandItem(WMCT_ItemRef item);
    void CollapseItem(WMCT_ItemRef item);
    // The host's check box on an item: -1 none, 0 clear, 1 set.
    void SetCheckState(WMCT_ItemRef item, int state);

    // Orders the children of an item (the root for an empty reference) by a three-way compare
    // of their rows; rows that compare equal keep their order.
    void SortChildren(WMCT_ItemRef item, const WMCT_RowBase::CompareFunction& compare,
                      std::intptr_t parameter);
    // The row's cells changed: repaint it.
    void RowChanged(WMCT_ItemRef item);

    GLIB_MessageDispatcher& Dispatcher() { return m_dispatcher; }
    void AddCallback(GLIB_CallbackBase* callback);

    bool DoubleClicksSuppressed() const { return m_suppressDoubleClick; }
    WMCT_TreeModel& Model() const { return *m_model; }

protected:
    // A row is about to show its children (it was expanded by the user or by ExpandItem).
    virtual void ItemExpanding(WMCT_ItemRef item);

    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    WMCT_ItemRef Ref(const WMCT_TreeNode* node) const;
    WMCT_TreeNode* NodeOf(WMCT_ItemRef item) const;
    WMCT_ItemRef InsertAt(const std::wstring& label, WMCT_TreeNode* parent, std::size_t position,
                          int kind);
    void RemoveSubtree(WMCT_TreeNode* node, bool childrenOnly);
    bool SelectionInside(const WMCT_TreeNode* node, bool childrenOnly) const;

    void OnSelectionChanged();
    void OnExpanded(const QModelIndex& index);
    void OnCollapsed(const QModelIndex& index);
    void OnSectionResized(int logical, int oldSize, int newSize);
    void OnCheckboxClicked(std::uint64_t item);
    void StartSuppression();

    WMCT_TreeModel* m_model;
    WMCT_ItemDelegate* m_delegate;
    GLIB_MessageDispatcher m_dispatcher;
    WMCT_CellPrototypes m_prototypes;
    std::map<int, RowFactory> m_factories;
    std::vector<int> m_kindToImage;
    std::uint64_t m_selected = 0;
    bool m_suppressDoubleClick = false;
    bool m_removing = false;
    QTimer m_suppressTimer;
};
