#pragma once
// One cell of a row: drawn in its column's rectangle when both its shown flag (cleared while the
// row is expanded, for columns that hide then) and its visible flag (the host's) are set.

#include <QRect>

#include <memory>
#include <string>

class QPainter;
class QPalette;

class WMCT_CellBase
{
public:
    enum DrawState : int
    {
        Normal = 0,
        NormalToo = 1,
        Selected = 2,
    };

    virtual ~WMCT_CellBase();
    // A copy of the cell with its content; null when it cannot be made.
    virtual std::unique_ptr<WMCT_CellBase> Clone() const = 0;
    virtual void Draw(QPainter& painter, const QRect& rect, const QPalette& palette) const = 0;
    virtual void SetText(const std::wstring& text);
    // The text the cell shows; empty for cells that show none.
    virtual std::wstring Text() const;

    int GetDrawState() const { return m_drawState; }
    void SetDrawState(int state) { m_drawState = state; }
    bool IsShown() const { return m_shown; }
    void SetShown(bool shown) { m_shown = shown; }
    bool IsVisible() const { return m_visible; }
    void Show() { m_visible = true; }
    void Hide() { m_visible = false; }
    bool IsDrawn() const { return m_shown && m_visible; }

protected:
    WMCT_CellBase() = default;
    WMCT_CellBase(const WMCT_CellBase&) = default;
    WMCT_CellBase& operator=(const WMCT_CellBase&) = default;

private:
    int m_drawState = Normal;
    bool m_shown = true;
    bool m_visible = true;
};
