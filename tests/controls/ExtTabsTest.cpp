// The tab control on real windows: pages switched by a click on a tab and
// by ActiveTabIndex, an index out of range showing the empty page, refused
// changes, deletions, insertions, and an index given while the form is
// built applied once all tabs exist.
#include "controls/ExtTabs.h"

#include "classlib/Form.h"
#include "classlib/StandardControls.h"
#include "controls/ExtControls.h"
#include "controls/NumThemesSupport.h"
#include "support/ScreenCheck.h"
#include "support/WindowDriver.h"
#include "themes/SkinThemes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// A form whose components stay loading until FinishLoading, as a form that
// builds its children in its constructor.
class TLoadingForm : public TForm
{
public:
    explicit TLoadingForm(bool loading) : TForm(nullptr)
    {
        if (loading)
            IncludeState(csLoading);
    }
};

class ExtTabsFixture : public testing::Test
{
protected:
    void Build(bool loading)
    {
        form = new TLoadingForm(loading);
        form->SetBounds(100, 100, 420, 300);
        tabs = new TExtTabControl(form);
        tabs->SetParent(form);
        tabs->SetBounds(10, 10, 380, 220);
        tabs->OnActiveTabChange = [this](TObject*, int index) {
            log += "changed " + std::to_string(index) + ";";
        };
        tabs->OnActiveTabChanging = [this](TObject*, int from, int to, bool& allow) {
            log += "changing " + std::to_string(from) + ">" + std::to_string(to) + ";";
            allow = allowChanges;
        };
    }
    void SetUp() override { Build(false); }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }
    TExtTabItem* AddTab(const wchar_t* caption)
    {
        auto* tab = new TExtTabItem(form);
        tab->SetCaption(caption);
        tabs->Items()->Add(tab);
        return tab;
    }
    void AddTabs(int count)
    {
        for (int i = 0; i < count; ++i)
            AddTab((L"Tab" + std::to_wstring(i + 1)).c_str());
    }
    // Which pages show: "1" for a tab's sheet, "e" the empty page.
    std::string ShownPages()
    {
        std::string shown;
        if (tabs->EmptyPage()->Visible())
            shown += "e";
        for (int i = 0; i < tabs->SheetCount(); ++i)
            if (tabs->Sheets(i)->Visible())
                shown += std::to_string(i + 1);
        return shown;
    }
    void ClickTab(int index)
    {
        TBarView* view = tabs->TabToolbar()->View();
        const TRect r = view->Find(tabs->Items()->Items(index))->BoundsRect();
        ClickAt(tabs->TabToolbar()->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PumpMessages();
    }
    TLoadingForm* form = nullptr;
    TExtTabControl* tabs = nullptr;
    std::string log;
    bool allowChanges = true;
};

} // namespace

