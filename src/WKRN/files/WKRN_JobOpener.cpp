#include "WKRN/files/WKRN_JobOpener.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GFIL/GFIL_FileSystem.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Registry.h"
#include "WTLU/WTLU_MessageBox.h"

#include <exception>

namespace
{
// A path that cannot even be made into a file specification names nothing that exists.
bool MakeExistingSpec(const std::wstring& path, GFIL_FileSpec& spec)
{
    try
    {
        spec = GFIL_FileSpec(path);
        return spec && spec->Exists();
    }
    catch (const GLIB_Exception&)
    {
        return false;
    }
}
} // namespace

WKRN_OpenResult WKRN_JobOpener::Open(const std::vector<std::wstring>& paths)
{
    WKRN_OpenResult result;
    std::vector<GFIL_FileSpec> existing;
    for (const std::wstring& path : paths)
    {
        GFIL_FileSpec spec;
        if (MakeExistingSpec(path, spec))
            existing.push_back(spec);
        else
            ++result.missing;
    }
    result.existing = static_cast<int>(existing.size());

    IMPN_Registry registry;
    // One file at a time: a file that breaks while it is placed must not take the valid files
    // of the batch with it. It is counted with the invalid ones and its reason is logged.
    for (const GFIL_FileSpec& spec : existing)
    {
        std::string failure;
        try
        {
            result.accepted += registry.AddFiles({spec}, false);
            continue;
        }
        catch (const GLIB_Exception& e)
        {
            failure = e.WhatNarrow();
        }
        catch (const std::exception& e)
        {
            failure = e.what();
        }
        catch (...)
        {
            failure = "unidentified exception";
        }
        failure = ToNarrow(spec.Path()) + ": " + failure;
        LogMessage(GLIB_SEVERITY_ERROR, failure, __FILE__, __LINE__);
        result.failures.push_back(failure);
    }

    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    for (IMPN_Sheet* sheet : sheets)
        result.sheets.emplace_back(sheet);
    return result;
}

QString WKRN_JobOpener::RejectedText(int rejected)
{
    if (rejected == 1)
        return WKRN_StringTable::Load(IDS_INVALID_ONE);
    QString text = WKRN_StringTable::Load(IDS_INVALID_MANY);
    text.replace(QStringLiteral("%i"), QString::number(rejected));
    return text;
}

QString WKRN_JobOpener::RejectedDetail(int rejected)
{
    return WKRN_StringTable::Load(rejected == 1 ? IDS_INVALID_ONE_DETAIL : IDS_INVALID_MANY_DETAIL);
}

void WKRN_JobOpener::ReportRejected(int rejected)
{
    if (rejected == 0)
        return;
    WTLU_MessageBox::ShowInformation(WKRN_StringTable::Load(IDS_INVALID_TITLE),
                                     RejectedText(rejected), RejectedDetail(rejected), nullptr);
}
