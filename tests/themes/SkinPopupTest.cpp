// Themed popups: the theme's border, frame, background, colour and scroll
// arrows; the view type; drop shadows by the theme's kind and never on list
// popups; a theme switch while a popup is open; the hint under the mouse;
// and a menu opened at a rectangle.
#include "RecordingTheme.h"
#include "SkinTestHost.h"

#include "themes/SkinUtils.h"

#include "classlib/Graphics.h"
#include "classlib/TextUtils.h"
#include "support/FormFixture.h"
#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

using namespace theme_testing;
using namespace testing_support;

namespace {

// A popup that says it shows a list.
class TListKindPopup : public TSkinPopupWindow
{
public:
    using TSkinPopupWindow::TSkinPopupWindow;
    DWORD ViewKind() override { return vkListPopup; }
};

TRect WindowRectOf(TWinControl* window)
{
    RECT r;
    GetWindowRect(window->WindowHandle(), &r);
    return r;
}

int LowestShadowEdge(TShadows* shadow)
{
    int bottom = INT_MIN;
    for (int i = 0; i < shadow->Count(); ++i)
        bottom = std::max<int>(bottom, shadow->Strip(i)->BoundsRect().bottom);
    return bottom;
}

class ThemedPopups : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        SetCursorPos(1270, 1010); // away from every popup
    }
    void TearDown() override
    {
        popup.reset();
        FreeAndNil(host);
        delete submenu;
        FormFixture::TearDown();
    }
    // A toolbar whose "File" button opens a popup of two items.
    TSkinPopupWindow* OpenFromToolbar()
    {
        host = new ThemedViewHost(form, true, vkToolbar);
        auto* file = new TestSubmenuItem("&File", false);
        AddSkinItem(file, "&Open");
        AddSkinItem(file, "E&xit");
        host->Root()->Add(file);
        form->Show();
        TBarView* view = host->View();
        view->ChangeSelection(view->Find(file), false);
        EXPECT_TRUE(view->ShowChildPopup(false));
        return static_cast<TSkinPopupWindow*>(view->OpenPopupWindow());
    }
    // A popup of count items standing alone at (100, 100).
    TSkinPopupWindow* OpenAtPoint(int count = 2)
    {
        popup.reset();
        delete submenu;
        submenu = new TestSubmenuItem("Menu", false);
        for (int i = 0; i < count; ++i)
            AddSkinItem(submenu, "Item " + IntToStr(i));
        popup.reset(
            submenu->CreatePopup(nullptr, nullptr, false, false, TPoint(100, 100), bpaLeft));
        return static_cast<TSkinPopupWindow*>(popup.get());
    }

    TRecordingTheme* recording = UseRecordingTheme();
    ThemedViewHost* host = nullptr;         // owned
    TestSubmenuItem* submenu = nullptr;     // owned
    std::unique_ptr<TBarPopupWindow> popup; // a popup standing alone
};

} // namespace

