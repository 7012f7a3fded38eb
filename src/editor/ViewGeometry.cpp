#include "ViewGeometry.h"

#include "TimeText.h"

#include <cmath>
#include <limits>
#include <windows.h>

namespace {

constexpr std::int64_t kMinSample = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMaxSample = std::numeric_limits<std::int32_t>::max();
// Zooming out stops doubling here, long before a view's width overflows.
constexpr std::int32_t kMaxZoom = 1 << 30;

std::int32_t GeomClamp32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp(value, kMinSample, kMaxSample));
}

std::int64_t GeomRound(double value)
{
    const double limited = std::clamp(value, -9e18, 9e18);
    return static_cast<std::int64_t>(std::nearbyint(limited));
}

std::int32_t GeomViewWidth(const TWaveViewState& view)
{
    return GeomClamp32(static_cast<std::int64_t>(view.ViewEnd) - view.ViewStart);
}

} // namespace

void TWaveViewState::Reset()
{
    PlayPos = 0;
    ViewStart = ViewEnd = -1;
    SelStart = SelEnd = -1;
    HasSelection = false;
    RegionSelection = false;
    SelStartX = SelEndX = -1;
    SamplesPerPixel = -1;
    CursorX = 0;
    CursorDrawn = false;
    BlinkPhase = TBlinkPhase::Erased;
    VZoom = 1;
    Drawing = false;
    OverviewSamplesPerPixel = -1;
    OverviewFrame = TRect();
    OverviewMarkX = -1;
}

// --- Conversions

int SampleToX(const TWaveViewState& view, std::int32_t sample)
{
    if (view.SamplesPerPixel < 1)
        return -1;
    const std::int64_t offset = static_cast<std::int64_t>(sample) - view.ViewStart;
    return GeomClamp32(offset / view.SamplesPerPixel);
}

std::int32_t XToSample(const TWaveViewState& view, int x, bool last)
{
    if (view.SamplesPerPixel < 1)
        return -1;
    std::int64_t sample = static_cast<std::int64_t>(x) * view.SamplesPerPixel + view.ViewStart;
    if (last)
        sample += view.SamplesPerPixel - 1;
    return GeomClamp32(sample);
}

bool IsSampleVisible(const TWaveViewState& view, const TViewDocument& doc, std::int32_t sample)
{
    return doc.Loaded && view.ViewStart <= sample && sample <= view.ViewEnd && sample <= doc.Length;
}

std::int32_t MsecToSample(const TViewDocument& doc, std::int64_t msec)
{
    const std::int64_t sample = GeomRound(static_cast<double>(msec) / 1000.0 * doc.Rate);
    return GeomClamp32(std::min<std::int64_t>(sample, doc.Length));
}

int MsecToX(const TWaveViewState& view, const TViewDocument& doc, std::int64_t msec)
{
    const std::int32_t sample = MsecToSample(doc, msec);
    return IsSampleVisible(view, doc, sample) ? SampleToX(view, sample) : -1;
}

std::int64_t SampleToMsec(const TViewDocument& doc, std::int32_t sample)
{
    if (doc.Rate == 0)
        return 0;
    return GeomRound(static_cast<double>(sample) / doc.Rate * 1000.0);
}

int ScaleLevel(const TWaveViewState& view, int level)
{
    return std::clamp(level * view.VZoom, -128, 127);
}

// --- Full redraw

TViewSpan ComputeViewSpan(std::int32_t start, std::int32_t zoom, const TViewDocument& doc,
                          int width)
{
    const std::int64_t half = doc.HalfBlock();
    const std::int64_t perPixel = static_cast<std::int64_t>(std::max(1, zoom)) * half;
    const std::int64_t viewWidth = std::max(1, width) * perPixel;
    std::int64_t firstEntry = std::max<std::int64_t>(0, start / half);
    std::int64_t viewStart = firstEntry * half;
    std::int64_t viewEnd = viewWidth + viewStart;
    if (viewEnd > doc.Length) {
        if (viewStart - (viewEnd - doc.Length) < 0) {
            viewStart = 0;
            viewEnd = viewWidth;
            firstEntry = 0;
        } else {
            viewStart = std::max<std::int64_t>(0, doc.Length - viewWidth);
            viewEnd = doc.Length;
            firstEntry = viewStart / half;
        }
    }
    TViewSpan span;
    span.ViewStart = GeomClamp32(viewStart);
    span.ViewEnd = GeomClamp32(viewEnd);
    span.FirstEntry = GeomClamp32(firstEntry);
    span.SamplesPerPixel = GeomClamp32(perPixel);
    return span;
}

