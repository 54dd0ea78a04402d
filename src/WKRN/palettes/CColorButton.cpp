#include "WKRN/palettes/CColorButton.h"

#include "WKRN/palettes/CColorPopup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace
{
constexpr int kSwatchHeight = 14;
constexpr int kArrowWidth = 12;

// Names are shown as they stand, "Pale green " with its blank included.
const std::array<CColorButton::NamedColor, CColorButton::kGridCount> kGrid = {{
    {"Black", 0x000000},
    {"Brown", 0xA52A00},
    {"Dark Olive Green", 0x004040},
    {"Dark Green", 0x005500},
    {"Dark Teal", 0x00005E},
    {"Dark blue", 0x00008B},
    {"Indigo", 0x4B0082},
    {"Dark grey", 0x282828},
    {"Dark red", 0x8B0000},
    {"Orange", 0xFF6820},
    {"Dark yellow", 0x8B8B00},
    {"Green", 0x009300},
    {"Teal", 0x388E8E},
    {"Blue", 0x0000FF},
    {"Blue-grey", 0x7B7BC0},
    {"Grey - 40", 0x666666},
    {"Red", 0xFF0000},
    {"Light orange", 0xFFAD5B},
    {"Lime", 0x32CD32},
    {"Sea green", 0x3CB371},
    {"Aqua", 0x7FFFD4},
    {"Light blue", 0x7D9EC0},
    {"Violet", 0x800080},
    {"Grey - 50", 0x7F7F7F},
    {"Pink", 0xFFC0CB},
    {"Gold", 0xFFD700},
    {"Yellow", 0xFFFF00},
    {"Bright green", 0x00FF00},
    {"Turquoise", 0x40E0D0},
    {"Skyblue", 0xC0FFFF},
    {"Plum", 0x480048},
    {"Light grey", 0xC0C0C0},
    {"Rose", 0xFFE4E1},
    {"Tan", 0xD2B48C},
    {"Light yellow", 0xFFFFE0},
    {"Pale green ", 0x98FB98},
    {"Pale turquoise", 0xAFEEEE},
    {"Pale blue", 0x68838B},
    {"Lavender", 0xE6E6FA},
    {"White", 0xFFFFFF},
}};

const char* const kAutomatic = QT_TRANSLATE_NOOP("CColorButton", "Automatic");
const char* const kMoreColors = QT_TRANSLATE_NOOP("CColorButton", "More Colors...");
} // namespace

const std::array<CColorButton::NamedColor, CColorButton::kGridCount>& CColorButton::Grid()
{
    return kGrid;
}

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &CColorButton::ShowPopup);
}

CColorButton::~CColorButton()
{
    delete m_popup.data();
}

WTLU_ColorDialog::CustomColors& CColorButton::CustomColors()
{
    static WTLU_ColorDialog::CustomColors table = WTLU_ColorDialog::WhiteTable();
    return table;
}

void CColorButton::SetColor(const QColor& color)
{
    m_color = color;
    m_defaultChosen = false;
    update();
}

QString CColorButton::DefaultText() const
{
    return m_defaultText.isEmpty() ? QCoreApplication::translate("CColorButton", kAutomatic)
                                   : m_defaultText;
}

QString CColorButton::CustomText() const
{
    return m_customText.isEmpty() ? QCoreApplication::translate("CColorButton", kMoreColors)
                                  : m_customText;
}

/* Below the button when it fits on the button's screen, else above it; never past the screen's
   left or right edge. */
void CColorButton::ShowPopup()
{
    if (m_popup)
        return;
    auto* popup = new CColorPopup(*this);
    m_popup = popup;
    popup->adjustSize();
    const QSize size = popup->sizeHint();
    QPoint at = mapToGlobal(QPoint(0, height()));
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
    {
        const QRect area = screen->availableGeometry();
        if (at.y() + size.height() > area.bottom() + 1)
            at.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::max(at.y(), area.top()));
    }
    popup->move(at);
    popup->show();
}

void CColorButton::Choose(int item)
{
    if (item == kDefaultItem)
    {
        m_color = m_defaultColor;
        m_defaultChosen = true;
        update();
        emit ColorChanged(m_color);
    }
    else if (item >= 0 && item < kGridCount)
    {
        SetColor(QColor::fromRgb(kGrid[std::size_t(item)].rgb));
        emit ColorChanged(m_color);
    }
    else if (item == kCustomItem)
        ChooseWithDialog();
}

void CColorButton::ChooseWithDialog()
{
    const std::optional<QColor> chosen =
        WTLU_ColorDialog::Choose(m_color, CustomColors(), window(), CustomText());
    if (!chosen)
        return;
    SetColor(chosen->toRgb());
    emit ColorChanged(m_color);
}

QSize CColorButton::sizeHint() const
{
    const QSize text = QPushButton::sizeHint();
    return QSize(std::max(text.width(), 60), std::max(text.height(), kSwatchHeight + 10));
}

QSize CColorButton::minimumSizeHint() const
{
    return QSize(kArrowWidth + 24, kSwatchHeight + 8);
}

void CColorButton::keyPressEvent(QKeyEvent* event)
{
    // The keyboard way to drop the choice down, as for a combo box.
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)))
    {
        ShowPopup();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    if (m_popup)
        option.state |= QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QRect swatch = content.adjusted(2, 0, -kArrowWidth - 2, 0);
    const int swatchHeight = std::min(swatch.height(), kSwatchHeight);
    swatch.setTop(content.center().y() - swatchHeight / 2);
    swatch.setHeight(swatchHeight);
    const bool enabled = isEnabled();
    painter.setPen(
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.setBrush(enabled ? m_color : palette().color(QPalette::Disabled, QPalette::Button));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect =
        QRect(content.right() - kArrowWidth + 1, content.top(), kArrowWidth, content.height());
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}

CColorPopup* CColorButton::Popup() const
{
    return m_popup.data();
}
