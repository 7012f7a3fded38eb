#include "NumEdit.h"

#include "NumThemesSupport.h"

#include "classlib/Clipboard.h"
#include "classlib/Graphics.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <windowsx.h>

namespace {

// Parts and states of the visual style's edit class.
constexpr int kEditPartText = 1;
constexpr int kEditStateNormal = 1;
constexpr int kEditStateDisabled = 4;
// Parts of the spin class.
constexpr int kSpinPartUp = 1;
constexpr int kSpinPartDown = 2;

constexpr int kPreviewWidth = 20;     // pixels
constexpr int kPreviewTextShift = 27; // the text starts this far right of a preview
constexpr int kGlyphGap = 4;          // between a glyph and the text
constexpr int kLeftStripWidth = 3;    // the strip that selects all
// Decimals enough for the smallest double with 15 significant digits.
constexpr int kShortestDecimals = 340;

bool NumIsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char NumSeparator()
{
    const AnsiString& separator = DecimalSeparator();
    return separator.empty() ? '.' : separator[0];
}

// A copy of bitmap mirrored left to right (same format), or nullptr.
HBITMAP NumMirroredBitmap(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info))
        return nullptr;
    HBITMAP mirrored =
        CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel, nullptr);
    TMemoryDC from(nullptr);
    TMemoryDC to(nullptr);
    {
        TSelectedObject fromBitmap(from.Handle(), bitmap);
        TSelectedObject toBitmap(to.Handle(), mirrored);
        for (int x = 0; x < info.bmWidth; ++x)
            BitBlt(to.Handle(), info.bmWidth - 1 - x, 0, 1, info.bmHeight, from.Handle(), x, 0,
                   SRCCOPY);
    }
    return mirrored;
}

// The system's arrow mirrored, its hot spot at the top right; the arrow
// itself when that cannot be made.
HCURSOR NumMakeReversedArrow()
{
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    ICONINFO info{};
    if (!GetIconInfo(arrow, &info))
        return arrow;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    ICONINFO mirrored{};
    mirrored.fIcon = FALSE;
    mirrored.xHotspot = static_cast<DWORD>(mask.bmWidth - 1) - info.xHotspot;
    mirrored.yHotspot = info.yHotspot;
    mirrored.hbmMask = NumMirroredBitmap(info.hbmMask);
    mirrored.hbmColor = NumMirroredBitmap(info.hbmColor);
    HCURSOR cursor = mirrored.hbmMask ? CreateIconIndirect(&mirrored) : nullptr;
    for (HBITMAP bitmap : {info.hbmMask, info.hbmColor, mirrored.hbmMask, mirrored.hbmColor})
        if (bitmap)
            DeleteObject(bitmap);
    return cursor ? cursor : arrow;
}

// Made once and kept for the program's life (the screen's table does not
// own its cursors).
HCURSOR NumReversedArrow()
{
    static const HCURSOR cursor = NumMakeReversedArrow();
    return cursor;
}

// The rectangle the text line fills.
TRect NumTextRect(const TEditLayout& layout)
{
    TRect r;
    r.left = layout.Margin;
    if (layout.ShowPreview)
        r.left += kPreviewTextShift;
    if (layout.GlyphWidth > 0)
        r.left += layout.GlyphWidth + kGlyphGap;
    r.right = layout.ClientWidth - (layout.Margin + 1);
    if (layout.RightLimit >= 0)
        r.right = std::min<LONG>(r.right, layout.RightLimit);
    switch (layout.VerticalAlignment) {
    case TVerticalAlignment::vaTop:
        r.top = layout.Margin;
        r.bottom = r.top + layout.TextHeight;
        break;
    case TVerticalAlignment::vaMiddle:
        r.top = (layout.ClientHeight - 1) / 2 - layout.TextHeight / 2;
        r.bottom = r.top + layout.TextHeight;
        break;
    case TVerticalAlignment::vaBottom:
        r.bottom = layout.ClientHeight - layout.Margin;
        r.top = r.bottom - layout.TextHeight;
        break;
    }
    return r;
}

