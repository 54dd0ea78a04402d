#include "WTLU/WTLU_FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace
{
WTLU_FileDialog::Chooser& CurrentChooser()
{
    static WTLU_FileDialog::Chooser chooser;
    return chooser;
}
} // namespace

QString WTLU_FileDialog::NameFilter(const WTLU_FileFilter& filter)
{
    QStringList patterns;
    const auto add = [&patterns](const QString& pattern)
    {
        if (!patterns.contains(pattern))
            patterns.append(pattern);
    };
    for (const QString& part : filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        add(pattern.toUpper());
        add(pattern.toLower());
    }
    return filter.name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QStringList WTLU_FileDialog::NameFilters(const std::vector<WTLU_FileFilter>& filters)
{
    QStringList list;
    for (const WTLU_FileFilter& filter : filters)
        list.append(NameFilter(filter));
    return list;
}

WTLU_FileDialog::Chooser WTLU_FileDialog::SetChooser(Chooser chooser)
{
    Chooser previous = std::move(CurrentChooser());
    CurrentChooser() = std::move(chooser);
    return previous;
}

WTLU_FileDialogResult WTLU_FileDialog::RunModal(const WTLU_FileDialogRequest& request)
{
    QFileDialog dialog(request.owner, request.title, request.folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Existing files only: a typed name that does not exist is refused by the dialog itself.
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.nameFilters);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    // Files written on other systems carry extensions in any mix of letter cases.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    WTLU_FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    result.files = dialog.selectedFiles();
    result.folder = dialog.directory().absolutePath();
    result.filter = dialog.selectedNameFilter();
    return result;
}

WTLU_FileDialogResult WTLU_FileDialog::GetOpenFileNames(QWidget* owner, const QString& title,
                                                        const std::vector<WTLU_FileFilter>& filters,
                                                        const QString& folder, bool multiple,
                                                        QString* selectedFilter)
{
    WTLU_FileDialogRequest request;
    request.owner = owner;
    request.title = title;
    request.nameFilters = NameFilters(filters);
    // A remembered folder that has gone since is no place to start.
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        request.folder = folder;
    request.multiple = multiple;
    if (selectedFilter != nullptr && request.nameFilters.contains(*selectedFilter))
        request.selectedFilter = *selectedFilter;

    const Chooser& chooser = CurrentChooser();
    WTLU_FileDialogResult result = chooser ? chooser(request) : RunModal(request);
    if (result.files.isEmpty())
        return {};
    if (!multiple && result.files.size() > 1)
        result.files = QStringList{result.files.front()};
    if (result.folder.isEmpty())
        result.folder = QFileInfo(result.files.front()).absolutePath();
    if (selectedFilter != nullptr && request.nameFilters.contains(result.filter))
        *selectedFilter = result.filter;
    return result;
}
