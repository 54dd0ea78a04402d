#include "WKRN/WKRN_Icons.h"

#include "WKRN/WKRN_CommandTable.h"
#include "WKRN/WKRN_Ids.h"

#include <QPainter>
#include <QPainterPath>

namespace
{
constexpr int kSize = 16;

QPixmap Blank()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawSheet(QPainter& p, const QColor& fill)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fill);
    p.drawRect(2, 2, 11, 11);
}

void DrawLens(QPainter& p, int sign)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(40, 40, 40), 2.5));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    p.setPen(QPen(Qt::black, 1.2));
    if (sign != 0)
        p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (sign > 0)
        p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

QPixmap Paint(int id)
{
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    switch (id)
    {
    case ID_FILE_OPEN_PREVIEW:
        p.setPen(Qt::black);
        p.setBrush(QColor(250, 215, 90));
        p.drawRect(1, 5, 13, 9);
        p.drawRect(1, 3, 5, 2);
        break;
    case ID_FILE_ADD_PREVIEW:
        DrawSheet(p, Qt::white);
        p.setPen(QPen(QColor(0, 130, 0), 2));
        p.drawLine(8, 5, 8, 11);
        p.drawLine(5, 8, 11, 8);
        break;
    case ID_FILE_JOB_BROWSER:
        p.setPen(Qt::black);
        p.setBrush(QColor(250, 215, 90));
        p.drawRect(1, 4, 14, 10);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 8, 6);
        break;
    case ID_ZOOM_IN:
        DrawLens(p, 1);
        break;
    case ID_ZOOM_OUT:
        DrawLens(p, -1);
        break;
    case ID_ZOOM_FIT:
        p.setPen(Qt::black);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(QColor(120, 160, 220));
        p.drawRect(4, 4, 7, 7);
        break;
    case ID_SHEET_SHOW_IMPOSITION:
        DrawSheet(p, Qt::white);
        p.setPen(QColor(0, 0, 255));
        p.drawLine(7, 3, 7, 12);
        p.drawLine(3, 7, 12, 7);
        break;
    case ID_SHEET_PRESS_SHEET_EDGE:
        p.setPen(QPen(QColor(0, 170, 0), 2));
        p.drawRect(2, 2, 11, 11);
        break;
    case ID_SHEET_BLEED_EDGE:
        p.setPen(QPen(QColor(220, 0, 0), 1, Qt::DashLine));
        p.drawRect(2, 2, 11, 11);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(4, 4, 7, 7);
        break;
    case ID_SHEET_PAGE_EDGE:
        p.setPen(QPen(QColor(0, 0, 230), 1));
        p.drawRect(2, 2, 5, 11);
        p.drawRect(8, 2, 5, 11);
        break;
    case ID_SHEET_PAGE_NUMBERS:
    {
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0, 0, 230));
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("12"));
        break;
    }
    case ID_TOOL_PAN:
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        QPainterPath arrows;
        arrows.addPolygon(QPolygonF({{8, 0.5}, {5.5, 3.5}, {10.5, 3.5}}));
        arrows.addPolygon(QPolygonF({{8, 15.5}, {5.5, 12.5}, {10.5, 12.5}}));
        arrows.addPolygon(QPolygonF({{0.5, 8}, {3.5, 5.5}, {3.5, 10.5}}));
        arrows.addPolygon(QPolygonF({{15.5, 8}, {12.5, 5.5}, {12.5, 10.5}}));
        p.fillPath(arrows, Qt::black);
        break;
    }
    case ID_TOOL_MEASURE:
        p.setPen(Qt::black);
        p.setBrush(QColor(240, 220, 150));
        p.drawRect(0, 5, 15, 5);
        for (int x = 2; x < 15; x += 3)
            p.drawLine(x, 5, x, x % 2 == 0 ? 8 : 7);
        break;
    case ID_TOOL_ZOOM:
        DrawLens(p, 0);
        break;
    case ID_TOOL_DENSITOMETER:
        // The aperture with its hairs, as the tool's cursor shows it.
        p.setPen(Qt::black);
        p.setBrush(QColor(120, 200, 230));
        p.drawRect(4, 4, 7, 7);
        p.drawLine(7, 0, 7, 3);
        p.drawLine(7, 12, 7, 15);
        p.drawLine(0, 7, 3, 7);
        p.drawLine(12, 7, 15, 7);
        break;
    default:
        return QPixmap();
    }
    return pixmap;
}
} // namespace

QPixmap WKRN_Icons::OwnCommandPicture(int commandId)
{
    return Paint(commandId);
}

QIcon WKRN_Icons::Command(int commandId)
{
    const WKRN_CommandInfo* info = WKRN_CommandTable::Find(commandId);
    const QPixmap own = Paint(commandId);
    QIcon fallback = own.isNull() ? QIcon() : QIcon(own);
    if (info != nullptr && info->themeIcon[0] != '\0')
        return QIcon::fromTheme(QString::fromLatin1(info->themeIcon), fallback);
    return fallback;
}

QIcon WKRN_Icons::Program()
{
    QIcon icon;
    for (int size : {16, 32, 48})
    {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size / 16.0;
        // Four overprinted inks: the picture of a press sheet.
        const QColor inks[] = {QColor(0, 174, 239, 200), QColor(236, 0, 140, 200),
                               QColor(255, 242, 0, 200), QColor(35, 31, 32, 220)};
        const QPointF centres[] = {{5.5, 5.5}, {10.5, 5.5}, {5.5, 10.5}, {10.5, 10.5}};
        for (int i = 0; i < 4; ++i)
        {
            p.setPen(Qt::NoPen);
            p.setBrush(inks[i]);
            p.drawEllipse(QPointF(centres[i].x() * s, centres[i].y() * s), 4.5 * s, 4.5 * s);
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

int WKRN_Icons::WorkStyleIconId(int workStyle)
{
    if (workStyle >= 1 && workStyle <= 4)
        return IDI_WORKSTYLE_1 + (workStyle - 1);
    return IDI_WORKSTYLE_OTHER;
}

QPixmap WKRN_Icons::WorkStyle(int workStyle)
{
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    const int id = WorkStyleIconId(workStyle);
    // Front and back drawn as two sheets; the letters tell the work style apart.
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    QFont font = p.font();
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    const char* label = "";
    switch (id)
    {
    case IDI_WORKSTYLE_1:
        label = "SW";
        break;
    case IDI_WORKSTYLE_2:
        label = "PF";
        break;
    case IDI_WORKSTYLE_3:
        label = "WT";
        break;
    case IDI_WORKSTYLE_4:
        label = "WB";
        break;
    default:
        label = "";
        break;
    }
    p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, QString::fromLatin1(label));
    return pixmap;
}
