// View geometry without windows: conversions at their edges, the view a full
// redraw shows (zoomed in, zoomed out, past the end), rows, the ruler's tick
// list, cut-bar removal, the overview's scale and frame, and the arithmetic
// of zooming, the wheel and the scroll bar (positions beyond 16 bits).
#include "editor/ViewGeometry.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TViewDocument Doc(std::int32_t length, int blockSize = 256, std::uint32_t rate = 44100,
                  bool stereo = false)
{
    TViewDocument doc;
    doc.Loaded = true;
    doc.Length = length;
    doc.Rate = rate;
    doc.BlockSize = blockSize;
    doc.EntryCount = length / std::max(1, blockSize / 2);
    doc.Stereo = stereo;
    return doc;
}

TWaveViewState View(std::int32_t start, std::int32_t end, std::int32_t perPixel)
{
    TWaveViewState view;
    view.ViewStart = start;
    view.ViewEnd = end;
    view.SamplesPerPixel = perPixel;
    return view;
}

} // namespace

// --- Conversions

TEST(ViewConversions, SampleAndColumnRoundTripAtTheEdges)
{
    const TWaveViewState view = View(1000, 1000 + 64 * 128, 128);
    EXPECT_EQ(SampleToX(view, 1000), 0);
    EXPECT_EQ(SampleToX(view, 1127), 0);
    EXPECT_EQ(SampleToX(view, 1128), 1);
    EXPECT_EQ(SampleToX(view, 1000 + 64 * 128), 64); // beyond the image
    EXPECT_EQ(SampleToX(view, 1000 - 129), -1);      // rounds toward zero
    EXPECT_EQ(SampleToX(view, 999), 0);
    EXPECT_EQ(XToSample(view, 0, false), 1000);
    EXPECT_EQ(XToSample(view, 0, true), 1127);
    EXPECT_EQ(XToSample(view, 63, true), 1000 + 64 * 128 - 1);
    EXPECT_EQ(XToSample(view, -1, false), 1000 - 128);
}

TEST(ViewConversions, NoViewYetGivesNoColumnAndNoSample)
{
    TWaveViewState view; // before the first redraw
    EXPECT_EQ(SampleToX(view, 0), -1);
    EXPECT_EQ(XToSample(view, 5, true), -1);
    EXPECT_FALSE(IsSampleVisible(view, Doc(1000), 0));
}

TEST(ViewConversions, VisibleNeedsAFileTheViewAndTheLength)
{
    const TWaveViewState view = View(100, 500, 1);
    TViewDocument doc = Doc(400);
    EXPECT_TRUE(IsSampleVisible(view, doc, 100));
    EXPECT_TRUE(IsSampleVisible(view, doc, 400)); // the length itself
    EXPECT_FALSE(IsSampleVisible(view, doc, 401));
    EXPECT_FALSE(IsSampleVisible(view, doc, 99));
    doc.Length = 1000;
    EXPECT_TRUE(IsSampleVisible(view, doc, 500));
    EXPECT_FALSE(IsSampleVisible(view, doc, 501));
    doc.Loaded = false;
    EXPECT_FALSE(IsSampleVisible(view, doc, 200));
}

TEST(ViewConversions, MillisecondsRoundHalfToEvenAndStopAtTheLength)
{
    const TViewDocument doc = Doc(44100, 256, 44100);
    EXPECT_EQ(MsecToSample(doc, 0), 0);
    EXPECT_EQ(MsecToSample(doc, 10), 441);
    EXPECT_EQ(MsecToSample(doc, 1000), 44100);
    EXPECT_EQ(MsecToSample(doc, 5000), 44100);
    EXPECT_EQ(SampleToMsec(doc, 441), 10);
    EXPECT_EQ(SampleToMsec(doc, 22), 0); // 0.4988 ms
    EXPECT_EQ(SampleToMsec(doc, 23), 1); // 0.5215 ms
    const TViewDocument even = Doc(8000, 256, 2000);
    EXPECT_EQ(SampleToMsec(even, 1), 0);          // exactly 0.5 rounds to even
    EXPECT_EQ(SampleToMsec(even, 3), 2);          // exactly 1.5
    EXPECT_EQ(SampleToMsec(Doc(10, 2, 0), 5), 0); // no rate: no division
}

