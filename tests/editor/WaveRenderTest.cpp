// Waveform and overview drawing off-screen: synthetic draw data drawn into
// 24- and 32-bit DIB sections of 64 x 80 (ruler of mark size 1, 14 rows),
// checked pixel by pixel. One frame per draw entry (block size 2) and a rate
// of 1000 Hz make a column one entry and one millisecond at zoom 1.
#include "editor/WaveRender.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 80;
constexpr int kMark = 14; // ruler's bottom row

TColor ButtonFace()
{
    return static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
}

class WaveRenderTest : public testing::TestWithParam<TPixelFormat>
{
protected:
    void SetUp() override
    {
        bitmap.SetPixelFormat(GetParam());
        bitmap.SetSize(kWidth, kHeight);
        doc.Loaded = true;
        doc.Rate = 1000;
        doc.BlockSize = 2;
        view.MarkHeight = kMark;
        view.MarkHalf = 7;
        MakeMono(1000);
    }

    void MakeMono(int entries)
    {
        mono.Data.assign(entries, TDrawEntryMono{0, 0});
        stereo.Data.clear();
        source = TWaveSource{nullptr, &mono};
        doc.Stereo = false;
        doc.Length = entries;
        doc.EntryCount = entries;
    }

    void MakeStereo(int entries)
    {
        stereo.Data.assign(entries, TDrawEntryStereo{0, 0, 0, 0});
        source = TWaveSource{&stereo, nullptr};
        doc.Stereo = true;
        doc.Length = entries;
        doc.EntryCount = entries;
    }

    TWaveRenderer Renderer() { return TWaveRenderer(view, doc, source, colors, bitmap); }

    TWaveFrame Draw(std::int32_t start = 0, std::vector<std::int32_t> cutBars = {},
                    bool stopped = true)
    {
        return Renderer().DrawWave(start, cutBars, stopped);
    }

    TColor Pixel(int x, int y) { return bitmap.Canvas()->Pixel(x, y); }

    // The rows of column x that have the colour, as a compact list of runs.
    std::vector<std::pair<int, int>> Runs(int x, TColor color)
    {
        std::vector<std::pair<int, int>> runs;
        for (int y = 0; y < kHeight; ++y) {
            if (Pixel(x, y) != color)
                continue;
            if (!runs.empty() && runs.back().second == y - 1)
                runs.back().second = y;
            else
                runs.push_back({y, y});
        }
        return runs;
    }

    TBitmap bitmap;
    TViewDocument doc;
    TWaveViewState view;
    TWaveColors colors;
    TDrawDataMono mono;
    TDrawDataStereo stereo;
    TWaveSource source;
};

using RowRuns = std::vector<std::pair<int, int>>;

TEST_P(WaveRenderTest, BackgroundAndSelectionColours)
{
    view.HasSelection = true;
    view.SelStart = 10;
    view.SelEnd = 19;
    Draw();
    EXPECT_EQ(view.SelStartX, 10);
    EXPECT_EQ(view.SelEndX, 19);
    EXPECT_EQ(Pixel(9, 20), colors.Back);
    EXPECT_EQ(Pixel(10, 20), colors.RegBack);
    EXPECT_EQ(Pixel(19, kHeight - 1), colors.RegBack);
    EXPECT_EQ(Pixel(20, 20), colors.Back);
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), colors.Back);
    view.RegionSelection = true;
    Draw();
    EXPECT_EQ(Pixel(15, 20), colors.PreBack);
}

TEST_P(WaveRenderTest, SelectionOutsideTheViewDrawsNoBackground)
{
    view.HasSelection = true;
    view.SelStart = 100;
    view.SelEnd = 200;
    Draw();
    EXPECT_EQ(view.SelStartX, -1);
    EXPECT_EQ(view.SelEndX, -1);
    EXPECT_EQ(Runs(kWidth - 1, colors.RegBack), RowRuns{});
}

