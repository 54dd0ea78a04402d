#include "WKRN/browser/WKRN_RegistryBrowser.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/browser/WKRN_RegistryItem.h"
#include "WKRN/browser/WKRN_RegistryItemCell.h"
#include "WKRN/browser/WKRN_RegistryPrintTimeCell.h"

#include "WMCT/WMCT_ItemDelegate.h"

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace
{
struct ColumnSpec
{
    int id;
    unsigned title;
    int width;
    int maximum;
    int minimum;
};
constexpr ColumnSpec kColumns[] = {
    {WKRN_RegistryBrowser::kItemColumn, IDS_COLUMN_ITEM, 330, 500, 50},
    {WKRN_RegistryBrowser::kPrintTimeColumn, IDS_COLUMN_PRINT_TIME, 180, 500, 50},
};
constexpr int kLeftInset = 6;
constexpr int kRightInset = 2;

// The viewer's own 16 x 16 pictures of the tree's levels.
QPixmap DrawKind(int kind)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(QColor(60, 60, 60));
    switch (kind)
    {
    case IMPN_RegistryScan::Imposition: // a stack of sheets
        for (int i = 2; i >= 0; --i)
        {
            p.setBrush(QColor(255 - 30 * i, 255 - 30 * i, 255));
            p.drawRect(1 + 2 * i, 1 + 2 * i, 10, 10);
        }
        break;
    case IMPN_RegistryScan::Signature: // a folded sheet
        p.setBrush(QColor(250, 240, 200));
        p.drawRect(1, 3, 13, 10);
        p.drawLine(8, 3, 8, 13);
        break;
    case IMPN_RegistryScan::Sheet: // one press sheet
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 11, 12);
        p.drawRect(4, 4, 3, 3);
        p.drawRect(8, 4, 3, 3);
        break;
    case IMPN_RegistryScan::Surface: // one side of a sheet
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 11, 12);
        p.fillRect(3, 3, 5, 11, QColor(120, 160, 220));
        break;
    default: // an ink
        p.setBrush(QColor(0, 160, 220));
        p.drawEllipse(3, 3, 10, 10);
        break;
    }
    return picture;
}
} // namespace

WKRN_RegistryBrowser::WKRN_RegistryBrowser(QWidget* parent)
    : WMCT_MultiColumnTreeCtrl(parent), m_registry(std::make_unique<IMPN_Registry>())
{
    setObjectName(QStringLiteral("WKRN_RegistryWindow_1009"));
    for (const ColumnSpec& spec : kColumns)
    {
        auto column = TMPL_ReferenceCountPointer<WMCT_HeaderItem>(
            new WMCT_HeaderItem(WKRN_StringTable::Load(spec.title).toStdWString(), spec.id,
                                spec.width, spec.minimum, spec.maximum));
        column->leftInset = kLeftInset;
        column->rightInset = kRightInset;
        AddColumn(column);
    }
    SetCellPrototypes(
        {{kItemColumn, WMCT_CellPrototype(std::make_shared<WKRN_RegistryItemCell>())},
         {kPrintTimeColumn, WMCT_CellPrototype(std::make_shared<WKRN_RegistryPrintTimeCell>())}});
    std::map<int, RowFactory> factories;
    std::vector<QIcon> icons;
    std::vector<int> kinds;
    for (int kind = IMPN_RegistryScan::Imposition; kind <= IMPN_RegistryScan::Separation; ++kind)
    {
        factories[kind] = [kind]
        { return std::make_unique<WKRN_RegistryItem>(IMPN_RegistryScan::Kind(kind)); };
        icons.push_back(KindIcon(kind));
        kinds.push_back(kind);
    }
    SetRowFactories(std::move(factories));
    SetImageList(std::move(icons), std::move(kinds));
}

WKRN_RegistryBrowser::~WKRN_RegistryBrowser()
{
    // Rows point into the registry: they go first.
    DeleteAllItems();
}

