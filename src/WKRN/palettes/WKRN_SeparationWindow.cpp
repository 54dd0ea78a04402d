#include "WKRN/palettes/WKRN_SeparationWindow.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/palettes/WKRN_SeparationWindowRow.h"
#include "WKRN/palettes/WKRN_SeparationWindowSurfaceRow.h"
#include "WKRN/palettes/WKRN_TextBoxButton.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "WTLU/WTLU_MessageBox.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QFontMetrics>
#include <QMainWindow>

#include <algorithm>
#include <exception>
#include <optional>

namespace
{
constexpr int kNameColumnPadding = 10;
constexpr int kMinNameColumn = 45;

/* The job window hears 0x801B when the colour dialog opens and 0x801C however the pick ends: a
   cancel, an error box, an exception on the way out. */
class PopUpScope
{
public:
    explicit PopUpScope(QObject* job) : m_job(job)
    {
        WTLU_MessageEvent::Send(m_job, JOBMSG_POPUP_STARTED);
    }
    ~PopUpScope() { WTLU_MessageEvent::Send(m_job, JOBMSG_POPUP_ENDED); }
    PopUpScope(const PopUpScope&) = delete;
    PopUpScope& operator=(const PopUpScope&) = delete;

private:
    QObject* m_job;
};

QColor ToQColor(const IMPN_ColorBGR& color)
{
    return QColor(color[2], color[1], color[0]);
}
} // namespace

WKRN_SeparationWindow::WKRN_SeparationWindow(WKRN_SheetWindowHost& job, QWidget* parent)
    : QWidget(parent), m_job(job)
{
    setObjectName(QStringLiteral("WKRN_SeparationWindow"));
    const QFontMetrics metrics(font());
    m_nameColumn =
        std::max(kMinNameColumn,
                 std::max(metrics.horizontalAdvance(WKRN_StringTable::Load(IDS_FRONT_SURFACE)),
                          metrics.horizontalAdvance(WKRN_StringTable::Load(IDS_BACK_SURFACE))) +
                     kNameColumnPadding);
    job.WhenColoursChange(this, [this] { Refresh(); });
}

WKRN_SeparationWindow::~WKRN_SeparationWindow() = default;

WTLU_ColorDialog::CustomColors& WKRN_SeparationWindow::CustomColors()
{
    static WTLU_ColorDialog::CustomColors table = WTLU_ColorDialog::WhiteTable();
    return table;
}

void WKRN_SeparationWindow::SetSheet(const IMPN_SheetReference& sheet, bool frontFaces)
{
    m_frontFaces = frontFaces;
    // The rows point into the sheet: they go before the last reference to it can.
    const IMPN_SheetReference keep = m_sheet;
    m_sheet = sheet;
    Rebuild();
}

void WKRN_SeparationWindow::Rebuild()
{
    for (WKRN_SeparationWindowRow* row : m_rows)
        delete row;
    delete m_frontRow;
    delete m_backRow;
    m_rows.clear();
    m_frontRows.clear();
    m_backRows.clear();
    m_frontRow = nullptr;
    m_backRow = nullptr;
    if (m_sheet)
    {
        auto build = [this](IMPN_Surface& surface, unsigned longId, unsigned shortId,
                            WKRN_SeparationWindowSurfaceRow*& heading,
                            std::vector<WKRN_SeparationWindowRow*>& rows)
        {
            if (!surface.HasSeparations())
                return;
            heading = new WKRN_SeparationWindowSurfaceRow(surface, WKRN_StringTable::Load(longId),
                                                          WKRN_StringTable::Load(shortId),
                                                          m_nameColumn, this);
            connect(heading, &WKRN_SeparationWindowSurfaceRow::OpacityMoved, this,
                    &WKRN_SeparationWindow::OnSurfaceOpacityMoved);
            heading->show();
            for (const auto& separation : surface.GetSeparations())
            {
                auto* row = new WKRN_SeparationWindowRow(*separation, this);
                connect(row, &WKRN_SeparationWindowRow::VisibilityClicked, this,
                        &WKRN_SeparationWindow::OnVisibilityClicked);
                connect(row, &WKRN_SeparationWindowRow::OpacityMoved, this,
                        &WKRN_SeparationWindow::OnOpacityMoved);
                connect(row, &WKRN_SeparationWindowRow::SwatchClicked, this,
                        &WKRN_SeparationWindow::OnSwatchClicked);
                connect(row, &WKRN_SeparationWindowRow::NameClicked, this,
                        &WKRN_SeparationWindow::OnNameClicked);
                row->show();
                rows.push_back(row);
            }
        };
        build(m_sheet->GetFrontSurface(), IDS_FRONT_SURFACE, IDS_FRONT_SHORT, m_frontRow,
              m_frontRows);
        build(m_sheet->GetBackSurface(), IDS_BACK_SURFACE, IDS_BACK_SHORT, m_backRow, m_backRows);
    }
    LayOut();
    updateGeometry();
}

