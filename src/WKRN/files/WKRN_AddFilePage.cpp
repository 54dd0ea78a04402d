#include "WKRN/files/WKRN_AddFilePage.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/files/WKRN_FileListTexts.h"
#include "WKRN/files/WKRN_PreviewFileBrowser.h"
#include "WKRN/files/WKRN_PreviewFileRow.h"
#include "WKRN/preferences/WKRN_Preferences.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Separation.h"
#include "TIFX/TIFX_KRNFile.h"
#include "WTLU/WTLU_FileDialog.h"
#include "WTLU/WTLU_MessageBox.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <memory>

namespace
{
// Reads one chosen file. Returns the separation, or null with the reason in `reason`.
std::unique_ptr<IMPN_Separation> ReadSeparation(const GFIL_FileSpec& spec, QString& reason)
{
    TIFX_KRNFile file(spec);
    try
    {
        file.Open();
        if (!file.IsValidPreviewFile())
        {
            reason = WKRN_FileListTexts::MissingTagReason();
            return nullptr;
        }
        if (file.GetDirectory() != 0)
            file.SetDirectory(0);
        auto separation = std::make_unique<IMPN_Separation>(file);
        separation->Prepare();
        // Deciding the colour opened the separation's own reader; a list of many files must not
        // keep them all open while the dialog is up.
        separation->CloseFile();
        return separation;
    }
    catch (const TIFX_Exception& e)
    {
        // Cannot be opened or read: the reader's own text says why. Any other reader failure
        // met while the separation is described is as good a reason to refuse the file.
        reason = QString::fromStdWString(ToWide(e.GetMessage()));
    }
    catch (const GLIB_Exception& e)
    {
        reason = QString::fromWCharArray(e.What());
    }
    catch (const std::exception& e)
    {
        reason = QString::fromStdWString(ToWide(e.what()));
    }
    return nullptr;
}
} // namespace

WKRN_AddFilePage::WKRN_AddFilePage(QWidget* parent)
    : QWidget(parent), m_browser(new WKRN_PreviewFileBrowser(this)),
      m_add(new QPushButton(WKRN_FileListTexts::AddButton(), this)),
      m_remove(new QPushButton(WKRN_FileListTexts::RemoveButton(), this)),
      m_path(new QLineEdit(this))
{
    setObjectName(QStringLiteral("WKRN_AddFilePage"));
    m_add->setObjectName(QStringLiteral("WKRN_AddFilePage_1021"));
    m_remove->setObjectName(QStringLiteral("WKRN_AddFilePage_1020"));
    m_path->setObjectName(QStringLiteral("WKRN_AddFilePage_1003"));
    m_path->setReadOnly(true);
    // Buttons of a page must not take the dialog's Enter key away from OK.
    m_add->setAutoDefault(false);
    m_remove->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_path, 1);
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, &WKRN_AddFilePage::ChooseFiles);
    connect(m_remove, &QPushButton::clicked, this, &WKRN_AddFilePage::RemoveSelected);
    connect(m_browser, &QTreeWidget::itemSelectionChanged, this, &WKRN_AddFilePage::UpdateControls);
    UpdateControls();
}

WKRN_AddFilePage::~WKRN_AddFilePage() = default;

void WKRN_AddFilePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FitInkColumn();
    UpdateControls();
}

/* Ink names run longer than the column's first width ("PANTONE Reflex Blue ..."): the column
   grows to the longest, the file name column takes the rest. */
void WKRN_AddFilePage::FitInkColumn()
{
    const int column = WKRN_PreviewFileRow::kColorColumn;
    const int before = m_browser->columnWidth(column);
    m_browser->resizeColumnToContents(column);
    if (m_browser->columnWidth(column) < before)
        m_browser->setColumnWidth(column, before);
}

void WKRN_AddFilePage::ShowSurface(const IMPN_Surface& surface)
{
    m_browser->AppendSurface(surface);
    FitInkColumn();
    UpdateControls();
}

