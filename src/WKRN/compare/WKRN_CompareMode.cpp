#include "WKRN/compare/WKRN_CompareMode.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/files/WKRN_AddFilePage.h"
#include "WKRN/palettes/WKRN_NavigationWindow.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesApplied.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "WTLU/WTLU_MessageBox.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QStatusBar>

#include <algorithm>
#include <exception>
#include <set>

namespace
{
bool IsPreviewFileName(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == QLatin1String("krn") || suffix == QLatin1String("prv") ||
           suffix == QLatin1String("tif");
}

// The preview files a chosen path stands for: the file itself, or a folder's preview files by
// name, as the command-line tool reads a folder.
QStringList FilesOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return {path};
    QStringList files;
    for (const QFileInfo& entry : QDir(path).entryInfoList(QDir::Files, QDir::Name))
        if (IsPreviewFileName(entry.fileName()))
            files << entry.absoluteFilePath();
    return files;
}

// The threads that count, as many as make the view's tiles.
unsigned CountingThreads()
{
    const int wanted = WKRN_Preferences::Current().RenderThreads;
    return wanted > 0 ? unsigned(wanted) : IMPN_WorkerPool::DefaultWorkerCount();
}

IMPN_ColorBGR ColourOf(const WKRN_ColorBytes& bytes)
{
    return IMPN_ColorBGR{bytes.blue, bytes.green, bytes.red};
}

// "Title: Signature 1 Web 2", as the job window names its job.
QString SheetName(const IMPN_Sheet& sheet)
{
    QString suffix = WKRN_StringTable::Load(IDS_JOB_NAME_FORMAT);
    for (std::uint32_t number : {sheet.GetSignatureNumber(), sheet.GetWebNumber()})
    {
        const qsizetype at = suffix.indexOf(QStringLiteral("%i"));
        if (at >= 0)
            suffix.replace(at, 2, QString::number(number));
    }
    return QString::fromStdString(sheet.GetTitle()) + suffix;
}
} // namespace

WKRN_CompareMode::WKRN_CompareMode(WKRN_SheetWindowHost& window, WKRN_SheetView& view)
    : m_Window(window), m_View(view)
{
    TakeColours();
    m_Pane = new QLabel(m_Window.HostWindow().statusBar());
    m_Pane->setObjectName(QStringLiteral("WKRN_ComparePane"));
    m_Window.HostWindow().statusBar()->addPermanentWidget(m_Pane);
    m_Pane->hide();
    connect(&WKRN_PreferencesApplied::Instance(), &WKRN_PreferencesApplied::Applied, this,
            [this]
            {
                const IMPN_CompareLook before = m_Look;
                TakeColours();
                if (!m_Comparison ||
                    (before.added == m_Look.added && before.removed == m_Look.removed))
                    return;
                m_Comparison->LookChanged();
                m_View.Redraw();
                ShowMarks();
            });
}

WKRN_CompareMode::~WKRN_CompareMode()
{
    // The window is going: its palettes and bars are not asked for anything any more.
    StopCounting();
    if (m_Comparison)
        m_View.DropPendingTiles();
    m_Comparison.reset();
}

void WKRN_CompareMode::Install()
{
    m_Window.SetCommandHandler(ID_SHEET_COMPARE_WITH, [this] { ChooseOtherVersion(); });
}

void WKRN_CompareMode::InstallModeCommands(bool on)
{
    m_Window.SetCommandHandler(ID_SHEET_NEXT_DIFFERENCE,
                               on ? std::function<void()>([this] { Next(); }) : nullptr);
    m_Window.SetCommandHandler(ID_SHEET_PREVIOUS_DIFFERENCE,
                               on ? std::function<void()>([this] { Previous(); }) : nullptr);
    m_Window.SetCommandHandler(ID_SHEET_COMPARE_OFF,
                               on ? std::function<void()>([this] { Off(); }) : nullptr);
}

void WKRN_CompareMode::TakeColours()
{
    const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();
    m_Look.added = ColourOf(preferences.CompareAddedColor);
    m_Look.removed = ColourOf(preferences.CompareRemovedColor);
}

void WKRN_CompareMode::ChooseOtherVersion()
{
    // A version is often a folder of its own: one holding preview files may be chosen whole.
    const QStringList chosen = WKRN_AddFilePage::ChoosePreviewFiles(
        &m_Window.HostWindow(), WKRN_StringTable::Load(IDS_COMPARE_TITLE),
        [](const QString& folder) { return !FilesOf(folder).isEmpty(); });
    if (!chosen.isEmpty())
        CompareWith(chosen);
}

