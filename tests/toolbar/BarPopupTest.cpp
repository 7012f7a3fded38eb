// Popup windows opened by their items: the window, where it goes, how it
// shows and prints, chevron popups, linked items, and the popup menu
// component.
#include "BarTestHost.h"

#include "toolbar/BarCommon.h"

#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include "classlib/Application.h"
#include "classlib/ImageList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bar_testing;
using namespace testing_support;

namespace {

// How each popup window of the recording class was told it showed.
std::vector<WPARAM> gShownNotes;
bool gSuppressAnimation = false;

class TRecordingPopup : public TBarPopupWindow
{
public:
    using TBarPopupWindow::TBarPopupWindow;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_BAR_POPUPSHOWN) {
            gShownNotes.push_back(message.WParam);
            message.Result = message.WParam == 1 && gSuppressAnimation ? 1 : 0;
            return;
        }
        TBarPopupWindow::WndProc(message);
    }
};

// An item whose children open in recording popups.
class TRecordingSubmenu : public TTraitItem
{
public:
    explicit TRecordingSubmenu(const AnsiString& caption) : TTraitItem(caption, OpensPopup) {}
    TBarPopupWindowClass PopupClassForItem() override { return NewBarPopupWindow<TRecordingPopup>; }
};

// An item whose popups never sound.
class TQuietSubmenu : public TTraitItem
{
public:
    explicit TQuietSubmenu(const AnsiString& caption) : TTraitItem(caption, OpensPopup) {}
    void PlacePopupWindow(TBarView* ParentView, TBarPopupWindow* Window,
                          TBarPopupPositionRec& Rec) override
    {
        TTraitItem::PlacePopupWindow(ParentView, Window, Rec);
        Rec.PlaySound = false;
    }
};

TBarCustomItem* Submenu(TBarCustomItem* parent, const AnsiString& caption)
{
    auto* item = new TTraitItem(caption, OpensPopup);
    parent->Add(item);
    return item;
}

TRect ScreenBounds(TBarView* view, TBarCustomItem* item)
{
    view->EnsureLayout();
    TRect r = view->Find(item)->BoundsRect();
    TPoint origin = view->Window()->ClientToScreen(TPoint(0, 0));
    OffsetRect(&r, origin.x, origin.y);
    return r;
}

TRect WindowRect(TWinControl* window)
{
    RECT r;
    GetWindowRect(window->WindowHandle(), &r);
    return r;
}

class BarPopups : public PopupTest
{
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        SetCursorPos(1270, 1010); // away from every popup
    }
    // Opens the popup of item, a child of the bar's root.
    TBarView* Open(TBarView* view, TBarCustomItem* item, bool selectFirst = false)
    {
        view->ChangeSelection(view->Find(item), false);
        EXPECT_TRUE(view->ShowChildPopup(selectFirst));
        return view->OpenChildView();
    }
};