TScrollSettings ScrollSettingsFor(std::int32_t viewStart, std::int32_t viewEnd, std::int32_t length)
{
    TScrollSettings bar;
    if (length < viewEnd)
        return bar;
    bar.Enabled = true;
    bar.Max = length / 100;
    bar.PageSize = GeomClamp32((static_cast<std::int64_t>(viewEnd) - viewStart) / 100);
    bar.Position = viewStart / 100;
    bar.SmallStep = std::max(1, bar.PageSize / 40);
    bar.LargeStep = std::max(1, bar.PageSize);
    return bar;
}

void SelectionColumns(const TWaveViewState& view, int width, int& x1, int& x2)
{
    x1 = x2 = -1;
    if (!view.HasSelection || view.SamplesPerPixel < 1 || width < 1)
        return;
    // Compared as samples: the column of a sample just left of the view
    // rounds toward zero to column 0.
    const std::int64_t shownEnd =
        view.ViewStart + static_cast<std::int64_t>(width) * view.SamplesPerPixel;
    if (view.SelEnd < view.ViewStart || view.SelStart >= shownEnd || view.SelEnd < view.SelStart)
        return;
    x1 = std::clamp(SampleToX(view, view.SelStart), 0, width - 1);
    x2 = std::clamp(SampleToX(view, view.SelEnd), 0, width - 1);
}

TWaveFrame PlanWaveFrame(const TWaveViewState& view, const TViewDocument& doc, int width,
                         std::int32_t start)
{
    width = std::max(1, width);
    TWaveFrame frame;
    frame.Span = ComputeViewSpan(start, view.Zoom, doc, width);
    const std::int64_t zoom = std::max(1, view.Zoom);
    const std::int64_t entriesLeft =
        static_cast<std::int64_t>(doc.EntryCount) - frame.Span.FirstEntry;
    const std::int64_t fullColumns = entriesLeft > 0 ? entriesLeft / zoom : 0;
    frame.GreyFrom = static_cast<int>(std::min<std::int64_t>(width, fullColumns));
    frame.ZoomOutAllowed = frame.GreyFrom >= width;

    TWaveViewState shown = view;
    shown.ViewStart = frame.Span.ViewStart;
    shown.ViewEnd = frame.Span.ViewEnd;
    shown.SamplesPerPixel = frame.Span.SamplesPerPixel;
    SelectionColumns(shown, width, frame.SelStartX, frame.SelEndX);
    frame.Scroll = ScrollSettingsFor(frame.Span.ViewStart, frame.Span.ViewEnd, doc.Length);
    return frame;
}

TEntryRun EntriesFrom(std::int64_t first, std::int32_t count, std::int32_t entryCount)
{
    TEntryRun run;
    if (first < 0 || first >= entryCount || count < 1)
        return run;
    run.First = static_cast<std::int32_t>(first);
    run.Count = static_cast<std::int32_t>(std::min<std::int64_t>(count, entryCount - first));
    return run;
}

// --- Rows

int TWaveRows::RowOf(int level, int centre) const
{
    return static_cast<int>(std::nearbyint(-level * Scale)) + centre;
}

TWaveRows WaveRowsFor(int height, int markHeight, bool stereo)
{
    const int area = std::max(0, height - 1 - markHeight);
    TWaveRows rows;
    rows.Stereo = stereo;
    const int c = area / 2 + markHeight;
    if (!stereo) {
        rows.CentreL = rows.CentreR = c;
        rows.Scale = (c - markHeight) / 128.0;
        rows.ZeroLineL = c;
        return rows;
    }
    const int q = area / 4 + markHeight;
    const int r = q - markHeight + c;
    rows.CentreL = q;
    rows.CentreR = r;
    rows.Scale = (r - c) / 128.0;
    rows.CentreLine = c;
    rows.ZeroLineL = q;
    rows.ZeroLineR = r;
    return rows;
}

