// The waveform, its ruler and the overview, and how the view moves: zoom,
// vertical zoom, the wheel, the scroll bar, overview clicks, chase and
// relayout after a resize. The arithmetic is ViewGeometry's and the drawing
// WaveRender's; this file binds them to the window's controls, settings and
// document.
#include "ostrel.h"

#include "CutBarList.h"
#include "WaveRender.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Application.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"

namespace {

constexpr int kOverviewTop = 0;
constexpr int kOverviewLeft = 2;
constexpr int kWaveTop = 45; // below the overview and a one-row gap

TWaveColors ViewColorsOf(const TOption& option)
{
    TWaveColors colors;
    colors.Wave = option.WaveColor;
    colors.Back = option.BackColor;
    colors.RegWave = option.RegWaveColor;
    colors.RegBack = option.RegBackColor;
    colors.PreBack = option.PreBackColor;
    colors.Center = option.CenterColor;
    colors.Zero = option.ZeroColor;
    colors.PosBar = option.PosBarColor;
    colors.CutBar = option.CutBarColor;
    colors.Range = option.RangeColor;
    return colors;
}

TScrollSettings ViewScrollOf(const TScrollBar* bar)
{
    TScrollSettings settings;
    settings.Enabled = bar->Enabled();
    settings.Max = bar->Max();
    settings.PageSize = bar->PageSize();
    settings.Position = bar->Position();
    settings.SmallStep = bar->SmallChange();
    settings.LargeStep = bar->LargeChange();
    return settings;
}

void ViewApplyScroll(TScrollBar* bar, const TScrollSettings& settings)
{
    if (!settings.Enabled) {
        bar->SetEnabled(false);
        return;
    }
    bar->SetParams(settings.Position, 0, settings.Max, settings.PageSize);
    bar->SetSmallChange(settings.SmallStep);
    bar->SetLargeChange(settings.LargeStep);
    bar->SetEnabled(true);
}

void ViewSizeBitmap(TImage* image, int width, int height)
{
    TBitmap* bitmap = image->Picture();
    width = std::max(1, width);
    height = std::max(1, height);
    if (bitmap->Width() != width || bitmap->Height() != height)
        bitmap->SetSize(width, height);
}

// The document, its draw data and the colours as the renderers see them,
// made for one call; the ruler takes the mark size of the settings.
class TViewScene
{
public:
    explicit TViewScene(TFormVusk& form)
        : FForm(form), FView(form.Document().DrawnView()), FDoc(form.ViewDocument())
    {
        form.Document().SetRuler(form.FOption.MarkSize, form.MarkHeight(), form.MarkHalf());
        FSource = FDoc.Stereo ? TWaveSource{&form.Document().DrawStereo(), nullptr}
                              : TWaveSource{nullptr, &form.Document().DrawMono()};
        FColors = ViewColorsOf(form.FOption);
    }

    const TViewDocument& Doc() const { return FDoc; }

    TWaveRenderer Wave()
    {
        return TWaveRenderer(FView, FDoc, FSource, FColors, *FForm.WaveImage->Picture());
    }

    // Only while the window holds its clean copy (from its creation on).
    bool HasOverview() const { return FForm.Overview() != nullptr; }
    TOverviewRenderer Overview()
    {
        return TOverviewRenderer(FView, FDoc, FSource, FColors, *FForm.OverViewImage->Picture(),
                                 *FForm.Overview());
    }

private:
    TFormVusk& FForm;      // not owned
    TWaveViewState& FView; // not owned: the document's
    TViewDocument FDoc;
    TWaveSource FSource;
    TWaveColors FColors;
};

} // namespace

// --- Drawing -------------------------------------------------------------------------------

void TFormVusk::DrawWave(std::int32_t start)
{
    if (!FileLoaded())
        return;
    ViewSizeBitmap(WaveImage, WaveImage->Width(), WaveImage->Height());
    TViewScene scene(*this);
    const TWaveFrame frame = scene.Wave().DrawWave(start, FDocument.CutBarSamples(), FStopped);
    ViewApplyScroll(ScrollBar1, frame.Scroll);
    if (scene.HasOverview())
        scene.Overview().DrawOverviewRange();
}

void TFormVusk::RedrawWaveFromViewStart()
{
    DrawWave(View().ViewStart);
}

void TFormVusk::DrawWaveRange(int x)
{
    TViewScene scene(*this);
    scene.Wave().DrawWaveRange(x);
}