TEST(ViewConversions, TimeToColumnIsMinusOneOutsideTheView)
{
    const TViewDocument doc = Doc(100000, 2, 1000);
    const TWaveViewState view = View(100, 164, 1);
    EXPECT_EQ(MsecToX(view, doc, 100), 0);
    EXPECT_EQ(MsecToX(view, doc, 164), 64);
    EXPECT_EQ(MsecToX(view, doc, 99), -1);
    EXPECT_EQ(MsecToX(view, doc, 165), -1);
}

TEST(ViewConversions, ScaleLevelStaysWithinTheByteRange)
{
    TWaveViewState view;
    view.VZoom = 3;
    EXPECT_EQ(ScaleLevel(view, 127), 127);
    EXPECT_EQ(ScaleLevel(view, -128), -128);
    EXPECT_EQ(ScaleLevel(view, 10), 30);
    EXPECT_EQ(ScaleLevel(view, -43), -128);
    EXPECT_EQ(MakeColor(1, 2, 3), 0x030201);
}

// --- The view of a full redraw

TEST(ViewFrame, ZoomedInViewStartsAtTheEntryAtOrBeforeTheRequest)
{
    TWaveViewState view;
    view.Zoom = 2;
    const TViewDocument doc = Doc(1000000); // half block 128
    const TWaveFrame frame = PlanWaveFrame(view, doc, 100, 1000);
    EXPECT_EQ(frame.Span.FirstEntry, 7);
    EXPECT_EQ(frame.Span.ViewStart, 896);
    EXPECT_EQ(frame.Span.SamplesPerPixel, 256);
    EXPECT_EQ(frame.Span.ViewEnd, 896 + 100 * 256);
    EXPECT_EQ(frame.GreyFrom, 100);
    EXPECT_TRUE(frame.ZoomOutAllowed);
    EXPECT_TRUE(frame.Scroll.Enabled);
    EXPECT_EQ(frame.Scroll.Max, 10000);
    EXPECT_EQ(frame.Scroll.PageSize, 256);
    EXPECT_EQ(frame.Scroll.Position, 8);
    EXPECT_EQ(frame.Scroll.SmallStep, 6);
    EXPECT_EQ(frame.Scroll.LargeStep, 256);
}

TEST(ViewFrame, NegativeStartShowsTheBeginning)
{
    TWaveViewState view;
    const TWaveFrame frame = PlanWaveFrame(view, Doc(1000000), 100, -5000);
    EXPECT_EQ(frame.Span.ViewStart, 0);
    EXPECT_EQ(frame.Span.FirstEntry, 0);
    EXPECT_EQ(frame.Span.ViewEnd, 12800);
}

TEST(ViewFrame, StartBeyondTheEndShowsTheLastFullScreen)
{
    TWaveViewState view;
    const TViewDocument doc = Doc(100000); // 781 entries
    const TWaveFrame frame = PlanWaveFrame(view, doc, 100, 99000);
    EXPECT_EQ(frame.Span.ViewEnd, 100000);
    EXPECT_EQ(frame.Span.ViewStart, 100000 - 12800);
    EXPECT_EQ(frame.Span.FirstEntry, (100000 - 12800) / 128);
    EXPECT_TRUE(frame.ZoomOutAllowed);
    EXPECT_TRUE(frame.Scroll.Enabled); // the file reaches the view's end
    EXPECT_EQ(frame.Scroll.Position, 872);
}

TEST(ViewFrame, FileShorterThanTheViewGreysTheRestAndRefusesZoomOut)
{
    TWaveViewState view;
    view.Zoom = 1;
    const TViewDocument doc = Doc(5000); // 39 entries
    const TWaveFrame frame = PlanWaveFrame(view, doc, 100, 3000);
    EXPECT_EQ(frame.Span.ViewStart, 0);
    EXPECT_EQ(frame.Span.ViewEnd, 12800);
    EXPECT_EQ(frame.GreyFrom, 39);
    EXPECT_FALSE(frame.ZoomOutAllowed);
    EXPECT_FALSE(frame.Scroll.Enabled);
}

