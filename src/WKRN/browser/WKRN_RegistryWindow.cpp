#include "WKRN/browser/WKRN_RegistryWindow.h"

#include "WKRN/app/WKRN_Icons.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/browser/WKRN_RegistryBrowser.h"
#include "WKRN/browser/WKRN_RegistryItem.h"
#include "WKRN/browser/WKRN_RegistryTexts.h"
#include "WKRN/files/WKRN_FileListTexts.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "WMCT/WMCT_DoubleClickMessage.h"
#include "WMCT/WMCT_SelectionChangedMessage.h"
#include "WTLU/WTLU_MessageBox.h"
#include "WTLU/WTLU_MessageEvent.h"

#include "GLIB/GLIB_Callback.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace
{
QPointer<WKRN_RegistryWindow> s_instance;

QString DefaultChooser(QWidget* owner, const QString& prompt, const QString& initial)
{
    return QFileDialog::getExistingDirectory(
        owner, prompt, initial, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

void DefaultFileList(QWidget* owner, const QString& header, const QString& second,
                     const std::vector<WKRN_InvalidFile>& files)
{
    WKRN_FileListWindow::Run(owner, header, second, files);
}

WKRN_RegistryWindow::FolderChooser s_chooser = DefaultChooser;
WKRN_RegistryWindow::FileListPresenter s_fileList = DefaultFileList;

std::vector<std::string> SeparationFiles(const IMPN_Sheet& sheet)
{
    std::vector<std::string> files;
    for (const IMPN_Surface* surface : {&sheet.GetFrontSurface(), &sheet.GetBackSurface()})
        for (const auto& separation : surface->GetSeparations())
            files.push_back(separation->GetFilePath());
    std::sort(files.begin(), files.end());
    return files;
}
} // namespace

WKRN_RegistryWindow* WKRN_RegistryWindow::Instance()
{
    return s_instance;
}

WKRN_RegistryWindow::FolderChooser WKRN_RegistryWindow::SetFolderChooser(FolderChooser chooser)
{
    return std::exchange(s_chooser, chooser ? std::move(chooser) : DefaultChooser);
}

WKRN_RegistryWindow::FileListPresenter
WKRN_RegistryWindow::SetFileListPresenter(FileListPresenter presenter)
{
    return std::exchange(s_fileList, presenter ? std::move(presenter) : DefaultFileList);
}

WKRN_RegistryWindow* WKRN_RegistryWindow::ShowFor(QWidget* requester, QObject* application)
{
    const bool first = s_instance.isNull();
    if (first)
    {
        s_instance = new WKRN_RegistryWindow();
        // Made without an owner, it would outlive the run: it goes when the event loop ends.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp,
                         [] { delete s_instance.data(); });
    }
    WKRN_RegistryWindow* window = s_instance;
    window->m_target = requester;
    window->m_application = application;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    if (first)
        window->ChooseAndScan();
    return window;
}

WKRN_RegistryWindow::WKRN_RegistryWindow()
    : QDialog(nullptr), m_browser(new WKRN_RegistryBrowser(this)),
      m_rescan(new QPushButton(WKRN_RegistryTexts::RescanButton(), this)),
      m_open(new QPushButton(WKRN_RegistryTexts::OpenButton(), this)),
      m_stop(new QPushButton(WKRN_StringTable::Load(IDS_BROWSER_STOP), this)),
      m_progress(new QProgressBar(this)), m_status(new QLabel(this)), m_folder(new QLabel(this)),
      m_scanner(this)
{
    setObjectName(QStringLiteral("WKRN_RegistryWindow_204"));
    setWindowTitle(WKRN_RegistryTexts::Title());
    setWindowIcon(WKRN_Icons::Program());
    setModal(false);
    setSizeGripEnabled(true);
    m_rescan->setObjectName(QStringLiteral("WKRN_RegistryWindow_1011"));
    m_open->setObjectName(QStringLiteral("WKRN_RegistryWindow_1010"));
    m_progress->setObjectName(QStringLiteral("WKRN_RegistryWindow_1033"));
    m_status->setObjectName(QStringLiteral("WKRN_RegistryWindow_1034"));
    m_open->setDefault(true);
    m_rescan->setAutoDefault(false);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_status->setTextFormat(Qt::PlainText);
    m_status->hide();
    m_stop->setObjectName(QStringLiteral("WKRN_RegistryWindow_Stop"));
    m_stop->setAutoDefault(false);
    m_stop->hide();
    m_folder->setObjectName(QStringLiteral("WKRN_RegistryWindow_Folder"));
    m_folder->setTextFormat(Qt::PlainText);
    // A long path may be shortened in the middle: the label must not widen the window.
    m_folder->setMinimumWidth(1);
    m_folder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // The tree takes every new pixel; the buttons, bar and text keep their distance to the right
    // and bottom edges.
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_folder, 0, 0, 1, 6);
    layout->addWidget(m_browser, 1, 0, 1, 6);
    layout->addWidget(m_progress, 2, 0);
    layout->addWidget(m_status, 2, 1);
    layout->setColumnStretch(2, 1);
    layout->addWidget(m_stop, 2, 3);
    layout->addWidget(m_rescan, 2, 4);
    layout->addWidget(m_open, 2, 5);
    layout->setRowStretch(1, 1);
    resize(kWidth, kHeight);
    setMinimumSize(kWidth, kHeight);

    connect(m_rescan, &QPushButton::clicked, this, &WKRN_RegistryWindow::ChooseAndScan);
    connect(m_open, &QPushButton::clicked, this, &WKRN_RegistryWindow::Open);
    connect(m_stop, &QPushButton::clicked, this, &WKRN_RegistryWindow::StopScan);
    m_browser->AddCallback(GLIB_MakeCallback(this, &WKRN_RegistryWindow::OnDoubleClick));
    m_browser->AddCallback(GLIB_MakeCallback(this, &WKRN_RegistryWindow::OnSelectionChanged));
    UpdateCommandState();
}