TEST_F(ThemedPopups, APopupHasTheThemesBorderFrameBackgroundAndColour)
{
    TSkinPopupWindow* window = OpenFromToolbar();
    ASSERT_NE(window, nullptr);
    HWND handle = window->WindowHandle();
    EXPECT_EQ(SendMessageA(handle, WM_SKIN_VIEWTYPE, 0, 0), vkPopupMenu);
    EXPECT_EQ(AskViewType(window->View()), static_cast<DWORD>(vkPopupMenu));
    EXPECT_EQ(window->Color(), RecordingThemeAnswers().ViewColor);

    // The recording theme's 5-pixel border on each side.
    const TRect outer = WindowRectOf(window);
    EXPECT_EQ(window->ClientToScreen(TPoint(0, 0)), TPoint(outer.left + 5, outer.top + 5));
    EXPECT_EQ(window->ClientWidth(), outer.Width() - 10);
    EXPECT_EQ(window->ClientHeight(), outer.Height() - 10);

    // The frame is told where the opening button lies, in its own
    // coordinates, so that it can leave the joint open.
    TBarView* bar = host->View();
    TRect button = bar->Find(host->Root()->Items(0))->BoundsRect();
    const TPoint barOrigin = host->ClientToScreen(TPoint(0, 0));
    OffsetRect(&button, barOrigin.x - outer.left, barOrigin.y - outer.top);
    recording->Calls.clear();
    RedrawWindow(handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<ThemeCall> frames = recording->Of("DrawPopupEdge");
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().Rect, TRect(0, 0, outer.Width(), outer.Height()));
    EXPECT_EQ(frames.back().OpenerRect, button);
    EXPECT_EQ(frames.back().Number, vkPopupMenu);
    const std::vector<ThemeCall> backs = recording->Of("DrawViewBack");
    ASSERT_FALSE(backs.empty());
    EXPECT_EQ(backs.back().Rect, window->ClientRect());
    EXPECT_EQ(backs.back().Color, RecordingThemeAnswers().ViewColor);
    EXPECT_EQ(recording->Of("DrawMenuEntry").size(), 2u) << "both rows";

    // A popup standing alone has no opener to join.
    TSkinPopupWindow* alone = OpenAtPoint();
    recording->Calls.clear();
    RedrawWindow(alone->WindowHandle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(recording->Of("DrawPopupEdge").empty());
    EXPECT_TRUE(recording->Of("DrawPopupEdge").back().OpenerRect.IsEmpty());

    TSkinChevronPopupWindow chevron(nullptr, nullptr, submenu, false);
    EXPECT_EQ(chevron.Perform(WM_SKIN_VIEWTYPE, 0, 0), vkChevronPopup);
    bar->ShutChildPopups();
}

TEST_F(ThemedPopups, TheClassDropShadowFollowsTheThemeButNeverFallsOnAList)
{
    struct Case
    {
        int kind;
        bool list;
        bool shadow;
    };
    const Case cases[] = {{1, false, true}, {0, false, false}, {2, false, false}, {1, true, false}};
    TestSubmenuItem item("Menu", false);
    for (const Case& c : cases) {
        RecordingThemeAnswers().ShadowStyle = c.kind;
        std::unique_ptr<TSkinPopupWindow> window(
            c.list ? new TListKindPopup(nullptr, nullptr, &item, false)
                   : new TSkinPopupWindow(nullptr, nullptr, &item, false));
        HWND handle = window->Handle();
        const auto style = GetClassLongPtrA(handle, GCL_STYLE);
        EXPECT_EQ((style & CS_DROPSHADOW) != 0, c.shadow) << c.kind << " " << c.list;
        EXPECT_FALSE(style & CS_DBLCLKS);
        char name[64] = {};
        GetClassNameA(handle, name, sizeof(name));
        EXPECT_EQ(AnsiString(name).back() == 'S', c.shadow) << name;
    }
}

TEST_F(ThemedPopups, ShadowWindowsComeWhenThePopupShowsAndGoWhenItHides)
{
    struct Case
    {
        const char* what;
        int kind;
        bool fromToolbar;
        bool list;
        int strips; // 0: no shadow; -1: more than one rectangle's two
    };
    const Case cases[] = {
        {"kind 2 at a point", 2, false, false, 2},
        {"kind 2 from a toolbar: the button casts one too", 2, true, false, -1},
        {"kind 3 from a toolbar: the popup alone", 3, true, false, 2},
        {"kind 1: the class's", 1, false, false, 0},
        {"none", 0, false, false, 0},
        {"a list", 2, false, true, 0},
    };
    for (const Case& c : cases) {
        RecordingThemeAnswers().ShadowStyle = c.kind;
        popup.reset();
        FreeAndNil(host);
        TSkinPopupWindow* window = nullptr;
        std::unique_ptr<TListKindPopup> list;
        if (c.list) {
            OpenAtPoint();
            popup.reset();
            list.reset(new TListKindPopup(nullptr, nullptr, submenu, false));
            list->SetBounds(100, 100, 80, 60);
            list->SetVisible(true);
            window = list.get();
        } else {
            window = c.fromToolbar ? OpenFromToolbar() : OpenAtPoint();
        }
        ASSERT_NE(window, nullptr) << c.what;
        if (!c.strips) {
            EXPECT_EQ(window->Shadow(), nullptr) << c.what;
            continue;
        }
        ASSERT_NE(window->Shadow(), nullptr) << c.what;
        if (c.strips > 0)
            EXPECT_EQ(window->Shadow()->Count(), c.strips) << c.what;
        else
            EXPECT_GT(window->Shadow()->Count(), 2) << c.what;
        // Moved, the shadow follows; hidden, it goes.
        // (The lowest strip is the popup's, not its opener's.)
        const int before = LowestShadowEdge(window->Shadow());
        window->SetBounds(window->Left(), window->Top() + 7, window->Width(), window->Height());
        ASSERT_NE(window->Shadow(), nullptr) << c.what;
        EXPECT_EQ(LowestShadowEdge(window->Shadow()), before + 7) << c.what;
        window->SetVisible(false);
        EXPECT_EQ(window->Shadow(), nullptr) << c.what;
        if (host)
            host->View()->ShutChildPopups();
    }
}

TEST_F(ThemedPopups, ASwitchOfThemeWhileOpenTakesTheNewBorderColourAndShadow)
{
    RecordingThemeAnswers().ShadowStyle = 2;
    TSkinPopupWindow* window = OpenAtPoint();
    ASSERT_NE(window->Shadow(), nullptr);
    EXPECT_EQ(window->ClientWidth(), window->Width() - 10);
    const int contentWidth = window->ClientWidth();

    SwitchTheme("Default");
    SIZE edge = {};
    CurrentTheme()->ViewEdgeWidth(vkPopupMenu, edge);
    EXPECT_EQ(window->Shadow(), nullptr) << "the default theme's shadow is the class's";
    EXPECT_EQ(window->ClientWidth(), window->Width() - 2 * edge.cx);
    EXPECT_NE(window->ClientWidth(), contentWidth) << "measured again by the new theme";
    EXPECT_EQ(window->Color(), CurrentTheme()->ViewFillColor(vkPopupMenu));
    EXPECT_TRUE(IsWindowVisible(window->WindowHandle()));

    recording = UseRecordingTheme();
    EXPECT_NE(window->Shadow(), nullptr) << "the recording theme casts shadow windows";
    EXPECT_EQ(window->ClientWidth(), window->Width() - 10);
}

TEST_F(ThemedPopups, ScrollArrowsAreTheThemesScrollButtons)
{
    TSkinPopupWindow* window = OpenAtPoint(120);
    ASSERT_TRUE(window->View()->ShowsDownArrow());
    recording->Calls.clear();
    RedrawWindow(window->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<ThemeCall> arrows = recording->Of("DrawScrollArrowButton");
    ASSERT_EQ(arrows.size(), 1u);
    const TRect client = window->ClientRect();
    EXPECT_EQ(arrows[0].Rect,
              TRect(0, client.bottom - kBarScrollArrowHeight, client.right, client.bottom));
    EXPECT_EQ(arrows[0].Number, 1) << "down";
    EXPECT_FALSE(arrows[0].Flag);
}

TEST_F(ThemedPopups, TheHintIsTheItemsUnderTheMouse)
{
    TSkinPopupWindow* window = OpenAtPoint(3);
    submenu->Items(1)->SetHint("The second");
    TBarItemViewer* second = window->View()->Find(submenu->Items(1));
    THintInfo info;
    info.CursorPos = TPoint(second->BoundsRect().left + 2, second->BoundsRect().top + 2);
    EXPECT_EQ(window->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, "The second");
    EXPECT_EQ(info.CursorRect, second->BoundsRect());
    info.CursorPos = TPoint(-5, -5);
    EXPECT_EQ(window->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 1);
}

TEST_F(ThemedPopups, AMenuShownAtARectangleOpensBelowItAndAnswersTheChosenItem)
{
    const TRect at(200, 200, 260, 220);
    struct Case
    {
        const char* what;
        TBarPopupAlignment alignment;
        std::vector<WORD> keys;
        int chosen; // -1: none
    };
    const Case cases[] = {
        {"the second item", bpaLeft, {VK_DOWN, VK_DOWN, VK_RETURN}, 1},
        {"right-aligned, cancelled", bpaRight, {VK_ESCAPE}, -1},
    };
    for (const Case& c : cases) {
        TSkinPopupMenu menu(nullptr);
        menu.SetAlignment(c.alignment);
        int clicks[2] = {0, 0};
        for (int i = 0; i < 2; ++i) {
            TSkinCustomItem* item = AddSkinItem(menu.Items(), "Item " + IntToStr(i));
            item->OnClick = [&clicks, i](TObject*) { ++clicks[i]; };
        }
        HWND shown = nullptr;
        TRect placed, opener;
        ModalScript script;
        script.WaitUntil(
            [&] {
                shown = FindWindowA("TSkinPopupWindow", nullptr);
                return shown && IsWindowVisible(shown);
            },
            "the menu shows");
        script.Then([&] {
            RECT r;
            GetWindowRect(shown, &r);
            placed = r;
            recording->Calls.clear();
            RedrawWindow(shown, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            if (!recording->Of("DrawPopupEdge").empty())
                opener = recording->Of("DrawPopupEdge").back().OpenerRect;
        });
        for (WORD key : c.keys)
            script.Then([key] { ModalScript::PressKey(key); });
        TBarCustomItem* chosen = nullptr;
        script.Run([&] { chosen = menu.ShowPopupAt(at); });
        PumpMessages();

        EXPECT_EQ(placed.top, at.bottom) << c.what;
        if (c.alignment == bpaRight)
            EXPECT_EQ(placed.right, at.right) << c.what;
        else
            EXPECT_EQ(placed.left, at.left) << c.what;
        TRect expectedOpener = at;
        OffsetRect(&expectedOpener, -placed.left, -placed.top);
        EXPECT_EQ(opener, expectedOpener) << c.what;
        EXPECT_EQ(chosen, c.chosen < 0 ? nullptr : menu.Items()->Items(c.chosen)) << c.what;
        EXPECT_EQ(clicks[1], c.chosen == 1 ? 1 : 0) << c.what;
        EXPECT_EQ(clicks[0], 0) << c.what;
        EXPECT_FALSE(menu.SkinItems()->HasPopupRect()) << c.what;
    }
}
