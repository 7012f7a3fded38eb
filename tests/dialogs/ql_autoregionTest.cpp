// The automatic-region window on hand-made envelopes: the threshold edit
// and bar in step, the types, a run with its preview and count, and what
// the add button and Ctrl+O hand back.
#include "dialogs/ql_autoregion.h"

#include "support/WindowDriver.h"

#include "classlib/ShortCut.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr TColor kBack = 0xFFFFFF;
constexpr TColor kWave = 0x008000;
constexpr TColor kCutBar = 0xFF0000;
constexpr TColor kOrange = 0x0099FF;
constexpr int kWaveRow = 10; // the overview's wave: one line in the wave colour
constexpr int kPreviewWidth = 100;
constexpr int kPreviewHeight = 20;

// Levels by runs of entries: {count, level}, ...
TMaxData Envelope(std::initializer_list<std::pair<int, int>> runs)
{
    TMaxData envelope;
    for (auto [count, level] : runs)
        envelope.Data.insert(envelope.Data.end(), count, static_cast<std::uint8_t>(level));
    envelope.DrawGeneration = 1;
    return envelope;
}

void PostChars(TWinControl* control, const AnsiString& chars)
{
    for (char c : chars)
        PostMessageA(control->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    PumpMessages();
}

class AutoRegionWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        overview.SetPixelFormat(TPixelFormat::pf24bit);
        overview.SetSize(kPreviewWidth, kPreviewHeight);
        TCanvas* canvas = overview.Canvas();
        canvas->Brush()->SetColor(kBack);
        canvas->FillRect(TRect(0, 0, kPreviewWidth, kPreviewHeight));
        canvas->Pen()->SetColor(kWave);
        canvas->MoveTo(0, kWaveRow);
        canvas->LineTo(kPreviewWidth, kWaveRow);
        // 8000 Hz drawn in blocks of 256: 62.5 entries a second, 128 frames each.
        source.Scale = TLevelScale::For(8000, 256);
        source.Averages = &averages;
        source.Overview = &overview;
        source.BackColor = kBack;
        source.CutBarColor = kCutBar;
        source.Regions = &regions;
        source.CutPoints = &cutPoints;
    }
    void TearDown() override
    {
        FreeAndNil(window);
        PumpMessages();
    }

    // A window on data; the file's length is that of the envelope unless
    // given.
    TForm5* Open(const TMaxData& data, std::int32_t sampleSize = -1)
    {
        envelope = data;
        source.Envelope = &envelope;
        source.SampleSize =
            sampleSize >= 0 ? sampleSize : envelope.Count() * source.Scale.FramesPerEntry;
        window = new TForm5(nullptr, source);
        window->HandleNeeded();
        return window;
    }
    TColor PreviewPixel(int x, int y)
    {
        return window->AutoImage->Picture()->Canvas()->Pixel(x, y);
    }

    TMaxData envelope;
    TCompData averages;
    TAutoRegionList regions;
    TStringList cutPoints;
    TBitmap overview;
    TAutoRegionSource source;
    TForm5* window = nullptr;
};

// Two bursts of 40 entries with silences around them.
TMaxData TwoBursts()
{
    return Envelope({{20, 0}, {40, 100}, {60, 0}, {40, 100}, {40, 0}});
}

// Seven chunks of 1,000 entries, quiet and loud in turn: three rises.
TMaxData ThreeRises()
{
    return Envelope(
        {{1000, 0}, {1000, 100}, {1000, 0}, {1000, 100}, {1000, 0}, {1000, 100}, {1000, 0}});
}

} // namespace

TEST_F(AutoRegionWindowTest, TheThresholdTextMovesTheBarOnlyWhenItIsANumber)
{
    Open(TwoBursts());
    struct Case
    {
        const char* Text;
        int Level; // -1: the bar stays at 77
    };
    const Case cases[] = {
        {"-12.5", 30}, {"1-2", -1},  {"3", 127}, {"0", 127}, {"", 0},     {"-6", 64},
        {"--1", -1},   {"1..2", -1}, {"-", -1},  {".", -1},  {"-100", 0}, {"-0.01", 127},
    };
    for (const Case& c : cases) {
        window->SetLevel(77);
        window->dbEd->SetText(c.Text); // as a paste puts it there
        EXPECT_EQ(window->FSeekBar->Value(), c.Level < 0 ? 77 : c.Level) << "text " << c.Text;
    }
}

TEST_F(AutoRegionWindowTest, TypedThresholdKeepsOnlyItsCharactersAndMovesTheBar)
{
    Open(TwoBursts());
    window->dbEd->SetText("");
    PostChars(window->dbEd, "a-1x2.5 ");
    EXPECT_EQ(window->dbEd->Text(), "-12.5");
    EXPECT_EQ(window->FSeekBar->Value(), 30);
}

