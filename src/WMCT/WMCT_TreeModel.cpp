#include "WMCT/WMCT_TreeModel.h"

#include <algorithm>

WMCT_TreeModel::WMCT_TreeModel(QObject* parent) : QAbstractItemModel(parent) {}

WMCT_TreeModel::~WMCT_TreeModel() = default;

WMCT_TreeNode* WMCT_TreeModel::NodeOf(const QModelIndex& index) const
{
    if (!index.isValid())
        return const_cast<WMCT_TreeNode*>(&m_root);
    return static_cast<WMCT_TreeNode*>(index.internalPointer());
}

WMCT_TreeNode* WMCT_TreeModel::Find(std::uint64_t id) const
{
    const auto found = m_nodes.find(id);
    return found != m_nodes.end() ? found->second : nullptr;
}

int WMCT_TreeModel::RowOf(const WMCT_TreeNode* node) const
{
    if (node == nullptr || node->parent == nullptr)
        return -1;
    const auto& siblings = node->parent->children;
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == node)
            return static_cast<int>(i);
    return -1;
}

QModelIndex WMCT_TreeModel::IndexOf(const WMCT_TreeNode* node, int column) const
{
    const int row = RowOf(node);
    if (row < 0)
        return {};
    return createIndex(row, column, const_cast<WMCT_TreeNode*>(node));
}

QModelIndex WMCT_TreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const WMCT_TreeNode* node = NodeOf(parent);
    if (row < 0 || column < 0 || column >= columnCount() ||
        static_cast<std::size_t>(row) >= node->children.size())
        return {};
    return createIndex(row, column, node->children[std::size_t(row)].get());
}

QModelIndex WMCT_TreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    const WMCT_TreeNode* node = NodeOf(child);
    if (node->parent == nullptr || node->parent == &m_root)
        return {};
    return IndexOf(node->parent, 0);
}

int WMCT_TreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(NodeOf(parent)->children.size());
}

int WMCT_TreeModel::columnCount(const QModelIndex&) const
{
    // A tree without columns still shows its labels in one.
    return std::max<int>(1, static_cast<int>(m_columns.size()));
}

QIcon WMCT_TreeModel::Image(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_images.size())
        return {};
    return m_images[std::size_t(index)];
}

