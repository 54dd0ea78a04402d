#include "WKRN/palettes/CColorPopup.h"

#include "WKRN/palettes/CColorButton.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
constexpr int kCellSize = 18;
constexpr int kSwatchSize = 12;

QIcon SwatchIcon(const QColor& color)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(pixmap);
}

QToolButton* TextItem(const QString& text, QWidget* parent)
{
    auto* item = new QToolButton(parent);
    item->setText(text);
    item->setAutoRaise(true);
    item->setToolButtonStyle(Qt::ToolButtonTextOnly);
    item->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return item;
}
} // namespace

CColorPopup::CColorPopup(CColorButton& button) : QFrame(&button, Qt::Popup), m_button(button)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);

    m_defaultItem = TextItem(button.DefaultText(), this);
    m_defaultItem->setObjectName(QStringLiteral("CColorPopup_Default"));
    connect(m_defaultItem, &QToolButton::clicked, this,
            [this] { Report(CColorButton::kDefaultItem); });
    layout->addWidget(m_defaultItem);

    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    const QColor current = button.Color();
    for (int i = 0; i < CColorButton::kGridCount; ++i)
    {
        const CColorButton::NamedColor& named = CColorButton::Grid()[std::size_t(i)];
        const QColor color = QColor::fromRgb(named.rgb);
        auto* cell = new QToolButton(this);
        cell->setObjectName(QStringLiteral("CColorPopup_Cell%1").arg(i));
        cell->setAutoRaise(true);
        cell->setCheckable(true);
        cell->setIcon(SwatchIcon(color));
        cell->setIconSize(QSize(kSwatchSize, kSwatchSize));
        cell->setFixedSize(kCellSize, kCellSize);
        cell->setToolTip(QString::fromLatin1(named.name));
        if (m_current < 0 && current.isValid() && color.rgb() == current.rgb() &&
            !button.IsDefaultChosen())
        {
            m_current = i;
            cell->setChecked(true);
        }
        connect(cell, &QToolButton::clicked, this, [this, i] { Report(i); });
        grid->addWidget(cell, i / CColorButton::kColumns, i % CColorButton::kColumns);
        m_cells.push_back(cell);
    }
    layout->addLayout(grid);

    m_customItem = TextItem(button.CustomText(), this);
    m_customItem->setObjectName(QStringLiteral("CColorPopup_Custom"));
    connect(m_customItem, &QToolButton::clicked, this,
            [this] { Report(CColorButton::kCustomItem); });
    layout->addWidget(m_customItem);

    m_keyboardItem = m_current >= 0 ? m_current + 1 : 0;
    Items()[std::size_t(m_keyboardItem)]->setFocus(Qt::PopupFocusReason);
}

int CColorPopup::KeyboardItem() const
{
    const std::vector<QAbstractButton*> items = Items();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->hasFocus())
            return int(i);
    return m_keyboardItem;
}

QToolButton* CColorPopup::Cell(int index) const
{
    return index >= 0 && index < int(m_cells.size()) ? m_cells[std::size_t(index)] : nullptr;
}

/* The popup closes before the button acts, so that the colour dialog the custom item opens does
   not sit under a popup that grabs the mouse. The button outlives its popup (it owns it). */
void CColorPopup::Report(int item)
{
    if (m_reported)
        return;
    m_reported = true;
    CColorButton* button = &m_button;
    close();
    button->Choose(item);
}

std::vector<QAbstractButton*> CColorPopup::Items() const
{
    std::vector<QAbstractButton*> items{m_defaultItem};
    items.insert(items.end(), m_cells.begin(), m_cells.end());
    items.push_back(m_customItem);
    return items;
}

/* Up from the first row reaches the default item, down from the last row the custom item; left
   and right run through every item in order. */
void CColorPopup::MoveFocus(int dx, int dy)
{
    const std::vector<QAbstractButton*> items = Items();
    const int at = KeyboardItem();
    const int last = int(items.size()) - 1;
    int next = at;
    if (dx != 0)
        next = std::clamp(at + dx, 0, last);
    else if (at == 0)
        next = dy > 0 ? 1 : 0;
    else if (at == last)
        next = dy < 0 ? last - CColorButton::kColumns : last;
    else
    {
        next = at + dy * CColorButton::kColumns;
        if (next < 1)
            next = 0;
        else if (next > CColorButton::kGridCount)
            next = last;
    }
    m_keyboardItem = next;
    items[std::size_t(next)]->setFocus(Qt::TabFocusReason);
}

void CColorPopup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key())
    {
    case Qt::Key_Left:
        MoveFocus(-1, 0);
        return;
    case Qt::Key_Right:
        MoveFocus(1, 0);
        return;
    case Qt::Key_Up:
        MoveFocus(0, -1);
        return;
    case Qt::Key_Down:
        MoveFocus(0, 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    {
        const int item = KeyboardItem();
        Report(item == 0                         ? CColorButton::kDefaultItem
               : item > CColorButton::kGridCount ? CColorButton::kCustomItem
                                                 : item - 1);
        return;
    }
    case Qt::Key_Escape:
        close();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}
