#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Menu.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "support/FormFixture.h"
#include "support/ModalDriver.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

class ActionsMenuTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        list = new TActionList(form);
    }
    TAction* MakeAction(const char* caption, int group = 0)
    {
        auto* action = new TAction(form);
        action->SetCaption(caption);
        action->SetGroupIndex(group);
        action->SetActionList(list);
        action->OnExecute = [this, action](TObject*) { log.push_back(action->Caption()); };
        return action;
    }
    TMenuItem* MakeItem(const char* caption)
    {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        return item;
    }
    // The texts of a system menu, "-" for separators.
    static std::vector<std::string> MenuTexts(HMENU menu)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            MENUITEMINFOA info = {};
            char text[64] = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = sizeof(text);
            GetMenuItemInfoA(menu, i, TRUE, &info);
            texts.push_back((info.fType & MFT_SEPARATOR) ? "-" : text);
        }
        return texts;
    }
    static UINT MenuState(HMENU menu, int position)
    {
        return GetMenuState(menu, position, MF_BYPOSITION);
    }
    TActionList* list = nullptr;
    std::vector<std::string> log;
};

TEST_F(ActionsMenuTest, CheckingAnActionOfAGroupUnchecksTheOthers)
{
    TAction* a = MakeAction("a", 1);
    TAction* b = MakeAction("b", 1);
    TAction* c = MakeAction("c", 2);
    TAction* plain = MakeAction("plain");
    a->SetChecked(true);
    c->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked());
    b->SetAutoCheck(true);
    b->Execute();
    EXPECT_TRUE(b->Checked()); // a checked radio action stays checked
    plain->SetAutoCheck(true);
    plain->Execute();
    EXPECT_TRUE(plain->Checked());
    plain->Execute();
    EXPECT_FALSE(plain->Checked());
}

TEST_F(ActionsMenuTest, AnActionWithoutHandlersIsDisabledByItsUpdate)
{
    auto* bare = new TAction(form);
    bare->SetActionList(list);
    EXPECT_FALSE(bare->Execute());
    EXPECT_FALSE(bare->Enabled());
    bool listSaw = false;
    list->OnUpdate = [&](TBasicAction* action, bool& handled) {
        listSaw = action == bare;
        handled = true;
    };
    bare->SetEnabled(true);
    bare->Update();
    EXPECT_TRUE(listSaw);
    EXPECT_TRUE(bare->Enabled());
}

TEST_F(ActionsMenuTest, TheIdleLoopRunsTheUpdatesOfVisibleEnabledForms)
{
    TAction* action = MakeAction("idle");
    int updates = 0;
    action->OnUpdate = [&](TObject*) { ++updates; };
    // Idles once: the queue is empty, then a timer wakes the wait.
    auto idleOnce = [] {
        Application->ProcessMessages();
        UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
        Application->HandleMessage();
        KillTimer(nullptr, timer);
        Application->ProcessMessages();
    };
    idleOnce();
    EXPECT_EQ(updates, 0); // the form is not shown
    form->Show();
    idleOnce();
    EXPECT_GE(updates, 1);
    int shown = updates;
    form->SetEnabled(false);
    idleOnce();
    EXPECT_EQ(updates, shown);
}

// The tests' pumps idle as the loop does: once the queue is empty, and in a
// modal form before the test answers it, so a window under test shows the
// enabling a user sees.
TEST_F(ActionsMenuTest, TheTestsPumpsIdleAsTheLoopDoes)
{
    int updates = 0;
    MakeAction("pumped")->OnUpdate = [&](TObject*) { ++updates; };
    form->Show();
    const std::function<void()> pumps[] = {[] { PumpMessages(); },
                                           [] { PumpUntil([] { return true; }); }};
    for (const auto& pump : pumps) {
        const int before = updates;
        pump();
        EXPECT_GT(updates, before);
    }
    TForm dialog(nullptr);
    auto* dialogAction = new TAction(&dialog);
    dialogAction->SetActionList(new TActionList(&dialog));
    int dialogUpdates = 0;
    dialogAction->OnUpdate = [&](TObject*) { ++dialogUpdates; };
    ScriptedModalForms modal({[&](TCustomForm*) {
        EXPECT_GE(dialogUpdates, 1) << "answered before the loop idled";
        return mrOk;
    }});
    EXPECT_EQ(dialog.ShowModal(), mrOk);
}