void TFormVusk::DrawTimeRuler()
{
    TViewScene scene(*this);
    scene.Wave().DrawTimeRuler();
}

void TFormVusk::DrawOverview()
{
    TViewScene scene(*this);
    if (scene.HasOverview())
        scene.Overview().DrawOverview(WaveImage->Width());
}

void TFormVusk::DrawOverviewRange()
{
    TViewScene scene(*this);
    if (scene.HasOverview())
        scene.Overview().DrawOverviewRange();
}

void TFormVusk::DrawOverviewPosition()
{
    TViewScene scene(*this);
    if (scene.HasOverview())
        scene.Overview().DrawOverviewPosition();
}

void TFormVusk::DrawPlayCursor(int x)
{
    TViewScene scene(*this);
    scene.Wave().DrawPlayCursor(x);
}

void TFormVusk::ErasePlayCursor()
{
    TViewScene scene(*this);
    scene.Wave().ErasePlayCursor();
}

void TFormVusk::DrawCutBarMark(std::int32_t sample)
{
    TViewScene scene(*this);
    scene.Wave().DrawCutBarMark(sample);
}

void TFormVusk::EraseCutBarMark(int x, bool remove)
{
    TViewScene scene(*this);
    scene.Wave().EraseCutBarMark(x);
    if (!remove || !FDocument.RemoveCutBarNearest(XToSample(x, false)))
        return;
    // A dragged mark rebuilds the list once it is dropped.
    if (!FWaveDrag.DraggingMarker())
        RefreshCutBarList();
}

int TFormVusk::HitCutBarMark(int x, int y)
{
    TViewScene scene(*this);
    return scene.Wave().HitCutBarMark(x, y);
}

bool TFormVusk::IsCutBarPixel(int x, int y)
{
    TViewScene scene(*this);
    return scene.Wave().IsCutBarPixel(x, y);
}

void TFormVusk::ClearSelection()
{
    TViewScene scene(*this);
    if (scene.Wave().ClearSelection())
        InfoRegionLabel->SetCaption("");
}

void TFormVusk::RedrawSelectionChange(const TWaveViewState& before)
{
    const int width = WaveImage->Width();
    int oldX1 = -1;
    int oldX2 = -1;
    SelectionColumns(before, width, oldX1, oldX2);
    int newX1 = -1;
    int newX2 = -1;
    SelectionColumns(View(), width, newX1, newX2);
    FDocument.SetSelectionColumns(newX1, newX2);
    TViewScene scene(*this);
    if (oldX1 == -1 || View().SelStartX == -1) {
        if (oldX1 != -1)
            scene.Wave().RedrawColumns(oldX1, oldX2);
        if (View().SelStartX != -1)
            scene.Wave().RedrawColumns(View().SelStartX, View().SelEndX);
        return;
    }
    // Columns inside both stay selected: only the edges that moved.
    scene.Wave().RedrawColumns(std::min(oldX1, View().SelStartX),
                               std::max(oldX1, View().SelStartX));
    scene.Wave().RedrawColumns(std::min(oldX2, View().SelEndX), std::max(oldX2, View().SelEndX));
}

// The images grey and sized to the panel while no file is open.
void TFormVusk::ResizeWaveImages()
{
    const TWaveLayout layout = WaveLayoutFor(WavePanel->Width(), WavePanel->Height());
    WaveImage->SetBounds(0, kWaveTop, layout.WaveWidth, layout.WaveHeight);
    ViewSizeBitmap(WaveImage, layout.WaveWidth, layout.WaveHeight);
    OverViewImage->SetBounds(kOverviewLeft, kOverviewTop, layout.OverviewWidth,
                             layout.OverviewHeight);
    ViewSizeBitmap(OverViewImage, layout.OverviewWidth, layout.OverviewBitmapHeight);
    TViewScene scene(*this);
    scene.Wave().FillNoFile();
    if (scene.HasOverview())
        scene.Overview().FillNoFile();
    // Reset in place rather than made anew: the bar may be the window whose
    // message is being handled.
    ScrollBar1->SetBounds(0, layout.ScrollTop, layout.ScrollWidth, layout.ScrollHeight);
    ScrollBar1->SetAnchors(akLeft | akRight | akBottom);
    ScrollBar1->SetPageSize(0);
    ScrollBar1->SetParams(0, 0, 0);
    ScrollBar1->SetEnabled(false);
}

