// The extended text controls: a text object with a wide caption that
// glows, painted classic or with visual styles, and the progress bar.
#pragma once

#include "ExtItem.h"
#include "SkinDkPanels.h"

// Sender, canvas, rectangle, stage (0 before, 1 after), paint default.
using TExtDrawEvent = TEvent<TObject*, TCanvas*, const TRect&, int, bool&>;
// Sender, canvas, client rectangle, caption, caption rectangle, format,
// rotated, stage, paint default.
using TExtDrawTextEvent =
    TEvent<TObject*, TCanvas*, const TRect&, WideString&, TRect&, UINT&, bool, int, bool&>;
using TExtProgressBarChangeEvent = TEvent<TObject*, int>;

class TExtTextObject : public TSkinTextObject
{
public:
    explicit TExtTextObject(TComponent* AOwner);

    const WideString& WideCaption() const { return FCaption; }
    // Stores the wide caption and gives the control its ANSI form.
    void SetWideCaption(const WideString& value);
    TSpGlowDirection CaptionGlow() const { return FCaptionGlow; }
    void SetCaptionGlow(TSpGlowDirection value);
    TColor CaptionGlowColor() const { return FCaptionGlowColor; }
    void SetCaptionGlowColor(TColor value);
    TExtThemeType ThemeType() const { return FThemeType; }
    void SetThemeType(TExtThemeType value);

    TExtDrawEvent OnDraw;
    TExtDrawTextEvent OnDrawCaption;

protected:
    virtual void DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault);
    void DoDrawText(TCanvas* canvas, TRect& rect, UINT flags) override;
    void Paint() override;

private:
    WideString FCaption;
    TSpGlowDirection FCaptionGlow = TSpGlowDirection::gldNone;
    TColor FCaptionGlowColor = 65535;
    TExtThemeType FThemeType = TExtThemeType::thtSkin;
};

enum class TExtProgressCaption
{
    pctNone,
    pctDefault,
    pctPercentage,
    pctProgress
};

// The share of min .. max that position (clamped into them) has reached,
// in whole percent; 0 unless min < max and min < position.
int ExtProgressPercentage(int position, int max, int min);
// Paints the bar (frame and filled part) and answers its percentage.
int ExtPaintProgress(TCanvas* canvas, const TRect& rect, bool vertical, TExtThemeType themeType,
                     int position, int max, int min, bool smooth);

class TExtProgressBar : public TExtTextObject
{
public:
    explicit TExtProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    // Clamped to Max, then to Min.
    void SetPosition(int value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool value);
    TExtProgressCaption CaptionType() const { return FCaptionType; }
    void SetCaptionType(TExtProgressCaption value);

    TExtProgressBarChangeEvent OnProgressChange;

protected:
    void DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault) override;
    virtual void FireProgressChange();

private:
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    bool FSmooth = false;
    bool FVertical = false;
    TExtProgressCaption FCaptionType = TExtProgressCaption::pctPercentage;
};