TEST_F(ExtTabsFixture, TheFirstTabIsActiveAndEachTabHasANamedSheet)
{
    AddTabs(4);
    form->Show();
    PumpMessages();
    EXPECT_EQ(tabs->ActiveTabIndex(), 0);
    EXPECT_EQ(ShownPages(), "1");
    ASSERT_EQ(tabs->SheetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(tabs->Sheets(i)->Name(), "ExtTabSheet" + std::to_string(i + 1));
    EXPECT_EQ(tabs->Sheets(1)->Caption(), L"Tab2");
    EXPECT_EQ(tabs->Sheets(1)->TabItem()->Control(), tabs->Sheets(1));
}

TEST_F(ExtTabsFixture, AClickOnATabShowsItsPage)
{
    AddTabs(4);
    form->Show();
    PumpMessages();
    log.clear();
    ClickTab(2);
    EXPECT_EQ(tabs->ActiveTabIndex(), 2);
    EXPECT_EQ(ShownPages(), "3");
    EXPECT_EQ(log, "changing 0>2;changed 2;");
    ClickTab(2); // the active tab: nothing
    EXPECT_EQ(log, "changing 0>2;changed 2;");
}

TEST_F(ExtTabsFixture, ActiveTabIndexSwitchesPagesAndOutOfRangeShowsTheEmptyPage)
{
    AddTabs(4);
    form->Show();
    struct Case
    {
        int set, active;
        const char* pages;
    };
    const Case cases[] = {{3, 3, "4"}, {10, -1, "e"}, {1, 1, "2"}, {-5, -1, "e"}, {0, 0, "1"}};
    for (const Case& c : cases) {
        tabs->SetActiveTabIndex(c.set);
        EXPECT_EQ(tabs->ActiveTabIndex(), c.active) << c.set;
        EXPECT_EQ(ShownPages(), c.pages) << c.set;
        EXPECT_EQ(tabs->TabToolbar()->ActiveTab() ? tabs->TabToolbar()->ActiveTab()->Checked()
                                                  : true,
                  true);
    }
}

TEST_F(ExtTabsFixture, ARefusedChangeKeepsTheTab)
{
    AddTabs(3);
    allowChanges = false;
    log.clear();
    tabs->SetActiveTabIndex(2);
    EXPECT_EQ(tabs->ActiveTabIndex(), 0);
    EXPECT_EQ(ShownPages(), "1");
    EXPECT_EQ(log, "changing 0>2;");
}

TEST_F(ExtTabsFixture, DeletingTheActiveTabActivatesAnother)
{
    AddTabs(3);
    form->Show();
    tabs->SetActiveTabIndex(2);
    delete tabs->Items()->Items(2);
    EXPECT_EQ(tabs->ActiveTabIndex(), 1);
    EXPECT_EQ(tabs->SheetCount(), 2);
    EXPECT_EQ(ShownPages(), "2");

    tabs->SetActiveTabIndex(0);
    delete tabs->Items()->Items(0); // the first: the next one follows
    PumpMessages();
    EXPECT_EQ(tabs->ActiveTabIndex(), 0);
    EXPECT_EQ(tabs->Sheets(0)->Caption(), L"Tab2");
    EXPECT_EQ(ShownPages(), "1");

    delete tabs->Items()->Items(0); // the only one
    PumpMessages();
    EXPECT_EQ(tabs->ActiveTabIndex(), -1);
    EXPECT_EQ(tabs->SheetCount(), 0);
    EXPECT_EQ(ShownPages(), "e");
}

TEST_F(ExtTabsFixture, InsertingBeforeTheActiveTabKeepsItWithoutEvents)
{
    AddTabs(3);
    tabs->SetActiveTabIndex(1);
    log.clear();
    auto* tab = new TExtTabItem(form);
    tabs->Items()->Insert(0, tab);
    EXPECT_EQ(tabs->ActiveTabIndex(), 2);
    EXPECT_EQ(tabs->TabToolbar()->ActiveTab()->Caption(), L"Tab2");
    EXPECT_EQ(log, "");
}

TEST_F(ExtTabsFixture, AnIndexGivenWhileBuildingAppliesOnceAllTabsExist)
{
    FreeAndNil(form);
    Build(true);
    tabs->SetActiveTabIndex(2); // no tab exists yet
    AddTabs(4);
    EXPECT_EQ(log, "");
    form->FinishLoading();
    EXPECT_EQ(tabs->ActiveTabIndex(), 2);
    EXPECT_EQ(ShownPages(), "3");
}

TEST_F(ExtTabsFixture, TheActiveTabIsDraggedToANewPlace)
{
    AddTabs(4);
    tabs->SetTabDragReorder(true);
    std::string reorders;
    bool allowMove = false;
    tabs->OnActiveTabReorder = [&](TObject*, int from, int to, bool& allow) {
        reorders += std::to_string(from) + ">" + std::to_string(to) + ";";
        allow = allowMove;
    };
    ASSERT_TRUE(ActivateForm(form));
    TBarView* view = tabs->TabToolbar()->View();
    auto centre = [&](int index) {
        const TRect r = view->Find(tabs->Items()->Items(index))->BoundsRect();
        return ScreenPointOf(tabs->TabToolbar()->Handle(), (r.left + r.right) / 2,
                             (r.top + r.bottom) / 2);
    };
    TBarCustomItem* first = tabs->Items()->Items(0);
    const POINT from = centre(0);
    const POINT over = centre(2);

    RealDrag(from, {{from.x + 1, from.y}, over}); // refused
    EXPECT_EQ(tabs->Items()->Items(0), first);
    EXPECT_EQ(reorders, "0>2;");

    allowMove = true;
    RealDrag(from, {{from.x + 1, from.y}, over});
    EXPECT_EQ(tabs->Items()->Items(2), first);
    EXPECT_EQ(tabs->ActiveTabIndex(), 2);
    EXPECT_EQ(tabs->TabToolbar()->ActiveTab(), first);
    EXPECT_EQ(ShownPages(), "1"); // the first sheet still belongs to the dragged tab
}

TEST_F(ExtTabsFixture, TabsAtTheBottomPutThePagesAboveThem)
{
    AddTabs(2);
    form->Show();
    PumpMessages();
    TExtTabSheet* sheet = tabs->Sheets(0);
    EXPECT_LE(tabs->Dock()->Top() + tabs->Dock()->Height(), sheet->Top());
    tabs->SetTabPosition(TExtTabPosition::ttpBottom);
    PumpMessages();
    EXPECT_EQ(tabs->TabToolbar()->TabPosition(), TExtTabPosition::ttpBottom);
    EXPECT_EQ(tabs->Dock()->Top() + tabs->Dock()->Height(), tabs->ClientHeight());
    EXPECT_LE(sheet->Top() + sheet->Height(), tabs->Dock()->Top());
    EXPECT_EQ(sheet->Left(), 2);

    tabs->SetTabVisible(false);
    PumpMessages();
    EXPECT_FALSE(tabs->TabVisible());
    EXPECT_GT(sheet->Top() + sheet->Height(), tabs->Dock()->Top());
}

namespace {

// Each item of the strip: 'v' shown, 'r' hidden for want of room, '-' else.
std::string StripShown(TExtTabControl* tabs)
{
    const std::vector<TBarCustomItem*> hidden = tabs->TabToolbar()->HiddenItems();
    std::string shown;
    for (int i = 0; i < tabs->Items()->Count(); ++i) {
        TBarCustomItem* item = tabs->Items()->Items(i);
        if (item->Visible())
            shown += 'v';
        else
            shown += std::find(hidden.begin(), hidden.end(), item) != hidden.end() ? 'r' : '-';
    }
    return shown;
}

// Every shown tab lies whole inside the strip, less the 8 pixels kept free.
void ExpectShownTabsFit(TExtTabControl* tabs)
{
    TExtTabToolbar* strip = tabs->TabToolbar();
    for (int i = 0; i < tabs->Items()->Count(); ++i) {
        TBarItemViewer* viewer = strip->View()->Find(tabs->Items()->Items(i));
        if (!viewer->Item()->Visible())
            continue;
        EXPECT_TRUE(viewer->Shown()) << i;
        EXPECT_FALSE(viewer->Clipped()) << i;
        EXPECT_LE(viewer->BoundsRect().right, strip->Width() - 8) << i;
    }
}

} // namespace

TEST_F(ExtTabsFixture, TabsThatDoNotFitAreHiddenAndComeBackWithRoom)
{
    form->SetBounds(0, 0, 1100, 300);
    AddTabs(10);
    form->Show();
    PumpMessages();
    struct Case
    {
        int width;
        const char* pattern; // what the strip must look like
    };
    // The widths of a tab depend on the font: the counts are compared
    // between cases rather than fixed.
    int shownAt380 = 0;
    const Case cases[] = {
        {1000, "all"}, {380, "some"}, {150, "fewer"}, {380, "same"}, {1000, "all"}};
    for (const Case& c : cases) {
        tabs->SetBounds(10, 10, c.width, 220);
        PumpMessages();
        const std::string shown = StripShown(tabs);
        SCOPED_TRACE(std::to_string(c.width) + " " + shown);
        const int count = static_cast<int>(std::count(shown.begin(), shown.end(), 'v'));
        // Hidden tabs are always the last ones, and only ever hidden for room.
        EXPECT_EQ(shown, std::string(count, 'v') + std::string(10 - count, 'r'));
        ExpectShownTabsFit(tabs);
        const std::string pattern = c.pattern;
        if (pattern == "all") {
            EXPECT_EQ(count, 10);
        } else if (pattern == "some") {
            EXPECT_LT(count, 10);
            EXPECT_GT(count, 1);
            shownAt380 = count;
        } else if (pattern == "fewer") {
            EXPECT_LT(count, shownAt380);
        } else {
            EXPECT_EQ(count, shownAt380);
        }
        EXPECT_EQ(tabs->ActiveTabIndex(), 0);
    }
}

TEST_F(ExtTabsFixture, AHiddenTabMadeActiveIsScrolledIntoView)
{
    AddTabs(10);
    form->Show();
    PumpMessages();
    ASSERT_EQ(StripShown(tabs).back(), 'r');

    for (const int activate : {9, 2, 1, 8, 0}) {
        tabs->SetActiveTabIndex(activate);
        PumpMessages();
        const std::string shown = StripShown(tabs);
        SCOPED_TRACE(std::to_string(activate) + " " + shown);
        EXPECT_EQ(tabs->ActiveTabIndex(), activate);
        EXPECT_EQ(shown[activate], 'v');
        EXPECT_EQ(shown[0], 'v'); // the first tab stays
        EXPECT_EQ(std::count(shown.begin(), shown.end(), '-'), 0);
        EXPECT_NE(shown.find('r'), std::string::npos);
        EXPECT_EQ(ShownPages(), std::to_string(activate + 1));
        ExpectShownTabsFit(tabs);
    }
    // A hidden tab that goes leaves the hidden list with it.
    tabs->SetActiveTabIndex(0);
    PumpMessages();
    TBarCustomItem* last = tabs->Items()->Items(9);
    ASSERT_EQ(StripShown(tabs).back(), 'r');
    delete last;
    PumpMessages();
    const std::vector<TBarCustomItem*> hidden = tabs->TabToolbar()->HiddenItems();
    EXPECT_EQ(std::find(hidden.begin(), hidden.end(), last), hidden.end());
    EXPECT_EQ(tabs->SheetCount(), 9);
}

namespace {

// A window as painted, one system-layout colour per pixel.
class TPainted
{
public:
    explicit TPainted(TWinControl* control)
    {
        FBitmap.SetPixelFormat(TPixelFormat::pf32bit);
        FBitmap.SetSize(control->Width(), control->Height());
        control->PaintTo(FBitmap.Canvas()->Handle(), 0, 0);
    }
    COLORREF At(int x, int y)
    {
        const DWORD p = static_cast<const DWORD*>(FBitmap.ScanLine(y))[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    TBitmap FBitmap;
};

} // namespace

TEST_F(ExtTabsFixture, FlatTabsFrameTheActiveTabAndSeparateTheInactiveOnes)
{
    AddTabs(3);
    tabs->SetThemeType(TExtTabThemeType::tttFlat);
    form->Show();
    PumpMessages();
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    TBarView* view = tabs->TabToolbar()->View();
    auto tabRect = [&](int index) { return view->Find(tabs->Items()->Items(index))->BoundsRect(); };
    for (const TExtTabPosition position : {TExtTabPosition::ttpTop, TExtTabPosition::ttpBottom}) {
        tabs->SetTabPosition(position);
        PumpMessages();
        TPainted strip(tabs->TabToolbar());
        SCOPED_TRACE(static_cast<int>(position));
        const TRect active = tabRect(0);
        const TRect inactive = tabRect(1);
        const TRect last = tabRect(2);
        const int middle = (inactive.top + inactive.bottom) / 2;
        // The active tab's frame on the side away from the page.
        const int away = position == TExtTabPosition::ttpTop ? active.top : active.bottom - 1;
        EXPECT_EQ(strip.At((active.left + active.right) / 2, away), highlight);
        EXPECT_EQ(strip.At(active.left, middle), highlight);
        // Between two inactive tabs, and none after the last.
        EXPECT_EQ(strip.At(inactive.right - 2, middle), shadow);
        EXPECT_EQ(strip.At(inactive.right - 1, middle), highlight);
        EXPECT_NE(strip.At(last.right - 2, middle), shadow);
        EXPECT_NE(strip.At((inactive.left + inactive.right) / 2, inactive.top), highlight);
    }
}

TEST_F(ExtTabsFixture, PagesAreFramedAwayFromTheTabs)
{
    AddTabs(2);
    tabs->SetThemeType(TExtTabThemeType::tttNone);
    form->Show();
    const COLORREF light = GetSysColor(COLOR_WINDOW);
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    for (const TExtTabPosition position : {TExtTabPosition::ttpTop, TExtTabPosition::ttpBottom}) {
        tabs->SetTabPosition(position);
        PumpMessages();
        TExtTabSheet* sheet = tabs->Sheets(0);
        TPainted page(sheet);
        SCOPED_TRACE(static_cast<int>(position));
        const int w = sheet->Width(), h = sheet->Height();
        const bool top = position == TExtTabPosition::ttpTop;
        EXPECT_EQ(page.At(0, h / 2), light);
        EXPECT_EQ(page.At(w - 1, h / 2), frame);
        // The edge toward the tabs is under the strip.
        EXPECT_NE(page.At(w / 2, top ? 0 : h - 1), top ? light : frame);
        EXPECT_EQ(page.At(w / 2, top ? h - 1 : 0), top ? frame : light);
    }
}

TEST_F(ExtTabsFixture, ATabSetWithoutPagesPaintsThePageArea)
{
    auto* set = new TExtCustomTabSet(form);
    set->SetParent(form);
    set->SetBounds(0, 0, 200, 120);
    set->SetThemeType(TExtTabThemeType::tttFlat);
    form->Show();
    PumpMessages();
    TPainted painted(set);
    const int below = set->Dock()->Height() + 5;
    EXPECT_EQ(painted.At(0, below), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(painted.At(199, below), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(painted.At(100, 119), GetSysColor(COLOR_BTNSHADOW));
}

namespace {

// Whether the colour stands anywhere in a column between two rows.
bool ColumnHolds(TPainted& painted, int x, int top, int bottom, COLORREF colour)
{
    for (int y = top; y < bottom; ++y)
        if (painted.At(x, y) == colour)
            return true;
    return false;
}

COLORREF Inverted(COLORREF c)
{
    return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}

} // namespace

TEST_F(ExtTabsFixture, TabColoursFillTheActiveTabThePageAndTheStrip)
{
    AddTabs(3);
    const COLORREF face = RGB(200, 220, 240);
    const COLORREF back = RGB(40, 160, 60);
    TBarView* view = tabs->TabToolbar()->View();
    for (const TExtTabThemeType kind : {TExtTabThemeType::tttFlat, TExtTabThemeType::tttNone}) {
        tabs->SetThemeType(kind);
        tabs->TabToolbar()->SetTabColor(face);
        tabs->SetTabBackgroundColor(back);
        form->Show();
        PumpMessages();
        SCOPED_TRACE(static_cast<int>(kind));
        TPainted strip(tabs->TabToolbar());
        const TRect active = view->Find(tabs->Items()->Items(0))->BoundsRect();
        const TRect inactive = view->Find(tabs->Items()->Items(1))->BoundsRect();
        EXPECT_EQ(strip.At(active.left + 3, active.bottom - 2), face);
        EXPECT_EQ(strip.At(inactive.left + 3, inactive.top + 2), back);
        EXPECT_EQ(strip.At(tabs->TabToolbar()->ClientWidth() - 3, active.top + 2), back);
        TExtTabSheet* sheet = tabs->Sheets(0);
        TPainted page(sheet);
        EXPECT_EQ(page.At(sheet->Width() / 2, sheet->Height() / 2), face);
        // Back to the theme's strip.
        tabs->SetTabBackgroundColor(clNone);
        PumpMessages();
        TPainted plain(tabs->TabToolbar());
        EXPECT_NE(plain.At(inactive.left + 3, inactive.top + 2), back);
    }
}

TEST_F(ExtTabsFixture, AControlOnAPageStandsOnThePagesColour)
{
    AddTabs(2);
    const COLORREF page = RGB(200, 220, 240);
    tabs->SetThemeType(TExtTabThemeType::tttNone);
    tabs->TabToolbar()->SetTabColor(page);
    auto* radio = new TExtRadioButton(form);
    radio->SetParent(tabs->Sheets(0));
    radio->SetWideCaption(L"Radio");
    radio->SetAutoSize(false);
    radio->SetBounds(10, 10, 120, 20);
    form->Show();
    PumpMessages();
    TPainted painted(radio);
    for (int y = 0; y < radio->Height(); ++y)
        for (int x = radio->Width() - 20; x < radio->Width(); ++x)
            ASSERT_EQ(painted.At(x, y), page) << x << "," << y;
}

TEST_F(ExtTabsFixture, TheActiveTabShowsTheFocusWhileTheTabSetHasIt)
{
    AddTabs(2);
    tabs->SetThemeType(TExtTabThemeType::tttFlat);
    ASSERT_TRUE(ActivateForm(form));
    TExtTabToolbar* strip = tabs->TabToolbar();
    const TRect active = strip->View()->Find(tabs->Items()->Items(0))->BoundsRect();
    const COLORREF focusInk = Inverted(GetSysColor(COLOR_BTNFACE));
    auto focusShown = [&] {
        TPainted painted(strip);
        return ColumnHolds(painted, active.left + 3, active.top + 3, active.bottom - 3, focusInk);
    };
    EXPECT_FALSE(focusShown());
    RECT update;
    tabs->SetFocus();
    ASSERT_TRUE(tabs->Focused());
    EXPECT_TRUE(GetUpdateRect(strip->Handle(), &update, FALSE)) << "the strip repaints";
    PumpMessages();
    EXPECT_TRUE(focusShown());
    tabs->Sheets(0)->SetFocus();
    EXPECT_TRUE(GetUpdateRect(strip->Handle(), &update, FALSE)) << "the strip repaints";
    PumpMessages();
    EXPECT_FALSE(focusShown());
}

// Hiding the page that holds the focus moves the focus into the page shown,
// onto its group's checked radio button (which stays the choice), or onto
// the tab control when that page holds nothing to focus.
TEST_F(ExtTabsFixture, ASwitchAwayFromTheFocusedPageFocusesTheNewPagesChoice)
{
    AddTabs(3);
    auto* edit = new TEdit(form);
    edit->SetParent(tabs->Sheets(0));
    std::vector<TExtRadioButton*> radios;
    for (int i = 0; i < 3; ++i) {
        radios.push_back(new TExtRadioButton(form));
        radios[i]->SetParent(tabs->Sheets(1));
        radios[i]->SetBounds(8, 8 + 24 * i, 120, 20);
    }
    radios[2]->SetChecked(true);
    ASSERT_TRUE(ActivateForm(form));
    edit->SetFocus();
    ClickTab(1);
    EXPECT_EQ(GetFocus(), radios[2]->Handle());
    EXPECT_TRUE(radios[2]->Checked());
    EXPECT_FALSE(radios[0]->Checked());
    ClickTab(2);
    EXPECT_TRUE(tabs->Focused());
    ClickTab(0);
    EXPECT_TRUE(tabs->Focused()) << "the focus was not on the hidden page";
}

TEST_F(ExtTabsFixture, AFlatTabUnderTheMouseTakesTheToolbarThemesHotFace)
{
    SetSkinSysParam(2, 2);
    SkinThemeManager()->Refresh();
    AddTabs(3);
    tabs->SetThemeType(TExtTabThemeType::tttFlat);
    tabs->TabToolbar()->SetTabColor(RGB(200, 220, 240));
    ASSERT_TRUE(ActivateForm(form));
    TExtTabToolbar* strip = tabs->TabToolbar();
    const TRect tab = strip->View()->Find(tabs->Items()->Items(1))->BoundsRect();
    const int middle = (tab.top + tab.bottom) / 2;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    auto hotFaceShown = [&] {
        TPainted painted(strip);
        return painted.At(tab.left, middle) == highlight &&
               painted.At(tab.right - 1, middle) == shadow;
    };
    EXPECT_FALSE(hotFaceShown());
    RealMouseMove(ScreenPointOf(strip->Handle(), (tab.left + tab.right) / 2, middle));
    ASSERT_TRUE(PumpUntil(hotFaceShown)) << "the tab under the mouse is hot";
    {
        // The theme's face, not the active tab's colour.
        TPainted painted(strip);
        EXPECT_NE(painted.At(tab.left + 3, tab.bottom - 2), RGB(200, 220, 240));
    }
    RealMouseMove(ScreenPointOf(form->Handle(), 5, form->ClientHeight() - 5));
    EXPECT_TRUE(PumpUntil([&] { return !hotFaceShown(); })) << "leaving clears the hot face";
}

namespace {

// A window's client area as the screen shows it once painted afresh.
std::vector<std::uint32_t> Repainted(TWinControl* control)
{
    RedrawWindow(control->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return ScreenImage(control->Handle()).Pixels();
}

} // namespace

TEST_F(ExtTabsFixture, ResizingTheTabSetLeavesNoStaleImage)
{
    AddTabs(3);
    tabs->SetAlign(TAlign::alClient);
    form->Show();
    PumpMessages();
    for (const TExtTabPosition position : {TExtTabPosition::ttpTop, TExtTabPosition::ttpBottom})
        for (const TExtTabThemeType kind :
             {TExtTabThemeType::tttNone, TExtTabThemeType::tttWindows, TExtTabThemeType::tttFlat}) {
            tabs->SetTabPosition(position);
            tabs->SetThemeType(kind);
            PumpMessages();
            for (const int grow : {70, -110}) {
                SCOPED_TRACE(std::to_string(int(position)) + " " + std::to_string(int(kind)) + " " +
                             std::to_string(grow));
                form->SetBounds(form->Left(), form->Top(), form->Width() + grow,
                                form->Height() + grow / 2);
                PumpMessages();
                const std::vector<std::uint32_t> shown = ScreenImage(tabs->Handle()).Pixels();
                EXPECT_EQ(shown, Repainted(tabs));
            }
        }
}

// Tabs of the skin's kind show as the system's style does, and that style,
// once visual styles are off, as the classic tabs.
TEST_F(ExtTabsFixture, SkinTabsShowTheSystemsStyleAndItTheClassicTabsWithoutVisualStyles)
{
    using K = TExtTabThemeType;
    AddTabs(3);
    form->Show();
    auto shownAs = [&](K kind) {
        tabs->SetThemeType(kind);
        PumpMessages();
        return Repainted(tabs);
    };
    const std::vector<std::uint32_t> system = shownAs(K::tttWindows);
    EXPECT_EQ(shownAs(K::tttSkin), system);
    EXPECT_EQ(shownAs(K::tttNone) != system, ExtVisualStylesOn());
    SetSkinSysParam(2, 2);
    SkinThemeManager()->Refresh();
    const std::vector<std::uint32_t> classic = shownAs(K::tttNone);
    EXPECT_EQ(shownAs(K::tttWindows), classic);
    EXPECT_EQ(shownAs(K::tttSkin), classic);
}

TEST_F(ExtTabsFixture, TheBackgroundEventPaintsAroundOrInsteadOfThePage)
{
    AddTabs(2);
    tabs->SetThemeType(TExtTabThemeType::tttNone);
    const COLORREF mark = RGB(250, 10, 10);
    struct Case
    {
        bool takeOver;     // the handler clears paint default at stage 0
        bool markAfter;    // and draws its mark at stage 1
        COLORREF middle;   // the page's middle
        COLORREF leftEdge; // its left edge
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_WINDOW);
    const Case cases[] = {
        {false, false, face, light},
        {true, false, mark, mark},
        {false, true, mark, light},
    };
    form->Show();
    for (const Case& c : cases) {
        std::string stages;
        tabs->OnDrawBackground = [&](TObject* sender, TCanvas* canvas, const TRect& rect, int stage,
                                     bool& paintDefault) {
            EXPECT_EQ(sender, tabs);
            stages += std::to_string(stage);
            if (stage == 0 && c.takeOver)
                paintDefault = false;
            if ((stage == 0 && c.takeOver) || (stage == 1 && c.markAfter)) {
                TRect middle = rect;
                if (c.markAfter)
                    InflateRect(&middle, -rect.Width() / 4, -rect.Height() / 4);
                canvas->Brush()->SetColor(mark);
                canvas->FillRect(middle);
            }
        };
        SCOPED_TRACE(std::to_string(c.takeOver) + std::to_string(c.markAfter));
        TExtTabSheet* sheet = tabs->Sheets(0);
        TPainted page(sheet);
        EXPECT_EQ(stages.substr(0, 2), "01");
        EXPECT_EQ(page.At(sheet->Width() / 2, sheet->Height() / 2), c.middle);
        EXPECT_EQ(page.At(0, sheet->Height() / 2), c.leftEdge);
    }
}

TEST_F(ExtTabsFixture, ATabsDrawEventsMayTakeItsPaintingOver)
{
    AddTabs(1);
    TExtTabItem* tab = AddTab(L"Taken");
    const std::uint32_t red = 0xFA0A0A; // as the screen shows it
    std::string stages;
    tab->OnDrawItem = [&](TObject*, TCanvas* canvas, const TRect& r, const TSkinItemInfo&,
                          int stage, bool& paintDefault) {
        stages += "i" + std::to_string(stage);
        if (stage == 0) {
            paintDefault = false;
            canvas->Brush()->SetColor(RGB(250, 10, 10));
            canvas->FillRect(r);
        }
    };
    tab->OnDrawCaption = [&](TObject*, TCanvas*, const TRect&, WideString&, TRect&, UINT&, bool,
                             int stage, bool&) { stages += "c" + std::to_string(stage); };
    form->Show();
    PumpMessages();
    TExtTabToolbar* strip = tabs->TabToolbar();
    const TRect r = strip->View()->Find(tab)->BoundsRect();
    auto pixelAt = [&](int x, int y) { return Repainted(strip)[y * strip->ClientWidth() + x]; };
    stages.clear();
    EXPECT_EQ(pixelAt(r.left + 2, r.top + 2), red);
    EXPECT_EQ(stages, "i0i1");
    EXPECT_EQ(pixelAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), red);
    // Left to paint, the caption goes through its own stages.
    tab->OnDrawItem = nullptr;
    stages.clear();
    EXPECT_NE(pixelAt(r.left + 2, r.top + 2), red);
    EXPECT_EQ(stages, "c0c1");
}
