#include "WMCT/WMCT_MultiColumnTreeCtrl.h"

#include "WMCT/WMCT_CheckboxClickMessage.h"
#include "WMCT/WMCT_DoubleClickMessage.h"
#include "WMCT/WMCT_ItemDelegate.h"
#include "WMCT/WMCT_SelectionChangedMessage.h"
#include "WMCT/WMCT_TreeModel.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_MessageGuard.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>
#include <string>

#define WMCT_GUARDED(body) GLIB_GuardMessage(ClassName, __FILE__, __LINE__, [&] { body; })

WMCT_MultiColumnTreeCtrl::WMCT_MultiColumnTreeCtrl(QWidget* parent)
    : QTreeView(parent), m_model(new WMCT_TreeModel(this)), m_delegate(new WMCT_ItemDelegate(*this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    setIndentation(kIndentation);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    // A double click is the host's action on the selected row, not a second way to expand it.
    setExpandsOnDoubleClick(false);
    setDragEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);

    m_suppressTimer.setSingleShot(true);
    connect(&m_suppressTimer, &QTimer::timeout, this, [this] { m_suppressDoubleClick = false; });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnSelectionChanged(); });
    connect(this, &QTreeView::expanded, this, &WMCT_MultiColumnTreeCtrl::OnExpanded);
    connect(this, &QTreeView::collapsed, this, &WMCT_MultiColumnTreeCtrl::OnCollapsed);
    connect(header(), &QHeaderView::sectionResized, this,
            &WMCT_MultiColumnTreeCtrl::OnSectionResized);
    // The tree's indentation and expand buttons belong to whichever column the header shows first.
    connect(header(), &QHeaderView::sectionMoved, this,
            [this]
            {
                setTreePosition(header()->logicalIndex(0));
                viewport()->update();
            });
    connect(m_model, &WMCT_TreeModel::CheckboxClicked, this,
            &WMCT_MultiColumnTreeCtrl::OnCheckboxClicked);
}

WMCT_MultiColumnTreeCtrl::~WMCT_MultiColumnTreeCtrl()
{
    // Rows go before the dispatcher their callbacks may refer to.
    m_removing = true;
    m_model->RemoveChildren(m_model->Root());
}

void WMCT_MultiColumnTreeCtrl::AddColumn(const TMPL_ReferenceCountPointer<WMCT_HeaderItem>& column)
{
    if (!column)
        return;
    m_model->AddColumn(column);
    const int logical = static_cast<int>(m_model->GetColumns().size()) - 1;
    // The header's own floor must not be above any column's minimum.
    if (column->minimumWidth > 0 && column->minimumWidth < header()->minimumSectionSize())
        header()->setMinimumSectionSize(column->minimumWidth);
    header()->resizeSection(logical, column->Clamp(column->width));
}

const std::vector<TMPL_ReferenceCountPointer<WMCT_HeaderItem>>&
WMCT_MultiColumnTreeCtrl::Columns() const
{
    return m_model->GetColumns();
}

std::vector<int> WMCT_MultiColumnTreeCtrl::ColumnIdsInHeaderOrder() const
{
    const auto& columns = m_model->GetColumns();
    std::vector<int> ids;
    ids.reserve(columns.size());
    for (int visual = 0; visual < int(columns.size()); ++visual)
    {
        const int logical = header()->logicalIndex(visual);
        if (logical >= 0 && std::size_t(logical) < columns.size())
            ids.push_back(columns[std::size_t(logical)]->columnId);
    }
    return ids;
}

bool WMCT_MultiColumnTreeCtrl::IsFirstVisualColumn(int logicalColumn) const
{
    return header()->visualIndex(logicalColumn) == 0;
}

void WMCT_MultiColumnTreeCtrl::SetImageList(std::vector<QIcon> images, std::vector<int> kindToImage)
{
    m_model->SetImages(std::move(images));
    m_kindToImage = std::move(kindToImage);
    viewport()->update();
}

int WMCT_MultiColumnTreeCtrl::ImageIndexOfKind(int kind) const
{
    const auto found = std::find(m_kindToImage.begin(), m_kindToImage.end(), kind);
    return found != m_kindToImage.end() ? int(found - m_kindToImage.begin()) : -1;
}

