#include "WKRN/app/WKRN_DataFolders.h"

#include "GFIL/GFIL_ProgramData.h"

#include <QCoreApplication>

#include <filesystem>
#include <vector>

namespace
{
QStringList& Override()
{
    static QStringList folders;
    return folders;
}

std::filesystem::path ToPath(const QString& text)
{
    return std::filesystem::path(text.toStdString());
}

QString ToQString(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}
} // namespace

QStringList WKRN_DataFolders::ProgramDataFolders()
{
    if (!Override().isEmpty())
        return Override();
    QStringList folders;
    for (const auto& folder :
         GFIL_ProgramData::Folders(ToPath(QCoreApplication::applicationDirPath())))
        folders.append(ToQString(folder));
    return folders;
}

QString WKRN_DataFolders::Find(const QString& fileName)
{
    std::vector<std::filesystem::path> folders;
    for (const QString& folder : ProgramDataFolders())
        folders.push_back(ToPath(folder));
    const auto found = GFIL_ProgramData::Find(folders, fileName.toStdString());
    return found ? ToQString(*found) : QString();
}

void WKRN_DataFolders::SetOverride(const QStringList& folders)
{
    Override() = folders;
}
