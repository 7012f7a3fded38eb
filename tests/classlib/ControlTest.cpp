#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/Screen.h"
#include "classlib/ScrollBar.h"
#include "classlib/WindowProcedure.h"
#include "classlib/StandardControls.h"
#include "support/MessageRecorder.h"
#include "support/TestSeams.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// A windowed control of our own class that logs what it sees.
class TProbeControl : public TCustomControl
{
public:
    explicit TProbeControl(TComponent* owner) : TCustomControl(owner)
    {
        SetTabStop(true);
        SetBounds(0, 0, 50, 20);
    }
    std::vector<std::string> Log;
    int Paints = 0;

protected:
    void Paint() override { ++Paints; }
};

// A drawn control that logs the mouse.
class TProbeGraphic : public TGraphicControl
{
public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::string> Log;

protected:
    void MouseEnter() override { Log.push_back("enter"); }
    void MouseLeave() override { Log.push_back("leave"); }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override
    {
        Log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    }
};

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class ControlTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(50, 50, 400, 300);
    }
};

TEST_F(ControlTest, ChildWindowsAppearWithTheParentAndKeepTheirWindowAcrossParentChanges)
{
    auto* panel = new TProbeControl(form);
    panel->SetParent(form);
    auto* child = new TProbeControl(form);
    child->SetParent(panel);
    EXPECT_FALSE(child->HandleAllocated());

    form->HandleNeeded();
    ASSERT_TRUE(child->HandleAllocated());
    HWND window = child->WindowHandle();
    EXPECT_EQ(GetParent(window), panel->WindowHandle());
    EXPECT_EQ(FindControl(window), child);

    child->SetParent(form);
    EXPECT_EQ(child->WindowHandle(), window);
    EXPECT_EQ(GetParent(window), form->WindowHandle());

    child->SetParent(nullptr);
    EXPECT_EQ(child->WindowHandle(), window);
    auto* other = new TForm(nullptr);
    child->SetParent(other);
    EXPECT_EQ(child->WindowHandle(), window);
    other->HandleNeeded();
    EXPECT_EQ(GetParent(window), other->WindowHandle());
    delete other;
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControlTest, AskingAChildForItsWindowMakesTheParentsAndOneWindowEach)
{
    auto* panel = new TProbeControl(form);
    panel->SetParent(form);
    auto* child = new TProbeControl(form);
    child->SetParent(panel);
    HWND window = child->Handle();
    ASSERT_TRUE(form->HandleAllocated());
    int windows = 0;
    EnumChildWindows(form->WindowHandle(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 2);
    EXPECT_EQ(GetParent(window), panel->WindowHandle());
}

// A hidden control's window, and its children's, wait until it shows (or
// its handle is asked for); it then takes its place among its siblings,
// with what was set meanwhile.
TEST_F(ControlTest, AHiddenChildGetsItsWindowWhenShownInItsPlaceWithWhatWasSet)
{
    auto* first = new TProbeControl(form);
    first->SetParent(form);
    auto* hidden = new TProbeControl(form);
    hidden->SetVisible(false);
    hidden->SetParent(form);
    auto* inner = new TEdit(form);
    inner->SetParent(hidden);
    auto* last = new TProbeControl(form);
    last->SetParent(form);
    form->HandleNeeded();
    EXPECT_TRUE(last->HandleAllocated());
    EXPECT_FALSE(hidden->HandleAllocated());
    EXPECT_FALSE(inner->HandleAllocated());

    inner->SetText("kept");
    hidden->SetBounds(5, 6, 70, 30);
    hidden->SetVisible(true);
    ASSERT_TRUE(inner->HandleAllocated());
    EXPECT_TRUE(GetWindowLongA(hidden->WindowHandle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetParent(inner->WindowHandle()), hidden->WindowHandle());
    char text[16] = {};
    GetWindowTextA(inner->WindowHandle(), text, sizeof text);
    EXPECT_STREQ(text, "kept");
    EXPECT_EQ(hidden->BoundsRect(), TRect(5, 6, 75, 36));
    // The order the parent's one pass would have made: first, hidden, last.
    EXPECT_EQ(GetWindow(first->WindowHandle(), GW_HWNDNEXT), hidden->WindowHandle());
    EXPECT_EQ(GetWindow(hidden->WindowHandle(), GW_HWNDNEXT), last->WindowHandle());

    auto* asked = new TProbeControl(form);
    asked->SetVisible(false);
    asked->SetParent(first);
    EXPECT_FALSE(asked->HandleAllocated());
    ASSERT_TRUE(asked->Handle());
    EXPECT_FALSE(GetWindowLongA(asked->WindowHandle(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(ControlTest, ADoubleBufferedControlPaintsThroughItsBuffer)
{
    class TRedControl : public TCustomControl
    {
    public:
        using TCustomControl::TCustomControl;

    protected:
        void Paint() override
        {
            Canvas()->Brush()->SetColor(clRed);
            Canvas()->FillRect(TRect(0, 0, 10, 10));
        }
    };
    auto* red = new TRedControl(form);
    red->SetParent(form);
    red->SetBounds(0, 0, 40, 40);
    red->SetColor(clBlue);
    red->SetDoubleBuffered(true);
    form->Show();
    PumpMessages();
    InvalidateRect(red->WindowHandle(), nullptr, TRUE);
    UpdateWindow(red->WindowHandle());
    HDC dc = GetDC(red->WindowHandle());
    COLORREF painted = GetPixel(dc, 5, 5);
    COLORREF background = GetPixel(dc, 30, 30);
    ReleaseDC(red->WindowHandle(), dc);
    EXPECT_EQ(painted, RGB(255, 0, 0));
    EXPECT_EQ(background, RGB(0, 0, 255));
}

TEST_F(ControlTest, RecreateWndKeepsTextAndBoundsAndMakesANewWindow)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    probe->SetBounds(5, 6, 70, 30);
    probe->SetText("before");
    form->HandleNeeded();
    HWND old = probe->WindowHandle();
    probe->RecreateWnd();
    EXPECT_NE(probe->WindowHandle(), old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(probe->Text(), "before");
    EXPECT_EQ(probe->BoundsRect(), Bounds(5, 6, 70, 30));
}

// Windows are found by the library's own ties, which must end with the
// window however it goes (its control recreating it, or the system taking
// it with its parent). A child window's identifier finds it in its parent.
TEST_F(ControlTest, AWindowIsFoundByItsControlUntilTheWindowGoes)
{
    auto* panel = new TProbeControl(form);
    panel->SetParent(form);
    auto* probe = new TProbeControl(form);
    probe->SetParent(panel);
    form->HandleNeeded();
    HWND first = probe->WindowHandle();
    EXPECT_EQ(FindControl(first), probe);
    EXPECT_EQ(GetDlgItem(panel->WindowHandle(), GetDlgCtrlID(first)), first);
    probe->RecreateWnd();
    EXPECT_EQ(FindControl(first), nullptr);
    HWND second = probe->WindowHandle();
    EXPECT_EQ(FindControl(second), probe);

    DestroyWindow(panel->WindowHandle());
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(FindControl(second), nullptr);
    EXPECT_EQ(FindControl(nullptr), nullptr);
}

TEST_F(ControlTest, TheSameTextTwiceSendsOneTextChange)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    form->HandleNeeded();
    int changes = 0;
    TWndMethod previous = probe->WindowProc();
    probe->SetWindowProc([&](TMessage& m) {
        if (m.Msg == CM_TEXTCHANGED)
            ++changes;
        previous(m);
    });
    probe->SetText("abc");
    probe->SetText("abc");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(probe->Text(), "abc");
    char buffer[16] = {};
    GetWindowTextA(probe->WindowHandle(), buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "abc");
    probe->SetWindowProc(previous);
}

TEST_F(ControlTest, AnExceptionInAHandlerReachesHandleExceptionAndTheProgramGoesOn)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    probe->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {
        throw EInvalidOperation("handler failed");
    };
    std::vector<AnsiString> reported;
    Application->OnException = [&](TObject*, std::exception_ptr e) {
        reported.push_back(ExceptionMessage(e));
    };
    form->HandleNeeded();
    PostMessageA(probe->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(probe->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    PumpMessages();
    SendMessageA(probe->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    Application->OnException = nullptr;
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0], "handler failed");
    // The window still works.
    probe->SetText("still alive");
    EXPECT_EQ(probe->Text(), "still alive");
}

TEST_F(ControlTest, WithoutOnExceptionTheMessageGoesToAMessageBox)
{
    ScriptedMessageBoxes boxes({IDOK});
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    probe->OnClick = [](TObject*) { throw EInvalidOperation("clicked wrong"); };
    form->HandleNeeded();
    ClickAt(probe->WindowHandle(), 2, 2);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text, "clicked wrong");
    EXPECT_TRUE(boxes.Shown()[0].Flags & MB_ICONSTOP);
}

TEST_F(ControlTest, AlignmentFillsTheAdjustableClientAreaInOrder)
{
    form->HandleNeeded();
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    auto make = [&](TAlign align, int size) {
        auto* c = new TProbeControl(form);
        c->SetBounds(0, 0, size, size);
        c->SetAlign(align);
        c->SetParent(form);
        return c;
    };
    form->DisableAlign();
    TProbeControl* top = make(TAlign::alTop, 20);
    TProbeControl* bottom = make(TAlign::alBottom, 30);
    TProbeControl* left = make(TAlign::alLeft, 40);
    TProbeControl* client = make(TAlign::alClient, 1);
    TProbeControl* right = make(TAlign::alRight, 50);
    EXPECT_EQ(top->Width(), 20); // nothing placed while alignment is off
    form->EnableAlign();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 20));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 170, 300, 200));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 40, 170));
    EXPECT_EQ(right->BoundsRect(), Rect(250, 20, 300, 170));
    EXPECT_EQ(client->BoundsRect(), Rect(40, 20, 250, 170));

    top->SetVisible(false);
    EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 40, 170));
    form->SetClientHeight(260);
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 230, 300, 260));
    EXPECT_EQ(client->Height(), 230);
}

