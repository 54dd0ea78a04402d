#include "WKRN/sheet/WKRN_CanvasTarget.h"

#include "IMPN/IMPN_RenderTile.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace
{
// The orange of the tile-boundary outlines.
const QColor kTileBoundaryColor(255, 127, 0);

QColor ColorOf(const std::uint8_t* bgr)
{
    return QColor(bgr[2], bgr[1], bgr[0]);
}

/* Bytes a tile of the given rows needs: every row but the last at full stride, the last only as
   far as its pixels go. 64-bit, so that no geometry can wrap. */
bool StoreHolds(const IMPN_RenderTile& tile, std::uint64_t pixelBytes)
{
    if (!tile.pixels || tile.width <= 0 || tile.height <= 0)
        return false;
    const std::uint64_t rowPixels = std::uint64_t(tile.width) * pixelBytes;
    if (tile.rowBytes < rowPixels)
        return false;
    const std::uint64_t needed =
        std::uint64_t(tile.rowBytes) * std::uint64_t(tile.height - 1) + rowPixels;
    return needed <= tile.storeBytes;
}

QColor PaletteColor(const IMPN_RenderTile& tile, std::uint8_t index)
{
    if (tile.palette == nullptr || index >= tile.paletteCount)
        return Qt::white;
    return ColorOf(tile.palette + 3 * std::size_t{index});
}
} // namespace

WKRN_CanvasTarget::WKRN_CanvasTarget(QPainter& painter)
    : m_Painter(painter), m_Device(painter.worldTransform()), m_OutlineTransform(m_Device)
{
}

int WKRN_CanvasTarget::AlphaOf(int opacity)
{
    return std::clamp(opacity, 0, 100) * 255 / 100;
}

QTransform WKRN_CanvasTarget::MirrorForPictures(std::uint32_t axis, std::int32_t width,
                                                std::int32_t height, std::int32_t dx,
                                                std::int32_t dy)
{
    if (axis == 1)
        return QTransform(-1, 0, 0, 1, double(width) - dx, -double(dy));
    if (axis == 2)
        return QTransform(1, 0, 0, -1, -double(dx), double(height) - dy);
    return QTransform();
}

QTransform WKRN_CanvasTarget::MirrorForOutlines(std::uint32_t axis, std::int32_t width,
                                                std::int32_t height, std::int32_t dx,
                                                std::int32_t dy)
{
    if (axis == 1)
        return QTransform(-1, 0, 0, 1, double(width) - dx - 1, -double(dy));
    if (axis == 2)
        return QTransform(1, 0, 0, -1, -double(dx), double(height) - dy - 1);
    return QTransform();
}

void WKRN_CanvasTarget::BeginUnderneath(const QTransform& pictures, const QTransform& outlines,
                                        int opacity)
{
    m_Painter.setWorldTransform(pictures * m_Device);
    m_OutlineTransform = outlines * m_Device;
    m_Alpha = AlphaOf(opacity);
}

void WKRN_CanvasTarget::EndUnderneath()
{
    m_Painter.setWorldTransform(m_Device);
    m_OutlineTransform = m_Device;
}

void WKRN_CanvasTarget::BeginTop(int opacity)
{
    m_Alpha = AlphaOf(opacity);
}

void WKRN_CanvasTarget::FillRect(const IMPN_Rect& rect, const IMPN_ColorBGR& color)
{
    m_Painter.save();
    m_Painter.setOpacity(1.0);
    m_Painter.fillRect(QRectF(rect.left, rect.top, rect.width, rect.height), ColorOf(color.data()));
    m_Painter.restore();
}

void WKRN_CanvasTarget::DrawTile(const IMPN_RenderTile& tile, bool boundaries)
{
    if (tile.width <= 0 || tile.height <= 0)
        return;
    const QRectF area(tile.left, tile.top, tile.width, tile.height);
    m_Painter.save();
    m_Painter.setOpacity(m_Alpha / 255.0);
    switch (tile.kind)
    {
    case IMPN_TileKind::Indexed:
        if (StoreHolds(tile, 1))
        {
            QImage image(tile.pixels.get(), tile.width, tile.height, qsizetype(tile.rowBytes),
                         QImage::Format_Indexed8);
            QList<QRgb> table(256, qRgb(255, 255, 255));
            for (int j = 0; j < std::min(tile.paletteCount, 256) && tile.palette; ++j)
                table[j] = PaletteColor(tile, std::uint8_t(j)).rgb();
            image.setColorTable(table);
            m_Painter.drawImage(area.topLeft(), image);
        }
        break;
    case IMPN_TileKind::UniformIndex:
        if (tile.pixels && tile.storeBytes >= 1)
            m_Painter.fillRect(area, PaletteColor(tile, tile.pixels[0]));
        break;
    case IMPN_TileKind::Colour:
        if (StoreHolds(tile, 3))
        {
            const QImage image(tile.pixels.get(), tile.width, tile.height, qsizetype(tile.rowBytes),
                               QImage::Format_BGR888);
            m_Painter.drawImage(area.topLeft(), image);
        }
        break;
    case IMPN_TileKind::UniformColour:
        if (tile.pixels && tile.storeBytes >= 3)
            m_Painter.fillRect(area, ColorOf(tile.pixels.get()));
        break;
    case IMPN_TileKind::None:
        break;
    }
    m_Painter.restore();

    if (boundaries)
    {
        m_Painter.save();
        m_Painter.setWorldTransform(m_OutlineTransform);
        m_Painter.setOpacity(1.0);
        m_Painter.setPen(QPen(kTileBoundaryColor, 0));
        m_Painter.setBrush(Qt::NoBrush);
        m_Painter.drawRect(QRectF(tile.left, tile.top, tile.width - 1.0, tile.height - 1.0));
        m_Painter.restore();
    }
}
