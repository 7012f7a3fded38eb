#include "classlib/Form.h"
#include "classlib/ListView.h"
#include "classlib/Panel.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace testing_support;

namespace {

class ListViewTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(40, 40, 420, 300);
        list = new TListView(form);
        list->SetParent(form);
        list->SetBounds(0, 0, 400, 250);
        list->SetMultiSelect(true);
        for (const char* caption : {"Name", "Start", "End"}) {
            TListColumn* column = list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(100);
        }
    }
    TListItem* AddRow(const char* name, const char* start, void* data = nullptr)
    {
        TListItem* item = list->Items()->Add();
        item->SetCaption(name);
        item->SubItems()->Add(start);
        item->SubItems()->Add("end");
        item->SetData(data);
        return item;
    }
    // The texts the window shows in column 0, top to bottom.
    std::vector<std::string> WindowCaptions(int column = 0)
    {
        std::vector<std::string> captions;
        HWND window = list->WindowHandle();
        int count = static_cast<int>(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(window, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
            captions.push_back(text);
        }
        return captions;
    }
    std::vector<std::string> Captions()
    {
        std::vector<std::string> captions;
        for (int i = 0; i < list->Items()->Count(); ++i)
            captions.push_back(list->Items()->Item(i)->Caption());
        return captions;
    }
    TListView* list = nullptr;
};

TEST_F(ListViewTest, ItemsSubItemsAndDataRoundTripThroughTheWindow)
{
    int data[3] = {};
    AddRow("one", "1", &data[0]);
    form->HandleNeeded();
    AddRow("二", "2", &data[1]);
    list->Items()->Insert(0)->SetCaption("zero");
    EXPECT_EQ(WindowCaptions(), (std::vector<std::string>{"zero", "one", "二"}));
    EXPECT_EQ(WindowCaptions(1), (std::vector<std::string>{"", "1", "2"}));
    EXPECT_EQ(list->Items()->Item(2)->Data(), &data[1]);
    list->Items()->Item(1)->SubItems()->SetStrings(0, "changed");
    EXPECT_EQ(WindowCaptions(1)[1], "changed");
    list->Items()->Delete(0);
    EXPECT_EQ(WindowCaptions(), (std::vector<std::string>{"one", "二"}));
    EXPECT_EQ(list->Items()->Item(0)->Data(), &data[0]);
    EXPECT_EQ(list->Items()->Item(1)->Index(), 1);
}

TEST_F(ListViewTest, ClearingEmptiesTheWindowAndRepaintsOnlyAListThatHeldItems)
{
    form->Show();
    int deletions = 0;
    list->OnDeletion = [&](TObject*, TListItem*) { ++deletions; };
    struct Case
    {
        const char* name;
        int rows;
        bool repaints;
    };
    const Case cases[] = {{"two rows", 2, true}, {"empty", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < c.rows; ++i)
            AddRow("row", "0");
        UpdateWindow(list->WindowHandle());
        deletions = 0;
        list->Items()->Clear();
        EXPECT_EQ(list->Items()->Count(), 0);
        EXPECT_TRUE(WindowCaptions().empty());
        EXPECT_EQ(deletions, c.rows);
        EXPECT_EQ(GetUpdateRect(list->WindowHandle(), nullptr, FALSE) != FALSE, c.repaints);
    }
}

TEST_F(ListViewTest, SortingIsStableAndTheWindowShowsTheSameOrder)
{
    form->HandleNeeded();
    AddRow("b", "1");
    AddRow("a", "2");
    AddRow("b", "3");
    AddRow("a", "4");
    TListItem* selected = list->Items()->Item(2);
    selected->SetSelected(true);
    list->CustomSort([](TListItem* x, TListItem* y) { return x->Caption().compare(y->Caption()); });
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a", "a", "b", "b"}));
    EXPECT_EQ(WindowCaptions(1), (std::vector<std::string>{"2", "4", "1", "3"}));
    EXPECT_EQ(list->Selected(), selected);
    EXPECT_EQ(selected->Index(), 3);

    list->OnCompare = [](TObject*, TListItem* x, TListItem* y, int, int& result) {
        result = y->SubItems()->Strings(0).compare(x->SubItems()->Strings(0));
    };
    list->AlphaSort();
    EXPECT_EQ(WindowCaptions(1), (std::vector<std::string>{"4", "3", "2", "1"}));
    EXPECT_EQ(WindowCaptions(), Captions());
}

