// The document under Xvfb: opening generated files (caption, info labels,
// draw data), every refusal with its text, the build in the processing
// window cancelled, painted before the main window's own repaint, or
// holding its file whole and failing on a file cut short (before the build,
// or during it from outside the system), the draw cache on reopen, the close
// question before an open, the reload after a preference change and the
// command-line open.
#include "MainWindowFixture.h"
#include "ProcessWindowWatch.h"

#include "dialogs/ql_preference.h"
#include "editor/DrawCache.h"
#include "editor/DrawCacheFile.h"
#include "editor/RegionFileDisk.h"
#include "editor/ql_process.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "support/ScreenCheck.h"
#include "support/TestSeams.h"
#include "support/WavFile.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

using namespace testing_support;

namespace {

using Samples = std::vector<std::int16_t>;

constexpr const char* kOpenFailed = "ファイルを開けませんでした";
constexpr const char* kCloseQuestion =
    "リージョンリストに変更があります\rこのまま閉じてもよろしいですか？";
// Just over two chunks of 16-bit values: the build reports progress twice.
constexpr int kThreeChunkFrames = 2200000;
constexpr std::uint32_t kChunkValues = 2097152;

TWavInfo InfoOf(const std::string& path)
{
    TWavInfo info;
    info.Path = path;
    GetWavInfo(info);
    return info;
}

// How many visible windows inside window wait to be painted.
int VisibleChildrenWaitingForPaint(HWND window)
{
    int waiting = 0;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM count) WINAPI -> BOOL {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE))
                ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&waiting));
    return waiting;
}

// The share of black among the screen's pixels where window stands: an
// unpainted window is black on this display.
double BlackShareOnScreen(HWND window)
{
    RECT place;
    GetWindowRect(window, &place);
    const ScreenImage screen(GetDesktopWindow());
    int black = 0, all = 0;
    for (int y = std::max<int>(place.top, 0); y < std::min<int>(place.bottom, screen.Height()); ++y)
        for (int x = std::max<int>(place.left, 0); x < std::min<int>(place.right, screen.Width());
             ++x, ++all)
            black += screen.At(x, y) == 0;
    return all > 0 ? static_cast<double>(black) / all : 1;
}

class DocumentTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Start();
    }

    std::string Write(const std::string& name, const WavBuilder& wav)
    {
        return WriteWav(folder, name, wav);
    }
    std::string Stereo(const std::string& name, const Samples& samples)
    {
        return Write(name, WavBuilder().Pcm16(2, 44100, samples));
    }
    bool NoDocument() const
    {
        return form->Caption() == "Zandrel" && !form->FileLoaded() &&
               form->Document().DrawStereo().Count() == 0 &&
               form->Document().DrawMono().Count() == 0;
    }
    // The main window is usable again after an open, whatever happened.
    void ExpectWindowGivenBack()
    {
        EXPECT_TRUE(form->Enabled());
        EXPECT_FALSE(form->Document().Busy());
        EXPECT_EQ(FindProcessWindow(), nullptr);
    }
    TColor StatusColor() const { return ::StatusColor(form); }
    AnsiString Cache(const std::string& wav) const { return ReadWholeFile(DrawCachePath(wav)); }
    std::int32_t CacheThreshold(const std::string& wav) const
    {
        const AnsiString bytes = Cache(wav);
        std::int32_t value = 0;
        if (bytes.size() >= 8)
            std::memcpy(&value, bytes.data() + 4, 4);
        return value;
    }
};

} // namespace

// --- Checks in order -----------------------------------------------------------------------

TEST(WavRefusal, TheChecksComeInTheirOrder)
{
    TWavInfo info;
    info.IsPlayable = true;
    info.Channel = 2;
    info.Bit = 16;
    info.BlockSize = 4;
    info.SampleStart = 44;
    info.DataSize = 0x40000000;
    const std::int64_t fits = 44 + 0x40000000LL;
    using R = TWavRefusal;
    EXPECT_EQ(WavRefusalFor(info, fits), R::None);
    EXPECT_EQ(WavRefusalFor(info, fits - 1), R::Truncated);

    TWavInfo odd = info;
    odd.BlockSize = 2;
    EXPECT_EQ(WavRefusalFor(odd, 0), R::BadBlockAlign);
    odd.Bit = 8; // an 8-bit file gets the 16-bit message whatever its block align
    EXPECT_EQ(WavRefusalFor(odd, 0), R::Not16Bit);
    odd.DataSize = 0x40000001; // size comes first
    EXPECT_EQ(WavRefusalFor(odd, 0), R::TooLarge);
    odd.IsPlayable = false;
    EXPECT_EQ(WavRefusalFor(odd, 0), R::NotPlayable);
}

