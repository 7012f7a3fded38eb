// The title bar on a real form: it takes the form's caption over and sends
// the form its buttons' commands; the system menu as an extended popup.
#include "controls/ExtItem.h"

#include "support/ModalScript.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

// Keeps the system commands it is sent instead of carrying them out.
class TCommandForm : public TForm
{
public:
    using TForm::TForm;
    std::vector<WPARAM> commands;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_SYSCOMMAND) {
            commands.push_back(message.WParam);
            return;
        }
        TForm::WndProc(message);
    }
};

class ExtTitle : public testing::Test
{
protected:
    void SetUp() override
    {
        form = new TCommandForm(nullptr);
        form->SetBounds(100, 100, 400, 250);
        form->SetCaption("Title");
        bar = new TExtTitleBar(form);
        bar->SetParent(form);
        form->Show();
        PumpMessages();
    }
    void TearDown() override
    {
        FreeAndNil(form);
        PumpMessages();
    }
    LONG FormStyle() { return GetWindowLongW(form->Handle(), GWL_STYLE); }
    TCommandForm* form = nullptr;
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
