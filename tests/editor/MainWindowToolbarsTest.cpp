// The main window's toolbars on real windows: their buttons run the actions,
// a dragged toolbar keeps its place across a restart, one saved floating
// comes back above the window, the toolbar lock stops dragging, a closed
// toolbar comes back through "show all toolbars", a floating toolbar shows the
// hint of the button under the mouse, and a settings file that
// cannot place a toolbar leaves it where a first start does.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "classlib/Application.h"
#include "classlib/HintWindow.h"
#include "classlib/Seams.h"

#include "support/BarDriver.h"
#include "support/ModalScript.h"
#include "support/ScreenCheck.h"

#include "toolbar/BarCommon.h"

#include <gmock/gmock.h>

#include <map>

using namespace testing_support;

namespace {

// Where each toolbar is: its dock, its row and its rectangle there.
struct TPlace
{
    AnsiString Dock; // its name; empty when floating
    int Row = -1;
    TRect Bounds;
    bool Visible = false;
    bool operator==(const TPlace&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TPlace& p)
{
    return out << "{row " << p.Row << ", " << p.Bounds.left << "," << p.Bounds.top << " "
               << p.Bounds.Width() << "x" << p.Bounds.Height() << (p.Visible ? "" : ", hidden")
               << (p.Dock.empty() ? ", floating" : "") << "}";
}

class ToolbarsTest : public MainWindowTest
{
protected:
    // A point on a docked toolbar's drag handle, in screen coordinates.
    static POINT HandlePoint(TExtToolbar* bar)
    {
        RECT r;
        GetWindowRect(bar->Handle(), &r);
        return {r.left + 4, (r.top + r.bottom) / 2};
    }
    static TPlace PlaceOf(TExtToolbar* bar)
    {
        const AnsiString dock = bar->CurrentDock() ? bar->CurrentDock()->Name() : AnsiString();
        return {dock, bar->PlacedRow(), bar->BoundsRect(), bar->Visible()};
    }
    std::map<AnsiString, TPlace> Places() const
    {
        std::map<AnsiString, TPlace> places;
        for (TExtToolbar* bar : form->Toolbars())
            places[bar->Name()] = PlaceOf(bar);
        return places;
    }
    // Drags ZoomBar by its handle with real input, down until it is alone
    // in a new row below the others (or the watchdog ends it).
    void DragZoomBarToANewRow()
    {
        TExtToolbar* bar = form->ZoomBar;
        const POINT grab = HandlePoint(bar);
        POINT at = grab;
        bool dragSeen = false;
        const int rowsBefore = form->SkinDock2->LastRowIndex(true);
        ModalScript script;
        script.WaitUntil([&] { return dragSeen = bar->DragActive(); }, "the drag starts")
            .WaitUntil(
                [&] {
                    if (bar->PlacedRow() > rowsBefore)
                        return true;
                    at.y += 3;
                    ModalScript::RealMove(at);
                    return false;
                },
                "a new row opens")
            .Then([&] { ModalScript::RealRelease(at); });
        script.Run([&] {
            ModalScript::RealPress(grab);
            PumpUntil([&] { return dragSeen && !bar->DragActive(); });
        });
    }
};

} // namespace

TEST_F(ToolbarsTest, EachToolbarsFirstButtonRunsItsActionAndLeavesTheFocus)
{
    const std::string wav = WriteHalfSilentWav(folder, "take.wav", 8000, 8000);
    Seams().FileDialog = [](TFileDialogRequest&) { return false; };
    int modals = 0;
    Seams().ModalShown = [&](TObject* shown) {
        ++modals;
        if (auto* modal = dynamic_cast<TCustomForm*>(shown))
            modal->SetModalResult(mrCancel);
    };
    Start();
    LoadTestDocument(*form, wav);
    for (TExtToolbar* bar : form->Toolbars()) {
        SCOPED_TRACE(bar->Name().c_str());
        auto* action = static_cast<TAction*>(bar->Items()->Items(0)->Action());
        ASSERT_NE(action, nullptr);
        int runs = 0;
        modals = 0;
        TNotifyEvent inner = action->OnExecute;
        action->OnExecute = [&](TObject* sender) {
            ++runs;
            inner(sender);
        };
        FocusWave();
        ClickToolButton(bar, action);
        PumpMessages();
        action->OnExecute = inner;
        EXPECT_EQ(runs, 1);
        // A window the command showed takes the focus itself.
        if (modals == 0) {
            EXPECT_EQ(FocusedWindow(), form->FocusBtn->Handle()) << "the button took the focus";
        }
    }
}

TEST_F(ToolbarsTest, ADraggedToolbarIsWhereItWasLeftAfterARestart)
{
    Start();
    ASSERT_TRUE(ActivateForm(form));
    const TPlace before = PlaceOf(form->ZoomBar);
    DragZoomBarToANewRow();
    const std::map<AnsiString, TPlace> dragged = Places();
    ASSERT_EQ(dragged.at("ZoomBar").Dock, "SkinDock2");
    ASSERT_GT(dragged.at("ZoomBar").Row, before.Row);
    CloseAndFree();

    // Every key of the section, in order.
    const AnsiString text = folder.ReadFile("zandrel.ini");
    size_t at = text.find("[ZoomBar]");
    ASSERT_NE(at, AnsiString::npos);
    for (const char* key : {"Rev=2000", "Visible=1", "DockedTo=SkinDock2", "LastDock=", "DockRow=",
                            "DockPos=", "FloatLeft=", "FloatTop=", "FloatRightX="}) {
        const size_t next = text.find(AnsiString("\r\n") + key, at);
        EXPECT_NE(next, AnsiString::npos) << key;
        at = next == AnsiString::npos ? at : next;
    }

    Start();
    EXPECT_EQ(Places(), dragged);
}

TEST_F(ToolbarsTest, WithTheToolbarsLockedAToolbarCannotBeDragged)
{
    StartWithSettings("[FORM]\r\nBARFIX=0\r\n");
    ASSERT_TRUE(ActivateForm(form));
    ASSERT_FALSE(form->SkinDock2->AllowDrag());
    const std::map<AnsiString, TPlace> before = Places();
    const POINT grab = HandlePoint(form->ZoomBar);
    RealDrag(grab,
             {{grab.x + 2, grab.y + 10}, {grab.x + 4, grab.y + 60}, {grab.x - 200, grab.y + 90}});
    PumpMessages();
    EXPECT_EQ(Places(), before);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ToolbarsTest, AToolbarClosedByItsCloseButtonComesBackThroughShowAll)
{
    Start();
    ASSERT_TRUE(ActivateForm(form));
    TExtToolbar* bar = form->ZoomBar;
    bar->SetFloating(true);
    PumpMessages();
    TBarFloatingWindowParent* frame = bar->FloatingParent();
    ASSERT_NE(frame, nullptr);
    RECT r;
    GetWindowRect(frame->Handle(), &r);
    const int border = GetSystemMetrics(SM_CXSIZEFRAME);
    const POINT close{r.right - border - 4, r.top + border + 4};
    ASSERT_EQ(SendMessageA(frame->Handle(), WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)),
              kBarHitCloseButton);
    RealClick(close);
    PumpMessages();
    ASSERT_FALSE(bar->Visible());
    EXPECT_FALSE(IsWindowVisible(frame->Handle()));

