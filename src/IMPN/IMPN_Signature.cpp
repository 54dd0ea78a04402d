#include "IMPN/IMPN_Signature.h"

#include "IMPN/IMPN_Sheet.h"
#include "TIFX/TIFX_KRNFile.h"

#include <memory>
#include <ostream>

IMPN_Signature::IMPN_Signature(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    m_Number = file.GetDirectoryInfo().signature;
}

IMPN_Signature::~IMPN_Signature()
{
    Clear();
}

void IMPN_Signature::AddFile(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    const std::uint32_t web = file.GetDirectoryInfo().surface / 2u;
    IMPN_Sheet* target = nullptr;
    for (IMPN_Sheet* sheet : m_Sheets)
    {
        if (sheet->GetWebNumber() - 1 == web)
        {
            target = sheet;
            break;
        }
    }
    if (target == nullptr)
    {
        auto sheet = std::make_unique<IMPN_Sheet>(file);
        m_Sheets.reserve(m_Sheets.size() + 1);
        sheet->AddReference();
        target = sheet.release();
        m_Sheets.push_back(target);
    }
    target->AddFile(file);
}

void IMPN_Signature::Clear()
{
    std::vector<IMPN_Sheet*> sheets;
    sheets.swap(m_Sheets);
    for (IMPN_Sheet* sheet : sheets)
        sheet->Release();
}

void IMPN_Signature::CollectSheets(std::vector<IMPN_Sheet*>& sheets)
{
    sheets.insert(sheets.end(), m_Sheets.begin(), m_Sheets.end());
}

void IMPN_Signature::Dump(std::ostream& out, int level)
{
    WriteIndent(out, level);
    out << "Signature<" << m_Number << ">\n";
    for (IMPN_Sheet* sheet : m_Sheets)
        sheet->Dump(out, level + 1);
}

std::string IMPN_Signature::GetName() const
{
    return "Signature " + std::to_string(m_Number) + " [" + std::to_string(m_Sheets.size()) +
           (m_Sheets.size() == 1 ? " Web]" : " Webs]");
}
