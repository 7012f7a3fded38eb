// Menus driven through their loop: scripted mouse and key input from inside
// the loop, clicks that run once the menu is gone, and every way a loop ends.
#include "BarTestHost.h"

#include "toolbar/BarCommon.h"

#include "support/ModalScript.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include "classlib/Actions.h"
#include "classlib/Application.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace bar_testing;
using namespace testing_support;

namespace {

// What a click saw of the menu when it ran.
struct ClickRecord
{
    TBarCustomItem* Item;
    bool PopupsLeft;
    bool CaptureHeld;
};

class BarMenuLoop : public PopupTest
{
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        root = new TBarRootItem(nullptr);
        ParkMouse();
    }
    // Away from every menu of the tests, and known to the loop as where the
    // mouse last was (a loop starts from the position of the last message).
    static void ParkMouse()
    {
        SetCursorPos(1270, 1010);
        PostMessageA(nullptr, WM_NULL, 0, 0);
        PumpMessages();
    }
    void TearDown() override
    {
        delete root;
        PopupTest::TearDown();
    }
    // An item whose clicks are recorded with what was left of the menu.
    TBarCustomItem* Recorded(TBarCustomItem* parent, const AnsiString& caption)
    {
        TBarCustomItem* item = AddItem(parent, caption);
        item->OnClick = TNotifyEvent([this, item](TObject*) {
            clicks.push_back({item, !ThreadPopupWindows().empty(), GetCapture() != nullptr});
        });
        return item;
    }
    // An item that opens a popup of its children.
    static TBarCustomItem* Submenu(TBarCustomItem* parent, const AnsiString& caption)
    {
        auto* item = new TTraitItem(caption, OpensPopup);
        parent->Add(item);
        return item;
    }
    // A menu: Alpha, Beta (Beta One, Beta Two), Copy.
    void BuildMenu()
    {
        alpha = Recorded(root, "&Alpha");
        beta = Submenu(root, "&Beta");
        betaOne = Recorded(beta, "Beta &One");
        betaTwo = Recorded(beta, "Beta &Two");
        copy = Recorded(root, "&Copy");
    }
    TBarCustomItem* Selected(TBarView* view)
    {
        return view && view->Selected() ? view->Selected()->Item() : nullptr;
    }
    TBarView* OpenSubmenu()
    {
        TBarView* menu = StandalonePopupView();
        return menu ? menu->OpenChildView() : nullptr;
    }

    TBarRootItem* root = nullptr; // owned
    TBarCustomItem *alpha = nullptr, *beta = nullptr, *betaOne = nullptr, *betaTwo = nullptr,
                   *copy = nullptr;
    std::vector<ClickRecord> clicks;
};

TEST_F(BarMenuLoop, AContextMenuOpensAtTheMouseAndTheRightButtonChooses)
{
    TBarPopupMenu menu(nullptr);
    TBarCustomItem* open = Recorded(menu.Items(), "&Open");
    Recorded(menu.Items(), "&Save");
    int popupEvents = 0;
    menu.OnPopup = TNotifyEvent([&](TObject* sender) {
        EXPECT_EQ(sender, &menu);
        ++popupEvents;
    });
    form->SetPopupMenu(&menu);
    ASSERT_TRUE(ActivateForm(form));
    POINT mouse = {300, 250};
    SetCursorPos(mouse.x, mouse.y);
    TRect shownAt;
    ModalScript script;
    script
        .Then([&] {
            TBarView* view = StandalonePopupView();
            ASSERT_NE(view, nullptr);
            shownAt = view->Window()->BoundsRect();
            ModalScript::MoveMouse(ScreenCentre(view, open));
        })
        .Then([&] {
            POINT p = ScreenCentre(StandalonePopupView(), open);
            ModalScript::PressButton(p, true);
            ModalScript::ReleaseButton(p, true);
        });
    script.Run([&] {
        form->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()),
                      MAKELPARAM(mouse.x, mouse.y));
    });
    EXPECT_EQ(TPoint(shownAt.left, shownAt.top), TPoint(mouse.x, mouse.y));
    EXPECT_EQ(popupEvents, 1);
    PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Item, open);
    EXPECT_FALSE(clicks[0].PopupsLeft);
    EXPECT_FALSE(clicks[0].CaptureHeld);
    form->SetPopupMenu(nullptr);
}

