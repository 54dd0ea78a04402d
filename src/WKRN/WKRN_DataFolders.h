#pragma once
// Where the viewer finds the files it ships with (help, language modules): beside the program,
// then in ../share/quorkrn/ relative to it (the installed layout).

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
