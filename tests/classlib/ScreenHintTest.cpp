#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/HintWindow.h"
#include "classlib/Label.h"
#include "classlib/ListView.h"
#include "classlib/Panel.h"
#include "classlib/Screen.h"
#include "classlib/StatusBar.h"
#include "support/FormFixture.h"
#include "support/WindowDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

class ScreenHintTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(20, 20, 300, 200);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 150, 100);
    }
    void TearDown() override
    {
        Screen->SetCursor(crDefault);
        Screen->SetCursors(-10, nullptr);
        Application->CancelHint();
        SetMouseControl(nullptr);
        FormFixture::TearDown();
    }
    HCURSOR CursorAfterSetCursor(HWND window)
    {
        ::SetCursor(nullptr);
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
    TPanel* panel = nullptr;
};

TEST_F(ScreenHintTest, TheScreenCursorWinsUntilItIsSetBackToDefault)
{
    HCURSOR programCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    Screen->SetCursors(-10, programCursor);
    EXPECT_EQ(Screen->Cursors(-10), programCursor);
    EXPECT_EQ(Screen->Cursors(crHourGlass),
              LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    panel->SetCursor(crHandPoint);
    form->HandleNeeded();
    HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    EXPECT_EQ(CursorAfterSetCursor(panel->WindowHandle()), hand);
    Screen->SetCursor(-10);
    EXPECT_EQ(CursorAfterSetCursor(panel->WindowHandle()), programCursor);
    EXPECT_EQ(CursorAfterSetCursor(form->WindowHandle()), programCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(CursorAfterSetCursor(panel->WindowHandle()), hand);
}

TEST_F(ScreenHintTest, AGraphicControlUnderTheMouseGivesTheCursor)
{
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(200, 20, 50, 20);
    label->SetCursor(crHelp);
    form->HandleNeeded();
    POINT over = {210, 25};
    ClientToScreen(form->WindowHandle(), &over);
    ScopedCursorPos cursor(over);
    EXPECT_EQ(CursorAfterSetCursor(form->WindowHandle()),
              LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HELP)));
}

TEST_F(ScreenHintTest, FormsAreListedActiveFirstWithTheirActiveControl)
{
    auto* second = new TForm(nullptr);
    EXPECT_TRUE(Screen->HasForm(form));
    EXPECT_TRUE(Screen->HasForm(second));
    int changes = 0;
    Screen->OnActiveFormChange = [&](TObject*) { ++changes; };
    ActivateForm(second);
    EXPECT_EQ(Screen->ActiveForm(), second);
    EXPECT_EQ(Screen->Forms(0), second);
    ActivateForm(form);
    EXPECT_EQ(Screen->ActiveForm(), form);
    EXPECT_EQ(Screen->Forms(0), form);
    EXPECT_GE(changes, 2);
    Screen->OnActiveFormChange = nullptr;
    delete second;
    EXPECT_FALSE(Screen->HasForm(second));
}

TEST_F(ScreenHintTest, TheFormSeesTheWheelFirstAndOnce)
{
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(0, 0, 280, 60);
    list->Columns()->Add()->SetWidth(100);
    for (int i = 0; i < 40; ++i)
        list->Items()->Add()->SetCaption(std::to_string(i));
    int formWheels = 0, listWheels = 0;
    bool formTakes = true;
    form->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        ++formWheels;
        handled = formTakes;
    };
    list->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++listWheels; };
    form->HandleNeeded();
    SendMessageA(list->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(30, 30));
    EXPECT_EQ(formWheels, 1);
    EXPECT_EQ(listWheels, 0);
    EXPECT_EQ(list->TopItem(), list->Items()->Item(0));
    formTakes = false;
    SendMessageA(list->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(30, 30));
    EXPECT_EQ(formWheels, 2);
    EXPECT_EQ(listWheels, 1);
}

TEST_F(ScreenHintTest, TheLongHintReachesAStatusBarAndTheShortOneTheHintWindow)
{
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetSimplePanel(true);
    bar->SetAutoHint(true);
    panel->SetHint("Short|The long text");
    panel->SetShowHint(true);
    form->Show();
    PumpMessages();
    SetMouseControl(panel);
    EXPECT_EQ(Application->Hint(), "The long text");
    EXPECT_EQ(bar->SimpleText(), "The long text");
    char text[64] = {};
    // In simple mode the system reads the simple text back as part 0.
    SendMessageA(bar->WindowHandle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "The long text");

    TWndMethod previous = panel->WindowProc();
    panel->SetWindowProc([&](TMessage& m) {
        if (m.Msg == CM_HINTSHOW)
            reinterpret_cast<THintInfo*>(m.LParam)->HintStr = "Changed";
        previous(m);
    });
    POINT pos = {5, 5};
    ClientToScreen(panel->WindowHandle(), &pos);
    Application->ActivateHint(TPoint(pos));
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_TRUE(Application->HintWindow()->HintShowing());
    EXPECT_EQ(Application->HintWindow()->Caption(), "Changed");
    Application->CancelHint();
    EXPECT_FALSE(Application->HintWindow()->HintShowing());

    panel->SetWindowProc([&](TMessage& m) {
        previous(m);
        if (m.Msg == CM_HINTSHOW)
            m.Result = 1;
    });
    Application->ActivateHint(TPoint(pos));
    EXPECT_FALSE(Application->HintWindow()->HintShowing());
    panel->SetWindowProc(previous);
    SetMouseControl(nullptr);
    EXPECT_EQ(Application->Hint(), "");
}

TEST(HintTextTest, ShortAndLongHints)
{
    EXPECT_EQ(GetShortHint("a|b"), "a");
    EXPECT_EQ(GetLongHint("a|b"), "b");
    EXPECT_EQ(GetShortHint("only"), "only");
    EXPECT_EQ(GetLongHint("only"), "only");
    // "ソ" is 0x83 0x5C and "|" never a trail byte, but walk by character.
    EXPECT_EQ(GetShortHint("ソ|表"), "ソ");
}

} // namespace
