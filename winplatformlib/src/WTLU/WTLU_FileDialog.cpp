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

// The open-file dialog that takes a folder the request accepts as the choice itself, where the
// plain dialog would enter it.
class FolderChoosingDialog : public QFileDialog
{
public:
    FolderChoosingDialog(QWidget* owner, const QString& title, const QString& folder,
                         std::function<bool(const QString&)> folderChoice)
        : QFileDialog(owner, title, folder), m_FolderChoice(std::move(folderChoice))
    {
    }

    // The folder chosen whole; empty when files were chosen.
    const QString& ChosenFolder() const { return m_ChosenFolder; }

    void accept() override
    {
        const QStringList selected = selectedFiles();
        if (m_FolderChoice && selected.size() == 1 && QFileInfo(selected.front()).isDir() &&
            m_FolderChoice(selected.front()))
        {
            m_ChosenFolder = QFileInfo(selected.front()).absoluteFilePath();
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

private:
    std::function<bool(const QString&)> m_FolderChoice;
    QString m_ChosenFolder;
};
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
    FolderChoosingDialog dialog(request.owner, request.title, request.folder, request.folderChoice);
    // A desktop's own dialog never asks the Open button's handler about a folder: where one may
    // be chosen whole, the dialog is Qt's.
    if (request.folderChoice)
        dialog.setOption(QFileDialog::DontUseNativeDialog);
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
    result.files = dialog.ChosenFolder().isEmpty() ? dialog.selectedFiles()
                                                   : QStringList{dialog.ChosenFolder()};
    result.folder = dialog.directory().absolutePath();
    result.filter = dialog.selectedNameFilter();
    return result;
}

WTLU_FileDialogResult
WTLU_FileDialog::GetOpenFileNames(QWidget* owner, const QString& title,
                                  const std::vector<WTLU_FileFilter>& filters,
                                  const QString& folder, bool multiple, QString* selectedFilter,
                                  std::function<bool(const QString&)> folderChoice)
{
    WTLU_FileDialogRequest request;
    request.owner = owner;
    request.title = title;
    request.nameFilters = NameFilters(filters);
    // A remembered folder that has gone since is no place to start.
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        request.folder = folder;
    request.multiple = multiple;
    request.folderChoice = std::move(folderChoice);
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