TEST_F(ControlTest, AnchorsKeepDistancesToTheRightAndBottomEdges)
{
    form->HandleNeeded();
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    auto* stretch = new TProbeControl(form);
    stretch->SetParent(form);
    stretch->SetBounds(10, 10, 100, 20);
    stretch->SetAnchors(akLeft | akTop | akRight);
    auto* corner = new TProbeControl(form);
    corner->SetParent(form);
    corner->SetBounds(250, 170, 40, 20);
    corner->SetAnchors(akRight | akBottom);

    form->SetClientWidth(350);
    form->SetClientHeight(230);
    EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 160, 30));
    EXPECT_EQ(corner->BoundsRect(), Rect(300, 200, 340, 220));
    form->SetClientWidth(300);
    EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 110, 30));
}

TEST_F(ControlTest, ConstraintsLimitEverySize)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    probe->Constraints()->SetMinWidth(30);
    probe->Constraints()->SetMaxHeight(40);
    probe->SetBounds(0, 0, 10, 100);
    EXPECT_EQ(probe->Width(), 30);
    EXPECT_EQ(probe->Height(), 40);
    form->HandleNeeded();
    probe->SetBounds(0, 0, 5, 5);
    RECT r;
    GetWindowRect(probe->WindowHandle(), &r);
    EXPECT_EQ(r.right - r.left, 30);
}

