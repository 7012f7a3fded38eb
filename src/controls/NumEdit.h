// The edits of the program's windows, on the system's edit control.
//
//   TNumCustomEdit   text margins, vertical alignment, a glyph and a preview
//                    box inside the edit, a themed border
//   TNumEdit         the edit the windows use for texts and names: a line
//                    break never enters it; a click on its left strip
//                    selects all
//   TNumNumberEdit   a number edit: Value within Min and Max, typed and
//                    pasted characters filtered, Precision, NullText for
//                    zero, TextAfter behind the number
//   TNumSpinButtons  the up and down buttons inside a spin edit
//   TNumSpinEdit     a number edit stepped by Increment with its buttons,
//                    the Up and Down keys and the mouse wheel
//
// The rules these follow (filtering, number text, limits, steps) are plain
// functions below, testable without windows.
//
// The system edit is made multi-line, the only kind whose text rectangle can
// be placed (EM_SETRECT), and still holds one line of text: it scrolls
// sideways (ES_AUTOHSCROLL), typed CR and LF are dropped, a paste stops at
// the first line break, and WM_GETDLGCODE is answered without
// DLGC_WANTALLKEYS so that Tab, Enter and Escape reach the dialog as from a
// single-line edit. Every edit reports programmatic writes through OnChange.
//
// Not here: the Boolean, date-time and wide-text views of the text (nothing
// reads an edit that way).
#pragma once

#include "classlib/StandardControls.h"

#include <functional>

// --- Options and types

enum class TVerticalAlignment
{
    vaTop,
    vaMiddle,
    vaBottom
};

enum TEditOption : unsigned
{
    eoAllowAll = 1,   // no filtering at all
    eoAllowFloat = 2, // the decimal separator may be typed
    eoAllowSigns = 4  // "+" and "-" may lead
};
using TEditOptions = unsigned;

// The half of the spin buttons a state refers to.
enum class TSpinHalf
{
    shNone = 0,
    shUpper = 1,
    shLower = 2,
    shBoth = 3 // hovering the edit lights both
};

// The button that spun.
enum class TSpinButtonSet
{
    sbUpper = 1,
    sbLower = 2
};

// Sender, the inner rectangle of the preview box (client pixels).
using TCustomPreviewDrawEvent = TEvent<TObject*, const TRect&>;
// Sender, the button that spun.
using TSpinEvent = TEvent<TObject*, TSpinButtonSet>;

// The screen cursor number of the mirrored arrow over an edit's left strip.
constexpr TCursor crReversedArrow = 100;

// --- Rules

// The number in text: digits; the separator only with allowFloat and only
// its first occurrence; "+" or "-" only with allowSign and only as the
// first character kept. Everything else is dropped.
AnsiString FilterNumberText(const AnsiString& text, char separator, bool allowFloat,
                            bool allowSign);
// The value of filtered number text: 0 when it holds no digit ("", "-",
// "."), the largest finite value (with its sign) when it overflows.
double FilteredNumberValue(const AnsiString& filtered, char separator);
// value inside the limits: above max (when max > 0) becomes max, then
// below min becomes min; anything not finite becomes 0 first.
double LimitNumber(double value, double min, double max);
// value in fixed notation, never with an exponent, with the locale's
// separator: decimals > 0 that many decimals, 0 a whole number, < 0 at
// most 15 significant digits without trailing zeros.
AnsiString NumberText(double value, int decimals);
// value rounded to the nearest int, after clamping it to the int range.
int RoundToInt(double value);

// What a number edit holds when a character is typed.
struct TNumberTyping
{
    AnsiString Text;
    int SelStart = 0; // bytes
    int SelLength = 0;
    TEditOptions Options = eoAllowFloat | eoAllowSigns;
    char Separator = '.';
};
// Whether the typed character may enter: Ctrl+C, Tab, Ctrl+V, Ctrl+X,
// Backspace and digits always; the separator with floats, when the text has
// none or the selection holds it; a sign with signs, at the start of a text
// without one, or over a selection that holds the sign. eoAllowAll passes
// everything.
bool NumberCharAccepted(const TNumberTyping& typing, char key);

