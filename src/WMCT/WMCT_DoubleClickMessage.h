#pragma once
// Sent when the user double-clicks the tree while an item is selected: the items acted on.

#include "WMCT/WMCT_ItemRef.h"

#include "GLIB/GLIB_Message.h"

#include <vector>

class WMCT_DoubleClickMessage : public GLIB_Message
{
public:
    explicit WMCT_DoubleClickMessage(std::vector<WMCT_ItemRef> items) : m_items(std::move(items)) {}
    std::string Description() const override;
    const std::vector<WMCT_ItemRef>& Items() const { return m_items; }

private:
    std::vector<WMCT_ItemRef> m_items;
};