TEST(ViewFrame, ZoomedOutColumnsNeedAllTheirEntries)
{
    TWaveViewState view;
    view.Zoom = 4;
    TViewDocument doc = Doc(128 * 401);
    const TWaveFrame frame = PlanWaveFrame(view, doc, 200, 0);
    EXPECT_EQ(frame.GreyFrom, 100); // column 100 would need entries 400..403
    EXPECT_FALSE(frame.ZoomOutAllowed);
    doc.EntryCount = 0;
    EXPECT_EQ(PlanWaveFrame(view, doc, 200, 0).GreyFrom, 0);
}

TEST(ViewFrame, TinyImageStillGetsOneColumn)
{
    TWaveViewState view;
    const TWaveFrame frame = PlanWaveFrame(view, Doc(100000), -20, 0);
    EXPECT_EQ(frame.Span.ViewEnd, 128);
    EXPECT_EQ(frame.GreyFrom, 1);
}

TEST(ViewFrame, SelectionColumnsOnlyWhereTheSelectionShows)
{
    TWaveViewState view = View(1000, 1000 + 64 * 10, 10);
    view.HasSelection = true;
    int x1 = 0;
    int x2 = 0;
    auto columns = [&](std::int32_t start, std::int32_t end) {
        view.SelStart = start;
        view.SelEnd = end;
        SelectionColumns(view, 64, x1, x2);
        return std::pair(x1, x2);
    };
    EXPECT_EQ(columns(0, 999), std::pair(-1, -1));     // wholly left
    EXPECT_EQ(columns(1640, 2000), std::pair(-1, -1)); // wholly right
    EXPECT_EQ(columns(0, 1005), std::pair(0, 0));      // ends in column 0
    EXPECT_EQ(columns(1635, 5000), std::pair(63, 63)); // starts in the last column
    EXPECT_EQ(columns(1015, 1034), std::pair(1, 3));
    view.HasSelection = false;
    EXPECT_EQ(columns(1015, 1034), std::pair(-1, -1));
}

// --- Rows

TEST(ViewRows, MonoAndStereoRowsOfAnImage)
{
    const TWaveRows mono = WaveRowsFor(80, 14, false);
    EXPECT_EQ(mono.CentreL, 46);
    EXPECT_DOUBLE_EQ(mono.Scale, 0.25);
    EXPECT_EQ(mono.ZeroLineL, 46);
    EXPECT_EQ(mono.CentreLine, -1);
    EXPECT_EQ(mono.RowOf(127, mono.CentreL), 14);
    EXPECT_EQ(mono.RowOf(-128, mono.CentreL), 78);
    const TWaveRows stereo = WaveRowsFor(80, 14, true);
    EXPECT_EQ(stereo.CentreL, 30);
    EXPECT_EQ(stereo.CentreR, 62);
    EXPECT_EQ(stereo.CentreLine, 46);
    EXPECT_DOUBLE_EQ(stereo.Scale, 0.125);
    const TWaveRows tiny = WaveRowsFor(5, 14, true);
    EXPECT_DOUBLE_EQ(tiny.Scale, 0);
}

TEST(ViewRows, OverviewLinesSitOneRowAboveTheirCentres)
{
    const TWaveRows mono = OverviewRowsFor(43, false);
    EXPECT_EQ(mono.CentreL, 21);
    EXPECT_EQ(mono.ZeroLineL, 20);
    const TWaveRows stereo = OverviewRowsFor(43, true);
    EXPECT_EQ(stereo.CentreL, 10);
    EXPECT_EQ(stereo.CentreR, 31);
    EXPECT_EQ(stereo.CentreLine, 20);
    EXPECT_EQ(stereo.ZeroLineL, 9);
    EXPECT_EQ(stereo.ZeroLineR, 30);
    EXPECT_DOUBLE_EQ(stereo.Scale, 11 / 128.0);
}

// --- Ruler