// --- Opening -------------------------------------------------------------------------------

TEST_F(DocumentTest, AnOpenFileShowsItsFormatLengthAndDrawData)
{
    const std::string path = Stereo("take1.wav", ToneSamples(88200, 2, 44100, 440, 8000));
    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(form->Caption(), "take1.wav - Stereo 16bit @ 44100 Hz");
    EXPECT_EQ(form->InfoSampleLabel->Caption(), "88,200");
    EXPECT_EQ(form->InfoTimeLabel->Caption(), "0:00.00 / 0:02.00");
    EXPECT_EQ(form->Document().BlockSize(), 2);
    EXPECT_EQ(form->Document().DrawStereo().Count(), 88200);
    EXPECT_EQ(form->Document().DrawMono().Count(), 0);
    EXPECT_EQ(form->RecentFiles().Strings(0), path);
    EXPECT_TRUE(form->BrinkTimer->Enabled());
    EXPECT_TRUE(FileExists(DrawCachePath(path))); // SAVE DATA is on by default
    ExpectWindowGivenBack();

    const std::string mono =
        Write("voice.wav", WavBuilder().Pcm16(1, 8000, ToneSamples(1000, 1, 8000, 200, 8000)));
    ASSERT_TRUE(form->OpenWavFile(mono));
    EXPECT_EQ(form->Caption(), "voice.wav - Mono 16bit @ 8000 Hz");
    EXPECT_EQ(form->InfoSampleLabel->Caption(), "1,000");
    EXPECT_EQ(form->Document().DrawMono().Count(), 1000);
    EXPECT_EQ(form->Document().DrawStereo().Count(), 0);
    EXPECT_EQ(form->RecentFiles().Strings(1), path);
}

TEST_F(DocumentTest, TheCommandLineOpensAWavFile)
{
    const std::string path = Stereo("a.WAV", SilenceSamples(500, 2));
    FreeAndNil(form);
    Start({path});
    EXPECT_EQ(form->Caption(), "a.WAV - Stereo 16bit @ 44100 Hz");
}

TEST_F(DocumentTest, ACommandLineRefusalShowsAboveTheVisibleWindow)
{
    const std::string path =
        WriteWav(folder, "eight.wav", WavBuilder().Pcm(1, 8000, 8, Bytes(100, 0x80)).Bytes());
    FreeAndNil(form);
    std::vector<AnsiString> texts;
    bool windowShown = false;
    bool takesDrops = false;
    const auto previous = Seams().MessageBox;
    Seams().MessageBox = [&](const TMessageBoxRequest& box) {
        texts.push_back(box.Text);
        windowShown = form && IsWindowVisible(form->WindowHandle());
        takesDrops = form && form->DropFileTarget1->TargetActive();
        return IDOK;
    };
    Start({path});
    Seams().MessageBox = previous;
    EXPECT_EQ(texts, std::vector<AnsiString>{"16bit以外のフォーマットには未対応です  "});
    EXPECT_TRUE(windowShown);
    EXPECT_TRUE(takesDrops) << "files can be dropped on the window while the question waits";
    EXPECT_TRUE(NoDocument());
}