TEST_F(BarMenuLoop, KeysWalkTheMenuAndItsSubmenuAndEscapeClosesOneLevelAtATime)
{
    BuildMenu();
    // After each key: the item selected in the menu and in the submenu.
    struct Expect
    {
        WORD key;
        TBarCustomItem* menuSelection;
        TBarCustomItem* submenuSelection; // null: no submenu open
        bool menuOpen;
    } steps[] = {
        {VK_DOWN, alpha, nullptr, true},      {VK_DOWN, beta, nullptr, true},
        {VK_RIGHT, beta, betaOne, true},      {VK_DOWN, beta, betaTwo, true},
        {VK_LEFT, beta, nullptr, true},       {VK_RIGHT, beta, betaOne, true},
        {VK_ESCAPE, beta, nullptr, true},     {VK_UP, alpha, nullptr, true},
        {VK_ESCAPE, nullptr, nullptr, false},
    };
    ModalScript script;
    for (const Expect& e : steps) {
        script.Then([key = e.key] { ModalScript::PressKey(key); });
        if (!e.menuOpen)
            break;
        script.Then([&, e] {
            TBarView* menu = StandalonePopupView();
            ASSERT_NE(menu, nullptr) << e.key;
            EXPECT_EQ(Selected(menu), e.menuSelection) << "after key " << e.key;
            EXPECT_EQ(Selected(OpenSubmenu()), e.submenuSelection) << "after key " << e.key;
            EXPECT_EQ(OpenSubmenu() != nullptr, e.submenuSelection != nullptr) << e.key;
        });
    }
    TBarCustomItem* chosen = alpha;
    script.Run([&] { chosen = root->Popup(200, 150, false); });
    EXPECT_EQ(chosen, nullptr);
    PumpMessages();
    EXPECT_TRUE(clicks.empty());
}

TEST_F(BarMenuLoop, EnterInASubmenuRunsItsItemOnlyAfterTheMenuHasGone)
{
    BuildMenu();
    ModalScript script;
    for (WORD key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN})
        script.Then([key] { ModalScript::PressKey(key); });
    TBarCustomItem* chosen = nullptr;
    script.Run([&] { chosen = root->Popup(200, 150, false); });
    EXPECT_EQ(chosen, betaTwo);
    EXPECT_TRUE(clicks.empty()) << "the click waits in the queue";
    PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Item, betaTwo);
    EXPECT_FALSE(clicks[0].PopupsLeft);
    EXPECT_FALSE(clicks[0].CaptureHeld);
}

TEST_F(BarMenuLoop, AClickRunsTheLinkedActionAfterTheMenuHasClosed)
{
    TAction action(nullptr);
    action.SetCaption("&Paste");
    std::vector<bool> popupsAtExecute;
    action.OnExecute = TNotifyEvent([&](TObject*) {
        popupsAtExecute.push_back(!ThreadPopupWindows().empty() || GetCapture() != nullptr);
    });
    AddItem(root, "&Cut");
    auto* paste = new TBarCustomItem(nullptr);
    paste->SetAction(&action);
    root->Add(paste);
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(ScreenCentre(StandalonePopupView(), paste)); })
        .Then([&] { ModalScript::Click(ScreenCentre(StandalonePopupView(), paste)); });
    TBarCustomItem* chosen = nullptr;
    script.Run([&] { chosen = root->Popup(400, 300, false); });
    EXPECT_EQ(chosen, paste);
    EXPECT_EQ(paste->Caption(), "&Paste");
    PumpMessages();
    EXPECT_EQ(popupsAtExecute, std::vector<bool>{false});
    paste->SetAction(nullptr);
}