bool WKRN_CompareMode::CompareWith(const QStringList& paths)
{
    const IMPN_SheetReference& sheet = m_Window.Sheet();
    if (!sheet)
        return false;
    // The other version is placed as every file the viewer opens is, one file at a time so that
    // one broken file cannot take the rest with it.
    auto registry = std::make_unique<IMPN_Registry>();
    int placed = 0;
    for (const QString& path : paths)
        for (const QString& file : FilesOf(path))
        {
            try
            {
                placed += registry->AddFiles({GFIL_FileSpec(file.toStdWString())}, false);
            }
            catch (const GLIB_Exception& e)
            {
                LogMessage(GLIB_SEVERITY_WARNING, e.WhatNarrow(), __FILE__, __LINE__);
            }
            catch (const std::exception& e)
            {
                LogMessage(GLIB_SEVERITY_WARNING, file.toStdString() + ": " + e.what(), __FILE__,
                           __LINE__);
            }
        }
    QWidget* owner = &m_Window.HostWindow();
    if (placed == 0)
    {
        WTLU_MessageBox::ShowWarning(IDS_COMPARE_TITLE, IDS_COMPARE_NO_PREVIEW_FILES,
                                     IDS_COMPARE_NO_PREVIEW_FILES_DETAIL, owner);
        return false;
    }
    auto comparison = std::make_unique<IMPN_SheetComparison>(*sheet, std::move(registry), m_Look);
    if (comparison->GetOtherSheet() == nullptr)
    {
        WTLU_MessageBox::ShowWarning(
            WKRN_StringTable::Load(IDS_COMPARE_TITLE),
            WKRN_StringTable::Load(IDS_COMPARE_NO_SHEET).arg(SheetName(*sheet)),
            WKRN_StringTable::Load(IDS_COMPARE_NO_SHEET_DETAIL), owner);
        return false;
    }

    Off();
    comparison->Begin(CountingThreads());
    m_Comparison = std::move(comparison);
    m_Current = -1;
    StartCounting();
    InstallModeCommands(true);
    ShowPicturesWhenCounted();
    Refresh(true);
    return true;
}

void WKRN_CompareMode::ShowPicturesWhenCounted()
{
    if (!m_Comparison || m_Comparison->ShowsPictures() ||
        !m_Comparison->IsSideCounted(FacingSide()))
        return;
    // The pending tiles are the sheet's own pictures'; the new ones are asked for afresh.
    m_View.DropPendingTiles();
    m_Comparison->ShowPictures();
    m_View.Redraw();
}

void WKRN_CompareMode::StartCounting()
{
    const unsigned threads = CountingThreads();
    if (threads > 1)
        m_Pool = std::make_unique<IMPN_WorkerPool>(threads - 1);
    m_Stop = false;
    const std::uint64_t generation = ++m_Generation;
    IMPN_SheetComparison* comparison = m_Comparison.get();
    IMPN_WorkerPool* pool = m_Pool.get();
    const std::vector<std::size_t> order = comparison->TaskOrder(FacingSide());
    m_Thread = std::thread(
        [this, comparison, pool, order, generation]
        {
            for (std::size_t task : order)
            {
                comparison->RunTask(task, pool, &m_Stop);
                // A task that was stopped has partial counts: they are never adopted.
                if (m_Stop.load())
                    return;
                QMetaObject::invokeMethod(
                    this, [this, generation, task] { Adopt(generation, task); },
                    Qt::QueuedConnection);
            }
        });
}

void WKRN_CompareMode::StopCounting()
{
    m_Stop = true;
    if (m_Thread.joinable())
        m_Thread.join();
    ++m_Generation;
    m_Pool.reset();
}

void WKRN_CompareMode::Adopt(std::uint64_t generation, std::size_t task)
{
    if (generation != m_Generation || !m_Comparison)
        return;
    m_Comparison->FinishTask(task);
    ShowPicturesWhenCounted();
    Refresh(true);
    if (!IsCounted())
        return;
    std::set<std::string> said;
    for (int side = 0; side < 2; ++side)
        for (const std::string& warning : m_Comparison->Summarize(side).warnings)
            if (said.insert(warning).second)
                LogMessage(GLIB_SEVERITY_WARNING, warning, __FILE__, __LINE__);
}

void WKRN_CompareMode::Off()
{
    if (!m_Comparison)
        return;
    StopCounting();
    // The view's pending tiles come from the comparison's pictures, which go now.
    m_View.DropPendingTiles();
    m_Comparison.reset();
    InstallModeCommands(false);
    m_Summary = {};
    m_SummaryKey.clear();
    m_Current = -1;
    m_Pane->hide();
    ShowMarks();
    m_View.Redraw();
}

void WKRN_CompareMode::SheetChanged()
{
    Off();
}

void WKRN_CompareMode::ViewChanged()
{
    ShowPicturesWhenCounted();
    Refresh(false);
}

bool WKRN_CompareMode::IsCounted() const
{
    return m_Comparison && m_Comparison->GetFinishedCount() == m_Comparison->GetTaskCount();
}

int WKRN_CompareMode::FacingSide() const
{
    return m_View.IsFlipped() ? 1 : 0;
}

