// Toolbars on a form with four docks: the chevron, the floating sizes, the
// menu bar driven by Alt and accelerators, shortcuts routed from the
// application, and the controls a toolbar holds.
#include "BarTestHost.h"
#include "DockTestHost.h"

#include "toolbar/BarCommon.h"
#include "toolbar/BarToolbar.h"

#include "support/MessageRecorder.h"
#include "support/ModalScript.h"
#include "support/TempFolder.h"
#include "support/WindowDriver.h"

#include "classlib/Actions.h"
#include "classlib/ControlMessages.h"
#include "classlib/StandardControls.h"

#include <gtest/gtest.h>

using namespace bar_testing;
using namespace testing_support;

namespace {

// --- Floating sizes, without windows

// Four items 30 x 20 in a frame with 4-pixel margins at each end.
TPoint FourItemsAt(int wrap)
{
    const int perRow = wrap == 0 ? 4 : std::max(1, (wrap - 8) / 30);
    const int rows = (4 + perRow - 1) / perRow;
    return TPoint(8 + 30 * std::min(perRow, 4), 20 * rows);
}

TEST(BarFloatingSizes, EachRowCountKeepsItsNarrowestLayout)
{
    const std::vector<TBarFloatingSize> sizes = FloatingSizesFor(128, FourItemsAt);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0].WrapWidth, 0);
    EXPECT_EQ(sizes[0].Size, TPoint(128, 20));
    // Three on a row first, then two: both two rows; the narrower stays.
    EXPECT_EQ(sizes[1].WrapWidth, 97);
    EXPECT_EQ(sizes[1].Size, TPoint(68, 40));
    EXPECT_EQ(sizes[2].WrapWidth, 67);
    EXPECT_EQ(sizes[2].Size, TPoint(38, 80));
}