TEST_F(BarMenuLoop, ASubmenuOpensUnderTheMouseAfterTheShowDelay)
{
    for (int delay : {0, 100}) {
        SCOPED_TRACE(delay);
        BuildMenu();
        BarSeams().MenuShowDelay = [delay](int& value) {
            value = delay;
            return true;
        };
        DWORD hoveredAt = 0;
        DWORD openSeenAt = 0;
        ModalScript script;
        script
            .Then([&] {
                ModalScript::MoveMouse(ScreenCentre(StandalonePopupView(), beta));
                hoveredAt = GetTickCount();
            })
            .WaitUntil([&] { return OpenSubmenu() != nullptr; }, "the submenu opens")
            .Then([&] {
                openSeenAt = GetTickCount();
                EXPECT_EQ(Selected(StandalonePopupView()), beta);
                EXPECT_EQ(Selected(OpenSubmenu()), nullptr)
                    << "opened by the mouse: nothing selected";
                ModalScript::MoveMouse(ScreenCentre(OpenSubmenu(), betaOne));
            })
            .Then([&] { EXPECT_EQ(Selected(OpenSubmenu()), betaOne); })
            .Then([] { ModalScript::PressKey(VK_ESCAPE); })
            .Then([] { ModalScript::PressKey(VK_ESCAPE); });
        script.Run([&] { root->Popup(200, 150, false); });
        // The timer starts when the move is handled, after hoveredAt; the
        // tick count may lag the timer by its own granularity.
        EXPECT_GE(openSeenAt - hoveredAt + 20, static_cast<DWORD>(delay));
        delete root;
        root = new TBarRootItem(nullptr);
    }
}

TEST_F(BarMenuLoop, TypedLettersFindItemsByTheirAccelerators)
{
    BuildMenu();
    Recorded(root, "C&lose");
    ModalScript script;
    script
        .Then([] { ModalScript::TypeChar('x'); }) // no such accelerator: a beep
        .Then([&] { EXPECT_EQ(Selected(StandalonePopupView()), nullptr); })
        .Then([] { ModalScript::TypeChar('b'); }) // a submenu: it opens
        .Then([&] { EXPECT_EQ(Selected(OpenSubmenu()), betaOne); })
        .Then([] { ModalScript::TypeChar('T'); }); // in the submenu, either case
    TBarCustomItem* chosen = nullptr;
    script.Run([&] { chosen = root->Popup(200, 150, false); });
    EXPECT_EQ(chosen, betaTwo);
    PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Item, betaTwo);
}

TEST_F(BarMenuLoop, KeysWaitWhileTheLeftButtonIsHeldExceptHelp)
{
    BuildMenu();
    alpha->SetHelpContext(42);
    std::optional<ScopedKeyState> held;
    ModalScript script;
    script.Then([&] { held.emplace(std::initializer_list<int>{VK_LBUTTON}); })
        .Then([] { ModalScript::PressKey(VK_DOWN); })
        .Then([&] { EXPECT_EQ(Selected(StandalonePopupView()), nullptr); })
        .Then([&] { held.reset(); })
        .Then([] { ModalScript::PressKey(VK_DOWN); })
        .Then([&] { EXPECT_EQ(Selected(StandalonePopupView()), alpha); })
        .Then([&] { held.emplace(std::initializer_list<int>{VK_LBUTTON}); })
        .Then([] { ModalScript::PressKey(VK_F1); });
    std::vector<int> helpRequests;
    Application->OnHelp = TEvent<UINT, ULONG_PTR, bool&>([&](UINT, ULONG_PTR data, bool& handled) {
        helpRequests.push_back(static_cast<int>(data));
        handled = true;
    });
    script.Run([&] { root->Popup(200, 150, false); });
    held.reset();
    Application->OnHelp = nullptr;
    EXPECT_EQ(helpRequests, std::vector<int>{42});
}