TEST_F(BarPopups, APopupIsAFramedTopmostWindowBelowItsOpenerThatNeverTakesTheActivation)
{
    TBarView* bar = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* file = Submenu(host->Root(), "&File");
    TBarCustomItem* recent = Submenu(file, "&Recent");
    AddItem(recent, "one.wav");
    AddItem(file, "E&xit");
    TBarView* popup = Open(bar, file);
    ASSERT_NE(popup, nullptr);
    HWND window = popup->Window()->WindowHandle();
    EXPECT_TRUE(IsWindowVisible(window));
    LONG style = GetWindowLongA(window, GWL_STYLE);
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindow(window, GW_OWNER), Application->Handle());
    // A 3-pixel frame on each side.
    TRect outer = WindowRect(popup->Window());
    TPoint clientOrigin = popup->Window()->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(clientOrigin, TPoint(outer.left + kBarPopupBorder, outer.top + kBarPopupBorder));
    EXPECT_EQ(popup->Window()->ClientWidth(), outer.Width() - 2 * kBarPopupBorder);
    // Below its item, the left edges lined up (unless the system drops
    // menus right-aligned).
    TRect opener = ScreenBounds(bar, file);
    EXPECT_EQ(outer.top, opener.bottom);
    EXPECT_EQ(GetSystemMetrics(SM_MENUDROPALIGNMENT) ? outer.right : outer.left,
              GetSystemMetrics(SM_MENUDROPALIGNMENT) ? opener.right : opener.left);
    EXPECT_EQ(SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(window),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window)) << "WM_CLOSE is ignored";

    // Its submenu overlaps its frame and lines up with its item.
    TBarView* submenu = Open(popup, recent);
    ASSERT_NE(submenu, nullptr);
    TRect item = ScreenBounds(popup, recent);
    TRect beside = WindowRect(submenu->Window());
    EXPECT_EQ(TPoint(beside.left, beside.top),
              TPoint(item.right - kBarPopupBorder, item.top - kBarPopupBorder));
    EXPECT_FALSE(submenu->HasViewState(bvsOpensLeftward));
    bar->ShutChildPopups();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(BarPopups, TheWindowIsToldHowItShowed)
{
    struct Case
    {
        const char* name;
        bool animation;
        bool suppress;
        bool selectFirst;
        std::vector<WPARAM> notes;
    } cases[] = {
        {"no animation", false, false, false, {3}},
        {"rolled out", true, false, false, {1, 2}},
        {"the window declines the animation", true, true, false, {1, 3}},
        {"opened with a selection", true, false, true, {3}},
    };
    for (const Case& c : cases) {
        TBarView* bar = Host(TViewHost::Kind::Toolbar);
        auto* file = new TRecordingSubmenu("&File");
        host->Root()->Add(file);
        AddItem(file, "&Open");
        BarSeams().MenuAnimation = [&c] { return c.animation; };
        gSuppressAnimation = c.suppress;
        gShownNotes.clear();
        TBarView* popup = Open(bar, file, c.selectFirst);
        ASSERT_NE(popup, nullptr) << c.name;
        PumpUntil([&] { return gShownNotes.size() >= c.notes.size(); });
        EXPECT_EQ(gShownNotes, c.notes) << c.name;
        EXPECT_TRUE(IsWindowVisible(popup->Window()->WindowHandle())) << c.name;
        bar->ShutChildPopups();
    }
    gSuppressAnimation = false;
}

TEST_F(BarPopups, APopupSoundsBeforeItShowsUnlessItsPlacementSaysNo)
{
    TBarView* bar = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* file = Submenu(host->Root(), "&File");
    AddItem(file, "&Open");
    auto* quiet = new TQuietSubmenu("&Quiet");
    host->Root()->Add(quiet);
    AddItem(quiet, "&Hush");
    struct Sound
    {
        AnsiString name;
        bool popupShowing;
    };
    std::vector<Sound> sounds;
    BarSeams().SoundEventAssigned = [](const AnsiString& name) { return name == "MenuPopup"; };
    BarSeams().PlaySoundEvent = [&](const AnsiString& name) {
        bool showing = false;
        for (TBarPopupWindow* popup : ThreadPopupWindows())
            showing = showing || IsWindowVisible(popup->WindowHandle());
        sounds.push_back({name, showing});
    };
    // The process's very first sounded popup paints first; every later one
    // starts its sound first.
    for (int i = 0; i < 2; ++i) {
        Open(bar, file);
        bar->ShutChildPopups();
    }
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[1].name, "MenuPopup");
    EXPECT_FALSE(sounds[1].popupShowing);
    Open(bar, quiet);
    EXPECT_TRUE(IsWindowVisible(bar->OpenPopupWindow()->WindowHandle()));
    bar->ShutChildPopups();
    EXPECT_EQ(sounds.size(), 2u) << "the quiet item's popup made no sound";
}

