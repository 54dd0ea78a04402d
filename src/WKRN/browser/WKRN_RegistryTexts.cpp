#include "WKRN/browser/WKRN_RegistryTexts.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"

#include <QCoreApplication>

namespace
{
QString Template(const char* text)
{
    return QCoreApplication::translate(WKRN_RegistryTexts::kContext, text);
}

QString Filled(QString text, std::initializer_list<int> numbers)
{
    for (int number : numbers)
    {
        const qsizetype at = text.indexOf(QStringLiteral("%i"));
        if (at < 0)
            break;
        text.replace(at, 2, QString::number(number));
    }
    return text;
}
} // namespace

QString WKRN_RegistryTexts::Title()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_RegistryTexts", "Impositions"));
}

QString WKRN_RegistryTexts::RescanButton()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_RegistryTexts", "&Rescan"));
}

QString WKRN_RegistryTexts::OpenButton()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_RegistryTexts", "&Open"));
}

QString WKRN_RegistryTexts::Processed(int done, int total)
{
    return Filled(WKRN_StringTable::Load(IDS_PROCESSED_FILES), {done, total});
}

QString WKRN_RegistryTexts::ReportText(int invalid)
{
    if (invalid == 1)
        return WKRN_StringTable::Load(IDS_INVALID_ONE);
    return Filled(WKRN_StringTable::Load(IDS_INVALID_MANY), {invalid});
}

QString WKRN_RegistryTexts::ReportDetail(int invalid)
{
    return WKRN_StringTable::Load(invalid == 1 ? IDS_SURFACE_INVALID_ONE_DETAIL
                                               : IDS_SURFACE_INVALID_MANY_DETAIL) +
           QStringLiteral("\r\n\r\n") + WKRN_StringTable::Load(IDS_SHOW_DETAILS);
}

IMPN_RegistryScan::Words WKRN_RegistryTexts::Words()
{
    IMPN_RegistryScan::Words words;
    words.signature = WKRN_StringTable::Load(IDS_SIGNATURE).toStdWString();
    words.signatures = WKRN_StringTable::Load(IDS_SIGNATURES).toStdWString();
    words.web = WKRN_StringTable::Load(IDS_WEB).toStdWString();
    words.webs = WKRN_StringTable::Load(IDS_WEBS).toStdWString();
    return words;
}