    // Still closed after a restart, until the command shows it again.
    CloseAndFree();
    Start();
    EXPECT_FALSE(form->ZoomBar->Visible());
    form->ExtItem87->Click();
    PumpMessages();
    for (TExtToolbar* each : form->Toolbars()) {
        EXPECT_TRUE(each->Visible()) << each->Name();
        HWND shown = each->Floating() ? each->FloatingParent()->Handle() : each->Handle();
        EXPECT_TRUE(IsWindowVisible(shown)) << each->Name();
    }
}

TEST_F(ToolbarsTest, ASectionThatCannotPlaceAToolbarLeavesItWhereAFirstStartDoes)
{
    Start();
    const std::map<AnsiString, TPlace> firstStart = Places();
    CloseAndFree();

    struct Case
    {
        const char* name;
        const char* section;
    };
    const Case cases[] = {
        {"no section", ""},
        {"another revision", "Rev=1999\r\nVisible=0\r\nDockedTo=SkinDock2\r\nDockRow=4\r\n"},
        {"a revision that is no number", "Rev=abc\r\nVisible=0\r\nDockedTo=SkinDock2\r\n"},
        {"an unknown dock", "Rev=2000\r\nDockedTo=Nowhere\r\nDockRow=3\r\nDockPos=50\r\n"},
        {"floating off every monitor",
         "Rev=2000\r\nDockedTo=+\r\nFloatLeft=-30000\r\nFloatTop=-30000\r\n"},
        {"floating past the screen's far corner",
         "Rev=2000\r\nDockedTo=+\r\nFloatLeft=40000\r\nFloatTop=40000\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithSettings(AnsiString("[ZoomBar]\r\n") + c.section);
        EXPECT_EQ(Places(), firstStart);
        CloseAndFree();
    }
}

TEST_F(ToolbarsTest, ADockedPlaceBeyondTheDockKeepsTheToolbarOnIt)
{
    struct Case
    {
        const char* name;
        const char* section;
    };
    const Case cases[] = {
        {"far along the row", "DockRow=0\r\nDockPos=100000\r\n"},
        {"a row far below", "DockRow=500\r\nDockPos=0\r\n"},
        {"a negative row and place", "DockRow=-3\r\nDockPos=-400\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings(AnsiString("[ZoomBar]\r\nRev=2000\r\nDockedTo=SkinDock2\r\n") + c.section);
        Start();
        TExtToolbar* bar = form->ZoomBar;
        EXPECT_EQ(bar->CurrentDock(), form->SkinDock2);
        EXPECT_TRUE(IsWindowVisible(bar->Handle()));
        const TRect dock = form->SkinDock2->ClientRect();
        const TRect r = bar->BoundsRect();
        EXPECT_GE(r.left, 0);
        EXPECT_LE(r.right, dock.right);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.bottom, dock.bottom);
        CloseAndFree();
    }
}

TEST_F(ToolbarsTest, WithTheToolbarsLockedTheirPlacesAreStillRestoredAndSaved)
{
    WriteSettings("[FORM]\r\nBARFIX=0\r\n[ZoomBar]\r\nRev=2000\r\nVisible=1\r\n"
                  "DockedTo=SkinDock2\r\nDockRow=5\r\nDockPos=0\r\n");
    Start();
    EXPECT_FALSE(form->SkinDock2->AllowDrag());
    EXPECT_EQ(form->ZoomBar->PlacedRow(), 2) << "alone in a row below the others";
    const std::map<AnsiString, TPlace> restored = Places();
    CloseAndFree();

    TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadString("ZoomBar", "DockedTo", ""), "SkinDock2");
    EXPECT_EQ(ini.ReadString("FileBar", "DockedTo", ""), "SkinDock2");
    EXPECT_EQ(ini.ReadInteger("FORM", "BARFIX", -1), 0);
    Start();
    EXPECT_FALSE(form->SkinDock2->AllowDrag());
    EXPECT_EQ(Places(), restored);
}

