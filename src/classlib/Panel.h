// Containers that paint themselves, so that controls without a window of
// their own (labels) show on them.
//
//   TPanel     its background, up to two bevels and a caption; alignment of
//              its children fills the area inside the bevels
//   TGroupBox  an etched frame with its caption on the top edge; alignment
//              fills the area inside the frame, below the caption
//   Frame3D    the bevel edges (also for other controls that want them)
#pragma once

#include "WinControl.h"

enum class TBevelCut
{
    bvNone,
    bvLowered,
    bvRaised
};

class TPanel : public TCustomControl
{
public:
    explicit TPanel(TComponent* AOwner);

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    // Pixels of each bevel.
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    // Pixels between the bevels and the children.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) override;

private:
    void BordersChanged();

    TBevelCut FBevelOuter = TBevelCut::bvRaised;
    TBevelCut FBevelInner = TBevelCut::bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = TAlignment::taCenter;
};

class TGroupBox : public TCustomControl
{
public:
    explicit TGroupBox(TComponent* AOwner);
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) override;

private:
    int CaptionHeight();
};

// Draws width rings inside rect, top and left in topColor, bottom and right
// in bottomColor, and shrinks rect past them.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
