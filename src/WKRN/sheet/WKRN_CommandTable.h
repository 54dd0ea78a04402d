#pragma once
// The command vocabulary shared by every job window: one entry per menu item in menu order
// (separators included), with its menu text, accelerators, toolbar presence, enabling class and
// icon. The menu texts are translation sources of the context "WKRN_Menu".

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

enum class WKRN_Enabling
{
    Always, // enabled in every job window
    Job,    // enabled only in a job window that shows a sheet
    Never,  // always disabled
};

struct WKRN_CommandInfo
{
    int id = 0;            // 0: a separator
    int menu = 0;          // top-level menu index, 0 File ... 7 Help
    int submenu = -1;      // -1 none, else an index into SubmenuTitle()
    const char* text = ""; // menu text (translation source)
    const char* keys = ""; // accelerators, ';'-separated, portable text form
    bool toolbar = false;
    WKRN_Enabling enabling = WKRN_Enabling::Always;
    bool checkable = false;
    const char* themeIcon = ""; // freedesktop icon name, or empty
};

class WKRN_CommandTable
{
public:
    static constexpr int kMenuCount = 8;
    static constexpr int kWindowMenu = 6;

    static const std::vector<WKRN_CommandInfo>& Entries();
    // The entry of a command id (not a separator), or null.
    static const WKRN_CommandInfo* Find(int id);

    static QString MenuTitle(int menu);
    static QString SubmenuTitle(int submenu);
    // The item's label in the language in use, without the shortcut the table writes after a
    // tab: the menu shows the key sequence's own, translated text.
    static QString MenuText(const WKRN_CommandInfo& info);
    static QList<QKeySequence> Shortcuts(const WKRN_CommandInfo& info);

    // Toolbar order; 0 stands for a separator.
    static const std::vector<int>& ToolbarOrder();

    // Whether a command may be enabled in a job window that shows a sheet or not. Window-menu
    // items of job windows (0xA001 and up) are enabled everywhere.
    static bool EnabledFor(int id, bool showsSheet);

    static constexpr const char* kContext = "WKRN_Menu";
};
