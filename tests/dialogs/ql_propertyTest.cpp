// The file properties window on its own: the folder opened through the
// shell, and closing it from its button, with Enter and with Escape while it
// runs modally.
#include "dialogs/ql_property.h"

#include "editor/FileFacts.h"

#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class PropertyWindowTest : public testing::Test
{
protected:
    void TearDown() override
    {
        FreeAndNil(window);
        PumpMessages();
    }
    TForm3* Make(const AnsiString& path)
    {
        window = new TForm3(nullptr);
        TFileFacts facts;
        facts.Path = path;
        window->ShowFacts(facts);
        return window;
    }
    // Clicks the folder button and answers the shell's request.
    std::vector<TShellExecuteRequest> OpenFolder()
    {
        std::vector<TShellExecuteRequest> requests;
        Seams().ShellExecute = [&](const TShellExecuteRequest& request) -> intptr_t {
            requests.push_back(request);
            return 42;
        };
        window->Show();
        ClickCentre(window->OpenExpBtn);
        return requests;
    }

    TForm3* window = nullptr;
};

} // namespace

TEST_F(PropertyWindowTest, TheFolderButtonOpensTheFileFolderQuotedThroughTheShell)
{
    struct
    {
        const char *Path, *File;
    } const cases[] = {
        {"C:\\rec\\take 1.wav", "\"C:\\rec\""},
        // 表 ends in the byte of "\": the folder is cut at the real separator.
        {"C:\\表\\ソ.wav", "\"C:\\表\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        Make(c.Path);
        const std::vector<TShellExecuteRequest> requests = OpenFolder();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].Operation, "OPEN");
        EXPECT_EQ(requests[0].File, c.File);
        EXPECT_EQ(requests[0].Parameters, "");
        EXPECT_EQ(requests[0].ShowCommand, SW_SHOWNORMAL);
        EXPECT_EQ(requests[0].Owner, window->Handle());
        FreeAndNil(window);
    }
}

TEST_F(PropertyWindowTest, TheCloseButtonEnterAndEscapeEndTheModalWindow)
{
    const std::function<void(TForm3&)> closers[] = {
        [](TForm3& shown) { ClickCentre(shown.CloseBtn); },
        [](TForm3& shown) { PressKey(FocusedWindow(), VK_RETURN); },
        [](TForm3& shown) {
            ASSERT_TRUE(ActivateForm(&shown));
            RealKeyPress(VK_ESCAPE);
        },
    };
    for (const auto& close : closers) {
        Make("C:\\rec\\take.wav");
        ScriptedModalForms modal;
        modal.Add([&](TCustomForm* shown) {
            close(*window);
            EXPECT_NE(window->ModalResult(), mrNone) << "still open";
            return window->ModalResult() == mrNone ? mrCancel : mrNone;
        });
        window->ShowModal();
        EXPECT_EQ(modal.Shown().size(), 1u);
        FreeAndNil(window);
    }
}
