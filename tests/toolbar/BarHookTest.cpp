// The thread hooks: which hooks a registration installs, and what the
// registered procedures hear of real windows.
#include "toolbar/BarHook.h"

#include "classlib/Form.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Heard
{
    TBarHookEventKind Kind;
    HWND Window;
    std::string By;
};
std::vector<Heard> gHeard;

void First(TBarHookEventKind kind, HWND window, WPARAM, LPARAM)
{
    gHeard.push_back({kind, window, "first"});
}

void Second(TBarHookEventKind kind, HWND window, WPARAM, LPARAM)
{
    gHeard.push_back({kind, window, "second"});
}

// Unregisters itself at the first event it hears.
void Once(TBarHookEventKind kind, HWND window, WPARAM, LPARAM)
{
    gHeard.push_back({kind, window, "once"});
    UnregisterThreadHook(Once);
}

class BarHooks : public testing::Test
{
protected:
    void SetUp() override { gHeard.clear(); }
    void TearDown() override { RemoveThreadHooks(); }

    static std::vector<bool> Installed()
    {
        return {ThreadHookInstalled(TBarHookEventKind::WindowActivated),
                ThreadHookInstalled(TBarHookEventKind::WindowDestroying),
                ThreadHookInstalled(TBarHookEventKind::MessageRetrieved)};
    }
    int Count(TBarHookEventKind kind, HWND window, const std::string& by)
    {
        int n = 0;
        for (const Heard& h : gHeard)
            if (h.Kind == kind && h.Window == window && h.By == by)
                ++n;
        return n;
    }
};

TEST_F(BarHooks, RegistrationsInstallTheHooksTheirKindsNeedOnce)
{
    using K = TBarHookEventKind;
    RegisterThreadHook(First, BarHookKind(K::WindowActivated));
    RegisterThreadHook(First, BarHookKind(K::WindowDestroying));
    EXPECT_EQ(Installed(), (std::vector<bool>{true, true, false}));
    RegisterThreadHook(Second, BarHookKind(K::WindowPosChanged) | BarHookKind(K::MessageRetrieved));
    EXPECT_EQ(Installed(), (std::vector<bool>{true, true, true}));
    UnregisterThreadHook(First);
    EXPECT_EQ(Installed(), (std::vector<bool>{true, false, true}));
    UnregisterThreadHook(Second);
    EXPECT_EQ(Installed(), (std::vector<bool>{false, false, false}));
    UnregisterThreadHook(Second); // twice does nothing
    EXPECT_EQ(Installed(), (std::vector<bool>{false, false, false}));
}

TEST_F(BarHooks, ProceduresHearTheirKindsOfEventsOnly)
{
    using K = TBarHookEventKind;
    RegisterThreadHook(First, BarHookKind(K::WindowActivated) | BarHookKind(K::WindowDestroying) |
                                  BarHookKind(K::WindowPosChanged));
    RegisterThreadHook(Second, BarHookKind(K::MessageRetrieved));
    TForm* form = new TForm(nullptr);
    form->SetBounds(50, 50, 200, 100);
    HWND window = form->Handle();

    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    SetWindowPos(window, nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(window, WM_NULL, 0, 0);
    MSG msg;
    PeekMessageA(&msg, window, WM_NULL, WM_NULL, PM_REMOVE);
    FreeAndNil(form);

    EXPECT_GE(Count(K::WindowActivated, window, "first"), 1);
    EXPECT_GE(Count(K::WindowPosChanged, window, "first"), 1);
    EXPECT_EQ(Count(K::WindowDestroying, window, "first"), 1);
    EXPECT_GE(Count(K::MessageRetrieved, nullptr, "second"), 1);
    for (const Heard& h : gHeard) {
        if (h.By == "second")
            EXPECT_EQ(h.Kind, K::MessageRetrieved);
        else
            EXPECT_NE(h.Kind, K::MessageRetrieved);
    }
}

TEST_F(BarHooks, AProcedureMayUnregisterWhileHearing)
{
    using K = TBarHookEventKind;
    RegisterThreadHook(Once, BarHookKind(K::WindowDestroying));
    RegisterThreadHook(Second, BarHookKind(K::WindowDestroying));
    HWND a =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(a);
    DestroyWindow(b);
    EXPECT_EQ(Count(K::WindowDestroying, a, "once"), 1);
    EXPECT_EQ(Count(K::WindowDestroying, b, "once"), 0);
    EXPECT_EQ(Count(K::WindowDestroying, a, "second"), 1);
    EXPECT_EQ(Count(K::WindowDestroying, b, "second"), 1);
    EXPECT_TRUE(ThreadHookInstalled(K::WindowDestroying));
}

} // namespace
