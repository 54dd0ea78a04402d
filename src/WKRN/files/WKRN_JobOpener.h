#pragma once
// Turns a batch of paths into sheets: paths that do not exist are counted as missing, the others
// go to a fresh imposition registry, and its sheets come back in the registry's order. The
// registry is discarded; the sheets live on through their references.

#include "IMPN/IMPN_SheetReference.h"

#include <QString>

#include <string>
#include <vector>

struct WKRN_OpenResult
{
    int existing = 0; // paths that name existing files
    int accepted = 0; // files the registry placed
    int missing = 0;  // paths that name nothing
    std::vector<IMPN_SheetReference> sheets;
    // Diagnostics of files that failed in a way other than being invalid (logged, and counted
    // as not accepted).
    std::vector<std::string> failures;

    int Rejected() const { return existing - accepted + missing; }
};

class WKRN_JobOpener
{
public:
    static WKRN_OpenResult Open(const std::vector<std::wstring>& paths);

    // The report for rejected files opened from a folder or a command line.
    static QString RejectedText(int rejected);
    static QString RejectedDetail(int rejected);
    // Shows the report when rejected is not 0.
    static void ReportRejected(int rejected);
};