int WKRN_SeparationWindow::ContentHeight() const
{
    int height = kTopMargin;
    int groups = 0;
    for (const auto* heading : {m_frontRow, m_backRow})
        if (heading != nullptr)
            ++groups;
    height += groups * WKRN_SeparationWindowSurfaceRow::kHeight;
    height += int(m_frontRows.size() + m_backRows.size()) * WKRN_SeparationWindowRow::kHeight;
    if (groups == 2)
        height += kGroupGap;
    return height + kTopMargin;
}

QSize WKRN_SeparationWindow::sizeHint() const
{
    return QSize(kWidth, ContentHeight());
}

QSize WKRN_SeparationWindow::minimumSizeHint() const
{
    return QSize(40, ContentHeight());
}

void WKRN_SeparationWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

/* The group of the surface facing the viewer comes first; a second group follows 4 pixels
   further down. */
void WKRN_SeparationWindow::LayOut()
{
    struct Group
    {
        WKRN_SeparationWindowSurfaceRow* heading;
        const std::vector<WKRN_SeparationWindowRow*>* rows;
    };
    Group front{m_frontRow, &m_frontRows};
    Group back{m_backRow, &m_backRows};
    const Group order[2] = {m_frontFaces ? front : back, m_frontFaces ? back : front};
    m_rows.clear();
    int y = kTopMargin;
    bool first = true;
    for (const Group& group : order)
    {
        if (group.heading == nullptr)
            continue;
        if (!first)
            y += kGroupGap;
        first = false;
        group.heading->setGeometry(0, y, width(), WKRN_SeparationWindowSurfaceRow::kHeight);
        y += WKRN_SeparationWindowSurfaceRow::kHeight;
        for (WKRN_SeparationWindowRow* row : *group.rows)
        {
            row->setGeometry(0, y, width(), WKRN_SeparationWindowRow::kHeight);
            y += WKRN_SeparationWindowRow::kHeight;
            m_rows.push_back(row);
        }
    }
}

WKRN_SeparationWindowRow* WKRN_SeparationWindow::RowOf(const IMPN_Separation& separation) const
{
    for (WKRN_SeparationWindowRow* row : m_rows)
        if (&row->Separation() == &separation)
            return row;
    return nullptr;
}

WKRN_SeparationWindowSurfaceRow*
WKRN_SeparationWindow::SurfaceRowOf(const IMPN_Surface& surface) const
{
    for (WKRN_SeparationWindowSurfaceRow* heading : {m_frontRow, m_backRow})
        if (heading != nullptr && &heading->Surface() == &surface)
            return heading;
    return nullptr;
}

void WKRN_SeparationWindow::Refresh()
{
    if (!m_sheet)
        return;
    for (IMPN_Surface* surface : {&m_sheet->GetFrontSurface(), &m_sheet->GetBackSurface()})
        for (const auto& separation : surface->GetSeparations())
            separation->Prepare();
    for (WKRN_SeparationWindowRow* row : m_rows)
        row->Update();
}

void WKRN_SeparationWindow::SendToJob(int message, quintptr wParam)
{
    WTLU_MessageEvent::Send(&m_job.HostWindow(), message, wParam);
}

bool WKRN_SeparationWindow::event(QEvent* event)
{
    if (!WTLU_MessageEvent::IsMessage(event))
        return QWidget::event(event);
    const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
    switch (message.Message())
    {
    case SEPMSG_FACING:
        m_frontFaces = message.WParam() == 1;
        LayOut();
        return true;
    case JOBMSG_SURFACE_OPACITY:
    {
        // The job window changed the opacity of the surface facing the viewer.
        const IMPN_Surface* top = m_job.View() ? m_job.View()->GetTopSurface() : nullptr;
        if (top == nullptr && m_sheet)
            top = m_frontFaces ? &m_sheet->GetFrontSurface() : &m_sheet->GetBackSurface();
        if (top != nullptr)
            if (WKRN_SeparationWindowSurfaceRow* heading = SurfaceRowOf(*top))
                heading->SetSliderPosition(int(message.WParam()));
        return true;
    }
    default:
        return QWidget::event(event);
    }
}

std::vector<WKRN_SeparationWindowRow*>
WKRN_SeparationWindow::RowsOfSurface(const WKRN_SeparationWindowRow* row) const
{
    for (const auto* rows : {&m_frontRows, &m_backRows})
        if (std::find(rows->begin(), rows->end(), row) != rows->end())
            return *rows;
    return {};
}

/* Ctrl shows only this separation of its surface, or, when it is already the only one shown,
   all of them again: the clicked row stays shown either way. Shift gives every row of the surface
   the clicked row's new state. */
