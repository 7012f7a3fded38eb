// Keys in a form: shortcuts before the focused control, dialog keys, tab
// order, key preview, modal forms and message boxes answered through seams.
#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/ListView.h"
#include "classlib/Label.h"
#include "classlib/Menu.h"
#include "classlib/PageControl.h"
#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

class TKeysForm : public TForm
{
public:
    explicit TKeysForm(TComponent* owner) : TForm(owner)
    {
        SetBounds(60, 60, 360, 240);
        Edit1 = AddEdit("Edit1", 10);
        Edit2 = AddEdit("Edit2", 40);
        List = new TListView(this);
        List->SetName("List");
        List->SetParent(this);
        List->SetBounds(170, 10, 170, 100);
        List->SetMultiSelect(true);
        List->Columns()->Add()->SetCaption("Name");
        for (const char* name : {"a", "b", "c"})
            List->Items()->Add()->SetCaption(name);
        OkButton = new TButton(this);
        OkButton->SetName("OkButton");
        OkButton->SetParent(this);
        OkButton->SetBounds(10, 80, 75, 25);
        OkButton->SetCaption("OK");
        OkButton->SetDefault(true);
        OkButton->SetModalResult(mrOk);
        CancelButton = new TButton(this);
        CancelButton->SetName("CancelButton");
        CancelButton->SetParent(this);
        CancelButton->SetBounds(90, 80, 75, 25);
        CancelButton->SetCaption("&Cancel");
        CancelButton->SetCancel(true);
        CancelButton->SetModalResult(mrCancel);
        Actions = new TActionList(this);
        Save = AddAction("actSave", ShortCut('S', ssCtrl));
        Play = AddAction("actPlay", ShortCut(VK_SPACE, 0));
        Refused = AddAction("actRefused", ShortCut(VK_F5, 0));
        Refused->OnUpdate = [this](TObject*) { Refused->SetEnabled(RefusedEnabled); };
        Edit1->OnKeyDown = [this](TObject*, WORD& key, TShiftState) { Edit1Keys.push_back(key); };
        FinishLoading();
    }

    TEdit* AddEdit(const char* name, int top)
    {
        auto* edit = new TEdit(this);
        edit->SetName(name);
        edit->SetParent(this);
        edit->SetBounds(10, top, 150, 21);
        return edit;
    }

    TAction* AddAction(const char* name, TShortCut shortCut)
    {
        auto* action = new TAction(this);
        action->SetName(name);
        action->SetShortCut(shortCut);
        action->SetActionList(Actions);
        action->OnExecute = [this, action](TObject*) { Executed.push_back(action->Name()); };
        return action;
    }

    TEdit* Edit1;
    TEdit* Edit2;
    TListView* List;
    TButton* OkButton;
    TButton* CancelButton;
    TActionList* Actions;
    TAction* Save;
    TAction* Play;
    TAction* Refused;
    bool RefusedEnabled = false;
    std::vector<AnsiString> Executed;
    std::vector<WORD> Edit1Keys;
};

class FormKeysTest : public testing::Test
{
protected:
    void SetUp() override { form = new TKeysForm(nullptr); }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }
    // Shows the form and focuses the control; false when the focus did not
    // arrive (the window manager refused).
    bool Focus(TWinControl* control)
    {
        if (!ActivateForm(form))
            return false;
        control->SetFocus();
        PumpMessages();
        return GetFocus() == control->WindowHandle();
    }
    TKeysForm* form = nullptr;
};

TEST_F(FormKeysTest, AnEnabledActionTakesItsShortcutBeforeTheFocusedEdit)
{
    ASSERT_TRUE(Focus(form->Edit1));
    PressKey(form->Edit1->WindowHandle(), 'S', ssCtrl);
    PressKey(form->Edit1->WindowHandle(), VK_SPACE);
    std::vector<AnsiString> expected = {"actSave", "actPlay"};
    EXPECT_EQ(form->Executed, expected);
    EXPECT_EQ(form->Edit1->Text(), "");
    EXPECT_TRUE(form->Edit1Keys.empty());
}

TEST_F(FormKeysTest, ShortcutsRunBeforeTheListViewSeesTheKey)
{
    ASSERT_TRUE(Focus(form->List));
    form->List->Items()->Item(0)->SetFocused(true);
    PressKey(form->List->WindowHandle(), VK_SPACE);
    EXPECT_EQ(form->Executed.size(), 1u);
    EXPECT_EQ(form->List->SelCount(), 0);
    PressKey(form->List->WindowHandle(), VK_DOWN);
    EXPECT_EQ(form->List->ItemIndex(), 1);
}

