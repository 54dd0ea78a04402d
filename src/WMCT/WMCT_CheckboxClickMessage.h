#pragma once
// Sent when the user clicks the check box of an item.

#include "WMCT/WMCT_ItemRef.h"

#include "GLIB/GLIB_Message.h"

class WMCT_CheckboxClickMessage : public GLIB_Message
{
public:
    explicit WMCT_CheckboxClickMessage(WMCT_ItemRef item) : m_item(item) {}
    std::string Description() const override;
    WMCT_ItemRef Item() const { return m_item; }

private:
    WMCT_ItemRef m_item;
};