// Each way a loop can end, with the menu gone and the mouse free after it.
TEST_F(BarMenuLoop, EveryEndOfTheLoopLeavesNoMenuBehind)
{
    TForm* other = nullptr; // a second form, made below
    struct Case
    {
        const char* name;
        std::function<void()> end;
    } cases[] = {
        {"WM_QUIT", [] { PostQuitMessage(7); }},
        {"the capture lost", [] { ReleaseCapture(); }},
        {"WM_CANCELMODE", [] { PostMessageA(GetCapture(), WM_CANCELMODE, 0, 0); }},
        {"a press outside the menu",
         [] {
             ModalScript::MoveMouse(POINT{700, 600});
             ModalScript::PressButton(POINT{700, 600});
         }},
        {"another window activated", [&] { ActivateForm(other); }},
    };
    BuildMenu();
    other = new TForm(nullptr);
    other->SetBounds(700, 500, 200, 100);
    other->Show();
    ASSERT_TRUE(ActivateForm(form));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModalScript script;
        script.Then([] { ModalScript::PressKey(VK_DOWN); })
            .Then([] { ModalScript::PressKey(VK_DOWN); })
            .Then([] { ModalScript::PressKey(VK_RIGHT); })
            .WaitUntil([&] { return OpenSubmenu() != nullptr; }, "the submenu opens")
            .Then(c.end);
        TBarCustomItem* chosen = alpha;
        script.Run([&] { chosen = root->Popup(200, 150, false); });
        EXPECT_EQ(chosen, nullptr);
        EXPECT_TRUE(ThreadPopupWindows().empty());
        MSG quit;
        bool quitQueued = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(quitQueued, std::string(c.name) == "WM_QUIT");
        if (quitQueued) {
            EXPECT_EQ(quit.wParam, 7u) << "the loop outside sees the same exit code";
        }
        PumpMessages();
    }
    EXPECT_TRUE(clicks.empty());
    delete other;
}

TEST_F(BarMenuLoop, AnExceptionInAClickHandlerIsShownAfterTheMenuHasClosed)
{
    TBarCustomItem* broken = AddItem(root, "&Broken");
    bool menuGone = false;
    broken->OnClick = TNotifyEvent([&](TObject*) {
        menuGone = ThreadPopupWindows().empty() && !GetCapture();
        throw Exception("the handler failed");
    });
    ScriptedMessageBoxes boxes({IDOK});
    ModalScript script;
    script.Then([] { ModalScript::PressKey(VK_DOWN); }).Then([] {
        ModalScript::PressKey(VK_RETURN);
    });
    script.Run([&] { root->Popup(200, 150, false); });
    PumpMessages();
    EXPECT_TRUE(menuGone);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "the handler failed");
}

TEST_F(BarMenuLoop, AMenuTallerThanTheWorkAreaScrollsWhileTheMouseRestsOnAnArrow)
{
    // A few rows taller than the screen: it scrolls a row every 100 ms.
    TBarCustomItem* last = nullptr;
    TRect workArea = MonitorRectAtPoint(TPoint(200, 10), true);
    TMenuFontMetrics font;
    int rowHeight = font.TextHeight() + font.ExternalLeading() + 4;
    int rows = workArea.Height() / rowHeight + 3;
    for (int i = 0; i < rows; ++i)
        last = AddItem(root, "Item " + std::to_string(i));
    TBarView* menu = nullptr;
    ModalScript script;
    script
        .Then([&] {
            menu = StandalonePopupView();
            ASSERT_NE(menu, nullptr);
            TRect bounds = menu->Window()->BoundsRect();
            EXPECT_GE(bounds.top, workArea.top);
            EXPECT_LE(bounds.bottom, workArea.bottom);
            EXPECT_TRUE(menu->ShowsDownArrow());
            EXPECT_FALSE(menu->ShowsUpArrow());
            TRect client = menu->Window()->ClientRect();
            TPoint arrow = menu->Window()->ClientToScreen(
                TPoint(client.right / 2, client.bottom - kBarScrollArrowHeight / 2));
            ModalScript::MoveMouse(POINT{arrow.x, arrow.y});
        })
        .WaitUntil([&] { return menu->ShowsUpArrow(); }, "the menu scrolls")
        .WaitUntil([&] { return !menu->ShowsDownArrow(); }, "the last item shows")
        .Then([&] { EXPECT_TRUE(menu->Find(last)->Shown()); })
        .WaitUntil([&] { return !menu->TimerRunning(bvtScrollDown); }, "the scrolling stops")
        .Then([] { ModalScript::PressKey(VK_ESCAPE); });
    script.Run([&] { root->Popup(200, 10, false); });
}

