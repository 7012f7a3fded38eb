// Selection and navigation on a bare host window: keys, accelerator
// characters, the wheel, the viewers' mouse handling, items that follow
// their actions, and painting.
#include "BarTestHost.h"

#include "toolbar/BarCommon.h"

#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace bar_testing;
using namespace testing_support;

namespace {

class BarNavigation : public ViewHostTest
{
protected:
    // A view in a menu loop.
    TBarView* Host(TViewHost::Kind kind)
    {
        TBarView* view = ViewHostTest::Host(kind);
        view->IncludeViewState(bvsModal);
        return view;
    }
    TBarCustomItem* Selected()
    {
        TBarItemViewer* viewer = host->View()->Selected();
        return viewer ? viewer->Item() : nullptr;
    }
    void Select(TBarCustomItem* item)
    {
        host->View()->ChangeSelection(item ? host->View()->Find(item) : nullptr, false);
    }
    WORD Press(WORD key, TShiftState shift = 0)
    {
        host->View()->KeyDown(key, shift);
        return key;
    }
    TBarLoopResultKind Done() { return host->View()->DoneAction().Kind; }
    // The loop's handling of a typed character: select, and run when unique.
    TBarCustomItem* Type(char c, bool& unique)
    {
        TBarView* view = host->View();
        TBarItemViewer* found = view->ViewerForTypedChar(c, false, unique);
        if (!found)
            return nullptr;
        view->ChangeSelection(found, false);
        if (unique)
            view->RunSelectedItem(true);
        return found->Item();
    }
    // Puts the cursor on an item and lets a mouse message report it.
    void PointAt(TBarCustomItem* item, int dx = 2)
    {
        TRect r = host->View()->Find(item)->BoundsRect();
        TPoint p = host->ClientToScreen(TPoint(r.left + dx, r.top + r.Height() / 2));
        SetCursorPos(p.x, p.y);
        PostMessageA(host->Handle(), WM_MOUSEMOVE, 0, 0);
        PumpMessages();
    }
};

TEST_F(BarNavigation, KeysMoveTheSelectionRoundTheMenu)
{
    Host(TViewHost::Kind::Menu);
    auto* first = new TTraitItem("&First", SkipInitialSelect);
    host->Root()->Add(first);
    TBarCustomItem* second = AddItem(host->Root(), "&Second");
    AddSeparator(host->Root());
    TBarCustomItem* hidden = AddItem(host->Root(), "&Hidden");
    hidden->SetVisible(false);
    TBarCustomItem* last = AddItem(host->Root(), "&Last");
    EXPECT_EQ(host->View()->InitialViewer()->Item(), second);
    struct Case
    {
        TBarCustomItem* from;
        WORD key;
        TShiftState shift;
        TBarCustomItem* to;
    } cases[] = {
        {nullptr, VK_DOWN, 0, first},   {first, VK_DOWN, 0, second}, {second, VK_DOWN, 0, last},
        {last, VK_DOWN, 0, first},      {first, VK_UP, 0, last},     {last, VK_TAB, 0, first},
        {first, VK_TAB, ssShift, last}, {second, VK_HOME, 0, first}, {first, VK_END, 0, last},
    };
    for (const Case& c : cases) {
        Select(c.from);
        EXPECT_EQ(Press(c.key, c.shift), 0) << c.key;
        EXPECT_EQ(Selected(), c.to) << c.key << " from " << (c.from ? c.from->Caption() : "none");
    }
    EXPECT_EQ(Press('Q'), 'Q'); // not a navigation key: left for others
    EXPECT_EQ(Done(), TBarLoopResultKind::None);
}

TEST_F(BarNavigation, KeysThatEndTheMenu)
{
    Host(TViewHost::Kind::Menu);
    TBarCustomItem* open = AddItem(host->Root(), "&Open");
    TBarCustomItem* off = AddItem(host->Root(), "O&ff");
    off->SetEnabled(false);
    off->SetHelpContext(31);
    struct Case
    {
        TBarCustomItem* selected;
        WORD key;
        TBarLoopResultKind done;
    } cases[] = {
        {open, VK_RETURN, TBarLoopResultKind::ItemClicked},
        {off, VK_RETURN, TBarLoopResultKind::Cancelled},
        {nullptr, VK_RETURN, TBarLoopResultKind::Cancelled},
        {open, VK_ESCAPE, TBarLoopResultKind::Cancelled},
        {open, VK_F10, TBarLoopResultKind::Cancelled},
        {open, VK_MENU, TBarLoopResultKind::Cancelled},
        {off, VK_F1, TBarLoopResultKind::Help},
        {open, VK_F1, TBarLoopResultKind::None}, // no help context on the way
    };
    for (const Case& c : cases) {
        host->View()->ClearDoneAction();
        Select(c.selected);
        Press(c.key);
        EXPECT_EQ(Done(), c.done) << c.key;
    }
    host->View()->ClearDoneAction();
    Select(open);
    Press(VK_RETURN);
    const TBarLoopResult& done = host->View()->DoneAction();
    EXPECT_EQ(done.Item, open);
    EXPECT_TRUE(done.PlaySound); // chosen in a popup
    Select(off);
    Press(VK_F1);
    EXPECT_EQ(host->View()->DoneAction().HelpContext, 31);
}

TEST_F(BarNavigation, AcceleratorsSelectAndRunOnlyAUniqueMatch)
{
    Host(TViewHost::Kind::Menu);
    TBarCustomItem* open = AddItem(host->Root(), "&Open");
    TBarCustomItem* save = AddItem(host->Root(), "&Save");
    TBarCustomItem* settings = AddItem(host->Root(), "&Settings");
    TBarCustomItem* close = AddItem(host->Root(), "Close");
    TBarCustomItem* off = AddItem(host->Root(), "&Disabled");
    off->SetEnabled(false);
    TBarCustomItem* katakana = AddItem(host->Root(), "ア&イ"); // イ is 0x83 0x43: "C" as trail
    struct Case
    {
        TBarCustomItem* from;
        char typed;
        TBarCustomItem* found;
        bool unique;
        TBarLoopResultKind done;
    } cases[] = {
        {nullptr, 'o', open, true, TBarLoopResultKind::ItemClicked},
        {nullptr, 'S', save, false, TBarLoopResultKind::None},
        {save, 's', settings, false, TBarLoopResultKind::None},
        {settings, 's', save, false, TBarLoopResultKind::None},
        {nullptr, 'c', close, true, TBarLoopResultKind::ItemClicked}, // first letter
        {nullptr, 'd', off, true, TBarLoopResultKind::Cancelled},     // alone and disabled
        {nullptr, ' ', nullptr, false, TBarLoopResultKind::None},
        {nullptr, 'x', nullptr, false, TBarLoopResultKind::None},
    };
    for (const Case& c : cases) {
        host->View()->ClearDoneAction();
        Select(c.from);
        bool unique = false;
        EXPECT_EQ(Type(c.typed, unique), c.found) << c.typed;
        EXPECT_EQ(unique, c.unique) << c.typed;
        EXPECT_EQ(Done(), c.done) << c.typed;
    }
    // The accelerators alone: "Close" has none; the katakana caption never
    // answers to the letter its second byte looks like.
    bool unique = false;
    EXPECT_EQ(host->View()->ViewerForTypedChar('c', true, unique), nullptr);
    close->SetCaption("Other");
    TBarItemViewer* found = host->View()->ViewerForTypedChar('C', false, unique);
    EXPECT_TRUE(found == nullptr || found->Item() != katakana);
}

TEST_F(BarNavigation, TheWheelScrollsAPopupByWholeLines)
{
    struct Case
    {
        UINT systemLines;
        int delta;
        int scrolls; // the Scroll steps the delta makes
    } cases[] = {
        {3, -120, 3}, {3, -40, 1},   {3, -39, 0}, {WHEEL_PAGESCROLL, -120, 3},
        {0, -120, 0}, {1000, -1, 1},
    };
    for (const Case& c : cases) {
        TBarView* view = Host(TViewHost::Kind::Menu);
        for (int i = 0; i < 40; ++i)
            AddItem(host->Root(), "Item " + std::to_string(i));
        view->SetMaxHeight(200);
        for (int i = 0; i < c.scrolls; ++i)
            view->Scroll(true);
        int expected = view->ScrollOffset();
        while (view->ShowsUpArrow())
            view->Scroll(false);

        BarSeams().WheelScrollLines = [&] { return c.systemLines; };
        view->MouseWheel(c.delta, 0, 0);
        EXPECT_EQ(view->ScrollOffset(), expected) << c.systemLines << " " << c.delta;
    }
    // A notch up goes back up.
    TBarView* view = host->View();
    BarSeams().WheelScrollLines = [] { return 3u; };
    view->MouseWheel(-120, 0, 0);
    int down = view->ScrollOffset();
    view->MouseWheel(120, 0, 0);
    EXPECT_LT(view->ScrollOffset(), down);
}

TEST_F(BarNavigation, AViewWithoutScrollArrowsIgnoresTheWheel)
{
    TBarView* view = Host(TViewHost::Kind::Menu);
    AddItem(host->Root(), "Only");
    view->MouseWheel(-120, 0, 0);
    EXPECT_EQ(view->WheelAccumulator(), 0);
    EXPECT_EQ(view->ScrollOffset(), 0);
}

TEST_F(BarNavigation, SelectingAScrolledOutItemScrollsItIn)
{
    TBarView* view = Host(TViewHost::Kind::Menu);
    std::vector<TBarCustomItem*> items;
    for (int i = 0; i < 30; ++i)
        items.push_back(AddItem(host->Root(), "Item " + std::to_string(i)));
    view->SetMaxHeight(200);
    Select(items[0]);
    Press(VK_END);
    EXPECT_EQ(Selected(), items[29]);
    EXPECT_TRUE(view->Find(items[29])->Shown());
    EXPECT_FALSE(view->ShowsDownArrow());
    Press(VK_DOWN); // round to the top
    EXPECT_EQ(Selected(), items[0]);
    EXPECT_TRUE(view->Find(items[0])->Shown());
    EXPECT_FALSE(view->ShowsUpArrow());
}

TEST_F(BarNavigation, SelectionChangesTellTheItemsAndStartTheOpenTimerByMouse)
{
    TBarView* view = Host(TViewHost::Kind::Menu);
    host->Handle();
    auto* sub = new TTraitItem("&Sub", OpensPopup);
    host->Root()->Add(sub);
    TBarCustomItem* plain = AddItem(host->Root(), "&Plain");
    std::vector<std::string> heard;
    for (TBarCustomItem* item : {static_cast<TBarCustomItem*>(sub), plain})
        item->OnSelect = [&heard](TBarCustomItem* sender, TBarItemViewer*, bool selecting) {
            heard.push_back((selecting ? "+" : "-") + sender->Caption());
        };
    view->ChangeSelection(view->Find(sub), true);
    EXPECT_TRUE(view->TimerRunning(bvtOpen));
    view->ChangeSelection(view->Find(plain), false);
    EXPECT_FALSE(view->TimerRunning(bvtOpen));
    view->ChangeSelection(view->Find(sub), false); // by key: no timer
    EXPECT_FALSE(view->TimerRunning(bvtOpen));
    EXPECT_EQ(heard, (std::vector<std::string>{"+&Sub", "-&Sub", "+&Plain", "-&Plain", "+&Sub"}));
}

TEST_F(BarNavigation, AToolbarButtonRunsWhenPressedAndReleasedOnIt)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* button = AddItem(host->Root(), "Go");
    TBarCustomItem* off = AddItem(host->Root(), "Off");
    off->SetEnabled(false);
    ASSERT_TRUE(ActivateForm(form));
    TBarItemViewer* viewer = view->Find(button);

