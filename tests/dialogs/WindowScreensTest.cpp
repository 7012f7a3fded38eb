// What every window shows, read from the screen: each window in the states a
// user meets, checked by the rules of the screen check (support/
// ScreenTable.h). ZANDREL_SCREENS=<folder> writes each row's capture there.
#include "editor/MainWindowFixture.h"
#include "editor/ProcessWindowWatch.h"

#include "dialogs/ql_filelist.h"
#include "dialogs/ql_preference.h"

#include "support/CdaBytes.h"
#include "support/CDStandIn.h"
#include "support/ModalDriver.h"
#include "support/ScreenTable.h"
#include "support/WavFile.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "editor/DrawBuild.h"
#include "editor/DrawCache.h"
#include "editor/DrawCacheFile.h"

using namespace testing_support;

namespace {

// Rules a row breaks today while a mend is under way elsewhere (row, rule,
// control or "" for all, reason): none.
const std::vector<KnownScreenFailure> kKnownFailures = {};

// What the main window places so on purpose.
const std::vector<ScreenDesign> kMainDesign = {
    {"Inside", "FocusBtn", "", "holds the waveform's focus out of sight"},
    {"Apart", "WaveImage", "ScrollBar1",
     "the waveform area's sizes put the scroll bar over the wave's last rows"},
};

// The ruler's labels as the waveform draws them, each from its tick line to
// a pixel past its text: two that touch run together.
std::vector<DrawnText> RulerLabels(TFormVusk& form)
{
    TBitmap measure;
    measure.Canvas()->Font()->SetSize(form.Document().View().MarkHalf);
    const auto widthOf = [&](const AnsiString& text) { return measure.Canvas()->TextWidth(text); };
    std::vector<DrawnText> labels;
    for (const TRulerTick& tick : RulerLayout(form.Document().View(), form.ViewDocument(), widthOf))
        if (!tick.Label.empty())
            labels.push_back(
                {tick.Label, TRect(tick.X - 1, tick.LabelY, tick.LabelX + widthOf(tick.Label) + 1,
                                   tick.LabelY + measure.Canvas()->TextHeight(tick.Label))});
    return labels;
}

class WindowScreens : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        cd_test::InstallLibrary("cdrip_standin.dll");
        Seams().WaveInDevices = [] { return std::vector<AnsiString>{"In 1"}; };
    }

    // A document of two regions and a cut bar.
    void OpenTake()
    {
        Start();
        const std::string path =
            WriteWav(folder, "take.wav",
                     WavBuilder().Pcm16(2, 44100, ToneSamples(441000, 2, 44100, 220, 9000)));
        ASSERT_TRUE(form->OpenWavFile(path));
        form->AddRegion(1000, 50000);
        form->AddRegion(60000, 150000);
        form->AddCutBar(200000);
        ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
    }
    void SelectFirstRegion()
    {
        SelectOnlyRegions(form, {0});
        form->FocusRegionRow(0);
        form->SetActiveControl(form->EditList);
    }
    // 50 minutes of stereo, with a draw cache beside it that spares the build.
    void OpenLongFile()
    {
        const std::uint32_t size = 50u * 60 * 44100 * 4;
        const std::string path =
            WriteWav(folder, "long.wav",
                     WavBuilder().Pcm16(2, 44100, {}).DataSizeField(size).RiffSizeField(size + 36));
        SetFileLength(path, 44 + static_cast<std::int64_t>(size));
        TWavInfo info;
        info.Path = path;
        GetWavInfo(info);
        TDrawDataStereo stereo;
        stereo.Data.assign(DrawEntryCount(2, size, WaveBlockSizeFor(info.SampleSize)),
                           {60, -60, 30, -30});
        WriteBytes(DrawCachePath(path), DrawCacheBytes(info, 256, stereo, {}));
        ASSERT_TRUE(form->OpenWavFile(path));
    }
    void InsertDisc()
    {
        ASSERT_TRUE(CreateDir(folder / "cd"));
        for (int track = 1; track <= 3; ++track) {
            const Bytes cda = CdaBytes(track, (track - 1) * 15000, 15000);
            folder.WriteFile("cd\\Track0" + std::to_string(track) + ".cda",
                             AnsiString(cda.begin(), cda.end()));
        }
        const AnsiString disc = folder / "cd\\";
        Seams().CDDrives = [disc] { return std::vector<TCDDriveInfo>{{disc, "TESTDISC"}}; };
    }
    void ChooseFile(const AnsiString& path)
    {
        Seams().FileDialog = [path](TFileDialogRequest& request) {
            request.FileName = path;
            return true;
        };
    }

    // --- Rows

    // The main window after setUp.
    ScreenRow Main(const char* name, std::function<void()> setUp)
    {
        return {name,
                [this, setUp](const ScreenLook& look) {
                    setUp();
                    PumpMessages();
                    look({.Window = form});
                },
                kMainDesign};
    }
    ScreenRow RenameTab(const char* name, int tab)
    {
        return Main(name, [this, tab] {
            OpenTake();
            SelectFirstRegion();
            form->actViewRen->Execute();
            form->RenamePage->SetActiveTabIndex(tab);
        });
    }
    // The processing window, or the main window under it (mainWindow), once
    // its job runs; start starts the job.
    ScreenRow Processing(const char* name, bool mainWindow, std::function<void()> start)
    {
        return {name,
                [this, mainWindow, start](const ScreenLook& look) {
                    bool looked = false;
                    ProcessWindowWatch watch([&](TForm4& window) {
                        if (window.FRunning && !looked) {
                            looked = true;
                            look(
                                {.Window = mainWindow ? static_cast<TWinControl*>(form) : &window});
                        }
                    });
                    start();
                },
                mainWindow ? kMainDesign : std::vector<ScreenDesign>{}};
    }
    void StartBuild(const char* name)
    {
        Start({WriteWav(folder, name, WavBuilder().Pcm16(2, 44100, NoiseSamples(2200000, 2, 3)))});
    }
    // A modal window that open shows with a document open, after page
    // switches when given.
    ScreenRow Modal(const char* name, std::function<void()> open, std::vector<int> pages = {},
                    std::vector<ScreenDesign> design = {})
    {
        return {name,
                [this, open, pages](const ScreenLook& look) {
                    OpenTake();
                    ScriptedModalForms modal({[&](TCustomForm* shown) {
                        for (int page : pages) {
                            dynamic_cast<TForm6&>(*shown).PageControl1->SetActivePageIndex(page);
                            PumpMessages();
                        }
                        PumpMessages();
                        look({.Window = shown});
                        return mrCancel;
                    }});
                    open();
                },
                design};
    }

    std::vector<ScreenRow> Rows()
    {
        const auto preferences = [this] { form->actFilePreference->Execute(); };
        return {
            Main("main window, no file", [this] { Start(); }),
            Main("main window, a file open",
                 [this] {
                     OpenTake();
                     SelectFirstRegion();
                 }),
            Main("main window, a status message",
                 [this] {
                     OpenTake();
                     form->ShowStatusMessage("ファイルを開けませんでした", clRed, 3000);
                 }),
            RenameTab("main window, rename pane, first tab", 0),
            RenameTab("main window, rename pane, second tab", 1),
            RenameTab("main window, rename pane, third tab", 2),
            RenameTab("main window, rename pane, fourth tab", 3),
            {"main window, a 50-minute file",
             [this](const ScreenLook& look) {
                 Start();
                 form->actViewExp->Execute(); // a side pane: the whole file in a narrower view
                 OpenLongFile();
                 PumpMessages();
                 look({.Window = form, .DrawnIn = form->WaveImage, .Drawn = RulerLabels(*form)});
             },
             kMainDesign},
            Processing("main window, under a build", true, [this] { StartBuild("under.wav"); }),
            Processing("processing window, a build", false, [this] { StartBuild("build.wav"); }),
            Processing("processing window, a bounce", false,
                       [this] {
                           // The processing window closes itself after the bounce.
                           WriteSettings("[WINDOW]\r\nPROCESS=1\r\n");
                           OpenTake();
                           ASSERT_TRUE(CreateDir(folder / "out"));
                           ChooseFile(folder / "out\\x.wav");
                           Seams().DiskFree = [](const AnsiString&) {
                               return std::int64_t(1) << 40;
                           };
                           form->actFileBounce->Execute();
                       }),
            Modal("region edit",
                  [this] {
                      SelectFirstRegion();
                      form->actRegionEdit->Execute();
                  }),
            Modal("cut-bar edit",
                  [this] {
                      form->actViewCutbarlist->Execute();
                      form->CutManageList->SetSelected(form->CutManageList->Items()->Item(0));
                      form->EditSelectedCutBar();
                  }),
            Modal("automatic region", [this] { form->actRegionAuto->Execute(); }),
            Modal("trim settings", [this] { form->actRegionSet->Execute(); }),
            Modal("preferences, first page", preferences),
            Modal("preferences, second page", preferences, {1}),
            Modal("preferences, third page", preferences, {2}),
            Modal("preferences, first page again", preferences, {2, 0}),
            {"file list",
             [this](const ScreenLook& look) {
                 OpenTake();
                 form->FileListWindow()->AddFile(folder / "take.wav");
                 form->actViewFilelist->Execute();
                 PumpMessages();
                 look({.Window = form->FileListWindow()});
             }},
            Modal("CD ripping",
                  [this] {
                      InsertDisc();
                      form->actFileRip->Execute();
                  },
                  {}, {{"Apart", "SeekBar", "SeekBtn", "the knob slides along the seek bar"}}),
            Modal("recording", [this] { form->actAudioRecord->Execute(); }, {},
                  {{"Painted", "ProgressBar1", "",
                    "the input level shows its percentage on the bar"}}),
            Modal("properties", [this] { form->actFileProperty->Execute(); }),
            Modal("about", [this] { form->actAbout->Execute(); }),
            Modal("rename-strings choice",
                  [this] {
                      folder.WriteFile("names.txt", "one\r\ntwo\r\n");
                      ChooseFile(folder / "names.txt");
                      form->actFileLoadList->Execute();
                  }),
        };
    }
};

} // namespace

TEST_F(WindowScreens, EveryWindowKeepsTheRules)
{
    RunScreenTable(Rows(), kKnownFailures, [this] {
        if (form) {
            if (form->FileLoaded()) {
                ASSERT_TRUE(form->SaveRegionList(folder / "saved.rgl"));
            }
            CloseAndFree();
        }
        DeleteFileA(iniPath.c_str()); // the next row starts as on a first run
    });
}