TEST(BarFloatingSizes, APullSnapsToTheNearestSizeOnItsSide)
{
    const std::vector<int> lengths{50, 100, 105, 200};
    EXPECT_EQ(SnapDistanceAt(lengths, 0), 12);
    EXPECT_EQ(SnapDistanceAt(lengths, 1), 4) << "a neighbour 5 pixels away";
    EXPECT_EQ(SnapDistanceAt({100, 101}, 0), 0);
    struct
    {
        int proposed;
        int chosen;
    } const cases[] = {{100, 1}, {104, 1}, {96, 1}, {106, 2}, {150, 2},
                       {160, 3}, {300, 3}, {95, 0}, {10, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SnapChoice(lengths, 1, c.proposed, 4), c.chosen) << c.proposed;
    EXPECT_EQ(SnapChoice({100}, 0, 400, 12), 0) << "no other size";
}

// --- Toolbars on a form

class BarToolbarTest : public DockFormTest
{
protected:
    void SetUp() override
    {
        DockFormTest::SetUp();
        savedBeep = BarSeams().Beep;
        BarSeams().Beep = [this] { ++beeps; };
        // Away from the form: a menu loop starts from where the last
        // message says the mouse is.
        SetCursorPos(1270, 1010);
        PostMessageA(nullptr, WM_NULL, 0, 0);
        PumpMessages();
    }
    void TearDown() override
    {
        BarSeams().Beep = savedBeep;
        DockFormTest::TearDown();
    }
    TBarCustomToolbar* NewToolbar(TBarDock* dock, const char* name,
                                  std::initializer_list<const char*> captions)
    {
        auto* bar = new TBarCustomToolbar(form);
        bar->SetName(name);
        for (const char* caption : captions)
            Counted(bar->Items(), caption);
        bar->SetCurrentDock(dock);
        PumpMessages();
        return bar;
    }
    // An item whose clicks are recorded.
    TBarCustomItem* Counted(TBarCustomItem* parent, const char* caption)
    {
        TBarCustomItem* item = AddItem(parent, caption);
        item->OnClick = TNotifyEvent([this, caption](TObject*) { clicks.push_back(caption); });
        return item;
    }
    static TBarCustomItem* ItemNamed(TBarCustomToolbar* bar, const char* caption)
    {
        for (int i = 0; i < bar->Items()->Count(); ++i)
            if (bar->Items()->Items(i)->Caption() == caption)
                return bar->Items()->Items(i);
        return nullptr;
    }
    static void SendSysCommand(TWinControl* window, WORD typed)
    {
        SendMessageA(window->Handle(), WM_SYSCOMMAND, SC_KEYMENU, typed);
    }
    std::vector<std::string> clicks;
    int beeps = 0;
    std::function<void()> savedBeep;
};

TEST_F(BarToolbarTest, AShortDockHidesTheLastItemsBehindTheChevronAndShowsThemAgainWhenItGrows)
{
    TBarCustomToolbar* bar =
        NewToolbar(top, "Tools", {"&One", "&Two", "T&hree", "&Four", "Fi&ve", "&Six"});
    form->FinishLoading();
    TBarView* view = bar->View();
    const int wide = bar->Width();
    TBarItemViewer* chevron = view->Find(bar->OverflowItem());
    EXPECT_FALSE(chevron->Shown());

    struct
    {
        const char* what;
        int dockWidth;
        int shownAtLeast, shownAtMost;
    } const cases[] = {
        {"half the length", wide / 2, 1, 5},
        {"no room at all", 10, 1, 5},
        {"room again", wide + 50, 6, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form->SetClientWidth(c.dockWidth);
        PumpMessages();
        view->EnsureLayout();
        int shown = 0;
        for (int i = 0; i < bar->Items()->Count(); ++i)
            shown += view->Find(bar->Items()->Items(i))->Shown() ? 1 : 0;
        EXPECT_GE(shown, c.shownAtLeast);
        EXPECT_LE(shown, c.shownAtMost);
        EXPECT_TRUE(view->Find(ItemNamed(bar, "&One"))->Shown()) << "the first item stays";
        EXPECT_EQ(chevron->Shown(), shown < 6);
        if (shown < 6 && bar->Width() > top->ClientWidth())
            EXPECT_EQ(shown, 1) << "only at its smallest may it stick out";
        else if (shown < 6)
            EXPECT_LE(bar->Width(), top->ClientWidth());
        else
            EXPECT_EQ(bar->Width(), wide);
    }
}

TEST_F(BarToolbarTest, TheChevronOpensAPopupOfTheHiddenItems)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Tools", {"&One", "&Two", "T&hree", "&Four"});
    form->FinishLoading();
    form->SetClientWidth(bar->Width() / 2);
    PumpMessages();
    TBarView* view = bar->View();
    view->EnsureLayout();
    TBarItemViewer* chevron = view->Find(bar->OverflowItem());
    ASSERT_TRUE(chevron->Shown());
    TBarCustomItem* four = ItemNamed(bar, "&Four");
    ASSERT_TRUE(view->Find(four)->Clipped());
    const TRect r = chevron->BoundsRect();

    ModalScript script;
    script.WaitUntil([&] { return view->OpenChildView() != nullptr; }, "the chevron opens")
        .Then([&] {
            TBarView* popup = view->OpenChildView();
            for (int i = 0; i < bar->Items()->Count(); ++i) {
                TBarCustomItem* item = bar->Items()->Items(i);
                EXPECT_EQ(popup->Find(item)->Shown(), view->Find(item)->Clipped())
                    << item->Caption();
            }
            ModalScript::Click(ScreenCentre(popup, four));
        });
    script.Run([&] {
        bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(r.left + r.Width() / 2, r.top + r.Height() / 2));
    });
    PumpMessages();
    EXPECT_EQ(clicks, std::vector<std::string>{"&Four"});
}