    PointAt(button);
    view->ChangeSelection(viewer, true);
    EXPECT_TRUE(view->MouseInButtonPart());
    // Released without having been pressed here: nothing.
    viewer->MouseUp(2, 2, false);
    EXPECT_EQ(Done(), TBarLoopResultKind::None);
    bool downOnMenu = false;
    viewer->MouseDown(0, 2, 2, downOnMenu);
    EXPECT_TRUE(view->Capturing());
    viewer->MouseUp(2, 2, false);
    EXPECT_FALSE(view->Capturing());
    EXPECT_EQ(Done(), TBarLoopResultKind::ItemClicked);
    EXPECT_EQ(view->DoneAction().Item, button);
    EXPECT_FALSE(view->DoneAction().PlaySound); // not in a popup

    // A press on a disabled button ends a bar's loop; so does a release
    // away from every button.
    view->ClearDoneAction();
    view->Find(off)->MouseDown(0, 2, 2, downOnMenu);
    EXPECT_EQ(Done(), TBarLoopResultKind::Cancelled);
    view->ClearDoneAction();
    SetCursorPos(5, 5);
    PostMessageA(host->Handle(), WM_MOUSEMOVE, 0, 0);
    PumpMessages();
    view->ChangeSelection(viewer, true);
    EXPECT_FALSE(view->MouseInButtonPart());
    viewer->MouseUp(2, 2, false);
    EXPECT_EQ(Done(), TBarLoopResultKind::Cancelled);
}