// The value a spin step gives, or false when it is refused: up is refused
// when max > 0 and value + increment exceeds max, down when value -
// increment is below min.
bool SpinStep(double value, double increment, double min, double max, bool up, double& next);

// What places the text inside an edit (client pixels); the edits derive
// their text and preview rectangles from it.
struct TEditLayout
{
    int ClientWidth = 0;
    int ClientHeight = 0;
    int Margin = 0;
    TVerticalAlignment VerticalAlignment = TVerticalAlignment::vaMiddle;
    int TextHeight = 0;
    bool ShowPreview = false;
    int GlyphWidth = 0;  // 0: no glyph
    int RightLimit = -1; // the text ends here at most (spin buttons); -1: none
};
// --- Controls

class TNumCustomEdit : public TCustomEdit
{
public:
    explicit TNumCustomEdit(TComponent* AOwner);
    ~TNumCustomEdit() override;

    // Pixels left and right of the text, and above or below it for top or
    // bottom alignment.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment value);
    // Drawn at the left inside the edit; its bottom-left colour is
    // transparent. Owned; assign into it or use SetGlyph.
    TBitmap* Glyph() const { return FGlyph; }
    void SetGlyph(TBitmap* value);
    // A 20-pixel box at the left, drawn by OnCustomPreviewDraw.
    bool ShowPreview() const { return FShowPreview; }
    void SetShowPreview(bool value);
    // A grey frame around the preview box.
    bool PreviewBorder() const { return FPreviewBorder; }
    void SetPreviewBorder(bool value);
    TCanvas* Canvas() const { return FCanvas; }

    // The text as a number (the class library's conversions; number edits
    // read and write Value instead).
    virtual double AsFloat();
    virtual void SetAsFloat(double value);
    virtual int AsInteger();
    virtual void SetAsInteger(int value);

    TCustomPreviewDrawEvent OnCustomPreviewDraw;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Resize() override;
    // The text rectangle, given to the edit after creation and every change
    // of size, font, margins or glyph.
    virtual TRect EditorBounds();
    virtual TRect PreviewBounds();
    // Draws the single border through the visual style; false leaves it to
    // the system.
    virtual bool PaintEditBorder();
    TEditLayout Layout();
    void ApplyEditorBounds();

private:
    void GlyphChanged(TObject* Sender);
    int TextLineHeight();

    int FMargin = 0;
    TVerticalAlignment FVerticalAlignment = TVerticalAlignment::vaMiddle;
    TBitmap* FGlyph; // owned
    bool FShowPreview = false;
    bool FPreviewBorder = false;
    TControlCanvas* FCanvas; // owned: measures the font, draws glyph and preview
};

class TNumEdit : public TNumCustomEdit
{
public:
    using TNumCustomEdit::TNumCustomEdit;
    void WndProc(TMessage& message) override;

    // What a paste puts in, given the clipboard's first line (a name edit
    // drops the characters it refuses when typed); unset: the line as it is.
    std::function<AnsiString(const AnsiString&)> PasteFilter;

protected:
    void KeyPress(char& Key) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    // Draws the preview frame and asks OnCustomPreviewDraw for the inside.
    virtual void PaintValuePreview(const TRect& inner);
    // Puts the clipboard's text up to its first line break over the selection.
    virtual void PasteText();

private:
    void PaintExtras();
    bool OnLeftStrip(int clientX) const;
};

class TNumNumberEdit : public TNumEdit
{
public:
    explicit TNumNumberEdit(TComponent* AOwner) : TNumNumberEdit(AOwner, 2) {}

