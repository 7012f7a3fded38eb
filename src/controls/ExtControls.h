// The extended text controls: a text object with a wide caption that
// glows, painted classic or with visual styles, and the progress bar.
#pragma once

#include "ExtItem.h"
#include "SkinDkPanels.h"

#include "classlib/ControlMessages.h"
#include "classlib/Filer.h"
#include "classlib/StandardControls.h"

#include <memory>

// The published wide Caption and Hint of a control class T (descriptions
// carry them as wide strings, and as the wide-text layer's extra
// properties).
template <class T> std::span<const TPropInfo> ExtWideTextProps()
{
    static const TPropInfo props[] = {
        {.Name = "Caption",
         .Kind = TTypeKind::tkWString,
         .GetWStr = [](TPersistent* o) { return static_cast<T*>(o)->WideCaption(); },
         .SetWStr = [](TPersistent* o,
                       const WideString& v) { static_cast<T*>(o)->SetWideCaption(v); }},
        {.Name = "Hint",
         .Kind = TTypeKind::tkWString,
         .GetWStr = [](TPersistent* o) { return static_cast<T*>(o)->WideHint(); },
         .SetWStr = [](TPersistent* o,
                       const WideString& v) { static_cast<T*>(o)->SetWideHint(v); }},
    };
    return props;
}

// TExtDrawEvent, TExtDrawTextEvent and TExtDrawHintEvent come with the items
// (ExtItem.h).
using TExtProgressBarChangeEvent = TEvent<TObject*, int>;
// Sender, image list, image index: the glyph to show.
using TExtGetImageIndexEvent = TEvent<TObject*, TCustomImageList*&, int&>;

class TExtTextObject : public TSkinTextObject, public TExtHintBitmapSource
{
    ZANDREL_PUBLISHED(TExtTextObject)

public:
    explicit TExtTextObject(TComponent* AOwner);
    ~TExtTextObject() override;

    const WideString& WideCaption() const { return FCaption; }
    // Stores the wide caption and gives the control its ANSI form.
    void SetWideCaption(const WideString& value);
    // The wide hint while the ANSI hint is its conversion (kept where the
    // wide hint windows look for it).
    WideString WideHint();
    void SetWideHint(const WideString& value);
    // A glyph beside the caption (index -1 or no list: none).
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    // The bitmap the last hint showed while OnDrawHint is assigned.
    TBitmap* HintBitmap() const override { return FHintBitmap.get(); }
    // The check state (controls without one are never checked).
    virtual bool Checked() { return false; }
    virtual void SetChecked(bool) {}
    // Takes an action's check state without clicking.
    void ApplyActionChecked(bool value);
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
    // With a handler the hint shows as a bitmap (see TExtDrawHintEvent).
    TExtDrawHintEvent OnDrawHint;
    TExtGetImageIndexEvent OnGetImageIndex;

protected:
    virtual void PaintHintStage(TBitmap* bitmap, WideString& hint, bool& paintDefault);
    virtual void DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault);
    // The glyph shown: Images and ImageIndex, as OnGetImageIndex changes them.
    virtual void AskImageIndex(TCustomImageList*& images, int& index);
    virtual void OpenLinkTarget();
    void DoDrawText(TCanvas* canvas, TRect& rect, UINT flags) override;
    void DoAdjustFont(TCanvas* canvas) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;
    TRect GetFocusRect() override;
    void Paint() override;
    void Click() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DefineProperties(TFiler& Filer) override;
    // Takes the wide caption and hint of a wide action (the converted ANSI
    // ones of others), and any action's check state and image index.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TControlActionLink* CreateActionLink() override;
    // While an action's check state is applied.
    bool ApplyingActionCheck() const { return FApplyingActionCheck; }

private:
    bool ShowsLink() { return MouseInside() && !FLinkText.empty(); }
    void ContentChanged();
    void PrepareHintBitmap(THintInfo& info);

    WideString FCaption;
    TCustomImageList* FImages = nullptr; // not owned; free-notified
    std::unique_ptr<TChangeLink> FImageLink;
    int FImageIndex = -1;
    std::unique_ptr<TBitmap> FHintBitmap;
    bool FApplyingActionCheck = false;
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
    ZANDREL_PUBLISHED(TExtProgressBar)

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
    // The checked control of this one's group that can take the focus;
    // null when none is (or the control is never grouped).
    TExtButtonControl* CheckedInGroup();
    // The click of a state change, which must not change the state again.
    bool InStateClick() const { return FStateClick; }
    TRect CaptionMargins() override;
    void AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight) override;
    void DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault) override;
    // The check glyph is the control's only glyph.
    void AskImageIndex(TCustomImageList*& images, int& index) override;