TEST_F(ListViewTest, MultiSelectionIsReadFromTheWindowAndSurvivesARecreate)
{
    for (const char* name : {"a", "b", "c", "d"})
        AddRow(name, "");
    std::vector<std::string> selections;
    list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        selections.push_back((item ? item->Caption() : AnsiString("*")) + (selected ? "+" : "-"));
    };
    form->HandleNeeded();
    list->Items()->Item(1)->SetSelected(true);
    list->Items()->Item(3)->SetSelected(true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_EQ(list->Selected(), list->Items()->Item(1));
    EXPECT_EQ(list->GetNextSelected(list->Items()->Item(1)), list->Items()->Item(3));
    EXPECT_EQ(list->GetNextSelected(list->Items()->Item(3)), nullptr);
    EXPECT_EQ(selections, (std::vector<std::string>{"b+", "d+"}));

    list->SetRowSelect(true);
    list->SetViewStyle(TViewStyle::vsList);
    list->SetViewStyle(TViewStyle::vsReport);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_TRUE(list->Items()->Item(3)->Selected());
    EXPECT_EQ(list->Columns()->Items(0)->Width(), 100);

    list->ClearSelection();
    EXPECT_EQ(list->SelCount(), 0);
    list->SelectAll();
    EXPECT_EQ(list->SelCount(), 4);
    list->SetMultiSelect(false);
    list->SetItemIndex(2);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(list->ItemIndex(), 2);
}

// Selecting or clearing every item of a long list holds its drawing: each
// changed item is still reported, and the list repaints and draws again.
TEST_F(ListViewTest, SelectingEveryItemReportsEachChangeAndRepaints)
{
    form->Show();
    for (int i = 0; i < 250; ++i)
        AddRow("row", "");
    list->Items()->Item(1)->SetSelected(true);
    int changes = 0;
    list->OnSelectItem = [&](TObject*, TListItem*, bool) { ++changes; };
    for (auto [change, changed, selCount] :
         {std::tuple(&TListView::SelectAll, 249, 250), {&TListView::ClearSelection, 250, 0}}) {
        UpdateWindow(list->WindowHandle());
        changes = 0;
        (list->*change)();
        EXPECT_EQ(changes, changed);
        EXPECT_EQ(list->SelCount(), selCount);
        EXPECT_NE(GetUpdateRect(list->WindowHandle(), nullptr, FALSE), FALSE);
        UpdateWindow(list->WindowHandle());
        list->Items()->Item(0)->SetCaption(std::to_string(selCount));
        EXPECT_NE(GetUpdateRect(list->WindowHandle(), nullptr, FALSE), FALSE);
    }
}

// A click of the user's after select all deselects every other item: each
// is reported while the window is still at it, the whole change once after,
// and a long list, its drawing held meanwhile, draws again. A change the
// program makes is reported item by item only.
TEST_F(ListViewTest, AClickOfTheUsersReportsEachItemThenTheWholeChangeOnce)
{
    ASSERT_TRUE(ActivateForm(form));
    int items = 0, midway = 0;
    std::vector<int> whole; // the selected count at each report of the whole
    list->OnSelectItem = [&](TObject*, TListItem*, bool) {
        ++items;
        midway += list->UserSelecting();
    };
    list->OnUserSelection = [&](TObject*) { whole.push_back(list->SelCount()); };
    for (int rows : {5, 250}) {
        list->Items()->Clear();
        for (int i = 0; i < rows; ++i)
            AddRow("row", "");
        list->SelectAll();
        std::tie(items, midway) = std::tuple(0, 0);
        whole.clear();
        TListItem* clicked = list->Items()->Item(2);
        const TRect name = clicked->DisplayRect(TDisplayCode::drLabel);
        RealClick(ScreenPointOf(list->Handle(), name.left + 4, (name.top + name.bottom) / 2));
        EXPECT_EQ(items, rows - 1);
        EXPECT_EQ(midway, rows - 1);
        EXPECT_EQ(whole, std::vector<int>{1});
        EXPECT_TRUE(clicked->Selected() && clicked->Focused());
        UpdateWindow(list->WindowHandle());
        list->Items()->Item(0)->SetCaption("drawn");
        EXPECT_NE(GetUpdateRect(list->WindowHandle(), nullptr, FALSE), FALSE) << rows;
    }
    list->Items()->Item(3)->SetSelected(true);
    EXPECT_EQ(items, 250);
    EXPECT_EQ(midway, 249);
    EXPECT_EQ(whole, std::vector<int>{1});
}

