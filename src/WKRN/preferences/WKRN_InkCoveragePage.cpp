#include "WKRN/preferences/WKRN_InkCoveragePage.h"

#include "IMPN/IMPN_InkZones.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/coverage/WKRN_CoverageTexts.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace
{
// "From 1 to 1000 mm": what a field accepts, shown where the field is.
QString RangeText(const QString& low, const QString& high)
{
    return WKRN_StringTable::Load(IDS_VALUE_RANGE).arg(low, high);
}
} // namespace

WKRN_InkCoveragePage::WKRN_InkCoveragePage(const WKRN_PreferenceValues& values, QWidget* parent)
    : WKRN_PreferencesPage(parent)
{
    setObjectName(QStringLiteral("WKRN_InkCoveragePage"));
    m_aperture = new QDoubleSpinBox(this);
    m_aperture->setDecimals(3);
    m_aperture->setRange(WKRN_Preferences::kMinAperture / 1000.0,
                         WKRN_Preferences::kMaxAperture / 1000.0);
    m_aperture->setSingleStep(0.5);
    m_aperture->setSuffix(Text(" mm"));
    m_aperture->setValue(std::clamp(values.DensitometerAperture, WKRN_Preferences::kMinAperture,
                                    WKRN_Preferences::kMaxAperture) /
                         1000.0);

    m_limit = new QSpinBox(this);
    m_limit->setRange(1, WKRN_Preferences::kMaxInkLimit);
    m_limit->setSingleStep(10);
    m_limit->setSuffix(Text(" %"));
    m_limit->setValue(std::clamp(values.InkLimit, 1, WKRN_Preferences::kMaxInkLimit));

    m_area = new QDoubleSpinBox(this);
    m_area->setObjectName(QStringLiteral("InkLimitArea"));
    m_area->setDecimals(3);
    m_area->setRange(WKRN_Preferences::kMinInkLimitArea / 1000.0,
                     WKRN_Preferences::kMaxInkLimitArea / 1000.0);
    m_area->setSingleStep(0.1);
    m_area->setSuffix(Text(" mm"));
    m_area->setToolTip(
        RangeText(WKRN_CoverageTexts::Millimetres(WKRN_Preferences::kMinInkLimitArea),
                  WKRN_CoverageTexts::Millimetres(WKRN_Preferences::kMaxInkLimitArea) +
                      QStringLiteral(" mm")));
    m_area->setValue(std::clamp(values.InkLimitArea, WKRN_Preferences::kMinInkLimitArea,
                                WKRN_Preferences::kMaxInkLimitArea) /
                     1000.0);

    auto* form = new QFormLayout;
    form->addRow(Text("Densitometer Aperture"), m_aperture);
    form->addRow(Text("Ink Limit"), m_limit);
    form->addRow(WKRN_StringTable::Load(IDS_INK_LIMIT_AREA), m_area);

    auto* presets = new QGroupBox(WKRN_StringTable::Load(IDS_ZONE_PRESETS), this);
    m_presets = new QTableWidget(0, 3, presets);
    m_presets->setHorizontalHeaderLabels({WKRN_StringTable::Load(IDS_ZONE_PRESET_NAME),
                                          WKRN_StringTable::Load(IDS_ZONE_PRESET_WIDTH),
                                          WKRN_StringTable::Load(IDS_ZONE_PRESET_COUNT)});
    m_presets->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_presets->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_presets->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_presets->verticalHeader()->hide();
    m_presets->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (const WKRN_ZonePreset& preset : values.ZonePresets)
        AppendPreset(preset);
    m_add = new QPushButton(WKRN_StringTable::Load(IDS_ZONE_PRESET_ADD), presets);
    m_remove = new QPushButton(WKRN_StringTable::Load(IDS_ZONE_PRESET_REMOVE), presets);
    connect(m_add, &QPushButton::clicked, this,
            [this]
            {
                if (m_presets->rowCount() >= WKRN_Preferences::kMaxZonePresets)
                    return;
                AppendPreset(WKRN_ZonePreset{});
                m_presets->setCurrentCell(m_presets->rowCount() - 1, 0);
                m_presets->editItem(m_presets->item(m_presets->rowCount() - 1, 0));
            });
    connect(m_remove, &QPushButton::clicked, this,
            [this]
            {
                const int row = m_presets->currentRow();
                if (row >= 0)
                    m_presets->removeRow(row);
            });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    auto* box = new QVBoxLayout(presets);
    box->addWidget(m_presets);
    box->addLayout(buttons);

    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addWidget(presets, 1);
}

void WKRN_InkCoveragePage::AppendPreset(const WKRN_ZonePreset& preset)
{
    const int row = m_presets->rowCount();
    m_presets->insertRow(row);
    auto* name = new QTableWidgetItem(preset.name);
    // An empty name shows the geometry, as the Ink Zones dialog lists the press.
    name->setToolTip(WKRN_CoverageTexts::PresetName(preset));
    m_presets->setItem(row, 0, name);
    auto* width = new QDoubleSpinBox(m_presets);
    width->setDecimals(3);
    width->setRange(IMPN_InkZones::kMinWidth / 1000.0, IMPN_InkZones::kMaxWidth / 1000.0);
    width->setToolTip(RangeText(WKRN_CoverageTexts::Millimetres(IMPN_InkZones::kMinWidth),
                                WKRN_CoverageTexts::Millimetres(IMPN_InkZones::kMaxWidth) +
                                    QStringLiteral(" mm")));
    width->setValue(preset.width / 1000.0);
    m_presets->setCellWidget(row, 1, width);
    auto* count = new QSpinBox(m_presets);
    count->setRange(1, int(IMPN_InkZones::kMaxZones));
    count->setToolTip(RangeText(QString::number(1), QString::number(IMPN_InkZones::kMaxZones)));
    count->setValue(preset.count);
    m_presets->setCellWidget(row, 2, count);
}

void WKRN_InkCoveragePage::Store(WKRN_PreferenceValues& values) const
{
    values.DensitometerAperture =
        static_cast<std::int32_t>(std::lround(m_aperture->value() * 1000));
    values.InkLimit = m_limit->value();
    values.InkLimitArea = static_cast<std::int32_t>(std::lround(m_area->value() * 1000));
    values.ZonePresets.clear();
    for (int row = 0; row < m_presets->rowCount(); ++row)
    {
        WKRN_ZonePreset preset;
        if (const QTableWidgetItem* name = m_presets->item(row, 0))
            preset.name = name->text().trimmed().left(WKRN_Preferences::kMaxZonePresetName);
        if (const auto* width = qobject_cast<QDoubleSpinBox*>(m_presets->cellWidget(row, 1)))
            preset.width = static_cast<std::int32_t>(std::lround(width->value() * 1000));
        if (const auto* count = qobject_cast<QSpinBox*>(m_presets->cellWidget(row, 2)))
            preset.count = count->value();
        values.ZonePresets.push_back(preset);
    }
}
