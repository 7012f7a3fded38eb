// The extended text controls: a text object with a wide caption that
// glows, painted classic or with visual styles, and the progress bar.
#pragma once

#include "ExtItem.h"
#include "SkinDkPanels.h"

#include "classlib/StandardControls.h"

#include <memory>

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
    // A document opened when the control is clicked (nothing when empty).
    const WideString& LinkText() const { return FLinkText; }
    void SetLinkText(const WideString& value) { FLinkText = value; }
    const WideString& LinkTextParams() const { return FLinkTextParams; }
    void SetLinkTextParams(const WideString& value) { FLinkTextParams = value; }
    // The font of a link under the mouse.
    TFont* LinkFont() const { return FLinkFont.get(); }
    void WndProc(TMessage& message) override;

    TExtDrawEvent OnDraw;
    TExtDrawTextEvent OnDrawCaption;

protected:
    virtual void DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault);
    virtual void OpenLinkTarget();
    void DoDrawText(TCanvas* canvas, TRect& rect, UINT flags) override;
    void DoAdjustFont(TCanvas* canvas) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;
    TRect GetFocusRect() override;
    void Paint() override;
    void Click() override;

private:
    bool ShowsLink() { return MouseInside() && !FLinkText.empty(); }

    WideString FCaption;
    WideString FLinkText;
    WideString FLinkTextParams;
    std::unique_ptr<TFont> FLinkFont;
    TCursor FCursorBeforeLink = crDefault;
    TRect FTextRect;
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

// The group message: a checked button control of a group tells the other
// controls of its parent.
constexpr UINT CM_EXTBUTTONGROUP = 0xB8AE;

// The visual-style state of a check box's (or, checked or not, a radio
// button's) glyph.
int ExtCheckThemeState(TCheckBoxState state, bool enabled, bool pushed, bool hot);
void ExtPaintCheckGlyph(TCanvas* canvas, const TRect& rect, bool enabled, TExtThemeType themeType,
                        bool pushed, bool hot, TCheckBoxState state);
void ExtPaintRadioGlyph(TCanvas* canvas, const TRect& rect, bool enabled, TExtThemeType themeType,
                        bool pushed, bool hot, bool checked);

// A text object with a glyph left of its caption and a check state; a
// control that becomes checked unchecks the others of its class and group
// on its parent (group index -1: never grouped).
class TExtButtonControl : public TExtTextObject
{
public:
    explicit TExtButtonControl(TComponent* AOwner);

    virtual bool Checked() = 0;
    virtual void SetChecked(bool value) = 0;
    int GroupIndex() const { return FGroupIndex; }
    void WndProc(TMessage& message) override;

protected:
    static constexpr int kGlyphSize = 13;
    void SetGroupIndexValue(int value) { FGroupIndex = value; }
    virtual void PaintGlyph(TCanvas* canvas, const TRect& rect) = 0;
    // Hot while pushed with the mouse inside.
    bool IsHot() { return Pushed() && MouseInside(); }
    // After the check state changed: repaint, tell the group, and click.
    void StateChanged(bool click);
    // The click of a state change, which must not change the state again.
    bool InStateClick() const { return FStateClick; }
    TRect CaptionMargins() override;
    void AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight) override;
    void DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault) override;

private:
    int FGroupIndex = -1;
    bool FStateClick = false;
};

class TExtCheckBox : public TExtButtonControl
{
public:
    explicit TExtCheckBox(TComponent* AOwner);

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Checked() override { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool value) override;
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    // Unchecked, grayed (when allowed), checked, unchecked.
    void Toggle();

protected:
    void PaintGlyph(TCanvas* canvas, const TRect& rect) override;
    void Click() override;

private:
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
};

class TExtRadioButton : public TExtButtonControl
{
public:
    explicit TExtRadioButton(TComponent* AOwner);

    bool Checked() override { return FChecked; }
    void SetChecked(bool value) override;
    void SetGroupIndex(int value) { SetGroupIndexValue(value); }
    void WndProc(TMessage& message) override;

protected:
    void PaintGlyph(TCanvas* canvas, const TRect& rect) override;
    void Click() override;

private:
    bool FChecked = false;
};

class TExtLabel : public TExtTextObject
{
public:
    explicit TExtLabel(TComponent* AOwner);

    // Takes the focus when the caption's accelerator is pressed.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    bool Underline() const { return FUnderline; }
    void SetUnderline(bool value);
    TColor UnderlineColor() const { return FUnderlineColor; }
    void SetUnderlineColor(TColor value);
    void WndProc(TMessage& message) override;

protected:
    void AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight) override;
    // Unless the caption wraps or is shortened to fit.
    bool AutoSizesWidth() override;
    void DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TWinControl* FFocusControl = nullptr; // not owned; free-notified
    bool FUnderline = false;
    TColor FUnderlineColor = clBtnShadow;
};

// A frame with a wide caption in its top edge around child controls.
class TExtGroupBox : public TCustomControl
{
public:
    explicit TExtGroupBox(TComponent* AOwner);
    ~TExtGroupBox() override;

    const WideString& WideCaption() const { return FCaption; }
    void SetWideCaption(const WideString& value);
    TExtThemeType ThemeType() const { return FThemeType; }
    void SetThemeType(TExtThemeType value);
    TSkinControlMargins* Margins() const { return FMargins; }
    void WndProc(TMessage& message) override;

protected:
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;

private:
    // The caption's rectangle, 8 pixels from the left edge.
    TRect CaptionRect(TCanvas* canvas);
    int TextHeight();

    WideString FCaption;
    TExtThemeType FThemeType = TExtThemeType::thtSkin;
    TSkinControlMargins* FMargins; // owned
};
