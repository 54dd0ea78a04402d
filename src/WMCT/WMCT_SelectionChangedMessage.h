#pragma once
// Sent when the selection changes: the new selection, empty when nothing is selected.

#include "WMCT/WMCT_ItemRef.h"

#include "GLIB/GLIB_Message.h"

#include <vector>

class WMCT_SelectionChangedMessage : public GLIB_Message
{
public:
    explicit WMCT_SelectionChangedMessage(std::vector<WMCT_ItemRef> items)
        : m_items(std::move(items))
    {
    }
    std::string Description() const override;
    const std::vector<WMCT_ItemRef>& Items() const { return m_items; }

private:
    std::vector<WMCT_ItemRef> m_items;
};
