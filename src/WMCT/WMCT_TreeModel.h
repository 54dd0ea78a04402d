#pragma once
// The item model behind a tree control. Its nodes own the rows; each node has a number that is
// never reused, so references to deleted items resolve to nothing.

#include "WMCT/WMCT_HeaderItem.h"
#include "WMCT/WMCT_RowBase.h"

#include "TMPL/TMPL_ReferenceCountPointer.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

struct WMCT_TreeNode
{
    std::uint64_t id = 0;
    WMCT_TreeNode* parent = nullptr;
    std::vector<std::unique_ptr<WMCT_TreeNode>> children;
    std::unique_ptr<WMCT_RowBase> row; // null for a placeholder
    std::wstring label;
    int image = -1;
    int stateImage = -1;
};

class WMCT_TreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    using Columns = std::vector<TMPL_ReferenceCountPointer<WMCT_HeaderItem>>;

    explicit WMCT_TreeModel(QObject* parent = nullptr);
    ~WMCT_TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const Columns& GetColumns() const { return m_columns; }
    void AddColumn(TMPL_ReferenceCountPointer<WMCT_HeaderItem> column);
    void SetImages(std::vector<QIcon> images) { m_images = std::move(images); }
    QIcon Image(int index) const;

    WMCT_TreeNode* Root() { return &m_root; }
    WMCT_TreeNode* Find(std::uint64_t id) const;
    WMCT_TreeNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const WMCT_TreeNode* node, int column = 0) const;
    int RowOf(const WMCT_TreeNode* node) const;

    // A new node, numbered, not yet in the tree.
    std::unique_ptr<WMCT_TreeNode> MakeNode();
    // Puts the node under parent at position (clamped to the end).
    WMCT_TreeNode* Insert(WMCT_TreeNode* parent, std::size_t position,
                          std::unique_ptr<WMCT_TreeNode> node);
    // Removes the node and everything below it; their rows are destroyed.
    void Remove(WMCT_TreeNode* node);
    void RemoveChildren(WMCT_TreeNode* node);
    // Orders the children of parent by a three-way comparison of their rows; equal rows keep
    // their order. Placeholders (no row) go first.
    void SortChildren(WMCT_TreeNode* parent, const WMCT_RowBase::CompareFunction& compare,
                      std::intptr_t parameter);
    // Tells the views that the row's cells changed.
    void RowChanged(WMCT_TreeNode* node);

signals:
    void CheckboxClicked(std::uint64_t item);

private:
    void Forget(WMCT_TreeNode* node);

    WMCT_TreeNode m_root;
    Columns m_columns;
    std::vector<QIcon> m_images;
    std::unordered_map<std::uint64_t, WMCT_TreeNode*> m_nodes;
    std::uint64_t m_nextId = 1;
};
