#pragma once
// A row of the job browser: one node of the imposition tree (imposition, signature, sheet,
// surface or separation, by its kind). The row points to its node without owning it: the
// browser's registry owns the tree. The five kinds differ only in what the scan tables say about
// them, so one class serves them all.

#include "IMPN/IMPN_RegistryScan.h"

#include "WMCT/WMCT_RowBase.h"

class IMPN_Node;

class WKRN_RegistryItem : public WMCT_RowBase
{
public:
    explicit WKRN_RegistryItem(IMPN_RegistryScan::Kind kind) : m_kind(kind) {}

    // Three-way order against another row by column and direction; rows of another kind, and
    // other columns, compare equal.
    virtual int Compare(const WKRN_RegistryItem& other, int column, int direction) const;
    // Keeps the node and hands it to every cell of the row.
    virtual void SetNode(IMPN_Node& node);
    virtual IMPN_Node* Node() const { return m_node; }
    // Adds the rows below this one, sorted, each with a placeholder when it has rows of its own.
    virtual void Populate(bool entireTree);

    IMPN_RegistryScan::Kind Kind() const { return m_kind; }
    // Whether the node has rows below it in a tree of this depth.
    bool HasChildren(bool entireTree) const;

    // The control's compare function for sorting rows; the parameter is the column in the low
    // byte and the direction (1 or -1) above it.
    static int CompareRows(const WMCT_RowBase& a, const WMCT_RowBase& b, std::intptr_t parameter);
    static std::intptr_t SortParameter(int column, int direction);

private:
    IMPN_RegistryScan::Kind m_kind;
    IMPN_Node* m_node = nullptr;
};
