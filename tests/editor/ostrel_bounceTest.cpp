// The bounce from the running window on a generated stereo file: the two
// commands with the save dialog answered through its seam, the free-space
// refusal with an injected free size, Cancel between files, a failing
// write, and regions dropped on the explorer tree.
#include "BounceTestFolder.h"
#include "MainWindowFixture.h"
#include "ProcessWindowWatch.h"
#include "TestDocument.h"

#include "classlib/DragManager.h"
#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"
#include "support/TestSeams.h"
#include "support/WavFile.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace testing_support;

namespace {

using Samples = std::vector<std::int16_t>;
using Names = std::vector<AnsiString>;

constexpr int kFrames = 60000;
constexpr int kRate = 44100;
constexpr int kHeadBytes = 44;

// What the processing window showed once the job had stopped, before the
// user closed it.
struct StoppedWindow
{
    AnsiString Caption;
    AnsiString Text;
    TColor TextColor = clNone;
    AnsiString Count; // MesLabel2
    bool CloseChkShown = false;
};

class BounceWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        out = folder / "out";
        ASSERT_TRUE(CreateDir(out));
        Seams().DiskFree = [this](const AnsiString& path) {
            askedFree.push_back(path);
            return freeBytes;
        };
        Seams().FileDialog = [this](TFileDialogRequest& request) {
            dialogs.push_back(request);
            request.FileName = out + "\\not used.wav";
            return true;
        };
        StartWithSettings(ClosesItself() ? "[WINDOW]\r\nPROCESS=1\r\n"
                                         : "[WINDOW]\r\nPROCESS=0\r\n");
        samples = NoiseSamples(kFrames, 2, 5);
        LoadTestDocument(*form,
                         WriteWav(folder, "take.wav", WavBuilder().Pcm16(2, kRate, samples)));
    }

    // Whether the processing window closes itself after a bounce (the
    // setting the window starts with).
    virtual bool ClosesItself() const { return true; }
    void AddRegions(const std::vector<std::pair<int, int>>& ranges)
    {
        for (const auto& [start, end] : ranges)
            form->AddRegion(start, end);
    }
    Names OutNames() const
    {
        Names names = FileNamesIn(out + "\\");
        std::sort(names.begin(), names.end());
        return names;
    }
    // An output file's samples after its head; empty unless the head is the
    // canonical stereo one of the source.
    Samples DataOf(const AnsiString& name) const
    {
        TWavInfo info;
        info.Path = out + "\\" + name;
        GetWavInfo(info);
        const std::string bytes = ReadWholeFile(info.Path);
        if (!info.IsPlayable || info.SampleStart != kHeadBytes || info.Channel != 2 ||
            bytes.size() != kHeadBytes + info.DataSize)
            return {};
        return SamplesOf(reinterpret_cast<const std::uint8_t*>(bytes.data()) + kHeadBytes,
                         bytes.size() - kHeadBytes);
    }
    Samples SourceRange(int start, int end) const
    {
        return Samples(samples.begin() + 2 * start, samples.begin() + 2 * end);
    }
    // Closes the processing window with "閉じる" once the job stopped, and
    // tells what it showed then.
    ProcessWindowWatch CloseWhenStopped(StoppedWindow& seen)
    {
        return ProcessWindowWatch([&seen](TForm4& window) {
            if (window.FRunning || window.CancelBtn->Caption() != "閉じる")
                return;
            seen = {window.Caption(), window.MesLabel1->Caption(),
                    window.MesLabel1->Font()->Color(), window.MesLabel2->Caption(),
                    window.CloseChk->Visible()};
            window.CancelBtn->Click();
        });
    }
    void ExpectWindowGivenBack()
    {
        EXPECT_TRUE(form->Enabled());
        EXPECT_FALSE(form->Document().Busy());
        EXPECT_EQ(FindProcessWindow(), nullptr);
    }

    AnsiString out; // the output folder, no trailing "\"
    Samples samples;
    std::int64_t freeBytes = std::int64_t(1) << 40;
    Names askedFree;
    std::vector<TFileDialogRequest> dialogs;
};

class BounceKeptWindowTest : public BounceWindowTest
{
protected:
    bool ClosesItself() const override { return false; }
};

