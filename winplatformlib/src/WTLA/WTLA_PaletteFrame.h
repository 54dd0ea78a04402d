#pragma once
// The frame of one palette of a frame window: a dock widget with a title that holds the
// palette's content, floats as a tool window of its frame window or docks in one of its side
// columns. Its preferred size comes from the content. The frame tells its owner, by signal, when
// the user closes it with its close box and when it is activated or deactivated, the latter with
// the window that is being activated (null when that is no window of this program).
//
// The content is any widget; it knows nothing of the frame and goes with it.
//
// A floating frame keeps the place it was given when it is shown again: a window manager that
// maps it anew may report it at the corner of the screen for a moment, and that report is not
// taken for a move.

#include <QDockWidget>
#include <QElapsedTimer>
#include <QPoint>

class WTLA_PaletteFrame : public QDockWidget
{
    Q_OBJECT
public:
    WTLA_PaletteFrame(const QString& title, QWidget* content, QWidget* parent = nullptr);

    QWidget* Content() const { return widget(); }

    // The content's preferred size with the frame's caption and borders around it.
    QSize PreferredSize() const;
    // The least outer size the frame can be given: the content's minimum with the same additions.
    QSize MinimumSize() const;
    // Floating: puts the frame's outer edges on the rectangle (screen coordinates).
    void PlaceFloating(const QRect& outer);

signals:
    void ClosedByUser();
    void Activated();
    void Deactivated(QWidget* activating);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // How long after being shown the window system's reports of a new place are not believed.
    static constexpr int kHoldMilliseconds = 1000;

    QPoint m_placed;       // the place last given by the program or the user
    QElapsedTimer m_shown; // since the frame was last shown as a window
};
