#pragma once
// The Open / Add Preview Files dialog: a job put together by hand from preview files, one list
// for the front surface and one for the back surface.
//
// Given a sheet (Add mode) the lists start with the sheet's separations, surface by surface in
// their order; without one (open mode) they start empty. OK builds a new sheet from the two lists
// (once) and sends it to the job window that opened the dialog: in Add mode as the rebuilt sheet
// of that job (the job window replaces its own), in open mode as a sheet to show. Both lists
// empty: nothing is built or sent. Cancel changes nothing.
//
// The sheet travels in the message's payload as an IMPN_SheetReference; lParam carries the same
// sheet's address for receivers that only look at the parameters.

#include "IMPN/IMPN_SheetReference.h"

#include <QDialog>
#include <QPointer>

class QDialogButtonBox;
class QTabWidget;
class WKRN_AddFilePage;

class WKRN_AddFileDialog : public QDialog
{
    Q_OBJECT
public:
    // The opening size in average characters across and lines down.
    static constexpr int kOpeningColumns = 100;
    static constexpr int kOpeningLines = 26;

    // jobWindow is the parent and the receiver of the message; title comes from the caller.
    WKRN_AddFileDialog(QWidget* jobWindow, const QString& title,
                       const IMPN_SheetReference& sheet = {});
    ~WKRN_AddFileDialog() override;

    // Runs the dialog modally over the job window; returns QDialog::Accepted or Rejected.
    static int Run(QWidget* jobWindow, const QString& title, const IMPN_SheetReference& sheet);

    bool IsAddMode() const { return static_cast<bool>(m_sheet); }
    // The sheet OK built; empty before, and when nothing was built.
    const IMPN_SheetReference& BuiltSheet() const { return m_built; }
    bool IsApplied() const { return m_applied; }

    // OK's work. Returns whether the dialog may close: false only when the lists named files
    // none of which could be made into the new sheet (they changed on disk since they were
    // added), so that the user can mend the lists.
    bool Apply();
    void accept() override;

    WKRN_AddFilePage* FrontPage() const { return m_front; }
    WKRN_AddFilePage* BackPage() const { return m_back; }
    QTabWidget* Pages() const { return m_pages; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    QPointer<QWidget> m_jobWindow;
    IMPN_SheetReference m_sheet;
    IMPN_SheetReference m_built;
    bool m_applied = false;
    QTabWidget* m_pages;
    WKRN_AddFilePage* m_front;
    WKRN_AddFilePage* m_back;
    QDialogButtonBox* m_buttons;
};
