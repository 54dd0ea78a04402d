#include "WKRN/sheet/WKRN_Canvas.h"

#include <QPainter>

#include <cstdlib>
#include <cstring>
#include <utility>

void WKRN_Canvas::Resize(const QSize& size, const QColor& fill)
{
    if (m_Image.size() == size)
        return;
    QImage image;
    if (!size.isEmpty())
    {
        image = QImage(size, QImage::Format_RGB32);
        image.fill(fill);
        if (!m_Image.isNull())
        {
            QPainter painter(&image);
            painter.drawImage(0, 0, m_Image);
        }
    }
    m_Image = image;
    m_Invalid &= m_Image.rect();
    m_Frame &= m_Image.rect();
}

/* Row by row, in the order that never reads a row already overwritten. */
void WKRN_Canvas::MoveContent(int dx, int dy)
{
    const int width = m_Image.width(), height = m_Image.height();
    if (m_Image.isNull() || std::abs(dx) >= width || std::abs(dy) >= height)
        return;
    const std::size_t bytes = std::size_t(width - std::abs(dx)) * 4;
    const int to = std::max(dx, 0), from = std::max(-dx, 0);
    auto moveRow = [&](int y)
    {
        uchar* target = m_Image.scanLine(y) + std::size_t(to) * 4;
        const uchar* source = m_Image.constScanLine(y - dy) + std::size_t(from) * 4;
        std::memmove(target, source, bytes);
    };
    if (dy > 0)
    {
        for (int y = height - 1; y >= dy; --y)
            moveRow(y);
    }
    else
    {
        for (int y = 0; y < height + dy; ++y)
            moveRow(y);
    }
}

QRegion WKRN_Canvas::Shift(int dx, int dy, const QColor& fill)
{
    const QRect all = m_Image.rect();
    MoveContent(dx, dy);
    const QRegion exposed = QRegion(all).subtracted(all.translated(dx, dy));
    m_Invalid.translate(dx, dy);
    m_Invalid &= all;
    m_Frame.translate(dx, dy);
    m_Frame &= all;
    if (!m_Image.isNull())
    {
        QPainter painter(&m_Image);
        for (const QRect& rect : exposed)
            painter.fillRect(rect, fill);
    }
    return exposed;
}

QRegion WKRN_Canvas::Invalidate(const QRegion& region)
{
    const QRegion inside = region.intersected(m_Image.rect());
    m_Invalid += inside;
    return inside;
}

QRegion WKRN_Canvas::TakeInvalid()
{
    return std::exchange(m_Invalid, QRegion());
}