TEST_F(DocumentTest, EveryRefusalSaysWhyAndLeavesNoDocument)
{
    const Bytes eightBit(100, 0x80);
    const Bytes shortData = WavBuilder().Pcm16(2, 44100, SilenceSamples(1000, 2)).Bytes();
    using R = TWavRefusal;
    struct Case
    {
        const char* Name;
        Bytes Data;
        R Refusal;           // the check that turns it down
        const char* BoxText; // nullptr: the red status message instead
        const char* BoxCaption;
    } cases[] = {
        {"garbage.wav", Bytes{'h', 'e', 'l', 'l', 'o'}, R::NotPlayable, nullptr, nullptr},
        {"huge.wav",
         WavBuilder()
             .Pcm16(2, 44100, {})
             .DataSizeField(0x40000001)
             .RiffSizeField(0x40000001 + 36)
             .Bytes(),
         R::TooLarge, "1GBを超えるファイルは開けません  ", "ファイルサイズオーバー"},
        {"eight.wav", WavBuilder().Pcm(1, 8000, 8, eightBit).Bytes(), R::Not16Bit,
         "16bit以外のフォーマットには未対応です  ", "未対応フォーマット"},
        // The header parse already turns a wrong block align down.
        {"align.wav", WavBuilder().Pcm16(2, 44100, SilenceSamples(100, 2)).BlockAlign(2).Bytes(),
         R::NotPlayable, nullptr, nullptr},
        {"cut.wav", Truncated(shortData, shortData.size() - 2), R::Truncated, nullptr, nullptr},
    };
    const std::string good = Stereo("good.wav", SilenceSamples(100, 2));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(form->OpenWavFile(good));
        form->MessageLabel->SetCaption(L"");
        ScriptedMessageBoxes boxes(c.BoxText ? std::vector<int>{IDOK} : std::vector<int>{});
        const std::string path = WriteWav(folder, c.Name, c.Data);
        EXPECT_EQ(WavRefusalFor(InfoOf(path), FileSizeOf(path)), c.Refusal);
        EXPECT_FALSE(form->OpenWavFile(path));
        EXPECT_TRUE(NoDocument());
        ExpectWindowGivenBack();
        if (c.BoxText) {
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0].Text, c.BoxText);
            EXPECT_EQ(boxes.Shown()[0].Caption, c.BoxCaption);
            EXPECT_EQ(boxes.Shown()[0].Flags, UINT(MB_OK | MB_ICONEXCLAMATION));
            EXPECT_EQ(Status(), "");
        } else {
            EXPECT_EQ(Status(), kOpenFailed);
            EXPECT_EQ(StatusColor(), clRed);
        }
    }
    EXPECT_FALSE(form->OpenWavFile(folder.File("missing.wav")));
    EXPECT_EQ(Status(), kOpenFailed);
}

TEST_F(DocumentTest, ExactlyOneGibibyteOfDataOpensFromItsCache)
{
    const std::uint32_t size = 0x40000000;
    const std::string path = Write(
        "big.wav", WavBuilder().Pcm16(2, 44100, {}).DataSizeField(size).RiffSizeField(size + 36));
    SetFileLength(path, 44 + static_cast<std::int64_t>(size));
    const TWavInfo info = InfoOf(path);
    ASSERT_TRUE(info.IsPlayable);
    TDrawDataStereo stereo;
    stereo.Data.assign(DrawEntryCount(2, size, WaveBlockSizeFor(info.SampleSize)), {9, -9, 9, -9});
    WriteBytes(DrawCachePath(path), DrawCacheBytes(info, 256, stereo, {}));

    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(form->Caption(), "big.wav - Stereo 16bit @ 44100 Hz");
    EXPECT_EQ(form->InfoSampleLabel->Caption(), "268,435,456");
    EXPECT_EQ(form->Document().BlockSize(), 2048);
    EXPECT_EQ(form->Document().DrawStereo().Data, stereo.Data); // read, not built
    form->CloseDocument();
}

// --- The build in the processing window ----------------------------------------------------

TEST_F(DocumentTest, CancellingTheBuildLeavesNoDocument)
{
    const std::string path = Stereo("long.wav", NoiseSamples(kThreeChunkFrames, 2, 7));
    bool pressed = false;
    bool mainWindowHeld = false;
    AnsiString stopText, buttonText, secondText = "unset";
    TColor stopColor = clBlack;
    ProcessWindowWatch watch([&](TForm4& window) {
        if (window.FRunning && !pressed) {
            pressed = true;
            mainWindowHeld = !form->Enabled() && form->Document().Busy();
            EXPECT_EQ(window.Caption(), "ファイルの読み込み");
            EXPECT_FALSE(window.CloseChk->Visible());
            window.CancelBtn->Click();
        } else if (!window.FRunning && window.CancelBtn->Caption() == "閉じる" &&
                   stopText.empty()) {
            stopText = window.MesLabel1->Caption();
            stopColor = window.MesLabel1->Font()->Color();
            buttonText = window.CancelBtn->Caption();
            secondText = window.MesLabel2->Caption();
            window.CancelBtn->Click();
        }
    });
    EXPECT_FALSE(form->OpenWavFile(path));
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(mainWindowHeld);
    EXPECT_EQ(stopText, "ファイルの読み込みを中止しました");
    EXPECT_EQ(stopColor, clRed);
    EXPECT_EQ(buttonText, "閉じる");
    EXPECT_EQ(secondText, "");
    EXPECT_TRUE(NoDocument());
    EXPECT_FALSE(FileExists(DrawCachePath(path)));
    ExpectWindowGivenBack();
}