TEST_F(ControlTest, ColourNoneAndParentColourFollowTheParent)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    form->SetColor(clRed);
    probe->SetColor(clNone);
    EXPECT_EQ(probe->EffectiveColor(), clRed);
    EXPECT_EQ(ColorToRGB(probe->Brush()->Color()), ColorToRGB(clRed));
    form->SetColor(clBlue);
    EXPECT_EQ(ColorToRGB(probe->Brush()->Color()), ColorToRGB(clBlue));

    auto* inheriting = new TProbeControl(form);
    inheriting->SetParentColor(true);
    inheriting->SetParent(form);
    EXPECT_EQ(inheriting->Color(), clBlue);
    form->SetColor(clLime);
    EXPECT_EQ(inheriting->Color(), clLime);
    inheriting->SetColor(clYellow);
    EXPECT_FALSE(inheriting->ParentColor());
}

TEST_F(ControlTest, FontChangesReachTheControlAndChildrenWithParentFont)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    int fontChanges = 0;
    TWndMethod previous = probe->WindowProc();
    probe->SetWindowProc([&](TMessage& m) {
        if (m.Msg == CM_FONTCHANGED)
            ++fontChanges;
        previous(m);
    });
    form->Font()->SetSize(14);
    EXPECT_EQ(probe->Font()->Size(), 14);
    EXPECT_TRUE(probe->ParentFont());
    EXPECT_GE(fontChanges, 1);
    probe->Font()->SetSize(20);
    EXPECT_FALSE(probe->ParentFont());
    form->Font()->SetSize(9);
    EXPECT_EQ(probe->Font()->Size(), 20);
    probe->SetWindowProc(previous);
}

