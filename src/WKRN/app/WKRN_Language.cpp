#include "WKRN/app/WKRN_Language.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace
{
struct State
{
    int index = 0;
    bool loaded = false;
    std::unique_ptr<QTranslator> module;
    std::unique_ptr<QTranslator> qt;
    std::array<QString, 5> units{QStringLiteral("pt"), QStringLiteral("p"), QStringLiteral("in"),
                                 QStringLiteral("mm"), QStringLiteral("cm")};
};

State& Global()
{
    static State state;
    return state;
}
} // namespace

WKRN_LanguageChoice WKRN_Language::Choose(const QString& language, const QString& country)
{
    const QString lang = language.toLower();
    if (lang == QLatin1String("en"))
        return {1, {}};
    static const char* const kModules[] = {"de", "es", "fr", "it", "ja"};
    for (int i = 0; i < 5; ++i)
        if (lang == QLatin1String(kModules[i]))
            return {2 + i, QString::fromLatin1(kModules[i])};
    if (lang == QLatin1String("zh") && country.toUpper() == QLatin1String("CN"))
        return {7, QStringLiteral("zh_CN")};
    return {0, {}};
}

QString WKRN_Language::ModuleFileName(const QString& code)
{
    return QStringLiteral("QuorKRN_") + code + QStringLiteral(".qm");
}

QString WKRN_Language::QtModuleFileName(const QString& code)
{
    return QStringLiteral("qtbase_") + code + QStringLiteral(".qm");
}

bool WKRN_Language::QtLoaded()
{
    return Global().qt != nullptr;
}

WKRN_LanguageChoice WKRN_Language::Start(const QStringList& folders)
{
    return Start(folders, QLocale::system());
}

WKRN_LanguageChoice WKRN_Language::Start(const QStringList& folders, const QLocale& locale)
{
    Stop();
    State& state = Global();
    const WKRN_LanguageChoice choice = Choose(QLocale::languageToCode(locale.language()),
                                              QLocale::territoryToCode(locale.territory()));
    state.index = choice.index;
    state.loaded = false;
    if (!choice.moduleCode.isEmpty())
    {
        auto module = std::make_unique<QTranslator>();
        for (const QString& folder : folders)
        {
            if (module->load(ModuleFileName(choice.moduleCode), folder))
            {
                QCoreApplication::installTranslator(module.get());
                state.module = std::move(module);
                state.loaded = true;
                break;
            }
        }
        // Qt's own texts of the standard dialogs (file dialog, OK, Cancel) follow the same
        // language: shipped beside the program's module, else from the Qt installation.
        auto qt = std::make_unique<QTranslator>();
        QStringList qtFolders = folders;
        qtFolders.append(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        for (const QString& folder : qtFolders)
        {
            if (qt->load(QtModuleFileName(choice.moduleCode), folder))
            {
                QCoreApplication::installTranslator(qt.get());
                state.qt = std::move(qt);
                break;
            }
        }
    }
    FillUnitTable(choice.index);
    return choice;
}

void WKRN_Language::Stop()
{
    State& state = Global();
    if (state.module)
        QCoreApplication::removeTranslator(state.module.get());
    if (state.qt)
        QCoreApplication::removeTranslator(state.qt.get());
    state.module.reset();
    state.qt.reset();
    state.loaded = false;
}

int WKRN_Language::Index()
{
    return Global().index;
}

bool WKRN_Language::Loaded()
{
    return Global().loaded;
}

QString WKRN_Language::Code()
{
    return WKRN_StringTable::Load(IDS_LANGUAGE_CODE);
}

const std::array<QString, 5>& WKRN_Language::UnitAbbreviations()
{
    return Global().units;
}

void WKRN_Language::FillUnitTable(int index)
{
    State& state = Global();
    if (index >= 1 && index <= 7)
    {
        for (unsigned i = 0; i < 5; ++i)
            state.units[i] = WKRN_StringTable::Load(IDS_UNIT_POINTS + i);
    }
    else
    {
        state.units = {QStringLiteral("pt"), QStringLiteral("p"), QStringLiteral("in"),
                       QStringLiteral("mm"), QStringLiteral("cm")};
    }
}