QIcon WKRN_RegistryBrowser::KindIcon(int kind)
{
    return QIcon(DrawKind(kind));
}

WKRN_RegistryItem* WKRN_RegistryBrowser::Item(WMCT_ItemRef item) const
{
    return static_cast<WKRN_RegistryItem*>(Row(item));
}

void WKRN_RegistryBrowser::Clear()
{
    DeleteAllItems();
    m_registry->Clear();
}

void WKRN_RegistryBrowser::Take(std::unique_ptr<IMPN_Registry> registry, bool entireTree)
{
    Clear();
    m_registry = registry ? std::move(registry) : std::make_unique<IMPN_Registry>();
    m_entireTree = entireTree;
    // The top-level rows keep the registry's order; rows below are sorted as they are added.
    for (const auto& imposition : m_registry->GetImpositions())
    {
        const WMCT_ItemRef item = InsertRow(L"", IMPN_RegistryScan::Imposition);
        WKRN_RegistryItem* row = Item(item);
        row->SetNode(*imposition);
        if (row->HasChildren(m_entireTree))
            row->AddPlaceholder();
    }
    FitColumns();
}

int WKRN_RegistryBrowser::ContentWidth(int column) const
{
    const auto& columns = Columns();
    if (column < 0 || std::size_t(column) >= columns.size())
        return 0;
    const QFontMetrics metrics(font());
    const int insets = columns[std::size_t(column)]->leftInset +
                       columns[std::size_t(column)]->rightInset + metrics.averageCharWidth();
    int widest = header()->sectionSizeHint(column);
    // Every row made so far, depth first; the first visual column also holds the indentation
    // and the row's picture.
    const bool first = IsFirstVisualColumn(column);
    std::vector<std::pair<WMCT_ItemRef, int>> pending;
    for (const WMCT_ItemRef& item : Children({}))
        pending.emplace_back(item, 1);
    while (!pending.empty())
    {
        const auto [item, depth] = pending.back();
        pending.pop_back();
        if (IsPlaceholder(item))
            continue;
        int width =
            metrics.horizontalAdvance(QString::fromStdWString(ItemText(item, column))) + insets;
        if (first)
            width += depth * indentation() + WMCT_ItemDelegate::kImageAdvance;
        widest = std::max(widest, width);
        for (const WMCT_ItemRef& child : Children(item))
            pending.emplace_back(child, depth + 1);
    }
    return widest;
}

/* The print times keep their full width; the item column takes what is left of the window (up to
   its limit), and the print time column then any width beyond that. The user may still drag a
   column wider; the scroll bar shows the rest. */
void WKRN_RegistryBrowser::FitColumns()
{
    const auto& columns = Columns();
    if (columns.size() <= std::size_t(kPrintTimeColumn))
        return;
    const int available = viewport()->width();
    const WMCT_HeaderItem& itemSpec = *columns[std::size_t(kItemColumn)];
    const WMCT_HeaderItem& timeSpec = *columns[std::size_t(kPrintTimeColumn)];
    const int time = timeSpec.Clamp(ContentWidth(kPrintTimeColumn));
    const int item = itemSpec.Clamp(std::max(available - time, 0));
    header()->resizeSection(kPrintTimeColumn, timeSpec.Clamp(std::max(time, available - item)));
    header()->resizeSection(kItemColumn, item);
}

void WKRN_RegistryBrowser::resizeEvent(QResizeEvent* event)
{
    WMCT_MultiColumnTreeCtrl::resizeEvent(event);
    FitColumns();
}

void WKRN_RegistryBrowser::ItemExpanding(WMCT_ItemRef item)
{
    const std::vector<WMCT_ItemRef> children = Children(item);
    if (children.empty() || !IsPlaceholder(children.front()))
        return;
    WKRN_RegistryItem* row = Item(item);
    if (row == nullptr)
        return;
    row->Populate(m_entireTree);
    // The view may fold a row while it has no children, between the placeholder and the rows.
    ExpandItem(item);
    FitColumns();
}
