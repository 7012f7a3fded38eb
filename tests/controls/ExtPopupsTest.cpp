// The extended popups on real windows: a popup menu that its handler
// changes before it shows, a submenu's popup that tells how it closed, and
// the extended toolbar's chevron with the items the toolbar hides.
#include "controls/ExtItem.h"

#include "classlib/Actions.h"
#include "controls/ExtToolbarFixture.h"
#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

POINT ScreenCentreOf(TBarItemViewer* viewer)
{
    viewer->View()->EnsureLayout();
    const TRect& r = viewer->BoundsRect();
    TPoint p = viewer->View()->Window()->ClientToScreen(
        TPoint(r.left + r.Width() / 2, r.top + r.Height() / 2));
    return POINT{p.x, p.y};
}

class ExtPopups : public ExtToolbarFixture
{
protected:
    void SetUp() override
    {
        ExtToolbarFixture::SetUp();
        bar->SetCurrentDock(dock);
        form->Show();
    }
    // Presses the bar's viewer of item and runs the menu loop that opens,
    // with the script's steps inside it.
    void PressInLoop(ModalScript& script, TBarCustomItem* item)
    {
        // The mouse left over a popup's place would select what opens there.
        const POINT away = PointBelowTheBar();
        SetCursorPos(away.x, away.y);
        PumpMessages();
        const TRect r = bar->View()->Find(item)->BoundsRect();
        script.Run([&] {
            bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM(r.left + r.Width() / 2, r.top + r.Height() / 2));
        });
        PumpMessages();
    }
    // On the form, outside the bar and its popups.
    POINT PointBelowTheBar()
    {
        const TPoint p = form->ClientToScreen(TPoint(20, form->ClientHeight() - 20));
        return POINT{p.x, p.y};
    }
};

} // namespace

TEST(ExtPopupMenu, InitPopupChangesTheItemsBeforeThePopupShows)
{
    TExtPopupMenu menu(nullptr);
    auto* first = new TExtItem(nullptr);
    first->SetCaption(L"A");
    menu.Items()->Add(first);
    TExtItem* added = nullptr;
    TExtPopupWindowView* prepared = nullptr;
    bool visibleWhenPrepared = true;
    menu.OnInitPopup = [&](TObject* sender, TExtPopupWindowView* view) {
        EXPECT_EQ(sender, &menu);
        prepared = view;
        visibleWhenPrepared =
            view->Window()->HandleAllocated() && IsWindowVisible(view->Window()->WindowHandle());
        first->SetCaption(L"Renamed");
        added = new TExtItem(nullptr);
        // Hangul: "?" in the code page, so only the wide text measures it.
        added->SetCaption(L"\uAC00\uAC00\uAC00\uAC00\uAC00\uAC00\uAC00\uAC00");
        menu.Items()->Add(added);
    };
    TBarPopupView* shownView = nullptr;
    ModalScript script;
    script
        .WaitUntil([&] { return prepared && IsWindowVisible(prepared->Window()->Handle()); },
                   "the menu shows")
        .Then([&] {
            shownView = prepared;
            TBarItemViewer* viewer = prepared->Find(added);
            EXPECT_TRUE(viewer->Shown());
            EXPECT_TRUE(prepared->Find(first)->Shown());
            // The window grew to the added item's wide caption.
            EXPECT_LE(viewer->BoundsRect().right, prepared->Window()->ClientWidth());
            ModalScript::Click(ScreenCentreOf(viewer));
        });
    TBarCustomItem* chosen = nullptr;
    script.Run([&] { chosen = menu.PopupInternally(200, 200); });
    PumpMessages();
    EXPECT_FALSE(visibleWhenPrepared);
    EXPECT_NE(shownView, nullptr);
    EXPECT_EQ(chosen, added);
}

TEST(ExtPopupMenu, AWideCaptionAddedBeforeShowingWidensThePopup)
{
    // The same menu prepared with a caption of the code page and with one
    // outside it that converts to the same ANSI text.
    struct Case
    {
        const wchar_t* caption;
        int width = 0;
    };
    Case cases[] = {{L"A????????"}, {L"A\uAC00\uAC00\uAC00\uAC00\uAC00\uAC00\uAC00\uAC00"}};
    for (Case& c : cases) {
        TExtPopupMenu menu(nullptr);
        menu.Items()->Add(new TExtItem(nullptr));
        TExtPopupWindowView* prepared = nullptr;
        menu.OnInitPopup = [&](TObject*, TExtPopupWindowView* view) {
            prepared = view;
            static_cast<TExtItem*>(menu.Items()->Items(0))->SetCaption(c.caption);
        };
        ModalScript script;
        script
            .WaitUntil([&] { return prepared && IsWindowVisible(prepared->Window()->Handle()); },
                       "the menu shows")
            .Then([&] {
                c.width = prepared->Window()->Width();
                ModalScript::PressKey(VK_ESCAPE);
            });
        script.Run([&] { EXPECT_EQ(menu.PopupInternally(200, 200), nullptr); });
        PumpMessages();
    }
    EXPECT_GT(cases[1].width, cases[0].width);
}

