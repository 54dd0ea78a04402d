#include "WTLU/WTLU_WindowArrangement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace
{
// Splits length into parts pieces whose sizes differ by at most one, earlier pieces smaller.
int PieceStart(int length, int parts, int index)
{
    return static_cast<int>(static_cast<long long>(length) * index / parts);
}
} // namespace

std::vector<QRect> WTLU_WindowArrangement::Tiles(int count, const QRect& area, Kind kind)
{
    std::vector<QRect> rects;
    if (count <= 0 || area.isEmpty())
        return rects;
    if (kind == Kind::Cascade)
        return Cascade(count, area, 26);
    // Up to three windows make plain strips; more make a grid of strips whose number grows with
    // the square root, the last strips holding the extra windows.
    const int strips = count <= 3 ? 1 : static_cast<int>(std::floor(std::sqrt(double(count))));
    const bool horizontal = kind == Kind::TileHorizontally;
    int placed = 0;
    for (int s = 0; s < strips; ++s)
    {
        const int inStrip = count / strips + (s >= strips - count % strips ? 1 : 0);
        for (int k = 0; k < inStrip; ++k, ++placed)
        {
            if (horizontal)
            {
                // Strips are columns; windows in a column are stacked one above the other.
                const int x0 = area.left() + PieceStart(area.width(), strips, s);
                const int x1 = area.left() + PieceStart(area.width(), strips, s + 1);
                const int y0 = area.top() + PieceStart(area.height(), inStrip, k);
                const int y1 = area.top() + PieceStart(area.height(), inStrip, k + 1);
                rects.emplace_back(x0, y0, x1 - x0, y1 - y0);
            }
            else
            {
                const int y0 = area.top() + PieceStart(area.height(), strips, s);
                const int y1 = area.top() + PieceStart(area.height(), strips, s + 1);
                const int x0 = area.left() + PieceStart(area.width(), inStrip, k);
                const int x1 = area.left() + PieceStart(area.width(), inStrip, k + 1);
                rects.emplace_back(x0, y0, x1 - x0, y1 - y0);
            }
        }
    }
    return rects;
}

std::vector<QRect> WTLU_WindowArrangement::Cascade(int count, const QRect& area, int step)
{
    std::vector<QRect> rects;
    if (count <= 0 || area.isEmpty())
        return rects;
    step = std::max(step, 1);
    // Windows keep two thirds of the area at least; when the steps would push them out of the
    // area the cascade starts again at the top-left corner.
    const int width = std::max(area.width() * 2 / 3, area.width() - step * (count - 1));
    const int height = std::max(area.height() * 2 / 3, area.height() - step * (count - 1));
    const int maxSteps =
        std::max(1, std::min((area.width() - width) / step, (area.height() - height) / step) + 1);
    for (int i = 0; i < count; ++i)
    {
        const int depth = (count - 1 - i) % maxSteps;
        rects.emplace_back(area.left() + depth * step, area.top() + depth * step, width, height);
    }
    return rects;
}

void WTLU_WindowArrangement::Arrange(const std::vector<QWidget*>& windows, const QRect& area,
                                     Kind kind)
{
    const int count = static_cast<int>(windows.size());
    const std::vector<QRect> rects =
        kind == Kind::Cascade ? Cascade(count, area, 26) : Tiles(count, area, kind);
    for (int i = 0; i < count && i < static_cast<int>(rects.size()); ++i)
    {
        QWidget* window = windows[i];
        if (window == nullptr)
            continue;
        if (window->isMinimized() || window->isMaximized())
            window->showNormal();
        // The rectangles are outer ones; the widget's geometry excludes the frame.
        const QRect frame = window->frameGeometry();
        const QRect inner = window->geometry();
        const QRect& outer = rects[i];
        const QRect client =
            outer.adjusted(inner.left() - frame.left(), inner.top() - frame.top(),
                           inner.right() - frame.right(), inner.bottom() - frame.bottom());
        window->setGeometry(client);
    }
    // Raise back to front so that the first window ends on top.
    for (int i = count - 1; i >= 0; --i)
        if (windows[i] != nullptr)
            windows[i]->raise();
    if (count > 0 && windows[0] != nullptr)
        windows[0]->activateWindow();
}

QRect WTLU_WindowArrangement::WorkArea(const QWidget* window)
{
    QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return QRect(0, 0, 800, 600).adjusted(5, 5, -5, -5);
    return screen->availableGeometry().adjusted(5, 5, -5, -5);
}