WKRN_RegistryWindow::~WKRN_RegistryWindow() = default;

QWidget* WKRN_RegistryWindow::Target() const
{
    return m_target;
}

void WKRN_RegistryWindow::UpdateCommandState()
{
    const bool scanning = IsScanning();
    m_rescan->setEnabled(!scanning);
    m_open->setEnabled(!scanning && !m_browser->SelectedItem().IsEmpty());
    m_stop->setVisible(scanning);
}

void WKRN_RegistryWindow::OnDoubleClick(const WMCT_DoubleClickMessage&)
{
    Open();
}

void WKRN_RegistryWindow::OnSelectionChanged(const WMCT_SelectionChangedMessage&)
{
    UpdateCommandState();
}

void WKRN_RegistryWindow::ChooseAndScan()
{
    if (IsScanning())
        return;
    QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    QString& remembered = WKRN_Preferences::Current().PreviousFolderPath;
    const QString folder = s_chooser(owner, WKRN_StringTable::Load(IDS_BROWSE_PROMPT), remembered);
    if (folder.isEmpty())
        return;
    remembered = folder;
    ScanFolder(folder);
}

void WKRN_RegistryWindow::ScanFolder(const QString& folder)
{
    m_progress->setValue(0);
    m_progress->show();
    m_status->show();
    m_scanner.Start(folder.toStdString(),
                    [this](WKRN_RegistryScanner::Result& result) { ScanEnded(result); });
    UpdateCommandState();
}

void WKRN_RegistryWindow::StopScan()
{
    m_scanner.Stop();
}

void WKRN_RegistryWindow::WaitForScan()
{
    while (IsScanning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

/* The scan's registry replaces the one shown only now, complete: the tree never shows a
   registry another thread is still filling. */
void WKRN_RegistryWindow::ScanEnded(WKRN_RegistryScanner::Result& result)
{
    m_record = result.record;
    const QString folder = QString::fromStdString(m_record.folder);
    m_browser->Take(std::move(result.registry),
                    WKRN_Preferences::Current().ShowEntireImpositionTree);
    ShowFolder();
    UpdateCommandState();
    const std::vector<WMCT_ItemRef> top = m_browser->Children({});
    if (!top.empty())
        m_browser->SelectItem(top.front());
    m_progress->hide();
    if (m_record.stopped)
        m_status->setText(WKRN_StringTable::Load(IDS_BROWSER_STOPPED)
                              .arg(m_record.validCount + m_record.invalidCount)
                              .arg(m_record.total));
    else
        m_status->hide();
    // Wide enough for what the tree shows, as far as the screen allows.
    const int wanted = width() - m_browser->viewport()->width() +
                       m_browser->ContentWidth(WKRN_RegistryBrowser::kItemColumn) +
                       m_browser->ContentWidth(WKRN_RegistryBrowser::kPrintTimeColumn);
    if (wanted > width())
        if (const QScreen* shown = screen())
            resize(std::min(wanted, shown->availableGeometry().width() * 9 / 10), height());
    UpdateCommandState();

    if (!result.listed)
        WTLU_MessageBox::ShowError(
            WKRN_RegistryTexts::Title(), WKRN_StringTable::Load(IDS_FOLDER_UNREADABLE),
            folder + QStringLiteral(": ") + QString::fromStdString(m_record.listError), this);
    else if (m_record.invalidCount > 0 && !m_record.stopped)
        ReportInvalidFiles();
}

/* The path of the folder the tree lists, shortened in the middle where the window is too
   narrow: both its start and the folder's own name stay readable. */
void WKRN_RegistryWindow::ShowFolder()
{
    const QString path = QString::fromStdString(m_record.folder);
    m_folder->setToolTip(path);
    const QString text = WKRN_StringTable::Load(IDS_BROWSER_FOLDER);
    const QString label = text.arg(QString());
    const int room =
        std::max(0, m_folder->width() - m_folder->fontMetrics().horizontalAdvance(label));
    m_folder->setText(text.arg(m_folder->fontMetrics().elidedText(path, Qt::ElideMiddle, room)));
}

void WKRN_RegistryWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    ShowFolder();
}

/* Closed by its close box, Escape or the program, not minimised by the window system: a scan in
   progress goes with the window, and nothing of it is asked or shown later. */
void WKRN_RegistryWindow::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous() && IsScanning())
    {
        m_scanner.Cancel();
        m_progress->hide();
        m_status->hide();
        UpdateCommandState();
    }
    QDialog::hideEvent(event);
}

