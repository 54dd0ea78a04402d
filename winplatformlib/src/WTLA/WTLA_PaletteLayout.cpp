#include "WTLA/WTLA_PaletteLayout.h"

#include "WTLA/WTLA_PaletteFrame.h"

#include <QList>
#include <QMainWindow>

QRect WTLA_PaletteLayout::ClientArea(const QMainWindow& window)
{
    // Side columns never take the corners, so the central widget's rows are the client rows
    // whatever is docked.
    const QWidget* central = window.centralWidget();
    if (central == nullptr)
        return window.rect();
    const QRect rows = central->geometry();
    return QRect(0, rows.top(), window.width(), rows.height());
}

void WTLA_PaletteLayout::Arrange(QMainWindow& window, WTLA_Arrangement arrangement,
                                 const std::vector<WTLA_PaletteEntry>& entries)
{
    std::vector<WTLA_PaletteItem> items;
    for (const WTLA_PaletteEntry& entry : entries)
    {
        WTLA_PaletteItem item;
        item.size = entry.frame ? entry.frame->PreferredSize() : QSize();
        item.included = entry.frame != nullptr && entry.included;
        item.extraHeight = entry.extraHeight;
        item.setsColumnWidth = entry.frame != nullptr && entry.setsColumnWidth;
        items.push_back(item);
    }
    const QRect client = ClientArea(window);

    if (!WTLA_PaletteArrangement::IsDocked(arrangement))
    {
        const QRect screen(window.mapToGlobal(client.topLeft()), client.size());
        for (const WTLA_Placement& placement :
             WTLA_PaletteArrangement::Compute(arrangement, screen, items))
        {
            WTLA_PaletteFrame* frame = entries[std::size_t(placement.index)].frame;
            if (!frame->isFloating())
                frame->setFloating(true);
            frame->PlaceFloating(placement.rect);
        }
        return;
    }

    const std::vector<WTLA_Placement> placements =
        WTLA_PaletteArrangement::Compute(arrangement, client, items);
    const Qt::DockWidgetArea side = WTLA_PaletteArrangement::IsLeft(arrangement)
                                        ? Qt::LeftDockWidgetArea
                                        : Qt::RightDockWidgetArea;
    // Taken out first and put back in order: the column then reads top to bottom as listed.
    QList<QDockWidget*> column;
    QList<int> widths, heights;
    std::vector<bool> shown;
    for (const WTLA_Placement& placement : placements)
    {
        WTLA_PaletteFrame* frame = entries[std::size_t(placement.index)].frame;
        shown.push_back(!frame->isHidden());
        window.removeDockWidget(frame);
        column.append(frame);
        widths.append(placement.rect.width());
        heights.append(placement.rect.height());
    }
    for (qsizetype i = 0; i < column.size(); ++i)
    {
        window.addDockWidget(side, column[i], Qt::Vertical);
        column[i]->setFloating(false);
        column[i]->setVisible(shown[std::size_t(i)]);
    }
    if (!column.isEmpty())
    {
        window.resizeDocks(column, widths, Qt::Horizontal);
        window.resizeDocks(column, heights, Qt::Vertical);
    }
}