TEST_F(DocumentTest, TheProcessingWindowIsPaintedFirstAndTheMainWindowBeforeTheBuildRuns)
{
    const std::string path = Stereo("first.wav", NoiseSamples(kThreeChunkFrames, 2, 9));
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    const auto unpainted = [](HWND window) { return GetUpdateRect(window, nullptr, FALSE) != 0; };
    bool seen = false, seenRunning = false;
    bool windowPainted = false, mainWaited = false, mainPaintedBeforeBuild = false;
    int childrenWaiting = -1;
    {
        ProcessWindowWatch watch([&](TForm4& window) {
            if (!seen) {
                seen = true;
                windowPainted = IsWindowVisible(window.Handle()) && !unpainted(window.Handle());
                mainWaited = unpainted(form->Handle());
            }
            if (window.FRunning && !seenRunning) {
                seenRunning = true;
                mainPaintedBeforeBuild = !unpainted(form->Handle());
                childrenWaiting = VisibleChildrenWaitingForPaint(form->Handle());
            }
        });
        ASSERT_TRUE(form->OpenWavFile(path));
    }
    EXPECT_TRUE(seenRunning);
    EXPECT_TRUE(windowPainted);
    EXPECT_TRUE(mainWaited);
    EXPECT_TRUE(mainPaintedBeforeBuild);
    EXPECT_EQ(childrenWaiting, 0);
    ExpectWindowGivenBack();
}

TEST_F(DocumentTest, AFileGivenAtTheStartIsBuiltBehindAPaintedMainWindow)
{
    const std::string path = Stereo("start.wav", NoiseSamples(kThreeChunkFrames, 2, 12));
    FreeAndNil(form);
    double blackShare = -1;
    {
        ProcessWindowWatch watch([&](TForm4& window) {
            if (window.FRunning && blackShare < 0)
                blackShare = BlackShareOnScreen(form->Handle());
        });
        Start({path});
    }
    EXPECT_GE(blackShare, 0);
    EXPECT_LT(blackShare, 0.05); // text only: menus, toolbars and panes stand painted
    EXPECT_TRUE(form->FileLoaded());
}

TEST_F(DocumentTest, AFileCannotBeCutShortDuringTheBuildAndOneCutLaterFailsTheReload)
{
    const Samples values = NoiseSamples(kThreeChunkFrames, 2, 8);
    const std::string path = Stereo("shrinks.wav", values);
    const std::int64_t cut = 44 + kChunkValues * 2 + 1000; // within the second chunk
    bool tried = false;
    bool refused = false;
    AnsiString progressText;
    {
        ProcessWindowWatch watch([&](TForm4& window) {
            if (window.FRunning && !tried) {
                tried = true;
                progressText = window.MesLabel1->Caption();
                refused = !TrySetFileLength(path, cut);
            }
        });
        ASSERT_TRUE(form->OpenWavFile(path));
    }
    EXPECT_TRUE(tried);
    EXPECT_TRUE(refused);
    EXPECT_EQ(progressText.substr(0, std::string("ファイル読み込み中...").size()),
              "ファイル読み込み中...");
    EXPECT_EQ(form->Document().DrawStereo().Count(),
              DrawEntryCount(2, static_cast<std::uint32_t>(values.size() * 2),
                             form->Document().BlockSize()));
    ExpectWindowGivenBack();

    // Cut after the build, the file fails the next one: the document closes.
    SetFileLength(path, cut);
    DeleteFile(DrawCachePath(path));
    form->ReloadAfterPreference();
    EXPECT_TRUE(NoDocument());
    EXPECT_EQ(Status(), kOpenFailed);
    EXPECT_EQ(StatusColor(), clRed);
    EXPECT_FALSE(FileExists(DrawCachePath(path)));
    ExpectWindowGivenBack();
}

