// What screen readers see of toolbars and menus: the objects of views and
// viewers called directly, one round trip through the system, the requests
// they queue, and the win events of a menu.
#include "BarTestHost.h"

#include "toolbar/BarAcc.h"
#include "toolbar/BarCommon.h"

#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include "classlib/ShortCut.h"
#include "classlib/StandardControls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bar_testing;
using namespace testing_support;

namespace {

VARIANT Child(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

const VARIANT kSelf = Child(CHILDID_SELF);

// A string answer as text; empty for no string.
std::wstring Text(HRESULT& result, const std::function<HRESULT(BSTR*)>& call)
{
    BSTR text = nullptr;
    result = call(&text);
    std::wstring value = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return value;
}

long Number(IAccessible* object,
            HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, VARIANT*))
{
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ((object->*getter)(kSelf, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    return v.lVal;
}

std::wstring Name(IAccessible* object)
{
    HRESULT result;
    return Text(result, [&](BSTR* out) { return object->get_accName(kSelf, out); });
}

std::wstring DefaultAction(IAccessible* object)
{
    HRESULT result;
    return Text(result, [&](BSTR* out) { return object->get_accDefaultAction(kSelf, out); });
}

class BarAccessibility : public PopupTest
{
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        ASSERT_TRUE(BarAccessibilityAvailable()) << "the system's accessibility library";
    }
    IAccessible* ObjectOf(TBarCustomItem* item)
    {
        host->View()->EnsureLayout();
        return host->View()->Find(item)->AccObject();
    }
    static TBarCustomItem* Submenu(TBarCustomItem* parent, const AnsiString& caption)
    {
        auto* item = new TTraitItem(caption, OpensPopup);
        parent->Add(item);
        return item;
    }
};

TEST_F(BarAccessibility, ViewersReportTheirRoleStateAndDefaultAction)
{
    Host(TViewHost::Kind::Toolbar);
    ASSERT_TRUE(ActivateForm(form));
    TBarCustomItem* print = AddItem(host->Root(), "&Print");
    TBarSeparatorItem* separator = AddSeparator(host->Root());
    TBarCustomItem* tools = Submenu(host->Root(), "&Tools");
    TBarCustomItem* off = AddItem(host->Root(), "&Off");
    off->SetEnabled(false);
    TBarCustomItem* grid = AddItem(host->Root(), "&Grid");
    grid->SetChecked(true);
    TBarCustomItem* gone = AddItem(host->Root(), "&Hidden");
    gone->SetVisible(false);
    auto* controlItem = new TBarControlItem(nullptr);
    auto* edit = new TEdit(nullptr);
    edit->SetParent(host);
    controlItem->SetControl(edit);
    host->Root()->Add(controlItem);
    host->View()->ChangeSelection(host->View()->Find(print), false);
    struct Case
    {
        TBarCustomItem* item;
        long role;
        long state;
        const wchar_t* action;
    } cases[] = {
        {print, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSABLE, L"Press"},
        {separator, ROLE_SYSTEM_SEPARATOR, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE,
         L"Press"},
        {tools, ROLE_SYSTEM_BUTTONMENU, STATE_SYSTEM_HASPOPUP | STATE_SYSTEM_FOCUSABLE, L"Open"},
        {off, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE, L"Press"},
        {grid, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED, L"Press"},
        {gone, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_INVISIBLE, L"Press"},
        {controlItem, ROLE_SYSTEM_CLIENT, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE,
         L"Press"},
    };
    for (const Case& c : cases) {
        IAccessible* object = ObjectOf(c.item);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(Number(object, &IAccessible::get_accRole), c.role) << c.item->Caption();
        EXPECT_EQ(Number(object, &IAccessible::get_accState), c.state) << c.item->Caption();
        EXPECT_EQ(DefaultAction(object), c.action) << c.item->Caption();
    }
    // The same items in a menu.
    Host(TViewHost::Kind::Menu);
    TBarCustomItem* open = AddItem(host->Root(), "&Open");
    TBarCustomItem* recent = Submenu(host->Root(), "&Recent");
    EXPECT_EQ(Number(ObjectOf(open), &IAccessible::get_accRole), ROLE_SYSTEM_MENUITEM);
    EXPECT_EQ(DefaultAction(ObjectOf(open)), L"Execute");
    EXPECT_EQ(Number(ObjectOf(recent), &IAccessible::get_accRole), ROLE_SYSTEM_MENUITEM);
    EXPECT_EQ(DefaultAction(ObjectOf(recent)), L"Open");
}

TEST_F(BarAccessibility, NamesDropAcceleratorMarksAndMenusAddTheShortcut)
{
    AnsiString ctrlO = ShortCutToText(ShortCut('O', ssCtrl));
    std::wstring wideCtrlO(ctrlO.begin(), ctrlO.end());
    struct Case
    {
        TViewHost::Kind kind;
        const char* caption;
        TShortCut shortcut;
        std::wstring name;
    } cases[] = {
        {TViewHost::Kind::Toolbar, "ファイル(&F)", scNone, L"ファイル(F)"},
        {TViewHost::Kind::Toolbar, "開く(&O)", ShortCut('O', ssCtrl), L"開く(O)"},
        {TViewHost::Kind::Menu, "開く(&O)", ShortCut('O', ssCtrl), L"開く(O)\t" + wideCtrlO},
        {TViewHost::Kind::Menu, "保存\tCtrl+S", scNone, L"保存\tCtrl+S"},
        {TViewHost::Kind::Menu, "&Rock && Roll", scNone, L"Rock & Roll"},
        {TViewHost::Kind::Menu, "", scNone, L""},
    };
    for (const Case& c : cases) {
        Host(c.kind);
        TBarCustomItem* item = AddItem(host->Root(), c.caption);
        item->SetShortCut(c.shortcut);
        EXPECT_EQ(Name(ObjectOf(item)), c.name) << c.caption;
    }
}

TEST_F(BarAccessibility, KeyboardShortcutsNameTheAcceleratorWithAltOnBars)
{
    struct Case
    {
        TViewHost::Kind kind;
        const char* caption;
        const char* key; // after the Alt key's name on a bar
        bool onBar;
    } cases[] = {
        {TViewHost::Kind::Toolbar, "&File", "F", true},
        {TViewHost::Kind::Menu, "e&xit", "X", false},
        {TViewHost::Kind::Menu, "ファイル(&F)", "F", false},
        {TViewHost::Kind::Menu, "None", "", false},
    };
    for (const Case& c : cases) {
        Host(c.kind);
        TBarCustomItem* item = AddItem(host->Root(), c.caption);
        HRESULT result;
        std::wstring shortcut = Text(
            result, [&](BSTR* out) { return ObjectOf(item)->get_accKeyboardShortcut(kSelf, out); });
        std::string key(c.key);
        std::wstring expected(key.begin(), key.end());
        if (key.empty()) {
            EXPECT_EQ(result, S_FALSE) << c.caption;
            EXPECT_EQ(shortcut, L"") << c.caption;
        } else if (c.onBar) {
            EXPECT_EQ(shortcut.substr(shortcut.size() - 2), L"+" + expected) << c.caption;
            EXPECT_GT(shortcut.size(), 2u) << "the Alt key's name first";
        } else {
            EXPECT_EQ(shortcut, expected) << c.caption;
        }
    }
}

TEST_F(BarAccessibility, OtherChildIdsAreRefusedAndObjectsOfGoneViewersAnswerFail)
{
    Host(TViewHost::Kind::Toolbar);
    TBarCustomItem* print = AddItem(host->Root(), "&Print");
    IAccessible* viewer = ObjectOf(print);
    IAccessible* view = host->View()->AccObject();
    VARIANT bstrChild;
    VariantInit(&bstrChild);
    bstrChild.vt = VT_BSTR;
    bstrChild.bstrVal = nullptr;
    HRESULT result;
    for (IAccessible* object : {viewer, view}) {
        Text(result, [&](BSTR* out) { return object->get_accName(Child(2), out); });
        EXPECT_EQ(result, E_INVALIDARG);
        Text(result, [&](BSTR* out) { return object->get_accName(bstrChild, out); });
        EXPECT_EQ(result, E_INVALIDARG);
        VARIANT role;
        EXPECT_EQ(object->get_accRole(Child(1), &role), E_INVALIDARG);
        Text(result, [&](BSTR* out) { return object->get_accDescription(kSelf, out); });
        EXPECT_EQ(result, S_FALSE) << "nothing to describe";
        EXPECT_EQ(object->put_accName(kSelf, nullptr), S_FALSE);
    }
    int liveViews = LiveBarViewAccObjects();
    viewer->AddRef();
    view->AddRef();
    host->Root()->Remove(print); // its viewer goes
    delete print;
    Text(result, [&](BSTR* out) { return viewer->get_accName(kSelf, out); });
    EXPECT_EQ(result, E_FAIL);
    VARIANT state;
    EXPECT_EQ(viewer->get_accState(kSelf, &state), E_FAIL);
    EXPECT_EQ(viewer->accDoDefaultAction(kSelf), E_FAIL);
    delete host; // the view goes
    host = nullptr;
    long count = -1;
    EXPECT_EQ(view->get_accChildCount(&count), E_FAIL);
    IDispatch* parent = nullptr;
    EXPECT_EQ(view->get_accParent(&parent), E_FAIL);
    EXPECT_EQ(LiveBarViewAccObjects(), liveViews) << "the client still holds it";
    viewer->Release();
    view->Release();
    EXPECT_EQ(LiveBarViewAccObjects(), liveViews - 1);
}

TEST_F(BarAccessibility, TheViewListsShownAndClippedViewersAndHitTests)
{
    Host(TViewHost::Kind::ChevronToolbar);
    TBarCustomItem* first = AddItem(host->Root(), "&One");
    TBarCustomItem* second = AddItem(host->Root(), "&Two");
    TBarCustomItem* third = AddItem(host->Root(), "T&hree");
    TBarCustomItem* hidden = AddItem(host->Root(), "&Four");
    hidden->SetVisible(false);
    TBarView* view = host->View();
    view->EnsureLayout();
    int width = view->Find(first)->BoundsRect().Width() + view->Find(second)->BoundsRect().Width();
    view->SetMaximumSize(width + view->ChevronSize());
    view->EnsureLayout();
    ASSERT_TRUE(view->Find(third)->Clipped());
    IAccessible* object = view->AccObject();
    long count = 0;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4) << "two shown, one clipped, the chevron, none hidden";
    IDispatch* child = nullptr;
    ASSERT_EQ(object->get_accChild(Child(1), &child), S_OK);
    EXPECT_EQ(child, static_cast<IDispatch*>(ObjectOf(first)));
    child->Release();
    EXPECT_EQ(object->get_accChild(Child(5), &child), E_INVALIDARG);
    VARIANT end;
    ASSERT_EQ(object->accNavigate(NAVDIR_LASTCHILD, kSelf, &end), S_OK);
    EXPECT_EQ(end.pdispVal,
              static_cast<IDispatch*>(view->Viewers(view->ViewerCount() - 1)->AccObject()))
        << "the chevron";
    VariantClear(&end);
    ASSERT_EQ(ObjectOf(first)->accNavigate(NAVDIR_NEXT, kSelf, &end), S_OK);
    EXPECT_EQ(end.pdispVal, static_cast<IDispatch*>(ObjectOf(second)));
    VariantClear(&end);
    EXPECT_EQ(ObjectOf(first)->accNavigate(NAVDIR_PREVIOUS, kSelf, &end), S_FALSE);
    EXPECT_EQ(Number(object, &IAccessible::get_accRole), ROLE_SYSTEM_TOOLBAR);
    view->SetViewStyle(bvsMenuBar);
    EXPECT_EQ(Number(object, &IAccessible::get_accRole), ROLE_SYSTEM_MENUBAR);

    // Where things are, on the screen.
    TRect bounds = view->Find(second)->BoundsRect();
    TPoint origin = host->ClientToScreen(TPoint(0, 0));
    long left, top, w, h;
    ASSERT_EQ(ObjectOf(second)->accLocation(&left, &top, &w, &h, kSelf), S_OK);
    EXPECT_EQ(TRect(left, top, left + w, top + h),
              TRect(origin.x + bounds.left, origin.y + bounds.top, origin.x + bounds.right,
                    origin.y + bounds.bottom));
    VARIANT hit;
    ASSERT_EQ(object->accHitTest(origin.x + bounds.left + 1, origin.y + bounds.top + 1, &hit),
              S_OK);
    EXPECT_EQ(hit.vt, VT_DISPATCH);
    EXPECT_EQ(hit.pdispVal, static_cast<IDispatch*>(ObjectOf(second)));
    VariantClear(&hit);
    ASSERT_EQ(object->accHitTest(origin.x + 590, origin.y + 290, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4) << "the bar itself";
    EXPECT_EQ(object->accHitTest(origin.x - 5, origin.y - 5, &hit), S_FALSE);
    EXPECT_EQ(hit.vt, VT_EMPTY);
}

TEST_F(BarAccessibility, AReaderReachesTheToolbarThroughItsWindow)
{
    Host(TViewHost::Kind::Toolbar);
    AddItem(host->Root(), "&Print");
    AddItem(host->Root(), "印刷プレビュー(&V)");
    IAccessible* client = nullptr;
    // The system's own function, as a screen reader calls it.
    using TFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    auto fromWindow = reinterpret_cast<TFromWindow>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryA("oleacc.dll"), "AccessibleObjectFromWindow")));
    ASSERT_NE(fromWindow, nullptr);
    ASSERT_EQ(fromWindow(host->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                         reinterpret_cast<void**>(&client)),
              S_OK);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(Number(client, &IAccessible::get_accRole), ROLE_SYSTEM_TOOLBAR);
    long count = 0;
    EXPECT_EQ(client->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    IDispatch* second = nullptr;
    ASSERT_EQ(client->get_accChild(Child(2), &second), S_OK);
    IAccessible* item = nullptr;
    ASSERT_EQ(second->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&item)), S_OK);
    EXPECT_EQ(Name(item), L"印刷プレビュー(V)");
    item->Release();
    second->Release();
    client->Release();
    // Without an answer of ours the system gives its standard object.
    host->SetAnswersAccessibility(false);
    ASSERT_EQ(fromWindow(host->Handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                         reinterpret_cast<void**>(&client)),
              S_OK);
    EXPECT_NE(Number(client, &IAccessible::get_accRole), ROLE_SYSTEM_TOOLBAR);
    client->Release();
}