// A toolbar's own loop, with the toolbar as the capture window.
class BarToolbarLoop : public BarMenuLoop
{
protected:
    void BuildBar()
    {
        Host(TViewHost::Kind::Toolbar);
        host->View()->SetViewStyle(bvsMenuBar);
        file = Submenu(host->Root(), "&File");
        fileOpen = Recorded(file, "&Open");
        fileSave = Recorded(file, "&Save");
        edit = Submenu(host->Root(), "&Edit");
        editCopy = Recorded(edit, "&Copy");
        ASSERT_TRUE(ActivateForm(form));
    }
    TBarView* BarSubmenu() { return host ? host->View()->OpenChildView() : nullptr; }

    TBarCustomItem *file = nullptr, *fileOpen = nullptr, *fileSave = nullptr, *edit = nullptr,
                   *editCopy = nullptr;
};

TEST_F(BarToolbarLoop, AMenuBarOpensItsMenusByKeysAndRunsTheChoiceAfterItsLoop)
{
    BuildBar();
    TBarView* bar = host->View();
    bar->ChangeSelection(bar->Find(file), false);
    ModalScript script;
    script
        .Then([&] {
            ASSERT_NE(BarSubmenu(), nullptr) << "the selection ran at the start";
            EXPECT_EQ(Selected(BarSubmenu()), fileOpen);
            ModalScript::PressKey(VK_RIGHT);
        })
        .Then([&] {
            EXPECT_EQ(Selected(bar), edit);
            ASSERT_NE(BarSubmenu(), nullptr) << "menu mode opens the next menu";
            EXPECT_EQ(Selected(BarSubmenu()), editCopy);
            ModalScript::PressKey(VK_RETURN);
        });
    script.Run([&] { bar->BeginToolbarTracking(btoExecuteSelection); });
    EXPECT_EQ(bar->Selected(), nullptr);
    EXPECT_FALSE(bar->HasViewState(bvsModal));
    EXPECT_FALSE(bar->HasViewState(bvsMenuMode));
    EXPECT_EQ(bar->ModalHandler(), nullptr);
    PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Item, editCopy);
    EXPECT_FALSE(clicks[0].PopupsLeft);
}

TEST_F(BarToolbarLoop, MovingTheMouseAlongTheBarOpensTheMenuUnderIt)
{
    BuildBar();
    TBarView* bar = host->View();
    bar->ChangeSelection(bar->Find(file), false);
    ModalScript script;
    script.Then([&] { ModalScript::MoveMouse(ScreenCentre(bar, edit)); }).Then([&] {
        EXPECT_EQ(Selected(bar), edit);
        ASSERT_NE(BarSubmenu(), nullptr);
        EXPECT_EQ(BarSubmenu()->ParentItem(), edit);
        ModalScript::Click(ScreenCentre(BarSubmenu(), editCopy));
    });
    script.Run([&] { bar->BeginToolbarTracking(btoExecuteSelection); });
    PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Item, editCopy);
}

TEST_F(BarToolbarLoop, AToolbarFreedUnderItsLoopEndsTheLoopSafely)
{
    BuildBar();
    TBarView* bar = host->View();
    bar->ChangeSelection(bar->Find(file), false);
    ModalScript script;
    script.WaitUntil([&] { return BarSubmenu() != nullptr; }, "the menu opens").Then([&] {
        delete host;
        host = nullptr;
    });
    script.Run([&] { bar->BeginToolbarTracking(btoExecuteSelection); });
    PumpMessages();
    EXPECT_TRUE(clicks.empty());
}

} // namespace