    TEditOptions Options() const { return FOptions; }
    void SetOptions(TEditOptions value) { FOptions = value; }
    // Decimals shown when floats are allowed; 0 or less: as few as needed.
    int Precision() const { return FPrecision; }
    void SetPrecision(int value);
    // Shown instead of the number when Value is 0 (unless empty).
    const AnsiString& NullText() const { return FNullText; }
    void SetNullText(const AnsiString& value);
    // Shown after the number.
    const AnsiString& TextAfter() const { return FTextAfter; }
    void SetTextAfter(const AnsiString& value);
    // The limits; Max 0 means no upper limit. Setting them leaves the text
    // as it is; Value is read inside them.
    double Min() const { return FMin; }
    void SetMin(double value) { FMin = value; }
    double Max() const { return FMax; }
    void SetMax(double value) { FMax = value; }
    // The number in the text, filtered and brought inside the limits; 0 for
    // an empty text or one without digits. Writing brings the value inside
    // the limits and rewrites the text (OnChange follows).
    double Value();
    void SetValue(double value);
    // The text Value writes for value.
    AnsiString ValueToText(double value) const;
    // text filtered as Options say and brought inside the limits: "0" when
    // no number is left.
    AnsiString CleanInputText(const AnsiString& text) const;

    double AsFloat() override { return Value(); }
    void SetAsFloat(double value) override { SetValue(value); }

protected:
    TNumNumberEdit(TComponent* AOwner, int precision);
    void KeyPress(char& Key) override;
    void DoExit() override;
    void PasteText() override;

private:
    double TextNumber(const AnsiString& text) const;
    void RewriteText() { SetValue(Value()); }

    TEditOptions FOptions = eoAllowFloat | eoAllowSigns;
    int FPrecision;
    AnsiString FNullText;
    AnsiString FTextAfter;
    double FMin = 0;
    double FMax = 0;
};

class TNumSpinButtons : public TCustomControl
{
public:
    // Before the first repeat, and between repeats, milliseconds.
    static constexpr UINT kDelayMs = 400;
    static constexpr UINT kRepeatMs = 20;
    static constexpr UINT_PTR kDelayTimer = 1;
    static constexpr UINT_PTR kRepeatTimer = 2;

    explicit TNumSpinButtons(TComponent* AOwner);

    TSpinHalf Pressed() const { return FPressed; }
    TSpinHalf Hover() const { return FHover; }
    void SetHover(TSpinHalf value);
    // Spins once and starts the delay timer; a press of the button already
    // held does nothing.
    void Press(TSpinButtonSet button);
    // Stops both timers.
    void Release();

    TSpinEvent OnSpin;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    void TimerTick(UINT_PTR id);
    void PaintHalf(TSpinHalf half, const TRect& rect);
    TSpinHalf HalfAt(int y);
    bool EditEnabled() const;

    TSpinHalf FPressed = TSpinHalf::shNone;
    TSpinHalf FHover = TSpinHalf::shNone;
    bool FPressedByMouse = false; // a lost capture releases it
};

class TNumSpinEdit : public TNumNumberEdit
{
public:
    explicit TNumSpinEdit(TComponent* AOwner);

    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    bool SpinButtons() const { return FSpinButtons; }
    void SetSpinButtons(bool value);
    TNumSpinButtons* Buttons() const { return FButtons; }

    // Value rounded (within the int range).
    int AsInteger() override { return RoundToInt(Value()); }
    void SetAsInteger(int value) override { SetValue(value); }

    // After every step, taken or refused.
    TSpinEvent OnSpin;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Resize() override;
    TRect EditorBounds() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void ButtonsSpin(TObject* Sender, TSpinButtonSet button);
    TRect ButtonsRect();
    void PlaceButtons();

    double FIncrement = 1.0;
    bool FSpinButtons = true;
    TNumSpinButtons* FButtons; // owned (a child component)
    int FWheelRest = 0;        // wheel delta short of a whole notch
};
