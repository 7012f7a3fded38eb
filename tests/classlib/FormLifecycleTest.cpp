#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "classlib/Thread.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/WindowDriver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace testing_support;

namespace {

std::vector<std::string> gLifeLog; // what the forms of a test did

class TLifeForm : public TForm
{
public:
    explicit TLifeForm(TComponent* owner) : TForm(owner), Log(gLifeLog)
    {
        OnCreate = [this](TObject*) { Log.push_back("create"); };
        OnShow = [this](TObject*) { Log.push_back("show"); };
        OnHide = [this](TObject*) { Log.push_back("hide"); };
        OnClose = [this](TObject*, TCloseAction& action) {
            Log.push_back("close");
            action = CloseAction;
        };
        OnDestroy = [this](TObject*) { Log.push_back("destroy"); };
        OnResize = [this](TObject*) { ++Resizes; };
        Edit = new TEdit(this);
        Edit->SetParent(this);
        FinishLoading();
    }
    std::vector<std::string>& Log;
    TCloseAction CloseAction = TCloseAction::caHide;
    TEdit* Edit;
    int Resizes = 0;
};

TEST(FormLifecycleTest, EventsRunInOrderAndCaFreeReleasesTheForm)
{
    std::vector<std::string>& log = gLifeLog;
    log.clear();
    auto* form = new TLifeForm(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"create"}));
    form->Show();
    PumpMessages();
    form->Close();
    EXPECT_FALSE(form->Visible());
    form->CloseAction = TCloseAction::caFree;
    form->Show();
    form->Close();
    EXPECT_TRUE(Screen->HasForm(form)); // freed only once its messages are done
    PumpMessages();
    EXPECT_FALSE(Screen->HasForm(form));
    std::vector<std::string> expected = {"create", "show",  "close",  "hide",
                                         "show",   "close", "destroy"};
    EXPECT_EQ(log, expected);
}

TEST(FormLifecycleTest, AShownFormIsVisibleAndActiveAtOnceAndErasedAtItsFirstPaint)
{
    auto* form = new TLifeForm(nullptr);
    MessageRecorder formMessages(form->Handle(), {WM_SHOWWINDOW});
    MessageRecorder editMessages(form->Edit->Handle(), {WM_NCPAINT, WM_ERASEBKGND});
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
    EXPECT_EQ(GetActiveWindow(), form->WindowHandle());
    EXPECT_EQ(formMessages.Count(WM_SHOWWINDOW), 1);
    // What the caller does right after the show reaches the screen before
    // the erase of every child.
    EXPECT_EQ(editMessages.Messages().size(), 0u);
    PumpMessages();
    EXPECT_GT(editMessages.Messages().size(), 0u);
    EXPECT_FALSE(GetUpdateRect(form->Edit->WindowHandle(), nullptr, FALSE));
    delete form;
}