TEST_F(ActionsMenuTest, MenuItemsInsertDeleteAndShowSeparatorsAndAmpersands)
{
    auto* popup = new TPopupMenu(form);
    TMenuItem* root = popup->Items();
    TMenuItem* open = MakeItem("&Open");
    TMenuItem* line = MakeItem("-");
    TMenuItem* rock = MakeItem("Rock && Roll");
    root->Add(open);
    root->Add(rock);
    root->Insert(1, line);
    HMENU menu = popup->Handle();
    EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"&Open", "-", "Rock && Roll"}));
    root->Delete(1);
    EXPECT_EQ(line->Parent(), nullptr);
    EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"&Open", "Rock && Roll"}));
    root->Insert(0, line);
    EXPECT_EQ(root->IndexOf(rock), 2);
    rock->SetVisible(false);
    EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"-", "&Open"}));
    EXPECT_THROW(root->Insert(9, MakeItem("x")), EListError);
    EXPECT_THROW(root->Add(open), EInvalidOperation);
    EXPECT_EQ(root->Find("open"), open);
    delete open;
    EXPECT_EQ(root->Count(), 2);
    EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"-"}));
}

TEST_F(ActionsMenuTest, RadioItemsUncheckTheirGroupAndSubmenusUpdateWhenOpened)
{
    auto* main = new TMainMenu(form);
    TMenuItem* view = MakeItem("&View");
    main->Items()->Add(view);
    TMenuItem* first = MakeItem("First");
    TMenuItem* second = MakeItem("Second");
    TMenuItem* other = MakeItem("Other");
    for (TMenuItem* item : {first, second, other}) {
        item->SetRadioItem(true);
        view->Add(item);
    }
    other->SetGroupIndex(3);
    first->SetChecked(true);
    other->SetChecked(true);
    second->SetChecked(true);
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(other->Checked());
    HMENU menu = view->Handle();
    EXPECT_TRUE(MenuState(menu, 1) & MF_CHECKED);
    EXPECT_FALSE(MenuState(menu, 0) & MF_CHECKED);

    TAction* action = MakeAction("Action");
    bool enable = false;
    action->OnUpdate = [&](TObject*) { action->SetEnabled(enable); };
    first->SetAction(action);
    form->SetMenu(main);
    form->HandleNeeded();
    SendMessageA(form->WindowHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_TRUE(MenuState(menu, 0) & MF_GRAYED);
    EXPECT_EQ(MenuTexts(menu)[0], "Action");
    enable = true;
    SendMessageA(form->WindowHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_FALSE(MenuState(menu, 0) & MF_GRAYED);
    first->Click();
    EXPECT_EQ(log, (std::vector<std::string>{"Action"}));
    delete action;
    EXPECT_EQ(first->Action(), nullptr);
    EXPECT_EQ(first->Caption(), "Action");
}

TEST_F(ActionsMenuTest, AContextMenuPopsUpThroughTheSeamAndClicksTheChosenItem)
{
    auto* popup = new TPopupMenu(form);
    TMenuItem* copy = MakeItem("Copy");
    TAction* action = MakeAction("Paste");
    TMenuItem* paste = MakeItem("");
    paste->SetAction(action);
    popup->Items()->Add(copy);
    popup->Items()->Add(paste);
    int popups = 0;
    popup->OnPopup = [&](TObject*) { ++popups; };
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetPopupMenu(popup);
    form->HandleNeeded();
    POINT shownAt = {};
    Seams().TrackPopupMenu = [&](HMENU menu, HWND, POINT pos) {
        shownAt = pos;
        EXPECT_EQ(MenuTexts(menu), (std::vector<std::string>{"Copy", "Paste"}));
        return paste->Command();
    };
    SendMessageA(button->WindowHandle(), WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(button->WindowHandle()), MAKELPARAM(120, 130));
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(shownAt.x, 120);
    EXPECT_EQ(shownAt.y, 130);
    EXPECT_EQ(popup->PopupComponent(), button);
    EXPECT_EQ(log, (std::vector<std::string>{"Paste"}));
}

TEST_F(ActionsMenuTest, ActionsUpdateTheirLinkedControlsAndItems)
{
    TAction* action = MakeAction("&Save");
    action->SetShortCut(ShortCut('S', ssCtrl));
    action->SetHint("Save|Saves the regions");
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetAction(action);
    auto* item = MakeItem("");
    item->SetAction(action);
    action->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(box->Caption(), "&Save");
    EXPECT_EQ(box->Hint(), "Save|Saves the regions");
    action->SetVisible(false);
    EXPECT_FALSE(box->Visible());
    EXPECT_FALSE(item->Visible());
    action->SetShortCut(scNone);
    EXPECT_EQ(item->ShortCut(), scNone);
    EXPECT_TRUE(log.empty()); // linking and checking click nothing
}

TEST_F(ActionsMenuTest, AnExceptionInAnActionHandlerReachesHandleException)
{
    TAction* action = MakeAction("boom");
    action->OnExecute = [](TObject*) { throw EInvalidOperation("action failed"); };
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetAction(action);
    std::vector<AnsiString> reported;
    Application->OnException = [&](TObject*, std::exception_ptr e) {
        reported.push_back(ExceptionMessage(e));
    };
    form->HandleNeeded();
    SendMessageA(button->WindowHandle(), BM_CLICK, 0, 0);
    Application->OnException = nullptr;
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "action failed");
}

} // namespace
