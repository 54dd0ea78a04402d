// The user guide window (the English guide for a language without one, closing keys), Qt's own
// texts in the user's language, and the barrier that keeps exceptions of event handlers from
// crossing Qt's event loop.

#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_ApplicationBarrier.h"
#include "WKRN/app/WKRN_DataFolders.h"
#include "WKRN/app/WKRN_Help.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/sheet/WKRN_CommandTable.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace
{
QStringList BuiltDataFolders()
{
    const QString dir = QCoreApplication::applicationDirPath();
    return {dir, QDir::cleanPath(dir + QStringLiteral("/../src/WKRN"))};
}

class HelpWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.WriteText("QuorKRNHelp_en.html", "<html><body><h1>Guide</h1></body></html>");
        WKRN_DataFolders::SetOverride({QString::fromStdString(folder.Path().string())});
    }
    void TearDown() override
    {
        WKRN_Help::Shutdown();
        WKRN_ProcessEvents();
        WKRN_DataFolders::SetOverride({});
    }
    WKRN_TestFolder folder;
};

TEST_F(HelpWindow, LanguageWithoutAGuideOfItsOwnShowsTheEnglishGuide)
{
    QTranslator german;
    bool loaded = false;
    for (const QString& dir : BuiltDataFolders())
        loaded = loaded || german.load(QStringLiteral("QuorKRN_de.qm"), dir);
    if (!loaded)
        GTEST_SKIP() << "QuorKRN_de.qm is not built";
    QCoreApplication::installTranslator(&german);
    WKRN_RecordedBoxes boxes;
    const bool shown = WKRN_Help::Show(nullptr);
    QCoreApplication::removeTranslator(&german);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_NE(WKRN_Help::Window(), nullptr);
    EXPECT_TRUE(WKRN_Help::Window()->toPlainText().contains(QStringLiteral("Guide")));
}

TEST_F(HelpWindow, EscapeAndCtrlWCloseIt)
{
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
    {
        ASSERT_TRUE(WKRN_Help::Show(nullptr));
        QPointer<QTextBrowser> window = WKRN_Help::Window();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.data()));
        window->activateWindow();
        QTest::keySequence(window.data(), keys);
        WKRN_ProcessEvents();
        EXPECT_TRUE(window.isNull() || !window->isVisible()) << keys.toString().toStdString();
    }
    // Ctrl's release went to the closed window and the application still counts it as held,
    // which later tests of this process would take for a Ctrl-drag.
    QWidget other;
    QTest::keyRelease(&other, Qt::Key_Control);
}

// Every shortcut a command answers to is in the guide's table of keys, written as the menu
// shows it.
TEST(WKRN_UserGuide, KeyTableListsEveryCommandShortcut)
{
    QString path;
    for (const QString& dir : BuiltDataFolders())
        if (QFileInfo::exists(dir + QStringLiteral("/QuorKRNHelp_en.html")))
            path = dir + QStringLiteral("/QuorKRNHelp_en.html");
    if (path.isEmpty())
        GTEST_SKIP() << "the user guide is not copied beside the program";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(file.readAll());
    const qsizetype start = guide.indexOf(QStringLiteral("id=\"keys\""));
    ASSERT_GE(start, 0);
    const QString table =
        guide.mid(start, guide.indexOf(QStringLiteral("</table>"), start) - start);
    const QRegularExpression cell(QStringLiteral("<td class=\"key\">([^<]*)</td>"));
    QStringList keys;
    for (const QRegularExpressionMatch& match : cell.globalMatch(table))
        for (const QString& key :
             match.captured(1).split(QRegularExpression(QStringLiteral(R"(,\s|[()])"))))
            keys.append(key.trimmed().remove(QStringLiteral("or ")));
    for (const WKRN_CommandInfo& info : WKRN_CommandTable::Entries())
    {
        if (info.id == 0 || info.enabling == WKRN_Enabling::Never)
            continue;
        const QString written = QString::fromUtf8(info.text).section(QLatin1Char('\t'), 1);
        const QString shortcut = QString::fromLatin1(info.keys).section(QLatin1Char(';'), 0, 0);
        if (!shortcut.isEmpty())
        {
            EXPECT_TRUE(keys.contains(shortcut)) << shortcut.toStdString() << " of " << info.id;
        }
        if (!written.isEmpty())
        {
            EXPECT_EQ(written.trimmed(), shortcut) << info.id;
        }
    }
}

// The guide of a language, as copied beside the program; empty when it is not there.
QString BuiltGuide(const char* code)
{
    for (const QString& dir : BuiltDataFolders())
    {
        QFile file(dir + QStringLiteral("/QuorKRNHelp_%1.html").arg(QLatin1String(code)));
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
    }
    return {};
}

