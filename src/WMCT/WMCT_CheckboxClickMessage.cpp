#include "WMCT/WMCT_CheckboxClickMessage.h"

std::string WMCT_CheckboxClickMessage::Description() const
{
    return "TreeView items checkbox clicked";
}
