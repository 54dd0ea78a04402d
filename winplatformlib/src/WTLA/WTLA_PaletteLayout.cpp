#include "WTLA/WTLA_PaletteLayout.h"

#include "WTLA/WTLA_PaletteFrame.h"

#include <QAbstractScrollArea>
#include <QLayout>
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

QRect WTLA_PaletteLayout::FloatingArea(const QMainWindow& window)
{
    const QWidget* central = window.centralWidget();
    if (central == nullptr)
        return QRect(window.mapToGlobal(QPoint(0, 0)), window.size());
    const QWidget* shown = central;
    if (const auto* scrolling = qobject_cast<const QAbstractScrollArea*>(central))
        shown = scrolling->viewport();
    return QRect(shown->mapToGlobal(QPoint(0, 0)), shown->size());
}

void WTLA_PaletteLayout::Arrange(QMainWindow& window, WTLA_Arrangement arrangement,
                                 const std::vector<WTLA_PaletteEntry>& entries)
{
    const bool docked = WTLA_PaletteArrangement::IsDocked(arrangement);
    if (!docked)
    {
        // Out of the dock columns first: the area they float in is the one left without them.
        bool undocked = false;
        for (const WTLA_PaletteEntry& entry : entries)
            if (entry.frame != nullptr && entry.included && !entry.frame->isFloating())
            {
                entry.frame->setFloating(true);
                undocked = true;
            }
        if (undocked && window.layout() != nullptr)
            window.layout()->activate();
    }

    std::vector<WTLA_PaletteItem> items;
    for (const WTLA_PaletteEntry& entry : entries)
    {
        WTLA_PaletteItem item;
        item.size = entry.frame ? entry.frame->PreferredSize() : QSize();
        item.minimum = entry.frame ? entry.frame->MinimumSize() : QSize();
        item.included = entry.frame != nullptr && entry.included;
        item.extraHeight = entry.extraHeight;
        item.setsColumnWidth = entry.frame != nullptr && entry.setsColumnWidth;
        items.push_back(item);
    }

    if (!docked)
    {
        for (const WTLA_Placement& placement :
             WTLA_PaletteArrangement::Compute(arrangement, FloatingArea(window), items))
            entries[std::size_t(placement.index)].frame->PlaceFloating(placement.rect);
        return;
    }

    const QRect client = ClientArea(window);
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
