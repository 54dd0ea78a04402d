#pragma once
// The texts of the job browser. Texts with a string id come from the viewer's string table; the
// dialog's own texts have no id and are translated under this class's context.

#include "IMPN/IMPN_RegistryScan.h"

#include <QString>

class WKRN_RegistryTexts
{
public:
    static QString Title();        // "Impositions"
    static QString RescanButton(); // "&Rescan"
    static QString OpenButton();   // "&Open"

    // "Processed %i of %i Files" with the numbers filled in.
    static QString Processed(int done, int total);
    // The invalid-files report: main text and the detail with its question.
    static QString ReportText(int invalid);
    static QString ReportDetail(int invalid);
    // The item column's words in the language of the run.
    static IMPN_RegistryScan::Words Words();

    static constexpr const char* kContext = "WKRN_RegistryTexts";
};