TWaveRows OverviewRowsFor(int height, bool stereo)
{
    const int c = std::max(0, height - 1) / 2;
    TWaveRows rows;
    rows.Stereo = stereo;
    if (!stereo) {
        rows.CentreL = rows.CentreR = c;
        rows.Scale = c / 128.0;
        rows.ZeroLineL = c - 1;
        return rows;
    }
    const int q = std::max(0, height - 1) / 4;
    rows.CentreL = q;
    rows.CentreR = c + q;
    rows.Scale = (c - q) / 128.0;
    rows.CentreLine = c - 1;
    rows.ZeroLineL = q - 1;
    rows.ZeroLineR = c + q - 1;
    return rows;
}

// --- Ruler

int EffectiveMarkSize(int markSize)
{
    return markSize >= 1 && markSize <= 5 ? markSize : 1;
}

int MarkHeightFor(int markSize)
{
    static const int kHeights[] = {14, 16, 18, 20, 24};
    return kHeights[EffectiveMarkSize(markSize) - 1];
}

TTickSpacing TickSpacingFor(std::int64_t m, int markSize)
{
    const bool large = EffectiveMarkSize(markSize) > 3;
    if (m == 1)
        return {100, 500};
    if (m <= 2)
        return {100, 1000};
    if (m <= 8)
        return {500, 1000};
    if (m <= 24)
        return {1000, 1000};
    if (m <= 96)
        return {1000, 5000};
    if (m <= 192)
        return large ? TTickSpacing{5000, 10000} : TTickSpacing{5000, 5000};
    if (m <= 384)
        return large ? TTickSpacing{10000, 30000} : TTickSpacing{5000, 10000};
    if (m <= 768)
        return {10000, 30000};
    if (m <= 1536)
        return {30000, 60000};
    if (m <= 3072)
        return {60000, 120000};
    return {60000, 180000};
}

std::vector<TRulerTick> RulerTicks(const TWaveViewState& view, const TViewDocument& doc,
                                   int majorFactor)
{
    std::vector<TRulerTick> ticks;
    if (!doc.Loaded || view.SamplesPerPixel < 1 || view.ViewStart < 0)
        return ticks;
    const int markSize = EffectiveMarkSize(view.MarkSize);
    const TTickSpacing spacing = TickSpacingFor(SampleToMsec(doc, view.SamplesPerPixel), markSize);
    const std::int64_t from = SampleToMsec(doc, view.ViewStart);
    const std::int64_t to = SampleToMsec(doc, std::min(doc.Length, view.ViewEnd));
    const int mh = view.MarkHeight;
    for (TTickKind kind : {TTickKind::Minor, TTickKind::Major}) {
        const std::int64_t step = kind == TTickKind::Minor
                                      ? spacing.MinorMsec
                                      : std::int64_t(spacing.MajorMsec) * std::max(1, majorFactor);
        for (std::int64_t t = from / step * step; t <= to; t += step) {
            const int x = MsecToX(view, doc, t);
            if (x == -1)
                continue;
            TRulerTick tick;
            tick.Kind = kind;
            tick.X = x;
            tick.Msec = t;
            if (kind == TTickKind::Minor) {
                tick.Top = mh - mh / 4 - 1;
            } else {
                tick.Top = mh / 2;
                tick.Label = FormatTimeShort(static_cast<double>(t) / 1000.0);
                tick.LabelX = x + (markSize >= 4 ? 4 : 3);
            }
            ticks.push_back(tick);
        }
    }
    return ticks;
}

void DropCrowdedRulerLabels(std::vector<TRulerTick>& ticks,
                            const std::function<int(const AnsiString&)>& widthOf)
{
    std::optional<int> labelEnd; // right edge of the last label kept
    for (TRulerTick& tick : ticks) {
        if (tick.Label.empty())
            continue;
        if (labelEnd && tick.LabelX < *labelEnd) {
            tick.Label.clear();
            continue;
        }
        labelEnd = tick.LabelX + widthOf(tick.Label);
    }
}