TEST_F(AutoRegionWindowTest, TheBarWritesItsLevelInDecibelsWithoutMovingItself)
{
    Open(TwoBursts());
    EXPECT_EQ(window->dbEd->Text(), "0.0");
    EXPECT_EQ(window->Level(), 127);
    // 125 of 127 reads "-0.1", which would be 126 if the text were read back.
    window->SetLevel(125);
    EXPECT_EQ(window->dbEd->Text(), "-0.1");
    EXPECT_EQ(window->Level(), 125);

    TWinControl* panel = window->SkinAlignmentPanel1;
    const int x = window->FSeekBar->Width() / 2;
    SendMessageA(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
    const int pressed = window->Level();
    EXPECT_EQ(pressed, window->FSeekBar->ValueAtX(x));
    EXPECT_EQ(window->dbEd->Text(), LevelToDbText(pressed, 127));
    SendMessageA(panel->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 10));
    SendMessageA(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 10));
    EXPECT_LT(window->Level(), pressed);
    EXPECT_EQ(window->dbEd->Text(), LevelToDbText(window->Level(), 127));
}

TEST_F(AutoRegionWindowTest, EachTypeEnablesItsOwnControls)
{
    Open(TwoBursts());
    EXPECT_EQ(window->Mode(), TAutoMode::StripSilence);
    EXPECT_EQ(window->Lb4->Caption(), "リージョン間の最小間隔");
    EXPECT_FALSE(window->DivCheck->Enabled());
    struct Case
    {
        TAutoMode Mode;
        bool TimesEnabled;
        bool DivEnabled;
        const char* IntervalLabel; // cut points leave it as it was
    };
    const Case cases[] = {
        {TAutoMode::SearchSilence, true, false, "空白と認識する時間"},
        {TAutoMode::CutPoints, false, true, "空白と認識する時間"},
        {TAutoMode::StripSilence, true, false, "リージョンの最小間隔"},
    };
    for (const Case& c : cases) {
        window->SetMode(c.Mode);
        EXPECT_EQ(window->Mode(), c.Mode);
        const std::vector<TControl*> timeControls = {window->PreEd, window->MinIntervalEd,
                                                     window->Lb1, window->Lb4};
        for (TControl* control : timeControls)
            EXPECT_EQ(control->Enabled(), c.TimesEnabled) << control->Name();
        EXPECT_EQ(window->DivCheck->Enabled(), c.DivEnabled);
        EXPECT_EQ(window->Lb4->Caption(), c.IntervalLabel);
    }
    // A click on a radio button applies its type.
    ClickCentre(window->TypeRd2);
    EXPECT_EQ(window->Mode(), TAutoMode::CutPoints);
    EXPECT_FALSE(window->MinLengthEd->Enabled());
}

TEST_F(AutoRegionWindowTest, StripSilencePaintsItsRegionsOverTheBackgroundAndCountsThem)
{
    Open(TwoBursts());
    window->SetLevel(50);
    window->MinIntervalEd->SetValue(100);
    window->ExecBtnClick(window->ExecBtn);

    // Entries 20..59 and 120..159 of 200, 128 frames each.
    ASSERT_EQ(regions.Regions, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                                   {20 * 128, 59 * 128}, {120 * 128, 159 * 128}}));
    EXPECT_EQ(window->CountLb->Caption(), "2 個");
    EXPECT_TRUE(window->AddListBtn->Enabled());
    EXPECT_TRUE(window->ExecBtn->Enabled());
    EXPECT_TRUE(window->CancelBtn->Enabled());
    // The regions cover columns 10..30 and 60..80 of 100 (29.5 and 79.5
    // rounded to even); 10 and 60 hold their start marks.
    struct Pixel
    {
        int X, Y;
        TColor Color;
    };
    const Pixel pixels[] = {
        {20, 15, kOrange},
        {20, kWaveRow, kWave},
        {30, 0, kOrange},
        {31, 15, kBack},
        {9, 15, kBack},
        {45, 15, kBack},
        {70, 19, kOrange},
        {80, 5, kOrange},
        {10, 15, clBlack},
        {10, kWaveRow, clBlack},
        {60, 19, clBlack},
        // The flag beside the start mark: 4, 3, 2 and 1 pixels wide.
        {13, 0, clBlack},
        {14, 0, kOrange},
        {12, 1, clBlack},
        {13, 1, kOrange},
        {11, 2, clBlack},
        {12, 2, kOrange},
        {11, 3, kOrange},
    };
    for (const Pixel& p : pixels)
        EXPECT_EQ(PreviewPixel(p.X, p.Y), p.Color) << "pixel " << p.X << ", " << p.Y;

    // A second run starts again from the clean overview.
    window->SetLevel(127);
    window->ExecBtnClick(window->ExecBtn);
    EXPECT_EQ(regions.Count(), 0);
    EXPECT_EQ(PreviewPixel(20, 15), kBack);
    EXPECT_EQ(window->CountLb->Caption(), "---");
    EXPECT_FALSE(window->AddListBtn->Enabled());
}