QVariant WMCT_TreeModel::data(const QModelIndex& index, int role) const
{
    const WMCT_TreeNode* node = index.isValid() ? NodeOf(index) : nullptr;
    if (node == nullptr)
        return {};
    const std::size_t column = std::size_t(index.column());
    switch (role)
    {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (node->row && column < m_columns.size())
            if (const WMCT_CellBase* cell = node->row->Cell(m_columns[column]->columnId))
                return QString::fromStdWString(cell->Text());
        return column == 0 ? QString::fromStdWString(node->label) : QString();
    case Qt::CheckStateRole:
        if (column == 0 && node->stateImage >= 0)
            return node->stateImage > 0 ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool WMCT_TreeModel::setData(const QModelIndex& index, const QVariant&, int role)
{
    // The check box is the host's: a click is reported, the state stays until the host sets it.
    if (role != Qt::CheckStateRole || !index.isValid())
        return false;
    emit CheckboxClicked(NodeOf(index)->id);
    return true;
}

Qt::ItemFlags WMCT_TreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && NodeOf(index)->stateImage >= 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant WMCT_TreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 ||
        static_cast<std::size_t>(section) >= m_columns.size())
        return {};
    const WMCT_HeaderItem& column = *m_columns[std::size_t(section)];
    if (role == Qt::DisplayRole)
        return QString::fromStdWString(column.title);
    if (role == Qt::TextAlignmentRole)
    {
        const Qt::Alignment horizontal =
            column.alignment == WMCT_HeaderItem::Centre  ? Qt::AlignHCenter
            : column.alignment == WMCT_HeaderItem::Right ? Qt::AlignRight
                                                         : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return {};
}

void WMCT_TreeModel::AddColumn(TMPL_ReferenceCountPointer<WMCT_HeaderItem> column)
{
    const int at = static_cast<int>(m_columns.size());
    // The first real column takes the place of the one a column-less tree shows.
    if (at == 0)
    {
        m_columns.push_back(std::move(column));
        emit headerDataChanged(Qt::Horizontal, 0, 0);
        return;
    }
    beginInsertColumns({}, at, at);
    m_columns.push_back(std::move(column));
    endInsertColumns();
}

std::unique_ptr<WMCT_TreeNode> WMCT_TreeModel::MakeNode()
{
    auto node = std::make_unique<WMCT_TreeNode>();
    node->id = m_nextId++;
    return node;
}

WMCT_TreeNode* WMCT_TreeModel::Insert(WMCT_TreeNode* parent, std::size_t position,
                                      std::unique_ptr<WMCT_TreeNode> node)
{
    position = std::min(position, parent->children.size());
    const QModelIndex parentIndex = parent == &m_root ? QModelIndex() : IndexOf(parent, 0);
    beginInsertRows(parentIndex, int(position), int(position));
    node->parent = parent;
    WMCT_TreeNode* raw = node.get();
    m_nodes[raw->id] = raw;
    parent->children.insert(parent->children.begin() + std::ptrdiff_t(position), std::move(node));
    endInsertRows();
    return raw;
}

void WMCT_TreeModel::Forget(WMCT_TreeNode* node)
{
    for (const auto& child : node->children)
        Forget(child.get());
    m_nodes.erase(node->id);
}

void WMCT_TreeModel::Remove(WMCT_TreeNode* node)
{
    const int row = RowOf(node);
    if (row < 0)
        return;
    WMCT_TreeNode* parent = node->parent;
    beginRemoveRows(parent == &m_root ? QModelIndex() : IndexOf(parent, 0), row, row);
    Forget(node);
    // Taken out first, destroyed after: a row's destructor sees a consistent tree.
    std::unique_ptr<WMCT_TreeNode> gone = std::move(parent->children[std::size_t(row)]);
    parent->children.erase(parent->children.begin() + row);
    endRemoveRows();
    gone.reset();
}

void WMCT_TreeModel::RemoveChildren(WMCT_TreeNode* node)
{
    if (node->children.empty())
        return;
    const QModelIndex parentIndex = node == &m_root ? QModelIndex() : IndexOf(node, 0);
    beginRemoveRows(parentIndex, 0, int(node->children.size()) - 1);
    for (const auto& child : node->children)
        Forget(child.get());
    std::vector<std::unique_ptr<WMCT_TreeNode>> gone = std::move(node->children);
    node->children.clear();
    endRemoveRows();
    gone.clear();
}

void WMCT_TreeModel::SortChildren(WMCT_TreeNode* parent,
                                  const WMCT_RowBase::CompareFunction& compare,
                                  std::intptr_t parameter)
{
    if (parent->children.size() < 2 || !compare)
        return;
    const QModelIndex parentIndex = parent == &m_root ? QModelIndex() : IndexOf(parent, 0);
    emit layoutAboutToBeChanged({QPersistentModelIndex(parentIndex)},
                                QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::pair<WMCT_TreeNode*, int>> held;
    held.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        held.emplace_back(NodeOf(index), index.column());
    std::stable_sort(
        parent->children.begin(), parent->children.end(),
        [&](const std::unique_ptr<WMCT_TreeNode>& a, const std::unique_ptr<WMCT_TreeNode>& b)
        {
            if (!a->row || !b->row)
                return !a->row && b->row;
            return compare(*a->row, *b->row, parameter) < 0;
        });
    QModelIndexList after;
    after.reserve(before.size());
    for (const auto& [node, column] : held)
        after.append(IndexOf(node, column));
    changePersistentIndexList(before, after);
    emit layoutChanged({QPersistentModelIndex(parentIndex)}, QAbstractItemModel::VerticalSortHint);
}

void WMCT_TreeModel::RowChanged(WMCT_TreeNode* node)
{
    const QModelIndex first = IndexOf(node, 0);
    if (first.isValid())
        emit dataChanged(first, IndexOf(node, columnCount() - 1));
}
