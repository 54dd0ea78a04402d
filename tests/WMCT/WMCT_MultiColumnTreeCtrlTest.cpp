#include "WMCT/WMCT_MultiColumnTreeCtrl.h"
#include "WMCT/WMCT_CellDateTime.h"
#include "WMCT/WMCT_CellString.h"
#include "WMCT/WMCT_CheckboxClickMessage.h"
#include "WMCT/WMCT_DoubleClickMessage.h"
#include "WMCT/WMCT_SelectionChangedMessage.h"
#include "WMCT/WMCT_TreeModel.h"

#include "GLIB/GLIB_Callback.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_FatalException.h"
#include "GLIB/GLIB_Globals.h"
#include "GLIB/GLIB_MessageTarget.h"

#include "KRN_TestApplication.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new KRN_TestApplication<QApplication>("wmct_tests"));

int g_rowsAlive = 0;
int g_cellsAlive = 0;

class CountedCell : public WMCT_CellString
{
public:
    CountedCell() { ++g_cellsAlive; }
    CountedCell(const CountedCell& other) : WMCT_CellString(other) { ++g_cellsAlive; }
    ~CountedCell() override { --g_cellsAlive; }
    std::unique_ptr<WMCT_CellBase> Clone() const override
    {
        return std::make_unique<CountedCell>(*this);
    }
};

class CountedRow : public WMCT_RowBase
{
public:
    CountedRow() { ++g_rowsAlive; }
    ~CountedRow() override { --g_rowsAlive; }
};

// Compares the texts of one column (the parameter's low byte) in a direction (its sign).
int CompareTexts(const WMCT_RowBase& a, const WMCT_RowBase& b, std::intptr_t parameter)
{
    const int column = int(parameter < 0 ? -parameter : parameter) - 1;
    const int c = a.Cell(column)->Text().compare(b.Cell(column)->Text());
    const int sign = (c > 0) - (c < 0);
    return parameter < 0 ? -sign : sign;
}

class Receiver : public GLIB_MessageTarget
{
public:
    void OnDoubleClick(const WMCT_DoubleClickMessage& m)
    {
        doubleClicks.push_back(m.Items());
        if (throwOnDoubleClick)
            throw GLIB_Exception(1449099, "receiver failed", "r.cpp", 7);
    }
    void OnSelection(const WMCT_SelectionChangedMessage& m)
    {
        selections.push_back(m.Items());
        for (const WMCT_ItemRef& item : m.Items())
            if (!item.tree->Exists(item))
                ++deletedNamed;
    }
    void OnCheckbox(const WMCT_CheckboxClickMessage& m) { checks.push_back(m.Item()); }

    std::vector<std::vector<WMCT_ItemRef>> doubleClicks;
    std::vector<std::vector<WMCT_ItemRef>> selections;
    std::vector<WMCT_ItemRef> checks;
    int deletedNamed = 0;
    bool throwOnDoubleClick = false;
};

// A control with the columns "Item" (id 0) and "Time" (id 1), string cells and two row kinds.
struct Fixture
{
    Fixture(bool hideTime = false)
    {
        auto item = TMPL_ReferenceCountPointer<WMCT_HeaderItem>(
            new WMCT_HeaderItem(L"Item", 0, 150, 50, 500));
        auto time = TMPL_ReferenceCountPointer<WMCT_HeaderItem>(
            new WMCT_HeaderItem(L"Time", 1, 120, 60, 300));
        time->hideWhenExpanded = hideTime;
        control.AddColumn(item);
        control.AddColumn(time);
        auto prototype = std::make_shared<CountedCell>();
        control.SetCellPrototypes(
            {{0, WMCT_CellPrototype(prototype)}, {1, WMCT_CellPrototype(prototype)}});
        control.SetRowFactories({{0, [] { return std::make_unique<CountedRow>(); }},
                                 {1, [] { return std::make_unique<CountedRow>(); }}});
        control.SetImageList({QIcon()}, {0});
        control.resize(400, 300);
        control.AddCallback(GLIB_MakeCallback(&receiver, &Receiver::OnDoubleClick));
        control.AddCallback(GLIB_MakeCallback(&receiver, &Receiver::OnSelection));
        control.AddCallback(GLIB_MakeCallback(&receiver, &Receiver::OnCheckbox));
    }

