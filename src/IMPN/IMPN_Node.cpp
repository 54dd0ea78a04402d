#include "IMPN/IMPN_Node.h"

#include <ostream>

IMPN_Node::~IMPN_Node() = default;

void IMPN_Node::CollectSheets(std::vector<IMPN_Sheet*>& sheets)
{
    sheets.clear();
}

std::string IMPN_Node::GetName() const
{
    return "IMPN_Node";
}

void IMPN_Node::WriteIndent(std::ostream& out, int level)
{
    for (int i = 0; i < level; ++i)
        out << "  ";
}
