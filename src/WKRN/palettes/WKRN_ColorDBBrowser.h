#pragma once
// The list of the Edit Custom Colors dialog: one row per colour, its name beside a 16 x 16
// swatch, under one column "Color". Several rows can be selected at once.

#include "IMPN/IMPN_ColorRecord.h"

#include <QTreeWidget>

#include <string>
#include <vector>

// One row: a custom colour's name and its RGB value.
struct ColorDBItem
{
    std::string name;
    IMPN_ColorBGR color{0, 0, 0};
};

class WKRN_ColorDBBrowser : public QTreeWidget
{
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 290;

    explicit WKRN_ColorDBBrowser(QWidget* parent = nullptr);

    void SetItems(const std::vector<ColorDBItem>& items);
    // The rows in the order shown.
    std::vector<ColorDBItem> Items() const;
    int RowCount() const { return topLevelItemCount(); }
    // Selected rows, ascending.
    std::vector<int> SelectedRows() const;
    void SelectRow(int row, bool selected = true);
    void SetRowColor(int row, const IMPN_ColorBGR& color);
    void RemoveRow(int row);
    ColorDBItem Item(int row) const;

    static QIcon Swatch(const IMPN_ColorBGR& color);
};
