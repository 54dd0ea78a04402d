#include "WKRN/palettes/WKRN_ColorDBBrowser.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>

namespace
{
constexpr int kSwatchSize = 16;
constexpr int kColorRole = Qt::UserRole;

QColor ToQColor(const IMPN_ColorBGR& color)
{
    return QColor(color[2], color[1], color[0]);
}

IMPN_ColorBGR FromQColor(const QColor& color)
{
    return IMPN_MakeColorBGR(std::uint8_t(color.red()), std::uint8_t(color.green()),
                             std::uint8_t(color.blue()));
}
} // namespace

WKRN_ColorDBBrowser::WKRN_ColorDBBrowser(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderLabels({WKRN_StringTable::Load(IDS_COLUMN_COLOR)});
    setColumnWidth(0, kColumnWidth);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setIconSize(QSize(kSwatchSize, kSwatchSize));
}

QIcon WKRN_ColorDBBrowser::Swatch(const IMPN_ColorBGR& color)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(color));
    painter.drawRect(1, 1, kSwatchSize - 3, kSwatchSize - 3);
    return QIcon(pixmap);
}

void WKRN_ColorDBBrowser::SetItems(const std::vector<ColorDBItem>& items)
{
    clear();
    for (const ColorDBItem& entry : items)
    {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, QString::fromStdString(entry.name));
        item->setData(0, kColorRole, ToQColor(entry.color));
        item->setIcon(0, Swatch(entry.color));
    }
}

ColorDBItem WKRN_ColorDBBrowser::Item(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr)
        return {};
    return {item->text(0).toStdString(), FromQColor(item->data(0, kColorRole).value<QColor>())};
}

std::vector<ColorDBItem> WKRN_ColorDBBrowser::Items() const
{
    std::vector<ColorDBItem> items;
    for (int row = 0; row < topLevelItemCount(); ++row)
        items.push_back(Item(row));
    return items;
}

std::vector<int> WKRN_ColorDBBrowser::SelectedRows() const
{
    std::vector<int> rows;
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->isSelected())
            rows.push_back(row);
    return rows;
}

void WKRN_ColorDBBrowser::SelectRow(int row, bool selected)
{
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setSelected(selected);
}

void WKRN_ColorDBBrowser::SetRowColor(int row, const IMPN_ColorBGR& color)
{
    if (QTreeWidgetItem* item = topLevelItem(row))
    {
        item->setData(0, kColorRole, ToQColor(color));
        item->setIcon(0, Swatch(color));
    }
}

void WKRN_ColorDBBrowser::RemoveRow(int row)
{
    delete takeTopLevelItem(row);
}
