#include "WMCT/WMCT_SelectionChangedMessage.h"

std::string WMCT_SelectionChangedMessage::Description() const
{
    return "TreeView selection changed";
}
