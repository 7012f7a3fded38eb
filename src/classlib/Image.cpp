#include "Image.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FBitmap = new TBitmap;
    FBitmap->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
    SetControlStyle(ControlStyle() | csReflector);
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage()
{
    delete FBitmap;
}

void TImage::SetStretch(bool value)
{
    FStretch = value;
    Invalidate();
}

void TImage::SetCenter(bool value)
{
    FCenter = value;
    Invalidate();
}

void TImage::SetTransparent(bool value)
{
    FBitmap->SetTransparent(value);
}

void TImage::PictureChanged(TObject*)
{
    if (AutoSize() && !FBitmap->Empty())
        AdjustSize();
    bool opaque = !FBitmap->Transparent() && !FBitmap->Empty() &&
                  (FStretch || (FBitmap->Width() >= Width() && FBitmap->Height() >= Height()));
    const auto style = opaque ? ControlStyle() | csOpaque : ControlStyle() & ~csOpaque;
    // One repaint covers every change until it comes: drawing a waveform
    // changes the bitmap once per line, and each invalidation is a call to
    // the system.
    if (!FRepaintPending || style != ControlStyle()) {
        SetControlStyle(style);
        Invalidate();
        FRepaintPending = true;
    }
    if (OnChange)
        OnChange(this);
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (FBitmap->Empty())
        return false;
    NewWidth = FBitmap->Width();
    NewHeight = FBitmap->Height();
    return true;
}

TRect TImage::DestRect() const
{
    if (FStretch)
        return TRect(0, 0, Width(), Height());
    int w = FBitmap->Width(), h = FBitmap->Height();
    if (FCenter)
        return Bounds((Width() - w) / 2, (Height() - h) / 2, w, h);
    return Bounds(0, 0, w, h);
}

void TImage::Paint()
{
    FRepaintPending = false;
    if (FBitmap->Empty())
        return;
    TCanvas* canvas = TGraphicControl::Canvas();
    TRect dest = DestRect();
    if (FStretch)
        canvas->StretchDraw(dest, FBitmap);
    else
        canvas->Draw(dest.left, dest.top, FBitmap);
}