TEST(ViewRuler, TickSpacingTable)
{
    struct Row
    {
        int Msec, MarkSize, Minor, Major;
    };
    const Row rows[] = {
        {1, 1, 100, 500},       {0, 1, 100, 1000},        {2, 1, 100, 1000},
        {3, 1, 500, 1000},      {8, 1, 500, 1000},        {9, 1, 1000, 1000},
        {24, 1, 1000, 1000},    {25, 1, 1000, 5000},      {96, 1, 1000, 5000},
        {97, 3, 5000, 5000},    {97, 4, 5000, 10000},     {192, 9, 5000, 5000},
        {193, 3, 5000, 10000},  {384, 5, 10000, 30000},   {385, 1, 10000, 30000},
        {769, 1, 30000, 60000}, {1537, 1, 60000, 120000}, {3073, 1, 60000, 180000},
    };
    for (const Row& row : rows) {
        const TTickSpacing spacing = TickSpacingFor(row.Msec, row.MarkSize);
        EXPECT_EQ(spacing.MinorMsec, row.Minor) << row.Msec << " ms, size " << row.MarkSize;
        EXPECT_EQ(spacing.MajorMsec, row.Major) << row.Msec << " ms, size " << row.MarkSize;
    }
}

TEST(ViewRuler, OneMillisecondPerColumnTicksEveryHundredAndLabelsEveryFiveHundred)
{
    const TViewDocument doc = Doc(100000, 2, 1000); // one frame per column, 1 ms
    TWaveViewState view = View(0, 1000, 1);
    const std::vector<TRulerTick> ticks = RulerTicks(view, doc);
    std::vector<int> minor, major;
    for (const TRulerTick& tick : ticks)
        (tick.Kind == TTickKind::Minor ? minor : major).push_back(tick.X);
    EXPECT_EQ(minor, (std::vector<int>{0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}));
    EXPECT_EQ(major, (std::vector<int>{0, 500, 1000}));
    const TRulerTick& half = ticks[ticks.size() - 2];
    EXPECT_EQ(half.Top, 7);
    EXPECT_EQ(half.Label, "0:01"); // 0.5 s rounds away from zero
    EXPECT_EQ(half.LabelX, 503);
    EXPECT_EQ(half.LabelY, 1);
    EXPECT_EQ(ticks[0].Top, 10);
    EXPECT_TRUE(ticks[0].Label.empty());
    view.MarkSize = 4;
    view.MarkHeight = 20;
    const std::vector<TRulerTick> large = RulerTicks(view, doc);
    EXPECT_EQ(large.back().LabelX, 1004);
    EXPECT_EQ(large.back().Label, "0:01");
    EXPECT_EQ(large.front().Top, 14);
}

TEST(ViewRuler, TicksBeforeTheViewAndPastTheFileAreLeftOut)
{
    const TViewDocument doc = Doc(730, 2, 1000);
    const TWaveViewState view = View(250, 1250, 1); // the file ends inside the view
    std::vector<std::int64_t> minor;
    for (const TRulerTick& tick : RulerTicks(view, doc))
        if (tick.Kind == TTickKind::Minor)
            minor.push_back(tick.Msec);
    EXPECT_EQ(minor, (std::vector<std::int64_t>{300, 400, 500, 600, 700}));
    EXPECT_TRUE(RulerTicks(TWaveViewState(), doc).empty());
}

TEST(ViewRuler, ALabelThatWouldRunIntoThePreviousOneIsLeftOut)
{
    auto tick = [](TTickKind kind, int labelX, const char* label) {
        TRulerTick t;
        t.Kind = kind;
        t.LabelX = labelX;
        t.Label = label;
        return t;
    };
    const auto major = TTickKind::Major;
    std::vector<TRulerTick> ticks = {
        tick(TTickKind::Minor, 0, ""), tick(major, 3, "0:00"), // 3 .. 27
        tick(major, 20, "3:00"),                               // starts inside the first: left out
        tick(major, 27, "6:00"), // starts where the first ends: kept, 27 .. 51
        tick(major, 40, "9:00"), // would start inside the kept one, not the one left out
        tick(major, 51, "12:00"),
    };
    DropCrowdedRulerLabels(ticks, [](const AnsiString& text) { return 6 * int(text.size()); });
    std::vector<AnsiString> labels;
    for (const TRulerTick& t : ticks)
        labels.push_back(t.Label);
    EXPECT_EQ(labels, (std::vector<AnsiString>{"", "0:00", "", "6:00", "", "12:00"}));
    EXPECT_EQ(ticks.size(), 6u); // the ticks themselves stay
}