TEST_F(AutoRegionWindowTest, ThreeCutPointsMakeFourPiecesMarkedInTheCutBarColour)
{
    Open(ThreeRises());
    window->SetMode(TAutoMode::CutPoints);
    window->SetLevel(50);
    window->ExecBtnClick(window->ExecBtn);

    ASSERT_EQ(cutPoints.Count(), 3);
    EXPECT_EQ(cutPoints.Strings(0), "128000");
    EXPECT_EQ(cutPoints.Strings(2), "640000");
    EXPECT_EQ(window->CountLb->Caption(), "4 個");
    EXPECT_TRUE(window->AddListBtn->Enabled());
    // Frames 128000, 384000 and 640000 of 896000 fall on columns 14, 43, 71.
    for (int x : {14, 43, 71}) {
        EXPECT_EQ(PreviewPixel(x, 15), kCutBar) << "column " << x;
        EXPECT_EQ(PreviewPixel(x + 3, 0), kCutBar) << "flag of column " << x;
    }
    EXPECT_EQ(PreviewPixel(30, 15), kBack);
}

TEST_F(AutoRegionWindowTest, EveryRunReplacesBothResultLists)
{
    Open(TwoBursts());
    cutPoints.Add("12345"); // an earlier run's
    window->SetLevel(50);
    window->MinIntervalEd->SetValue(100);
    window->ExecBtnClick(window->ExecBtn);
    EXPECT_EQ(cutPoints.Count(), 0);
    ASSERT_EQ(regions.Count(), 2);

    // Cut points find nothing in 200 entries: the regions of the strip
    // silence run before are gone, so nothing old can be added.
    window->SetMode(TAutoMode::CutPoints);
    window->ExecBtnClick(window->ExecBtn);
    EXPECT_EQ(regions.Count(), 0);
    EXPECT_EQ(window->CountLb->Caption(), "---");
    EXPECT_FALSE(window->AddListBtn->Enabled());
}

TEST_F(AutoRegionWindowTest, CtrlOAddsOnlyAfterARunFoundSomething)
{
    Open(TwoBursts());
    ASSERT_TRUE(ActivateForm(window));
    PressKey(FocusedWindow(), 'O', ssCtrl);
    EXPECT_EQ(window->FResult, TAutoResult::Nothing);
    EXPECT_TRUE(window->Visible());

    window->SetLevel(50);
    window->ExecBtnClick(window->ExecBtn);
    PressKey(FocusedWindow(), 'O', ssCtrl);
    EXPECT_EQ(window->FResult, TAutoResult::Regions);
    EXPECT_FALSE(window->Visible());
}

TEST_F(AutoRegionWindowTest, EscapeCancelsAsTheCancelButtonDoes)
{
    Open(TwoBursts());
    window->SetLevel(50);
    window->ExecBtnClick(window->ExecBtn);
    ASSERT_TRUE(window->AddListBtn->Enabled());
    ASSERT_TRUE(ActivateForm(window));
    RealKeyPress(VK_ESCAPE);
    EXPECT_EQ(window->FResult, TAutoResult::Nothing);
    EXPECT_FALSE(window->Visible());
}

TEST_F(AutoRegionWindowTest, AddHandsBackCutPointsWhenNoRegionsWereFoundAndCancelNothing)
{
    Open(ThreeRises());
    window->SetMode(TAutoMode::CutPoints);
    window->SetLevel(50);
    window->ExecBtnClick(window->ExecBtn);
    window->AddListBtnClick(window->AddListBtn);
    EXPECT_EQ(window->FResult, TAutoResult::CutPoints);
    window->CancelBtnClick(window->CancelBtn);
    EXPECT_EQ(window->FResult, TAutoResult::Nothing);
}

TEST_F(AutoRegionWindowTest, RegionsThatDoNotFitTheFileAreNeitherShownNorAdded)
{
    // The file is shorter than the envelope says (a stale envelope): the
    // second region ends beyond it.
    Open(TwoBursts(), 100 * 128);
    window->SetLevel(50);
    window->MinIntervalEd->SetValue(100);
    window->ExecBtnClick(window->ExecBtn);
    ASSERT_EQ(regions.Count(), 1);
    EXPECT_EQ(regions.Regions[0].first, 20 * 128);
    EXPECT_EQ(window->CountLb->Caption(), "1 個");
}
