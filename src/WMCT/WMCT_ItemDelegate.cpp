#include "WMCT/WMCT_ItemDelegate.h"

#include "WMCT/WMCT_MultiColumnTreeCtrl.h"
#include "WMCT/WMCT_TreeModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

WMCT_ItemDelegate::WMCT_ItemDelegate(WMCT_MultiColumnTreeCtrl& control)
    : QStyledItemDelegate(&control), m_control(control)
{
}

QRect WMCT_ItemDelegate::CellRect(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    QRect rect = option.rect;
    const WMCT_TreeModel& model = m_control.Model();
    const WMCT_TreeNode* node = model.NodeOf(index);
    // The view has already indented the first visual column by the item's level.
    if (m_control.IsFirstVisualColumn(index.column()))
    {
        if (node->stateImage >= 0)
        {
            QStyleOptionViewItem check = option;
            check.features |= QStyleOptionViewItem::HasCheckIndicator;
            const QWidget* widget = option.widget;
            QStyle* style = widget ? widget->style() : QApplication::style();
            const QRect box =
                style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &check, widget);
            rect.setLeft(box.right() + 1);
        }
        if (node->image >= 0)
            rect.setLeft(rect.left() + kImageAdvance);
    }
    const auto& columns = model.GetColumns();
    if (std::size_t(index.column()) < columns.size())
    {
        const WMCT_HeaderItem& column = *columns[std::size_t(index.column())];
        rect.setLeft(rect.left() + column.leftInset);
        rect.setRight(rect.right() - column.rightInset);
    }
    return rect;
}

void WMCT_ItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const WMCT_TreeModel& model = m_control.Model();
    const WMCT_TreeNode* node = model.NodeOf(index);
    painter->save();
    if (m_control.IsFirstVisualColumn(index.column()))
    {
        int left = option.rect.left();
        if (node->stateImage >= 0)
        {
            QStyleOptionViewItem check = opt;
            check.features |= QStyleOptionViewItem::HasCheckIndicator;
            check.rect =
                style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &check, widget);
            check.state = check.state & ~QStyle::State_HasFocus;
            check.state |= node->stateImage > 0 ? QStyle::State_On : QStyle::State_Off;
            style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
            left = check.rect.right() + 1;
        }
        if (node->image >= 0)
        {
            const QIcon icon = model.Image(node->image);
            const QRect box(left + 2, option.rect.top() + (option.rect.height() - kImageSize) / 2,
                            kImageSize, kImageSize);
            icon.paint(painter, box);
        }
    }
    const QRect rect = CellRect(option, index);
    painter->setClipRect(option.rect);
    const auto& columns = model.GetColumns();
    if (node->row && std::size_t(index.column()) < columns.size())
        node->row->DrawCell(columns[std::size_t(index.column())]->columnId, *painter, rect,
                            option.palette);
    else if (index.column() == 0)
    {
        painter->setPen(option.palette.color((option.state & QStyle::State_Selected)
                                                 ? QPalette::HighlightedText
                                                 : QPalette::WindowText));
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          QString::fromStdWString(node->label));
    }
    painter->restore();
}

QSize WMCT_ItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), kRowHeight));
    return size;
}
