#pragma once
// The user-interface language of the run, chosen once at start-up from the user's locale: an
// index (0 other, 1 English, 2 German, 3 Spanish, 4 French, 5 Italian, 6 Japanese, 7 Simplified
// Chinese) and the language module that carries the translations. A missing module leaves the
// English texts in use and keeps the index, silently.
//
// The table of the five linear unit abbreviations (points, picas, inches, millimetres,
// centimetres) is filled here too: from the string table for a known language, else built-in.

#include <QString>

#include <array>
#include <string>

class QLocale;
class QTranslator;

struct WKRN_LanguageChoice
{
    int index = 0;
    QString moduleCode; // "de", "zh_CN"; empty: no language module
};

class WKRN_Language
{
public:
    // The choice for an ISO 639 language name and ISO 3166 country name.
    static WKRN_LanguageChoice Choose(const QString& language, const QString& country);

    // "QuorKRN_de.qm" for "de".
    static QString ModuleFileName(const QString& code);
    // "qtbase_de.qm": Qt's own texts in that language.
    static QString QtModuleFileName(const QString& code);

    // Chooses from the system locale, loads the module (and Qt's own translations for the
    // standard dialogs) from the given folders, installs the translators and fills the unit
    // table. Returns the choice; Loaded() tells whether a module is in use.
    static WKRN_LanguageChoice Start(const QStringList& folders);
    // The same for a given locale instead of the system's.
    static WKRN_LanguageChoice Start(const QStringList& folders, const QLocale& locale);
    // Removes the translators installed by Start.
    static void Stop();

    static int Index();
    static bool Loaded();
    // Whether Qt's own texts are translated too.
    static bool QtLoaded();
    // The language code of the texts in use (string 132: "en" without a module).
    static QString Code();

    static const std::array<QString, 5>& UnitAbbreviations();
    // Fills the unit table for a language index: from the string table for 1 to 7, the built-in
    // values for 0.
    static void FillUnitTable(int index);
};
