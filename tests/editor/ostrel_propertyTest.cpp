// The file properties, about, help and quit commands on the running window:
// each window shown through the modal seam from the menu or the shortcut,
// the properties window with the facts of the file on disk, the help file
// opened through the shell seam, and quit under the close rules.
#include "MainWindowFixture.h"
#include "TestDocument.h"

#include "dialogs/ql_about.h"
#include "dialogs/ql_property.h"

#include "classlib/Application.h"
#include "classlib/DateTime.h"
#include "classlib/FilePaths.h"

#include "support/ModalDriver.h"
#include "support/TestSeams.h"
#include "support/WavFile.h"

using namespace testing_support;

namespace {

class PropertyCommandTest : public MainWindowTest
{
protected:
    // A stereo file of 30,000 frames at 22050 Hz, dated 2021-07-04 09:08:07.
    void OpenStereoFile()
    {
        wavPath = WriteWav(folder, "take 1.wav",
                           WavBuilder().Pcm16(2, 22050, ToneSamples(30000, 2, 22050, 440, 8000)));
        const FILETIME written = DateTimeToFileTime(kWritten);
        HANDLE file = CreateFileA(wavPath.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SetFileTime(file, nullptr, nullptr, &written);
        CloseHandle(file);
        LoadTestDocument(*form, wavPath);
    }
    // The properties window as a run of the command showed it.
    struct TShownFacts
    {
        AnsiString Name, Path, Channel, Rate, Sps, Block, Bit, Offset, Frames, Time, Size, Date;
    };
    std::vector<TShownFacts> RunProperties(const std::function<void()>& command)
    {
        std::vector<TShownFacts> shown;
        ScriptedModalForms modal;
        modal.Add([&](TCustomForm* form) {
            auto* window = dynamic_cast<TForm3*>(form);
            if (!window)
                return mrCancel;
            shown.push_back({window->NameLb->Caption(), window->PathEd->Text(),
                             window->ChannelLb->Caption(), window->RateLb->Caption(),
                             window->SpsLb->Caption(), window->BlockLb->Caption(),
                             window->BitLb->Caption(), window->OffsetLb->Caption(),
                             window->SampleSizeLb->Caption(), window->TimeLb->Caption(),
                             window->FileSizeLb->Caption(), window->DateLb->Caption()});
            window->CloseBtn->Click();
            return mrNone;
        });
        command();
        return shown;
    }

    const TDateTime kWritten = EncodeDate(2021, 7, 4) + EncodeTime(9, 8, 7, 0);
    std::string wavPath;
};

} // namespace

TEST_F(PropertyCommandTest, TheShortcutAndTheMenuShowTheFactsOfTheOpenFile)
{
    Start();
    OpenStereoFile();
    const std::function<void()> ways[] = {
        [&] {
            PressOnWave('I', ssCtrl);
        },
        [&] { MenuItemOf(form->FileMenu, form->actFileProperty)->Click(); },
    };
    for (const auto& way : ways) {
        const std::vector<TShownFacts> shown = RunProperties(way);
        ASSERT_EQ(shown.size(), 1u);
        const TShownFacts& facts = shown[0];
        EXPECT_EQ(facts.Name, "take 1.wav");
        EXPECT_EQ(facts.Path, wavPath);
        EXPECT_EQ(facts.Channel, "ステレオ");
        EXPECT_EQ(facts.Rate, "22050 Hz");
        EXPECT_EQ(facts.Sps, "88,200");
        EXPECT_EQ(facts.Block, "4");
        EXPECT_EQ(facts.Bit, "16 Bit");
        EXPECT_EQ(facts.Offset, "44");
        EXPECT_EQ(facts.Frames, "30,000");
        EXPECT_EQ(facts.Time, "0:01.36");
        EXPECT_EQ(facts.Size, "117.2 Kbytes"); // 120,044 bytes
        EXPECT_EQ(facts.Date, DateTimeToStr(kWritten));
    }
}

TEST_F(PropertyCommandTest, AFileThatChangedOnDiskShowsNoFactsButTheFailure)
{
    Start();
    OpenStereoFile();
    // The same name now holds a head that no longer passes: no window.
    WriteBytes(wavPath, Bytes(20, 0));
    const std::vector<TShownFacts> shown = RunProperties([&] { form->actFileProperty->Execute(); });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(StatusText(form), "ファイルを開けませんでした");
    EXPECT_EQ(StatusColor(form), clRed);
}

TEST_F(PropertyCommandTest, NeitherWindowOpensWhileBusyNorThePropertiesWithoutAFile)
{
    Start();
    ScriptedModalForms none; // any window fails the test
    form->actFileProperty->Execute();
    RunWhileLoading(*form, folder, [this] {
        form->actFileProperty->Execute();
        form->actAbout->Execute();
    });
    EXPECT_TRUE(none.Shown().empty());
}

TEST_F(PropertyCommandTest, TheHelpMenuShowsTheAboutWindowAndFreesIt)
{
    Start();
    ScriptedModalForms modal;
    modal.Add([](TCustomForm* shown) {
        EXPECT_NE(dynamic_cast<TForm7*>(shown), nullptr);
        PressKey(shown->Handle(), VK_SPACE);
        return mrNone;
    });
    MenuItemOf(form->HelpMenu, form->actAbout)->Click();
    ASSERT_EQ(modal.Shown().size(), 1u);
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_EQ(dynamic_cast<TForm7*>(form->Components(i)), nullptr) << "not freed";
}

TEST_F(PropertyCommandTest, F1OpensTheHelpFileBesideTheProgramOnlyWhenItIsThere)
{
    Start();
    std::vector<TShellExecuteRequest> requests;
    Seams().ShellExecute = [&](const TShellExecuteRequest& request) -> intptr_t {
        requests.push_back(request);
        return 33;
    };
    const AnsiString help = ExtractFilePath(Application->ExeName()) + "help.chm";
    DeleteFileA(help.c_str());
    PressKey(form->FocusBtn->Handle(), VK_F1);
    EXPECT_TRUE(requests.empty());

    HANDLE file = CreateFileA(help.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    PressKey(form->FocusBtn->Handle(), VK_F1);
    MenuItemOf(form->HelpMenu, form->actHelp)->Click();
    DeleteFileA(help.c_str());
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Operation, "OPEN");
    EXPECT_EQ(requests[0].File, "\"" + help + "\"");
    EXPECT_EQ(requests[0].Parameters, "");
    EXPECT_EQ(requests[0].ShowCommand, SW_SHOWNORMAL);
}

TEST_F(PropertyCommandTest, QuitAsksAboutUnsavedRegionsAndClosesOnlyAfterAYes)
{
    Start();
    OpenStereoFile();
    form->AddRegion(1000, 9000);
    ScriptedMessageBoxes boxes({IDNO, IDYES});
    PressKey(form->FocusBtn->Handle(), 'Q', ssCtrl);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(boxes.Shown().size(), 1u);
    MenuItemOf(form->FileMenu, form->actFileQuit)->Click();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_FALSE(form->FileLoaded()); // closed: the document went with the window
}