private:
    // other is grouped with this control: the same class and group index.
    bool SameGroup(const TExtButtonControl* other) const;

    int FGroupIndex = -1;
    bool FStateClick = false;
};

class TExtCheckBox : public TExtButtonControl
{
    ZANDREL_PUBLISHED(TExtCheckBox)

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
    ZANDREL_PUBLISHED(TExtRadioButton)

public:
    explicit TExtRadioButton(TComponent* AOwner);

    bool Checked() override { return FChecked; }
    void SetChecked(bool value) override;
    void SetGroupIndex(int value) { SetGroupIndexValue(value); }
    // The group's checked button, so that the program's placing of the
    // focus never changes the choice; this one when none is checked.
    TWinControl* FocusTarget() override;
    // Checks the button when it gains the focus, unless a Tab or Shift+Tab
    // brought it there.
    void WndProc(TMessage& message) override;

protected:
    void PaintGlyph(TCanvas* canvas, const TRect& rect) override;
    void Click() override;

private:
    bool FChecked = false;
};

class TExtLabel : public TExtTextObject
{
    ZANDREL_PUBLISHED(TExtLabel)

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

// --- Panels ---------------------------------------------------------------------------

enum class TExtPanelBorder
{
    pbrRaised,
    pbrDoubleRaised,
    pbrSunken,
    pbrDoubleSunken,
    pbrBumped,
    pbrEtched,
    pbrFramed
};

// The frame of a panel of that border type, classic (system edges; a framed
// border is a line in the button face colour) or, with visual styles, the
// group-box frame.
void ExtPaintPanelFrame(TCanvas* canvas, const TRect& rect, bool enabled,
                        TExtPanelBorder borderType, TExtThemeType themeType);

// A control that hosts child controls inside a frame and its margins; it
// shows its parent's background while its colour is clNone and paints
// through an off-screen bitmap, so its frame never flickers.
class TExtCustomPanel : public TCustomControl
{
    ZANDREL_PUBLISHED(TExtCustomPanel)

public:
    explicit TExtCustomPanel(TComponent* AOwner);
    ~TExtCustomPanel() override;

    const WideString& WideCaption() const { return FCaption; }
    // Stores the wide caption and gives the control its ANSI form.
    void SetWideCaption(const WideString& value);
    // The wide hint while the ANSI hint is its conversion (kept where the
    // wide hint windows look for it).
    WideString WideHint();
    void SetWideHint(const WideString& value);
    // Without borders the frame falls outside the panel.
    bool Borders() const { return FBorders; }
    void SetBorders(bool value);
    TExtPanelBorder BorderType() const { return FBorderType; }
    void SetBorderType(TExtPanelBorder value);
    TExtThemeType ThemeType() const { return FThemeType; }
    void SetThemeType(TExtThemeType value);
    // Kept for a theme with a background of its own; the "Default" theme
    // has none.
    bool SkinStyleBackground() const { return FSkinStyleBackground; }
    void SetSkinStyleBackground(bool value) { FSkinStyleBackground = value; }
    TSkinControlMargins* Margins() const { return FMargins; }
    // Redraws the panel and its children.
    void RepaintBackdrop();
    void WndProc(TMessage& message) override;

    TExtDrawEvent OnDrawBackground;

protected:
    virtual void DrawBackground(TCanvas* canvas, const TRect& rect);
    virtual void DoDrawBackground(TCanvas* canvas, const TRect& rect, int stage,
                                  bool& paintDefault);
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;
    void DefineProperties(TFiler& Filer) override;

private:
    // What the panel shows under its children: the parent's background, the
    // panel's colour and its frame.
    void PaintBackdrop(TCanvas* canvas, const TRect& client);
    void EraseBackground(TMessage& m);

    WideString FCaption;
    bool FBorders = true;
    TExtPanelBorder FBorderType = TExtPanelBorder::pbrEtched;
    TExtThemeType FThemeType = TExtThemeType::thtSkin;
    bool FSkinStyleBackground = false;
    TSkinControlMargins* FMargins; // owned
};

// A frame with a wide caption in its top edge around child controls.
class TExtGroupBox : public TExtCustomPanel
{
    ZANDREL_PUBLISHED(TExtGroupBox)

public:
    explicit TExtGroupBox(TComponent* AOwner);
    void WndProc(TMessage& message) override;

protected:
    void AdjustClientRect(TRect& rect) override;
    void DrawBackground(TCanvas* canvas, const TRect& rect) override;

private:
    // The caption's rectangle, 8 pixels from the left edge.
    TRect CaptionRect(TCanvas* canvas);
    int TextHeight();
};

// A caption set in its ANSI form replaces the wide one; the wide caption
// that gave the ANSI one stays (it may hold characters the code page lacks).
void ExtFollowAnsiCaption(WideString& wide, const AnsiString& ansi);