// The inner rectangle of the preview box (one pixel smaller on each side
// with a border).
TRect NumPreviewRect(const TEditLayout& layout, bool previewBorder)
{
    TRect text = NumTextRect(layout);
    int left = layout.Margin + 1;
    if (layout.GlyphWidth > 0)
        left += layout.GlyphWidth + kGlyphGap;
    TRect r(left, text.top + 1, left + kPreviewWidth, text.bottom - 1);
    if (previewBorder)
        InflateRect(&r, -1, -1);
    return r;
}

// The visual-style state of one half of the spin buttons: 4 disabled, 3
// pressed, 2 hovered (directly or through shBoth), else 1.
int NumSpinPartState(bool enabled, TSpinHalf pressed, TSpinHalf hover, TSpinHalf half)
{
    if (!enabled)
        return 4;
    if (pressed == half)
        return 3;
    if (hover == half || hover == TSpinHalf::shBoth)
        return 2;
    return 1;
}

} // namespace

// ---------------------------------------------------------------------------
// Rules
//
// The filters walk bytes: digits, signs and separators are ASCII bytes that
// never occur as the trail byte of a double-byte character.

AnsiString FilterNumberText(const AnsiString& text, char separator, bool allowFloat, bool allowSign)
{
    AnsiString kept;
    bool separatorKept = false;
    for (char c : text) {
        if (NumIsDigit(c)) {
            kept += c;
        } else if (c == separator && allowFloat && !separatorKept) {
            kept += c;
            separatorKept = true;
        } else if ((c == '+' || c == '-') && allowSign && kept.empty()) {
            kept += c;
        }
    }
    return kept;
}

double FilteredNumberValue(const AnsiString& filtered, char separator)
{
    if (std::none_of(filtered.begin(), filtered.end(), NumIsDigit))
        return 0;
    double value = 0;
    if (TryTextToFloat(filtered, AnsiString(1, separator), value))
        return value;
    // Well-formed digits fail only when they do not fit a double.
    return filtered[0] == '-' ? -DBL_MAX : DBL_MAX;
}

double LimitNumber(double value, double min, double max)
{
    if (!std::isfinite(value))
        value = 0;
    if (max > 0 && value > max)
        value = max;
    if (value < min)
        value = min;
    return value;
}

AnsiString NumberText(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0;
    AnsiString picture = "0";
    if (decimals > 0)
        picture += "." + AnsiString(decimals, '0');
    else if (decimals < 0)
        picture += "." + AnsiString(kShortestDecimals, '#');
    return FormatFloat(picture, value);
}

int RoundToInt(double value)
{
    if (std::isnan(value))
        return 0;
    double limited = std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX));
    return static_cast<int>(std::nearbyint(limited));
}

bool NumberCharAccepted(const TNumberTyping& typing, char key)
{
    if (typing.Options & eoAllowAll)
        return true;
    switch (key) {
    case 0x03: // Ctrl+C
    case '\t':
    case 0x16: // Ctrl+V
    case 0x18: // Ctrl+X
    case '\b':
        return true;
    }
    if (NumIsDigit(key))
        return true;
    const AnsiString& text = typing.Text;
    auto selectionHolds = [&typing](size_t index) {
        return index != AnsiString::npos && static_cast<int>(index) >= typing.SelStart &&
               static_cast<int>(index) < typing.SelStart + typing.SelLength;
    };
    if (key == typing.Separator) {
        size_t existing = text.find(typing.Separator);
        return (typing.Options & eoAllowFloat) &&
               (existing == AnsiString::npos || selectionHolds(existing));
    }
    if (key == '+' || key == '-') {
        size_t sign = text.find_first_of("+-");
        return (typing.Options & eoAllowSigns) &&
               ((typing.SelStart == 0 && sign == AnsiString::npos) || selectionHolds(sign));
    }
    return false;
}

bool SpinStep(double value, double increment, double min, double max, bool up, double& next)
{
    if (up) {
        if (max > 0 && value + increment > max)
            return false;
        next = value + increment;
    } else {
        if (value - increment < min)
            return false;
        next = value - increment;
    }
    return true;
}

