#pragma once
// The sheet view's picture of its viewport, with the parts of it that wait to be drawn: the
// invalid part (for the next paint event) and the part the queued progressive frame draws into.
// Scrolling moves the picture and both parts along with it.

#include <QColor>
#include <QImage>
#include <QRegion>

class WKRN_Canvas
{
public:
    QImage& Image() { return m_Image; }
    const QImage& Image() const { return m_Image; }
    bool IsNull() const { return m_Image.isNull(); }
    QRect Rect() const { return m_Image.rect(); }

    // A new size: the old picture stays at the top left, the rest is filled. An empty size
    // leaves no picture.
    void Resize(const QSize& size, const QColor& fill);

    // Moves the content by (dx, dy) in place, fills the strip that comes into view and returns
    // it; the waiting parts move along and are cut to the picture.
    QRegion Shift(int dx, int dy, const QColor& fill);

    // Adds to the invalid part and returns what of the region lies on the picture.
    QRegion Invalidate(const QRegion& region);
    bool HasInvalid() const { return !m_Invalid.isEmpty(); }
    QRegion TakeInvalid();

    QRegion& FrameRegion() { return m_Frame; }

private:
    void MoveContent(int dx, int dy);

    QImage m_Image;
    QRegion m_Invalid;
    QRegion m_Frame;
};