    WMCT_ItemRef Add(const std::wstring& a, const std::wstring& b, WMCT_ItemRef parent = {})
    {
        const WMCT_ItemRef item =
            parent.IsEmpty() ? control.InsertRow(a, 0) : control.InsertChildRow(a, parent, 1);
        control.Row(item)->Cell(0)->SetText(a);
        control.Row(item)->Cell(1)->SetText(b);
        return item;
    }

    std::vector<std::wstring> Texts(WMCT_ItemRef parent, int column = 0)
    {
        std::vector<std::wstring> texts;
        for (const WMCT_ItemRef& child : control.Children(parent))
            texts.push_back(control.ItemText(child, column));
        return texts;
    }

    QPoint Centre(WMCT_ItemRef item)
    {
        return control.visualRect(control.IndexOf(item, 1)).center();
    }

    Receiver receiver;
    WMCT_MultiColumnTreeCtrl control;
};

using Texts = std::vector<std::wstring>;
} // namespace

TEST(WMCT_Columns, LimitsHoldWhileResizing)
{
    Fixture f;
    QHeaderView* header = f.control.header();
    header->resizeSection(0, 10);
    EXPECT_EQ(header->sectionSize(0), 50);
    header->resizeSection(0, 900);
    EXPECT_EQ(header->sectionSize(0), 500);
    header->resizeSection(1, 20);
    EXPECT_EQ(header->sectionSize(1), 60);
    header->resizeSection(1, 250);
    EXPECT_EQ(header->sectionSize(1), 250);
    EXPECT_EQ(f.control.Columns()[1]->width, 250);
    EXPECT_EQ(f.control.Columns()[0]->width, 500);
}

TEST(WMCT_Columns, MovedFirstColumnKeepsIndentationAndHeaderOrder)
{
    Fixture f;
    f.control.show();
    const WMCT_ItemRef top = f.Add(L"top", L"1");
    const WMCT_ItemRef child = f.Add(L"child", L"2", top);
    f.control.ExpandItem(top);
    QHeaderView* header = f.control.header();

    // A child is at level two; its kind has an image, which the cell rectangle leaves room for.
    auto indentOf = [&](int logical)
    {
        return f.control.visualRect(f.control.IndexOf(child, logical)).left() -
               f.control.columnViewportPosition(logical);
    };
    EXPECT_EQ(indentOf(0), 2 * WMCT_MultiColumnTreeCtrl::kIndentation);
    EXPECT_EQ(indentOf(1), 0);

    header->moveSection(1, 0);
    EXPECT_EQ(indentOf(1), 2 * WMCT_MultiColumnTreeCtrl::kIndentation);
    EXPECT_EQ(indentOf(0), 0);
    EXPECT_TRUE(f.control.IsFirstVisualColumn(1));
    EXPECT_EQ(f.control.ColumnIdsInHeaderOrder(), (std::vector<int>{1, 0}));
    // Rows made after the move get their cells in the new header order, all of them.
    const WMCT_ItemRef later = f.Add(L"later", L"3");
    EXPECT_EQ(f.control.Row(later)->Cells().size(), 2u);
}

