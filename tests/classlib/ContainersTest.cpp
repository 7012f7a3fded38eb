#include "classlib/Form.h"
#include "classlib/Image.h"
#include "classlib/Label.h"
#include "classlib/PageControl.h"
#include "classlib/Panel.h"
#include "classlib/StatusBar.h"
#include "classlib/TreeView.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

class ContainersTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(10, 10, 400, 300);
    }
};

TEST_F(ContainersTest, PageControlShowsTheActiveSheetInItsDisplayArea)
{
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetAlign(TAlign::alClient);
    std::vector<TTabSheet*> sheets;
    for (const char* caption : {"Add", "Delete", "Change"}) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
        sheets.push_back(sheet);
    }
    form->Show();
    PumpMessages();
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());
    RECT display;
    GetClientRect(pages->WindowHandle(), &display);
    SendMessageA(pages->WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(sheets[0]->BoundsRect(), TRect(display));
    EXPECT_EQ(SendMessageA(pages->WindowHandle(), TCM_GETITEMCOUNT, 0, 0), 3);

    std::vector<std::string> shown;
    for (TTabSheet* sheet : sheets) {
        sheet->OnShow = [&shown, sheet](TObject*) { shown.push_back("show " + sheet->Caption()); };
        sheet->OnHide = [&shown, sheet](TObject*) { shown.push_back("hide " + sheet->Caption()); };
    }
    bool allow = false;
    int changes = 0;
    pages->OnChanging = [&](TObject*, bool& allowChange) { allowChange = allow; };
    pages->OnChange = [&](TObject*) { ++changes; };
    RECT tab;
    SendMessageA(pages->WindowHandle(), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
    auto clickTab = [&] {
        SendMessageA(pages->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(tab.left + 3, tab.top + 3));
        SendMessageA(pages->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(tab.left + 3, tab.top + 3));
    };
    clickTab();
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    allow = true;
    clickTab();
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_TRUE(sheets[2]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"hide Add", "show Change"}));

    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(SendMessageA(pages->WindowHandle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    sheets[2]->SetPageIndex(0);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    char text[16] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(pages->WindowHandle(), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Change");
    delete sheets[2];
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(pages->PageCount(), 2);
}

TEST_F(ContainersTest, StatusBarPanelsTextsAndOwnerDrawing)
{
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    TStatusPanel* first = bar->Panels()->Add();
    first->SetWidth(120);
    first->SetText("left");
    TStatusPanel* drawn = bar->Panels()->Add();
    drawn->SetWidth(80);
    drawn->SetStyle(TStatusPanelStyle::psOwnerDraw);
    TStatusPanel* last = bar->Panels()->Add();
    last->SetAlignment(TAlignment::taRightJustify);
    last->SetText("right");
    std::vector<TStatusPanel*> painted;
    bar->OnDrawPanel = [&](TStatusBar*, TStatusPanel* panel, const TRect&) {
        painted.push_back(panel);
    };
    form->Show();
    PumpMessages();
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
    int edges[3] = {};
    ASSERT_EQ(SendMessageA(bar->WindowHandle(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)),
              3);
    EXPECT_EQ(edges[0], 120);
    EXPECT_EQ(edges[1], 200);
    EXPECT_EQ(edges[2], -1);
    char text[32] = {};
    SendMessageA(bar->WindowHandle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "left");
    SendMessageA(bar->WindowHandle(), SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "\t\tright");
    InvalidateRect(bar->WindowHandle(), nullptr, TRUE);
    UpdateWindow(bar->WindowHandle());
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted[0], drawn);
}

TEST_F(ContainersTest, AResizedStatusBarRepaintsWhereItsGripWas)
{
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetSimplePanel(true);
    ASSERT_TRUE(bar->SizeGrip());
    form->Show();
    PumpMessages();
    const HWND window = bar->WindowHandle();
    struct Step
    {
        int widthChange, heightChange;
    };
    for (const Step step : {Step{40, 0}, Step{25, 10}, Step{-30, 0}}) {
        SCOPED_TRACE(std::to_string(step.widthChange) + ", " + std::to_string(step.heightChange));
        ASSERT_FALSE(GetUpdateRect(window, nullptr, FALSE)); // all painted
        const int oldWidth = bar->Width();
        form->SetBounds(form->Left(), form->Top(), form->Width() + step.widthChange,
                        form->Height() + step.heightChange);
        ASSERT_EQ(bar->Width(), oldWidth + step.widthChange);
        // The grip was drawn in the old bar's right end: that must be painted
        // over, wherever the bar's own right end now is.
        RECT update{};
        ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
        const int gripLeft = std::min(oldWidth, bar->Width()) - GetSystemMetrics(SM_CXVSCROLL);
        EXPECT_LE(update.left, gripLeft);
        EXPECT_GE(update.right, bar->Width());
        PumpMessages();
    }
}

TEST_F(ContainersTest, TreeViewNodesFillLazilyAndKeepTheirStateAcrossARecreate)
{
    auto* tree = new TTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 200, 200);
    TTreeNode* drive = tree->Items()->AddChild(nullptr, "C:");
    drive->SetHasChildren(true);
    int fills = 0;
    tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) {
        if (node->Count() == 0) {
            ++fills;
            tree->Items()->AddChild(node, "windows");
            tree->Items()->AddChild(node, "users");
        }
    };
    std::vector<std::string> changes;
    tree->OnChange = [&](TObject*, TTreeNode* node) {
        changes.push_back(node ? node->Text() : "none");
    };
    form->HandleNeeded();
    drive->Expand(false);
    EXPECT_EQ(fills, 1);
    EXPECT_TRUE(drive->Expanded());
    EXPECT_EQ(SendMessageA(tree->WindowHandle(), TVM_GETCOUNT, 0, 0), 3);
    TTreeNode* users = drive->Item(1);
    tree->SetSelected(users);
    EXPECT_EQ(tree->Selected(), users);
    EXPECT_EQ(changes, (std::vector<std::string>{"users"}));
    EXPECT_EQ(users->Level(), 1);
    EXPECT_EQ(drive->GetNext(), drive->Item(0));
    EXPECT_EQ(tree->Items()->Count(), 3);

    char text[32] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = users->ItemId();
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(tree->WindowHandle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "users");
    TRect r = users->DisplayRect(true);
    EXPECT_EQ(tree->GetNodeAt(r.left + 2, (r.top + r.bottom) / 2), users);

    tree->SetShowLines(false);
    EXPECT_TRUE(drive->Expanded());
    EXPECT_EQ(tree->Selected(), users);
    drive->Item(0)->Delete();
    EXPECT_EQ(drive->Count(), 1);
    EXPECT_EQ(SendMessageA(tree->WindowHandle(), TVM_GETCOUNT, 0, 0), 2);
    tree->Items()->Clear();
    EXPECT_EQ(SendMessageA(tree->WindowHandle(), TVM_GETCOUNT, 0, 0), 0);
}