TEST_F(ToolbarsTest, ARightClickOnTheDockOrAToolbarOpensTheToolbarsMenu)
{
    Start();
    ASSERT_TRUE(ActivateForm(form));
    RECT dock, zoom;
    GetWindowRect(form->SkinDock2->Handle(), &dock);
    GetWindowRect(form->ZoomBar->Handle(), &zoom);
    const struct
    {
        const char* name;
        POINT at;
    } cases[] = {
        {"the dock past the first row", {dock.right - 10, zoom.top + 5}},
        {"a toolbar's handle", HandlePoint(form->ZoomBar)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBarCustomItem* shown = nullptr;
        ModalScript script;
        script.WaitUntil([] { return StandalonePopupView() != nullptr; }, "a popup opens")
            .Then([&] {
                shown = StandalonePopupView()->ParentItem();
                ModalScript::PressKey(VK_ESCAPE);
            });
        script.Run([&] {
            SetCursorPos(c.at.x, c.at.y);
            INPUT inputs[2]{};
            inputs[0].type = inputs[1].type = INPUT_MOUSE;
            inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
            inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
            SendInput(2, inputs, sizeof(INPUT));
            PumpUntil([&] { return shown != nullptr; });
        });
        EXPECT_EQ(shown, form->ToolbarPopup->Items());
    }
}

namespace {

// What is wrong with where a docked toolbar puts its items: each shown
// item must lie inside the client area, which starts after the drag
// handle, show its caption, and none may hide behind the chevron while the
// dock has room for the whole toolbar.
std::vector<std::string> LayoutFaults(TExtToolbar* bar)
{
    std::vector<std::string> faults;
    const TRect client = bar->ClientRect();
    const TRect inWindow = ClientAreaInWindow(bar->Handle());
    TPoint natural;
    bar->NaturalSize(natural);
    const bool roomy = bar->CurrentDock()->ClientWidth() >= natural.x + bar->DockedBorderWidth();
    if (bar->CurrentDock()->AllowDrag() && inWindow.left < 2 + 6)
        faults.push_back("the client starts on the drag handle");
    TBarToolbarView* view = bar->View();
    for (int i = 0; i < view->ViewerCount(); ++i) {
        TBarItemViewer* viewer = view->Viewers(i);
        if (viewer->Item() == bar->OverflowItem())
            continue;
        const std::string name = "item " + std::to_string(i);
        if (viewer->Clipped() && roomy)
            faults.push_back(name + " is behind the chevron");
        if (!viewer->Shown())
            continue;
        const TRect& r = viewer->BoundsRect();
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
            faults.push_back(name + " leaves the client area");
        if (!viewer->Item()->Caption().empty() && !viewer->ShowsCaption())
            faults.push_back(name + " hides its caption");
    }
    return faults;
}

} // namespace

TEST_F(ToolbarsTest, EveryToolbarShowsAllItsItemsAfterItsHandle)
{
    const std::string wav = WriteHalfSilentWav(folder, "take.wav", 8000, 8000);
    Start();
    LoadTestDocument(*form, wav);
    PumpMessages();
    const auto toolbars = form->Toolbars();
    std::vector<TExtToolbar*> bars(toolbars.begin(), toolbars.end());
    bars.push_back(form->MenuBar);
    for (TExtToolbar* bar : bars)
        EXPECT_THAT(LayoutFaults(bar), testing::IsEmpty()) << bar->Name().c_str();
}

// The bars and their docks lay themselves out once the window is built: a
// first start stacks the menu bar, the toolbars' two rows and the waveform.
TEST_F(ToolbarsTest, AFirstStartStacksTheMenuBarTheToolbarRowsAndTheWaveform)
{
    Start();
    EXPECT_EQ(form->SkinDock1->Top(), 0);
    EXPECT_GT(form->SkinDock1->Height(), 0);
    EXPECT_EQ(form->SkinDock2->Top(), form->SkinDock1->BoundsRect().bottom);
    EXPECT_EQ(form->UpperPanel->Top(), form->SkinDock2->BoundsRect().bottom);
    const std::vector<std::vector<TExtToolbar*>> rows = {
        {form->FileBar, form->ModeBar, form->ZoomBar}, {form->TransportBar, form->Toolbar}};
    int rowTop = -1;
    for (size_t row = 0; row < rows.size(); ++row) {
        const TPlace first = PlaceOf(rows[row].front());
        EXPECT_GT(first.Bounds.top, rowTop) << "row " << row;
        rowTop = first.Bounds.top;
        int right = 0;
        for (TExtToolbar* bar : rows[row]) {
            const TPlace place = PlaceOf(bar);
            EXPECT_EQ(place.Row, static_cast<int>(row)) << bar->Name().c_str();
            EXPECT_EQ(place.Bounds.top, rowTop) << bar->Name().c_str();
            EXPECT_GE(place.Bounds.left, right) << bar->Name().c_str();
            EXPECT_GT(place.Bounds.Width(), 20) << bar->Name().c_str();
            right = place.Bounds.right;
        }
    }
    EXPECT_LE(PlaceOf(form->TransportBar).Bounds.bottom, form->SkinDock2->ClientHeight());
}

TEST_F(ToolbarsTest, TheMenuDockIsOneRowOfTheMenuBarHigh)
{
    Start();
    PumpMessages();
    TExtToolbar* bar = form->MenuBar;
    TBarItemViewer* first = bar->View()->Viewers(0);
    EXPECT_EQ(bar->ClientHeight(), first->BoundsRect().Height());
    EXPECT_EQ(form->SkinDock1->ClientHeight(), bar->Height());
}

namespace {

// Whether window a lies above window b in the z-order.
bool Above(HWND a, HWND b)
{
    for (HWND w = GetWindow(a, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == b)
            return true;
    return false;
}

} // namespace

// With the rename pane open the focus starts in one of its controls, and
// the system raises the window once more when it reports it on the screen.
TEST_F(ToolbarsTest, AToolbarSavedFloatingComesBackAboveTheMainWindowAndStaysThere)
{
    const struct
    {
        const char* name;
        const char* settings;
    } cases[] = {
        {"no pane", ""},
        {"the rename pane open", "[FORM]\r\nSUBWINDOW_NUM=2\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithSettings(c.settings);
        ASSERT_TRUE(ActivateForm(form));
        // Floated over the region list, as a user leaves it.
        RECT list;
        GetWindowRect(form->EditList->Handle(), &list);
        form->ZoomBar->SetFloatOrigin(TPoint(list.left + 20, list.top + 20));
        form->ZoomBar->SetFloating(true);
        PumpMessages();
        CloseAndFree();
        ASSERT_EQ(Settings().ReadString("ZoomBar", "DockedTo", ""), "+");

        Start();
        ASSERT_TRUE(form->ZoomBar->Floating());
        HWND frame = form->ZoomBar->FloatingParent()->Handle();
        HWND main = form->Handle();
        const auto shown = [&] { return Above(frame, main) && ShownOnTheScreen(frame); };
        EXPECT_EQ(GetWindow(frame, GW_OWNER), main);
        EXPECT_TRUE(PumpUntil(shown)) << "at the start";
        EXPECT_FALSE(PumpUntil([&] { return !shown(); }, 500)) << "it went under the window";
        // A click in the list under it gives the list the focus.
        const TRect client = form->EditList->ClientRect();
        RealClick(ScreenPointOf(form->EditList->Handle(), client.right - 10, client.bottom - 10));
        EXPECT_EQ(FocusedWindow(), form->EditList->Handle());
        EXPECT_TRUE(PumpUntil(shown)) << "after a click on the list";
        // Another window active, then the main window again.
        {
            TForm other(nullptr);
            other.SetBounds(list.left, list.top, 200, 100);
            ASSERT_TRUE(ActivateForm(&other));
            ASSERT_TRUE(ActivateForm(form));
            EXPECT_TRUE(PumpUntil(shown)) << "after the main window is activated";
        }
        CloseAndFree();
    }
}

TEST_F(ToolbarsTest, TheChevronOfAClippedToolbarListsItsHiddenItemsAndRunsTheOneClicked)
{
    const std::string wav = WriteHalfSilentWav(folder, "take.wav", 8000, 8000);
    // All five toolbars in the first row: too long for it at the first
    // start's width, the bars clip items.
    WriteSettings("[TransportBar]\r\nRev=2000\r\nDockedTo=SkinDock2\r\nDockRow=0\r\nDockPos=900\r\n"
                  "[Toolbar]\r\nRev=2000\r\nDockedTo=SkinDock2\r\nDockRow=0\r\nDockPos=1200\r\n");
    Start();
    LoadTestDocument(*form, wav);
    ASSERT_TRUE(ActivateForm(form));
    TExtToolbar* bar = form->ModeBar;
    TBarCustomItem* chevron = bar->OverflowItem();
    ASSERT_TRUE(bar->View()->Find(chevron)->Shown()) << "the bar shows no chevron";
    std::vector<TBarCustomItem*> hidden;
    for (int i = 0; i < bar->View()->ViewerCount(); ++i)
        if (bar->View()->Viewers(i)->Clipped())
            hidden.push_back(bar->View()->Viewers(i)->Item());
    ASSERT_FALSE(hidden.empty());

    // The pointer onto the chevron; the loop, idle again, updates the
    // actions (which measures the docked bars anew).
    const POINT at = ScreenCentre(bar->View(), chevron);
    RealMouseMove(at);
    EXPECT_TRUE(chevron->Enabled()) << "the chevron went grey";

    // A click opens its popup below it; a click on the last hidden item (a
    // tool) runs its command, which checks that tool.
    TBarCustomItem* chosen = hidden.back();
    auto* tool = static_cast<TAction*>(chosen->Action());
    ASSERT_FALSE(tool->Checked());
    std::vector<TBarCustomItem*> listed;
    RECT popupRect{};
    bool clicked = false;
    ModalScript script;
    script.WaitUntil([&] { return bar->View()->OpenChildView() != nullptr; }, "the popup opens")
        .Then([&] {
            TBarView* popup = bar->View()->OpenChildView();
            GetWindowRect(popup->Window()->Handle(), &popupRect);
            for (int i = 0; i < popup->ViewerCount(); ++i)
                if (popup->Viewers(i)->Shown())
                    listed.push_back(popup->Viewers(i)->Item());
            const POINT item = ScreenCentre(popup, chosen);
            ModalScript::RealPress(item);
            ModalScript::RealRelease(item);
            clicked = true;
        });
    script.Run([&] {
        ModalScript::RealPress(at);
        ModalScript::RealRelease(at);
        PumpUntil([&] { return clicked && tool->Checked(); });
    });
    EXPECT_EQ(listed, hidden);
    EXPECT_TRUE(tool->Checked());
    EXPECT_TRUE(popupRect.left <= at.x && at.x < popupRect.right && popupRect.top >= at.y)
        << "the popup lies at " << popupRect.left << "," << popupRect.top << "-" << popupRect.right
        << "," << popupRect.bottom << ", not below the chevron at " << at.x << "," << at.y;
}

TEST_F(ToolbarsTest, AFloatingToolbarShowsTheHintOfEachButtonTheMouseRestsOn)
{
    const std::string wav = WriteHalfSilentWav(folder, "take.wav", 8000, 8000);
    Start();
    LoadTestDocument(*form, wav);
    ASSERT_TRUE(ActivateForm(form));
    TExtToolbar* bar = form->ZoomBar;
    bar->SetFloatOrigin(TPoint(form->Left() + 60, form->Top() + 300));
    bar->SetFloating(true);
    PumpMessages();
    // Hovered in turn, as a user moves along the bar.
    const struct
    {
        TAction* action;
        const char* hint;
    } cases[] = {
        {form->actViewZoomIn, "ズームイン(I) (Num +)"},
        {form->actViewZoomAll, "全体を表示(A) (Num /)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hint);
        const POINT centre = ScreenCentre(bar->View(), MenuItemOf(bar->Items(), c.action));
        RealMouseMove({centre.x - 2, centre.y});
        RealMouseMove(centre);
        const auto shows = [&] {
            THintWindow* hint = Application->HintWindow();
            return hint && IsWindowVisible(hint->Handle()) && hint->Caption() == c.hint;
        };
        EXPECT_TRUE(PumpUntil(shows, 3000));
    }
}