TEST_F(BarAccessibility, AnOpenSubmenuIsTheViewersChildAndItsDefaultActionClosesIt)
{
    Host(TViewHost::Kind::Toolbar);
    ASSERT_TRUE(ActivateForm(form));
    TBarCustomItem* tools = Submenu(host->Root(), "&Tools");
    TBarCustomItem* options = AddItem(tools, "&Options");
    TBarView* bar = host->View();
    bar->ChangeSelection(bar->Find(tools), false);
    ASSERT_TRUE(bar->ShowChildPopup(true));
    TBarView* popup = bar->OpenChildView();
    IAccessible* opener = ObjectOf(tools);
    EXPECT_EQ(DefaultAction(opener), L"Close");
    long count = 0;
    EXPECT_EQ(opener->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 1);
    IDispatch* child = nullptr;
    ASSERT_EQ(opener->get_accChild(Child(1), &child), S_OK);
    EXPECT_EQ(child, static_cast<IDispatch*>(popup->AccObject()));
    child->Release();
    EXPECT_EQ(Number(popup->AccObject(), &IAccessible::get_accRole), ROLE_SYSTEM_MENUPOPUP);
    EXPECT_EQ(Name(popup->AccObject()), L"Tools");
    IDispatch* parent = nullptr;
    ASSERT_EQ(popup->AccObject()->get_accParent(&parent), S_OK);
    EXPECT_EQ(parent, static_cast<IDispatch*>(opener));
    parent->Release();

    // A reader holding an item of the submenu when it closes.
    IAccessible* held = popup->Find(options)->AccObject();
    held->AddRef();
    EXPECT_EQ(opener->accDoDefaultAction(kSelf), S_OK);
    EXPECT_EQ(bar->OpenChildView(), nullptr);
    EXPECT_EQ(DefaultAction(opener), L"Open");
    EXPECT_EQ(Name(held), L"") << "gone";
    HRESULT result;
    Text(result, [&](BSTR* out) { return held->get_accName(kSelf, out); });
    EXPECT_EQ(result, E_FAIL);
    held->Release();
}

