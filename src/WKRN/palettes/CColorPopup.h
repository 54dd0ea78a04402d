#pragma once
// The drop-down of a CColorButton: the default item across the top, the grid of named colours,
// the custom item across the bottom. It reports the item chosen to its button and closes; Escape
// or a click outside closes it without a choice. The arrow keys move through the items (the
// current colour's cell first), Return or Space chooses.

#include <QFrame>

#include <vector>

class CColorButton;
class QAbstractButton;
class QToolButton;

class CColorPopup : public QFrame
{
    Q_OBJECT
public:
    explicit CColorPopup(CColorButton& button);

    QToolButton* DefaultItem() const { return m_defaultItem; }
    QToolButton* CustomItem() const { return m_customItem; }
    // A cell of the grid, row by row; null outside it.
    QToolButton* Cell(int index) const;
    // The grid index of the cell holding the button's colour, or -1.
    int CurrentCell() const { return m_current; }
    // The item the keyboard is on: 0 the default item, 1 to 40 the cells, 41 the custom item.
    int KeyboardItem() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Report(int item);
    // Order of keyboard travel: default item, the cells row by row, custom item.
    std::vector<QAbstractButton*> Items() const;
    void MoveFocus(int dx, int dy);

    CColorButton& m_button;
    QToolButton* m_defaultItem = nullptr;
    QToolButton* m_customItem = nullptr;
    std::vector<QToolButton*> m_cells;
    int m_current = -1;
    // Where the arrow keys last left the keyboard, for when no item has the focus (the popup is
    // not the active window).
    int m_keyboardItem = 0;
    bool m_reported = false;
};
