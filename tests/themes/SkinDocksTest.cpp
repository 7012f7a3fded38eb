// Themed docks, toolbars, tool windows and floating frames: view types and
// colours by where a window stands, colour passed to the children, the
// records the theme gets for a docked frame and a dock, a parent's
// background under a dock by pixels, and snapping to the work area.
#include "RecordingTheme.h"
#include "SkinTestHost.h"

#include "classlib/Panel.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace theme_testing;
using namespace testing_support;

namespace {

// A control that writes down the parent colour changes it is told of.
class TColourListener : public TCustomControl
{
public:
    using TCustomControl::TCustomControl;
    struct Told
    {
        WPARAM HasColour;
        TColor Colour;
    };
    std::vector<Told> told;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == CM_PARENTCOLORCHANGED)
            told.push_back({message.WParam, static_cast<TColor>(message.LParam)});
        TCustomControl::WndProc(message);
    }
};

constexpr TColor kPanelColour = 0x00336699;

class ThemedBars : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(100, 100, 640, 480);
        panel = MakeChildControl<TPanel>(form, form, "Panel");
        panel->SetBounds(0, 200, 400, 200);
        panel->SetColor(kPanelColour);
        form->Show();
    }
    TSkinDock* NewDock(TBarDockPosition position)
    {
        auto* dock = MakeChildControl<TSkinDock>(form, form, "");
        dock->SetPosition(position);
        return dock;
    }
    DWORD ViewTypeOf(TControl* control)
    {
        return static_cast<DWORD>(SendSkinMessage(control, WM_SKIN_VIEWTYPE, 0, 0).Result);
    }
    COLORREF PixelOf(TWinControl* window, int x, int y)
    {
        HWND handle = window->WindowHandle();
        RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(handle);
        const COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(handle, dc);
        return pixel;
    }

    TPanel* panel = nullptr; // owned by the form
};

} // namespace

TEST_F(ThemedBars, AToolbarTakesItsColourAndViewTypeFromWhereItStands)
{
    TSkinDock* dock = NewDock(TBarDockPosition::dpTop);
    struct Case
    {
        const char* what;
        TSkinItemTransparency transparency;
        bool docked;
        TColor own;
        DWORD viewType;
        TColor colour; // clNone: the theme's for the view type
    };
    const auto kAuto = TSkinItemTransparency::itAuto;
    const Case cases[] = {
        {"on a panel", kAuto, false, clNone, vkToolbar | vkOpaque, kPanelColour},
        {"on a panel, transparent items", TSkinItemTransparency::itEnable, false, clNone, vkToolbar,
         kPanelColour},
        {"on a panel, its own colour", kAuto, false, 0x00112233, vkToolbar | vkOpaque, 0x00112233},
        {"docked", kAuto, true, clNone, vkToolbar, clNone},
        {"docked, opaque items", TSkinItemTransparency::itDisable, true, clNone,
         vkToolbar | vkOpaque, clNone},
    };
    for (const Case& c : cases) {
        auto* bar = new TSkinToolbar(form);
        bar->SetItemTransparency(c.transparency);
        bar->SetColor(c.own);
        if (c.docked)
            bar->SetCurrentDock(dock);
        else
            bar->SetParent(panel);
        EXPECT_EQ(ViewTypeOf(bar), c.viewType) << c.what;
        const TColor expected =
            c.colour == clNone ? CurrentTheme()->ViewFillColor(c.viewType) : c.colour;
        EXPECT_EQ(ResolvedColor(bar), expected) << c.what;
        delete bar;
    }

    auto* window = new TSkinToolWindow(form);
    window->SetCurrentDock(dock);
    EXPECT_EQ(ViewTypeOf(window) & ~vkResizable, vkToolWindow);
    EXPECT_EQ(ResolvedColor(window), CurrentTheme()->ViewFillColor(ViewTypeOf(window)));
    delete window;
}

TEST_F(ThemedBars, AToolbarOnAPanelShowsThePanelsColour)
{
    auto* bar = new TSkinToolbar(form);
    AddSkinItem(bar->Items(), "Item");
    bar->SetParent(panel);
    PumpMessages();
    ASSERT_GT(bar->ClientWidth(), 2);
    EXPECT_EQ(PixelOf(bar, 1, 1), ColorToRGB(kPanelColour));
}