TEST_F(BounceKeptWindowTest, TheShortcutBouncesEveryRegionInTheListsOrderIntoTheChosenFolder)
{
    AddRegions({{0, 10000}, {10000, 30000}, {25000, 60000}});
    // All three share a name; the list shows them last first.
    for (int i = 0; i < 3; ++i)
        form->RegionAt(i)->Name = "take";
    form->SortRegionListByKeys({"2", "1", "0"});
    form->SetActiveControl(form->FocusBtn);

    StoppedWindow seen;
    {
        ProcessWindowWatch watch = CloseWhenStopped(seen);
        PressKey(form->FocusBtn->Handle(), 'B', ssCtrl);
    }

    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].Title, "出力先を選択して下さい");
    EXPECT_EQ(dialogs[0].FileName, "3個のリージョン");
    EXPECT_EQ(askedFree, Names{out + "\\"});
    EXPECT_EQ(seen.Caption, "バウンス");
    EXPECT_EQ(seen.Text, "バウンスが終了しました");
    EXPECT_EQ(seen.TextColor, clBlack);
    EXPECT_EQ(seen.Count, "3 / 3");
    EXPECT_TRUE(seen.CloseChkShown);
    ASSERT_EQ(OutNames(), (Names{"take(1).wav", "take(2).wav", "take.wav"}));
    EXPECT_EQ(DataOf("take.wav"), SourceRange(25000, 60000));
    EXPECT_EQ(DataOf("take(1).wav"), SourceRange(10000, 30000));
    EXPECT_EQ(DataOf("take(2).wav"), SourceRange(0, 10000));
    ExpectWindowGivenBack();
}

TEST_F(BounceKeptWindowTest, OnceTheJobStopsTheKeysOfTheCloseButtonCloseTheWindow)
{
    AddRegions({{0, 20000}, {20000, 60000}});
    struct Case
    {
        const char* Name;
        int FailingFile; // 0: the job finishes
        WORD Key;
    };
    for (const Case& c : {Case{"finished, Space", 0, VK_SPACE},
                          Case{"finished, Enter", 0, VK_RETURN},
                          Case{"failed, Space", 2, VK_SPACE}}) {
        SCOPED_TRACE(c.Name);
        form->SetBounceTarget([&c](const AnsiString& folder) {
            auto target = std::make_unique<TTestBounceFolder>(folder);
            if (c.FailingFile)
                target->FailFile(c.FailingFile, 1000);
            return target;
        });
        form->SetActiveControl(form->FocusBtn);
        bool pressed = false;
        int looksSincePress = 0;
        bool closedByHand = false;
        {
            ProcessWindowWatch watch([&](TForm4& window) {
                if (window.FRunning || window.CancelBtn->Caption() != "閉じる" || !window.Visible())
                    return;
                if (!pressed) {
                    pressed = true;
                    RealKeyPress(c.Key);
                } else if (++looksSincePress > 50 && !closedByHand) {
                    closedByHand = true;
                    window.CancelBtn->Click();
                }
            });
            RealKeyPress('B', ssCtrl);
        }
        EXPECT_TRUE(pressed);
        EXPECT_FALSE(closedByHand) << "the key left the stopped window open";
        ExpectWindowGivenBack();
    }
}

TEST_F(BounceKeptWindowTest, NamesTooLongForTheFolderAreCutSoThatEveryRegionGetsItsFile)
{
    // A region list edited by hand, opened and bounced with the keys.
    const AnsiString longA(300, 'a');
    const struct
    {
        AnsiString name;
        int start, end;
    } listed[] = {{longA, 0, 10000},
                  {AnsiString(300, 'b'), 10000, 20000},
                  {longA, 20000, 30000},
                  {"short", 30000, 60000}};
    AnsiString list = "[FILE_INFO]\r\nWAV_FILE_PATH=" + folder / "take.wav" +
                      "\r\nREGION_COUNT=4\r\nCUTPOINT_COUNT=0\r\n";
    for (int i = 0; i < 4; ++i)
        list += "[REGION_" + IntToStr(i) + "]\r\nREGION_NAME=" + listed[i].name +
                "\r\nREGION_START=" + IntToStr(listed[i].start) +
                "\r\nREGION_END=" + IntToStr(listed[i].end) +
                "\r\nREGION_VOL=1\r\nREGION_OUT=NoTouch\r\n";
    folder.WriteFile("long.rgl", list);
    std::vector<AnsiString> answers = {folder / "long.rgl", out + "\\not used.wav"};
    Seams().FileDialog = [&answers](TFileDialogRequest& request) {
        request.FileName = answers.front();
        answers.erase(answers.begin());
        return true;
    };
    PressKey(form->FocusBtn->Handle(), 'O', ssCtrl);
    ASSERT_EQ(form->RegionCount(), 4);
    StoppedWindow seen;
    {
        ProcessWindowWatch watch = CloseWhenStopped(seen);
        PressKey(form->FocusBtn->Handle(), 'B', ssCtrl);
    }

    EXPECT_EQ(seen.Text, "バウンスが終了しました");
    // The path of a name the system takes: at most MAX_PATH - 1 characters
    // in all, and 255 for the name.
    const std::size_t room = std::min<std::size_t>(255, MAX_PATH - 1 - (out.size() + 1));
    const Names expected = {AnsiString(room - 7, 'a') + "(1).wav",
                            AnsiString(room - 4, 'a') + ".wav", AnsiString(room - 4, 'b') + ".wav",
                            "short.wav"};
    ASSERT_EQ(OutNames(), expected);
    EXPECT_EQ(DataOf(expected[0]), SourceRange(20000, 30000));
    EXPECT_EQ(DataOf(expected[1]), SourceRange(0, 10000));
    EXPECT_EQ(DataOf(expected[2]), SourceRange(10000, 20000));
    EXPECT_EQ(DataOf("short.wav"), SourceRange(30000, 60000));
    ExpectWindowGivenBack();
}