TEST_F(BarToolbarTest, AMenuBarTakesItsDefaults)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Menu", {"&File"});
    bar->SetMenuBar(true);
    EXPECT_TRUE(bar->FullSize());
    EXPECT_EQ(bar->ShrinkMode(), TBarShrinkMode::tbsmWrap);
    EXPECT_FALSE(bar->CloseButton());
    EXPECT_TRUE(bar->ProcessShortCuts());
    EXPECT_TRUE(bar->ControlStyle() & csMenuEvents);
    PumpMessages();
    EXPECT_EQ(bar->Width(), top->ClientWidth());
    bar->SetMenuBar(false);
    EXPECT_FALSE(bar->ProcessShortCuts());
    EXPECT_EQ(bar->ShrinkMode(), TBarShrinkMode::tbsmChevron);
}

class BarMenuBarTest : public BarToolbarTest
{
protected:
    void SetUp() override
    {
        BarToolbarTest::SetUp();
        menuBar = NewToolbar(top, "Menu", {});
        menuBar->SetMenuBar(true);
        file = Submenu("&File");
        Counted(file, "&Open");
        Counted(file, "&Save");
        edit = Submenu("&Edit");
        Counted(edit, "&Copy");
        PumpMessages();
    }
    TBarView* OpenMenu() const { return menuBar->View()->OpenChildView(); }
    TBarCustomItem* Submenu(const char* caption)
    {
        auto* item = new TTraitItem(caption, OpensPopup);
        menuBar->Items()->Add(item);
        return item;
    }

    TBarCustomToolbar* menuBar = nullptr;
    TBarCustomItem* file = nullptr;
    TBarCustomItem* edit = nullptr;
};

TEST_F(BarMenuBarTest, AltAndALetterOpenTheMenuItNames)
{
    ModalScript script;
    script.WaitUntil([&] { return OpenMenu() != nullptr; }, "a menu opens").Then([&] {
        EXPECT_EQ(OpenMenu()->ParentItem(), edit);
        EXPECT_TRUE(menuBar->View()->HasViewState(bvsShowAccelerators));
        ModalScript::Click(ScreenCentre(OpenMenu(), edit->Items(0)));
    });
    script.Run([&] { SendSysCommand(form, 'e'); });
    PumpMessages();
    EXPECT_EQ(clicks, std::vector<std::string>{"&Copy"});
    EXPECT_EQ(beeps, 0);
}

