#pragma once
// Keeps the floating palettes of a main window with it. When the window moves, is resized or
// tiled, or the area the palettes float in changes (bars shown or hidden, a scroll bar coming or
// going, a dock column), every floating frame moves by as much as the edge of that area it keeps
// to: the right edge for palettes floated right, the left edge for palettes floated left. Hidden
// frames move too, so that they come back in their place. Frames the user dragged elsewhere keep
// their distance to that edge.
//
// After the area changed its size, a frame that stood inside it before and stands partly outside
// now no longer fits: the follower says so, and its owner arranges the palettes again. Every
// change of place, the owner's own and the user's, is told as well, so that the owner can keep
// what it shows clear of the palettes.

#include <QObject>
#include <QPointer>
#include <QRect>

#include <vector>

class QMainWindow;
class WTLA_PaletteFrame;

class WTLA_PaletteFollower : public QObject
{
    Q_OBJECT
public:
    explicit WTLA_PaletteFollower(QMainWindow& window);
    ~WTLA_PaletteFollower() override;

    // A frame to move with the window (docked frames are left where they are).
    void AddFrame(WTLA_PaletteFrame* frame);
    // The palettes were just placed against the left or right edge: that edge is followed from
    // where it is now.
    void Anchor(bool leftEdge);
    bool FollowsLeftEdge() const { return m_left; }

    // Moves the floating frames as far as the followed edge moved since the last call (or the
    // last anchoring). Called on its own for every move and resize of the window and its area.
    void Follow();

signals:
    // Frames moved with the window, or one was moved, shown or hidden by anyone.
    void PalettesMoved();
    // After the area changed its size, a frame that fitted it no longer does.
    void PalettesNoLongerFit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchArea();
    QPoint Edge(const QRect& area) const;

    QMainWindow& m_window;
    std::vector<QPointer<WTLA_PaletteFrame>> m_frames;
    QPointer<QObject> m_watchedArea;
    QRect m_area;
    bool m_left = false;
    bool m_moving = false;
};