TEST_P(WaveRenderTest, FullScaleMonoSpansTheWaveAreaWithTheZeroRowOnTop)
{
    mono.Data[3] = {127, -128};
    view.HasSelection = true;
    view.SelStart = view.SelEnd = 5;
    mono.Data[5] = {127, -128};
    Draw();
    // Rows 14 (the ruler's bottom line) to 77; the end row 78 is left out.
    EXPECT_EQ(Runs(3, colors.Wave), (RowRuns{{15, 45}, {47, 77}}));
    EXPECT_EQ(Pixel(3, 46), colors.Zero);
    EXPECT_EQ(Pixel(3, kMark), kRulerLineColor);
    EXPECT_EQ(Pixel(3, 78), colors.Back);
    EXPECT_EQ(Runs(5, colors.RegWave), (RowRuns{{15, 45}, {47, 77}}));
    EXPECT_EQ(Runs(4, colors.Zero), (RowRuns{{46, 46}}));
}

TEST_P(WaveRenderTest, FullScaleStereoSpansEachChannelAroundItsCentre)
{
    MakeStereo(1000);
    stereo.Data[7] = {127, -128, 127, -128};
    stereo.Data[8] = {127, 0, 0, -128};
    Draw();
    EXPECT_EQ(Runs(7, colors.Wave), (RowRuns{{15, 29}, {31, 45}, {47, 61}, {63, 77}}));
    EXPECT_EQ(Pixel(7, 30), colors.Zero);
    EXPECT_EQ(Pixel(7, 46), colors.Center);
    EXPECT_EQ(Pixel(7, 62), colors.Zero);
    EXPECT_EQ(Runs(8, colors.Wave), (RowRuns{{15, 29}, {63, 77}}));
    EXPECT_EQ(Runs(20, colors.Center), (RowRuns{{46, 46}}));
    EXPECT_EQ(Runs(20, colors.Zero), (RowRuns{{30, 30}, {62, 62}}));
}

TEST_P(WaveRenderTest, VerticalZoomScalesAndClampsLevels)
{
    mono.Data[2] = {40, -40};
    mono.Data[3] = {127, -128};
    Draw();
    EXPECT_EQ(Runs(2, colors.Wave), (RowRuns{{36, 45}, {47, 55}}));
    view.VZoom = 3;
    Draw(view.ViewStart);
    EXPECT_EQ(Runs(2, colors.Wave), (RowRuns{{16, 45}, {47, 75}}));
    EXPECT_EQ(Runs(3, colors.Wave), (RowRuns{{15, 45}, {47, 77}}));
}

TEST_P(WaveRenderTest, ColumnsPastTheDataAreButtonFaceAndStopZoomingOut)
{
    MakeMono(40);
    const TWaveFrame frame = Draw();
    EXPECT_EQ(frame.GreyFrom, 40);
    EXPECT_FALSE(view.ZoomOutAllowed);
    EXPECT_FALSE(frame.Scroll.Enabled);
    EXPECT_EQ(Pixel(39, 20), colors.Back);
    EXPECT_EQ(Pixel(40, 20), ButtonFace());
    EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), ButtonFace());
    EXPECT_EQ(Pixel(50, 46), colors.Zero); // the zero line runs across
}

TEST_P(WaveRenderTest, RulerHasTicksAndABottomLine)
{
    Draw(69); // ticks at 100 ms, column 31
    EXPECT_EQ(view.ViewStart, 69);
    EXPECT_EQ(Runs(31, clBlack), (RowRuns{{10, 13}}));
    EXPECT_EQ(Pixel(31, kMark), kRulerLineColor);
    EXPECT_EQ(Pixel(0, kMark), kRulerLineColor);
    EXPECT_EQ(Pixel(kWidth - 1, kMark), kRulerLineColor);
    EXPECT_EQ(Pixel(kWidth - 1, 13), ButtonFace());
    EXPECT_EQ(Pixel(20, 9), ButtonFace());
}

TEST_P(WaveRenderTest, NoTwoRulerLabelsOverlapOnAnHourLongFile)
{
    // 600 columns of 6 s over one hour at 8000 Hz: a label every 3 minutes.
    bitmap.SetSize(600, kHeight);
    doc.Rate = 8000;
    doc.BlockSize = 256;
    MakeMono(8000 * 3600 / 128);
    doc.Length = 8000 * 3600;
    for (int markSize : {1, 5}) {
        SCOPED_TRACE(markSize);
        view.MarkSize = markSize;
        view.MarkHeight = MarkHeightFor(markSize);
        view.MarkHalf = view.MarkHeight / 2;
        view.Zoom = 375;
        Draw();
        ASSERT_GE(SampleToMsec(doc, view.SamplesPerPixel), 5000);
        const std::vector<TRulerTick> ticks = Renderer().DrawTimeRuler();
        TCanvas& canvas = *bitmap.Canvas();
        int labels = 0;
        int labelEnd = 0;
        for (const TRulerTick& tick : ticks) {
            if (tick.Label.empty())
                continue;
            ++labels;
            EXPECT_GE(tick.LabelX, labelEnd) << tick.Label;
            labelEnd = tick.LabelX + canvas.TextWidth(tick.Label);
        }
        EXPECT_GE(labels, 6);
    }
}