TEST_F(BarAccessibility, AReadersDefaultActionRunsTheItemOrOpensItsMenuThroughTheLoop)
{
    Host(TViewHost::Kind::Toolbar);
    ASSERT_TRUE(ActivateForm(form));
    TBarCustomItem* print = AddItem(host->Root(), "&Print");
    int printed = 0;
    print->OnClick = TNotifyEvent([&](TObject*) { ++printed; });
    TBarCustomItem* tools = Submenu(host->Root(), "&Tools");
    AddItem(tools, "&Options");
    TBarView* bar = host->View();

    ASSERT_EQ(ObjectOf(print)->accDoDefaultAction(kSelf), S_OK);
    EXPECT_EQ(printed, 0) << "queued, not run at once";
    ModalScript direct;
    direct.Run([] { PumpMessages(); });
    EXPECT_EQ(printed, 1);

    // A submenu item opens its menu in the bar's loop.
    ASSERT_EQ(ObjectOf(tools)->accDoDefaultAction(kSelf), S_OK);
    ModalScript script;
    script.WaitUntil([&] { return bar->OpenChildView() != nullptr; }, "the menu opens")
        .Then([&] {
            EXPECT_NE(bar->ModalHandler(), nullptr);
            EXPECT_EQ(Number(ObjectOf(tools), &IAccessible::get_accState) & STATE_SYSTEM_FOCUSED,
                      STATE_SYSTEM_FOCUSED);
            ModalScript::PressKey(VK_ESCAPE);
        })
        .Then([] { ModalScript::PressKey(VK_ESCAPE); });
    script.Run([] { PumpMessages(); });
    EXPECT_EQ(bar->ModalHandler(), nullptr);

    // Taking the focus selects, and a bar outside its loop enters it.
    ASSERT_EQ(ObjectOf(print)->accSelect(SELFLAG_TAKEFOCUS, kSelf), S_OK);
    EXPECT_EQ(bar->Selected(), bar->Find(print));
    ModalScript select;
    select.Then([&] {
        EXPECT_NE(bar->ModalHandler(), nullptr);
        EXPECT_EQ(bar->Selected(), bar->Find(print));
        ModalScript::PressKey(VK_ESCAPE);
    });
    select.Run([] { PumpMessages(); });
    EXPECT_EQ(printed, 1);
}

