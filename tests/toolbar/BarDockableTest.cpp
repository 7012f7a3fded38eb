// Dockable windows moving between dock, frame and form, their non-client
// hit tests, the close button, the double click, and their frames'
// visibility, owner and place on the monitor.
#include "DockTestHost.h"

#include "toolbar/BarHook.h"

#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include "classlib/Application.h"

#include <gtest/gtest.h>

#include <windowsx.h>

using namespace bar_testing;
using namespace testing_support;

namespace {

class BarDockableTest : public DockFormTest
{
protected:
    static LRESULT HitTest(TWinControl* window, int x, int y)
    {
        RECT r;
        GetWindowRect(window->Handle(), &r);
        return SendMessageA(window->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
    }
    static void SendNC(TWinControl* window, UINT msg, LRESULT code, POINT screen)
    {
        SendMessageA(window->Handle(), msg, code, MAKELPARAM(screen.x, screen.y));
    }
    // Records OnCloseQuery (answering allow) and OnClose.
    void WatchClosing(TBarCustomDockableWindow* bar, bool allow)
    {
        bar->OnCloseQuery = TCloseQueryEvent([this, allow](TObject*, bool& canClose) {
            closing.push_back("query");
            canClose = allow;
        });
        bar->OnClose = TNotifyEvent([this](TObject*) { closing.push_back("close"); });
    }
    std::vector<std::string> closing;
};

TEST_F(BarDockableTest, DockFloatAndDockAgainKeepsTheWindowAndTellsEachStepInOrder)
{
    TTestBar* bar = AddBar(top, 100, 22, 0, 0, "Bar");
    HWND handle = bar->Handle();
    DockEventLog log;
    log.Watch(bar);

    bar->SetFloatOrigin(TPoint(300, 300));
    bar->SetFloating(true);
    PumpMessages();
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"changing floating", "recreating",
                                                     "changing hidden floating", "move",
                                                     "recreated", "changed floating"}));
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(bar->Handle(), handle);
    EXPECT_EQ(bar->DockType(), TBarHostKind::hkFloat);
    EXPECT_EQ(frame->FrameOwnerForm(), form);
    EXPECT_TRUE(IsWindowVisible(frame->WindowHandle()));
    EXPECT_EQ(frame->ClientRect(), TRect(0, 0, 100, 22));
    EXPECT_EQ(bar->BoundsRect(), TRect(0, 0, 100, 22));
    EXPECT_EQ(frame->Left(), 300);
    EXPECT_EQ(frame->Top(), 300);
    EXPECT_EQ(GetWindow(frame->WindowHandle(), GW_OWNER), form->Handle());
    EXPECT_EQ(top->Height(), 0);

    log.Clear();
    HWND frameWindow = frame->WindowHandle();
    bar->SetCurrentDock(bottom);
    PumpMessages();
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"changing BottomDock", "recreating",
                                                     "changing hidden BottomDock", "move",
                                                     "recreated", "changed BottomDock"}));
    EXPECT_EQ(bar->Handle(), handle);
    EXPECT_FALSE(IsWindow(frameWindow));
    EXPECT_EQ(bar->OwnFrame(), nullptr);
    EXPECT_EQ(bar->DockType(), TBarHostKind::hkHorzDock);
    EXPECT_EQ(bottom->Height(), 26);

    log.Clear();
    bar->SetCurrentDock(nullptr);
    EXPECT_EQ(bar->Parent(), form);
    EXPECT_EQ(bar->DockType(), TBarHostKind::hkNone);
    EXPECT_EQ(log.Entries.back(), "changed none");
    EXPECT_EQ(bar->Width(), 100);
}

TEST_F(BarDockableTest, AWindowWithoutAFormCannotFloat)
{
    TTestBar bar(nullptr, 50, 20);
    bar.SetName("Lonely");
    try {
        bar.SetFloating(true);
        ADD_FAILURE() << "a window without a form floated";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "コントロール 'Lonely' は親ウィンドウを持っていません");
    }
    EXPECT_FALSE(bar.Floating());
}