TEST(WMCT_Rows, ChildrenKeepCallOrderAndInsertAfterFollowsTheSibling)
{
    Fixture f;
    const WMCT_ItemRef top = f.Add(L"top", L"");
    f.control.AddPlaceholder(top);
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"})
        f.Add(name, L"", top);
    EXPECT_EQ(f.Texts(top), (Texts{WMCT_RowBase::PlaceholderLabel, L"a", L"b", L"c", L"d"}));

    const WMCT_ItemRef first = f.Add(L"first", L"");
    f.Add(L"third", L"");
    f.control.InsertRowAfter(L"second", first, 0);
    EXPECT_EQ(f.control.Row(f.control.Children({})[2])->Label(), L"second");
    EXPECT_EQ(f.control.ImageIndexOfKind(0), 0);
    EXPECT_EQ(f.control.ImageIndexOfKind(1), -1);
}

TEST(WMCT_Rows, FailedInsertLeavesNoItemAndErrorsAreTheDocumentedOnes)
{
    Fixture f;
    f.control.SetCellPrototypes({{0, WMCT_CellPrototype([] { return nullptr; })}});
    try
    {
        f.control.InsertRow(L"x", 0);
        FAIL() << "a cell that cannot be made must refuse the row";
    }
    catch (const GLIB_Exception& e)
    {
        EXPECT_EQ(e.GetCode(), 1449001);
        EXPECT_EQ(e.WhatNarrow(), "An Error occured during the creation of cells for a row in the"
                                  "              Windows multi-column tree control - "
                                  "unsuccessful Clone()");
    }
    EXPECT_TRUE(f.control.Children({}).empty());

    // The same column id twice in the header.
    f.control.AddColumn(
        TMPL_ReferenceCountPointer<WMCT_HeaderItem>(new WMCT_HeaderItem(L"Again", 0, 80, 50, 500)));
    f.control.SetCellPrototypes({{0, WMCT_CellPrototype(std::make_shared<WMCT_CellString>())},
                                 {1, WMCT_CellPrototype(std::make_shared<WMCT_CellString>())}});
    try
    {
        f.control.InsertRow(L"x", 0);
        FAIL() << "a column id twice must refuse the row";
    }
    catch (const GLIB_Exception& e)
    {
        EXPECT_EQ(e.GetCode(), 1449001);
        EXPECT_EQ(e.WhatNarrow(), "An Error occured during the creation of cells for a row in the"
                                  "             Windows multi-column tree control - "
                                  "unsuccessful insert()");
    }
    EXPECT_EQ(f.control.model()->rowCount(), 0);

    // A kind without a factory.
    try
    {
        f.control.InsertRow(L"x", 7);
        FAIL() << "a kind without a factory must be refused";
    }
    catch (const GLIB_Exception& e)
    {
        EXPECT_EQ(e.GetCode(), WMCT_MultiColumnTreeCtrl::kNoFactoryCode);
    }
    EXPECT_EQ(f.control.model()->rowCount(), 0);
}

TEST(WMCT_Rows, DeletingAnItemDestroysItsRowsAndCells)
{
    const int rows = g_rowsAlive;
    const int cells = g_cellsAlive;
    {
        Fixture f;
        const WMCT_ItemRef top = f.Add(L"top", L"");
        const WMCT_ItemRef child = f.Add(L"child", L"", top);
        f.Add(L"other", L"");
        EXPECT_EQ(g_rowsAlive, rows + 3);
        f.control.DeleteItem(top);
        EXPECT_EQ(g_rowsAlive, rows + 1);
        EXPECT_EQ(g_cellsAlive, cells + 1 /* prototype */ + 2);
        EXPECT_EQ(f.control.Row(child), nullptr);
        EXPECT_FALSE(f.control.Exists(top));
    }
    EXPECT_EQ(g_rowsAlive, rows);
    EXPECT_EQ(g_cellsAlive, cells);
}

