#include "WKRN/sheet/WKRN_CommandTable.h"

#include "WKRN/app/WKRN_Ids.h"

#include <QCoreApplication>

#include <algorithm>

namespace
{
using E = WKRN_Enabling;

constexpr int kBackup = 0;
constexpr int kArrangePalettes = 1;

const char* const kMenuTitles[] = {
    QT_TRANSLATE_NOOP("WKRN_Menu", "&File"),   QT_TRANSLATE_NOOP("WKRN_Menu", "&Edit"),
    QT_TRANSLATE_NOOP("WKRN_Menu", "&View"),   QT_TRANSLATE_NOOP("WKRN_Menu", "&Zoom"),
    QT_TRANSLATE_NOOP("WKRN_Menu", "&Sheet"),  QT_TRANSLATE_NOOP("WKRN_Menu", "&Tools"),
    QT_TRANSLATE_NOOP("WKRN_Menu", "&Window"), QT_TRANSLATE_NOOP("WKRN_Menu", "&Help"),
};
const char* const kSubmenuTitles[] = {
    QT_TRANSLATE_NOOP("WKRN_Menu", "&Backup"),
    QT_TRANSLATE_NOOP("WKRN_Menu", "&Arrange Palettes"),
};

WKRN_CommandInfo Item(int id, int menu, const char* text, const char* keys, bool toolbar,
                      E enabling, bool checkable = false, const char* icon = "", int submenu = -1)
{
    WKRN_CommandInfo info;
    info.id = id;
    info.menu = menu;
    info.submenu = submenu;
    info.text = text;
    info.keys = keys;
    info.toolbar = toolbar;
    info.enabling = enabling;
    info.checkable = checkable;
    info.themeIcon = icon;
    return info;
}

WKRN_CommandInfo Separator(int menu, int submenu = -1)
{
    WKRN_CommandInfo info;
    info.menu = menu;
    info.submenu = submenu;
    return info;
}

std::vector<WKRN_CommandInfo> MakeEntries()
{
    std::vector<WKRN_CommandInfo> t;
    // File
    t.push_back(Item(ID_FILE_OPEN_PREVIEW, 0,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "&Open Preview Files ...\tCtrl+O"), "Ctrl+O",
                     true, E::Always, false, "document-open"));
    t.push_back(Item(ID_FILE_ADD_PREVIEW, 0,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "&Add Preview Files..."), "", true, E::Always,
                     false, "list-add"));
    t.push_back(Item(ID_FILE_JOB_BROWSER, 0,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "&Job Browser...\tCtrl+J"), "Ctrl+J", true,
                     E::Always, false, "folder-open"));
    // The press's ink-key presetting, written from the shown sheet.
    t.push_back(Separator(0));
    t.push_back(Item(ID_FILE_EXPORT_INK_PRESETTING, 0,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Export Ink &Presetting (CIP3 PPF)..."), "",
                     false, E::Job));
    t.push_back(Separator(0));
    t.push_back(Item(ID_FILE_CLOSE, 0, QT_TRANSLATE_NOOP("WKRN_Menu", "&Close Job \tCtrl+W"),
                     "Ctrl+W", false, E::Job, false, "window-close"));
    t.push_back(Separator(0));
    t.push_back(Item(ID_APP_EXIT, 0, QT_TRANSLATE_NOOP("WKRN_Menu", "E&xit\tCtrl+Q"), "Ctrl+Q",
                     false, E::Always, false, "application-exit"));
    // Edit
    t.push_back(Item(ID_EDIT_UNDO, 1, QT_TRANSLATE_NOOP("WKRN_Menu", "&Undo\tCtrl+Z"),
                     "Ctrl+Z;Alt+Backspace", false, E::Never, false, "edit-undo"));
    t.push_back(Separator(1));
    t.push_back(Item(ID_EDIT_CUT, 1, QT_TRANSLATE_NOOP("WKRN_Menu", "Cu&t\tCtrl+X"),
                     "Ctrl+X;Shift+Del", false, E::Never, false, "edit-cut"));
    t.push_back(Item(ID_EDIT_COPY, 1, QT_TRANSLATE_NOOP("WKRN_Menu", "&Copy\tCtrl+C"),
                     "Ctrl+C;Ctrl+Ins", false, E::Never, false, "edit-copy"));
    t.push_back(Item(ID_EDIT_PASTE, 1, QT_TRANSLATE_NOOP("WKRN_Menu", "&Paste\tCtrl+V"),
                     "Ctrl+V;Shift+Ins", false, E::Never, false, "edit-paste"));
    t.push_back(Separator(1));
    t.push_back(Item(ID_EDIT_CUSTOM_COLORS, 1, QT_TRANSLATE_NOOP("WKRN_Menu", "Custom C&olors..."),
                     "", false, E::Always));
    t.push_back(Item(ID_EDIT_PREFERENCES, 1,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Pre&ferences...\tCtrl+,"), "Ctrl+,", false,
                     E::Always, false, "preferences-system"));
    // View
    t.push_back(Item(ID_VIEW_TOOLBAR, 2, QT_TRANSLATE_NOOP("WKRN_Menu", "&Toolbar"), "", false,
                     E::Always, true));
    t.push_back(Item(ID_VIEW_STATUS_BAR, 2, QT_TRANSLATE_NOOP("WKRN_Menu", "&Status Bar"), "",
                     false, E::Always, true));
    // Zoom
    t.push_back(Item(ID_ZOOM_8_1, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "8:1"), "Ctrl+Shift+8", false,
                     E::Job, true));
    t.push_back(Item(ID_ZOOM_4_1, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "4:1"), "Ctrl+Shift+4", false,
                     E::Job, true));
    t.push_back(Item(ID_ZOOM_2_1, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "2:1"), "Ctrl+Shift+2", false,
                     E::Job, true));
    t.push_back(Item(ID_ZOOM_1_1, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "&1:1"), "Ctrl+1", false,
                     E::Job, true, "zoom-original"));
    t.push_back(Item(ID_ZOOM_1_2, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:&2"), "Ctrl+2", false,
                     E::Job, true));
    t.push_back(Item(ID_ZOOM_1_4, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:&4"), "Ctrl+4", false,
                     E::Job, true));
    t.push_back(Item(ID_ZOOM_1_8, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:&8"), "Ctrl+8", false,
                     E::Job, true));
    t.push_back(Item(ID_ZOOM_1_16, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:1&6"), "Ctrl+6", false,
                     E::Job, true));
    t.push_back(Item(ID_ZOOM_1_32, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:&32"), "Ctrl+3", false,
                     E::Job, true));
    t.push_back(
        Item(ID_ZOOM_1_64, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:64"), "", false, E::Job, true));
    t.push_back(
        Item(ID_ZOOM_1_128, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:128"), "", false, E::Job, true));
    t.push_back(
        Item(ID_ZOOM_1_256, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:256"), "", false, E::Job, true));
    t.push_back(Item(ID_ZOOM_1_512, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "1:&512\tCtrl+5"), "Ctrl+5",
                     false, E::Job, true));
    t.push_back(Separator(3));
    t.push_back(Item(ID_ZOOM_IN, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "Zoom &In\tCtrl++"), "Ctrl++",
                     true, E::Job, false, "zoom-in"));
    t.push_back(Item(ID_ZOOM_OUT, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "Zoom &Out\tCtrl+-"), "Ctrl+-",
                     true, E::Job, false, "zoom-out"));
    t.push_back(Item(ID_ZOOM_FIT, 3, QT_TRANSLATE_NOOP("WKRN_Menu", "&Fit To Window\tCtrl+0"),
                     "Ctrl+0", true, E::Job, false, "zoom-fit-best"));
    // Sheet
    t.push_back(Item(ID_SHEET_SHOW_IMPOSITION, 4,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Show &Imposition\tCtrl+I"), "Ctrl+I", true,
                     E::Job));
    t.push_back(Separator(4));
    t.push_back(Item(ID_SHEET_PRESS_SHEET_EDGE, 4,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Press &Sheet Edge"), "", true, E::Job, true));
    t.push_back(Item(ID_SHEET_BLEED_EDGE, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "&Bleed Edge"), "",
                     true, E::Job, true));
    t.push_back(Item(ID_SHEET_PAGE_EDGE, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "&Page Edge"), "", true,
                     E::Job, true));
    t.push_back(Item(ID_SHEET_PAGE_NUMBERS, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "Page &Numbers"), "",
                     true, E::Job, true));
    t.push_back(Separator(4));
    t.push_back(Item(ID_BACKUP_PLATES, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "P&lates"), "", false,
                     E::Job, true, "", kBackup));
    t.push_back(Item(ID_BACKUP_PRESS_SHEETS, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "Press &Sheets"), "",
                     false, E::Job, true, "", kBackup));
    t.push_back(Item(ID_BACKUP_PAGES, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "&Pages"), "", false,
                     E::Job, true, "", kBackup));
    t.push_back(Item(ID_SHEET_FLIP, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "&Flip Sheet\tCtrl+F"),
                     "Ctrl+F", false, E::Job, false, "object-flip-horizontal"));
    t.push_back(Separator(4));
    t.push_back(Item(ID_SHEET_MORE_OPAQUE, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "&More Opaque\tF10"),
                     "F10", false, E::Job));
    t.push_back(Item(ID_SHEET_LESS_OPAQUE, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "&Less Opaque\tF9"),
                     "F9", false, E::Job));
    // Tools
    t.push_back(
        Item(ID_TOOL_PAN, 5, QT_TRANSLATE_NOOP("WKRN_Menu", "&Pan"), "", true, E::Job, true));
    t.push_back(Item(ID_TOOL_MEASURE, 5, QT_TRANSLATE_NOOP("WKRN_Menu", "&Measure"), "", true,
                     E::Job, true));
    t.push_back(
        Item(ID_TOOL_ZOOM, 5, QT_TRANSLATE_NOOP("WKRN_Menu", "&Zoom"), "", true, E::Job, true));
    // Window: the first eleven items stay; the job windows follow.
    t.push_back(Item(ID_WINDOW_NAVIGATION, 6, QT_TRANSLATE_NOOP("WKRN_Menu", "&Navigation Palette"),
                     "", false, E::Job, true));
    t.push_back(Item(ID_WINDOW_SEPARATIONS, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Se&parations Palette"), "", false, E::Job,
                     true));
    t.push_back(Item(ID_WINDOW_MEASUREMENT, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "&Measurement Palette"), "", false, E::Job,
                     true));
    t.push_back(Item(ID_PALETTES_FLOAT_LEFT, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Float &Left\tCtrl+Shift+E"), "Ctrl+Shift+E",
                     false, E::Job, false, "", kArrangePalettes));
    t.push_back(Item(ID_PALETTES_FLOAT_RIGHT, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Float &Right\tCtrl+Shift+P"),
                     "Ctrl+Shift+P;Ctrl+E", false, E::Job, false, "", kArrangePalettes));
    t.push_back(Item(ID_PALETTES_DOCK_LEFT, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Dock L&eft\tCtrl+Shift+D"), "Ctrl+Shift+D",
                     false, E::Job, false, "", kArrangePalettes));
    t.push_back(Item(ID_PALETTES_DOCK_RIGHT, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Dock R&ight\tCtrl+D"), "Ctrl+D", false, E::Job,
                     false, "", kArrangePalettes));
    t.push_back(Separator(6));
    // A shortcut shown beside an item works.
    t.push_back(Item(ID_WINDOW_CASCADE, 6, QT_TRANSLATE_NOOP("WKRN_Menu", "&Cascade\tCtrl+Shift+J"),
                     "Ctrl+Shift+J", false, E::Always));
    t.push_back(Item(ID_WINDOW_TILE_HORZ, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Tile &Horizontally\tCtrl+Shift+K"),
                     "Ctrl+Shift+K", false, E::Always));
    t.push_back(Item(ID_WINDOW_TILE_VERT, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Tile &Vertically\tCtrl+Shift+L"),
                     "Ctrl+Shift+L", false, E::Always));
    t.push_back(Separator(6));
    t.push_back(Item(ID_WINDOW_CLOSE_ALL, 6,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Close &All Jobs\tCtrl+Shift+W"),
                     "Ctrl+Shift+W", false, E::Job));
    t.push_back(Separator(6));
    // Help
    t.push_back(Item(ID_HELP_CONTENTS, 7, QT_TRANSLATE_NOOP("WKRN_Menu", "Quor KRN &Help...\tF1"),
                     "F1;Help", false, E::Always, false, "help-contents"));
    t.push_back(Item(ID_APP_ABOUT, 7, QT_TRANSLATE_NOOP("WKRN_Menu", "&About Quor KRN..."), "",
                     false, E::Always, false, "help-about"));
    // Ink coverage, each at the end of its menu.
    t.push_back(Item(ID_VIEW_INK_LIMIT, 2, QT_TRANSLATE_NOOP("WKRN_Menu", "&Ink Limit"), "", false,
                     E::Job, true));
    t.push_back(Separator(4));
    t.push_back(Item(ID_SHEET_INK_ZONES, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "Ink &Zones..."), "",
                     false, E::Job));
    t.push_back(Item(ID_TOOL_DENSITOMETER, 5, QT_TRANSLATE_NOOP("WKRN_Menu", "&Densitometer"), "",
                     true, E::Job, true));
    // Comparing versions, at the end of the Sheet menu.
    t.push_back(Separator(4));
    t.push_back(Item(ID_SHEET_COMPARE_WITH, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "&Compare With..."),
                     "", false, E::Job));
    t.push_back(Item(ID_SHEET_NEXT_DIFFERENCE, 4,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Ne&xt Difference\tF8"), "F8", false, E::Job));
    t.push_back(Item(ID_SHEET_PREVIOUS_DIFFERENCE, 4,
                     QT_TRANSLATE_NOOP("WKRN_Menu", "Pre&vious Difference\tShift+F8"), "Shift+F8",
                     false, E::Job));
    t.push_back(Item(ID_SHEET_COMPARE_OFF, 4, QT_TRANSLATE_NOOP("WKRN_Menu", "Compare &Off"), "",
                     false, E::Job));
    return t;
}
} // namespace

