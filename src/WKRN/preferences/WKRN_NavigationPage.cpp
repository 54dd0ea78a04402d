#include "WKRN/preferences/WKRN_NavigationPage.h"

#include "WKRN/palettes/CColorButton.h"
#include "WKRN/palettes/CColorPopup.h" // CColorButton::Popup needs the complete type
#include "WKRN/preferences/WKRN_NavigationPreviewPane.h"
#include "WKRN/preferences/WKRN_SheetViewPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace
{
WKRN_ColorBytes BytesOf(const WKRN_NavigationColor& color)
{
    return {color.blue, color.green, color.red};
}

WKRN_NavigationColor WithOpacity(const WKRN_ColorBytes& color, int opacity)
{
    return {color.blue, color.green, color.red, std::uint8_t(opacity)};
}

// A stored opacity outside the range shows at the nearest end.
QSlider* OpacitySlider(int value, int minimum, int maximum, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setPageStep(5);
    slider->setValue(value);
    return slider;
}
} // namespace

WKRN_NavigationPage::WKRN_NavigationPage(const WKRN_PreferenceValues& values, QWidget* parent)
    : WKRN_PreferencesPage(parent)
{
    setObjectName(QStringLiteral("WKRN_NavigationPage"));
    const WKRN_PreferenceValues defaults;
    m_outlineColor = WKRN_SheetViewPage::ColorButton(BytesOf(values.NavigationFrame),
                                                     BytesOf(defaults.NavigationFrame), this);
    m_outlineOpacity =
        OpacitySlider(values.NavigationFrame.opacity, kOutlineMinimum, kOutlineMaximum, this);
    m_fogColor = WKRN_SheetViewPage::ColorButton(BytesOf(values.NavigationScreen),
                                                 BytesOf(defaults.NavigationScreen), this);
    m_fogOpacity = OpacitySlider(values.NavigationScreen.opacity, kFogMinimum, kFogMaximum, this);
    m_preview = new WKRN_NavigationPreviewPane(this);
    m_zoomToFit = new QCheckBox(Text("Zoom to Fit Window when job opened"), this);
    m_zoomToFit->setChecked(values.ZoomToFitWindowOnOpen);

    auto* colors = new QGroupBox(Text("Navigation Palette Colors"), this);
    auto* grid = new QGridLayout(colors);
    grid->addWidget(new QLabel(Text("Outline"), colors), 0, 0);
    grid->addWidget(m_outlineColor, 0, 1);
    grid->addWidget(m_outlineOpacity, 0, 2);
    grid->addWidget(new QLabel(Text("Fog"), colors), 1, 0);
    grid->addWidget(m_fogColor, 1, 1);
    grid->addWidget(m_fogOpacity, 1, 2);
    grid->addWidget(m_preview, 0, 3, 2, 1);
    grid->setColumnStretch(2, 1);
    auto* page = new QVBoxLayout(this);
    page->addWidget(colors);
    page->addWidget(m_zoomToFit);
    page->addStretch(1);

    for (CColorButton* button : {m_outlineColor, m_fogColor})
        connect(button, &CColorButton::ColorChanged, this, [this] { UpdatePreview(); });
    for (QSlider* slider : {m_outlineOpacity, m_fogOpacity})
        connect(slider, &QSlider::valueChanged, this, [this] { UpdatePreview(); });
    UpdatePreview();
}

WKRN_NavigationColor WKRN_NavigationPage::Outline() const
{
    return WithOpacity(WKRN_SheetViewPage::BytesOf(*m_outlineColor), m_outlineOpacity->value());
}

WKRN_NavigationColor WKRN_NavigationPage::Fog() const
{
    return WithOpacity(WKRN_SheetViewPage::BytesOf(*m_fogColor), m_fogOpacity->value());
}

void WKRN_NavigationPage::UpdatePreview()
{
    m_preview->SetOutline(Outline());
    m_preview->SetFog(Fog());
}

void WKRN_NavigationPage::Store(WKRN_PreferenceValues& values) const
{
    values.NavigationFrame = Outline();
    values.NavigationScreen = Fog();
    values.ZoomToFitWindowOnOpen = m_zoomToFit->isChecked();
}