TEST_F(ControlTest, GraphicControlsGetRoutedMouseMessagesAndEnterLeave)
{
    auto* graphic = new TProbeGraphic(form);
    graphic->SetBounds(20, 30, 40, 40);
    graphic->SetParent(form);
    form->HandleNeeded();
    HWND window = form->WindowHandle();
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(25, 35));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 40));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    std::vector<std::string> expected = {"enter", "down 5,5", "leave", "enter", "leave"};
    EXPECT_EQ(graphic->Log, expected);
}

TEST_F(ControlTest, WindowProcChainCanBeHookedAndRestored)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    form->HandleNeeded();
    std::vector<UINT> seen;
    TWndMethod previous = probe->WindowProc();
    probe->SetWindowProc([&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 7) {
            m.Result = 42;
            return;
        }
        previous(m);
    });
    EXPECT_EQ(SendMessageA(probe->WindowHandle(), WM_USER + 7, 0, 0), 42);
    EXPECT_EQ(probe->Perform(WM_USER + 7, 0, 0), 42);
    probe->SetWindowProc(previous);
    EXPECT_EQ(probe->Perform(WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_USER + 7), 2);
}

TEST_F(ControlTest, TheFormIsFoundByItsWindowClassName)
{
    form->SetWindowClassName("TFormVusk");
    form->SetCaption("Zandrel");
    form->HandleNeeded();
    EXPECT_EQ(FindWindowA("TFormVusk", nullptr), form->WindowHandle());
    char name[32] = {};
    GetClassNameA(form->WindowHandle(), name, sizeof(name));
    EXPECT_STREQ(name, "TFormVusk");
    EXPECT_EQ(form->Caption(), "Zandrel");
}

TEST_F(ControlTest, MinimumSizeComesFromTheConstraints)
{
    form->Constraints()->SetMinWidth(600);
    form->Constraints()->SetMinHeight(550);
    form->HandleNeeded();
    MINMAXINFO info = {};
    SendMessageA(form->WindowHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 600);
    EXPECT_EQ(info.ptMinTrackSize.y, 550);
    form->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(form->Width(), 600);
}

TEST_F(ControlTest, DestroyingAFormRunsOnDestroyWhileItsChildWindowsExist)
{
    auto* probe = new TProbeControl(form);
    probe->SetParent(form);
    form->HandleNeeded();
    bool childAlive = false;
    form->OnDestroy = [&](TObject*) { childAlive = IsWindow(probe->WindowHandle()) != FALSE; };
    FreeAndNil(form);
    EXPECT_TRUE(childAlive);
}

} // namespace

TEST_F(ControlTest, RealClicksLeaveNoCaptureOnNativeTrackingControlsOrOurOwn)
{
    auto* bar = new TScrollBar(form);
    bar->SetBounds(10, 10, 200, GetSystemMetrics(SM_CYHSCROLL));
    bar->SetParams(0, 0, 100);
    bar->SetParent(form);
    auto* panel = new TProbeControl(form);
    panel->SetBounds(10, 60, 100, 40);
    panel->SetParent(form);
    ASSERT_TRUE(ActivateForm(form));
    struct Case
    {
        const char* name;
        TWinControl* control;
        int x, y; // client point clicked
    };
    const Case cases[] = {
        {"scroll bar arrow", bar, 4, 4},
        {"scroll bar page", bar, 150, 4},
        {"own control", panel, 20, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RealClick(ScreenPointOf(c.control->WindowHandle(), c.x, c.y));
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(CaptureControl(), nullptr);
    }
    // Our own control still holds the mouse while the button is down (away
    // from the last click, which would make a double click).
    const POINT inPanel = ScreenPointOf(panel->WindowHandle(), 80, 30);
    RealButtonDown(inPanel);
    EXPECT_EQ(GetCapture(), panel->WindowHandle());
    RealButtonUp(inPanel);
    EXPECT_EQ(GetCapture(), nullptr);
}
