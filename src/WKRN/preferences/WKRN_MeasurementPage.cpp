#include "WKRN/preferences/WKRN_MeasurementPage.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/palettes/WKRN_MeasurementFormat.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
QSlider* PrecisionSlider(int value, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(0, WKRN_Preferences::kMaxPrecision);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setValue(std::clamp(value, 0, WKRN_Preferences::kMaxPrecision));
    return slider;
}

// The slider with the number of decimals it stands for beside it.
QWidget* WithValue(QSlider* slider, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* number = new QLabel(QString::number(slider->value()), box);
    number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("00")));
    QObject::connect(slider, &QSlider::valueChanged, number,
                     [number](int value) { number->setText(QString::number(value)); });
    row->addWidget(slider, 1);
    row->addWidget(number);
    return box;
}
} // namespace

WKRN_MeasurementPage::WKRN_MeasurementPage(const WKRN_PreferenceValues& values, QWidget* parent)
    : WKRN_PreferencesPage(parent)
{
    setObjectName(QStringLiteral("WKRN_MeasurementPage"));
    m_units = new QListWidget(this);
    for (unsigned unit = 0; unit < unsigned(WKRN_Preferences::kUnitCount); ++unit)
        m_units->addItem(WKRN_StringTable::Load(IDS_UNIT_NAME_POINTS + unit));
    m_units->setCurrentRow(
        std::clamp(values.PreferredLinearUnits, 0, WKRN_Preferences::kUnitCount - 1));
    m_units->setMaximumHeight(m_units->sizeHintForRow(0) * WKRN_Preferences::kUnitCount +
                              2 * m_units->frameWidth() + 4);
    m_linear = PrecisionSlider(values.LinearUnitPrecision, this);
    m_angular = PrecisionSlider(values.AngularUnitPrecision, this);
    m_sample = new QLineEdit(this);
    m_sample->setReadOnly(true);

    auto* form = new QFormLayout;
    form->addRow(Text("Linear Units"), m_units);
    form->addRow(Text("Linear Precision"), WithValue(m_linear, this));
    form->addRow(Text("Angular Precision"), WithValue(m_angular, this));
    auto* sample = new QGroupBox(Text("Sample"), this);
    auto* sampleLayout = new QVBoxLayout(sample);
    sampleLayout->addWidget(m_sample);
    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addWidget(sample);
    page->addStretch(1);

    connect(m_units, &QListWidget::currentRowChanged, this, [this] { UpdateSample(); });
    connect(m_linear, &QSlider::valueChanged, this, [this] { UpdateSample(); });
    connect(m_angular, &QSlider::valueChanged, this, [this] { UpdateSample(); });
    UpdateSample();
}

QString WKRN_MeasurementPage::SampleText() const
{
    return m_sample->text();
}

void WKRN_MeasurementPage::UpdateSample()
{
    m_sample->setText(WKRN_MeasurementFormat::OfRun().DistanceAndAngle(
        kSampleDistance, kSampleAngle, std::max(0, m_units->currentRow()), m_linear->value(),
        m_angular->value()));
}

void WKRN_MeasurementPage::Store(WKRN_PreferenceValues& values) const
{
    values.PreferredLinearUnits = std::max(0, m_units->currentRow());
    values.LinearUnitPrecision = m_linear->value();
    values.AngularUnitPrecision = m_angular->value();
}
