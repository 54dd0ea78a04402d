#include "IMPN/IMPN_Registry.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_String.h"
#include "TIFX/TIFX_KRNFile.h"

#include <ostream>

std::wstring IMPN_Registry::ReportText(ReportCase which, int rejectedCount)
{
    const wchar_t* one = ReportFolderOne;
    const wchar_t* many = ReportFolderMany;
    if (which == ReportCase::Surface)
    {
        one = ReportSurfaceOne;
        many = ReportSurfaceMany;
    }
    else if (which == ReportCase::Details)
    {
        one = ReportDetailsOne;
        many = ReportDetailsMany;
    }
    if (rejectedCount == 1)
        return one;
    std::wstring text = many;
    const std::wstring::size_type at = text.find(L"%i");
    if (at != std::wstring::npos)
        text.replace(at, 2, std::to_wstring(rejectedCount));
    return text;
}

IMPN_Registry::IMPN_Registry() = default;

IMPN_Registry::~IMPN_Registry()
{
    Clear();
}

void IMPN_Registry::AddFile(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    const std::string& title = file.GetDirectoryInfo().title;
    IMPN_Imposition* imposition = FindImposition(title);
    if (imposition == nullptr)
    {
        m_Impositions.push_back(std::make_unique<IMPN_Imposition>(title));
        imposition = m_Impositions.back().get();
    }
    imposition->AddFile(file);
}

int IMPN_Registry::AddFiles(const std::vector<GFIL_FileSpec>& files, bool clearFirst,
                            std::vector<RejectedFile>* rejected)
{
    if (clearFirst)
        Clear();
    int placed = 0;
    for (const GFIL_FileSpec& spec : files)
    {
        if (spec.IsEmpty())
        {
            if (rejected)
                rejected->push_back({L"", RejectReason::CannotOpen, "no file named"});
            continue;
        }
        // The reader closes the file when it goes out of scope, whatever happens; separations
        // made from it open readers of their own.
        TIFX_KRNFile file(spec);
        try
        {
            file.Open();
        }
        catch (const TIFX_FileIOException& e)
        {
            if (rejected)
                rejected->push_back({spec.Path(), RejectReason::CannotOpen, e.GetMessage()});
            continue;
        }
        if (!file.IsValidPreviewFile())
        {
            if (rejected)
                rejected->push_back(
                    {spec.Path(), RejectReason::NotPreviewFile, file.GetValidityFailure()});
            continue;
        }
        AddFile(file);
        ++placed;
    }
    return placed;
}

void IMPN_Registry::Clear()
{
    m_Impositions.clear();
}

void IMPN_Registry::CollectSheets(std::vector<IMPN_Sheet*>& sheets)
{
    for (const auto& imposition : m_Impositions)
        imposition->CollectSheets(sheets);
}

void IMPN_Registry::Dump(std::ostream& out, int level)
{
    const std::string rule(65, '=');
    out << rule << "\n"
        << "Imposition Registry\n"
        << rule << "\n";
    for (const auto& imposition : m_Impositions)
        imposition->Dump(out, level + 1);
}

IMPN_Imposition* IMPN_Registry::FindImposition(std::string_view title) const
{
    for (const auto& imposition : m_Impositions)
    {
        if (imposition->GetTitle() == title)
            return imposition.get();
    }
    return nullptr;
}
