#include "WKRN/preferences/WKRN_NavigationPreviewPane.h"

#include <QPainter>

#include <algorithm>

namespace
{
constexpr int kSampleWidth = 144;
constexpr int kSampleHeight = 96;

QColor ColorOf(const WKRN_NavigationColor& color)
{
    return QColor(color.red, color.green, color.blue);
}

/* In integers: (100 - p) x 2.55 in floating point falls just short of the whole number for most
   p, so a fog of 0 percent would still veil the thumbnail a little. */
int AlphaOf(int percentage)
{
    return (100 - std::clamp(percentage, 0, 100)) * 255 / 100;
}

void Blend(QPainter& painter, const QImage& thumbnail, const QRect& area, const QColor& color,
           int alpha)
{
    painter.setOpacity(1.0);
    painter.fillRect(area, color);
    painter.setOpacity(alpha / 255.0);
    painter.drawImage(area.topLeft(), thumbnail, area);
}
} // namespace

WKRN_NavigationPreviewPane::WKRN_NavigationPreviewPane(QWidget* parent)
    : QWidget(parent), m_outline(WKRN_PreferenceValues{}.NavigationFrame),
      m_fog(WKRN_PreferenceValues{}.NavigationScreen), m_sample(Sample())
{
    setObjectName(QStringLiteral("WKRN_NavigationPreviewPane"));
    setMinimumSize(sizeHint());
}

QSize WKRN_NavigationPreviewPane::sizeHint() const
{
    return {kSampleWidth + 4, kSampleHeight + 4};
}

void WKRN_NavigationPreviewPane::SetOutline(const WKRN_NavigationColor& outline)
{
    m_outline = outline;
    update();
}

void WKRN_NavigationPreviewPane::SetFog(const WKRN_NavigationColor& fog)
{
    m_fog = fog;
    update();
}

QRect WKRN_NavigationPreviewPane::ViewRect() const
{
    return QRect(kSampleWidth / 4, kSampleHeight / 4, kSampleWidth / 2, kSampleHeight / 2);
}

/* A press sheet in miniature: white paper, eight pages in two rows carrying blocks of the
   process colours, so that both a light and a dark fog show against something. */
QImage WKRN_NavigationPreviewPane::Sample()
{
    QImage sample(kSampleWidth, kSampleHeight, QImage::Format_RGB32);
    sample.fill(Qt::white);
    QPainter painter(&sample);
    const QColor inks[] = {QColor(0, 174, 239), QColor(236, 0, 140), QColor(255, 242, 0),
                           QColor(35, 31, 32)};
    const int pageWidth = (kSampleWidth - 10) / 4, pageHeight = (kSampleHeight - 9) / 2;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4; ++column)
        {
            const QRect page(5 + column * pageWidth, 4 + row * (pageHeight + 1), pageWidth - 2,
                             pageHeight);
            painter.fillRect(page, QColor(235, 235, 235));
            painter.fillRect(page.adjusted(3, 3, -3, -pageHeight / 2),
                             inks[(row * 4 + column) % 4]);
            painter.fillRect(page.adjusted(3, pageHeight / 2 + 3, -3, -3), QColor(150, 150, 150));
        }
    return sample;
}

QImage WKRN_NavigationPreviewPane::Veil(const QImage& thumbnail, const QRect& view,
                                        const WKRN_NavigationColor& outline,
                                        const WKRN_NavigationColor& fog)
{
    QImage picture(thumbnail.size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    Blend(painter, thumbnail, picture.rect(), ColorOf(fog), AlphaOf(fog.opacity));
    const QRect area = view.intersected(picture.rect());
    if (!area.isEmpty())
    {
        Blend(painter, thumbnail, area, ColorOf(outline), AlphaOf(outline.opacity));
        const QRect inside = area.adjusted(1, 1, -1, -1);
        if (!inside.isEmpty())
            Blend(painter, thumbnail, inside, Qt::black, 255);
    }
    return picture;
}

QImage WKRN_NavigationPreviewPane::Picture() const
{
    return Veil(m_sample, ViewRect(), m_outline, m_fog);
}

void WKRN_NavigationPreviewPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QImage picture = Picture();
    const QPoint at(std::max(0, (width() - picture.width()) / 2),
                    std::max(0, (height() - picture.height()) / 2));
    painter.drawImage(at, picture);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(QRect(at, picture.size()).adjusted(-1, -1, 0, 0));
}
