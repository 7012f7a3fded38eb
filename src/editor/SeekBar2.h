// TSeekBar2: a horizontal value bar drawn into an image. A grey framed track
// holds a white strip that fills from the left in the bar colour up to the
// value. Clicks and drags offer a new value to the owner, who may refuse it:
// without an OnValueChange handler that accepts, the mouse changes nothing.
#pragma once

#include "classlib/Image.h"

// Sender, NewValue (not limited), EnableChange (false unless the handler
// accepts).
using TValueChangeEvent = TEvent<TObject*, int, bool&>;

class TSeekBar2 : public TImage
{
public:
    explicit TSeekBar2(TComponent* AOwner);

    // The value at the right end; a negative maximum becomes 1. 0 is kept:
    // the fill is then empty and the mouse offers 0.
    int Maxvalue() const { return FMaxvalue; }
    void SetMaxvalue(int value);
    // 0 .. Maxvalue.
    int Value() const { return FValue; }
    void SetValue(int value);
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor value);
    // The fill's right end in pixels (0 .. width - 2); setting it sets the
    // value that belongs to it.
    int Position() const { return FDrawnPosition < 0 ? 0 : FDrawnPosition; }
    void SetPosition(int value);
    // A mouse button went down on the bar and has not come up.
    bool IsDragging() const { return FIsDragging; }
    // The value a click at column x offers (not limited to Maxvalue).
    int ValueAtX(int x) const;

    TValueChangeEvent OnValueChange;

protected:
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void SizeBitmap();
    void DrawTrack();
    void DrawStrip();
    void DrawFill();
    void FillTo(int p);
    void OfferValueAt(int x);
    // Columns the fill can cover (bitmap width - 2); below 1 nothing is drawn.
    int FillRange() const;
    int StripTop() const;

    int FMaxvalue = 100;
    int FValue = 0;
    TColor FBarColor = 0x91AF91;
    bool FIsDragging = false;
    int FDrawnPosition = -1; // the drawn fill's right end in pixels; -1 redraws it whole
};
