#include "WKRN/files/WKRN_FileListTexts.h"

#include "WKRN/app/WKRN_StringTable.h"

#include <QCoreApplication>

namespace
{
QString Template(const char* text)
{
    return QCoreApplication::translate(WKRN_FileListTexts::kContext, text);
}
} // namespace

QString WKRN_FileListTexts::RejectedText(int rejected)
{
    if (rejected == 1)
        return WKRN_StringTable::Load(IDS_SURFACE_INVALID_ONE);
    QString text = WKRN_StringTable::Load(IDS_SURFACE_INVALID_MANY);
    text.replace(QStringLiteral("%i"), QString::number(rejected));
    return text;
}

QString WKRN_FileListTexts::RejectedDetail(int rejected)
{
    return WKRN_StringTable::Load(rejected == 1 ? IDS_SURFACE_INVALID_ONE_DETAIL
                                                : IDS_SURFACE_INVALID_MANY_DETAIL);
}

QString WKRN_FileListTexts::AddButton()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_FileListTexts", "Add..."));
}

QString WKRN_FileListTexts::RemoveButton()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_FileListTexts", "Remove"));
}

QString WKRN_FileListTexts::InvalidFilesTitle()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_FileListTexts", "Invalid Files"));
}

QString WKRN_FileListTexts::PreviewFileFilter()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_FileListTexts", "Preview File"));
}

QString WKRN_FileListTexts::TiffFileFilter()
{
    return Template(QT_TRANSLATE_NOOP("WKRN_FileListTexts", "Corvane TIFF"));
}

QString WKRN_FileListTexts::MissingTagReason()
{
    return Template(
        QT_TRANSLATE_NOOP("WKRN_FileListTexts", "Required TIFF tag is either missing or invalid"));
}