void WKRN_CompareMode::Refresh(bool force)
{
    if (!m_Comparison)
        return;
    const int side = FacingSide();
    std::vector<int> key{side, int(m_Comparison->GetFinishedCount())};
    const IMPN_Sheet& sheet = *m_Comparison->GetShownSheet();
    for (const auto& separation :
         (side == 0 ? sheet.GetFrontSurface() : sheet.GetBackSurface()).GetSeparations())
        key.push_back(separation->IsVisible() ? 1 : 0);
    if (!force && key == m_SummaryKey)
        return;
    if (m_SummaryKey.empty() || m_SummaryKey[0] != side)
        m_Current = -1;
    m_SummaryKey = std::move(key);
    m_Summary = m_Comparison->Summarize(side);
    if (m_Current >= int(m_Summary.regions.size()))
        m_Current = -1;
    ShowStatus();
    ShowMarks();
}

void WKRN_CompareMode::ShowStatus()
{
    const QLocale locale;
    QStringList parts;
    const std::size_t tasks = m_Comparison->GetTaskCount();
    const std::size_t finished = m_Comparison->GetFinishedCount();
    if (finished < tasks)
        parts << WKRN_StringTable::Load(IDS_COMPARE_COUNTING)
                     .arg(qulonglong(finished))
                     .arg(qulonglong(tasks));
    if (finished == tasks && m_Summary.added == 0 && m_Summary.removed == 0)
        parts << WKRN_StringTable::Load(IDS_COMPARE_NO_DIFFERENCE);
    else
    {
        if (m_Current >= 0)
            parts << WKRN_StringTable::Load(IDS_COMPARE_REGION)
                         .arg(m_Current + 1)
                         .arg(qulonglong(m_Summary.regions.size()));
        parts << WKRN_StringTable::Load(IDS_COMPARE_COUNTS)
                     .arg(locale.toString(qulonglong(m_Summary.added)),
                          locale.toString(qulonglong(m_Summary.removed)),
                          locale.toString(qulonglong(m_Summary.regions.size())));
    }
    if (m_Summary.oneVersionOnly > 0)
        parts << WKRN_StringTable::Load(IDS_COMPARE_ONE_VERSION_ONLY)
                     .arg(qulonglong(m_Summary.oneVersionOnly));
    if (m_Summary.notComparable > 0)
        parts << WKRN_StringTable::Load(IDS_COMPARE_NOT_COMPARABLE)
                     .arg(qulonglong(m_Summary.notComparable));
    if (!m_Summary.warnings.empty())
        parts << WKRN_StringTable::Load(IDS_COMPARE_UNDECODABLE)
                     .arg(qulonglong(m_Summary.warnings.size()));
    m_Pane->setText(parts.join(QStringLiteral("; ")));
    m_Pane->show();
}

void WKRN_CompareMode::ShowMarks()
{
    auto* navigation = qobject_cast<WKRN_NavigationWindow*>(m_Window.Palette(ID_WINDOW_NAVIGATION));
    if (navigation == nullptr)
        return;
    std::vector<QRectF> marks;
    const IMPN_Sheet* sheet = m_Comparison ? m_Comparison->GetShownSheet() : nullptr;
    if (sheet != nullptr && sheet->GetImageWidth() > 0 && sheet->GetImageLength() > 0)
    {
        const double width = sheet->GetImageWidth(), height = sheet->GetImageLength();
        for (const IMPN_Rect& r : m_Summary.regions)
            marks.emplace_back(r.left / width, r.top / height, r.width / width, r.height / height);
    }
    navigation->SetRegionMarks(std::move(marks), m_Current,
                               QColor(m_Look.added[2], m_Look.added[1], m_Look.added[0]));
}

void WKRN_CompareMode::CentreOn(int region)
{
    const IMPN_Sheet* sheet = m_Comparison ? m_Comparison->GetShownSheet() : nullptr;
    if (sheet == nullptr || region < 0 || region >= int(m_Summary.regions.size()) ||
        sheet->GetImageWidth() == 0 || sheet->GetImageLength() == 0)
        return;
    const IMPN_Rect& r = m_Summary.regions[std::size_t(region)];
    const double width = sheet->GetImageWidth(), height = sheet->GetImageLength();
    // The view scrolls its top-left corner to fractions of the picture.
    const std::array<double, 4> shown = m_View.VisibleFractions();
    const std::array<double, 2> corner{(r.top + r.height / 2.0) / height - shown[3] / 2,
                                       (r.left + r.width / 2.0) / width - shown[2] / 2};
    WTLU_MessageEvent::Send(&m_View, JOBMSG_PAN_REQUEST, 0, 0, corner);
}

void WKRN_CompareMode::Next()
{
    const int n = int(m_Summary.regions.size());
    if (n == 0)
        return;
    m_Current = (m_Current + 1) % n;
    CentreOn(m_Current);
    ShowStatus();
    ShowMarks();
}

void WKRN_CompareMode::Previous()
{
    const int n = int(m_Summary.regions.size());
    if (n == 0)
        return;
    m_Current = m_Current <= 0 ? n - 1 : m_Current - 1;
    CentreOn(m_Current);
    ShowStatus();
    ShowMarks();
}
