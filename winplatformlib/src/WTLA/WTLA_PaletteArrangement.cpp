#include "WTLA/WTLA_PaletteArrangement.h"

#include <algorithm>
#include <cstdint>

namespace
{
int Clamped(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, INT32_MIN / 2, INT32_MAX / 2));
}
} // namespace

bool WTLA_PaletteArrangement::IsDocked(WTLA_Arrangement arrangement)
{
    return arrangement == WTLA_Arrangement::DockLeft || arrangement == WTLA_Arrangement::DockRight;
}

bool WTLA_PaletteArrangement::IsLeft(WTLA_Arrangement arrangement)
{
    return arrangement == WTLA_Arrangement::FloatLeft || arrangement == WTLA_Arrangement::DockLeft;
}

int WTLA_PaletteArrangement::ColumnWidth(const std::vector<WTLA_PaletteItem>& items)
{
    int setting = -1;
    int included = 0;
    for (const WTLA_PaletteItem& item : items)
    {
        if (item.setsColumnWidth)
            setting = std::max(setting, item.size.width());
        if (item.included)
            included = std::max(included, item.size.width());
    }
    return std::max(0, setting >= 0 ? setting : included);
}

std::vector<WTLA_Placement>
WTLA_PaletteArrangement::Compute(WTLA_Arrangement arrangement, const QRect& client,
                                 const std::vector<WTLA_PaletteItem>& items)
{
    std::vector<WTLA_Placement> placements;
    const bool left = IsLeft(arrangement);
    if (!IsDocked(arrangement))
    {
        const std::int64_t bottom = std::int64_t{client.top()} + std::max(0, client.height());
        // The outer edge of the column being filled, and how wide it has become.
        std::int64_t edge =
            left ? client.left() : std::int64_t{client.left()} + std::max(0, client.width());
        std::int64_t columnWidth = 0;
        std::int64_t y = client.top();
        bool columnEmpty = true;
        for (std::size_t i = 0; i < items.size(); ++i)
        {
            if (!items[i].included)
                continue;
            QSize size = items[i].size.expandedTo(QSize(0, 0));
            if (!columnEmpty && y + size.height() > bottom)
            {
                edge = left ? edge + columnWidth : edge - columnWidth;
                columnWidth = 0;
                y = client.top();
                columnEmpty = true;
            }
            if (y + size.height() > bottom)
                size.setHeight(int(
                    std::max<std::int64_t>(std::max(0, items[i].minimum.height()), bottom - y)));
            const std::int64_t x = left ? edge : edge - size.width();
            placements.push_back({int(i), QRect(QPoint(Clamped(x), Clamped(y)), size), 0.0});
            y += size.height();
            columnWidth = std::max<std::int64_t>(columnWidth, size.width());
            columnEmpty = false;
        }
        return placements;
    }

    // Docked: starts as fractions of the client height, then pixel rows from them.
    const int width = ColumnWidth(items);
    const int height = std::max(0, client.height());
    const int x = left ? client.left() : client.left() + client.width() - width;
    std::int64_t covered = 0;
    std::vector<std::int64_t> tops;
    for (std::size_t i = 0; i < items.size(); ++i)
    {
        if (!items[i].included)
            continue;
        // An empty client area has no fractions to give: everything starts at its top.
        const double start = height > 0 ? std::min(1.0, double(covered) / double(height)) : 0.0;
        placements.push_back({int(i), QRect(), start});
        // The same start in whole rows, without the rounding of the fraction.
        tops.push_back(std::min<std::int64_t>(covered, height));
        covered += std::max(0, items[i].size.height()) + std::max(0, items[i].extraHeight);
    }
    for (std::size_t k = 0; k < placements.size(); ++k)
    {
        const std::int64_t bottom = k + 1 < placements.size() ? tops[k + 1] : height;
        placements[k].rect = QRect(x, client.top() + int(tops[k]), width, int(bottom - tops[k]));
    }
    return placements;
}

WTLA_Cover WTLA_PaletteArrangement::Covered(const QRect& area, const std::vector<QRect>& frames)
{
    WTLA_Cover cover;
    // Twice the middles, to compare them in whole numbers.
    const std::int64_t middle = 2 * std::int64_t{area.left()} + area.width();
    for (const QRect& frame : frames)
    {
        const QRect over = frame.intersected(area);
        if (over.isEmpty())
            continue;
        if (2 * std::int64_t{frame.left()} + frame.width() >= middle)
            cover.right = std::max(cover.right, area.right() + 1 - over.left());
        else
            cover.left = std::max(cover.left, over.right() + 1 - area.left());
    }
    return cover;
}