void WKRN_RegistryWindow::ShowProgress(int done, int total, bool setBar)
{
    if (setBar && total > 0)
        m_progress->setValue(int(qint64(done) * 100 / total));
    m_status->setText(WKRN_RegistryTexts::Processed(done, total));
}

bool WKRN_RegistryWindow::event(QEvent* event)
{
    if (!WTLU_MessageEvent::IsMessage(event))
        return QDialog::event(event);
    const auto* message = static_cast<const WTLU_MessageEvent*>(event);
    switch (message->Message())
    {
    case BROWSERMSG_SCAN_STARTED:
        m_status->setText(WKRN_StringTable::Load(IDS_SCANNING));
        return true;
    case BROWSERMSG_FILE_PROCESSED:
        ShowProgress(int(message->WParam()), int(message->LParam()), true);
        return true;
    case BROWSERMSG_SCAN_FINISHED:
        m_progress->setValue(100);
        ShowProgress(int(message->LParam()), int(message->WParam()), false);
        return true;
    default:
        return QDialog::event(event);
    }
}

void WKRN_RegistryWindow::ReportInvalidFiles()
{
    const int count = m_record.invalidCount;
    const int answer = WTLU_MessageBox::ShowWarning(
        WKRN_StringTable::Load(IDS_INVALID_PREVIEW_FILES), WKRN_RegistryTexts::ReportText(count),
        WKRN_RegistryTexts::ReportDetail(count), this, WTLU_MB_YESNO | WTLU_MB_DEFBUTTON2);
    if (answer != WTLU_IDYES)
        return;
    std::vector<WKRN_InvalidFile> files;
    for (std::size_t i = 0; i < m_record.invalidFiles.size(); ++i)
    {
        const std::string& reason = m_record.reasons[i];
        files.push_back({QString::fromStdString(m_record.invalidFiles[i]),
                         reason == IMPN_RegistryScan::MissingTagReason
                             ? WKRN_FileListTexts::MissingTagReason()
                             : QString::fromStdString(reason)});
    }
    QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    s_fileList(owner, WKRN_RegistryTexts::ReportText(count),
               WKRN_StringTable::Load(count == 1 ? IDS_SURFACE_INVALID_ONE_DETAIL
                                                 : IDS_SURFACE_INVALID_MANY_DETAIL),
               files);
}

bool WKRN_RegistryWindow::SameSheet(const IMPN_Sheet& a, const IMPN_Sheet& b)
{
    if (&a == &b)
        return true;
    return a.GetTitle() == b.GetTitle() && a.GetSignatureNumber() == b.GetSignatureNumber() &&
           a.GetWebNumber() == b.GetWebNumber() && SeparationFiles(a) == SeparationFiles(b);
}

/* The job windows are the application's top-level windows that are job windows; each is asked
   through the interface it offers its parts. */
QWidget* WKRN_RegistryWindow::WindowShowing(const IMPN_Sheet& sheet)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (const WKRN_SheetWindowHost* job = WKRN_SheetWindowHost::Of(widget))
            if (job->ShowsSheet() && SameSheet(*job->Sheet(), sheet))
                return widget;
    return nullptr;
}

void WKRN_RegistryWindow::Open()
{
    const WMCT_ItemRef selected = m_browser->SelectedItem();
    const WKRN_RegistryItem* row = m_browser->Item(selected);
    if (row == nullptr || row->Node() == nullptr)
        return;
    std::vector<IMPN_Sheet*> found;
    row->Node()->CollectSheets(found);
    if (found.empty())
        return;
    std::vector<IMPN_SheetReference> sheets;
    QWidget* shown = nullptr;
    for (IMPN_Sheet* sheet : found)
    {
        if (QWidget* job = WindowShowing(*sheet))
            shown = job;
        else
            sheets.emplace_back(sheet);
    }
    hide();
    if (shown != nullptr && sheets.empty())
    {
        if (shown->isMinimized())
            shown->showNormal();
        shown->raise();
        shown->activateWindow();
        return;
    }
    if (m_target)
        WTLU_MessageEvent::Post(m_target, JOBMSG_SHOW_SHEETS, 0, 0, sheets);
    else
        for (const IMPN_SheetReference& sheet : sheets)
            WTLU_MessageEvent::Post(m_application, APPMSG_OPEN_JOB, 0, 0, sheet);
}