TEST_F(BarMenuBarTest, AltAloneSelectsTheFirstItemWithoutOpeningIt)
{
    ModalScript script;
    script.Then([&] {
        ASSERT_NE(menuBar->View()->Selected(), nullptr);
        EXPECT_EQ(menuBar->View()->Selected()->Item(), file);
        EXPECT_EQ(OpenMenu(), nullptr);
        ModalScript::PressKey(VK_ESCAPE);
    });
    script.Run([&] { SendSysCommand(form, 0); });
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(BarMenuBarTest, ALetterNoItemHasBeepsButADashIsLeftToTheForm)
{
    SendSysCommand(form, 'z');
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(SendMessageA(menuBar->Handle(), WM_SYSCOMMAND, SC_KEYMENU, '-'), 0);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(BarToolbarTest, AShortcutFiresOnceWhileAnEditHasTheFocus)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Tools", {"&Keyed"});
    bar->SetProcessShortCuts(true);
    ItemNamed(bar, "&Keyed")->SetShortCut(ShortCut('K', ssCtrl));
    // An item tied to an action of the form: the form's action takes the key.
    auto* list = new TActionList(form);
    auto* action = new TAction(form);
    action->SetActionList(list);
    action->SetShortCut(ShortCut('J', ssCtrl));
    int executed = 0;
    action->OnExecute = TNotifyEvent([&executed](TObject*) { ++executed; });
    TBarCustomItem* linked = AddItem(bar->Items(), "&Linked");
    linked->SetAction(action);
    auto* edit = MakeChildControl<TEdit>(form, form, "Field");
    edit->SetBounds(10, 200, 100, 24);
    edit->SetFocus();
    PumpMessages();
    ASSERT_EQ(FocusedWindow(), edit->Handle());

    PressKey(edit->Handle(), 'K', ssCtrl);
    PressKey(edit->Handle(), 'J', ssCtrl);
    PumpMessages();
    EXPECT_EQ(clicks, std::vector<std::string>{"&Keyed"});
    EXPECT_EQ(executed, 1);
    delete bar;
    PressKey(edit->Handle(), 'K', ssCtrl);
    EXPECT_EQ(clicks.size(), 1u) << "a freed toolbar takes no keys";
}

// An item that keeps a short caption of its own, whatever its action's.
class TShortCaptionItem : public TBarCustomItem
{
public:
    TShortCaptionItem() : TBarCustomItem(nullptr) {}

protected:
    void ActionChange(TObject* Sender, bool CheckDefaults) override
    {
        TBarCustomItem::ActionChange(Sender, CheckDefaults);
        SetCaption("&Short");
    }
};

TEST_F(BarToolbarTest, AnItemWithACaptionOfItsOwnLeavesItsToolbarStillWhenItsActionChanges)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Tools", {"&One"});
    auto* list = new TActionList(form);
    auto* action = new TAction(form);
    action->SetActionList(list);
    action->SetCaption("A much longer caption than the item's own");
    // Without a handler the idle step would disable it.
    action->OnExecute = [](TObject*) {};
    auto* item = new TShortCaptionItem;
    bar->Items()->Add(item);
    item->SetAction(action);
    form->FinishLoading();
    PumpMessages();
    const int width = bar->Width();
    MessageRecorder moves(bar->Handle(), {WM_WINDOWPOSCHANGING});
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled);
        action->SetEnabled(enabled);
        PumpMessages();
        EXPECT_EQ(item->Enabled(), enabled);
        EXPECT_EQ(item->Caption(), "&Short");
        EXPECT_EQ(bar->Width(), width);
        EXPECT_EQ(moves.Count(WM_WINDOWPOSCHANGING), 0);
    }
}

// A toolbar that erases itself green, as a dock's background may show
// through one.
class TGreenToolbar : public TBarCustomToolbar
{
public:
    using TBarCustomToolbar::TBarCustomToolbar;
    static constexpr COLORREF kGreen = RGB(0, 160, 0);

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg != WM_ERASEBKGND) {
            TBarCustomToolbar::WndProc(message);
            return;
        }
        HBRUSH green = CreateSolidBrush(kGreen);
        RECT client;
        GetClientRect(WindowHandle(), &client);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, green);
        DeleteObject(green);
        message.Result = 1;
    }
};

TEST_F(BarToolbarTest, AnItemPaintedAloneLiesOnWhatTheToolbarErasesBehindIt)
{
    auto* bar = new TGreenToolbar(form);
    bar->SetName("Green");
    AddItem(bar->Items(), "&First");
    TBarCustomItem* item = AddItem(bar->Items(), "&Second");
    bar->SetCurrentDock(top);
    form->FinishLoading();
    PumpMessages();
    const TRect bounds = bar->View()->Find(item)->BoundsRect();
    ASSERT_GT(bounds.left, 0);
    item->SetEnabled(false); // the item alone is painted again
    PumpMessages();
    HDC dc = GetDC(bar->Handle());
    const COLORREF corner = GetPixel(dc, bounds.left + 1, bounds.top + 1);
    ReleaseDC(bar->Handle(), dc);
    EXPECT_EQ(corner, TGreenToolbar::kGreen);
}