TEST_F(BarPopups, PrintingShowsTheFrameAndTheScrollArrows)
{
    TBarView* bar = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* file = Submenu(host->Root(), "&File");
    TMenuFontMetrics font;
    int rows = MonitorRectAtPoint(TPoint(0, 0), true).Height() / font.TextHeight() + 2;
    for (int i = 0; i < rows; ++i)
        AddItem(file, "Item " + std::to_string(i));
    for (bool flat : {true, false}) {
        SCOPED_TRACE(flat ? "flat menus" : "raised menus");
        BarSeams().FlatMenus = [flat] { return flat; };
        TBarView* popup = Open(bar, file);
        ASSERT_NE(popup, nullptr);
        ASSERT_TRUE(popup->ShowsDownArrow());
        ASSERT_FALSE(popup->ShowsUpArrow());
        TWinControl* window = popup->Window();
        TRect outer = WindowRect(window);
        TBitmap picture;
        picture.SetPixelFormat(TPixelFormat::pf32bit);
        picture.SetSize(outer.Width(), outer.Height());
        SendMessageA(window->WindowHandle(), WM_PRINT,
                     reinterpret_cast<WPARAM>(picture.Canvas()->Handle()),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        TCanvas* c = picture.Canvas();
        COLORREF menu = GetSysColor(COLOR_MENU);
        if (flat) {
            EXPECT_EQ(c->Pixel(0, 0), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
            EXPECT_EQ(c->Pixel(1, 1), static_cast<TColor>(menu));
        } else {
            EXPECT_EQ(c->Pixel(outer.Width() - 1, outer.Height() - 1),
                      static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW)));
            EXPECT_EQ(c->Pixel(2, 2), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
        }
        // The down arrow: a triangle in the middle of the bottom strip.
        int clientWidth = window->ClientWidth();
        int stripTop = kBarPopupBorder + window->ClientHeight() - kBarScrollArrowHeight;
        int x = kBarPopupBorder + (clientWidth - 7) / 2;
        int y = stripTop + (kBarScrollArrowHeight - 4) / 2;
        EXPECT_EQ(c->Pixel(x + 3, y + 1), static_cast<TColor>(GetSysColor(COLOR_MENUTEXT)));
        EXPECT_EQ(c->Pixel(x + 3, y + 3), static_cast<TColor>(GetSysColor(COLOR_MENUTEXT)))
            << "the tip";
        EXPECT_EQ(c->Pixel(kBarPopupBorder + 1, y + 1), static_cast<TColor>(menu));
        EXPECT_EQ(c->Pixel(x + 3, y - 2), static_cast<TColor>(menu)) << "above the triangle";
        bar->ShutChildPopups();
    }
}

TEST_F(BarPopups, AChevronPopupShowsTheItemsItsBarClippedAsButtons)
{
    TBarView* bar = Host(TViewHost::Kind::ChevronToolbar);
    TBarCustomItem* one = AddItem(host->Root(), "&One");
    TBarCustomItem* two = AddItem(host->Root(), "&Two");
    TBarCustomItem* three = AddItem(host->Root(), "T&hree");
    TBarCustomItem* four = AddItem(host->Root(), "&Four");
    bar->EnsureLayout();
    bar->SetMaximumSize(bar->Find(one)->BoundsRect().Width() +
                        bar->Find(two)->BoundsRect().Width() + bar->ChevronSize());
    bar->EnsureLayout();
    TBarItemViewer* chevron = bar->Viewers(bar->ViewerCount() - 1);
    ASSERT_TRUE(chevron->Shown());
    bar->ChangeSelection(chevron, false);
    ASSERT_TRUE(bar->ShowChildPopup(false));
    TBarView* popup = bar->OpenChildView();
    EXPECT_EQ(popup->ChevronParentView(), bar);
    EXPECT_TRUE(popup->LaysOutAsToolbar());
    EXPECT_EQ(popup->ParentItem(), host->Root());
    EXPECT_FALSE(popup->Find(one)->Shown());
    EXPECT_FALSE(popup->Find(two)->Shown());
    EXPECT_TRUE(popup->Find(three)->Shown());
    EXPECT_TRUE(popup->Find(four)->Shown());
    EXPECT_TRUE(popup->Find(three)->HasBarLook());
    EXPECT_EQ(popup->Window()->Color(), clBtnFace);
    // Below the chevron, the right edges lined up.
    TRect outer = WindowRect(popup->Window());
    TPoint origin = host->ClientToScreen(TPoint(0, 0));
    TRect chevronOnScreen = chevron->BoundsRect();
    OffsetRect(&chevronOnScreen, origin.x, origin.y);
    EXPECT_EQ(outer.right, chevronOnScreen.right);
    EXPECT_EQ(outer.top, chevronOnScreen.bottom);
    bar->ShutChildPopups();
}

TEST_F(BarPopups, OpeningAPopupRunsThePopupEventsOfItsLinkedItemFirst)
{
    TBarView* bar = Host(TViewHost::Kind::Toolbar);
    TBarRootItem shared(nullptr);
    AddItem(&shared, "&Shared");
    TBarCustomItem* view = Submenu(host->Root(), "&View");
    view->SetLinkSubitems(&shared);
    std::vector<std::string> events;
    auto record = [&](const char* who) {
        return TBarPopupEvent([&events, who](TBarCustomItem* sender, bool fromLink) {
            events.push_back(std::string(who) + " for " + sender->Caption() +
                             (fromLink ? " (linked)" : ""));
        });
    };
    shared.OnPopup = record("shared");
    view->OnPopup = record("view");
    TBarView* popup = Open(bar, view);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"shared for &View (linked)", "view for &View"}));
    EXPECT_EQ(popup->ShownItem(), &shared);
    bar->ShutChildPopups();
}