QStringList WKRN_AddFilePage::ChoosePreviewFiles(QWidget* owner, const QString& title,
                                                 std::function<bool(const QString&)> folderChoice)
{
    // A folder of TIFF previews must not look empty under the first filter, so every preview
    // extension comes first; the file's content decides whether it is a preview file.
    const std::vector<WTLU_FileFilter> filters = {
        {WKRN_StringTable::Load(IDS_ALL_PREVIEW_FILES_FILTER), QStringLiteral("*.KRN;*.PRV;*.TIF")},
        {WKRN_FileListTexts::PreviewFileFilter(), QStringLiteral("*.PRV;*.KRN")},
        {WKRN_FileListTexts::TiffFileFilter(), QStringLiteral("*.TIF")},
        {WKRN_StringTable::Load(IDS_ALL_FILES_FILTER), QStringLiteral("*")},
    };
    QString& remembered = WKRN_Preferences::Current().PreviousFolderPath;
    // The filter is remembered for the run, beside the folder.
    static QString rememberedFilter;
    const WTLU_FileDialogResult chosen = WTLU_FileDialog::GetOpenFileNames(
        owner, title, filters, remembered, true, &rememberedFilter, std::move(folderChoice));
    if (!chosen.Accepted())
        return {};
    // A longer path would be refused when the preferences are read back.
    const QString folder = QDir::toNativeSeparators(chosen.folder);
    if (!folder.isEmpty() && folder.size() <= WKRN_Preferences::kMaxPathCharacters)
        remembered = folder;
    return chosen.files;
}

void WKRN_AddFilePage::ChooseFiles()
{
    const QStringList chosen =
        ChoosePreviewFiles(window(), WKRN_StringTable::Load(IDS_ADD_FILES_TITLE));
    if (chosen.isEmpty())
        return;
    AddFiles(chosen);
}

std::vector<WKRN_AddFilePage::RejectedFile> WKRN_AddFilePage::AddFiles(const QStringList& paths)
{
    std::vector<RejectedFile> rejected;
    for (const QString& path : paths)
    {
        const std::wstring widePath = path.toStdWString();
        GFIL_FileSpec spec;
        try
        {
            spec = GFIL_FileSpec(widePath);
        }
        catch (const GLIB_Exception& e)
        {
            rejected.push_back({widePath, QString::fromWCharArray(e.What())});
            continue;
        }
        QString reason;
        std::unique_ptr<IMPN_Separation> separation = ReadSeparation(spec, reason);
        if (!separation)
        {
            rejected.push_back({widePath, reason});
            continue;
        }
        m_browser->AppendSeparation(std::move(separation), std::move(spec));
    }

    if (!rejected.empty())
    {
        // The message gives only the count; the reasons go to the log for whoever needs them.
        for (const RejectedFile& file : rejected)
            LogMessage(GLIB_SEVERITY_WARNING,
                       ToNarrow(file.path) + ": " + ToNarrow(file.reason.toStdWString()), __FILE__,
                       __LINE__);
        const int count = int(rejected.size());
        WTLU_MessageBox::ShowWarning(WKRN_StringTable::Load(IDS_INVALID_PREVIEW_FILES),
                                     WKRN_FileListTexts::RejectedText(count),
                                     WKRN_FileListTexts::RejectedDetail(count), window());
    }
    UpdateControls();
    return rejected;
}

void WKRN_AddFilePage::RemoveSelected()
{
    m_browser->RemoveSelectedRows();
    UpdateControls();
}

std::vector<GFIL_FileSpec> WKRN_AddFilePage::Files() const
{
    return m_browser->Files();
}

int WKRN_AddFilePage::RowCount() const
{
    return m_browser->RowCount();
}

void WKRN_AddFilePage::UpdateControls()
{
    const QList<QTreeWidgetItem*> selected = m_browser->SelectedRows();
    m_add->setEnabled(true);
    m_remove->setEnabled(!selected.isEmpty());
    QString path;
    if (selected.size() == 1)
        if (const auto* row = dynamic_cast<const WKRN_PreviewFileRow*>(selected.front()))
            path = QString::fromStdWString(row->Path());
    m_path->setText(path);
}