// ---------------------------------------------------------------------------
// TNumCustomEdit

TNumCustomEdit::TNumCustomEdit(TComponent* AOwner)
    : TCustomEdit(AOwner), FGlyph(new TBitmap), FCanvas(new TControlCanvas)
{
    FCanvas->SetControl(this);
    FGlyph->SetTransparent(true);
    FGlyph->OnChange = TNotifyEvent(this, &TNumCustomEdit::GlyphChanged);
    SetHeight(20);
    if (Screen)
        Screen->SetCursors(crReversedArrow, NumReversedArrow());
}

TNumCustomEdit::~TNumCustomEdit()
{
    delete FCanvas;
    FCanvas = nullptr;
    delete FGlyph;
    FGlyph = nullptr;
}

void TNumCustomEdit::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    // Multi-line, so that EM_SETRECT places the text; ES_AUTOHSCROLL keeps
    // it on one line.
    params.Style |= ES_MULTILINE | ES_AUTOHSCROLL;
}

void TNumCustomEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    ApplyEditorBounds();
}

void TNumCustomEdit::DestroyWnd()
{
    FCanvas->FreeHandle();
    TCustomEdit::DestroyWnd();
}

void TNumCustomEdit::Resize()
{
    ApplyEditorBounds();
    TCustomEdit::Resize();
}

void TNumCustomEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        // Not the system's answer: a multi-line edit would want Tab, Enter
        // and Escape, and once asked it acts on them as if in a dialog.
        m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        return;
    case WM_SETFONT:
        // The system puts the text rectangle back to the client area.
        TCustomEdit::WndProc(m);
        ApplyEditorBounds();
        return;
    case WM_NCPAINT:
        if (BorderStyle() == TBorderStyle::bsSingle && PaintEditBorder()) {
            m.Result = 0;
            return;
        }
        break;
    }
    TCustomEdit::WndProc(m);
}

void TNumCustomEdit::SetMargin(int value)
{
    if (value == FMargin)
        return;
    FMargin = value;
    ApplyEditorBounds();
}

void TNumCustomEdit::SetVerticalAlignment(TVerticalAlignment value)
{
    if (value == FVerticalAlignment)
        return;
    FVerticalAlignment = value;
    ApplyEditorBounds();
}

void TNumCustomEdit::SetGlyph(TBitmap* value)
{
    if (value)
        FGlyph->Assign(value);
    else
        FGlyph->SetSize(0, 0);
}

void TNumCustomEdit::GlyphChanged(TObject*)
{
    ApplyEditorBounds();
    Invalidate();
}

void TNumCustomEdit::SetShowPreview(bool value)
{
    if (value == FShowPreview)
        return;
    FShowPreview = value;
    ApplyEditorBounds();
    Invalidate();
}

void TNumCustomEdit::SetPreviewBorder(bool value)
{
    if (value == FPreviewBorder)
        return;
    FPreviewBorder = value;
    Invalidate();
}

double TNumCustomEdit::AsFloat()
{
    return StrToFloat(Text());
}

void TNumCustomEdit::SetAsFloat(double value)
{
    SetText(FloatToStr(value));
}

int TNumCustomEdit::AsInteger()
{
    return StrToInt(Text());
}

void TNumCustomEdit::SetAsInteger(int value)
{
    SetText(IntToStr(value));
}

int TNumCustomEdit::TextLineHeight()
{
    FCanvas->Font()->Assign(Font());
    TEXTMETRICA metrics{};
    GetTextMetricsA(FCanvas->Handle(), &metrics);
    FCanvas->FreeHandle();
    return metrics.tmHeight;
}

TEditLayout TNumCustomEdit::Layout()
{
    TEditLayout layout;
    TRect client = ClientRect();
    layout.ClientWidth = client.Width();
    layout.ClientHeight = client.Height();
    layout.Margin = FMargin;
    layout.VerticalAlignment = FVerticalAlignment;
    layout.TextHeight = HandleAllocated() ? TextLineHeight() : 0;
    layout.ShowPreview = FShowPreview;
    layout.GlyphWidth = FGlyph->Empty() ? 0 : FGlyph->Width();
    return layout;
}

