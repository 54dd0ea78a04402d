#include "WKRN/WKRN_FileListTexts.h"

#include "WKRN/WKRN_StringTable.h"

#include <QCoreApplication>

namespace
{
struct Source
{
    const char* text;
    const char* disambiguation;
};

struct Entry
{
    unsigned id;
    Source source;
};

// The string table's context and the id as disambiguation: the same key a language module uses
// for the string table's own entries.
const Entry kEntries[] = {
    {140,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "One file was not added to this surface since it is not a valid preview "
                        "file.",
                        "140")},
    {142,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "This file is missing job information or it does not appear to be a TIFF "
                        "file.",
                        "142")},
    {143,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "%i files were not added to this surface since they are not valid preview "
                        "files.",
                        "143")},
    {145,
     QT_TRANSLATE_NOOP3("WKRN_StringTable",
                        "These files are missing job information or they do not appear to be TIFF "
                        "files.",
                        "145")},
    {162, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Front Surface", "162")},
    {164, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Back Surface", "164")},
    {184, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Color", "184")},
    {185, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Filename", "185")},
    {189, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Invalid Preview Files Encountered", "189")},
    {190, QT_TRANSLATE_NOOP3("WKRN_StringTable", "Explanation", "190")},
};

const Entry* Find(unsigned id)
{
    for (const Entry& entry : kEntries)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

QString Template(const char* text)
{
    return QCoreApplication::translate(WKRN_FileListTexts::kContext, text);
}
} // namespace

QString WKRN_FileListTexts::English(unsigned id)
{
    const Entry* entry = Find(id);
    return entry != nullptr ? QString::fromUtf8(entry->source.text) : QString();
}

QString WKRN_FileListTexts::Load(unsigned id)
{
    if (WKRN_StringTable::Contains(id))
        return WKRN_StringTable::Load(id);
    const Entry* entry = Find(id);
    if (entry == nullptr)
        return QString();
    return QCoreApplication::translate(WKRN_StringTable::kContext, entry->source.text,
                                       entry->source.disambiguation);
}

QString WKRN_FileListTexts::RejectedText(int rejected)
{
    if (rejected == 1)
        return Load(IDS_SURFACE_INVALID_ONE);
    QString text = Load(IDS_SURFACE_INVALID_MANY);
    text.replace(QStringLiteral("%i"), QString::number(rejected));
    return text;
}

QString WKRN_FileListTexts::RejectedDetail(int rejected)
{
    return Load(rejected == 1 ? IDS_SURFACE_INVALID_ONE_DETAIL : IDS_SURFACE_INVALID_MANY_DETAIL);
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
