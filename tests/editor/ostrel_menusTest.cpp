// The main window's menu bar under Xvfb, driven by real keys and clicks:
// Alt and a letter open a menu wherever the focus is, Enter runs the chosen
// command, the recent files sit after a separator at index 17 and open
// their file, and the actions' updates enable and check the items as their
// menus open.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Application.h"
#include "classlib/Seams.h"

#include "support/BarDriver.h"
#include "support/ModalScript.h"
#include "support/WavFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 16000;

class MenuBarTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        wavPath = WriteHalfSilentWav(folder, "take.wav", kFrames, kRate);
        Seams().FileDialog = [this](TFileDialogRequest& request) {
            ++fileDialogs;
            request.FileName = wavPath;
            return true;
        };
    }

    static bool MenuOpen(TBarCustomItem* menu) { return OpenMenuOf(menu) != nullptr; }

    // Runs loop, in which menu opens; check sees it open, then Escape closes
    // it and a second Escape leaves the menu bar.
    static void WithMenuOpen(TBarCustomItem* menu, const std::function<void()>& loop,
                             const std::function<void(TBarView*)>& check)
    {
        ModalScript script;
        script.WaitUntil([menu] { return MenuOpen(menu); }, "the menu opens")
            .Then([menu, check] {
                check(OpenMenuOf(menu));
                ModalScript::PressKey(VK_ESCAPE);
            })
            .WaitUntil([menu] { return !MenuOpen(menu); }, "the menu closes")
            .Then([] { ModalScript::PressKey(VK_ESCAPE); });
        script.Run(loop);
    }
    // The window made as the program makes it: the application's main form.
    void StartAsMainForm()
    {
        Application->CreateForm(form);
        form->SetSettingsPath(iniPath);
        form->Show();
        PumpMessages();
    }
    void ClickTitle(TBarCustomItem* menu) { RealClick(ScreenCentre(form->MenuBar->View(), menu)); }

    std::string wavPath;
    int fileDialogs = 0;
};

TEST_F(MenuBarTest, TheMenuBarIsNamedAndStaysInItsOwnDock)
{
    Start();
    EXPECT_EQ(form->MenuBar->Name(), "MenuBar");
    EXPECT_TRUE(form->MenuBar->MenuBar());
    EXPECT_EQ(form->MenuBar->CurrentDock(), form->SkinDock1);
    EXPECT_FALSE(form->SkinDock1->AllowDrag());
    EXPECT_LT(form->SkinDock1->Top(), form->SkinDock2->Top()) << "above the toolbars";
    EXPECT_GT(form->SkinDock1->Height(), 0);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr) << "no menu of the system's";
}

TEST_F(MenuBarTest, AltAndFOpenTheFileMenuAndEnterOpensAFile)
{
    Start();
    ASSERT_TRUE(ActivateForm(form));
    TBarCustomItem* selected = nullptr;
    ModalScript script;
    script.WaitUntil([&] { return MenuOpen(form->FileMenu); }, "the File menu opens").Then([&] {
        TBarItemViewer* viewer = OpenMenuOf(form->FileMenu)->Selected();
        selected = viewer ? viewer->Item() : nullptr;
        ModalScript::PressKey(VK_RETURN);
    });
    script.Run([&] { PressKey(FocusedWindow(), 'F', ssAlt); });
    PumpMessages();
    EXPECT_EQ(selected, form->FileMenu->Items(0));
    EXPECT_EQ(selected->Action(), form->actFileOpen);
    EXPECT_EQ(fileDialogs, 1);
    EXPECT_TRUE(form->FileLoaded());
    EXPECT_EQ(form->Caption().substr(0, 11), "take.wav - ");
}

TEST_F(MenuBarTest, AltAndALetterReachTheMenuBarFromAnyControl)
{
    StartAsMainForm();
    LoadTestDocument(*form, wavPath);
    const struct
    {
        const char* What;
        std::function<TWinControl*()> Focused;
        char Letter;
        TExtSubmenuItem* TFormVusk::*Menu;
    } cases[] = {
        {"region list", [this] { return form->EditList; }, 'E', &TFormVusk::EditMenu},
        {"waveform", [this] { return form->FocusBtn; }, 'R', &TFormVusk::RegionMenu},
        {"waveform", [this] { return form->FocusBtn; }, 'H', &TFormVusk::HelpMenu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.What) + " " + c.Letter);
        ASSERT_TRUE(ActivateForm(form));
        c.Focused()->SetFocus();
        PumpMessages();
        int shown = 0;
        WithMenuOpen(
            form->*c.Menu, [&] { PressKey(FocusedWindow(), c.Letter, ssAlt); },
            [&](TBarView*) { ++shown; });
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(FocusedWindow(), c.Focused()->Handle()) << "the focus comes back";
    }
}