TEST(WMCT_Sorting, ByEachColumnBothWaysAndStable)
{
    Fixture f;
    const WMCT_ItemRef top = f.Add(L"top", L"");
    f.Add(L"b", L"2", top);
    f.Add(L"a", L"3", top);
    f.Add(L"c", L"1", top);
    f.Add(L"a", L"0", top); // equal to the second in column 0
    f.control.SortChildren(top, CompareTexts, 1);
    EXPECT_EQ(f.Texts(top, 1), (Texts{L"3", L"0", L"2", L"1"}));
    f.control.SortChildren(top, CompareTexts, -1);
    EXPECT_EQ(f.Texts(top, 0), (Texts{L"c", L"b", L"a", L"a"}));
    f.control.SortChildren(top, CompareTexts, 2);
    EXPECT_EQ(f.Texts(top, 1), (Texts{L"0", L"1", L"2", L"3"}));
    f.control.SortChildren(top, CompareTexts, -2);
    EXPECT_EQ(f.Texts(top, 1), (Texts{L"3", L"2", L"1", L"0"}));
}

TEST(WMCT_Sorting, SelectionFollowsTheSortedRow)
{
    Fixture f;
    f.Add(L"b", L"");
    const WMCT_ItemRef a = f.Add(L"a", L"");
    f.control.SelectItem(a);
    f.control.SortChildren({}, CompareTexts, 1);
    EXPECT_EQ(f.control.SelectedItem(), a);
    EXPECT_EQ(f.control.selectionModel()->selectedIndexes().first().row(), 0);
}

TEST(WMCT_Cells, HideWhenExpandedHidesOnlyWhileExpanded)
{
    Fixture f(true);
    const WMCT_ItemRef top = f.Add(L"top", L"12:00");
    f.Add(L"child", L"", top);
    f.control.ExpandItem(top);
    EXPECT_FALSE(f.control.Row(top)->Cell(1)->IsShown());
    EXPECT_TRUE(f.control.Row(top)->Cell(0)->IsShown());
    f.control.CollapseItem(top);
    EXPECT_TRUE(f.control.Row(top)->Cell(1)->IsShown());
}

TEST(WMCT_Cells, DateTimeWithoutATimeShowsDashes)
{
    WMCT_CellDateTime cell;
    cell.SetFileTime(0);
    EXPECT_EQ(cell.Text(), L"----");
    cell.SetFileTime(-5);
    EXPECT_EQ(cell.Text(), L"----");
    // 2003-12-31 10:00:00 as ticks since 1601, taken without a change of zone.
    const std::int64_t ticks =
        QDate(1601, 1, 1).daysTo(QDate(2003, 12, 31)) * 864'000'000'000LL + 36'000LL * 10'000'000;
    QDate date;
    QTime time;
    ASSERT_TRUE(WMCT_CellDateTime::FromFileTime(ticks, date, time));
    EXPECT_EQ(date, QDate(2003, 12, 31));
    EXPECT_EQ(time, QTime(10, 0, 0));
    cell.SetDateFlags(WMCT_CellDateTime::LongDate);
    cell.SetFileTime(ticks);
    const QString text = QString::fromStdWString(cell.Text());
    EXPECT_TRUE(text.contains(QLocale::system().toString(date, QLocale::LongFormat)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("  "))) << text.toStdString();
    EXPECT_EQ(cell.Clone()->Text(), cell.Text());
}