void TFormVusk::RelayoutWaveView()
{
    if (!FileLoaded()) {
        ResizeWaveImages();
        return;
    }
    const TWaveLayout layout = WaveLayoutFor(WavePanel->Width(), WavePanel->Height());
    OverViewImage->SetBounds(kOverviewLeft, kOverviewTop, layout.OverviewWidth,
                             layout.OverviewHeight);
    ViewSizeBitmap(OverViewImage, layout.OverviewWidth, layout.OverviewBitmapHeight);
    WaveImage->SetBounds(0, kWaveTop, layout.WaveWidth, layout.WaveHeight);
    ViewSizeBitmap(WaveImage, layout.WaveWidth, layout.WaveHeight);
    // The whole file was in view: keep it so on a wider image.
    if (!ScrollBar1->Enabled())
        FDocument.ZoomIn();
    DrawOverview();
    DrawWave(View().ViewStart);
    DrawOverviewRange();
    DrawOverviewPosition();
}

// --- Conversions ---------------------------------------------------------------------------

int TFormVusk::SampleToX(std::int32_t sample) const
{
    return ::SampleToX(View(), sample);
}

std::int32_t TFormVusk::XToSample(int x, bool last) const
{
    return ::XToSample(View(), x, last);
}

bool TFormVusk::IsSampleVisible(std::int32_t sample) const
{
    return ::IsSampleVisible(View(), ViewDocument(), sample);
}

std::int32_t TFormVusk::MsecToSample(std::int64_t msec) const
{
    return ::MsecToSample(ViewDocument(), msec);
}

int TFormVusk::MsecToX(std::int64_t msec) const
{
    return ::MsecToX(View(), ViewDocument(), msec);
}

std::int64_t TFormVusk::SampleToMsec(std::int32_t sample) const
{
    return ::SampleToMsec(ViewDocument(), sample);
}

int TFormVusk::ScaleLevel(int level) const
{
    return ::ScaleLevel(View(), level);
}

// --- Zoom ----------------------------------------------------------------------------------

void TFormVusk::actViewZoomInExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || View().Zoom == 1)
        return;
    FDocument.ZoomIn();
    BrinkTimer->SetEnabled(false);
    DrawWave(ZoomInStart(View(), ZoomAnchor(View())));
    BrinkTimer->SetEnabled(FStopped);
}

void TFormVusk::actViewZoomOutExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || !View().ZoomOutAllowed)
        return;
    FDocument.ZoomOut();
    BrinkTimer->SetEnabled(false);
    DrawWave(ZoomOutStart(View(), ZoomAnchor(View())));
    BrinkTimer->SetEnabled(FStopped);
}

void TFormVusk::actViewZoomAllExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    FDocument.ZoomAll(WaveImage->Width());
    DrawWave(0);
}

void TFormVusk::actViewZoomRegionExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || !View().HasSelection)
        return;
    FDocument.ZoomToSelection(WaveImage->Width());
    DrawWave(View().SelStart);
}

void TFormVusk::actViewVZoomInExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || View().VZoom >= kMaxVZoom)
        return;
    FDocument.VZoomIn();
    DrawWave(View().ViewStart);
}

void TFormVusk::actViewVZoomOutExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    FDocument.VZoomOut();
    DrawWave(View().ViewStart);
}

// --- Chase ---------------------------------------------------------------------------------

void TFormVusk::SetChase(bool on)
{
    FChase = on;
    actViewChase->SetImageIndex(on ? kChaseOnImage : kChaseOffImage);
    actViewChase->SetChecked(on);
}

void TFormVusk::actViewChaseExecute(TObject* Sender)
{
    if (FDocument.Busy())
        return;
    if (FChase) {
        SetChase(false);
        return;
    }
    if (FileLoaded() && !IsSampleVisible(View().PlayPos)) {
        TViewScene scene(*this);
        if (scene.HasOverview())
            scene.Overview().RestoreClean();
        DrawWave(CentredStart(View(), View().PlayPos));
    }
    SetChase(true);
}

// --- Wheel, scroll bar and overview --------------------------------------------------------

