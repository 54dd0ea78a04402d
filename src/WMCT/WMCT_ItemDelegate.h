#pragma once
// Paints the cells of a tree control: the row's cell for each column, inside the column's insets,
// with the item's image in front of the first column.

#include <QStyledItemDelegate>

class WMCT_MultiColumnTreeCtrl;

class WMCT_ItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int kImageSize = 16;
    static constexpr int kImageAdvance = 20;
    static constexpr int kRowHeight = 20;

    explicit WMCT_ItemDelegate(WMCT_MultiColumnTreeCtrl& control);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the cell content of an item goes within the rectangle the view gives the column.
    QRect CellRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

private:
    WMCT_MultiColumnTreeCtrl& m_control;
};