TEST_F(FormKeysTest, ADisabledActionsShortcutDoesNothingAndTheKeyGoesOn)
{
    ASSERT_TRUE(Focus(form->Edit1));
    PressKey(form->Edit1->WindowHandle(), VK_F5);
    EXPECT_TRUE(form->Executed.empty());
    ASSERT_EQ(form->Edit1Keys.size(), 1u);
    EXPECT_EQ(form->Edit1Keys[0], VK_F5);

    form->RefusedEnabled = true;
    PressKey(form->Edit1->WindowHandle(), VK_F5);
    ASSERT_EQ(form->Executed.size(), 1u);
    EXPECT_EQ(form->Executed[0], "actRefused");
    EXPECT_EQ(form->Edit1Keys.size(), 1u);
}

TEST_F(FormKeysTest, ExecuteRunsTheUpdateFirstAndActsOnlyWhenEnabled)
{
    form->Refused->SetEnabled(true);
    EXPECT_FALSE(form->Refused->Execute());
    EXPECT_FALSE(form->Refused->Enabled());
    EXPECT_TRUE(form->Executed.empty());
    form->RefusedEnabled = true;
    EXPECT_TRUE(form->Refused->Execute());
    EXPECT_EQ(form->Executed.size(), 1u);
}

TEST_F(FormKeysTest, TabAndShiftTabMoveTheFocusInTabOrder)
{
    ASSERT_TRUE(Focus(form->Edit1));
    auto focused = [] { return FindControl(GetFocus()); };
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focused(), form->Edit2);
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focused(), form->List);
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focused(), form->OkButton);
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focused(), form->CancelButton);
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focused(), form->Edit1);
    PressKey(GetFocus(), VK_TAB, ssShift);
    EXPECT_EQ(focused(), form->CancelButton);

    form->CancelButton->SetTabOrder(0);
    form->Edit2->SetTabStop(false);
    form->List->SetTabStop(false);
    form->Edit1->SetFocus();
    PumpMessages();
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focused(), form->OkButton);
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(focused(), form->CancelButton);
    EXPECT_EQ(form->ActiveControl(), form->CancelButton);
}

TEST_F(FormKeysTest, EnterAndExitFollowTheFocusInsideTheForm)
{
    std::vector<std::string> log;
    form->Edit1->OnEnter = [&](TObject*) { log.push_back("enter 1"); };
    form->Edit1->OnExit = [&](TObject*) { log.push_back("exit 1"); };
    form->Edit2->OnEnter = [&](TObject*) { log.push_back("enter 2"); };
    ASSERT_TRUE(Focus(form->Edit1));
    form->Edit2->SetFocus();
    PumpMessages();
    std::vector<std::string> expected = {"enter 1", "exit 1", "enter 2"};
    EXPECT_EQ(log, expected);
}

TEST_F(FormKeysTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButton)
{
    std::vector<std::string> clicks;
    form->OkButton->OnClick = [&](TObject*) { clicks.push_back("ok"); };
    form->CancelButton->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
    ASSERT_TRUE(Focus(form->Edit1));
    PressKey(form->Edit1->WindowHandle(), VK_RETURN);
    PressKey(form->Edit1->WindowHandle(), VK_ESCAPE);
    form->CancelButton->SetFocus();
    PumpMessages();
    PressKey(form->CancelButton->WindowHandle(), VK_RETURN);
    std::vector<std::string> expected = {"ok", "cancel", "cancel"};
    EXPECT_EQ(clicks, expected);
}

TEST_F(FormKeysTest, KeyPreviewLetsTheFormSeeAndSwallowKeysFirst)
{
    form->SetKeyPreview(true);
    std::vector<WORD> formKeys;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        formKeys.push_back(key);
        if (key == 'X')
            key = 0;
    };
    ASSERT_TRUE(Focus(form->Edit1));
    PressKey(form->Edit1->WindowHandle(), 'X');
    PressKey(form->Edit1->WindowHandle(), 'Y');
    std::vector<WORD> expectedForm = {'X', 'Y'};
    EXPECT_EQ(formKeys, expectedForm);
    std::vector<WORD> expectedEdit = {'Y'};
    EXPECT_EQ(form->Edit1Keys, expectedEdit);
}

TEST_F(FormKeysTest, AltAndTheMnemonicClicksTheButton)
{
    int clicks = 0;
    form->CancelButton->OnClick = [&](TObject*) { ++clicks; };
    ASSERT_TRUE(Focus(form->OkButton));
    PostMessageA(form->OkButton->WindowHandle(), WM_SYSCHAR, 'c', 1 << 29);
    PumpMessages();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormKeysTest, ALabelsAcceleratorFocusesItsControl)
{
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption("&Name");
    label->SetFocusControl(form->Edit2);
    ASSERT_TRUE(Focus(form->Edit1));
    PostMessageA(form->Edit1->WindowHandle(), WM_SYSCHAR, 'n', 1 << 29);
    PumpMessages();
    EXPECT_EQ(GetFocus(), form->Edit2->WindowHandle());
    delete form->Edit2;
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(FormKeysTest, TheScreenFollowsTheActiveControl)
{
    std::vector<TWinControl*> seen;
    Screen->OnActiveControlChange = [&](TObject*) { seen.push_back(Screen->ActiveControl()); };
    ASSERT_TRUE(Focus(form->Edit1));
    form->Edit2->SetFocus();
    PumpMessages();
    Screen->OnActiveControlChange = nullptr;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), form->Edit2);
    EXPECT_EQ(Screen->ActiveForm(), form);
    EXPECT_EQ(form->ActiveControl(), form->Edit2);
}

