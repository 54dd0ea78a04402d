#include "WKRN/palettes/WKRN_SeparationWindowRow.h"

#include "WKRN/palettes/WKRN_InkSwatchControl.h"
#include "WKRN/palettes/WKRN_TextBoxButton.h"

#include "IMPN/IMPN_Separation.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <filesystem>

namespace
{
constexpr int kMargin = 4;
constexpr int kBoxSize = 16;
constexpr int kSwatchSize = 20;
constexpr int kGap = 4;
constexpr int kMaxSliderWidth = 90;
} // namespace

WKRN_SeparationWindowRow::WKRN_SeparationWindowRow(IMPN_Separation& separation, QWidget* parent)
    : QWidget(parent), m_separation(separation)
{
    m_visible = new QCheckBox(this);
    m_visible->installEventFilter(this);
    connect(m_visible, &QCheckBox::clicked, this,
            [this](bool checked) { emit VisibilityClicked(this, checked, m_boxModifiers); });

    m_opacity = new QSlider(Qt::Horizontal, this);
    m_opacity->setRange(0, 100);
    m_opacity->setPageStep(10);
    connect(m_opacity, &QSlider::valueChanged, this,
            [this](int value) { emit OpacityMoved(this, value); });

    m_swatch = new WKRN_InkSwatchControl(this);
    connect(m_swatch, &WKRN_InkSwatchControl::Clicked, this,
            [this](Qt::KeyboardModifiers modifiers) { emit SwatchClicked(this, modifiers); });

    m_name = new WKRN_TextBoxButton(this);
    m_name->SetTexts(NameTexts(separation));
    connect(m_name, &WKRN_TextBoxButton::Clicked, this,
            [this](Qt::KeyboardModifiers modifiers) { emit NameClicked(this, modifiers); });

    setFixedHeight(kHeight);
    Update();
}

QStringList WKRN_SeparationWindowRow::NameTexts(const IMPN_Separation& separation)
{
    QStringList texts;
    texts << QString::fromStdString(separation.GetName());
    texts << QString::fromStdString(
        std::filesystem::path(separation.GetFilePath()).filename().string());
    if (separation.HasCMYKEquivalent())
    {
        const auto& cmyk = separation.GetCMYKEquivalent();
        auto percent = [](std::uint16_t value) { return int(std::uint32_t(value) * 100 / 65535); };
        texts << QStringLiteral("CMYK[ %1, %2, %3, %4 ]")
                     .arg(percent(cmyk[0]))
                     .arg(percent(cmyk[1]))
                     .arg(percent(cmyk[2]))
                     .arg(percent(cmyk[3]));
    }
    return texts;
}

void WKRN_SeparationWindowRow::Update()
{
    const QSignalBlocker boxBlocker(m_visible);
    const QSignalBlocker sliderBlocker(m_opacity);
    m_visible->setChecked(m_separation.IsVisible());
    m_opacity->setValue(m_separation.GetCurrentColor().opacity);
    m_swatch->SetColor(m_separation.GetCurrentColor());
}

bool WKRN_SeparationWindowRow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_visible)
    {
        if (event->type() == QEvent::MouseButtonRelease)
            m_boxModifiers = static_cast<QMouseEvent*>(event)->modifiers();
        else if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            m_boxModifiers = static_cast<QKeyEvent*>(event)->modifiers();
    }
    return QWidget::eventFilter(watched, event);
}

void WKRN_SeparationWindowRow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

/* Check box, slider, swatch, name field from left to right. Without the name field the slider
   takes the room up to the swatch at the right edge; without the slider the swatch follows the
   check box. */
void WKRN_SeparationWindowRow::LayOut()
{
    const int w = width();
    const int middle = (kHeight - kBoxSize) / 2;
    m_visible->setGeometry(kMargin, middle, kBoxSize + 2, kBoxSize);
    const int afterBox = kMargin + kBoxSize + kGap + 2;
    const int swatchTop = (kHeight - kSwatchSize) / 2;
    const bool nameShown = w >= kNameFieldWidth;
    const bool sliderShown = w >= kSliderWidth;
    m_name->setVisible(nameShown);
    m_opacity->setVisible(sliderShown);
    if (!sliderShown)
    {
        m_swatch->setGeometry(afterBox, swatchTop, kSwatchSize, kSwatchSize);
        return;
    }
    if (!nameShown)
    {
        const int swatchLeft = std::max(afterBox + 1, w - kMargin - kSwatchSize);
        m_opacity->setGeometry(afterBox, 0, std::max(1, swatchLeft - kGap - afterBox), kHeight);
        m_swatch->setGeometry(swatchLeft, swatchTop, kSwatchSize, kSwatchSize);
        return;
    }
    const int room = w - afterBox - kMargin - 2 * kGap - kSwatchSize;
    const int sliderWidth = std::clamp(room / 2, 1, kMaxSliderWidth);
    m_opacity->setGeometry(afterBox, 0, sliderWidth, kHeight);
    const int swatchLeft = afterBox + sliderWidth + kGap;
    m_swatch->setGeometry(swatchLeft, swatchTop, kSwatchSize, kSwatchSize);
    const int nameLeft = swatchLeft + kSwatchSize + kGap;
    m_name->setGeometry(nameLeft, 2, std::max(1, w - kMargin - nameLeft), kHeight - 4);
}