// The win events of one menu, in order.
std::vector<std::pair<DWORD, LONG>> gEvents;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG objectId, LONG childId, DWORD,
                             DWORD)
{
    if (objectId == OBJID_CLIENT)
        gEvents.emplace_back(event, childId);
}

TEST_F(BarAccessibility, AMenuAnnouncesItsStartItsPopupsTheFocusAndItsEnd)
{
    TBarRootItem root(nullptr);
    AddItem(&root, "&Alpha");
    AddSeparator(&root);
    TBarCustomItem* beta = Submenu(&root, "&Beta");
    AddItem(beta, "Beta &One");
    gEvents.clear();
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_SYSTEM_MENUSTART, EVENT_OBJECT_FOCUS, GetModuleHandleA(nullptr), RecordWinEvent,
        GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_INCONTEXT);
    ASSERT_NE(hook, nullptr);
    ModalScript script;
    for (WORD key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE})
        script.Then([key] { ModalScript::PressKey(key); });
    script.Run([&] { root.Popup(200, 150, false); });
    PumpMessages();
    UnhookWinEvent(hook);
    std::vector<std::pair<DWORD, LONG>> menuEvents;
    for (auto e : gEvents)
        if (e.first != EVENT_OBJECT_FOCUS || e.second != CHILDID_SELF)
            menuEvents.push_back(e);
    std::vector<std::pair<DWORD, LONG>> expected = {
        {EVENT_SYSTEM_MENUSTART, CHILDID_SELF},
        {EVENT_SYSTEM_MENUPOPUPSTART, CHILDID_SELF},
        {EVENT_OBJECT_FOCUS, 1},                     // Alpha
        {EVENT_OBJECT_FOCUS, 3},                     // Beta, after the separator
        {EVENT_SYSTEM_MENUPOPUPSTART, CHILDID_SELF}, // its submenu
        {EVENT_OBJECT_FOCUS, 1},                     // Beta One
        {EVENT_SYSTEM_MENUPOPUPEND, CHILDID_SELF},
        {EVENT_OBJECT_FOCUS, 3}, // back on Beta
        {EVENT_SYSTEM_MENUPOPUPEND, CHILDID_SELF},
        {EVENT_SYSTEM_MENUEND, CHILDID_SELF},
    };
    EXPECT_EQ(menuEvents, expected);
}

} // namespace