TEST_F(BounceWindowTest, TheSelectedOnlyCommandWritesTheSelectionAndCloseChkIsKept)
{
    AddRegions({{0, 100}, {100, 5000}, {5000, 6000}});
    SelectOnly({1, 2});
    // Checked from the setting, and the setting follows the box: a window
    // that closes itself needs no hand, one that waits is closed by hand.
    form->actFileBounceSelOnly->Execute();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].FileName, "2個のリージョン");
    EXPECT_EQ(OutNames(), (Names{"take_02.wav", "take_03.wav"}));
    EXPECT_EQ(DataOf("take_02.wav"), SourceRange(100, 5000));
    EXPECT_TRUE(form->FOption.ProcessClose);
    ExpectWindowGivenBack();

    // The user unchecks the box while the job runs: the window waits.
    SelectOnly({0});
    form->SetBounceTarget([](const AnsiString& folder) {
        auto target = std::make_unique<TTestBounceFolder>(folder);
        target->OnCreated = [](int, const AnsiString&) {
            PostMessageA(FindProcessWindow()->CloseChk->Handle(), BM_CLICK, 0, 0);
        };
        return target;
    });
    StoppedWindow seen;
    {
        ProcessWindowWatch watch = CloseWhenStopped(seen);
        form->actFileBounceSelOnly->Execute();
    }
    EXPECT_EQ(seen.Text, "バウンスが終了しました");
    EXPECT_EQ(OutNames(), (Names{"take_01.wav", "take_02.wav", "take_03.wav"}));
    EXPECT_FALSE(form->FOption.ProcessClose);
    ExpectWindowGivenBack();
}

TEST_F(BounceWindowTest, TooLittleFreeSpaceRefusesWithTheSizesAndWritesNothing)
{
    AddRegions({{0, 10000}, {10000, 20000}, {20000, 60000}});
    const std::int64_t needed = 4 * 60000 + 3 * kHeadBytes;
    struct Case
    {
        std::int64_t free;
        bool refused;
    };
    for (const Case c : {Case{needed - 1, true}, Case{-1, true}, Case{needed, false}}) {
        SCOPED_TRACE(c.free);
        freeBytes = c.free;
        ScriptedMessageBoxes boxes(c.refused ? std::vector<int>{IDOK} : std::vector<int>{});
        form->actFileBounce->Execute();
        if (c.refused) {
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0].Caption, "警告");
            EXPECT_EQ(boxes.Shown()[0].Flags, UINT(MB_OK | MB_ICONEXCLAMATION));
            EXPECT_TRUE(OutNames().empty());
        } else {
            EXPECT_EQ(OutNames().size(), 3u);
        }
        ExpectWindowGivenBack();
    }
    freeBytes = 1000;
    ScriptedMessageBoxes boxes({IDOK});
    form->actFileBounce->Execute();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Text,
              "空き容量が足りないのでファイルを出力できません\r\r出力サイズ： 234.5 Kbytes / "
              "空き容量： 1.0 Kbytes");
}