WMCT_ItemRef WMCT_MultiColumnTreeCtrl::Ref(const WMCT_TreeNode* node) const
{
    if (node == nullptr || node == m_model->Root())
        return {};
    return {node->id, this};
}

WMCT_TreeNode* WMCT_MultiColumnTreeCtrl::NodeOf(WMCT_ItemRef item) const
{
    if (item.tree != this && !item.IsEmpty())
        return nullptr;
    if (item.IsEmpty())
        return m_model->Root();
    return m_model->Find(item.item);
}

/* The row is made and given its cells before the item exists: a failure leaves the tree as it
   was, with no item that lacks its row. */
WMCT_ItemRef WMCT_MultiColumnTreeCtrl::InsertAt(const std::wstring& label, WMCT_TreeNode* parent,
                                                std::size_t position, int kind)
{
    const auto factory = m_factories.find(kind);
    if (factory == m_factories.end() || !factory->second)
        throw GLIB_Exception(kNoFactoryCode,
                             "No row factory is registered for row kind " + std::to_string(kind),
                             __FILE__, __LINE__);
    std::unique_ptr<WMCT_TreeNode> node = m_model->MakeNode();
    node->label = label;
    node->image = ImageIndexOfKind(kind);
    std::unique_ptr<WMCT_RowBase> row = factory->second();
    if (!row)
        throw GLIB_Exception(kNoFactoryCode,
                             "The row factory of row kind " + std::to_string(kind) + " made no row",
                             __FILE__, __LINE__);
    row->Initialize(label, m_prototypes, Ref(node.get()), *this);
    node->row = std::move(row);
    return Ref(m_model->Insert(parent, position, std::move(node)));
}

WMCT_ItemRef WMCT_MultiColumnTreeCtrl::InsertRow(const std::wstring& label, int kind)
{
    WMCT_TreeNode* root = m_model->Root();
    return InsertAt(label, root, root->children.size(), kind);
}

WMCT_ItemRef WMCT_MultiColumnTreeCtrl::InsertRowAfter(const std::wstring& label,
                                                      WMCT_ItemRef sibling, int kind)
{
    WMCT_TreeNode* node = NodeOf(sibling);
    if (node == nullptr || node->parent == nullptr)
        throw GLIB_Exception(1449003, "The sibling of a new row is not an item of this tree",
                             __FILE__, __LINE__);
    return InsertAt(label, node->parent, std::size_t(m_model->RowOf(node)) + 1, kind);
}

WMCT_ItemRef WMCT_MultiColumnTreeCtrl::InsertChildRow(const std::wstring& label,
                                                      WMCT_ItemRef parent, int kind)
{
    WMCT_TreeNode* node = NodeOf(parent);
    if (node == nullptr)
        throw GLIB_Exception(1449003, "The parent of a new row is not an item of this tree",
                             __FILE__, __LINE__);
    return InsertAt(label, node, node->children.size(), kind);
}

void WMCT_MultiColumnTreeCtrl::AddPlaceholder(WMCT_ItemRef item)
{
    WMCT_TreeNode* node = NodeOf(item);
    if (node == nullptr || node == m_model->Root())
        return;
    std::unique_ptr<WMCT_TreeNode> placeholder = m_model->MakeNode();
    placeholder->label = WMCT_RowBase::PlaceholderLabel;
    m_model->Insert(node, 0, std::move(placeholder));
}

bool WMCT_MultiColumnTreeCtrl::IsPlaceholder(WMCT_ItemRef item) const
{
    const WMCT_TreeNode* node = NodeOf(item);
    return node != nullptr && node != m_model->Root() && !node->row;
}

bool WMCT_MultiColumnTreeCtrl::SelectionInside(const WMCT_TreeNode* node, bool childrenOnly) const
{
    const WMCT_TreeNode* selected = m_model->Find(m_selected);
    if (selected == nullptr || (childrenOnly && selected == node))
        return false;
    for (; selected != nullptr; selected = selected->parent)
        if (selected == node)
            return true;
    return false;
}

/* A selection inside the rows that go is cleared while they still exist, so that the notice of
   it names nothing that is deleted; what the view selects while rows are removed is announced
   once they are gone. */
