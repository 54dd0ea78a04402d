#include "WMCT/WMCT_CellString.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

std::unique_ptr<WMCT_CellBase> WMCT_CellString::Clone() const
{
    return std::unique_ptr<WMCT_CellBase>(new WMCT_CellString(*this));
}

void WMCT_CellString::SetText(const std::wstring& text)
{
    m_text = text;
}

void WMCT_CellString::Draw(QPainter& painter, const QRect& rect, const QPalette& palette) const
{
    if (rect.width() <= 0)
        return;
    const QFontMetrics metrics(painter.font());
    const QString shown =
        metrics.elidedText(QString::fromStdWString(m_text), m_elide, rect.width());
    painter.setPen(palette.color(GetDrawState() == Selected ? QPalette::HighlightedText
                                                            : QPalette::WindowText));
    // Centred vertically: the rectangle moves down by half of what the font leaves free.
    QRect textRect = rect;
    textRect.moveTop(rect.top() + (rect.height() - metrics.height()) / 2);
    textRect.setHeight(metrics.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
}