TEST_F(ThemedBars, ColourChangesAndThemeChangesReachTheChildren)
{
    TSkinDock* dock = NewDock(TBarDockPosition::dpTop);
    struct Case
    {
        const char* what;
        std::function<TBarCustomDockableWindow*()> make;
    };
    const Case cases[] = {
        {"toolbar", [&] { return new TSkinToolbar(form); }},
        {"tool window", [&] { return new TSkinToolWindow(form); }},
    };
    for (const Case& c : cases) {
        TBarCustomDockableWindow* window = c.make();
        window->SetCurrentDock(dock);
        const TColor colour = ResolvedColor(window);
        auto* child = new TColourListener(window);
        child->SetParent(window);
        ASSERT_FALSE(child->told.empty()) << c.what << ": told when inserted";
        EXPECT_EQ(child->told.back().HasColour, 1u) << c.what;
        EXPECT_EQ(child->told.back().Colour, colour) << c.what;

        child->told.clear();
        UseRecordingTheme();
        ASSERT_FALSE(child->told.empty()) << c.what << ": told after a theme switch";
        EXPECT_EQ(child->told.back().HasColour, 1u) << c.what;
        EXPECT_EQ(child->told.back().Colour, RecordingThemeAnswers().ViewColor) << c.what;

        child->told.clear();
        window->SetColor(0x00445566);
        ASSERT_FALSE(child->told.empty()) << c.what << ": told of a colour of its own";
        EXPECT_EQ(child->told.back().Colour, 0x00445566) << c.what;
        SwitchTheme("Default");
        delete window;
    }
}

