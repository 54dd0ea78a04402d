#include "WKRN/files/WKRN_UnreadableFiles.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/files/WKRN_FileListTexts.h"

#include "IMPN/IMPN_RegistryScan.h"
#include "IMPN/IMPN_Sheet.h"

#include <QStringList>

std::vector<WKRN_InvalidFile> WKRN_UnreadableFiles::Rows(const std::vector<IMPN_FileFailure>& files)
{
    std::vector<WKRN_InvalidFile> rows;
    rows.reserve(files.size());
    for (const IMPN_FileFailure& file : files)
        rows.push_back(
            {QString::fromStdString(file.path), file.reason == IMPN_RegistryScan::MissingTagReason
                                                    ? WKRN_FileListTexts::MissingTagReason()
                                                    : QString::fromStdString(file.reason)});
    return rows;
}

QString WKRN_UnreadableFiles::Lines(const std::vector<IMPN_FileFailure>& files)
{
    QStringList lines;
    for (const WKRN_InvalidFile& row : Rows(files))
        lines << row.file + QStringLiteral(": ") + row.reason;
    return lines.join(QLatin1Char('\n'));
}

WKRN_FileListWindow* WKRN_UnreadableFiles::Report(QWidget* owner, const IMPN_Sheet& sheet)
{
    const std::vector<IMPN_FileFailure> files = sheet.GetUnreadableFiles();
    if (files.empty())
        return nullptr;
    const QString header =
        files.size() == 1
            ? WKRN_StringTable::Load(IDS_UNREADABLE_ONE)
            : WKRN_StringTable::Load(IDS_UNREADABLE_MANY).arg(qulonglong(files.size()));
    auto* dialog = new WKRN_FileListWindow(
        owner, header, WKRN_StringTable::Load(IDS_UNREADABLE_AGAIN), Rows(files));
    dialog->setWindowTitle(WKRN_StringTable::Load(IDS_UNREADABLE_TITLE));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The window goes on showing what it could read; the user reads the list when ready.
    dialog->open();
    return dialog;
}
