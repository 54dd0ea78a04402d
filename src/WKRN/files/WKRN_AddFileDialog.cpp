#include "WKRN/files/WKRN_AddFileDialog.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/files/WKRN_AddFilePage.h"
#include "WKRN/files/WKRN_FileListTexts.h"
#include "WKRN/files/WKRN_UnreadableFiles.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Sheet.h"
#include "TIFX/TIFX_Exception.h"
#include "WTLU/WTLU_MessageBox.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>
#include <memory>

WKRN_AddFileDialog::WKRN_AddFileDialog(QWidget* jobWindow, const QString& title,
                                       const IMPN_SheetReference& sheet)
    : QDialog(jobWindow), m_jobWindow(jobWindow), m_sheet(sheet), m_pages(new QTabWidget(this)),
      m_front(new WKRN_AddFilePage), m_back(new WKRN_AddFilePage),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("WKRN_AddFileDialog"));
    setWindowTitle(title);
    setModal(true);
    m_pages->addTab(m_front, WKRN_StringTable::Load(IDS_FRONT_SURFACE));
    m_pages->addTab(m_back, WKRN_StringTable::Load(IDS_BACK_SURFACE));
    if (m_sheet)
    {
        m_front->ShowSurface(m_sheet->GetFrontSurface());
        m_back->ShowSurface(m_sheet->GetBackSurface());
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &WKRN_AddFileDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &WKRN_AddFileDialog::reject);
    // Room for a long ink name beside a long file name, in the font in use.
    const QFontMetrics metrics(font());
    resize(sizeHint().expandedTo(QSize(metrics.averageCharWidth() * kOpeningColumns,
                                       metrics.lineSpacing() * kOpeningLines)));
}

WKRN_AddFileDialog::~WKRN_AddFileDialog()
{
    // The rows of Add mode refer to the separations of m_sheet: they must go before it does.
    delete m_pages;
    m_pages = nullptr;
}

int WKRN_AddFileDialog::Run(QWidget* jobWindow, const QString& title,
                            const IMPN_SheetReference& sheet)
{
    WKRN_AddFileDialog dialog(jobWindow, title, sheet);
    return dialog.exec();
}

bool WKRN_AddFileDialog::Apply()
{
    if (m_applied)
        return true;
    const std::vector<GFIL_FileSpec> front = m_front->Files();
    const std::vector<GFIL_FileSpec> back = m_back->Files();
    if (front.empty() && back.empty())
    {
        m_applied = true;
        return true;
    }

    IMPN_SheetReference built;
    QString failure;
    try
    {
        built = IMPN_SheetReference(new IMPN_Sheet(front, back));
    }
    catch (const TIFX_Exception& e)
    {
        failure = QString::fromStdWString(ToWide(e.GetMessage()));
    }
    catch (const GLIB_Exception& e)
    {
        failure = QString::fromWCharArray(e.What());
    }
    catch (const std::exception& e)
    {
        failure = QString::fromStdWString(ToWide(e.what()));
    }

    // Files that were valid when they were added may have changed or gone since; the sheet
    // leaves them out. Say so, and send nothing when no file at all is left.
    const std::size_t placed = built ? built->GetFrontSurface().GetSeparationCount() +
                                           built->GetBackSurface().GetSeparationCount()
                                     : 0;
    if (!failure.isEmpty())
        LogMessage(GLIB_SEVERITY_WARNING, ToNarrow(failure.toStdWString()), __FILE__, __LINE__);
    const std::size_t lost = front.size() + back.size() - placed;
    if (lost > 0)
    {
        const int count = int(lost);
        // Each file that was left out with its reason, where the sheet says it (a file gone, no
        // descriptor left) rather than the usual reason for a file that is no preview file.
        const QString reasons =
            built ? WKRN_UnreadableFiles::Lines(built->GetLeftOutFiles()) : QString();
        WTLU_MessageBox::ShowWarning(WKRN_StringTable::Load(IDS_INVALID_PREVIEW_FILES),
                                     WKRN_FileListTexts::RejectedText(count),
                                     !failure.isEmpty()  ? failure
                                     : reasons.isEmpty() ? WKRN_FileListTexts::RejectedDetail(count)
                                                         : reasons,
                                     this);
    }
    if (placed == 0)
        return false;

    m_built = built;
    m_applied = true;
    const int message = IsAddMode() ? JOBMSG_SHEET_REBUILT : JOBMSG_SHOW_SHEET;
    WTLU_MessageEvent::Send(m_jobWindow, message, 0, reinterpret_cast<qintptr>(m_built.Get()),
                            m_built);
    return true;
}

void WKRN_AddFileDialog::accept()
{
    if (Apply())
        QDialog::accept();
}
