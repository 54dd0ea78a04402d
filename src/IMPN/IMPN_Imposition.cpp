#include "IMPN/IMPN_Imposition.h"

#include "TIFX/TIFX_KRNFile.h"

#include <ostream>

IMPN_Imposition::IMPN_Imposition(std::string title) : m_Title(std::move(title)) {}

IMPN_Imposition::~IMPN_Imposition()
{
    Clear();
}

void IMPN_Imposition::AddFile(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    const std::uint16_t number = file.GetDirectoryInfo().signature;
    IMPN_Signature* target = nullptr;
    for (const auto& signature : m_Signatures)
    {
        if (signature->GetNumber() == number)
        {
            target = signature.get();
            break;
        }
    }
    if (target == nullptr)
    {
        m_Signatures.push_back(std::make_unique<IMPN_Signature>(file));
        target = m_Signatures.back().get();
    }
    target->AddFile(file);
}

void IMPN_Imposition::Clear()
{
    m_Signatures.clear();
}

void IMPN_Imposition::CollectSheets(std::vector<IMPN_Sheet*>& sheets)
{
    for (const auto& signature : m_Signatures)
        signature->CollectSheets(sheets);
}

void IMPN_Imposition::Dump(std::ostream& out, int level)
{
    WriteIndent(out, level);
    out << "Imposition<" << m_Title << ">\n";
    for (const auto& signature : m_Signatures)
        signature->Dump(out, level + 1);
}

std::string IMPN_Imposition::GetName() const
{
    return m_Title + " [" + std::to_string(m_Signatures.size()) +
           (m_Signatures.size() == 1 ? " Signature]" : " Signatures]");
}
