#include "WKRN/WKRN_DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace
{
QStringList& Override()
{
    static QStringList folders;
    return folders;
}
} // namespace

QStringList WKRN_DataFolders::ProgramDataFolders()
{
    if (!Override().isEmpty())
        return Override();
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QDir::cleanPath(program + QStringLiteral("/../share/quorkrn"))};
}

QString WKRN_DataFolders::Find(const QString& fileName)
{
    for (const QString& folder : ProgramDataFolders())
    {
        const QFileInfo info(QDir(folder).filePath(fileName));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return {};
}

void WKRN_DataFolders::SetOverride(const QStringList& folders)
{
    Override() = folders;
}