TEST(ViewRuler, MajorTicksStepUpUntilEveryLabelHasRoomBeforeTheNext)
{
    // 50 minutes at 1000 Hz over 390 columns: 7.7 s a column, so the table
    // spaces major ticks 3 minutes (23 px) apart, less than a label needs.
    const TViewDocument doc = Doc(3000000, 2, 1000);
    const TWaveViewState view = View(0, 3003000, 7700);
    const auto widthOf = [](const AnsiString& text) { return 6 * int(text.size()); };
    std::vector<std::int64_t> labelled, minor;
    int labelEnd = -1000;
    for (const TRulerTick& tick : RulerLayout(view, doc, widthOf)) {
        if (tick.Kind == TTickKind::Minor) {
            minor.push_back(tick.Msec);
            continue;
        }
        EXPECT_FALSE(tick.Label.empty()) << tick.Msec;
        EXPECT_GE(tick.X - labelEnd, 4) << tick.Label << " starts too close to the label before";
        labelEnd = tick.LabelX + widthOf(tick.Label);
        labelled.push_back(tick.Msec / 60000);
    }
    EXPECT_EQ(labelled, (std::vector<std::int64_t>{0, 6, 12, 18, 24, 30, 36, 42, 48}));
    EXPECT_EQ(minor.size(), 51u); // every minute still has its tick, 3:00 among them
    // Where the table's spacing leaves room, it stays.
    std::vector<std::int64_t> majors;
    for (const TRulerTick& tick : RulerLayout(View(0, 600000, 1000), doc, widthOf))
        if (tick.Kind == TTickKind::Major)
            majors.push_back(tick.Msec);
    EXPECT_EQ(majors.size(), 11u); // a minute (60 px) apart, 0:00 to 10:00
    EXPECT_EQ(majors.back(), 600000);
}

// --- Cut bars

TEST(ViewCutBars, ErasingRemovesTheNearestAndOnATieTheEarlier)
{
    EXPECT_EQ(NearestCutBarIndex({}, 10), -1);
    EXPECT_EQ(NearestCutBarIndex({500}, 99999), 0);
    EXPECT_EQ(NearestCutBarIndex({100, 200, 300}, 240), 1);
    EXPECT_EQ(NearestCutBarIndex({100, 200, 300}, 260), 2);
    EXPECT_EQ(NearestCutBarIndex({100, 200, 300}, 250), 1); // tie
    EXPECT_EQ(NearestCutBarIndex({100, 200, 200, 300}, 200), 1);
    EXPECT_EQ(NearestCutBarIndex({100, 200, 300}, 0), 0);
    EXPECT_EQ(NearestCutBarIndex({100, 200, 300}, 1000), 2);
}

// --- Overview

TEST(ViewOverview, StepAndScaleNeverDivideByZero)
{
    EXPECT_EQ(OverviewStep(30, 600), 1); // shorter than the strip
    EXPECT_EQ(OverviewWorkWidth(30, 1), 30);
    EXPECT_EQ(OverviewStep(1199, 600), 1);
    EXPECT_EQ(OverviewWorkWidth(1199, 1), 1199);
    EXPECT_EQ(OverviewStep(262144, 600), 436);
    EXPECT_EQ(OverviewWorkWidth(262144, 436), 601);
    EXPECT_EQ(OverviewStep(100, 0), 100);
    EXPECT_EQ(OverviewWorkWidth(0, 1), 1);
    EXPECT_EQ(OverviewSamplesPerPixel(44100 * 60, 601), 4410);
    EXPECT_EQ(OverviewSamplesPerPixel(20, 601), 1);
    EXPECT_EQ(OverviewSamplesPerPixel(20, 1), 20);
    EXPECT_EQ(OverviewSamplesPerPixel(20, 0), 20);
}