TEST_F(DocumentTest, AFileCutOrRemovedFromOutsideDuringTheBuildClosesTheDocumentAndTheProgramGoesOn)
{
    // Within the second chunk, ahead of the scan, whose reads then fault; and
    // within the last page, whose bytes past the cut read as zeros, or the
    // whole file removed, when the build reads to its end yet the file no
    // longer holds the samples.
    const std::int64_t ahead = 44 + kChunkValues * 2 + 1000;
    const std::int64_t lastPage = 44 + kThreeChunkFrames * 4 - 10;
    struct Change
    {
        const char* Name;
        std::function<bool(const std::string& path)> Make;
    };
    const Change changes[] = {
        {"cut ahead", [&](const std::string& path) { return CutFileFromHost(path, ahead); }},
        {"cut in the last page",
         [&](const std::string& path) { return CutFileFromHost(path, lastPage); }},
        {"removed", [](const std::string& path) { return RemoveFileFromHost(path); }},
    };
    int noiseStart = 10;
    for (const Change& change : changes) {
        SCOPED_TRACE(change.Name);
        const std::string path =
            Stereo("cut.wav", NoiseSamples(kThreeChunkFrames, 2, ++noiseStart));
        bool tried = false;
        bool made = false;
        bool opened = true;
        {
            ProcessWindowWatch watch([&](TForm4& window) {
                if (window.FRunning && !tried) {
                    tried = true;
                    made = change.Make(path);
                }
            });
            opened = form->OpenWavFile(path);
        }
        ASSERT_TRUE(tried);
        if (!made)
            GTEST_SKIP() << "the file cannot be changed from outside the system here";
        EXPECT_FALSE(opened);
        EXPECT_TRUE(NoDocument());
        EXPECT_EQ(Status(), kOpenFailed);
        EXPECT_EQ(StatusColor(), clRed);
        EXPECT_FALSE(FileExists(DrawCachePath(path)));
        ExpectWindowGivenBack();

        const Samples next = NoiseSamples(1000, 2, ++noiseStart);
        ASSERT_TRUE(form->OpenWavFile(Stereo("next.wav", next)));
        EXPECT_EQ(form->Document().DrawStereo().Count(),
                  DrawEntryCount(2, static_cast<std::uint32_t>(next.size() * 2),
                                 form->Document().BlockSize()));
    }
}

// --- The draw cache ------------------------------------------------------------------------

TEST_F(DocumentTest, TheSecondOpenReadsTheCacheAndAStaleOneIsRebuilt)
{
    const std::string path = Stereo("quiet.wav", SilenceSamples(4000, 2));
    ASSERT_TRUE(form->OpenWavFile(path));
    const AnsiString built = Cache(path);
    ASSERT_EQ(built.size(), 48u + 4 + 4000 * 4);

    // Entries that no build makes prove that the cache was read.
    AnsiString marked = built;
    for (std::size_t i = 52; i < marked.size(); i += 4)
        marked.replace(i, 4, "\x03\xFD\x02\xFE");
    WriteWholeFile(DrawCachePath(path), marked);
    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(form->Document().DrawStereo().Data[3999], (TDrawEntryStereo{3, -3, 2, -2}));

    // Another threshold: built again and written anew (the preferences
    // reload the file).
    ChangeSilenceThreshold(100);
    EXPECT_EQ(form->Document().DrawStereo().Data[3999], (TDrawEntryStereo{0, 0, 0, 0}));
    EXPECT_EQ(CacheThreshold(path), 100);
    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(form->Document().DrawStereo().Data[3999], (TDrawEntryStereo{0, 0, 0, 0}));

    // Cut short: built again.
    SetFileLength(DrawCachePath(path), 60);
    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(form->Document().DrawStereo().Count(), 4000);
    EXPECT_EQ(Cache(path).size(), built.size());

    // Made loud in place by another program, same format and size: the
    // next open draws what the file now holds.
    form->actFileCloseExecute(nullptr);
    Stereo("quiet.wav", Samples(4000 * 2, 20000));
    ShiftLastWriteTime(path, 60);
    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(form->Document().DrawStereo().Data[3999], (TDrawEntryStereo{78, 0, 78, 0}));
}

TEST_F(DocumentTest, WithSaveDataOffNoCacheIsWritten)
{
    ChangePreferences([](TForm6& window) {
        window.chk1->SetChecked(false);
        return true;
    });
    const std::string path = Stereo("nocache.wav", SilenceSamples(1000, 2));
    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(form->Document().DrawStereo().Count(), 1000);
    EXPECT_FALSE(FileExists(DrawCachePath(path)));
}

TEST_F(DocumentTest, ACacheThatCannotBeWrittenIsReportedAndTheFileStaysOpen)
{
    const std::string path = Stereo("blocked.wav", SilenceSamples(1000, 2));
    ASSERT_TRUE(CreateDir(DrawCachePath(path))); // the cache's name is taken by a folder
    ASSERT_TRUE(form->OpenWavFile(path));
    EXPECT_EQ(Status(), DrawCacheText::CannotWrite);
    EXPECT_EQ(StatusColor(), clRed);
    EXPECT_EQ(form->Caption(), "blocked.wav - Stereo 16bit @ 44100 Hz");
    EXPECT_EQ(form->Document().DrawStereo().Count(), 1000);
}

