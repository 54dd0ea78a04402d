#include "WKRN/palettes/WKRN_SeparationWindowSurfaceRow.h"

#include "IMPN/IMPN_Surface.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace
{
constexpr int kNameLeft = 4;
} // namespace

WKRN_SeparationWindowSurfaceRow::WKRN_SeparationWindowSurfaceRow(IMPN_Surface& surface,
                                                                 const QString& longName,
                                                                 const QString& shortName,
                                                                 int nameColumn, QWidget* parent)
    : QWidget(parent), m_surface(surface), m_longName(longName), m_shortName(shortName),
      m_nameColumn(nameColumn)
{
    m_name = new QLabel(this);
    m_opacity = new QSlider(Qt::Horizontal, this);
    m_opacity->setRange(0, 100);
    m_opacity->setPageStep(10);
    connect(m_opacity, &QSlider::valueChanged, this,
            [this](int value) { emit OpacityMoved(this, value); });
    setFixedHeight(kHeight);
    Update();
}

void WKRN_SeparationWindowSurfaceRow::Update()
{
    SetSliderPosition(m_surface.GetOpacity());
}

void WKRN_SeparationWindowSurfaceRow::SetSliderPosition(int opacity)
{
    const QSignalBlocker blocker(m_opacity);
    m_opacity->setValue(std::clamp(opacity, 0, 100));
}

void WKRN_SeparationWindowSurfaceRow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void WKRN_SeparationWindowSurfaceRow::LayOut()
{
    const int w = width();
    if (w >= kLongNameWidth)
    {
        m_name->setText(m_longName);
        m_name->setGeometry(kNameLeft, 0, m_nameColumn - kNameLeft, kHeight);
        m_opacity->setGeometry(m_nameColumn, 0, std::max(1, w - kRightMargin - m_nameColumn),
                               kHeight);
        m_opacity->show();
        return;
    }
    m_name->setText(m_shortName);
    // The short name has its 30 pixels and whatever is left before the slider, so that a font
    // wider than the one the measures were made for does not cut it off.
    m_name->setGeometry(kNameLeft, 0, std::max(kShortNameWidth, kShortSliderLeft - kNameLeft - 1),
                        kHeight);
    const bool sliderShown = w >= kSliderWidth;
    m_opacity->setVisible(sliderShown);
    if (sliderShown)
        m_opacity->setGeometry(kShortSliderLeft, 0,
                               std::max(1, w - kRightMargin - kShortSliderLeft), kHeight);
}