TEST_P(WaveRenderTest, StoppedCursorIsDrawnAndErasedAgain)
{
    view.PlayPos = 20;
    Draw();
    EXPECT_EQ(view.CursorX, 20);
    EXPECT_TRUE(view.CursorDrawn);
    EXPECT_EQ(view.BlinkPhase, TBlinkPhase::Drawn);
    EXPECT_EQ(Runs(20, colors.PosBar), (RowRuns{{15, kHeight - 1}}));
    Renderer().ErasePlayCursor();
    EXPECT_EQ(Runs(20, colors.PosBar), RowRuns{});
    EXPECT_EQ(Pixel(20, 20), colors.Back);
    EXPECT_EQ(Pixel(20, 46), colors.Zero);
    view.PlayPos = 30;
    Draw(0, {}, false); // playing: the timer draws it
    EXPECT_EQ(view.CursorX, -1);
    EXPECT_EQ(Runs(30, colors.PosBar), RowRuns{});
}

TEST_P(WaveRenderTest, CutBarMarkIsDrawnHitAndErasedWithTheTickRestored)
{
    Draw(69, {99}); // mark at column 30, a tick at column 31
    EXPECT_EQ(Runs(30, colors.CutBar), (RowRuns{{11, kHeight - 1}}));
    EXPECT_EQ(Runs(27, colors.CutBar), (RowRuns{{11, 11}}));
    EXPECT_EQ(Runs(28, colors.CutBar), (RowRuns{{11, 12}}));
    EXPECT_EQ(Runs(31, colors.CutBar), (RowRuns{{11, 13}}));
    EXPECT_EQ(Runs(33, colors.CutBar), (RowRuns{{11, 11}}));
    EXPECT_EQ(Runs(34, colors.CutBar), RowRuns{});
    EXPECT_EQ(Pixel(31, 10), clBlack);

    TWaveRenderer renderer = Renderer();
    EXPECT_EQ(renderer.HitCutBarMark(33, 10), 30);
    EXPECT_EQ(renderer.HitCutBarMark(30, 12), 30);
    EXPECT_EQ(renderer.HitCutBarMark(10, 11), -1);
    EXPECT_EQ(renderer.HitCutBarMark(30, 40), 30);
    EXPECT_EQ(renderer.HitCutBarMark(10, 40), -1);

    renderer.EraseCutBarMark(30);
    for (int x = 27; x <= 33; ++x)
        EXPECT_EQ(Runs(x, colors.CutBar), RowRuns{}) << "column " << x;
    EXPECT_EQ(Pixel(30, kMark), kRulerLineColor);
    EXPECT_EQ(Pixel(29, 12), ButtonFace());
    EXPECT_EQ(Runs(31, clBlack), (RowRuns{{10, 13}}));
    EXPECT_EQ(Pixel(30, 20), colors.Back);
    EXPECT_EQ(Pixel(30, 46), colors.Zero);
}

TEST_P(WaveRenderTest, ColumnRedrawKeepsAMarkTipAndTheSelection)
{
    view.HasSelection = true;
    view.SelStart = 10;
    view.SelEnd = 20;
    Draw(0, {15});
    TWaveRenderer renderer = Renderer();
    renderer.DrawWaveRange(15);
    EXPECT_EQ(Runs(15, colors.CutBar), (RowRuns{{11, kHeight - 1}}));
    bitmap.Canvas()->SetPixel(12, 30, clBlack);
    renderer.DrawWaveRange(12);
    EXPECT_EQ(Pixel(12, 30), colors.RegBack);
    EXPECT_EQ(Pixel(12, 46), colors.Zero);
}