void WMCT_MultiColumnTreeCtrl::RemoveSubtree(WMCT_TreeNode* node, bool childrenOnly)
{
    if (node == nullptr || (node == m_model->Root() && !childrenOnly))
        return;
    if (SelectionInside(node, childrenOnly))
        selectionModel()->clearSelection();
    m_removing = true;
    try
    {
        if (childrenOnly)
            m_model->RemoveChildren(node);
        else
            m_model->Remove(node);
    }
    catch (...)
    {
        m_removing = false;
        throw;
    }
    m_removing = false;
    if (SelectedItem().item != m_selected)
        OnSelectionChanged();
}

void WMCT_MultiColumnTreeCtrl::DeleteItem(WMCT_ItemRef item)
{
    RemoveSubtree(item.IsEmpty() ? nullptr : NodeOf(item), false);
}

void WMCT_MultiColumnTreeCtrl::DeleteChildren(WMCT_ItemRef item)
{
    RemoveSubtree(NodeOf(item), true);
}

void WMCT_MultiColumnTreeCtrl::DeleteAllItems()
{
    RemoveSubtree(m_model->Root(), true);
}

WMCT_RowBase* WMCT_MultiColumnTreeCtrl::Row(WMCT_ItemRef item) const
{
    const WMCT_TreeNode* node = item.IsEmpty() ? nullptr : NodeOf(item);
    return node != nullptr ? node->row.get() : nullptr;
}

bool WMCT_MultiColumnTreeCtrl::Exists(WMCT_ItemRef item) const
{
    return !item.IsEmpty() && NodeOf(item) != nullptr;
}

std::vector<WMCT_ItemRef> WMCT_MultiColumnTreeCtrl::Children(WMCT_ItemRef item) const
{
    std::vector<WMCT_ItemRef> children;
    if (const WMCT_TreeNode* node = NodeOf(item))
        for (const auto& child : node->children)
            children.push_back(Ref(child.get()));
    return children;
}

WMCT_ItemRef WMCT_MultiColumnTreeCtrl::Parent(WMCT_ItemRef item) const
{
    const WMCT_TreeNode* node = item.IsEmpty() ? nullptr : NodeOf(item);
    return node != nullptr ? Ref(node->parent) : WMCT_ItemRef{};
}

QModelIndex WMCT_MultiColumnTreeCtrl::IndexOf(WMCT_ItemRef item, int logicalColumn) const
{
    const WMCT_TreeNode* node = item.IsEmpty() ? nullptr : NodeOf(item);
    return node != nullptr ? m_model->IndexOf(node, logicalColumn) : QModelIndex();
}

WMCT_ItemRef WMCT_MultiColumnTreeCtrl::ItemAt(const QModelIndex& index) const
{
    return index.isValid() && index.model() == m_model ? Ref(m_model->NodeOf(index))
                                                       : WMCT_ItemRef{};
}

std::wstring WMCT_MultiColumnTreeCtrl::ItemText(WMCT_ItemRef item, int logicalColumn) const
{
    return m_model->data(IndexOf(item, logicalColumn), Qt::DisplayRole).toString().toStdWString();
}

WMCT_ItemRef WMCT_MultiColumnTreeCtrl::SelectedItem() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? WMCT_ItemRef{} : ItemAt(selected.first());
}

