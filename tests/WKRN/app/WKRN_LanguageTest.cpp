#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_AboutDialog.h"
#include "WKRN/app/WKRN_Help.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_OSVersion.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/sheet/WKRN_CommandTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTranslator>

#include <gtest/gtest.h>

TEST(WKRN_Language, Choice_ByLanguageAndForChineseByCountry)
{
    struct Row
    {
        const char* language;
        const char* country;
        int index;
        const char* module;
    };
    const Row rows[] = {
        {"en", "US", 1, ""},      {"de", "AT", 2, "de"}, {"es", "ES", 3, "es"},
        {"fr", "CA", 4, "fr"},    {"it", "IT", 5, "it"}, {"ja", "JP", 6, "ja"},
        {"zh", "CN", 7, "zh_CN"}, {"zh", "TW", 0, ""},   {"pt", "BR", 0, ""},
        {"", "", 0, ""},
    };
    for (const Row& row : rows)
    {
        const WKRN_LanguageChoice choice = WKRN_Language::Choose(QString::fromLatin1(row.language),
                                                                 QString::fromLatin1(row.country));
        EXPECT_EQ(choice.index, row.index) << row.language << "_" << row.country;
        EXPECT_EQ(choice.moduleCode, QString::fromLatin1(row.module)) << row.language;
    }
    EXPECT_EQ(WKRN_Language::ModuleFileName(QStringLiteral("de")), QStringLiteral("QuorKRN_de.qm"));
}

TEST(WKRN_Language, UnitTable_FromTheStringTableOrBuiltIn)
{
    WKRN_Language::FillUnitTable(0);
    EXPECT_EQ(WKRN_Language::UnitAbbreviations()[4], QStringLiteral("cm"));
    WKRN_Language::FillUnitTable(1);
    const auto& units = WKRN_Language::UnitAbbreviations();
    EXPECT_EQ(units[0], QStringLiteral("pt"));
    EXPECT_EQ(units[1], QStringLiteral("p"));
    EXPECT_EQ(units[2], QStringLiteral("in"));
    EXPECT_EQ(units[3], QStringLiteral("mm"));
    EXPECT_EQ(units[4], QStringLiteral("cm"));
}

TEST(WKRN_OSVersion, EachPartComparedOnItsOwn)
{
    EXPECT_TRUE(WKRN_OSVersion::IsSupported({5, 0, 1}));
    EXPECT_TRUE(WKRN_OSVersion::IsSupported({6, 1, 1}));
    EXPECT_FALSE(WKRN_OSVersion::IsSupported({5, 0, 0}));
    EXPECT_FALSE(WKRN_OSVersion::IsSupported({4, 9, 6}));
    EXPECT_FALSE(WKRN_OSVersion::IsSupported({6, 0, 0}));
    EXPECT_TRUE(WKRN_OSVersion::IsSupported(WKRN_OSVersion::Current()));
}

TEST(WKRN_StringTable, EveryCommandHasHelpAndTooltip)
{
    for (const WKRN_CommandInfo& info : WKRN_CommandTable::Entries())
    {
        if (info.id == 0)
            continue;
        EXPECT_FALSE(WKRN_StringTable::CommandHelp(info.id).isEmpty()) << info.id;
        EXPECT_FALSE(WKRN_StringTable::CommandTooltip(info.id).isEmpty()) << info.id;
    }
    EXPECT_EQ(WKRN_StringTable::Load(ID_SHEET_CLIP_PATH),
              QStringLiteral("Display or hide source clip paths (if present)\nSource Clip Path"));
    EXPECT_EQ(WKRN_StringTable::Load(IDS_CAPTION_PREFIX), QStringLiteral("Quor KRN - "));
    EXPECT_TRUE(WKRN_StringTable::Load(99999).isEmpty());
}

