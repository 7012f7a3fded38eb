// The title bar on a real form: it takes the form's caption over and sends
// the form its buttons' commands; the system menu as an extended popup.
#include "controls/ExtItem.h"

#include "support/ModalScript.h"
#include "support/SysCommandForm.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

class ExtTitle : public SysCommandFormFixture
{
protected:
    void SetUp() override
    {
        SysCommandFormFixture::SetUp();
        form->SetCaption("Title");
        bar = new TExtTitleBar(form);
        bar->SetParent(form);
        form->Show();
        PumpMessages();
    }
    LONG FormStyle() { return GetWindowLongW(form->Handle(), GWL_STYLE); }
    TExtTitleBar* bar = nullptr;
};

} // namespace

TEST_F(ExtTitle, StandsInForTheFormsCaptionWhileActive)
{
    ASSERT_EQ(FormStyle() & WS_CAPTION, WS_CAPTION);
    bar->SetActive(true);
    EXPECT_EQ(FormStyle() & WS_CAPTION, 0);
    EXPECT_EQ(bar->CaptionItem()->Caption(), L"Title");
    EXPECT_EQ(bar->Top(), 0);
    bar->SetActive(false);
    EXPECT_EQ(FormStyle() & WS_CAPTION, WS_CAPTION);
}

TEST_F(ExtTitle, ButtonsSendTheirCommandsToTheForm)
{
    bar->SetActive(true);
    const struct
    {
        TExtItem* button;
        WPARAM command;
    } cases[] = {
        {bar->MinimizeItem(), SC_MINIMIZE},
        {bar->MaximizeItem(), SC_MAXIMIZE},
        {bar->CloseItem(), SC_CLOSE},
    };
    for (const auto& c : cases) {
        form->commands.clear();
        c.button->Click();
        PumpMessages();
        EXPECT_EQ(form->commands, std::vector<WPARAM>{c.command}) << c.command;
    }
    bar->Options()->SetMinimize(false);
    EXPECT_FALSE(bar->MinimizeItem()->Visible());
}

TEST_F(ExtTitle, TheSystemMenuPopupPostsTheChosenCommand)
{
    ModalScript script;
    script
        .WaitUntil(
            [] {
                HWND shown = FindWindowA("TExtPopupWindow", nullptr);
                if (!shown)
                    shown = FindWindowA("TExtPopupWindowS", nullptr);
                return shown && IsWindowVisible(shown);
            },
            "the system menu shows")
        .Then([] { ModalScript::PressKey(VK_UP); }) // the last entry
        .Then([] { ModalScript::PressKey(VK_RETURN); });
    HMENU system = GetSystemMenu(form->Handle(), FALSE);
    const UINT last = GetMenuItemID(system, GetMenuItemCount(system) - 1);
    ASSERT_NE(last, 0u);
    UINT command = 0;
    script.Run([&] { command = ExtPopupSystemMenu(form->Handle(), TPoint(150, 150)); });
    PumpMessages();
    EXPECT_EQ(command, last);
    EXPECT_EQ(form->commands, std::vector<WPARAM>{last});
}

TEST_F(ExtTitle, APressOnTheCaptionMovesTheFormAndADoubleClickMaximizesIt)
{
    bar->SetActive(true);
    PumpMessages();
    TBarView* view = bar->Toolbar()->View();
    view->EnsureLayout();
    const TRect label = view->Find(bar->CaptionItem())->BoundsRect();
    const LPARAM at = MAKELPARAM(label.left + 2, label.top + label.Height() / 2);
    const struct
    {
        UINT message;
        WPARAM command;
    } cases[] = {
        {WM_LBUTTONDOWN, SC_MOVE | HTCAPTION},
        {WM_LBUTTONDBLCLK, SC_MAXIMIZE},
    };
    for (const auto& c : cases) {
        form->commands.clear();
        bar->Toolbar()->Perform(c.message, MK_LBUTTON, at);
        PumpMessages();
        EXPECT_EQ(form->commands, std::vector<WPARAM>{c.command}) << c.message;
    }
}