void WKRN_SeparationWindow::OnVisibilityClicked(WKRN_SeparationWindowRow* row, bool checked,
                                                Qt::KeyboardModifiers modifiers)
{
    IMPN_Separation& clicked = row->Separation();
    const std::vector<WKRN_SeparationWindowRow*> rows = RowsOfSurface(row);
    if (modifiers & Qt::ControlModifier)
    {
        const bool alone = clicked.IsVisible() &&
                           std::none_of(rows.begin(), rows.end(),
                                        [row](const WKRN_SeparationWindowRow* other) {
                                            return other != row && other->Separation().IsVisible();
                                        });
        clicked.SetVisible(true);
        for (WKRN_SeparationWindowRow* other : rows)
            if (other != row)
                other->Separation().SetVisible(alone);
    }
    else
    {
        clicked.SetVisible(checked);
        if (modifiers & Qt::ShiftModifier)
            for (WKRN_SeparationWindowRow* other : rows)
                other->Separation().SetVisible(checked);
    }
    for (WKRN_SeparationWindowRow* each : rows)
        each->Update();
    row->Update();
    SendToJob(JOBMSG_SEPARATION_VISIBILITY);
}

void WKRN_SeparationWindow::OnOpacityMoved(WKRN_SeparationWindowRow* row, int opacity)
{
    row->Separation().SetOpacity(opacity);
    row->Update();
    SendToJob(JOBMSG_SEPARATION_COLOUR);
}

void WKRN_SeparationWindow::OnSurfaceOpacityMoved(WKRN_SeparationWindowSurfaceRow* row, int opacity)
{
    row->Surface().SetOpacity(opacity);
    SendToJob(JOBMSG_SURFACE_OPACITY, quintptr(row->Surface().GetOpacity()));
}

void WKRN_SeparationWindow::OnSwatchClicked(WKRN_SeparationWindowRow* row,
                                            Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier)
    {
        row->Separation().SetCurrentColor(row->Separation().GetDecidedColor());
        row->Update();
        SendToJob(JOBMSG_SEPARATION_COLOUR);
        return;
    }
    PickColour(*row);
}

/* Shift makes every row of both surfaces show the text at the clicked row's new position, where
   it has one (not every separation has a CMYK equivalent). */
void WKRN_SeparationWindow::OnNameClicked(WKRN_SeparationWindowRow* row,
                                          Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ShiftModifier))
        return;
    const int index = row->NameField()->Index();
    for (WKRN_SeparationWindowRow* other : m_rows)
        if (other != row)
            other->NameField()->SetIndex(index);
}

void WKRN_SeparationWindow::PickColour(WKRN_SeparationWindowRow& row)
{
    IMPN_Separation& separation = row.Separation();
    // The row may go while the dialog runs (a sheet rebuilt meanwhile); the sheet it points into
    // stays until the pick is over.
    const IMPN_SheetReference keep = m_sheet;
    const PopUpScope popUp(&m_job.HostWindow());
    const std::optional<QColor> chosen = WTLU_ColorDialog::Choose(
        ToQColor(separation.GetCurrentColor().color), CustomColors(), this);
    if (!chosen)
        return;
    const QColor rgb = chosen->toRgb();
    IMPN_ColorRecord color = separation.GetCurrentColor();
    color.color = IMPN_MakeColorBGR(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()),
                                    std::uint8_t(rgb.blue()));
    color.opacity = 100;
    color.isDefault = false;
    separation.SetCurrentColor(color);
    if (WKRN_SeparationWindowRow* shown = RowOf(separation))
        shown->Update();
    // An ink no database knew keeps its colour for every job and every later run.
    if (separation.GetDecidedColor().isDefault)
        KeepAsCustomColour(separation);
    SendToJob(JOBMSG_SEPARATION_COLOUR);
}

/* A file that cannot be written loses nothing of the run: the colour stays in the custom colours
   in memory, and the user learns that it will not outlive the run. */
void WKRN_SeparationWindow::KeepAsCustomColour(const IMPN_Separation& separation)
{
    IMPN_ColorDatabases& databases = IMPN_ColorDatabases::Global();
    if (!databases.StoreCustomColor(separation.GetColorName(), separation.GetCurrentColor().color))
        return;
    try
    {
        databases.SaveCustomColors();
    }
    catch (const std::exception& error)
    {
        WTLU_MessageBox::ShowWarning(WKRN_StringTable::Load(IDS_CUSTOM_COLORS_NOT_SAVED),
                                     WKRN_StringTable::Load(IDS_CUSTOM_COLORS_KEPT_FOR_RUN),
                                     QString::fromLocal8Bit(error.what()), this);
    }
    SendToJob(JOBMSG_CUSTOM_COLOUR_STORED);
}