void WMCT_MultiColumnTreeCtrl::SelectItem(WMCT_ItemRef item)
{
    const QModelIndex index = IndexOf(item);
    if (!index.isValid())
    {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void WMCT_MultiColumnTreeCtrl::ExpandItem(WMCT_ItemRef item)
{
    const QModelIndex index = IndexOf(item);
    if (index.isValid())
        expand(index);
}

void WMCT_MultiColumnTreeCtrl::CollapseItem(WMCT_ItemRef item)
{
    const QModelIndex index = IndexOf(item);
    if (index.isValid())
        collapse(index);
}

void WMCT_MultiColumnTreeCtrl::SetCheckState(WMCT_ItemRef item, int state)
{
    WMCT_TreeNode* node = item.IsEmpty() ? nullptr : NodeOf(item);
    if (node == nullptr)
        return;
    node->stateImage = state < 0 ? -1 : (state > 0 ? 1 : 0);
    m_model->RowChanged(node);
}

void WMCT_MultiColumnTreeCtrl::SortChildren(WMCT_ItemRef item,
                                            const WMCT_RowBase::CompareFunction& compare,
                                            std::intptr_t parameter)
{
    if (WMCT_TreeNode* node = NodeOf(item))
        m_model->SortChildren(node, compare, parameter);
}

void WMCT_MultiColumnTreeCtrl::RowChanged(WMCT_ItemRef item)
{
    if (WMCT_TreeNode* node = item.IsEmpty() ? nullptr : NodeOf(item))
        m_model->RowChanged(node);
}

void WMCT_MultiColumnTreeCtrl::AddCallback(GLIB_CallbackBase* callback)
{
    m_dispatcher.AddCallback(callback);
}

void WMCT_MultiColumnTreeCtrl::ItemExpanding(WMCT_ItemRef) {}

void WMCT_MultiColumnTreeCtrl::StartSuppression()
{
    m_suppressDoubleClick = true;
    m_suppressTimer.start(QApplication::doubleClickInterval());
}

void WMCT_MultiColumnTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    WMCT_GUARDED({
        QTreeView::mouseDoubleClickEvent(event);
        if (m_suppressDoubleClick)
            return;
        const WMCT_ItemRef selected = SelectedItem();
        if (selected.IsEmpty())
            return;
        const WMCT_DoubleClickMessage message({selected});
        m_dispatcher.Send(message);
    });
}

void WMCT_MultiColumnTreeCtrl::OnSelectionChanged()
{
    if (m_removing)
        return;
    WMCT_GUARDED({
        const WMCT_ItemRef now = SelectedItem();
        const std::uint64_t before = std::exchange(m_selected, now.item);
        std::vector<WMCT_ItemRef> items;
        if (!now.IsEmpty())
            items.push_back(now);
        const WMCT_SelectionChangedMessage message(std::move(items));
        m_dispatcher.Send(message);
        if (WMCT_TreeNode* old = m_model->Find(before); old != nullptr && old->row)
        {
            for (const auto& [id, cell] : old->row->Cells())
                cell->SetDrawState(WMCT_CellBase::Normal);
            m_model->RowChanged(old);
        }
        if (WMCT_TreeNode* node = m_model->Find(now.item); node != nullptr && node->row)
        {
            for (const auto& [id, cell] : node->row->Cells())
                cell->SetDrawState(WMCT_CellBase::Selected);
            m_model->RowChanged(node);
        }
    });
}

void WMCT_MultiColumnTreeCtrl::OnExpanded(const QModelIndex& index)
{
    WMCT_GUARDED({
        WMCT_TreeNode* node = m_model->NodeOf(index);
        if (node->row)
            for (const auto& column : m_model->GetColumns())
                if (column->hideWhenExpanded)
                    if (WMCT_CellBase* cell = node->row->Cell(column->columnId))
                        cell->SetShown(false);
        StartSuppression();
        ItemExpanding(Ref(node));
    });
}

void WMCT_MultiColumnTreeCtrl::OnCollapsed(const QModelIndex& index)
{
    WMCT_GUARDED({
        WMCT_TreeNode* node = m_model->NodeOf(index);
        if (node->row)
            for (const auto& [id, cell] : node->row->Cells())
                cell->SetShown(true);
        StartSuppression();
    });
}

/* A width outside the column's limits is refused by putting the limit back at once, which is what
   the user sees while dragging: the edge stops there. */
void WMCT_MultiColumnTreeCtrl::OnSectionResized(int logical, int, int newSize)
{
    WMCT_GUARDED({
        const auto& columns = m_model->GetColumns();
        if (logical < 0 || std::size_t(logical) >= columns.size())
            return;
        WMCT_HeaderItem& column = *columns[std::size_t(logical)];
        const int allowed = column.Clamp(newSize);
        if (allowed != newSize)
        {
            header()->resizeSection(logical, allowed);
            return;
        }
        column.width = newSize;
        viewport()->update();
    });
}

void WMCT_MultiColumnTreeCtrl::OnCheckboxClicked(std::uint64_t item)
{
    WMCT_GUARDED({
        const WMCT_TreeNode* node = m_model->Find(item);
        if (node == nullptr)
            return;
        const WMCT_CheckboxClickMessage message(Ref(node));
        m_dispatcher.Send(message);
    });
}