TEST_F(ThemedBars, TheThemeGetsTheDockedFramesRecordAndTheDocksPosition)
{
    RecordingThemeAnswers().Flags[5] = true; // the theme paints docks
    TRecordingTheme* recording = UseRecordingTheme();
    TSkinDock* dock = NewDock(TBarDockPosition::dpLeft);
    auto* bar = new TSkinToolbar(form);
    AddSkinItem(bar->Items(), "Item");
    bar->SetCloseButtonWhenDocked(true);
    bar->SetDragHandleStyle(TBarDragHandleStyle::dhDouble);
    bar->SetCurrentDock(dock);
    PumpMessages();

    recording->Calls.clear();
    RedrawWindow(bar->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(recording->Of("DrawBarEdge").empty());
    const TSkinBarInfo info = recording->Of("DrawBarEdge").back().Bar;
    EXPECT_EQ(info.Window, bar->WindowHandle());
    EXPECT_EQ(info.ViewKindBits, ViewTypeOf(bar));
    EXPECT_EQ(info.DockedVertically, 1);
    EXPECT_EQ(info.AllowDrag, 1);
    EXPECT_EQ(info.BorderSize.cx, 0) << "the recording theme's for a toolbar";
    EXPECT_EQ(info.ClientWidth, bar->ClientWidth());
    EXPECT_EQ(info.ClientHeight, bar->ClientHeight());
    EXPECT_EQ(info.DragHandleStyle, kDragHandleDouble);
    EXPECT_EQ(info.CloseButtonState, static_cast<DWORD>(scbShown));
    EXPECT_EQ(info.EffectiveColor, RecordingThemeAnswers().ViewColor);

    dock->SetAllowDrag(false);
    recording->Calls.clear();
    RedrawWindow(bar->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(recording->Of("DrawBarEdge").empty());
    EXPECT_EQ(recording->Of("DrawBarEdge").back().Bar.CloseButtonState, 0u)
        << "no close button on a dock that keeps its windows";

    for (const auto& [position, number] :
         {std::pair{TBarDockPosition::dpTop, 1}, std::pair{TBarDockPosition::dpRight, 4}}) {
        TSkinDock* other = NewDock(position);
        (new TSkinToolWindow(form))->SetCurrentDock(other);
        PumpMessages();
        recording->Calls.clear();
        PixelOf(other, 1, 1);
        ASSERT_FALSE(recording->Of("DrawDockArea").empty()) << number;
        EXPECT_EQ(recording->Of("DrawDockArea").back().Number, number);
    }
}

TEST_F(ThemedBars, ADockCanShowItsParentsBackground)
{
    auto* dock = MakeChildControl<TSkinDock>(form, panel, "");
    dock->SetColor(0x00010203);
    auto* window = new TSkinToolWindow(form);
    window->SetCurrentDock(dock);
    PumpMessages();
    // Right of the tool window: the dock's own background.
    const int x = window->Width() + 20, y = window->Height() / 2;
    ASSERT_GT(dock->ClientWidth(), x);
    EXPECT_EQ(PixelOf(dock, x, y), ColorToRGB(0x00010203));
    dock->SetUseParentBackground(true);
    EXPECT_EQ(PixelOf(dock, x, y), ColorToRGB(kPanelColour));
}

TEST(FloatingSnap, AFrameSnapsToTheWorkAreaEdgesWithinTheDistance)
{
    const TRect work(0, 0, 1000, 700);
    struct Case
    {
        const char* what;
        TRect window;
        int distance;
        TPoint expected;
    };
    const Case cases[] = {
        {"6 from the left", TRect(6, 300, 106, 350), 10, TPoint(0, 300)},
        {"10 from the left", TRect(10, 300, 110, 350), 10, TPoint(10, 300)},
        {"past the left edge", TRect(-4, 300, 96, 350), 10, TPoint(0, 300)},
        {"near the right and bottom", TRect(895, 645, 995, 695), 10, TPoint(900, 650)},
        {"near the top", TRect(300, 3, 400, 53), 10, TPoint(300, 0)},
        {"wide: the left wins", TRect(5, 300, 997, 350), 10, TPoint(0, 300)},
        {"no distance", TRect(1, 1, 101, 51), 0, TPoint(1, 1)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SnapToWorkArea(c.window, work, c.distance), c.expected) << c.what;
}

TEST_F(ThemedBars, AFloatingToolbarDroppedNearTheEdgeLandsOnIt)
{
    auto* bar = new TSkinToolbar(form);
    AddSkinItem(bar->Items(), "Item");
    bar->SetCurrentDock(NewDock(TBarDockPosition::dpTop));
    bar->SetSnapDistance(10);
    bar->SetFloatOrigin(TPoint(300, 300));
    bar->SetFloating(true);
    PumpMessages();
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    ASSERT_NE(dynamic_cast<TSkinFloatingWindowParent*>(frame), nullptr);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(frame->WindowHandle(), nullptr, work.left + 6, 300, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(frame->WindowHandle(), &r);
    EXPECT_EQ(r.left, work.left);
    SetWindowPos(frame->WindowHandle(), nullptr, work.left + 30, 300, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(frame->WindowHandle(), &r);
    EXPECT_EQ(r.left, work.left + 30);
}

TEST_F(ThemedBars, TheFloatingCloseButtonLightsUnderTheMouseAndRepaintsAlone)
{
    TRecordingTheme* recording = UseRecordingTheme();
    auto* bar = new TSkinToolbar(form);
    AddSkinItem(bar->Items(), "Item");
    bar->SetCurrentDock(NewDock(TBarDockPosition::dpTop));
    bar->SetFloatOrigin(TPoint(300, 300));
    bar->SetFloating(true);
    PumpMessages();
    auto* frame = static_cast<TSkinFloatingWindowParent*>(bar->FloatingParent());
    RECT window;
    GetWindowRect(frame->WindowHandle(), &window);
    const TRect close = FloatingCloseRect(frame->FrameGeometry());
    auto moveTo = [&](int x, int y) {
        SendMessageA(frame->WindowHandle(), WM_NCMOUSEMOVE, HTCAPTION,
                     MAKELPARAM(window.left + x, window.top + y));
    };
    struct Case
    {
        const char* what;
        TPoint at; // window coordinates
        bool hot;
        DWORD state;
    };
    const Case cases[] = {
        {"over the button", TPoint(close.left + 2, close.top + 2), true, scbShown | scbHot},
        {"still over it", TPoint(close.left + 3, close.top + 3), true, 0},
        {"over the caption", TPoint(close.left - 10, close.top + 2), false, scbShown},
    };
    for (const Case& c : cases) {
        recording->Calls.clear();
        moveTo(c.at.x, c.at.y);
        EXPECT_EQ(frame->CloseButtonHot(), c.hot) << c.what;
        const auto frames = recording->Of("DrawFloatFrame");
        if (!c.state) {
            EXPECT_TRUE(frames.empty()) << c.what << ": no change, no paint";
            continue;
        }
        ASSERT_EQ(frames.size(), 1u) << c.what;
        EXPECT_EQ(frames[0].CloseButtonState, c.state) << c.what;
        EXPECT_EQ(frames[0].RedrawParts, static_cast<DWORD>(sfpCloseButton)) << c.what;
    }
}