TEST_F(BarToolbarTest, AnAcceleratorTypedInItsFormRunsAToolbarsItem)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Tools", {"&One", "T&wo"});
    ModalScript script;
    script.Run([&] { EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'w', 0), 1); });
    PumpMessages();
    EXPECT_EQ(clicks, std::vector<std::string>{"T&wo"});
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'z', 0), 0);
    bar->SetMenuBar(true);
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'o', 0), 0) << "a menu bar waits for Alt";
    PumpMessages();
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(BarToolbarTest, TheItemUnderThePointerGivesTheToolbarItsHint)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Tools", {"&One", "&Two"});
    ItemNamed(bar, "&One")->SetHint("First|The first one");
    ItemNamed(bar, "&Two")->SetHint("Second");
    ItemNamed(bar, "&Two")->SetOptions(tboLongHintInMenuOnly);
    const TRect one = bar->View()->Find(ItemNamed(bar, "&One"))->BoundsRect();
    const TRect two = bar->View()->Find(ItemNamed(bar, "&Two"))->BoundsRect();
    bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(one.left + 2, one.top + 2));
    EXPECT_EQ(bar->Hint(), "First|The first one");
    THintInfo info;
    info.CursorPos = TPoint(one.left + 2, one.top + 2);
    EXPECT_EQ(bar->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, "First");
    EXPECT_EQ(info.CursorRect, one);
    bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(two.left + 2, two.top + 2));
    EXPECT_EQ(bar->Hint(), "");
    bar->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(bar->View()->Selected(), nullptr);
}

TEST_F(BarToolbarTest, AFloatingToolbarSnapsBetweenItsWrapLayoutsAndKeepsTheChoice)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Tools", {"&One", "&Two", "T&hree", "&Four"});
    bar->SetFloatOrigin(TPoint(200, 200));
    bar->SetFloating(true);
    PumpMessages();
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    const TRect before = ScreenRect(frame);
    const POINT edge{before.right - 2, before.top + before.Height() / 2};
    ModalScript script;
    script.Then([&] {
              ModalScript::MoveMouse(POINT{edge.x - 5, edge.y});
          })
        .Then([&] { EXPECT_EQ(ScreenRect(frame), before) << "within the snap distance"; })
        .Then([&] {
            ModalScript::MoveMouse(POINT{edge.x - before.Width() / 2, edge.y});
        })
        .Then([&] {
            ModalScript::ReleaseButton(POINT{edge.x - before.Width() / 2, edge.y});
        });
    SetCursorPos(edge.x, edge.y);
    script.Run([&] { bar->StartSizeLoop(1); });
    PumpMessages();
    const TRect after = ScreenRect(frame);
    EXPECT_LT(after.Width(), before.Width());
    EXPECT_GT(after.Height(), before.Height()) << "two rows or more";
    EXPECT_EQ(after.left, before.left);
    const int wrap = bar->FloatRightX();
    EXPECT_GT(wrap, 0);

    TempFolder folder;
    BarWritePlacesToIni(form, folder / "places.ini", "");
    bar->SetFloatRightX(0);
    PumpMessages();
    EXPECT_EQ(ScreenRect(frame).Width(), before.Width());
    BarReadPlacesFromIni(form, folder / "places.ini", "");
    PumpMessages();
    EXPECT_EQ(bar->FloatRightX(), wrap);
    EXPECT_EQ(ScreenRect(frame).Width(), after.Width());
}

TEST_F(BarToolbarTest, AChildControlShowsAsAnItemUntilItLeaves)
{
    TBarCustomToolbar* bar = NewToolbar(top, "Tools", {"&One"});
    auto* edit = new TEdit(form);
    edit->SetBounds(0, 0, 80, 20);
    edit->SetParent(bar);
    PumpMessages();
    ASSERT_EQ(bar->Items()->Count(), 2);
    auto* wrapped = dynamic_cast<TBarControlItem*>(bar->Items()->Items(1));
    ASSERT_NE(wrapped, nullptr);
    EXPECT_EQ(wrapped->Control(), edit);
    bar->View()->EnsureLayout();
    EXPECT_EQ(edit->BoundsRect(), bar->View()->Find(wrapped)->BoundsRect());
    bool covered = false;
    bar->HasControlAt(TPoint(edit->Left() + 2, edit->Top() + 2), covered);
    EXPECT_TRUE(covered);

    edit->SetParent(form);
    EXPECT_EQ(bar->Items()->Count(), 1);
    EXPECT_EQ(edit->Parent(), form) << "the control itself stays";
}

} // namespace