TEST_F(ExtPopups, ASubmenusPopupTellsWhichItemEndedIt)
{
    auto* submenu = AddItem<TExtSubmenuItem>(bar->Items(), L"&Menu");
    auto* inside = AddItem<TExtItem>(submenu, L"&Inside");
    AddItem<TExtItem>(submenu, L"&Other");
    struct Case
    {
        const char* name;
        bool clickInside; // else a click outside the form
        bool toolbarStyle;
    };
    const Case cases[] = {
        {"a click outside", false, false},
        {"a click on an item", true, false},
        {"a click on an item of a toolbar-style popup", true, true},
    };
    for (const Case& c : cases) {
        submenu->SetToolbarStylePopup(c.toolbarStyle);
        std::vector<TBarCustomItem*> closed;
        submenu->OnClosePopup = [&](TObject* sender, TBarCustomItem* clicked) {
            EXPECT_EQ(sender, submenu) << c.name;
            closed.push_back(clicked);
        };
        ModalScript script;
        script
            .WaitUntil([&] { return bar->View()->OpenChildView() != nullptr; }, "the submenu opens")
            .Then([&] {
                TBarView* popup = bar->View()->OpenChildView();
                auto* window = dynamic_cast<TExtPopupWindow*>(popup->Window());
                ASSERT_NE(window, nullptr) << c.name;
                EXPECT_EQ(window->OpeningItem(), submenu) << c.name;
                EXPECT_EQ(popup->Find(inside)->HasBarLook(), c.toolbarStyle) << c.name;
                EXPECT_TRUE(closed.empty()) << c.name;
                ModalScript::Click(c.clickInside ? ScreenCentreOf(popup->Find(inside))
                                                 : PointBelowTheBar());
            });
        PressInLoop(script, submenu);
        ASSERT_EQ(closed.size(), 1u) << c.name;
        EXPECT_EQ(closed[0], c.clickInside ? inside : nullptr) << c.name;
    }
}

TEST_F(ExtPopups, AlwaysSelectFirstOpensWithTheFirstItemSelected)
{
    auto* submenu = AddItem<TExtSubmenuItem>(bar->Items(), L"&Menu");
    auto* first = AddItem<TExtItem>(submenu, L"&First");
    AddItem<TExtItem>(submenu, L"&Second");
    for (bool selectFirst : {false, true}) {
        submenu->SetAlwaysSelectFirst(selectFirst);
        TBarCustomItem* selected = first->Parent(); // not an answer the step can give
        ModalScript script;
        script
            .WaitUntil([&] { return bar->View()->OpenChildView() != nullptr; }, "the submenu opens")
            .Then([&] {
                TBarItemViewer* viewer = bar->View()->OpenChildView()->Selected();
                selected = viewer ? viewer->Item() : nullptr;
                ModalScript::Click(PointBelowTheBar());
            });
        PressInLoop(script, submenu);
        EXPECT_EQ(selected, selectFirst ? first : nullptr) << selectFirst;
    }
}

TEST_F(ExtPopups, TheChevronShowsTheHiddenItemsWhichRunTheirActions)
{
    std::vector<std::wstring> executed;
    std::vector<TExtItem*> items;
    for (const wchar_t* caption : {L"&One", L"&Two", L"T&hree", L"&Four", L"Fi&ve"}) {
        auto* action = new TAction(form);
        action->OnExecute = [&executed, caption](TObject*) { executed.push_back(caption); };
        auto* item = AddItem<TExtItem>(bar->Items(), caption);
        item->SetAction(action);
        item->SetCaption(caption); // the action's empty caption replaced it
        items.push_back(item);
    }
    PumpMessages();
    const int wide = bar->Width();
    form->SetClientWidth(wide / 2);
    PumpMessages();
    TBarView* view = bar->View();
    view->EnsureLayout();
    ASSERT_NE(dynamic_cast<TExtChevronItem*>(bar->OverflowItem()), nullptr);
    TBarItemViewer* chevron = view->Find(bar->OverflowItem());
    ASSERT_TRUE(chevron->Shown());
    EXPECT_NE(dynamic_cast<TSkinChevronItemViewer*>(chevron), nullptr);
    TExtItem* hidden = nullptr;
    for (TExtItem* item : items)
        if (view->Find(item)->Clipped())
            hidden = item;
    ASSERT_NE(hidden, nullptr);

    ModalScript script;
    script.WaitUntil([&] { return view->OpenChildView() != nullptr; }, "the chevron opens")
        .Then([&] {
            TBarView* popup = view->OpenChildView();
            EXPECT_NE(dynamic_cast<TExtChevronPopupWindow*>(popup->Window()), nullptr);
            for (TExtItem* item : items)
                EXPECT_EQ(popup->Find(item)->Shown(), view->Find(item)->Clipped())
                    << static_cast<TBarCustomItem*>(item)->Caption();
            ModalScript::Click(ScreenCentreOf(popup->Find(hidden)));
        });
    PressInLoop(script, bar->OverflowItem());
    EXPECT_EQ(executed, std::vector<std::wstring>{hidden->Caption()});

    form->SetClientWidth(wide + 40); // room again: no chevron
    PumpMessages();
    view->EnsureLayout();
    EXPECT_FALSE(view->Find(bar->OverflowItem())->Shown());
}
