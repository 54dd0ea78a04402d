#pragma once
// The viewer's side of the program-data lookup (help, language modules): the folders as Qt
// strings, and an override for tests.

#include <QString>
#include <QStringList>

class WKRN_DataFolders
{
public:
    static QStringList ProgramDataFolders();
    // The first folder holding a file of this name, as a full path; empty when none has it.
    static QString Find(const QString& fileName);
    // Tests point the search somewhere else; an empty list restores the default.
    static void SetOverride(const QStringList& folders);
};
