#pragma once
// One page of the Add Preview Files dialog: the preview files of one surface, with Add... (the
// open-file dialog), Remove, and a read-only field showing the path of the one selected file.
//
// Add... reads each chosen file with the preview-file reader. Valid preview files become
// separations of their own, prepared (their colours decided), and rows at the end of the list;
// other files are refused with a reason, and the refusals of one Add are reported together in
// one message. Remove deletes the selected rows.

#include "GFIL/GFIL_FileSpec.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class IMPN_Surface;
class QLineEdit;
class QPushButton;
class WKRN_PreviewFileBrowser;

class WKRN_AddFilePage : public QWidget
{
    Q_OBJECT
public:
    // A file Add refused, with the reason: the reader's text when it could not read the file,
    // else the text for a file without the required job information.
    struct RejectedFile
    {
        std::wstring path;
        QString reason;
    };

    explicit WKRN_AddFilePage(QWidget* parent = nullptr);
    ~WKRN_AddFilePage() override;

    // Lists the separations of a sheet's surface (the rows refer to them; the sheet must outlive
    // the page).
    void ShowSurface(const IMPN_Surface& surface);

    // The open-file dialog for preview files, starting in the remembered folder, which becomes
    // the folder the dialog ended in; the chosen files, none when it was cancelled. A folder
    // that folderChoice accepts may be chosen whole and comes back as the one path.
    static QStringList ChoosePreviewFiles(QWidget* owner, const QString& title,
                                          std::function<bool(const QString&)> folderChoice = {});

    // Add...: the open-file dialog, starting in the remembered folder, which becomes the folder
    // the dialog ended in; then AddFiles with the chosen files. A cancelled dialog adds nothing.
    void ChooseFiles();
    // Reads the files in order, appends a row per valid preview file, reports the refused ones
    // in one message (none when all were taken) and returns them.
    std::vector<RejectedFile> AddFiles(const QStringList& paths);
    // Remove: deletes the selected rows.
    void RemoveSelected();

    // The files of the list, in list order.
    std::vector<GFIL_FileSpec> Files() const;
    int RowCount() const;

    // Remove is enabled while a row is selected; the path field shows the full path of the
    // selected file when exactly one row is selected. Add... is always enabled.
    void UpdateControls();
    void FitInkColumn();

    WKRN_PreviewFileBrowser* Browser() const { return m_browser; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RemoveButton() const { return m_remove; }
    QLineEdit* PathField() const { return m_path; }

    static constexpr int kAddButtonId = 1021;
    static constexpr int kRemoveButtonId = 1020;
    static constexpr int kPathFieldId = 1003;
    static constexpr int kListId = 1030;

protected:
    void showEvent(QShowEvent* event) override;

private:
    WKRN_PreviewFileBrowser* m_browser;
    QPushButton* m_add;
    QPushButton* m_remove;
    QLineEdit* m_path;
};