TEST_F(MenuBarTest, TheRecentFilesFollowTheSeparatorAtIndex17AndOpenTheirFile)
{
    Start();
    const std::string otherPath = WriteHalfSilentWav(folder, "other.wav", kFrames, kRate);
    form->AddRecentFile(wavPath);
    form->AddRecentFile(otherPath);
    ASSERT_EQ(form->FileMenu->Count(), 17 + 1 + 2);
    EXPECT_NE(dynamic_cast<TSkinSeparatorItem*>(form->FileMenu->Items(17)), nullptr);
    EXPECT_EQ(form->FileMenu->Items(18)->Caption(), "&0 other.wav");
    EXPECT_EQ(form->FileMenu->Items(19)->Caption(), "&1 take.wav");

    ClickMenuItem(form, form->FileMenu->Items(19));
    EXPECT_TRUE(form->FileLoaded());
    EXPECT_EQ(form->Caption().substr(0, 11), "take.wav - ");
    // The opened file moved to the top of the rebuilt entries.
    ASSERT_EQ(form->FileMenu->Count(), 17 + 1 + 2);
    EXPECT_EQ(form->FileMenu->Items(18)->Caption(), "&0 take.wav");
    EXPECT_EQ(fileDialogs, 0);
}

// What an item shows when its menu opens: its action's state after the
// window's idle update, and for the output modes, the checks their menus
// set as they open.
TEST_F(MenuBarTest, TheActionsUpdatesEnableAndCheckTheItemsTheirMenusShow)
{
    Start();
    // The output modes apply to stereo files only.
    const std::string stereoPath = WriteWav(
        folder, "stereo.wav", WavBuilder().Pcm16(2, kRate, std::vector<std::int16_t>(2 * kFrames)));
    const auto oneRegionMonoLeft = [&] {
        LoadTestDocument(*form, stereoPath);
        form->AddRegion(1000, 2000);
        form->SelectRegionRow(0, false);
        form->actRegionMonoLeft->Execute();
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    };
    const auto fileOpen = [&] { LoadTestDocument(*form, wavPath); };
    const struct
    {
        const char* What;
        std::function<void()> Setup;
        TExtSubmenuItem* TFormVusk::*Menu;
        TAction* TFormVusk::*Action;
        bool IdleFirst; // the window's idle update runs before the menu opens
        bool Enabled, Checked;
    } cases[] = {
        {"close without a file", nullptr, &TFormVusk::FileMenu, &TFormVusk::actFileClose, true,
         false, false},
        {"close with a file", fileOpen, &TFormVusk::FileMenu, &TFormVusk::actFileClose, true, true,
         false},
        {"add without a selection", fileOpen, &TFormVusk::RegionMenu, &TFormVusk::actRegionAdd,
         true, false, false},
        {"paste with nothing copied", fileOpen, &TFormVusk::EditMenu, &TFormVusk::actEditPaste,
         true, false, false},
        {"output mode shared", oneRegionMonoLeft, &TFormVusk::OutModeMenu,
         &TFormVusk::actRegionMonoLeft, false, true, true},
        {"output mode not shared", oneRegionMonoLeft, &TFormVusk::OutModeMenu,
         &TFormVusk::actRegionSwap, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        form->actFileCloseExecute(form);
        if (c.Setup)
            c.Setup();
        TBarCustomItem* menu = form->*c.Menu;
        TAction* action = form->*c.Action;
        TBarCustomItem* item = MenuItemOf(menu, action);
        ASSERT_NE(item, nullptr);
        ActivateForm(form);
        // The action and its item show the opposite until then.
        action->SetEnabled(!c.Enabled);
        ASSERT_EQ(item->Enabled(), !c.Enabled);
        if (c.IdleFirst)
            PumpMessages();
        else
            action->SetChecked(!c.Checked);
        // A submenu opens from its item in its menu.
        TBarCustomItem* title = menu->Parent() == form->MenuBar->Items() ? menu : menu->Parent();
        bool enabled = !c.Enabled, checked = !c.Checked;
        ModalScript script;
        script.WaitUntil([&] { return MenuOpen(title); }, "the menu opens");
        if (title != menu)
            script
                .Then([&] {
                    const POINT at = ScreenCentre(OpenMenuOf(title), menu);
                    ModalScript::RealPress(at);
                    ModalScript::RealRelease(at);
                })
                .WaitUntil([&] { return MenuOpen(menu); }, "the submenu opens");
        script.Then([&] {
            enabled = item->Enabled();
            checked = item->Checked();
            PostMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
        });
        script.Run([&] { ClickTitle(title); });
        EXPECT_EQ(enabled, c.Enabled);
        EXPECT_EQ(checked, c.Checked);
    }
}

TEST_F(MenuBarTest, TheVolumeStepsAndTheToolbarLockAnswerTheirMenuItems)
{
    Start();
    ClickMenuItem(form, form->vol12);
    EXPECT_TRUE(form->vol12->Checked());
    EXPECT_FALSE(form->vol0->Checked()) << "one step of the radio group";
    EXPECT_DOUBLE_EQ(form->MasterVolume(), 0.25);

    ASSERT_TRUE(form->SkinDock2->AllowDrag());
    ClickMenuItem(form, form->ExtItem88);
    EXPECT_FALSE(form->SkinDock2->AllowDrag());
    EXPECT_TRUE(form->ExtItem88->Checked());
    EXPECT_TRUE(form->ToolbarPopupLock->Checked());
}

} // namespace
