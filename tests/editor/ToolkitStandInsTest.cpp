// The stand-ins the main window uses until the toolkit's controls land.
#include "editor/ToolkitStandIns.h"

#include "support/FormFixture.h"

using namespace testing_support;

class ToolButtonTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        action = new TAction(form);
        action->OnExecute = [this](TObject*) { ++runs; };
        edit = new TEdit(form);
        edit->SetParent(form);
        bar = new TToolBarPanel(form);
        bar->SetParent(form);
        bar->SetTop(40);
        button = bar->AddButton(action, "Go");
        ASSERT_TRUE(ActivateForm(form));
        edit->SetFocus();
        PumpMessages();
    }
    void Post(UINT message, WPARAM keys, int x, int y)
    {
        PostMessageA(bar->Handle(), message, keys,
                     MAKELPARAM(button->Left() + x, button->Top() + y));
        PumpMessages();
    }

    TAction* action = nullptr;
    TEdit* edit = nullptr;
    TToolBarPanel* bar = nullptr;
    TToolButton* button = nullptr;
    int runs = 0;
};

TEST_F(ToolButtonTest, AClickRunsTheActionAndLeavesTheFocusWhereItWas)
{
    ClickAt(bar->Handle(), button->Left() + 4, button->Top() + 4);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(FocusedWindow(), edit->Handle());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ToolButtonTest, ItShowsPressedWhileHeldOverItAndClicksOnlyWhenReleasedThere)
{
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 4, 4);
    EXPECT_TRUE(button->Pressed());
    Post(WM_MOUSEMOVE, MK_LBUTTON, button->Width() + 10, 4);
    EXPECT_FALSE(button->Pressed());
    Post(WM_MOUSEMOVE, MK_LBUTTON, 5, 5);
    EXPECT_TRUE(button->Pressed());
    Post(WM_MOUSEMOVE, MK_LBUTTON, 5, button->Height() + 10);
    Post(WM_LBUTTONUP, 0, 5, button->Height() + 10);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(FocusedWindow(), edit->Handle());
}

TEST_F(ToolButtonTest, ADisabledActionsButtonDoesNothing)
{
    action->OnUpdate = [this](TObject*) { action->SetEnabled(false); };
    action->Update();
    EXPECT_FALSE(button->Enabled());
    ClickAt(bar->Handle(), button->Left() + 4, button->Top() + 4);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(runs, 0);
}