const std::vector<WKRN_CommandInfo>& WKRN_CommandTable::Entries()
{
    static const std::vector<WKRN_CommandInfo> entries = MakeEntries();
    return entries;
}

const WKRN_CommandInfo* WKRN_CommandTable::Find(int id)
{
    if (id == 0)
        return nullptr;
    const auto& entries = Entries();
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [id](const WKRN_CommandInfo& info) { return info.id == id; });
    return it == entries.end() ? nullptr : &*it;
}

QString WKRN_CommandTable::MenuTitle(int menu)
{
    if (menu < 0 || menu >= kMenuCount)
        return {};
    return QCoreApplication::translate(kContext, kMenuTitles[menu]);
}

QString WKRN_CommandTable::SubmenuTitle(int submenu)
{
    if (submenu < 0 || submenu >= int(std::size(kSubmenuTitles)))
        return {};
    return QCoreApplication::translate(kContext, kSubmenuTitles[submenu]);
}

/* The shortcut written after the tab would stay in the table's English ("Ctrl" beside "Strg"):
   the menu draws it from the item's key sequence instead, in the language of Qt's texts. */
QString WKRN_CommandTable::MenuText(const WKRN_CommandInfo& info)
{
    QString text = QCoreApplication::translate(kContext, info.text);
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0)
        text.truncate(tab);
    return text.trimmed();
}