TEST(WMCT_Messages, TextsAndSelectionNoticesNameOnlyLiveRows)
{
    EXPECT_EQ(WMCT_CheckboxClickMessage({}).Description(), "TreeView items checkbox clicked");
    EXPECT_EQ(WMCT_DoubleClickMessage({}).Description(), "TreeView items double clicked");
    EXPECT_EQ(WMCT_SelectionChangedMessage({}).Description(), "TreeView selection changed");

    Fixture f;
    const WMCT_ItemRef top = f.Add(L"top", L"");
    const WMCT_ItemRef child = f.Add(L"child", L"", top);
    const WMCT_ItemRef other = f.Add(L"other", L"");
    f.control.ExpandItem(top);
    f.control.SelectItem(child);
    ASSERT_EQ(f.receiver.selections.size(), 1u);
    EXPECT_EQ(f.receiver.selections[0], (std::vector<WMCT_ItemRef>{child}));
    EXPECT_EQ(f.control.Row(child)->Cell(0)->GetDrawState(), WMCT_CellBase::Selected);

    f.control.SelectItem(other);
    EXPECT_EQ(f.control.Row(child)->Cell(0)->GetDrawState(), WMCT_CellBase::Normal);
    f.control.SelectItem(child);
    f.control.DeleteItem(top);
    f.control.SelectItem(other);
    f.control.DeleteAllItems();
    EXPECT_EQ(f.receiver.deletedNamed, 0);
    ASSERT_FALSE(f.receiver.selections.empty());
    EXPECT_TRUE(f.receiver.selections.back().empty());
    EXPECT_TRUE(f.control.SelectedItem().IsEmpty());

    // The host's check box: a click is reported with its item.
    const WMCT_ItemRef boxed = f.Add(L"boxed", L"");
    f.control.SetCheckState(boxed, 0);
    f.control.model()->setData(f.control.IndexOf(boxed), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(f.receiver.checks, (std::vector<WMCT_ItemRef>{boxed}));
}

TEST(WMCT_Messages, DoubleClickSuppressedRightAfterAnExpand)
{
    Fixture f;
    f.control.show();
    const WMCT_ItemRef top = f.Add(L"top", L"");
    f.Add(L"child", L"", top);
    const WMCT_ItemRef other = f.Add(L"other", L"");

    // Nothing selected: nothing sent.
    f.control.selectionModel()->clearSelection();
    QTest::mouseDClick(f.control.viewport(), Qt::LeftButton, {}, QPoint(5, 290));
    EXPECT_TRUE(f.receiver.doubleClicks.empty());

    QTest::mouseClick(f.control.viewport(), Qt::LeftButton, {}, f.Centre(other));
    QTest::mouseDClick(f.control.viewport(), Qt::LeftButton, {}, f.Centre(other));
    ASSERT_EQ(f.receiver.doubleClicks.size(), 1u);
    EXPECT_EQ(f.receiver.doubleClicks[0], (std::vector<WMCT_ItemRef>{other}));

    f.control.ExpandItem(top);
    EXPECT_TRUE(f.control.DoubleClicksSuppressed());
    QTest::mouseDClick(f.control.viewport(), Qt::LeftButton, {}, f.Centre(other));
    EXPECT_EQ(f.receiver.doubleClicks.size(), 1u);

    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_FALSE(f.control.DoubleClicksSuppressed());
    QTest::mouseDClick(f.control.viewport(), Qt::LeftButton, {}, f.Centre(other));
    EXPECT_EQ(f.receiver.doubleClicks.size(), 2u);
}

// The control's own double-click handler, reached without Qt's event delivery: the fatal report
// is thrown on purpose, and Qt's frames are not built to be unwound by it.
struct DoubleClickAccess : WMCT_MultiColumnTreeCtrl
{
    using WMCT_MultiColumnTreeCtrl::mouseDoubleClickEvent;
};

TEST(WMCT_Messages, ReceiverFailureBecomesTheFatalReport)
{
    std::vector<std::wstring> entries;
    GLIB_LogHandler previous = GLIB_Globals::Instance().SetLogHandler(
        [&](int severity, const std::wstring& text, const char*, int)
        {
            if (severity == 0)
                entries.push_back(text);
        });
    Fixture f;
    f.control.show();
    const WMCT_ItemRef row = f.Add(L"row", L"");
    f.control.SelectItem(row);
    f.receiver.throwOnDoubleClick = true;
    const QPointF at(f.Centre(row));
    QMouseEvent press(QEvent::MouseButtonDblClick, at, f.control.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    EXPECT_THROW((f.control.*(&DoubleClickAccess::mouseDoubleClickEvent))(&press),
                 GLIB_FatalException);
    GLIB_Globals::Instance().SetLogHandler(previous);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(
        entries[0].rfind(L"Class WMCT_MultiColumnTreeCtrl caught unhandled GLIB_Exception: ", 0),
        0u);
}