TEST(WKRN_AboutDialog, NoticesInOrderSeparatedByEmptyLines)
{
    const QStringList parts = WKRN_AboutDialog::Notices().split(QStringLiteral("\n\n"));
    ASSERT_GE(parts.size(), 6);
    EXPECT_TRUE(parts.first().contains(QStringLiteral("patent")));
    EXPECT_TRUE(parts.last().contains(QStringLiteral("trademarks")));
    const QString all = WKRN_AboutDialog::Notices();
    // The TIFF library's licence asks for its notices and permission text in full.
    EXPECT_TRUE(all.contains(QStringLiteral("Copyright (c) 1988-1997 Sam Leffler")));
    EXPECT_TRUE(all.contains(QStringLiteral("Copyright (c) 1991-1997 Silicon Graphics, Inc.")));
    EXPECT_TRUE(all.contains(QStringLiteral("this permission notice appear in all copies")));
    EXPECT_LT(all.indexOf(QStringLiteral("Sam Leffler")), all.indexOf(QStringLiteral("PANTONE")));

    WKRN_AboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Quor KRN"));
    EXPECT_TRUE(dialog.NoticeField()->isReadOnly());
    EXPECT_EQ(dialog.NoticeField()->toPlainText(), all);
}

// The German module is built beside the viewer; the suite finds it in the build tree.
TEST(WKRN_Language, GermanModule_TranslatesEveryStringAndNamesTheGermanHelp)
{
    QTranslator german;
    const QString dir = QCoreApplication::applicationDirPath();
    bool loaded = false;
    for (const QString& folder : {dir, dir + QStringLiteral("/../src/WKRN")})
        if (german.load(QStringLiteral("QuorKRN_de.qm"), QDir::cleanPath(folder)))
        {
            loaded = true;
            break;
        }
    if (!loaded)
        GTEST_SKIP() << "QuorKRN_de.qm is not built";
    QCoreApplication::installTranslator(&german);
    EXPECT_EQ(WKRN_Language::Code(), QStringLiteral("de"));
    EXPECT_EQ(WKRN_Help::FileName(), QStringLiteral("QuorKRNHelp_de.html"));
    int untranslated = 0;
    for (unsigned id : WKRN_StringTable::Ids())
    {
        const QString english = WKRN_StringTable::English(id);
        // Unit abbreviations and a few names read the same in German.
        const bool same = WKRN_StringTable::Load(id) == english;
        if (same && id != IDS_CAPTION_PREFIX && id != IDS_PRODUCT_NAME && id != IDS_EMPTY_JOB &&
            id != IDS_VERSION && id != IDS_NAVIGATION &&
            !(id >= IDS_UNIT_POINTS && id <= IDS_UNIT_CENTIMETRES) && id != IDS_ZOOM_PANE_SIZE &&
            id != IDS_TIFF_CREDITS)
        {
            ADD_FAILURE() << "string " << id << " is not translated";
            ++untranslated;
        }
    }
    EXPECT_EQ(untranslated, 0);
    EXPECT_EQ(WKRN_CommandTable::MenuTitle(0), QStringLiteral("&Datei"));
    QCoreApplication::removeTranslator(&german);
    EXPECT_EQ(WKRN_Help::FileName(), QStringLiteral("QuorKRNHelp_en.html"));
}

TEST(WKRN_Language, GermanLocale_LoadsTheModule_MissingModuleIsIgnored)
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList folders{dir, QDir::cleanPath(dir + QStringLiteral("/../src/WKRN"))};
    const QLocale german(QLocale::German, QLocale::Germany);
    WKRN_LanguageChoice choice = WKRN_Language::Start(folders, german);
    if (!WKRN_Language::Loaded())
    {
        WKRN_Language::Stop();
        GTEST_SKIP() << "QuorKRN_de.qm is not built";
    }
    EXPECT_EQ(choice.index, 2);
    EXPECT_EQ(WKRN_Language::Code(), QStringLiteral("de"));
    EXPECT_EQ(WKRN_StringTable::Load(IDS_HELP_UNAVAILABLE),
              QStringLiteral("Hilfe nicht verfügbar"));
    EXPECT_EQ(WKRN_Language::UnitAbbreviations()[3], QStringLiteral("mm"));
    WKRN_Language::Stop();
    EXPECT_EQ(WKRN_Language::Code(), QStringLiteral("en"));

    // No module anywhere: English texts, the language index stays German, nothing is shown.
    WKRN_TestFolder empty;
    WKRN_RecordedBoxes boxes;
    choice = WKRN_Language::Start({QString::fromStdString(empty.Path().string())}, german);
    EXPECT_EQ(choice.index, 2);
    EXPECT_EQ(WKRN_Language::Index(), 2);
    EXPECT_FALSE(WKRN_Language::Loaded());
    EXPECT_EQ(WKRN_Language::Code(), QStringLiteral("en"));
    EXPECT_TRUE(boxes.Boxes().empty());
    WKRN_Language::Stop();
}
