#pragma once
// A holder of one reference to a sheet, for code that keeps a sheet alive (sheet views, job
// windows, tests): copying adds a holder, destruction or Reset releases it.

#include "IMPN/IMPN_Sheet.h"

#include <utility>

class IMPN_SheetReference
{
public:
    IMPN_SheetReference() = default;
    explicit IMPN_SheetReference(IMPN_Sheet* sheet) : m_Sheet(sheet)
    {
        if (m_Sheet)
            m_Sheet->AddReference();
    }
    IMPN_SheetReference(const IMPN_SheetReference& other) : IMPN_SheetReference(other.m_Sheet) {}
    IMPN_SheetReference(IMPN_SheetReference&& other) noexcept
        : m_Sheet(std::exchange(other.m_Sheet, nullptr))
    {
    }
    IMPN_SheetReference& operator=(IMPN_SheetReference other) noexcept
    {
        std::swap(m_Sheet, other.m_Sheet);
        return *this;
    }
    ~IMPN_SheetReference() { Reset(); }

    void Reset()
    {
        if (IMPN_Sheet* sheet = std::exchange(m_Sheet, nullptr))
            sheet->Release();
    }

    IMPN_Sheet* Get() const { return m_Sheet; }
    IMPN_Sheet* operator->() const { return m_Sheet; }
    IMPN_Sheet& operator*() const { return *m_Sheet; }
    explicit operator bool() const { return m_Sheet != nullptr; }

private:
    IMPN_Sheet* m_Sheet = nullptr;
};