TEST(ViewOverview, FrameAndMarkFollowTheViewAndThePlayPosition)
{
    TWaveViewState view = View(100, 300, 1);
    EXPECT_TRUE(OverviewFrameFor(view, 64, 43).IsEmpty()); // scale unknown
    EXPECT_EQ(OverviewMarkColumn(view), -1);
    EXPECT_FALSE(OverviewClickStart(view, 5).has_value());
    view.OverviewSamplesPerPixel = 10;
    EXPECT_EQ(OverviewFrameFor(view, 64, 43), TRect(10, 0, 30, 42));
    view.ViewEnd = 5000;
    EXPECT_EQ(OverviewFrameFor(view, 64, 43), TRect(10, 0, 64, 42));
    view.ViewStart = view.ViewEnd = 3003;
    EXPECT_EQ(OverviewFrameFor(view, 64, 43), TRect(64 - 1, 0, 64, 42));
    view.PlayPos = 505;
    EXPECT_EQ(OverviewMarkColumn(view), 50);
    EXPECT_EQ(OverviewClickStart(view, 7), 70);
    EXPECT_EQ(OverviewFrameEdges(TRect(10, 0, 30, 42)), (std::vector<int>{10, 11, 28, 29}));
    EXPECT_EQ(OverviewFrameEdges(TRect(10, 0, 12, 42)), (std::vector<int>{10, 11}));
    EXPECT_EQ(OverviewFrameEdges(TRect(10, 0, 11, 42)), (std::vector<int>{10}));
}

// --- Zoom

TEST(ViewZoom, InHalvesDownToOneOutDoubles)
{
    EXPECT_EQ(ZoomedIn(1), 1);
    EXPECT_EQ(ZoomedIn(3), 1);
    EXPECT_EQ(ZoomedIn(8), 4);
    EXPECT_EQ(ZoomedOut(4), 8);
    EXPECT_EQ(ZoomedOut(1 << 30), 1 << 30);
}

TEST(ViewZoom, TheAnchorLandsInTheMiddleOfTheNewView)
{
    TWaveViewState view = View(10000, 18000, 100);
    view.PlayPos = 12000;
    EXPECT_EQ(ZoomAnchor(view), 12000);
    view.HasSelection = true;
    view.SelStart = 15000;
    EXPECT_EQ(ZoomAnchor(view), 15000);
    EXPECT_EQ(ZoomInStart(view, 15000), 13000); // new width 4000: 15000 - 2000
    EXPECT_EQ(ZoomOutStart(view, 15000), 7000); // new width 16000: 15000 - 8000
    EXPECT_EQ(CentredStart(view, 15000), 11000);
}

TEST(ViewZoom, WholeFileAndSelectionFactors)
{
    EXPECT_EQ(ZoomAllFactor(262144, 600), 436);
    EXPECT_EQ(ZoomAllFactor(100, 600), 1);
    EXPECT_EQ(ZoomAllFactor(100, 0), 100);
    EXPECT_EQ(ZoomToSelectionFactor(0, 600 * 128, 600, 128), 1); // exactly one screen
    EXPECT_EQ(ZoomToSelectionFactor(0, 600 * 128 + 1, 600, 128), 2);
    EXPECT_EQ(ZoomToSelectionFactor(500, 500, 600, 128), 1); // zero length
    EXPECT_EQ(ZoomToSelectionFactor(0, 1000000, 0, 0), 1000000);
}

// --- Wheel and scroll bar

TEST(ViewWheel, ModifiersChooseTheAction)
{
    EXPECT_EQ(WheelActionFor(true, false, 120), TWheelAction::ZoomIn);
    EXPECT_EQ(WheelActionFor(true, false, -120), TWheelAction::ZoomOut);
    EXPECT_EQ(WheelActionFor(false, true, 120), TWheelAction::VZoomIn);
    EXPECT_EQ(WheelActionFor(false, true, -240), TWheelAction::VZoomOut);
    EXPECT_EQ(WheelActionFor(true, true, 120), TWheelAction::Nothing);
    EXPECT_EQ(WheelActionFor(false, false, -120), TWheelAction::Scroll);
}

TEST(ViewWheel, OneNotchMovesOneSmallStep)
{
    const TScrollSettings bar = ScrollSettingsFor(500000, 540000, 10000000);
    ASSERT_EQ(bar.PageSize, 400);
    ASSERT_EQ(bar.SmallStep, 10);
    EXPECT_EQ(WheelScrollFor(bar, 120).Start, 499000); // 10 units, 1,000 samples
    EXPECT_EQ(WheelScrollFor(bar, -120).Start, 501000);
    EXPECT_EQ(WheelScrollFor(bar, -360).Start, 503000);
    EXPECT_EQ(WheelScrollFor(bar, 60).Start, 499500);
}