TEST_P(WaveRenderTest, ClearingTheSelectionRedrawsItsFirstColumnToo)
{
    view.HasSelection = true;
    view.SelStart = 10;
    view.SelEnd = 19;
    Draw();
    EXPECT_TRUE(Renderer().ClearSelection());
    EXPECT_FALSE(view.HasSelection);
    EXPECT_EQ(view.SelStartX, -1);
    for (int x = 9; x <= 20; ++x)
        EXPECT_EQ(Pixel(x, 20), colors.Back) << "column " << x;
    EXPECT_FALSE(Renderer().ClearSelection());
}

TEST_P(WaveRenderTest, NothingIsDrawnWithoutAFileOrRoom)
{
    bitmap.Canvas()->SetPixel(5, 5, clBlack);
    doc.Loaded = false;
    Draw();
    EXPECT_EQ(Pixel(5, 5), clBlack);
    doc.Loaded = true;
    bitmap.SetSize(10, 10); // smaller than the ruler
    Draw();
    EXPECT_EQ(Pixel(5, 9), ButtonFace());
    Renderer().DrawWaveRange(5);
    Renderer().ErasePlayCursor();
}

INSTANTIATE_TEST_SUITE_P(Formats, WaveRenderTest,
                         testing::Values(TPixelFormat::pf24bit, TPixelFormat::pf32bit));

// --- Overview

class OverviewRenderTest : public testing::TestWithParam<TPixelFormat>
{
protected:
    void SetUp() override
    {
        overview.SetPixelFormat(GetParam());
        overview.SetSize(kWidth, 43);
        doc.Loaded = true;
        doc.Rate = 1000;
        doc.BlockSize = 2;
        Make(630, false);
        view.ViewStart = 100;
        view.ViewEnd = 300;
    }

    void Make(int entries, bool isStereo)
    {
        stereo.Data.assign(isStereo ? entries : 0, TDrawEntryStereo{});
        mono.Data.assign(isStereo ? 0 : entries, TDrawEntryMono{});
        source = isStereo ? TWaveSource{&stereo, nullptr} : TWaveSource{nullptr, &mono};
        doc.Stereo = isStereo;
        doc.Length = doc.EntryCount = entries;
    }

    TOverviewRenderer Renderer()
    {
        return TOverviewRenderer(view, doc, source, colors, overview, clean);
    }

    TColor Pixel(int x, int y) { return overview.Canvas()->Pixel(x, y); }
    TColor CleanPixel(int x, int y) { return clean.Canvas()->Pixel(x, y); }

    TBitmap overview;
    TBitmap clean;
    TViewDocument doc;
    TWaveViewState view;
    TWaveColors colors;
    TDrawDataMono mono;
    TDrawDataStereo stereo;
    TWaveSource source;
};

TEST_P(OverviewRenderTest, FrameAroundTheViewAndMarkAtThePosition)
{
    view.PlayPos = 500;
    Renderer().DrawOverview(kWidth);
    EXPECT_EQ(view.OverviewSamplesPerPixel, 10);
    EXPECT_EQ(view.OverviewFrame, TRect(10, 0, 30, 42));
    for (int x : {10, 11, 28, 29})
        EXPECT_EQ(Pixel(x, 20), colors.Range) << "column " << x;
    EXPECT_EQ(Pixel(12, 20), CleanPixel(12, 20));
    EXPECT_EQ(Pixel(20, 0), colors.Range);
    EXPECT_EQ(Pixel(20, 41), colors.Range);
    EXPECT_EQ(Pixel(20, 42), CleanPixel(20, 42));
    EXPECT_EQ(Pixel(10, 42), CleanPixel(10, 42));
    EXPECT_EQ(Pixel(50, 0), colors.PosBar);
    EXPECT_EQ(Pixel(50, 42), colors.PosBar);
    EXPECT_EQ(CleanPixel(50, 5), colors.Back); // the copy has neither
    EXPECT_EQ(CleanPixel(10, 5), colors.Back);
}

TEST_P(OverviewRenderTest, MovingTheMarkRestoresTheFrameUnderIt)
{
    view.PlayPos = 200;
    TOverviewRenderer renderer = Renderer();
    renderer.DrawOverview(kWidth);
    EXPECT_EQ(Pixel(20, 20), colors.PosBar);
    view.PlayPos = 100; // onto the frame's left edge
    renderer.DrawOverviewPosition();
    EXPECT_EQ(Pixel(20, 0), colors.Range);
    EXPECT_EQ(Pixel(20, 41), colors.Range);
    EXPECT_EQ(Pixel(20, 20), CleanPixel(20, 20));
    view.PlayPos = 500;
    renderer.DrawOverviewPosition();
    EXPECT_EQ(Pixel(10, 20), colors.Range);
    EXPECT_EQ(Pixel(10, 42), CleanPixel(10, 42));
    EXPECT_EQ(view.OverviewMarkX, 50);
}