TRect TNumCustomEdit::EditorBounds()
{
    return NumTextRect(Layout());
}

TRect TNumCustomEdit::PreviewBounds()
{
    return NumPreviewRect(Layout(), FPreviewBorder);
}

void TNumCustomEdit::ApplyEditorBounds()
{
    if (!HandleAllocated())
        return;
    TRect bounds = EditorBounds();
    SendMessageA(WindowHandle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&bounds));
}

bool TNumCustomEdit::PaintEditBorder()
{
    if (!NumThemesInUse())
        return false;
    HWND window = WindowHandle();
    RECT outer;
    GetWindowRect(window, &outer);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(window, &clientOrigin);
    RECT client;
    GetClientRect(window, &client);
    OffsetRect(&client, clientOrigin.x - outer.left, clientOrigin.y - outer.top);
    OffsetRect(&outer, -outer.left, -outer.top);
    TScreenDC dc(window, GetWindowDC(window));
    ExcludeClipRect(dc.Handle(), client.left, client.top, client.right, client.bottom);
    int state = IsWindowEnabled(window) ? kEditStateNormal : kEditStateDisabled;
    return DrawNumThemePart(window, dc.Handle(), L"edit", kEditPartText, state, outer);
}

// ---------------------------------------------------------------------------
// TNumEdit

void TNumEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PASTE:
        PasteText();
        m.Result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (OnLeftStrip(GET_X_LPARAM(m.LParam))) {
            if (CanFocus())
                SetFocus();
            SelectAll();
            return;
        }
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(m.WParam) == WindowHandle() && LOWORD(m.LParam) == HTCLIENT &&
            Screen && OnLeftStrip(ScreenToClient(TPoint(Seams().CursorPos())).x)) {
            ::SetCursor(Screen->Cursors(crReversedArrow));
            m.Result = 1;
            return;
        }
        break;
    case WM_PAINT:
        TNumCustomEdit::WndProc(m);
        PaintExtras();
        return;
    }
    TNumCustomEdit::WndProc(m);
}

bool TNumEdit::OnLeftStrip(int clientX) const
{
    return clientX >= 0 && clientX < kLeftStripWidth;
}

void TNumEdit::KeyPress(char& Key)
{
    TNumCustomEdit::KeyPress(Key);
    if (Key == '\r' || Key == '\n')
        Key = 0;
}

void TNumEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TNumCustomEdit::KeyDown(Key, Shift);
    // The system pastes Shift+Insert itself, past WM_PASTE.
    if (Key == VK_INSERT && (Shift & ssShift) && !(Shift & ssCtrl)) {
        PasteText();
        Key = 0;
    }
}

void TNumEdit::PasteText()
{
    if (ReadOnly())
        return;
    AnsiString text = Clipboard()->AsText();
    text.resize(std::min(text.size(), text.find_first_of("\r\n")));
    if (PasteFilter)
        text = PasteFilter(text);
    if (!text.empty())
        SetSelText(text);
}

void TNumEdit::PaintExtras()
{
    bool glyph = !Glyph()->Empty();
    if ((!glyph && !ShowPreview()) || !HandleAllocated())
        return;
    TRect preview = ShowPreview() ? PreviewBounds() : TRect();
    TScreenDC dc(WindowHandle());
    TCanvasDCScope scope(Canvas(), dc.Handle());
    if (glyph) {
        int lift = BorderStyle() == TBorderStyle::bsSingle ? 2 : 0;
        Canvas()->Draw(2, (Height() - Glyph()->Height()) / 2 - lift, Glyph());
    }
    if (ShowPreview())
        PaintValuePreview(preview);
}

void TNumEdit::PaintValuePreview(const TRect& inner)
{
    if (PreviewBorder()) {
        Canvas()->Brush()->SetColor(clGray);
        Canvas()->FrameRect(
            TRect(inner.left - 1, inner.top - 1, inner.right + 1, inner.bottom + 1));
    }
    if (OnCustomPreviewDraw)
        OnCustomPreviewDraw(this, inner);
}