TEST_F(BarNavigation, ABarOfActionsFollowsTheirUpdatesAndRunsThemFromKeys)
{
    TBarView* view = Host(TViewHost::Kind::Toolbar);
    TAction save(nullptr), print(nullptr);
    save.SetCaption("&Save");
    print.SetCaption("&Print");
    int saves = 0;
    bool canPrint = true;
    save.OnExecute = [&](TObject*) { ++saves; };
    print.OnExecute = [](TObject*) {};
    print.OnUpdate = [&](TObject*) { print.SetEnabled(canPrint); };
    TBarCustomItem* saveItem = AddItem(host->Root(), "");
    TBarCustomItem* printItem = AddItem(host->Root(), "");
    saveItem->SetAction(&save);
    printItem->SetAction(&print);
    form->Show();
    PumpMessages();
    EXPECT_EQ(printItem->Caption(), "&Print");

    // An update that disables the action repaints its button.
    canPrint = false;
    printItem->InitiateAction();
    EXPECT_FALSE(printItem->Enabled());
    RECT dirty = {};
    ASSERT_TRUE(GetUpdateRect(host->Handle(), &dirty, FALSE));
    TRect printBounds = view->Find(printItem)->BoundsRect();
    RECT overlap;
    EXPECT_TRUE(IntersectRect(&overlap, &dirty, &printBounds));
    // Hidden by its action, the button gives its place up.
    int printLeft = printBounds.left;
    save.SetVisible(false);
    view->EnsureLayout();
    EXPECT_LT(view->Find(printItem)->BoundsRect().left, printLeft);
    save.SetVisible(true);

    // Enter on the selected button ends the loop with it; the click runs
    // once the loop is over.
    Select(saveItem);
    Press(VK_RETURN);
    RunMenuOutcome(view->DoneAction(), false);
    EXPECT_EQ(saves, 0);
    PumpMessages();
    EXPECT_EQ(saves, 1);
    saveItem->SetAction(nullptr);
    printItem->SetAction(nullptr);
}

TEST_F(BarNavigation, TheSelectedMenuRowIsPaintedInTheHighlightColour)
{
    TBarView* view = Host(TViewHost::Kind::Menu);
    TBarCustomItem* a = AddItem(host->Root(), "&Alpha");
    TBarCustomItem* b = AddItem(host->Root(), "Beta\tCtrl+B");
    AddSeparator(host->Root());
    auto* sub = new TTraitItem("Sub", OpensPopup);
    host->Root()->Add(sub);
    b->SetChecked(true);
    form->Show();
    Select(a);
    auto pixelAt = [&](TBarCustomItem* item) {
        TBitmap bitmap;
        bitmap.SetSize(host->Width(), host->Height());
        host->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
        TRect r = view->Find(item)->BoundsRect();
        return bitmap.Canvas()->Pixel(r.right - 3, r.top + 1);
    };
    EXPECT_EQ(ColorToRGB(pixelAt(a)), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_NE(ColorToRGB(pixelAt(b)), GetSysColor(COLOR_HIGHLIGHT));
    // Drawn aside after an invalidation, the same.
    view->Invalidate(view->Find(a));
    EXPECT_EQ(ColorToRGB(pixelAt(a)), GetSysColor(COLOR_HIGHLIGHT));
}

} // namespace
