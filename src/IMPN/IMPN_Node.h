#pragma once
// The imposition tree: registry > imposition (job title) > signature > sheet (web) > surface
// (front, back) > separation (one ink). Every level places a preview file below itself by its
// own key and can list its sheets, name itself and dump itself for diagnostics.

#include <iosfwd>
#include <string>
#include <vector>

class IMPN_Sheet;
class TIFX_KRNFile;

class IMPN_Node
{
public:
    IMPN_Node() = default;
    IMPN_Node(const IMPN_Node&) = delete;
    IMPN_Node& operator=(const IMPN_Node&) = delete;
    virtual ~IMPN_Node();

    // Places one valid preview file below this node. The file is open; its current directory
    // may be any (each level switches it back to directory 0 first).
    virtual void AddFile(TIFX_KRNFile& file) = 0;

    // Destroys or releases every child.
    virtual void Clear() = 0;

    // Appends every sheet below this node in tree order. Nodes below the sheets have none: the
    // base version empties the list.
    virtual void CollectSheets(std::vector<IMPN_Sheet*>& sheets);

    // Writes this node and its children to a diagnostic stream; indent level n is written as
    // n times two blanks.
    virtual void Dump(std::ostream& out, int level) = 0;

    // The node's display name.
    virtual std::string GetName() const;

protected:
    static void WriteIndent(std::ostream& out, int level);
};