void TFormVusk::FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                               bool& Handled)
{
    if (!FileLoaded() || !WaveImage->Inside())
        return;
    switch (WheelActionFor(SeamKeyHeld(VK_CONTROL), SeamKeyHeld(VK_SHIFT), WheelDelta)) {
    case TWheelAction::ZoomIn:
        actViewZoomInExecute(this);
        break;
    case TWheelAction::ZoomOut:
        actViewZoomOutExecute(this);
        break;
    case TWheelAction::VZoomIn:
        actViewVZoomInExecute(this);
        Application->ProcessMessages();
        break;
    case TWheelAction::VZoomOut:
        actViewVZoomOutExecute(this);
        Application->ProcessMessages();
        break;
    case TWheelAction::Nothing:
        break;
    case TWheelAction::Scroll: {
        const TWheelScroll scroll = WheelScrollFor(ViewScrollOf(ScrollBar1), WheelDelta);
        if (!scroll.Handled)
            return;
        if (scroll.Start) {
            DrawWave(*scroll.Start);
            SetChase(false);
            Application->ProcessMessages();
        }
        break;
    }
    }
    Handled = true;
}

void TFormVusk::ScrollBar1Scroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)
{
    if (!FileLoaded() || FDocument.Busy()) {
        ScrollPos = ScrollBar1->Position();
        return;
    }
    const TScrollReply reply = ScrollBarReply(ScrollCode, ScrollPos, ViewScrollOf(ScrollBar1));
    ScrollPos = reply.Position;
    if (!reply.Accepted)
        return;
    SetChase(false);
    if (reply.RedrawStart) {
        DrawWave(*reply.RedrawStart);
        // The bar keeps where the redraw put it (the view is clamped to the file).
        ScrollPos = ScrollBar1->Position();
    }
}

void TFormVusk::OverViewImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                       int X, int Y)
{
    if (FileLoaded() && Button == TMouseButton::mbLeft) {
        if (const auto start = OverviewClickStart(View(), X)) {
            SetChase(false);
            DrawWave(*start);
        }
    }
    if (FocusBtn->CanFocus())
        FocusBtn->SetFocus();
}

// --- Relayout ------------------------------------------------------------------------------

void TFormVusk::WavePanelResize(TObject* Sender)
{
    RelayoutWaveView();
}

void TFormVusk::FlatSplitter1Moved(TObject* Sender)
{
    RelayoutWaveView();
}

void TFormVusk::FormResize(TObject* Sender)
{
    // An aligned edit panel follows the form by itself.
    if (EditPanel->Align() == TAlign::alNone)
        EditPanel->SetWidth(Width() - 8);
}

void TFormVusk::InfoRowResize(TObject* Sender)
{
    PlaceInfoLabels();
}

void TFormVusk::RenamePageActiveTabChange(TObject* Sender, int TabIndex)
{
    EditList->Invalidate();
    UpdateRenamePreview();
}

// --- Wiring --------------------------------------------------------------------------------

void TFormVusk::WireViewEvents()
{
    Wire(OnMouseWheel, &TFormVusk::FormMouseWheel);
    Wire(OnResize, &TFormVusk::FormResize);
    Wire(WavePanel->OnResize, &TFormVusk::WavePanelResize);
    for (TControl* row : std::initializer_list<TControl*>{InfoPanel, InfoTimeLabel, InfoRegionLabel,
                                                          InfoSampleLabel})
        Wire(row->OnResize, &TFormVusk::InfoRowResize);
    Wire(FlatSplitter1->OnMoved, &TFormVusk::FlatSplitter1Moved);
    Wire(RenamePage->OnActiveTabChange, &TFormVusk::RenamePageActiveTabChange);
    Wire(ScrollBar1->OnScroll, &TFormVusk::ScrollBar1Scroll);
    Wire(OverViewImage->OnMouseDown, &TFormVusk::OverViewImageMouseDown);
    Wire(actViewZoomIn->OnExecute, &TFormVusk::actViewZoomInExecute);
    Wire(actViewZoomOut->OnExecute, &TFormVusk::actViewZoomOutExecute);
    Wire(actViewZoomAll->OnExecute, &TFormVusk::actViewZoomAllExecute);
    Wire(actViewZoomRegion->OnExecute, &TFormVusk::actViewZoomRegionExecute);
    Wire(actViewVZoomIn->OnExecute, &TFormVusk::actViewVZoomInExecute);
    Wire(actViewVZoomOut->OnExecute, &TFormVusk::actViewVZoomOutExecute);
    Wire(actViewChase->OnExecute, &TFormVusk::actViewChaseExecute);
}
