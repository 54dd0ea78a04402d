#include "WKRN/palettes/WKRN_MeasurementWindow.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/palettes/WKRN_MeasurementFormat.h"
#include "WKRN/palettes/WKRN_MeasurementPanel.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesApplied.h"
#include "WKRN/sheet/WKRN_SheetViewTools.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "WTLU/WTLU_MessageEvent.h"

#include <algorithm>
#include <array>
#include <vector>

namespace
{
constexpr unsigned kLabels[WKRN_MeasurementWindow::kRows] = {IDS_MEASURE_CURRENT, IDS_MEASURE_DELTA,
                                                             IDS_MEASURE_DISTANCE};
} // namespace

WKRN_MeasurementWindow::WKRN_MeasurementWindow(WKRN_SheetWindowHost& job, QWidget* parent)
    : QWidget(parent), m_job(job)
{
    setObjectName(QStringLiteral("WKRN_MeasurementWindow"));
    setWindowTitle(WKRN_StringTable::Load(IDS_MEASUREMENT));
    for (int i = 0; i < kRows; ++i)
    {
        m_rows[i] = new WKRN_MeasurementPanel(WKRN_StringTable::Load(kLabels[i]), this);
        m_rows[i]->move(0, kTop + i * WKRN_MeasurementPanel::kHeight);
    }
    setFixedSize(sizeHint());
    // Values measured on another sheet mean nothing on the new one.
    m_job.WhenSheetShown(this, [this] { Clear(); });
    connect(&WKRN_PreferencesApplied::Instance(), &WKRN_PreferencesApplied::Applied, this,
            &WKRN_MeasurementWindow::FollowPreferences);
}

QSize WKRN_MeasurementWindow::sizeHint() const
{
    return {kWidth, 2 * kTop + kRows * WKRN_MeasurementPanel::kHeight};
}

WKRN_MeasurementPanel* WKRN_MeasurementWindow::Row(int index) const
{
    return index >= 0 && index < kRows ? m_rows[index] : nullptr;
}

void WKRN_MeasurementWindow::ShowPosition(double h, double v, int unit)
{
    const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();
    m_rows[0]->SetValue(
        WKRN_MeasurementFormat::OfRun().Pair(h, v, unit, preferences.LinearUnitPrecision));
    m_position = Shown{h, v, unit};
}

void WKRN_MeasurementWindow::ShowMeasurement(double dh, double dv, int unit)
{
    const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();
    const WKRN_MeasurementFormat format = WKRN_MeasurementFormat::OfRun();
    const auto measure = WKRN_MeasurementFormat::MeasureOf(dh, dv);
    m_rows[1]->SetValue(format.Pair(dh, dv, unit, preferences.LinearUnitPrecision));
    m_rows[2]->SetValue(format.DistanceAndAngle(measure.distance, measure.angle, unit,
                                                preferences.LinearUnitPrecision,
                                                preferences.AngularUnitPrecision));
    m_offset = Shown{dh, dv, unit};
}

void WKRN_MeasurementWindow::Clear()
{
    for (WKRN_MeasurementPanel* row : m_rows)
        row->SetValue({});
    m_position.reset();
    m_offset.reset();
}

void WKRN_MeasurementWindow::FollowPreferences()
{
    const int unit = std::clamp(WKRN_Preferences::Current().PreferredLinearUnits, 0,
                                WKRN_Preferences::kUnitCount - 1);
    const auto inUnit = [unit](const Shown& shown)
    {
        const double factor =
            WKRN_SheetViewTools::UnitsPerInch(unit) / WKRN_SheetViewTools::UnitsPerInch(shown.unit);
        return Shown{shown.h * factor, shown.v * factor, unit};
    };
    if (m_position)
    {
        const Shown position = inUnit(*m_position);
        ShowPosition(position.h, position.v, unit);
    }
    if (m_offset)
    {
        const Shown offset = inUnit(*m_offset);
        ShowMeasurement(offset.h, offset.v, unit);
    }
}

/* The view sends pointers to its pairs; a copy of the values travels in the payload too, which
   is read first because it outlives the sender's stack. */
void WKRN_MeasurementWindow::ReceiveMeasurement(const WTLU_MessageEvent& message)
{
    std::array<double, 2> position{}, offset{};
    bool hasPosition = false, hasOffset = false;
    if (const auto* copy = std::any_cast<std::vector<double>>(&message.Payload()))
    {
        hasPosition = copy->size() >= 2;
        hasOffset = copy->size() >= 4;
        if (hasPosition)
            std::copy_n(copy->begin(), 2, position.begin());
        if (hasOffset)
            std::copy_n(copy->begin() + 2, 2, offset.begin());
    }
    else
    {
        if (const auto* first = reinterpret_cast<const double*>(message.WParam()))
        {
            std::copy_n(first, 2, position.begin());
            hasPosition = true;
        }
        if (const auto* second = reinterpret_cast<const double*>(message.LParam()))
        {
            std::copy_n(second, 2, offset.begin());
            hasOffset = true;
        }
    }
    const int unit = std::clamp(WKRN_Preferences::Current().PreferredLinearUnits, 0,
                                WKRN_Preferences::kUnitCount - 1);
    if (hasPosition)
        ShowPosition(position[0], position[1], unit);
    if (hasOffset)
        ShowMeasurement(offset[0], offset[1], unit);
}

bool WKRN_MeasurementWindow::event(QEvent* event)
{
    if (WTLU_MessageEvent::IsMessage(event))
    {
        const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
        if (message.Message() == JOBMSG_MEASUREMENT)
        {
            ReceiveMeasurement(message);
            return true;
        }
    }
    return QWidget::event(event);
}
