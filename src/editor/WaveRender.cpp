#include "WaveRender.h"

#include <algorithm>

namespace {

// Clears a flag when the full redraw ends, however it ends.
class TRenderDrawingFlag
{
public:
    explicit TRenderDrawingFlag(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TRenderDrawingFlag() { FFlag = false; }

private:
    bool& FFlag;
};

bool RenderSameColor(TColor pixel, TColor color)
{
    return pixel != clNone && pixel == static_cast<TColor>(ColorToRGB(color));
}

void RenderFill(TCanvas& canvas, const TRect& r, TColor color)
{
    if (r.IsEmpty())
        return;
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect(r);
}

void RenderLine(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color)
{
    canvas.Pen()->SetColor(color);
    canvas.Pen()->SetStyle(TPenStyle::psSolid);
    canvas.Pen()->SetWidth(1);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

template <class Entry, class Take>
TColumnPeaks RenderPeaksOf(const std::vector<Entry>& entries, const TEntryRun& run, Take take)
{
    TColumnPeaks peaks;
    for (std::int32_t i = run.First; i < run.First + run.Count; ++i)
        take(peaks, entries[i]);
    return peaks;
}

} // namespace

std::int32_t TWaveSource::Count() const
{
    if (Stereo)
        return Stereo->Count();
    return Mono ? Mono->Count() : 0;
}

TColumnPeaks TWaveSource::Peaks(const TEntryRun& run) const
{
    if (run.Count < 1 || run.First < 0 || run.First + run.Count > Count())
        return {};
    if (Stereo) {
        return RenderPeaksOf(Stereo->Data, run, [](TColumnPeaks& p, const TDrawEntryStereo& e) {
            p.MaxL = std::max<int>(p.MaxL, e.MaxL);
            p.MinL = std::min<int>(p.MinL, e.MinL);
            p.MaxR = std::max<int>(p.MaxR, e.MaxR);
            p.MinR = std::min<int>(p.MinR, e.MinR);
        });
    }
    return RenderPeaksOf(Mono->Data, run, [](TColumnPeaks& p, const TDrawEntryMono& e) {
        p.MaxL = std::max<int>(p.MaxL, e.Max);
        p.MinL = std::min<int>(p.MinL, e.Min);
    });
}

TColor BitmapPixel(TBitmap& bitmap, int x, int y)
{
    if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height())
        return clNone;
    const int step = bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
    const auto* p = static_cast<const unsigned char*>(bitmap.ScanLine(y)) + x * step;
    return p[2] | (p[1] << 8) | (p[0] << 16);
}

// --- Waveform image

TWaveRenderer::TWaveRenderer(TWaveViewState& view, const TViewDocument& doc,
                             const TWaveSource& data, const TWaveColors& colors, TBitmap& wave)
    : FView(view), FDoc(doc), FData(data), FColors(colors), FBitmap(wave)
{
}

int TWaveRenderer::Width() const
{
    return FBitmap.Width();
}

int TWaveRenderer::Height() const
{
    return FBitmap.Height();
}

bool TWaveRenderer::HasWaveArea() const
{
    return Height() > FView.MarkHeight + 1;
}

void TWaveRenderer::FillArea(int left, int top, int right, int bottom, TColor color)
{
    RenderFill(*FBitmap.Canvas(), TRect(left, top, right, bottom), color);
}

void TWaveRenderer::VerticalLine(int x, int from, int to, TColor color)
{
    if (to > from)
        RenderLine(*FBitmap.Canvas(), x, from, x, to, color);
}

void TWaveRenderer::HorizontalRun(int from, int to, int y, TColor color)
{
    RenderLine(*FBitmap.Canvas(), from, y, to + 1, y, color);
}

TWaveFrame TWaveRenderer::DrawWave(std::int32_t start, const std::vector<std::int32_t>& cutBars,
                                   bool stopped)
{
    const int w = Width();
    const int h = Height();
    if (!FDoc.Loaded || w < 1 || h < 1)
        return {};
    TRenderDrawingFlag drawing(FView.Drawing);
    const TWaveFrame frame = PlanWaveFrame(FView, FDoc, w, start);
    FView.ViewStart = frame.Span.ViewStart;
    FView.ViewEnd = frame.Span.ViewEnd;
    FView.SamplesPerPixel = frame.Span.SamplesPerPixel;
    FView.ZoomOutAllowed = frame.ZoomOutAllowed;
    FView.SelStartX = frame.SelStartX;
    FView.SelEndX = frame.SelEndX;

    FillArea(0, 0, w, h, FColors.Back);
    if (frame.SelStartX != -1)
        FillArea(frame.SelStartX, 0, frame.SelEndX + 1, h,
                 FView.RegionSelection ? FColors.PreBack : FColors.RegBack);
    if (HasWaveArea()) {
        const TWaveRows rows = WaveRowsFor(h, FView.MarkHeight, FDoc.Stereo);
        const std::int32_t zoom = std::max(1, FView.Zoom);
        for (int x = 0; x < frame.GreyFrom; ++x) {
            const TEntryRun run = EntriesFrom(
                frame.Span.FirstEntry + static_cast<std::int64_t>(x) * zoom, zoom, FData.Count());
            const bool selected =
                frame.SelStartX != -1 && frame.SelStartX <= x && x <= frame.SelEndX;
            DrawColumnWave(x, FData.Peaks(run), selected ? FColors.RegWave : FColors.Wave, rows);
        }
        if (frame.GreyFrom < w)
            FillArea(frame.GreyFrom, FView.MarkHeight, w, h, clBtnFace);
        DrawLinesAcross(rows);
    }
    DrawTimeRuler();
    DrawCursorAfterRedraw(stopped);
    for (std::int32_t sample : cutBars)
        DrawCutBarMark(sample);
    return frame;
}

void TWaveRenderer::DrawColumnWave(int x, const TColumnPeaks& peaks, TColor pen,
                                   const TWaveRows& rows)
{
    // Full-scale peaks reach the ruler's bottom line; the wave stays below it.
    const int top = FView.MarkHeight + 1;
    auto span = [&](int max, int min, int centre) {
        const int from = std::max(top, rows.RowOf(ScaleLevel(FView, max), centre));
        const int to = rows.RowOf(ScaleLevel(FView, min), centre);
        VerticalLine(x, from, to, pen);
    };
    span(peaks.MaxL, peaks.MinL, rows.CentreL);
    if (rows.Stereo)
        span(peaks.MaxR, peaks.MinR, rows.CentreR);
}

void TWaveRenderer::DrawLinesAcross(const TWaveRows& rows)
{
    const int last = Width() - 1;
    if (rows.Stereo)
        HorizontalRun(0, last, rows.CentreLine, FColors.Center);
    HorizontalRun(0, last, rows.ZeroLineL, FColors.Zero);
    if (rows.Stereo)
        HorizontalRun(0, last, rows.ZeroLineR, FColors.Zero);
}

void TWaveRenderer::DrawCursorAfterRedraw(bool stopped)
{
    if (!IsSampleVisible(FView, FDoc, FView.PlayPos)) {
        FView.CursorX = -1;
        FView.CursorDrawn = false;
        return;
    }
    if (!stopped) {
        // The redraw wiped the line; the play timer draws it again.
        FView.CursorX = -1;
        FView.CursorDrawn = false;
        return;
    }
    const int x = SampleToX(FView, FView.PlayPos);
    DrawPlayCursor(x);
    FView.CursorX = x;
    FView.CursorDrawn = true;
    FView.BlinkPhase = TBlinkPhase::Drawn;
}

void TWaveRenderer::DrawWaveRange(int x)
{
    if (!FDoc.Loaded || x < 0 || x >= Width() || !HasWaveArea())
        return;
    const int mh = FView.MarkHeight;
    const int h = Height();
    if (RenderSameColor(BitmapPixel(FBitmap, x, mh), FColors.CutBar)) {
        VerticalLine(x, mh + 1, h, FColors.CutBar);
        return;
    }
    const std::int32_t first = XToSample(FView, x, false);
    const std::int32_t last = XToSample(FView, x, true);
    if (first < 0 || last > FDoc.Length)
        return;
    const std::int32_t zoom = std::max(1, FView.Zoom);
    const std::int64_t firstEntry = first / FDoc.HalfBlock();
    // A column past the draw data keeps its grey.
    if (firstEntry + zoom > FData.Count())
        return;
    const bool selected = SelectedColumn(first, last);
    const TColor back = !selected               ? FColors.Back
                        : FView.RegionSelection ? FColors.PreBack
                                                : FColors.RegBack;
    VerticalLine(x, mh + 1, h, back);
    const TWaveRows rows = WaveRowsFor(h, mh, FDoc.Stereo);
    DrawColumnWave(x, FData.Peaks(EntriesFrom(firstEntry, zoom, FData.Count())),
                   selected ? FColors.RegWave : FColors.Wave, rows);
    TCanvas& canvas = *FBitmap.Canvas();
    if (rows.Stereo) {
        canvas.SetPixel(x, rows.CentreLine, FColors.Center);
        canvas.SetPixel(x, rows.ZeroLineR, FColors.Zero);
    }
    canvas.SetPixel(x, rows.ZeroLineL, FColors.Zero);
}

bool TWaveRenderer::SelectedColumn(std::int32_t first, std::int32_t last) const
{
    return IsSampleVisible(FView, FDoc, first) && FView.HasSelection && FView.SelStart <= last &&
           first <= FView.SelEnd;
}

std::vector<TRulerTick> TWaveRenderer::DrawTimeRuler()
{
    const int w = Width();
    const int mh = FView.MarkHeight;
    if (w < 1 || Height() < 1)
        return {};
    TCanvas& canvas = *FBitmap.Canvas();
    FillArea(0, 0, w, mh, clBtnFace);
    canvas.Font()->SetSize(FView.MarkHalf);
    const std::vector<TRulerTick> ticks = RulerLayout(
        FView, FDoc, [&canvas](const AnsiString& label) { return canvas.TextWidth(label); });
    for (const TRulerTick& tick : ticks) {
        VerticalLine(tick.X, tick.Top, mh, clBlack);
        if (!tick.Label.empty()) {
            canvas.Brush()->SetStyle(TBrushStyle::bsClear);
            canvas.TextOut(tick.LabelX, tick.LabelY, tick.Label);
        }
    }
    HorizontalRun(0, w - 1, mh, kRulerLineColor);
    return ticks;
}

void TWaveRenderer::DrawCutBarMark(std::int32_t sample)
{
    if (!IsSampleVisible(FView, FDoc, sample))
        return;
    const int x = SampleToX(FView, sample);
    const int mh = FView.MarkHeight;
    VerticalLine(x, mh + 1, Height(), FColors.CutBar);
    for (int half = 3; half >= 1; --half)
        HorizontalRun(x - half, x + half, mh - half, FColors.CutBar);
    FBitmap.Canvas()->SetPixel(x, mh, FColors.CutBar);
}

bool TWaveRenderer::IsCutBarPixel(int x, int y)
{
    return RenderSameColor(BitmapPixel(FBitmap, x, y), FColors.CutBar);
}

int TWaveRenderer::HitCutBarMark(int x, int y)
{
    const int mh = FView.MarkHeight;
    auto marked = [&](int cx, int cy) { return IsCutBarPixel(cx, cy); };
    if (y >= mh)
        return marked(x, mh) ? x : -1;
    for (int row = y + 1; row <= mh; ++row) {
        if (marked(x, row))
            continue;
        if (marked(x - 1, row))
            --x;
        else if (marked(x + 1, row))
            ++x;
        else
            return -1;
    }
    return x;
}

void TWaveRenderer::EraseCutBarMark(int x)
{
    const int mh = FView.MarkHeight;
    for (int half = 3; half >= 1; --half)
        HorizontalRun(x - half, x + half, mh - half, clBtnFace);
    FBitmap.Canvas()->SetPixel(x, mh, kRulerLineColor);
    // The triangle may have covered a ruler tick: the first one found keeps
    // its black above the triangle, and gets its lower part back.
    for (int column = x - 3; column <= x + 4; ++column) {
        if (RenderSameColor(BitmapPixel(FBitmap, column, mh - 4), clBlack)) {
            VerticalLine(column, mh - 3, mh, clBlack);
            break;
        }
    }
    DrawWaveRange(x);
}

void TWaveRenderer::DrawPlayCursor(int x)
{
    VerticalLine(x, FView.MarkHeight + 1, Height(), FColors.PosBar);
}

void TWaveRenderer::ErasePlayCursor()
{
    const int row = FView.MarkHeight + 1;
    if (row >= Height())
        return;
    for (int x = 0; x < Width(); ++x) {
        if (!RenderSameColor(BitmapPixel(FBitmap, x, row), FColors.PosBar))
            continue;
        DrawWaveRange(x);
        // A column past the end of the data is not drawn again: the line
        // there goes under the empty area's colour.
        if (RenderSameColor(BitmapPixel(FBitmap, x, row), FColors.PosBar))
            VerticalLine(x, row, Height(), clBtnFace);
    }
}

bool TWaveRenderer::ClearSelection()
{
    if (!FView.HasSelection)
        return false;
    TWaveViewState old = FView;
    FView.SelStart = FView.SelEnd = -1;
    FView.SelStartX = FView.SelEndX = -1;
    FView.HasSelection = false;
    int x1 = -1;
    int x2 = -1;
    SelectionColumns(old, Width(), x1, x2);
    if (x1 != -1)
        RedrawColumns(x1, x2);
    return true;
}

void TWaveRenderer::RedrawColumns(int x1, int x2)
{
    const int from = std::max(0, std::min(x1, x2));
    const int to = std::min(Width() - 1, std::max(x1, x2));
    for (int x = from; x <= to; ++x)
        DrawWaveRange(x);
}

void TWaveRenderer::FillNoFile()
{
    FillArea(0, 0, Width(), Height(), kNoFileColor);
}

// --- Overview

TOverviewRenderer::TOverviewRenderer(TWaveViewState& view, const TViewDocument& doc,
                                     const TWaveSource& data, const TWaveColors& colors,
                                     TBitmap& overview, TBitmap& clean)
    : FView(view), FDoc(doc), FData(data), FColors(colors), FBitmap(overview), FClean(clean)
{
}

int TOverviewRenderer::Height() const
{
    return FBitmap.Height();
}

void TOverviewRenderer::DrawOverview(int waveWidth)
{
    const std::int32_t count = FData.Count();
    const int width = FBitmap.Width();
    const int h = Height();
    if (!FDoc.Loaded || FDoc.Length < 1 || width < 1 || h < 1)
        return;
    const std::int32_t step = OverviewStep(count, waveWidth);
    TBitmap work;
    work.SetSize(OverviewWorkWidth(count, step), h);
    TCanvas& canvas = *work.Canvas();
    RenderFill(canvas, TRect(0, 0, work.Width(), h), FColors.Back);
    const TWaveRows rows = OverviewRowsFor(h, FDoc.Stereo);
    for (int x = 0; x < work.Width(); ++x) {
        const TColumnPeaks peaks =
            FData.Peaks(EntriesFrom(static_cast<std::int64_t>(x) * step, step, count));
        RenderLine(canvas, x, rows.RowOf(peaks.MaxL, rows.CentreL), x,
                   rows.RowOf(peaks.MinL, rows.CentreL), FColors.Wave);
        if (rows.Stereo)
            RenderLine(canvas, x, rows.RowOf(peaks.MaxR, rows.CentreR), x,
                       rows.RowOf(peaks.MinR, rows.CentreR), FColors.Wave);
    }
    if (rows.Stereo)
        RenderLine(canvas, 0, rows.CentreLine, work.Width(), rows.CentreLine, FColors.Center);
    RenderLine(canvas, 0, rows.ZeroLineL, work.Width(), rows.ZeroLineL, FColors.Zero);
    if (rows.Stereo)
        RenderLine(canvas, 0, rows.ZeroLineR, work.Width(), rows.ZeroLineR, FColors.Zero);

    FBitmap.Canvas()->StretchDraw(TRect(0, 0, width, h), &work);
    FClean.Assign(&FBitmap);
    FView.OverviewSamplesPerPixel = OverviewSamplesPerPixel(FDoc.Length, width);
    FView.OverviewFrame = TRect();
    FView.OverviewMarkX = -1;
    DrawOverviewRange();
    DrawOverviewPosition();
}

void TOverviewRenderer::CopyFromClean(const TRect& area)
{
    if (FClean.Empty() || area.IsEmpty())
        return;
    FBitmap.Canvas()->CopyRect(area, FClean.Canvas(), area);
}

void TOverviewRenderer::DrawOverviewRange()
{
    if (FView.OverviewSamplesPerPixel < 1)
        return;
    const int h = Height();
    const TRect frame = OverviewFrameFor(FView, FBitmap.Width(), h);
    const TRect old = FView.OverviewFrame;
    if (frame.IsEmpty())
        return;
    if (!old.IsEmpty() && frame.left == old.left && frame.right == old.right)
        return;
    auto covers = [&](const TRect& r) {
        return FView.OverviewMarkX >= r.left && FView.OverviewMarkX < r.right;
    };
    if (!old.IsEmpty())
        CopyFromClean(TRect(old.left, 0, old.right, h));
    // A mark the restore or the new frame painted over is drawn again below.
    if ((!old.IsEmpty() && covers(old)) || covers(frame))
        FView.OverviewMarkX = -1;
    TCanvas& canvas = *FBitmap.Canvas();
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(FColors.Range);
    canvas.FrameRect(frame);
    canvas.FrameRect(TRect(frame.left + 1, frame.top, frame.right - 1, frame.bottom));
    FView.OverviewFrame = frame;
    DrawOverviewPosition();
}

void TOverviewRenderer::RestoreColumn(int x)
{
    const int h = Height();
    CopyFromClean(TRect(x, 0, x + 1, h));
    const TRect& frame = FView.OverviewFrame;
    if (frame.IsEmpty() || x < frame.left || x >= frame.right)
        return;
    const std::vector<int> edges = OverviewFrameEdges(frame);
    TCanvas& canvas = *FBitmap.Canvas();
    if (std::find(edges.begin(), edges.end(), x) != edges.end()) {
        RenderLine(canvas, x, frame.top, x, frame.bottom, FColors.Range);
        return;
    }
    canvas.SetPixel(x, frame.top, FColors.Range);
    canvas.SetPixel(x, frame.bottom - 1, FColors.Range);
}

void TOverviewRenderer::DrawOverviewPosition()
{
    const int x = OverviewMarkColumn(FView);
    if (x < 0 || x == FView.OverviewMarkX)
        return;
    if (FView.OverviewMarkX >= 0)
        RestoreColumn(FView.OverviewMarkX);
    RenderLine(*FBitmap.Canvas(), x, 0, x, Height(), FColors.PosBar);
    FView.OverviewMarkX = x;
}

void TOverviewRenderer::RestoreClean()
{
    if (!FClean.Empty())
        FBitmap.Canvas()->Draw(0, 0, &FClean);
    FView.OverviewFrame = TRect();
    FView.OverviewMarkX = -1;
}

void TOverviewRenderer::FillNoFile()
{
    RenderFill(*FBitmap.Canvas(), TRect(0, 0, FBitmap.Width(), Height()), kNoFileColor);
    FView.OverviewFrame = TRect();
    FView.OverviewMarkX = -1;
}