// ---------------------------------------------------------------------------
// TNumNumberEdit

TNumNumberEdit::TNumNumberEdit(TComponent* AOwner, int precision)
    : TNumEdit(AOwner), FPrecision(precision)
{
}

void TNumNumberEdit::SetPrecision(int value)
{
    FPrecision = value;
    RewriteText();
}

void TNumNumberEdit::SetNullText(const AnsiString& value)
{
    FNullText = value;
    RewriteText();
}

void TNumNumberEdit::SetTextAfter(const AnsiString& value)
{
    // The number is read from the text without the old unit.
    double number = Value();
    FTextAfter = value;
    SetValue(number);
}

double TNumNumberEdit::TextNumber(const AnsiString& text) const
{
    if (!FNullText.empty() && text == FNullText)
        return LimitNumber(0, FMin, FMax);
    AnsiString number = text;
    if (!FTextAfter.empty() && number.ends_with(FTextAfter))
        number.resize(number.size() - FTextAfter.size());
    char separator = NumSeparator();
    AnsiString filtered =
        FilterNumberText(number, separator, FOptions & eoAllowFloat, FOptions & eoAllowSigns);
    return LimitNumber(FilteredNumberValue(filtered, separator), FMin, FMax);
}

double TNumNumberEdit::Value()
{
    return TextNumber(Text());
}

void TNumNumberEdit::SetValue(double value)
{
    SetText(ValueToText(LimitNumber(value, FMin, FMax)));
}

AnsiString TNumNumberEdit::ValueToText(double value) const
{
    if (value == 0 && !FNullText.empty())
        return FNullText;
    // Without floats the text could not be read back with a fraction.
    int decimals = !(FOptions & eoAllowFloat) ? 0 : (FPrecision > 0 ? FPrecision : -1);
    return NumberText(value, decimals) + FTextAfter;
}

AnsiString TNumNumberEdit::CleanInputText(const AnsiString& text) const
{
    bool allowFloat = FOptions & eoAllowFloat;
    AnsiString filtered =
        FilterNumberText(text, NumSeparator(), allowFloat, FOptions & eoAllowSigns);
    if (std::none_of(filtered.begin(), filtered.end(), NumIsDigit))
        filtered = "0";
    double value = FilteredNumberValue(filtered, NumSeparator());
    double limited = LimitNumber(value, FMin, FMax);
    return limited == value ? filtered : NumberText(limited, allowFloat ? -1 : 0);
}

void TNumNumberEdit::KeyPress(char& Key)
{
    TNumEdit::KeyPress(Key);
    if (Key == 0 || !HandleAllocated())
        return;
    TNumberTyping typing;
    typing.Text = Text();
    typing.SelStart = SelStart();
    typing.SelLength = SelLength();
    typing.Options = FOptions;
    typing.Separator = NumSeparator();
    if (!NumberCharAccepted(typing, Key))
        Key = 0;
}

void TNumNumberEdit::DoExit()
{
    if (!(FOptions & eoAllowAll))
        RewriteText();
    TNumEdit::DoExit();
}

void TNumNumberEdit::PasteText()
{
    if (FOptions & eoAllowAll) {
        TNumEdit::PasteText();
        return;
    }
    if (ReadOnly())
        return;
    AnsiString pasted = Clipboard()->AsText();
    if (pasted.empty())
        return;
    AnsiString text = Text();
    size_t start = std::min<size_t>(SelStart(), text.size());
    size_t end = std::min<size_t>(start + SelLength(), text.size());
    AnsiString cleaned = CleanInputText(text.substr(0, start) + pasted + text.substr(end));
    SetText(cleaned);
    SetSelStart(static_cast<int>(std::min(start + pasted.size(), cleaned.size())));
}

// ---------------------------------------------------------------------------
// TNumSpinButtons

TNumSpinButtons::TNumSpinButtons(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(false);
    SetParentColor(true);
    SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), 16);
}

