#pragma once
// What a job window offers the parts it is made of: its commands by id, its palettes and their
// arrangement, its sheet view, whether it shows a sheet, and its notices. The commands, the ink
// coverage tools, the palettes and their owner hold a job window through this interface only, so
// that their headers and sources never include the window's class and the includes run one way:
// the window knows its parts, the parts know this interface.
//
// Every job window is one; a widget that is a job window is found with Of().

#include <QObject>

#include <functional>

class IMPN_SheetReference;
class QAction;
class QMainWindow;
class QWidget;
class WKRN_SheetView;
class WKRN_SheetWindowPalettes;

class WKRN_SheetWindowHost
{
public:
    // The window itself: the frame its palettes and docks belong to, the parent of its dialogs,
    // and the receiver of the messages meant for the job window.
    virtual QMainWindow& HostWindow() = 0;

    virtual bool ShowsSheet() const = 0;
    virtual const IMPN_SheetReference& Sheet() const = 0;
    virtual WKRN_SheetView* View() const = 0;

    // Installs what a command does; the command is enabled from then on where its rule allows.
    virtual void SetCommandHandler(int commandId, std::function<void()> handler) = 0;
    virtual QAction* Action(int commandId) const = 0;
    // Brings enabling and check marks in line with the view and the palettes.
    virtual void UpdateCommandState() = 0;

    // Where the messages for a palette go (32822, 32823, 32831); null when there is none.
    virtual QWidget* Palette(int paletteId) const = 0;
    // The palettes' frames and their arrangement.
    virtual WKRN_SheetWindowPalettes& Palettes() const = 0;
    // A palette shows a pop-up of its own (a colour menu or dialog).
    virtual bool PopUpInProgress() const = 0;

    // Calls notice, for as long as context lives, whenever the colours of inks may have changed,
    // and whenever the window starts showing a sheet.
    virtual void WhenColoursChange(QObject* context, std::function<void()> notice) = 0;
    virtual void WhenSheetShown(QObject* context, std::function<void()> notice) = 0;

    // The job window a widget is, or null.
    static WKRN_SheetWindowHost* Of(QObject* object)
    {
        return dynamic_cast<WKRN_SheetWindowHost*>(object);
    }

protected:
    ~WKRN_SheetWindowHost() = default;
};