TEST_F(FormKeysTest, CtrlTabTurnsThePagesWhenNoShortcutTakesIt)
{
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(10, 120, 200, 100);
    std::vector<TTabSheet*> sheets;
    for (int i = 0; i < 3; ++i) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        sheets.push_back(sheet);
    }
    auto* inside = new TEdit(form);
    inside->SetParent(sheets[0]);
    ASSERT_TRUE(Focus(inside));
    PressKey(inside->WindowHandle(), VK_TAB, ssCtrl);
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    PressKey(GetFocus(), VK_TAB, ssCtrl | ssShift);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    form->AddAction("actTab4", ShortCut(VK_TAB, ssCtrl));
    PressKey(GetFocus(), VK_TAB, ssCtrl);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(form->Executed.back(), "actTab4");
}

TEST_F(FormKeysTest, AModalFormIsAnsweredThroughTheSeamWithoutBlocking)
{
    ScriptedModalForms modal;
    modal.Add([](TCustomForm* shown) {
        EXPECT_TRUE(shown->Visible());
        EXPECT_TRUE(shown->Modal());
        return mrOk;
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Visible());
    ASSERT_EQ(modal.Shown().size(), 1u);
    EXPECT_EQ(modal.Shown()[0], "TKeysForm");
}

TEST_F(FormKeysTest, AModalFormClosesThroughItsDefaultButtonFromTheKeyboard)
{
    ScriptedModalForms modal;
    modal.Add([](TCustomForm* shown) {
        auto* keys = static_cast<TKeysForm*>(shown);
        keys->Edit1->SetFocus();
        PumpMessages();
        PostMessageA(keys->Edit1->WindowHandle(), WM_KEYDOWN, VK_RETURN, 1);
        return mrNone;
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
}

TEST_F(FormKeysTest, CloseQueryCanRefuseAModalResultOnce)
{
    int queries = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    ScriptedModalForms modal;
    modal.Add([](TCustomForm* shown) {
        PostMessageA(shown->WindowHandle(), WM_CLOSE, 0, 0);
        PostMessageA(shown->WindowHandle(), WM_CLOSE, 0, 0);
        return mrNone;
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST_F(FormKeysTest, OtherWindowsAreDisabledWhileAFormIsModal)
{
    auto* owner = new TForm(nullptr);
    owner->Show();
    PumpMessages();
    bool ownerEnabled = true;
    ScriptedModalForms modal;
    modal.Add([&](TCustomForm*) {
        ownerEnabled = IsWindowEnabled(owner->WindowHandle()) != FALSE;
        return mrCancel;
    });
    form->ShowModal();
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner->WindowHandle()));
    delete owner;
}

TEST_F(FormKeysTest, AVisibleFormCannotBeShownModally)
{
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(FormKeysTest, AYesNoMessageBoxIsAnsweredThroughTheSeam)
{
    ScriptedMessageBoxes boxes({IDNO, IDYES});
    EXPECT_EQ(Application->MessageBox("保存しますか？", "", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(Application->MessageBox("Again?", "Title", MB_YESNO), IDYES);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].Caption, Application->Title());
    EXPECT_EQ(boxes.Shown()[1].Caption, "Title");
}

TEST_F(FormKeysTest, MenuItemsBoundToActionsFollowThemAndTheirShortcutsRun)
{
    auto* menu = new TMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    auto* save = new TMenuItem(form);
    save->SetAction(form->Save);
    file->Add(save);
    auto* own = new TMenuItem(form);
    own->SetCaption("Own");
    own->SetShortCut(ShortCut('K', ssCtrl));
    int ownClicks = 0;
    own->OnClick = [&](TObject*) { ++ownClicks; };
    file->Add(own);
    form->SetMenu(menu);

    form->Save->SetCaption("&Save");
    EXPECT_EQ(save->Caption(), "&Save");
    EXPECT_EQ(save->ShortCut(), ShortCut('S', ssCtrl));
    form->Save->SetEnabled(false);
    EXPECT_FALSE(save->Enabled());
    form->Save->SetEnabled(true);

    ASSERT_TRUE(Focus(form->Edit1));
    EXPECT_EQ(GetMenu(form->WindowHandle()), menu->Handle());
    char text[64] = {};
    GetMenuStringA(file->Handle(), 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&Save\tCtrl+S");
    PressKey(form->Edit1->WindowHandle(), 'K', ssCtrl);
    EXPECT_EQ(ownClicks, 1);
    SendMessageA(form->WindowHandle(), WM_COMMAND, save->Command(), 0);
    ASSERT_EQ(form->Executed.size(), 1u);
    EXPECT_EQ(form->Executed[0], "actSave");
}

} // namespace