// --- Closing before an open, and the reload ------------------------------------------------

TEST_F(DocumentTest, OpeningOverAChangedRegionListAsksFirstAndNoKeepsTheFile)
{
    const std::string first = Stereo("first.wav", SilenceSamples(100, 2));
    const std::string second = Stereo("second.wav", SilenceSamples(200, 2));
    ASSERT_TRUE(form->OpenWavFile(first));
    form->AddCutBar(50);

    ScriptedMessageBoxes boxes({IDNO, IDYES});
    EXPECT_FALSE(form->OpenWavFile(second));
    EXPECT_EQ(form->Caption(), "first.wav - Stereo 16bit @ 44100 Hz");
    EXPECT_EQ(form->Document().CutBarCount(), 1);

    EXPECT_TRUE(form->OpenWavFile(second));
    EXPECT_EQ(form->Caption(), "second.wav - Stereo 16bit @ 44100 Hz");
    EXPECT_EQ(form->Document().CutBarCount(), 0);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].Caption, "警告");
}

TEST_F(DocumentTest, TheReloadRebuildsForNewSettingsAndKeepsTheCutBars)
{
    const std::string path = Stereo("reload.wav", SilenceSamples(1000, 2));
    ASSERT_TRUE(form->OpenWavFile(path));
    form->Document().AddLoadedCutBars({"000000000500"});
    ChangeSilenceThreshold(100);
    EXPECT_EQ(CacheThreshold(path), 100);
    EXPECT_EQ(form->Document().CutBarCount(), 1);
    EXPECT_EQ(form->Caption(), "reload.wav - Stereo 16bit @ 44100 Hz");
    ExpectWindowGivenBack();

    // The file changed length meanwhile: it is opened afresh.
    Stereo("reload.wav", SilenceSamples(3000, 2));
    form->ReloadAfterPreference();
    EXPECT_EQ(form->InfoSampleLabel->Caption(), "3,000");
    EXPECT_EQ(form->Document().CutBarCount(), 0);
}

TEST_F(DocumentTest, AReloadWhoseBuildFailsAsksFirstAndNoKeepsTheRegionsToBeSaved)
{
    const std::string path = folder / "shortened.wav";
    int threshold = 100;
    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "dropped" : "kept");
        ASSERT_TRUE(form->OpenWavFile(Stereo("shortened.wav", NoiseSamples(8000, 2, 21))));
        form->AddRegion(1000, 3000);
        form->AddCutBar(5000);
        SetFileLength(path, 44 + 4000 * 4); // shortened from outside
        ScriptedMessageBoxes boxes({answer});
        ChangeSilenceThreshold(++threshold);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].Text, kCloseQuestion);
        EXPECT_EQ(Status(), kOpenFailed);
        EXPECT_EQ(StatusColor(), clRed);
        EXPECT_EQ(NoDocument(), answer == IDYES);
        ExpectWindowGivenBack();
    }
    EXPECT_EQ(form->Caption(), "shortened.wav - Stereo 16bit @ 44100 Hz");
    EXPECT_EQ(form->Document().DrawStereo().Count(), 0);
    EXPECT_EQ(form->RegionCount(), 1);
    EXPECT_TRUE(form->Document().Modified());

    // Without draw data the waveform takes a drag, F6 and trim harmlessly.
    ASSERT_TRUE(ActivateForm(form));
    const TPoint from = form->WaveImage->ClientToScreen(TPoint(20, 100));
    RealDrag({from.x, from.y}, {{from.x + 60, from.y}});
    ASSERT_TRUE(form->Document().View().HasSelection); // trim has a range to work on
    PressOnWave(VK_F6);
    PressOnWave('T', ssCtrl);

    AnswerFileDialogs({folder / "shortened.rgl"});
    form->actFileSave->Execute();
    const std::optional<TIniContent> saved = ReadRegionListFile(folder / "shortened.rgl");
    ASSERT_TRUE(saved);
    EXPECT_EQ(RegionListWavPath(*saved), path);
    EXPECT_EQ(ReadRegionList(*saved).Regions,
              (std::vector<TRegionRecord>{{"shortened_01", 1000, 3000}}));
    EXPECT_EQ(ReadRegionList(*saved).CutBars, std::vector<AnsiString>{"000000005000"});
    EXPECT_FALSE(form->Document().Modified());
}