TEST_F(BarPopups, APopupShowsTheHintOfItsSelection)
{
    TBarView* bar = Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* file = Submenu(host->Root(), "&File");
    TBarCustomItem* open = AddItem(file, "&Open...");
    open->SetHint("Open|Opens a sound file");
    TBarView* popup = Open(bar, file, true);
    THintInfo info;
    EXPECT_EQ(popup->Window()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, "Open");
    EXPECT_EQ(info.CursorRect, popup->Find(open)->BoundsRect());
    popup->ChangeSelection(nullptr, false);
    EXPECT_NE(popup->Window()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0)
        << "nothing selected: no hint";
    bar->ShutChildPopups();
}

TEST_F(BarPopups, SubmenusAtTheRightEdgeOpenLeftwardAndTheirSubmenusFollow)
{
    TBarRootItem root(nullptr);
    TBarCustomItem* level1 = Submenu(&root, "&Deeper");
    TBarCustomItem* level2 = Submenu(level1, "&Deeper still");
    AddItem(level2, "&Bottom");
    TRect screen = MonitorRectAtPoint(TPoint(0, 0), true);
    std::vector<TRect> levels;
    std::vector<bool> leftward;
    auto recordLevels = [&] {
        for (TBarView* v = StandalonePopupView(); v; v = v->OpenChildView()) {
            levels.push_back(WindowRect(v->Window()));
            leftward.push_back(v->HasViewState(bvsOpensLeftward));
        }
    };
    ModalScript script;
    for (WORD key : {VK_DOWN, VK_RIGHT, VK_RIGHT})
        script.Then([key] { ModalScript::PressKey(key); });
    script.Then(recordLevels);
    for (int i = 0; i < 3; ++i)
        script.Then([] { ModalScript::PressKey(VK_ESCAPE); });
    script.Run([&] { root.Popup(screen.right - 10, 100, false); });
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0].right, screen.right - 10) << "a menu at a point turns left of it";
    EXPECT_EQ(leftward, (std::vector<bool>{false, true, true}));
    // Each submenu ends where its item starts, over the parent's frame.
    for (size_t i = 1; i < levels.size(); ++i)
        EXPECT_EQ(levels[i].right, levels[i - 1].left + 2 * kBarPopupBorder) << "level " << i;
}

TEST_F(BarPopups, APopupMenuHandsItsPropertiesAndShortcutsToItsRoot)
{
    TBarPopupMenu menu(nullptr);
    TCustomImageList images(nullptr);
    menu.SetImages(&images);
    menu.SetOptions(tboShowHint);
    EXPECT_EQ(menu.Items()->SubMenuImages(), &images);
    EXPECT_EQ(menu.Items()->Options(), tboShowHint);
    EXPECT_EQ(menu.Items()->ParentComponent(), &menu);
    TBarCustomItem* save = AddItem(menu.Items(), "&Save");
    save->SetShortCut(ShortCut('S', ssCtrl));
    int saved = 0;
    int popups = 0;
    save->OnClick = TNotifyEvent([&](TObject*) { ++saved; });
    menu.OnPopup = TNotifyEvent([&](TObject*) { ++popups; });
    TPopupMenuBase* asControlsSeeIt = &menu;
    EXPECT_FALSE(asControlsSeeIt->IsShortCut('S', ssShift));
    EXPECT_TRUE(asControlsSeeIt->IsShortCut('S', ssCtrl));
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(popups, 1) << "the found shortcut opens the menu as a click would";
    menu.SetImages(nullptr);
}

} // namespace