TEST_P(OverviewRenderTest, MovingTheFrameRestoresTheOldOneAndKeepsTheMark)
{
    view.PlayPos = 500;
    TOverviewRenderer renderer = Renderer();
    renderer.DrawOverview(kWidth);
    view.ViewStart = 450;
    view.ViewEnd = 650;
    renderer.DrawOverviewRange();
    EXPECT_EQ(view.OverviewFrame, TRect(45, 0, 64, 42));
    EXPECT_EQ(Pixel(10, 20), CleanPixel(10, 20));
    EXPECT_EQ(Pixel(29, 20), CleanPixel(29, 20));
    EXPECT_EQ(Pixel(45, 20), colors.Range);
    EXPECT_EQ(Pixel(50, 0), colors.PosBar);
    EXPECT_EQ(Pixel(50, 20), colors.PosBar);
    renderer.RestoreClean();
    EXPECT_EQ(Pixel(45, 20), CleanPixel(45, 20));
    EXPECT_EQ(view.OverviewMarkX, -1);
    renderer.DrawOverviewRange();
    EXPECT_EQ(Pixel(45, 20), colors.Range);
    EXPECT_EQ(Pixel(50, 20), colors.PosBar);
}

TEST_P(OverviewRenderTest, StereoLinesSitAboveTheirCentres)
{
    Make(kWidth, true);
    stereo.Data[3] = {127, -128, 0, 0};
    view.ViewStart = 30;
    view.ViewEnd = 40;
    view.PlayPos = 60;
    Renderer().DrawOverview(kWidth);
    EXPECT_EQ(Pixel(45, 20), colors.Center);
    EXPECT_EQ(Pixel(45, 9), colors.Zero);
    EXPECT_EQ(Pixel(45, 30), colors.Zero);
    EXPECT_EQ(Pixel(3, 0), colors.Wave);
    EXPECT_EQ(Pixel(3, 15), colors.Wave);
    EXPECT_EQ(Pixel(3, 25), colors.Back);
}

TEST_P(OverviewRenderTest, FileShorterThanTheStripDividesByNothing)
{
    Make(20, false);
    view.ViewStart = 0;
    view.ViewEnd = 64;
    view.PlayPos = 5;
    Renderer().DrawOverview(kWidth);
    EXPECT_EQ(view.OverviewSamplesPerPixel, 1);
    EXPECT_EQ(view.OverviewFrame, TRect(0, 0, 64, 42));
    EXPECT_EQ(Pixel(5, 20), colors.PosBar);
    Make(0, false);
    TWaveViewState before = view;
    Renderer().DrawOverview(kWidth);
    EXPECT_EQ(view.OverviewSamplesPerPixel, before.OverviewSamplesPerPixel);
}

TEST_P(OverviewRenderTest, AnOpenFileWithoutDrawDataShowsAnEmptyStrip)
{
    mono.Data[300] = {127, -128};
    Renderer().DrawOverview(kWidth);
    ASSERT_EQ(Pixel(30, 5), colors.Wave);
    mono.Data.clear(); // the file's length stays
    Renderer().DrawOverview(kWidth);
    EXPECT_EQ(Pixel(30, 5), colors.Back);
    EXPECT_EQ(CleanPixel(30, 5), colors.Back);
}

TEST_P(OverviewRenderTest, NoFrameOrMarkBeforeTheScaleIsKnown)
{
    overview.Canvas()->SetPixel(5, 5, clBlack);
    Renderer().DrawOverviewRange();
    Renderer().DrawOverviewPosition();
    EXPECT_EQ(Pixel(5, 5), clBlack);
    EXPECT_TRUE(view.OverviewFrame.IsEmpty());
    Renderer().FillNoFile();
    EXPECT_EQ(Pixel(5, 5), kNoFileColor);
}

INSTANTIATE_TEST_SUITE_P(Formats, OverviewRenderTest,
                         testing::Values(TPixelFormat::pf24bit, TPixelFormat::pf32bit));

} // namespace
