#pragma once
// The Edit Custom Colors dialog: the user's custom colours kept in RGB (the ones the viewer
// makes), to recolour one at a time or to delete. OK writes back only what changed: deleted
// colours are removed and edited ones replaced, so that custom colours the list does not show
// (L*a*b* or CMYK entries of the file) survive. The file is then saved; when it cannot be, the
// user is told and the changes stay for the run.

#include "WTLU/WTLU_ColorDialog.h"

#include <QDialog>

#include <set>
#include <string>

class IMPN_ColorDatabases;
class QPushButton;
class WKRN_ColorDBBrowser;

class WKRN_EditColorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WKRN_EditColorDialog(QWidget* parent, IMPN_ColorDatabases* databases = nullptr);

    // Runs the dialog modally; true when it ended with OK.
    static bool Run(QWidget* parent);

    WKRN_ColorDBBrowser* List() const { return m_list; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The custom colours of the colour dialog, kept for the run apart from the palettes' ones.
    static WTLU_ColorDialog::CustomColors& CustomColors();

public slots:
    void accept() override;

private:
    void UpdateButtons();
    void EditSelected();
    void DeleteSelected();

    IMPN_ColorDatabases& m_databases;
    WKRN_ColorDBBrowser* m_list = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    std::set<std::string> m_edited;
    std::set<std::string> m_deleted;
};