TEST_F(BounceWindowTest, CancelDuringTheFirstOfFourFilesLeavesExactlyThatFile)
{
    AddRegions({{0, 15000}, {15000, 30000}, {30000, 45000}, {45000, 60000}});
    bool heldMeanwhile = false;
    form->SetBounceTarget([&](const AnsiString& folder) {
        auto target = std::make_unique<TTestBounceFolder>(folder);
        target->OnCreated = [&](int number, const AnsiString&) {
            if (number != 1)
                return;
            heldMeanwhile = form->Document().Busy() && !form->Enabled();
            // The click reaches the window while the file is written.
            PostMessageA(FindProcessWindow()->CancelBtn->Handle(), BM_CLICK, 0, 0);
        };
        return target;
    });
    StoppedWindow seen;
    {
        ProcessWindowWatch watch = CloseWhenStopped(seen);
        form->actFileBounce->Execute();
    }
    EXPECT_TRUE(heldMeanwhile);
    EXPECT_EQ(seen.Text, "バウンスを中止しました");
    EXPECT_EQ(seen.TextColor, clRed);
    EXPECT_EQ(seen.Count, "");
    EXPECT_EQ(OutNames(), Names{"take_01.wav"});
    EXPECT_EQ(DataOf("take_01.wav"), SourceRange(0, 15000));
    // The box, left alone, is stored as it stood.
    EXPECT_TRUE(form->FOption.ProcessClose);
    ExpectWindowGivenBack();
}

TEST_F(BounceWindowTest, AFailingWriteShowsTheFailureAndKeepsOnlyTheFilesWritten)
{
    AddRegions({{0, 20000}, {20000, 60000}, {0, 100}});
    form->SetBounceTarget([](const AnsiString& folder) {
        auto target = std::make_unique<TTestBounceFolder>(folder);
        target->FailFile(2, 100000); // the second file stops partway
        return target;
    });
    StoppedWindow seen;
    {
        ProcessWindowWatch watch = CloseWhenStopped(seen);
        form->actFileBounce->Execute();
    }
    EXPECT_EQ(seen.Text, "バウンスに失敗しました");
    EXPECT_EQ(seen.TextColor, clRed);
    EXPECT_EQ(OutNames(), Names{"take_01.wav"});
    EXPECT_EQ(DataOf("take_01.wav"), SourceRange(0, 20000));
    ExpectWindowGivenBack();
}

// --- The drop on the explorer tree ---------------------------------------------------------

class BounceDropTest : public BounceWindowTest
{
protected:
    void SetUp() override
    {
        BounceWindowTest::SetUp();
        if (!form->ShellTreeView1->Visible())
            form->actViewExp->Execute();
        ASSERT_TRUE(CreateDir(out + "\\sub"));
        // The tree lists only folders and sound files; a .wav stands for any file.
        folder.WriteFile("out\\file.wav", "x");
        ASSERT_TRUE(form->ShellTreeView1->SelectPath(out));
        outNode = form->ShellTreeView1->Selected();
        outNode->Expand(false);
        PumpMessages();
        ASSERT_EQ(NodeNames(outNode), (Names{"sub", "file.wav"}));
        subNode = outNode->Item(0);
        fileNode = outNode->Item(1);
        subNode->Expand(false);
        AddRegions({{0, 100}, {100, 200}});
    }
    static Names NodeNames(const TTreeNode* node)
    {
        Names names;
        for (int i = 0; i < node->Count(); ++i)
            names.push_back(node->Item(i)->Text());
        return names;
    }
    // Drags the region list's items onto node, as the hand does, through
    // the library's drag.
    void DragOnto(const TTreeNode* node)
    {
        const TRect r = node->DisplayRect(true);
        POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(form->ShellTreeView1->Handle(), &at);
        ScopedCursorPos cursor(at);
        form->EditList->BeginDrag(true);
        ASSERT_NE(DragManagerWindow(), nullptr);
        SendMessageA(DragManagerWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        SendMessageA(DragManagerWindow(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        PumpMessages();
    }

    TTreeNode* outNode = nullptr;
    TTreeNode* subNode = nullptr;
    TTreeNode* fileNode = nullptr;
};

TEST_F(BounceDropTest, SelectedRegionsDroppedOnAFolderOrAFileGoToThatFolder)
{
    SelectOnly({1});
    DragOnto(subNode);
    EXPECT_EQ(FileNamesIn(out + "\\sub\\"), Names{"take_02.wav"});
    EXPECT_EQ(DataOf("sub\\take_02.wav"), SourceRange(100, 200));
    EXPECT_EQ(NodeNames(subNode), Names{"take_02.wav"}); // the new file shows

    SelectOnly({0, 1});
    DragOnto(fileNode);
    EXPECT_EQ(OutNames(), (Names{"file.wav", "sub", "take_01.wav", "take_02.wav"}));
    EXPECT_EQ(NodeNames(outNode), (Names{"sub", "file.wav", "take_01.wav", "take_02.wav"}));
    ExpectWindowGivenBack();

    // Without a selection the drop does nothing.
    form->ClearRegionSelection();
    DragOnto(subNode);
    EXPECT_EQ(FileNamesIn(out + "\\sub\\"), Names{"take_02.wav"});
    EXPECT_EQ(askedFree.size(), 2u);
}

} // namespace
