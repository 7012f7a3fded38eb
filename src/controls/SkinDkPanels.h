// The themed panel family the windows are laid out with:
//
//   TSkinControlMargins  four margins that tell their owner of a change
//   TSkinPanelObject     a custom control that tracks the mouse (one shared
//                        125 ms timer notices that it has left), is pushed
//                        by the left button or, when allowed, by Space, and
//                        shows its parent's background when its colour is
//                        clNone
//   TSkinAlignmentPanel  aligns its children inside its margins
//   TSkinTextObject      a caption with margins, wrapping and auto height
//   TSkinButton          a push button painted by the current theme, with a
//                        glyph, groups of exclusive buttons, auto-repeat and
//                        a drop-down menu (the whole button, or an arrow part
//                        beside its face)
//   TSkinCustomPageScroller  scrolls one long child by arrows at its ends
#pragma once

#include "classlib/ImageList.h"
#include "classlib/Timer.h"
#include "classlib/WinControl.h"
#include "themes/Skin.h"

class TSkinControlMargins : public TNotifyingSettings
{
public:
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Right() const { return FRight; }
    int Bottom() const { return FBottom; }
    void SetLeft(int value) { Store(FLeft, value); }
    void SetTop(int value) { Store(FTop, value); }
    void SetRight(int value) { Store(FRight, value); }
    void SetBottom(int value) { Store(FBottom, value); }
    // The rectangle less the margins.
    TRect Deflate(const TRect& r) const;

private:
    int FLeft = 0;
    int FTop = 0;
    int FRight = 0;
    int FBottom = 0;
};

class TSkinPanelObject : public TCustomControl
{
public:
    explicit TSkinPanelObject(TComponent* AOwner);
    ~TSkinPanelObject() override;

    bool MouseInside() const { return FMouseInside; }
    bool Pushed() const { return FPushed; }
    bool SmartFocus() const { return FSmartFocus; }
    void SetSmartFocus(bool value) { FSmartFocus = value; }
    virtual int LeastHeight() { return Height(); }
    virtual int LeastWidth() { return Width(); }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    void WndProc(TMessage& message) override;

    // The shared hover timer's tick: the tracked panel leaves when the
    // mouse is no longer over it.
    static void CheckHover();

protected:
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    // Space presses the control (and clicks it on release).
    void SetSpacePresses(bool value) { FSpacePresses = value; }
    void SetPushed(bool value);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void LeaveHover();

private:
    void EnterHover();
    void EraseBackground(TMessage& m);
    bool KeyMessage(TMessage& m);

    bool FMouseInside = false;
    bool FPushed = false;
    bool FSpacePresses = false;
    bool FSmartFocus = false;
};

class TSkinAlignmentPanel : public TSkinPanelObject
{
public:
    explicit TSkinAlignmentPanel(TComponent* AOwner);
    ~TSkinAlignmentPanel() override;

    TSkinControlMargins* Margins() const { return FMargins; }
    // The aligned children's extents plus the least extents of the
    // client-aligned ones, plus the margins.
    int LeastHeight() override;
    int LeastWidth() override;

protected:
    void AdjustClientRect(TRect& rect) override;

private:
    int LeastExtent(bool vertical);

    TSkinControlMargins* FMargins; // owned
};

// The DrawText flags of a caption: alignment, wrapping (measuring keeps
// the lines whole: no single line), no prefix without accelerators, tabs
// expanded.
UINT SkinTextFlags(TAlignment alignment, TTextWrapping wrapping, bool showAccelChar,
                   bool measuring);

class TSkinTextObject : public TSkinPanelObject
{
public:
    explicit TSkinTextObject(TComponent* AOwner);
    ~TSkinTextObject() override;

    TSkinControlMargins* Margins() const { return FMargins; }
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    TTextWrapping Wrapping() const { return FWrapping; }
    void SetWrapping(TTextWrapping value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void SetAutoSize(bool value) override;
    // The size that fits the caption (the height in the current width).
    TPoint AutoExtent();
    void WndProc(TMessage& message) override;

protected:
    virtual void DoAdjustFont(TCanvas*) {}
    virtual void AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight);
    // Whether auto size sets the width too (text objects keep theirs).
    virtual bool AutoSizesWidth() { return false; }
    // Draws (or with DT_CALCRECT measures) the caption into rect.
    virtual void DoDrawText(TCanvas* canvas, TRect& rect, UINT flags);
    virtual void TextChanged();
    virtual TRect GetFocusRect() { return TRect(); }
    virtual AnsiString LabelCaption() { return Caption(); }
    virtual TAlignment CaptionAlignment() { return FAlignment; }
    virtual TRect CaptionMargins() { return TRect(); }
    void Paint() override;
    void CreateWnd() override;
    void Loaded() override;
    // Sets the auto size (guarded against re-entry, skipped while loading).
    void AdjustAutoSize();

private:
    TSkinControlMargins* FMargins; // owned
    bool FShowAccelChar = true;
    TTextWrapping FWrapping = TTextWrapping::twNone;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAdjusting = false;
};

enum class TSkinButtonStyle
{
    bsNormal,
    bsFlat
};

// Asked before a button's drop-down menu opens; clearing AllowDropDown
// keeps it closed.
using TDropDownEvent = TEvent<TObject*, bool&>;

enum class TSkinButtonLayout
{
    blGlyphLeft,
    blGlyphRight,
    blGlyphTop,
    blGlyphBottom
};

class TSkinButton : public TSkinTextObject
{
public:
    explicit TSkinButton(TComponent* AOwner);
    ~TSkinButton() override;

