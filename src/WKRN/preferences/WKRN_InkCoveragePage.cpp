#include "WKRN/preferences/WKRN_InkCoveragePage.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

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

    auto* form = new QFormLayout;
    form->addRow(Text("Densitometer Aperture"), m_aperture);
    form->addRow(Text("Ink Limit"), m_limit);
    auto* page = new QVBoxLayout(this);
    page->addLayout(form);
    page->addStretch(1);
}

void WKRN_InkCoveragePage::Store(WKRN_PreferenceValues& values) const
{
    values.DensitometerAperture =
        static_cast<std::int32_t>(std::lround(m_aperture->value() * 1000));
    values.InkLimit = m_limit->value();
}