TEST_F(BarDockableTest, DoubleClicksFloatAndDockBack)
{
    TTestBar* bar = AddBar(top, 100, 22);
    AddBar(top, 60, 22, 0, 200);
    SendNC(bar, WM_NCLBUTTONDBLCLK, kBarHitDragHandle, HandlePoint(bar));
    ASSERT_TRUE(bar->Floating());
    EXPECT_EQ(bar->LastDock(), top);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    HWND frameWindow = frame->WindowHandle();
    RECT r;
    GetWindowRect(frameWindow, &r);
    SendNC(frame, WM_NCLBUTTONDBLCLK, kBarHitFloatingCaption, POINT{r.left + 20, r.top + 8});
    EXPECT_EQ(bar->CurrentDock(), top);
    EXPECT_EQ(bar->PlacedPos(), 0);
    // The frame handled that double click itself: it goes once that is over.
    EXPECT_FALSE(IsWindowVisible(frameWindow));
    PumpMessages();
    EXPECT_FALSE(IsWindow(frameWindow));
}

TEST_F(BarDockableTest, DoubleClickingAFloatingWindowWithoutALastDockUsesItsDefaultDockOrNothing)
{
    TTestBar* other = AddBar(top, 60, 22, 0, 0);
    TTestBar* bar = AddBar(bottom, 100, 22, 0, 50);
    bar->SetUseLastDock(false);
    bar->SetLastDock(nullptr);
    bar->SetFloating(true);
    ASSERT_EQ(bar->LastDock(), nullptr);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    RECT r;
    GetWindowRect(frame->Handle(), &r);
    const POINT caption{r.left + 20, r.top + 8};

    SendNC(frame, WM_NCLBUTTONDBLCLK, kBarHitFloatingCaption, caption);
    EXPECT_TRUE(bar->Floating());
    EXPECT_EQ(bar->FloatingParent(), frame);

    bar->SetDefaultDock(top);
    SendNC(frame, WM_NCLBUTTONDBLCLK, kBarHitFloatingCaption, caption);
    EXPECT_EQ(bar->CurrentDock(), top);
    EXPECT_EQ(bar->PlacedRow(), 0);
    EXPECT_EQ(bar->PlacedPos(), 0);
    EXPECT_EQ(other->PlacedPos(), bar->Width());
}

TEST_F(BarDockableTest, SomeWindowsStayDockedWhenDoubleClicked)
{
    TTestBar* cannotFloat = AddBar(top, 100, 22, 0, 0);
    cannotFloat->SetDockMode(TBarDockMode::dmCannotFloat);
    TTestBar* noUndock = AddBar(top, 100, 22, 0, 200);
    noUndock->SetDblClickUndock(false);
    for (TTestBar* bar : {cannotFloat, noUndock}) {
        SendNC(bar, WM_NCLBUTTONDBLCLK, kBarHitDragHandle, HandlePoint(bar));
        EXPECT_EQ(bar->CurrentDock(), top);
    }
}

TEST_F(BarDockableTest, TheDockedNonClientAreaAnswersItsOwnHitCodes)
{
    TTestBar* horizontal = AddBar(top, 100, 22);
    TTestBar* vertical = AddBar(left, 100, 22);
    TTestBar* withClose = AddBar(top, 100, 22, 0, 200);
    withClose->SetCloseButtonWhenDocked(true);
    struct HitCase
    {
        const char* name;
        TTestBar* bar;
        int x, y;
        LRESULT code;
    };
    const HitCase cases[] = {
        {"handle", horizontal, 4, 10, kBarHitDragHandle},
        {"border", horizontal, 60, 1, kBarHitDragHandle},
        {"client", horizontal, 60, 10, HTCLIENT},
        {"handle on top in a left dock", vertical, 10, 4, kBarHitDragHandle},
        {"client in a left dock", vertical, 10, 60, HTCLIENT},
        {"close button", withClose, 5, 5, kBarHitCloseButton},
        {"handle below the close button", withClose, 5, 18, kBarHitDragHandle},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HitTest(c.bar, c.x, c.y), c.code);
    }
    EXPECT_EQ(withClose->Width(), 100 + 14 + 4);
}