// Keys as the English guide writes them: the German key names in their English form.
QString EnglishKeys(QString keys)
{
    static const std::pair<const char*, const char*> kWords[] = {
        {"Strg", "Ctrl"},        {"Umschalt", "Shift"},    {"Pfeiltasten", "Arrow keys"},
        {"Bild auf", "Page Up"}, {"Bild ab", "Page Down"}, {"Pos1", "Home"},
        {"Ende", "End"},         {"Mausrad", "wheel"},     {"Klick", "click"},
        {"Ziehen", "drag"},      {"Leertaste", "Space"},   {"(oder ", "(or "}};
    for (const auto& [german, english] : kWords)
        keys.replace(QString::fromUtf8(german), QString::fromUtf8(english));
    return keys.simplified();
}

// Each heading as level, anchor and the shortcuts it names; then each row of the table of keys.
QStringList Outline(const QString& guide)
{
    QStringList outline;
    const QRegularExpression heading(
        QStringLiteral(R"re(<h([1-3])(?: id="([^"]*)")?>(.*?)</h\1>)re"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression shortcut(QStringLiteral(R"(\(((?:Ctrl|Strg|F[0-9])[^)]*)\))"));
    for (const QRegularExpressionMatch& match : heading.globalMatch(guide))
    {
        QStringList keys;
        for (const QRegularExpressionMatch& key : shortcut.globalMatch(match.captured(3)))
            keys << EnglishKeys(key.captured(1));
        outline << QStringLiteral("h%1 #%2 %3")
                       .arg(match.captured(1), match.captured(2), keys.join(QStringLiteral("; ")));
    }
    const qsizetype table = guide.indexOf(QStringLiteral("id=\"keys\""));
    const QRegularExpression row(QStringLiteral(R"re(<td class="key">([^<]*)</td>)re"));
    for (const QRegularExpressionMatch& match : row.globalMatch(
             guide.mid(table, guide.indexOf(QStringLiteral("</table>"), table) - table)))
        outline << QStringLiteral("key ") + EnglishKeys(match.captured(1));
    return outline;
}

// The German guide covers what the English one does: the same sections in the same order, the
// same shortcuts in their headings and every row of the table of keys.
TEST(WKRN_UserGuide, GermanGuideHasTheEnglishSectionsAndKeys)
{
    const QString english = BuiltGuide("en");
    const QString german = BuiltGuide("de");
    if (english.isEmpty() || german.isEmpty())
        GTEST_SKIP() << "the user guides are not copied beside the program";
    const QStringList expected = Outline(english);
    const QStringList actual = Outline(german);
    EXPECT_GT(expected.filter(QStringLiteral("key ")).size(), 20);
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i)
        EXPECT_EQ(actual.value(i).toStdString(), expected.value(i).toStdString()) << "entry " << i;
}

TEST(WKRN_Language, GermanLocale_TranslatesQtsOwnButtonsToo)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    WKRN_Language::Start(BuiltDataFolders(), german);
    if (!WKRN_Language::Loaded())
    {
        WKRN_Language::Stop();
        GTEST_SKIP() << "QuorKRN_de.qm is not built";
    }
    EXPECT_TRUE(WKRN_Language::QtLoaded());
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
              QStringLiteral("Abbrechen"));
    WKRN_Language::Stop();
    EXPECT_FALSE(WKRN_Language::QtLoaded());
}

// ---- The event barrier -------------------------------------------------------------------

class ThrowingWidget : public QWidget
{
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("handler failed");
        return QWidget::event(event);
    }
};

TEST(WKRN_ApplicationBarrier, ExceptionOfAnEventHandlerIsReportedNotPropagated)
{
    struct Report
    {
        std::wstring title, text, details;
    };
    std::vector<Report> reports;
    const GLIB_FailureSink previous = WKRN_ApplicationBarrier::SetFailureSink(
        [&reports](const std::wstring& title, const std::wstring& text, const std::wstring& details)
        {
            reports.push_back({title, text, details});
        });
    ThrowingWidget widget;
    QEvent failing(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&widget, &failing));
    WKRN_ApplicationBarrier::SetFailureSink(previous);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].title, L"Unhandled exception caught in main");
    EXPECT_EQ(reports[0].details, L"handler failed");

    // Events that do not fail go through untouched.
    QEvent fine(QEvent::Type(QEvent::User + 1));
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&widget, &fine));
    EXPECT_EQ(reports.size(), 1u);
}
} // namespace
