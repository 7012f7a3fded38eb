// The stand-ins the main window uses until the toolkit's controls land.
#include "editor/ToolkitStandIns.h"

#include "support/FormFixture.h"

#include <shlobj.h>

using namespace testing_support;

namespace {

// A drop of paths as the shell hands it over (DROPFILES and a list of
// names that ends in an empty one); the receiver frees it.
HDROP MakeDrop(const std::vector<AnsiString>& paths)
{
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const AnsiString& path : paths)
        bytes += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const AnsiString& path : paths) {
        memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

} // namespace

class DropFileTargetTest : public FormFixture
{
};

TEST_F(DropFileTargetTest, HandsTheDroppedPathsOverInOrderUntilUnregistered)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* target = new TDropFileTarget(form);
    std::vector<AnsiString> dropped;
    int drops = 0;
    target->OnDrop = [&](TObject*, const std::vector<AnsiString>& paths) {
        dropped = paths;
        ++drops;
    };
    target->Register(panel);
    EXPECT_TRUE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    SendMessageA(panel->Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({"C:\\a.wav", "C:\\表\\b.rgl"})), 0);
    ASSERT_EQ(drops, 1);
    EXPECT_EQ(dropped, (std::vector<AnsiString>{"C:\\a.wav", "C:\\表\\b.rgl"}));

    target->Unregister();
    EXPECT_FALSE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    HDROP late = MakeDrop({"C:\\c.wav"});
    SendMessageA(panel->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(late), 0);
    DragFinish(late);
    EXPECT_EQ(drops, 1);
}

TEST_F(DropFileTargetTest, ATargetFreedFirstIsForgotten)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* target = new TDropFileTarget(form);
    target->Register(panel);
    delete panel;
    EXPECT_EQ(target->Target(), nullptr);
    target->Unregister();
}

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