QList<QKeySequence> WKRN_CommandTable::Shortcuts(const WKRN_CommandInfo& info)
{
    QList<QKeySequence> keys;
    for (const QString& part :
         QString::fromLatin1(info.keys).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        keys.append(QKeySequence::fromString(part, QKeySequence::PortableText));
    // Zoom In and Out answer the numeric keypad's plus and minus too.
    if (info.id == ID_ZOOM_IN)
        keys.append(
            QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)));
    if (info.id == ID_ZOOM_OUT)
        keys.append(
            QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus)));
    return keys;
}

const std::vector<int>& WKRN_CommandTable::ToolbarOrder()
{
    static const std::vector<int> order{
        ID_FILE_JOB_BROWSER,
        0,
        ID_FILE_OPEN_PREVIEW,
        ID_FILE_ADD_PREVIEW,
        0,
        ID_ZOOM_FIT,
        ID_ZOOM_OUT,
        ID_ZOOM_IN,
        0,
        ID_SHEET_SHOW_IMPOSITION,
        ID_SHEET_PRESS_SHEET_EDGE,
        ID_SHEET_BLEED_EDGE,
        ID_SHEET_PAGE_EDGE,
        ID_SHEET_PAGE_NUMBERS,
        0,
        ID_TOOL_PAN,
        ID_TOOL_MEASURE,
        ID_TOOL_ZOOM,
        ID_TOOL_DENSITOMETER,
    };
    return order;
}

bool WKRN_CommandTable::EnabledFor(int id, bool showsSheet)
{
    if (id == ID_SHEET_CLIP_PATH)
        return false; // enabled by the job window only when its job has clip paths
    const WKRN_CommandInfo* info = Find(id);
    // Job-window items share the number range of some commands (0xA001 up); the table decides.
    if (info == nullptr)
        return id >= WKRN_FIRST_JOB_ID;
    switch (info->enabling)
    {
    case WKRN_Enabling::Always:
        return true;
    case WKRN_Enabling::Job:
        return showsSheet;
    case WKRN_Enabling::Never:
        return false;
    }
    return false;
}