void TNumSpinButtons::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_TIMER:
        TimerTick(m.WParam);
        return;
    case WM_CAPTURECHANGED:
        if (FPressedByMouse)
            Release();
        break;
    }
    TCustomControl::WndProc(m);
}

void TNumSpinButtons::SetHover(TSpinHalf value)
{
    if (value == FHover)
        return;
    FHover = value;
    Invalidate();
}

void TNumSpinButtons::Press(TSpinButtonSet button)
{
    TSpinHalf half = button == TSpinButtonSet::sbUpper ? TSpinHalf::shUpper : TSpinHalf::shLower;
    if (half == FPressed)
        return;
    FPressed = half;
    Invalidate();
    if (HandleAllocated()) {
        KillTimer(WindowHandle(), kRepeatTimer);
        SetTimer(WindowHandle(), kDelayTimer, kDelayMs, nullptr);
    }
    if (OnSpin)
        OnSpin(this, button);
}

void TNumSpinButtons::Release()
{
    FPressedByMouse = false;
    if (FPressed == TSpinHalf::shNone)
        return;
    FPressed = TSpinHalf::shNone;
    if (HandleAllocated()) {
        KillTimer(WindowHandle(), kDelayTimer);
        KillTimer(WindowHandle(), kRepeatTimer);
    }
    Invalidate();
}

void TNumSpinButtons::TimerTick(UINT_PTR id)
{
    if (id == kDelayTimer) {
        KillTimer(WindowHandle(), kDelayTimer);
        if (FPressed != TSpinHalf::shNone)
            SetTimer(WindowHandle(), kRepeatTimer, kRepeatMs, nullptr);
        return;
    }
    if (id != kRepeatTimer)
        return;
    // A tick already queued when the button was released.
    if (FPressed == TSpinHalf::shNone) {
        KillTimer(WindowHandle(), kRepeatTimer);
        return;
    }
    if (OnSpin)
        OnSpin(this,
               FPressed == TSpinHalf::shUpper ? TSpinButtonSet::sbUpper : TSpinButtonSet::sbLower);
}

TSpinHalf TNumSpinButtons::HalfAt(int y)
{
    return y < ClientHeight() / 2 ? TSpinHalf::shUpper : TSpinHalf::shLower;
}

void TNumSpinButtons::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft)
        return;
    Release();
    FPressedByMouse = true;
    Press(HalfAt(Y) == TSpinHalf::shUpper ? TSpinButtonSet::sbUpper : TSpinButtonSet::sbLower);
}

void TNumSpinButtons::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (ClientRect().Contains(TPoint(X, Y)))
        SetHover(HalfAt(Y));
}

void TNumSpinButtons::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == TMouseButton::mbLeft)
        Release();
}

void TNumSpinButtons::MouseLeave()
{
    TCustomControl::MouseLeave();
    SetHover(TSpinHalf::shNone);
}

bool TNumSpinButtons::EditEnabled() const
{
    return Enabled() && (!Parent() || Parent()->Enabled());
}

void TNumSpinButtons::Paint()
{
    TRect client = ClientRect();
    int middle = client.Height() / 2;
    PaintHalf(TSpinHalf::shUpper, TRect(0, 0, client.Width(), middle));
    PaintHalf(TSpinHalf::shLower, TRect(0, middle, client.Width(), client.Height()));
}

void TNumSpinButtons::PaintHalf(TSpinHalf half, const TRect& rect)
{
    bool enabled = EditEnabled();
    bool upper = half == TSpinHalf::shUpper;
    HDC dc = Canvas()->Handle();
    Canvas()->Changing();
    int state = NumSpinPartState(enabled, FPressed, FHover, half);
    if (!DrawNumThemePart(WindowHandle(), dc, L"spin", upper ? kSpinPartUp : kSpinPartDown, state,
                          rect)) {
        UINT flags = upper ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
        if (FPressed == half)
            flags |= DFCS_PUSHED;
        if (!enabled)
            flags |= DFCS_INACTIVE;
        RECT r = rect;
        DrawFrameControl(dc, &r, DFC_SCROLL, flags);
    }
    Canvas()->Changed();
}