// Whether above lies over window in the z-order.
bool IsAbove(HWND above, HWND window)
{
    for (HWND w = GetWindow(window, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (w == above)
            return true;
    return false;
}

// Whether a window of another process lies over window (the suites share
// one desktop), counting always-on-top ones only when window is one too.
bool OtherProgramAbove(HWND window)
{
    const bool alwaysOnTop = GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
    for (HWND w = GetWindow(window, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process != GetCurrentProcessId() &&
            (alwaysOnTop || !(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST)))
            return true;
    }
    return false;
}

TEST(FormLifecycleTest, BringToFrontRaisesAFormOnlyWhenAnOrdinaryWindowIsAboveIt)
{
    auto* lower = new TForm(nullptr);
    auto* upper = new TForm(nullptr);
    lower->Show();
    upper->Show();
    // Always on top and hidden, as a tip window is.
    HWND tip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 10,
                               10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(tip);
    // The system's own tip, hidden: it sinks while hidden and rises when shown.
    HWND systemTip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(systemTip);
    SetWindowPos(systemTip, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(IsAbove(upper->WindowHandle(), lower->WindowHandle()));
    MessageRecorder moves(lower->WindowHandle(), {WM_WINDOWPOSCHANGING});
    struct Case
    {
        const char* name;
        bool moved;
    };
    const Case cases[] = {{"under another form", true}, {"under the tips alone", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetWindowPos(systemTip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(IsAbove(systemTip, lower->WindowHandle()));
        moves.Clear();
        const bool othersAbove = OtherProgramAbove(lower->WindowHandle());
        lower->BringToFront();
        EXPECT_TRUE(IsAbove(lower->WindowHandle(), upper->WindowHandle()));
        EXPECT_TRUE(IsAbove(tip, lower->WindowHandle()));
        if (!othersAbove) {
            EXPECT_EQ(moves.Count(WM_WINDOWPOSCHANGING) > 0, c.moved);
        }
    }
    DestroyWindow(systemTip);
    DestroyWindow(tip);
    delete upper;
    delete lower;
}

TEST(FormLifecycleTest, BringToFrontMovesAnAlwaysOnTopFormOnlyWhenAnotherIsAboveIt)
{
    auto* lower = new TForm(nullptr);
    auto* upper = new TForm(nullptr);
    for (TForm* form : {lower, upper}) {
        form->SetFormStyle(TFormStyle::fsStayOnTop);
        form->Show();
    }
    HWND systemTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", WS_POPUP, 0, 0, 10, 10,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(systemTip);
    ASSERT_TRUE(IsAbove(upper->WindowHandle(), lower->WindowHandle()));
    struct Case
    {
        const char* name;
        TForm* form;
        bool moved;
    };
    const Case cases[] = {{"under another such form", lower, true},
                          {"under the hidden tip alone", upper, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetWindowPos(systemTip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(IsAbove(systemTip, c.form->WindowHandle()));
        MessageRecorder moves(c.form->WindowHandle(), {WM_WINDOWPOSCHANGING});
        const bool othersAbove = OtherProgramAbove(c.form->WindowHandle());
        c.form->BringToFront();
        if (!othersAbove) {
            EXPECT_EQ(moves.Count(WM_WINDOWPOSCHANGING) > 0, c.moved);
        }
    }
    DestroyWindow(systemTip);
    delete upper;
    delete lower;
}

TEST(FormLifecycleTest, BorderStylePositionAndResize)
{
    std::vector<std::string>& log = gLifeLog;
    log.clear();
    auto* form = new TLifeForm(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetPosition(TPosition::poScreenCenter);
    form->SetBounds(0, 0, 300, 200);
    form->Show();
    PumpMessages();
    LONG_PTR style = GetWindowLongPtrA(form->WindowHandle(), GWL_STYLE);
    LONG_PTR exStyle = GetWindowLongPtrA(form->WindowHandle(), GWL_EXSTYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    TRect area = Screen->WorkAreaRect();
    EXPECT_EQ(form->Left(), area.left + (area.Width() - 300) / 2);
    EXPECT_EQ(form->Top(), area.top + (area.Height() - 200) / 2);
    int resizes = form->Resizes;
    form->SetWidth(320);
    EXPECT_EQ(form->Resizes, resizes + 1);
    RECT r;
    GetWindowRect(form->WindowHandle(), &r);
    EXPECT_EQ(r.right - r.left, 320);

    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    EXPECT_TRUE(GetWindowLongPtrA(form->WindowHandle(), GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
    EXPECT_EQ(form->Width(), 320);
    delete form;
}

TEST(FormLifecycleTest, ModalLoopsServeSynchronize)
{
    std::vector<std::string>& log = gLifeLog;
    log.clear();
    auto* form = new TLifeForm(nullptr);
    std::thread worker;
    ScriptedModalForms modal;
    modal.Add([&](TCustomForm* shown) {
        worker = std::thread(
            [shown] { TThread::Synchronize([shown] { shown->SetModalResult(mrOk); }); });
        return mrNone;
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    worker.join();
    delete form;
}

TEST(FormLifecycleTest, RunShowsTheMainFormAndItsCloseEndsTheLoop)
{
    TApplication app(nullptr); // a second one: the program's loop stays usable
    TLifeForm* main = nullptr;
    TLifeForm* other = nullptr;
    app.CreateForm(main);
    app.CreateForm(other);
    EXPECT_EQ(app.MainForm(), main);
    int refusals = 0;
    main->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++refusals > 1; };
    app.OnIdle = [&](TObject*, bool&) {
        if (main->Visible())
            PostMessageA(main->WindowHandle(), WM_CLOSE, 0, 0);
    };
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(refusals, 2);
    EXPECT_FALSE(other->Visible());
}

// Like a main window that lets queued messages through while it is made,
// where a close from outside can arrive before it ever shows.
class TClosedWhileMadeForm : public TForm
{
public:
    explicit TClosedWhileMadeForm(TComponent* owner) : TForm(owner)
    {
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        dynamic_cast<TApplication*>(owner)->ProcessMessages();
        FinishLoading();
    }
};

TEST(FormLifecycleTest, AMainFormClosedWhileItIsMadeEndsTheProgramUnshown)
{
    TApplication app(nullptr);
    TClosedWhileMadeForm* main = nullptr;
    app.CreateForm(main);
    EXPECT_EQ(app.MainForm(), main);
    bool shown = false;
    app.OnIdle = [&](TObject*, bool&) {
        shown = shown || main->Visible();
        if (shown)
            app.Terminate();
    };
    app.Run();
    EXPECT_FALSE(shown);
}

} // namespace