TEST(ViewWheel, RefusalsAtTheEndsAndTheLastScreen)
{
    TScrollSettings bar = ScrollSettingsFor(0, 40000, 10000000);
    EXPECT_FALSE(WheelScrollFor(bar, 120).Handled);
    EXPECT_TRUE(WheelScrollFor(bar, -120).Handled);
    bar.Position = bar.Max - bar.PageSize + 1; // past the end
    EXPECT_FALSE(WheelScrollFor(bar, -120).Handled);
    bar.Position = bar.Max - bar.PageSize - 3;
    EXPECT_EQ(WheelScrollFor(bar, -120).Start, (bar.Max - bar.PageSize) * 100);
    bar.Enabled = false;
    EXPECT_TRUE(WheelScrollFor(bar, -120).Handled);
    EXPECT_FALSE(WheelScrollFor(bar, -120).Start.has_value());
}

TEST(ViewScroll, BarPositionsPassSixteenBits)
{
    const std::int32_t length = 44100 * 60 * 10; // ten minutes
    const TScrollSettings bar = ScrollSettingsFor(20000000, 20128000, length);
    EXPECT_EQ(bar.Max, 264600);
    EXPECT_EQ(bar.Position, 200000);
    EXPECT_EQ(bar.PageSize, 1280);
    EXPECT_EQ(WheelScrollFor(bar, -120).Start, 20000000 + 3200);
    const TScrollReply end = ScrollBarReply(TScrollCode::scEndScroll, 250000, bar);
    EXPECT_TRUE(end.Accepted);
    EXPECT_EQ(end.RedrawStart, 25000000);
}

TEST(ViewScroll, StepsAreRefusedAtTheEndsAndRedrawOnlyWhenTheScrollEnds)
{
    TScrollSettings bar = ScrollSettingsFor(0, 40000, 100000);
    EXPECT_FALSE(ScrollBarReply(TScrollCode::scLineUp, 0, bar).Accepted);
    EXPECT_TRUE(ScrollBarReply(TScrollCode::scLineDown, 10, bar).Accepted);
    const TScrollReply track = ScrollBarReply(TScrollCode::scTrack, 300, bar);
    EXPECT_TRUE(track.Accepted);
    EXPECT_EQ(track.Position, 300);
    EXPECT_FALSE(track.RedrawStart.has_value());
    EXPECT_FALSE(ScrollBarReply(TScrollCode::scPosition, 300, bar).RedrawStart.has_value());
    EXPECT_EQ(ScrollBarReply(TScrollCode::scEndScroll, 300, bar).RedrawStart, 30000);
    bar.Position = 601;
    const TScrollReply refused = ScrollBarReply(TScrollCode::scLineDown, 611, bar);
    EXPECT_FALSE(refused.Accepted);
    EXPECT_EQ(refused.Position, 601);
    const TScrollReply past = ScrollBarReply(TScrollCode::scEndScroll, 601, bar);
    EXPECT_EQ(past.Position, 1000);
    EXPECT_EQ(past.RedrawStart, 100000);
}

TEST(ViewScroll, DisabledWhenTheFileEndsInsideTheView)
{
    EXPECT_FALSE(ScrollSettingsFor(0, 12800, 5000).Enabled);
    const TScrollSettings exact = ScrollSettingsFor(0, 5000, 5000);
    EXPECT_TRUE(exact.Enabled);
    EXPECT_EQ(exact.SmallStep, 1);
    EXPECT_EQ(ScrollSettingsFor(0, 50, 5000).LargeStep, 1);
}

// --- Layout

TEST(ViewLayout, PanelsSmallerThanTheMarginsKeepSizesOfOne)
{
    const TWaveLayout tiny = WaveLayoutFor(2, 10);
    EXPECT_EQ(tiny.WaveWidth, 1);
    EXPECT_EQ(tiny.WaveHeight, 1);
    EXPECT_EQ(tiny.OverviewWidth, 1);
    EXPECT_EQ(tiny.ScrollWidth, 1);
}