// ---------------------------------------------------------------------------
// TNumSpinEdit

TNumSpinEdit::TNumSpinEdit(TComponent* AOwner) : TNumNumberEdit(AOwner, 0)
{
    FButtons = new TNumSpinButtons(this);
    FButtons->SetParent(this);
    FButtons->OnSpin = TSpinEvent(this, &TNumSpinEdit::ButtonsSpin);
}

void TNumSpinEdit::CreateParams(TCreateParams& params)
{
    TNumNumberEdit::CreateParams(params);
    // The edit paints around its buttons.
    params.Style |= WS_CLIPCHILDREN;
}

void TNumSpinEdit::CreateWnd()
{
    PlaceButtons();
    TNumNumberEdit::CreateWnd();
}

void TNumSpinEdit::Resize()
{
    PlaceButtons();
    TNumNumberEdit::Resize();
}

void TNumSpinEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETCURSOR:
        // Over the buttons, their own cursor rather than the edit's.
        if (reinterpret_cast<HWND>(m.WParam) != WindowHandle()) {
            m.Result = 0;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        TNumNumberEdit::WndProc(m);
        FButtons->Invalidate();
        return;
    }
    TNumNumberEdit::WndProc(m);
}

void TNumSpinEdit::SetSpinButtons(bool value)
{
    if (value == FSpinButtons)
        return;
    FSpinButtons = value;
    PlaceButtons();
    ApplyEditorBounds();
}

TRect TNumSpinEdit::ButtonsRect()
{
    int inset = BorderStyle() == TBorderStyle::bsSingle ? 1 : 0;
    int width = GetSystemMetrics(SM_CXVSCROLL);
    TRect client = ClientRect();
    return TRect(client.right - width - inset, inset, client.right - inset, client.bottom - inset);
}

void TNumSpinEdit::PlaceButtons()
{
    FButtons->SetBoundsRect(ButtonsRect());
    FButtons->SetVisible(FSpinButtons);
}

TRect TNumSpinEdit::EditorBounds()
{
    TEditLayout layout = Layout();
    if (FSpinButtons)
        layout.RightLimit = ButtonsRect().left;
    return NumTextRect(layout);
}

void TNumSpinEdit::ButtonsSpin(TObject*, TSpinButtonSet button)
{
    double next = 0;
    if (SpinStep(Value(), FIncrement, Min(), Max(), button == TSpinButtonSet::sbUpper, next))
        SetValue(next);
    if (OnSpin)
        OnSpin(this, button);
}

void TNumSpinEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TNumNumberEdit::KeyDown(Key, Shift);
    if ((Key == VK_UP || Key == VK_DOWN) && !ReadOnly()) {
        FButtons->Press(Key == VK_UP ? TSpinButtonSet::sbUpper : TSpinButtonSet::sbLower);
        Key = 0;
    }
}

void TNumSpinEdit::KeyUp(WORD& Key, TShiftState Shift)
{
    TNumNumberEdit::KeyUp(Key, Shift);
    if (Key == VK_UP || Key == VK_DOWN) {
        FButtons->Release();
        Key = 0;
    }
}

bool TNumSpinEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TNumNumberEdit::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    FWheelRest += WheelDelta;
    for (; FWheelRest >= WHEEL_DELTA; FWheelRest -= WHEEL_DELTA) {
        FButtons->Press(TSpinButtonSet::sbUpper);
        FButtons->Release();
    }
    for (; FWheelRest <= -WHEEL_DELTA; FWheelRest += WHEEL_DELTA) {
        FButtons->Press(TSpinButtonSet::sbLower);
        FButtons->Release();
    }
    return true;
}

void TNumSpinEdit::MouseEnter()
{
    TNumNumberEdit::MouseEnter();
    FButtons->SetHover(TSpinHalf::shBoth);
}

void TNumSpinEdit::MouseLeave()
{
    TNumNumberEdit::MouseLeave();
    FButtons->SetHover(TSpinHalf::shNone);
}