// A hidden list has no window until its items need one: a state changed by
// the program is told (the window tells of it), and an item has its place.
TEST_F(ListViewTest, AHiddenListTellsOfSelectionsAndPlacesItsItemsAsAShownOne)
{
    auto* panel = new TPanel(form);
    panel->SetVisible(false);
    panel->SetParent(form);
    list->SetParent(panel);
    AddRow("a", "");
    AddRow("b", "");
    form->HandleNeeded();
    EXPECT_FALSE(list->HandleAllocated());
    std::vector<std::string> selections;
    list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        selections.push_back(item->Caption() + (selected ? "+" : "-"));
    };
    list->Items()->Item(1)->SetSelected(true);
    EXPECT_EQ(selections, std::vector<std::string>{"b+"});
    EXPECT_EQ(list->Selected(), list->Items()->Item(1));
    list->ClearSelection();
    EXPECT_EQ(selections, (std::vector<std::string>{"b+", "b-"}));
    const TRect first = list->Items()->Item(0)->DisplayRect(TDisplayCode::drBounds);
    EXPECT_GT(first.Height(), 0);
    EXPECT_EQ(list->Items()->Item(1)->DisplayRect(TDisplayCode::drBounds).top, first.bottom);
    EXPECT_FALSE(IsWindowVisible(list->WindowHandle()));
}

TEST_F(ListViewTest, ColumnClicksAndCaptionChangesAreReported)
{
    AddRow("a", "1");
    std::vector<std::string> log;
    list->OnColumnClick = [&](TObject*, TListColumn* column) {
        log.push_back("column " + column->Caption());
    };
    list->OnChange = [&](TObject*, TListItem* item, TItemChange change) {
        if (change == TItemChange::ctText)
            log.push_back("text " + item->Caption());
    };
    form->HandleNeeded();
    HWND header = reinterpret_cast<HWND>(SendMessageA(list->WindowHandle(), LVM_GETHEADER, 0, 0));
    RECT column;
    SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&column));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(column.left + 10, 5));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(column.left + 10, 5));
    list->Items()->Item(0)->SetCaption("renamed");
    EXPECT_EQ(log, (std::vector<std::string>{"column Start", "text renamed"}));
    EXPECT_EQ(WindowCaptions()[0], "renamed");
}

TEST_F(ListViewTest, ColumnWidthsAreSetAndReadBack)
{
    form->HandleNeeded();
    list->Columns()->Items(1)->SetWidth(140);
    EXPECT_EQ(SendMessageA(list->WindowHandle(), LVM_GETCOLUMNWIDTH, 1, 0), 140);
    EXPECT_EQ(list->Columns()->Items(1)->Width(), 140);
    list->RecreateWnd();
    EXPECT_EQ(list->Columns()->Items(1)->Width(), 140);
}

TEST_F(ListViewTest, TheSubItemUnderAPointComesFromTheWindow)
{
    AddRow("a", "1");
    AddRow("b", "2");
    form->HandleNeeded();
    RECT cell = {};
    cell.top = 2;
    cell.left = LVIR_BOUNDS;
    SendMessageA(list->WindowHandle(), LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
    TListItem* item = nullptr;
    int subItem = -1;
    ASSERT_TRUE(list->SubItemHitTest(cell.left + 3, (cell.top + cell.bottom) / 2, item, subItem));
    EXPECT_EQ(item, list->Items()->Item(1));
    EXPECT_EQ(subItem, 2);
    EXPECT_EQ(list->GetItemAt(20, (cell.top + cell.bottom) / 2), list->Items()->Item(1));
    EXPECT_FALSE(list->SubItemHitTest(3, 240, item, subItem));
    EXPECT_EQ(item, nullptr);
}

TEST_F(ListViewTest, CustomDrawColoursOneSubItem)
{
    AddRow("a", "1");
    AddRow("b", "2");
    list->OnCustomDrawSubItem = [](TObject* sender, TListItem* item, int subItem, TCustomDrawState,
                                   bool&) {
        auto* view = static_cast<TListView*>(sender);
        if (subItem == 1 && item->Index() == 1)
            view->Canvas()->Brush()->SetColor(clRed);
    };
    form->HandleNeeded();
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(list->ClientWidth(), list->ClientHeight());
    HDC dc = bitmap.Canvas()->Handle();
    SendMessageA(list->WindowHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                 PRF_CLIENT | PRF_ERASEBKGND);
    RECT cell = {};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    SendMessageA(list->WindowHandle(), LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
    int y = (cell.top + cell.bottom) / 2;
    EXPECT_EQ(bitmap.Canvas()->Pixel(cell.right - 5, y), clRed);
    for (auto [row, column] : {std::pair{0, 1}, std::pair{1, 2}}) {
        RECT other = {};
        other.top = column;
        other.left = LVIR_BOUNDS;
        SendMessageA(list->WindowHandle(), LVM_GETSUBITEMRECT, row,
                     reinterpret_cast<LPARAM>(&other));
        EXPECT_NE(bitmap.Canvas()->Pixel(other.right - 5, (other.top + other.bottom) / 2), clRed)
            << "row " << row << " column " << column;
    }
}

} // namespace
