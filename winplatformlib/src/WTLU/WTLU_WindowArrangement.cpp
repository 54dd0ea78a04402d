#include "WTLU/WTLU_WindowArrangement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace
{
// How long a window's frame is waited for after the window was placed, and how often it is
// looked for.
constexpr int kFrameWaitMilliseconds = 3000;
constexpr int kFramePollMilliseconds = 100;

// The frame the window system reports around a shown top-level window; none when it reports
// nothing (yet).
QMargins ReportedFrame(const QWidget* window)
{
    if (window == nullptr || !window->isWindow() || !window->isVisible() ||
        window->windowHandle() == nullptr)
        return {};
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

/* Watches a placed window until the window system reports its frame, then puts the frame on the
   rectangle it was meant for, unless something else moved or resized the window meanwhile. */
class FrameFitter : public QObject
{
public:
    static constexpr const char* kName = "WTLU_FrameFitter";

    FrameFitter(QWidget* window, const QRect& outer, const QMargins& assumed)
        : QObject(window), m_window(window), m_outer(outer), m_assumed(assumed),
          m_placed(window->geometry())
    {
        setObjectName(QString::fromLatin1(kName));
        window->installEventFilter(this);
        // The frame's report changes no geometry of the window itself, so it comes with no
        // event of its own: it is looked for now and then as well.
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this] { Check(); });
        poll->start(kFramePollMilliseconds);
        QTimer::singleShot(kFrameWaitMilliseconds, this, [this] { deleteLater(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show &&
            type != QEvent::WindowStateChange)
            return false;
        // Posted: the frame is read once the window system's notices have all arrived.
        QTimer::singleShot(0, this, [this] { Check(); });
        return false;
    }

private:
    void Check()
    {
        if (m_done || !m_window || m_window->isMaximized() || m_window->isMinimized() ||
            m_window->isFullScreen())
            return;
        const QMargins reported = ReportedFrame(m_window);
        if (reported.isNull())
            return;
        if (reported != m_assumed && m_window->size() == m_placed.size())
            m_window->setGeometry(m_outer.marginsRemoved(reported));
        m_done = true;
        m_window->removeEventFilter(this);
        deleteLater();
    }

    bool m_done = false;
    QPointer<QWidget> m_window;
    QRect m_outer;
    QMargins m_assumed;
    QRect m_placed;
};

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

QRect WTLU_WindowArrangement::NextCascade(const QRect& previous, const QRect& area, int step)
{
    step = std::max(step, 0);
    const QSize wanted = previous.size().boundedTo(area.size()).expandedTo(QSize(1, 1));
    QRect next(previous.topLeft() + QPoint(step, step), wanted);
    if (next.right() > area.right())
        next.setRight(area.right());
    if (next.bottom() > area.bottom())
        next.setBottom(area.bottom());
    const bool cutTooFar =
        (next.width() < wanted.width() && next.width() < area.width() * 2 / 3) ||
        (next.height() < wanted.height() && next.height() < area.height() * 2 / 3);
    if (!area.contains(next.topLeft()) || cutTooFar)
        return QRect(area.topLeft(), wanted);
    return next;
}

QMargins WTLU_WindowArrangement::FrameMargins(const QWidget* window)
{
    QMargins frame = ReportedFrame(window);
    if (!frame.isNull())
        return frame;
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->windowType() == Qt::Window &&
            !(frame = ReportedFrame(other)).isNull())
            return frame;
    return kDefaultFrame;
}

QRect WTLU_WindowArrangement::OuterRect(const QWidget* window)
{
    return window == nullptr ? QRect() : window->geometry().marginsAdded(FrameMargins(window));
}

void WTLU_WindowArrangement::PlaceOuter(QWidget* window, const QRect& outer)
{
    if (window == nullptr || outer.isEmpty())
        return;
    const QMargins frame = FrameMargins(window);
    window->setGeometry(outer.marginsRemoved(frame));
    // A later placement replaces the one still waiting for the frame.
    for (QObject* fitter : window->findChildren<QObject*>(QString::fromLatin1(FrameFitter::kName),
                                                          Qt::FindDirectChildrenOnly))
        delete fitter;
    if (ReportedFrame(window) != frame)
        new FrameFitter(window, outer, frame);
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
        PlaceOuter(window, rects[i]);
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