namespace {

// Pixels between a label's end and the next major tick's line.
constexpr int kRulerLabelGap = 4;

bool RulerLabelsHaveRoom(const std::vector<TRulerTick>& ticks,
                         const std::function<int(const AnsiString&)>& widthOf)
{
    const TRulerTick* previous = nullptr;
    for (const TRulerTick& tick : ticks) {
        if (tick.Kind != TTickKind::Major)
            continue;
        if (previous &&
            tick.X - (previous->LabelX + widthOf(previous->Label)) < kRulerLabelGap)
            return false;
        previous = &tick;
    }
    return true;
}

} // namespace

std::vector<TRulerTick> RulerLayout(const TWaveViewState& view, const TViewDocument& doc,
                                    const std::function<int(const AnsiString&)>& widthOf)
{
    std::vector<TRulerTick> ticks;
    // A factor that leaves at most one major tick in sight always has room.
    for (int factor = 1;; ++factor) {
        ticks = RulerTicks(view, doc, factor);
        if (RulerLabelsHaveRoom(ticks, widthOf))
            break;
    }
    DropCrowdedRulerLabels(ticks, widthOf);
    return ticks;
}

// --- Cut bars

int NearestCutBarIndex(const std::vector<std::int32_t>& sorted, std::int32_t sample)
{
    if (sorted.empty())
        return -1;
    int best = 0;
    std::int64_t bestDistance = std::llabs(static_cast<std::int64_t>(sorted[0]) - sample);
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const std::int64_t distance = std::llabs(static_cast<std::int64_t>(sorted[i]) - sample);
        if (distance > bestDistance)
            break;
        if (distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

// --- Overview

std::int32_t OverviewStep(std::int32_t entryCount, int waveWidth)
{
    return std::max(1, entryCount / std::max(1, waveWidth));
}

int OverviewWorkWidth(std::int32_t entryCount, std::int32_t step)
{
    return std::max(1, entryCount / std::max(1, step));
}

std::int32_t OverviewSamplesPerPixel(std::int32_t length, int overviewWidth)
{
    return std::max(1, length / std::max(1, overviewWidth - 1));
}

TRect OverviewFrameFor(const TWaveViewState& view, int overviewWidth, int height)
{
    const std::int32_t scale = view.OverviewSamplesPerPixel;
    if (scale < 1 || view.ViewStart < 0 || overviewWidth < 1)
        return TRect();
    const int left = std::min(view.ViewStart / scale, overviewWidth - 1);
    // A view narrower than one overview column still gets a visible frame.
    const int right = std::max(left + 1, std::min(view.ViewEnd / scale, overviewWidth));
    return TRect(left, 0, right, std::max(1, height - 1));
}

int OverviewMarkColumn(const TWaveViewState& view)
{
    if (view.OverviewSamplesPerPixel < 1)
        return -1;
    return view.PlayPos / view.OverviewSamplesPerPixel;
}

std::vector<int> OverviewFrameEdges(const TRect& frame)
{
    std::vector<int> edges;
    if (frame.IsEmpty())
        return edges;
    for (int x : {frame.left, frame.left + 1, frame.right - 2, frame.right - 1}) {
        if (x >= frame.left && x < frame.right &&
            std::find(edges.begin(), edges.end(), x) == edges.end())
            edges.push_back(x);
    }
    std::sort(edges.begin(), edges.end());
    return edges;
}

std::optional<std::int32_t> OverviewClickStart(const TWaveViewState& view, int x)
{
    if (view.OverviewSamplesPerPixel < 1)
        return std::nullopt;
    return GeomClamp32(static_cast<std::int64_t>(view.OverviewSamplesPerPixel) * x);
}

// --- Navigation

std::int32_t ZoomAnchor(const TWaveViewState& view)
{
    return view.HasSelection ? view.SelStart : view.PlayPos;
}

std::int32_t ZoomedIn(std::int32_t zoom)
{
    return std::max(1, zoom / 2);
}

std::int32_t ZoomedOut(std::int32_t zoom)
{
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(kMaxZoom, static_cast<std::int64_t>(std::max(1, zoom)) * 2));
}

std::int32_t ZoomInStart(const TWaveViewState& view, std::int32_t anchor)
{
    return GeomClamp32(static_cast<std::int64_t>(anchor) - GeomViewWidth(view) / 4);
}

std::int32_t ZoomOutStart(const TWaveViewState& view, std::int32_t anchor)
{
    return GeomClamp32(static_cast<std::int64_t>(anchor) - GeomViewWidth(view));
}

std::int32_t CentredStart(const TWaveViewState& view, std::int32_t sample)
{
    return GeomClamp32(static_cast<std::int64_t>(sample) - GeomViewWidth(view) / 2);
}

std::int32_t ZoomAllFactor(std::int32_t entryCount, int width)
{
    return std::max(1, entryCount / std::max(1, width));
}

std::int32_t ZoomToSelectionFactor(std::int32_t selStart, std::int32_t selEnd, int width,
                                   std::int32_t halfBlock)
{
    const std::int64_t span =
        std::max<std::int64_t>(0, static_cast<std::int64_t>(selEnd) - selStart);
    const std::int64_t perFactor =
        static_cast<std::int64_t>(std::max(1, width)) * std::max(1, halfBlock);
    const std::int64_t factor = (span + perFactor - 1) / perFactor;
    return GeomClamp32(std::clamp<std::int64_t>(factor, 1, kMaxZoom));
}

TWheelAction WheelActionFor(bool ctrl, bool shift, int delta)
{
    if (ctrl && shift)
        return TWheelAction::Nothing;
    if (ctrl || shift) {
        if (delta == 0)
            return TWheelAction::Nothing;
        if (ctrl)
            return delta > 0 ? TWheelAction::ZoomIn : TWheelAction::ZoomOut;
        return delta > 0 ? TWheelAction::VZoomIn : TWheelAction::VZoomOut;
    }
    return TWheelAction::Scroll;
}

TWheelScroll WheelScrollFor(const TScrollSettings& bar, int delta)
{
    TWheelScroll scroll;
    scroll.Handled = true;
    if (!bar.Enabled)
        return scroll;
    const bool atStart = bar.Position == 0 && delta > 0;
    const bool pastEnd =
        static_cast<std::int64_t>(bar.PageSize) + bar.Position > bar.Max && delta < 0;
    if (atStart || pastEnd) {
        scroll.Handled = false;
        return scroll;
    }
    double p = bar.Position - delta / 60.0 * bar.SmallStep / 2.0;
    if (bar.PageSize + p > bar.Max)
        p = static_cast<double>(bar.Max) - bar.PageSize;
    scroll.Start = GeomClamp32(GeomRound(p * 100.0));
    return scroll;
}

TScrollReply ScrollBarReply(TScrollCode code, std::int32_t requested, const TScrollSettings& bar)
{
    TScrollReply reply;
    reply.Position = bar.Position;
    const bool pastEnd = static_cast<std::int64_t>(bar.PageSize) + bar.Position > bar.Max;
    if ((code == TScrollCode::scLineDown && pastEnd) ||
        (code == TScrollCode::scLineUp && bar.Position == 0))
        return reply;
    reply.Accepted = true;
    reply.Position = requested;
    if (code == TScrollCode::scEndScroll) {
        if (static_cast<std::int64_t>(bar.PageSize) + requested > bar.Max)
            reply.Position = bar.Max;
        reply.RedrawStart = GeomClamp32(static_cast<std::int64_t>(reply.Position) * 100);
    }
    return reply;
}

TWaveLayout WaveLayoutFor(int panelWidth, int panelHeight)
{
    TWaveLayout layout;
    layout.WaveWidth = std::max(1, panelWidth - 3);
    layout.WaveHeight = std::max(1, panelHeight - 45 - 17);
    layout.OverviewWidth = std::max(1, panelWidth - 4);
    layout.OverviewHeight = 44;
    layout.OverviewBitmapHeight = 43;
    layout.ScrollTop = panelHeight - 21;
    layout.ScrollWidth = std::max(1, panelWidth - 3);
    layout.ScrollHeight = 17;
    return layout;
}