    bool Checked() const { return FChecked; }
    // Always False while GroupIndex is 0; a checked button is unchecked only
    // with AllowAllUnchecked. A button that becomes checked unchecks the
    // others of its group on its parent.
    void SetChecked(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUnchecked() const { return FAllowAllUnchecked; }
    void SetAllowAllUnchecked(bool value) { FAllowAllUnchecked = value; }
    int BorderSize() const { return FBorderSize; }
    void SetBorderSize(int value);
    TSkinButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TSkinButtonStyle value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TSkinButtonLayout Layout() const { return FLayout; }
    void SetLayout(TSkinButtonLayout value);
    int GlyphSpacing() const { return FGlyphSpacing; }
    void SetGlyphSpacing(int value);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    bool Repeating() const { return FRepeating; }
    void SetRepeating(bool value) { FRepeating = value; }
    unsigned RepeatDelay() const { return FRepeatDelay; }
    void SetRepeatDelay(unsigned value) { FRepeatDelay = value; }
    unsigned RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(unsigned value) { FRepeatInterval = value; }
    // The auto-repeat timer while the button is held (nullptr otherwise).
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    // The menu a click opens below the button (not owned; free-notified).
    // A themed menu keeps the button's rectangle clear; any other opens at
    // the button's bottom-left corner.
    TPopupMenuBase* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenuBase* value);
    // Splits the button into a face that clicks and an arrow part that
    // opens the menu.
    bool DropDownCombo() const { return FDropDownCombo; }
    void SetDropDownCombo(bool value);
    TDropDownEvent OnDropDown;

    // The theme's record of the button's face in its current state.
    TSkinItemInfo FillControlItemInfo();
    void WndProc(TMessage& message) override;

protected:
    void AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight) override;
    TRect CaptionMargins() override;
    TRect GetFocusRect() override;
    void DoAdjustFont(TCanvas* canvas) override;
    void Paint() override;
    void Click() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Whether the menu may open: True with a menu, then OnDropDown decides.
    virtual bool OpenDropDown();
    // Whether a client point lies on the button (inside its margins); the
    // margins let the mouse through to what lies behind.
    bool HitsDropButton(TPoint p);

private:
    bool HasImages() const { return FImages != nullptr; }
    bool IsCombo() const { return FDropDownCombo && FDropDownMenu; }
    // Whether a press at client x opens the menu rather than clicking.
    bool PressDropsDown(int x);
    void ShowDropDown();
    void PaintDropDownFace(TSkinTheme* theme, const TRect& face, const TSkinItemInfo& info);
    TRect GlyphRect();
    void ContentChanged();
    // A click that only fires OnClick.
    void RepeatClick();
    void RepeatTick(TObject* Sender);
    void StopRepeat();

    bool FChecked = false;
    int FGroupIndex = 0;
    bool FAllowAllUnchecked = false;
    int FBorderSize = 4;
    TSkinButtonStyle FButtonStyle = TSkinButtonStyle::bsNormal;
    TCustomImageList* FImages = nullptr; // not owned; free-notified
    TChangeLink* FImageLink;             // owned
    int FImageIndex = 0;
    TSkinButtonLayout FLayout = TSkinButtonLayout::blGlyphLeft;
    int FGlyphSpacing = 4;
    int FModalResult = 0;
    bool FRepeating = false;
    unsigned FRepeatDelay = 400;
    unsigned FRepeatInterval = 100;
    TTimer* FRepeatTimer = nullptr; // owned while held
    bool FRepeatingClick = false;
    TPopupMenuBase* FDropDownMenu = nullptr; // not owned; free-notified
    bool FDropDownCombo = false;
    bool FDropDownPress = false; // a press that opens the menu, until it closes
};

enum class TPageScrollerOrientation
{
    soHorizontal,
    soVertical
};

// Scrolls its one child, longer than itself, along one orientation. An arrow
// area at each end, painted by the current theme, scrolls the child while
// the mouse rests on it; a control inside the child that takes the focus is
// scrolled into view.
class TSkinCustomPageScroller : public TCustomControl
{
public:
    static constexpr int kArrowSize = 12;
    static constexpr int kStep = 16;
    static constexpr unsigned kFirstInterval = 300;
    static constexpr unsigned kNextInterval = 100;

    explicit TSkinCustomPageScroller(TComponent* AOwner);
    ~TSkinCustomPageScroller() override;

    TPageScrollerOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPageScrollerOrientation value);
    int Position() const { return FPosition; }
    // Clamped to 0..Range().
    void SetPosition(int value);
    // How far the child reaches past the view between the arrows.
    int Range();
    // The arrow area at the start (left or top) or the end, in window
    // coordinates (the arrows lie outside the client area).
    TRect ArrowRect(bool atEnd);
    // The client area: the window less both arrows.
    TRect ClientRect() override;
    // Scrolls the least that shows control (inside the child) whole, or its
    // start when it is longer than the view.
    void ScrollInView(TControl* control);
    // Runs while the mouse rests on an arrow (nullptr otherwise).
    TTimer* ScrollTimer() const { return FTimer; }
    void WndProc(TMessage& message) override;

protected:
    void AlignControls(TControl* control, TRect& rect) override;
    void Paint() override;

private:
    bool Horizontal() const { return FOrientation == TPageScrollerOrientation::soHorizontal; }
    TControl* Child();
    int ViewLength();
    void PlaceChild();
    TPoint WindowPointOf(POINT screen);
    void ArrowHovered(TPoint windowPoint);
    void PaintArrows();
    void StartScrolling(bool atEnd);
    void ScrollTick(TObject* Sender);
    void StopScrolling();

    TPageScrollerOrientation FOrientation = TPageScrollerOrientation::soHorizontal;
    int FPosition = 0;
    TTimer* FTimer = nullptr; // owned while an arrow is hovered
    bool FScrollingToEnd = false;
};