TEST_F(BarDockableTest, TheFloatingFrameAnswersCaptionCloseAndEdges)
{
    TTestBar* bar = AddBar(top, 120, 60);
    bar->SetFloating(true);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    const int border = GetSystemMetrics(SM_CXSIZEFRAME);
    const int caption = GetSystemMetrics(SM_CYSMCAPTION);
    EXPECT_EQ(frame->Width(), 120 + 2 * border);
    EXPECT_EQ(frame->Height(), 60 + 2 * border + caption);
    const int w = frame->Width(), h = frame->Height();
    EXPECT_EQ(HitTest(frame, 20, border + 2), kBarHitFloatingCaption);
    EXPECT_EQ(HitTest(frame, w - border - 3, border + 2), kBarHitCloseButton);
    EXPECT_EQ(HitTest(frame, 0, h / 2), HTLEFT);
    EXPECT_EQ(HitTest(frame, w - 1, h - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(frame, w / 2, h - 1), HTBOTTOM);
    EXPECT_EQ(HitTest(frame, w / 2, h / 2 + caption / 2), HTCLIENT);
    bar->SetCloseButton(false);
    EXPECT_EQ(HitTest(frame, w - border - 3, border + 2), kBarHitFloatingCaption);
}

TEST_F(BarDockableTest, ChangingTheSizingBorderKeepsTheWindows)
{
    TTestBar* bar = AddBar(top, 120, 60);
    bar->SetFloating(true);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    HWND frameWindow = frame->WindowHandle(), barWindow = bar->WindowHandle();
    bar->SetResizable(false);
    EXPECT_EQ(frame->WindowHandle(), frameWindow);
    EXPECT_EQ(bar->WindowHandle(), barWindow);
    EXPECT_EQ(GetWindowLongA(frameWindow, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(frame->ClientRect(), TRect(0, 0, 120, 60));
    EXPECT_EQ(frame->Width(), 120 + 2 * GetSystemMetrics(SM_CXFIXEDFRAME));
}

TEST_F(BarDockableTest, TheDockedCloseButtonClosesWhenReleasedOverIt)
{
    struct CloseCase
    {
        const char* name;
        bool releaseInside;
        bool allow;
        std::vector<std::string> events;
        bool visibleAfter;
    };
    const CloseCase cases[] = {
        {"released over it", true, true, {"query", "close"}, false},
        {"released elsewhere", false, true, {}, true},
        {"refused", true, false, {"query"}, true},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        closing.clear();
        TTestBar* bar = AddBar(top, 100, 22);
        bar->SetCloseButtonWhenDocked(true);
        WatchClosing(bar, c.allow);
        RECT r;
        GetWindowRect(bar->Handle(), &r);
        POINT inside{r.left + 6, r.top + 6}, outside{r.left + 60, r.top + 40};
        bool pushedSeen = false;
        ModalScript script;
        script.Then([&] { pushedSeen = bar->CloseBtnPressed(); })
            .Then([&] { ModalScript::MoveMouse(outside); })
            .Then([&] { EXPECT_FALSE(bar->CloseBtnPressed()); })
            .Then([&] { ModalScript::MoveMouse(c.releaseInside ? inside : outside); })
            .Then([&] { ModalScript::ReleaseButton(c.releaseInside ? inside : outside); });
        SetCursorPos(inside.x, inside.y);
        script.Run([&] {
            PostMessageA(bar->Handle(), WM_NCLBUTTONDOWN, kBarHitCloseButton,
                         MAKELPARAM(inside.x, inside.y));
            PumpMessages();
        });
        EXPECT_TRUE(pushedSeen);
        EXPECT_FALSE(bar->CloseBtnPressed());
        EXPECT_EQ(closing, c.events);
        EXPECT_EQ(bar->Visible(), c.visibleAfter);
        delete bar;
    }
}

TEST_F(BarDockableTest, TheFramesCloseButtonClosesTheWindow)
{
    TTestBar* bar = AddBar(top, 120, 60);
    bar->SetFloating(true);
    WatchClosing(bar, true);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    RECT r;
    GetWindowRect(frame->Handle(), &r);
    const int border = GetSystemMetrics(SM_CXSIZEFRAME);
    POINT close{r.right - border - 4, r.top + border + 4};
    ModalScript script;
    script.Then([&] { ModalScript::ReleaseButton(close); });
    SetCursorPos(close.x, close.y);
    script.Run([&] {
        PostMessageA(frame->Handle(), WM_NCLBUTTONDOWN, kBarHitCloseButton,
                     MAKELPARAM(close.x, close.y));
        PumpMessages();
    });
    EXPECT_EQ(closing, (std::vector<std::string>{"query", "close"}));
    EXPECT_FALSE(bar->Visible());
    EXPECT_FALSE(IsWindowVisible(frame->WindowHandle()));
}

TEST_F(BarDockableTest, AFrameWhollyOffTheMonitorComesBack)
{
    TTestBar* bar = AddBar(top, 100, 40);
    bar->SetFloating(true);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    bar->SetFloatOrigin(TPoint(-50, 100));
    bar->KeepOnMonitor(true);
    EXPECT_EQ(frame->Left(), -50);
    bar->SetFloatOrigin(TPoint(-1000, -1000));
    bar->KeepOnMonitor(true);
    EXPECT_EQ(frame->Left(), 0);
    EXPECT_EQ(frame->Top(), 0);
    EXPECT_EQ(bar->FloatOrigin(), TPoint(0, 0));
}

// Docked windows need no thread hooks (each costs every sent message); the
// first floating frame brings those that keep the frames in step.
TEST_F(BarDockableTest, TheHooksComeWithTheFirstFloatingFrame)
{
    using K = TBarHookEventKind;
    auto installed = [] {
        return std::vector<bool>{ThreadHookInstalled(K::WindowActivated),
                                 ThreadHookInstalled(K::WindowDestroying)};
    };
    TTestBar* first = AddBar(top, 100, 22);
    TTestBar* second = AddBar(top, 100, 22, 0, 200);
    first->HandleNeeded();
    second->HandleNeeded();
    EXPECT_EQ(installed(), (std::vector<bool>{false, false}));
    first->SetFloating(true);
    EXPECT_EQ(installed(), (std::vector<bool>{true, true}));
    second->SetFloating(true);
    first->SetFloating(false);
    EXPECT_EQ(installed(), (std::vector<bool>{true, true}));
}

TEST_F(BarDockableTest, AFloatingWindowHidesWhileTheApplicationIsInactive)
{
    TTestBar* hides = AddBar(top, 100, 22);
    TTestBar* stays = AddBar(top, 100, 22, 0, 200);
    stays->SetHideWhenInactive(false);
    hides->SetFloating(true);
    stays->SetFloating(true);
    HWND hidingFrame = hides->FloatingParent()->WindowHandle();
    HWND stayingFrame = stays->FloatingParent()->WindowHandle();
    ASSERT_TRUE(IsWindowVisible(hidingFrame));
    SendMessageA(form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(IsWindowVisible(hidingFrame));
    EXPECT_TRUE(IsWindowVisible(stayingFrame));
    SendMessageA(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(hidingFrame));
}

TEST_F(BarDockableTest, AFrameFollowsItsFormOrStaysOnTopOfAll)
{
    TTestBar* bar = AddBar(top, 100, 22);
    bar->SetHideWhenInactive(false);
    bar->SetFloating(true);
    HWND frame = bar->FloatingParent()->WindowHandle();
    form->Hide();
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(frame));
    bar->SetFloatingMode(TBarFloatingMode::fmOnTopOfAllForms);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(GetWindow(frame, GW_OWNER), Application->Handle());
    EXPECT_NE(GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    bar->SetEnabled(false);
    EXPECT_EQ(GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    bar->SetFloatingMode(TBarFloatingMode::fmOnTopOfParentForm);
    EXPECT_FALSE(IsWindowVisible(frame));
    ActivateForm(form);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(GetWindow(frame, GW_OWNER), form->Handle());
}

TEST_F(BarDockableTest, AFrameLeavesItsFormLookingActiveAndHandsTheActivationBack)
{
    TTestBar* bar = AddBar(top, 100, 22);
    bar->SetFloating(true);
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    EXPECT_EQ(SendMessageA(frame->Handle(), WM_MOUSEACTIVATE,
                           reinterpret_cast<WPARAM>(form->Handle()),
                           MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    // Activated away from its form (a tool window's edit), the frame keeps
    // it; the caption stays lit, as the form's does.
    SetActiveWindow(frame->Handle());
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), frame->Handle());
    EXPECT_FALSE(bar->DimCaption());
    bar->Hide();
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(BarDockableTest, WindowsAndDocksGoInAnyOrder)
{
    TTestBar* floating = AddBar(top, 100, 22);
    floating->SetFloating(true);
    HWND frame = floating->FloatingParent()->WindowHandle();
    AddBar(top, 100, 22, 0, 200);
    TTestBar* lastDocked = AddBar(bottom, 100, 22);
    lastDocked->SetFloating(true);
    delete floating;
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(top->MemberWindows().size(), 1u);
    delete bottom;
    bottom = nullptr;
    EXPECT_EQ(lastDocked->LastDock(), nullptr);
    lastDocked->ToggleDockState();
    EXPECT_TRUE(lastDocked->Floating());
    delete top;
    top = nullptr;
    // The form frees the rest, the floating window with its frame.
}

} // namespace
