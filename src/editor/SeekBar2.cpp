#include "SeekBar2.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TColor kSeekTrackColor = 0xA4A0A0;
constexpr TColor kSeekStripColor = clWhite;
// The cleared bitmap's colour, left out when the bar is drawn.
constexpr TColor kSeekClearColor = 0xFF00FF;

int SeekRound(double value)
{
    return static_cast<int>(std::nearbyint(std::clamp(value, -2e9, 2e9)));
}

void SeekFill(TCanvas& canvas, const TRect& r, TColor color)
{
    if (r.IsEmpty())
        return;
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect(r);
}

} // namespace

TSeekBar2::TSeekBar2(TComponent* AOwner) : TImage(AOwner)
{
    Picture()->SetTransparentColor(kSeekClearColor);
    SetTransparent(true);
    SizeBitmap();
}

int TSeekBar2::FillRange() const
{
    return Picture()->Width() - 2;
}

int TSeekBar2::StripTop() const
{
    return Height() / 2 - 2;
}

void TSeekBar2::SizeBitmap()
{
    TBitmap* bitmap = Picture();
    bitmap->SetSize(std::max(1, Width()), std::max(1, Height()));
    SeekFill(*bitmap->Canvas(), TRect(0, 0, bitmap->Width(), bitmap->Height()), kSeekClearColor);
    FDrawnPosition = -1;
    DrawTrack();
    DrawFill();
}

void TSeekBar2::Resize()
{
    SizeBitmap();
    TImage::Resize();
}

void TSeekBar2::DrawTrack()
{
    if (FillRange() < 1)
        return;
    TCanvas& canvas = *Picture()->Canvas();
    const int middle = Height() / 2;
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(kSeekTrackColor);
    canvas.FrameRect(TRect(0, middle - 3, Width(), middle + 2));
    DrawStrip();
}

void TSeekBar2::DrawStrip()
{
    SeekFill(*Picture()->Canvas(), TRect(1, StripTop(), Width() - 1, StripTop() + 3),
             kSeekStripColor);
}

void TSeekBar2::DrawFill()
{
    if (FillRange() < 1 || FMaxvalue == 0) {
        FillTo(0);
        return;
    }
    FillTo(SeekRound(static_cast<double>(FValue) / FMaxvalue * FillRange()));
}

void TSeekBar2::FillTo(int p)
{
    if (FillRange() < 1 || p == FDrawnPosition)
        return;
    if (p < FDrawnPosition)
        DrawStrip();
    SeekFill(*Picture()->Canvas(), TRect(1, StripTop(), p + 1, StripTop() + 3), FBarColor);
    FDrawnPosition = p;
}

void TSeekBar2::SetMaxvalue(int value)
{
    if (value < 0)
        value = 1;
    if (FValue > value)
        FValue = value;
    if (value == FMaxvalue)
        return;
    FMaxvalue = value;
    DrawFill();
}

void TSeekBar2::SetValue(int value)
{
    value = std::clamp(value, 0, std::max(0, FMaxvalue));
    if (value == FValue)
        return;
    FValue = value;
    DrawFill();
}

void TSeekBar2::SetBarColor(TColor value)
{
    FBarColor = value;
    FDrawnPosition = -1;
    DrawFill();
}

void TSeekBar2::SetPosition(int value)
{
    if (FillRange() < 1) {
        SetValue(0);
        return;
    }
    value = std::clamp(value, 0, FillRange());
    if (value == FDrawnPosition)
        return;
    FillTo(value);
    SetValue(SeekRound(static_cast<double>(value) / FillRange() * FMaxvalue));
}

int TSeekBar2::ValueAtX(int x) const
{
    if (FillRange() < 1)
        return 0;
    return SeekRound(static_cast<double>(x) / FillRange() * FMaxvalue);
}

void TSeekBar2::OfferValueAt(int x)
{
    const int offered = ValueAtX(x);
    bool enableChange = false;
    if (OnValueChange)
        OnValueChange(this, offered, enableChange);
    if (enableChange)
        SetValue(offered);
}

void TSeekBar2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FIsDragging = true;
    OfferValueAt(X);
    TImage::MouseDown(Button, Shift, X, Y);
}

void TSeekBar2::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FIsDragging)
        OfferValueAt(X);
    TImage::MouseMove(Shift, X, Y);
}

void TSeekBar2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FIsDragging = false;
    TImage::MouseUp(Button, Shift, X, Y);
}
