#include "WMCT/WMCT_DoubleClickMessage.h"

std::string WMCT_DoubleClickMessage::Description() const
{
    return "TreeView items double clicked";
}