TEST_F(ContainersTest, DrawingOnAnImageInvalidatesItsRectangle)
{
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(40, 50, 60, 30);
    image->Bitmap()->SetSize(60, 30);
    form->Show();
    PumpMessages();
    UpdateWindow(form->WindowHandle());
    RECT dirty;
    EXPECT_FALSE(GetUpdateRect(form->WindowHandle(), &dirty, FALSE));
    image->Canvas()->Brush()->SetColor(clRed);
    image->Canvas()->FillRect(TRect(0, 0, 10, 10));
    ASSERT_TRUE(GetUpdateRect(form->WindowHandle(), &dirty, FALSE));
    EXPECT_EQ(TRect(dirty), Bounds(40, 50, 60, 30));
    UpdateWindow(form->WindowHandle());
    auto shown = [&] {
        HDC dc = GetDC(form->WindowHandle());
        COLORREF pixel = GetPixel(dc, 45, 55);
        ReleaseDC(form->WindowHandle(), dc);
        return pixel;
    };
    EXPECT_EQ(shown(), RGB(255, 0, 0));

    // Many changes make one repaint; each change after it makes another,
    // also one drawn while the form was hidden.
    for (TColor color : {clGreen, clBlue}) {
        image->Canvas()->Brush()->SetColor(color);
        image->Canvas()->FillRect(TRect(0, 0, 10, 10));
        image->Canvas()->FillRect(TRect(10, 10, 20, 20));
        EXPECT_TRUE(GetUpdateRect(form->WindowHandle(), &dirty, FALSE));
        UpdateWindow(form->WindowHandle());
        EXPECT_EQ(shown(), static_cast<COLORREF>(color));
    }
    form->Hide();
    image->Canvas()->Brush()->SetColor(clYellow);
    image->Canvas()->FillRect(TRect(0, 0, 10, 10));
    form->Show();
    UpdateWindow(form->WindowHandle());
    EXPECT_EQ(shown(), static_cast<COLORREF>(clYellow));
}

TEST_F(ContainersTest, PanelBevelsShrinkTheAreaItsChildrenFill)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelInner(TBevelCut::bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* inside = new TPanel(form);
    inside->SetAlign(TAlign::alClient);
    inside->SetParent(panel);
    EXPECT_EQ(inside->BoundsRect(), Rect(7, 7, 193, 93));
    auto* label = new TLabel(form);
    label->SetParent(inside);
    label->SetCaption("a");
    int narrow = label->Width();
    label->SetCaption("a much longer caption");
    EXPECT_GT(label->Width(), narrow);
}

TEST_F(ContainersTest, AGroupBoxsChildrenFillTheFrameBelowItsCaption)
{
    auto* group = new TGroupBox(form);
    group->SetParent(form);
    group->SetBounds(0, 0, 200, 100);
    group->SetCaption("設定");
    auto* inside = new TPanel(form);
    inside->SetAlign(TAlign::alClient);
    inside->SetParent(group);
    const TRect area = inside->BoundsRect();
    EXPECT_EQ(area.left, 2);
    EXPECT_EQ(area.right, 198);
    EXPECT_EQ(area.bottom, 98);
    EXPECT_GT(area.top, 8) << "below the caption";
    EXPECT_LT(area.top, 40);
    // A bigger font moves them further down.
    group->Font()->SetSize(24);
    EXPECT_GT(inside->BoundsRect().top, area.top);
}

} // namespace
