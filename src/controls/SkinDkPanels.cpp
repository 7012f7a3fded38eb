#include "SkinDkPanels.h"

#include "classlib/ControlMessages.h"
#include "classlib/Form.h"
#include "classlib/ScopeExit.h"
#include "classlib/Seams.h"
#include "classlib/ShortCut.h"
#include "themes/SkinUtils.h"

#include <algorithm>
#include <vector>
#include <windowsx.h>

// --- Margins -------------------------------------------------------------------------

TRect TSkinControlMargins::Deflate(const TRect& r) const
{
    return TRect(r.left + FLeft, r.top + FTop, r.right - FRight, r.bottom - FBottom);
}

// --- Hover tracking ------------------------------------------------------------------

namespace {

// One timer for all panel objects, made by the first and freed with the
// last, and the panel that has the mouse now.
struct THoverState
{
    int Panels = 0;
    TTimer* Timer = nullptr;
    TSkinPanelObject* Tracked = nullptr;
};

THoverState& Hover()
{
    static THoverState state;
    return state;
}

TControl* ControlUnderCursor()
{
    return FindDragTarget(Seams().CursorPos(), true);
}

} // namespace

void TSkinPanelObject::CheckHover()
{
    TSkinPanelObject* tracked = Hover().Tracked;
    if (tracked && ControlUnderCursor() != tracked)
        tracked->LeaveHover();
}

// --- Panel object --------------------------------------------------------------------

TSkinPanelObject::TSkinPanelObject(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle((ControlStyle() | csAcceptsControls | csClickEvents | csDoubleClicks) &
                    ~csOpaque);
    SetParentColor(false);
    SetColor(clNone);
    THoverState& hover = Hover();
    if (hover.Panels++ == 0) {
        hover.Timer = new TTimer(nullptr);
        hover.Timer->SetEnabled(false);
        hover.Timer->SetInterval(125);
        hover.Timer->OnTimer = [](TObject*) { CheckHover(); };
    }
    ListenThemeChanges(this);
}

TSkinPanelObject::~TSkinPanelObject()
{
    UnlistenThemeChanges(this);
    THoverState& hover = Hover();
    if (hover.Tracked == this) {
        hover.Tracked = nullptr;
        hover.Timer->SetEnabled(false);
    }
    if (--hover.Panels == 0)
        FreeAndNil(hover.Timer);
}

void TSkinPanelObject::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TSkinPanelObject::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TSkinPanelObject::EnterHover()
{
    THoverState& hover = Hover();
    if (hover.Tracked)
        hover.Tracked->LeaveHover();
    hover.Tracked = this;
    hover.Timer->SetEnabled(true);
    if (!Enabled())
        return;
    FMouseInside = true;
    DoMouseEnter();
    Invalidate();
}

void TSkinPanelObject::LeaveHover()
{
    THoverState& hover = Hover();
    if (hover.Tracked == this) {
        hover.Tracked = nullptr;
        hover.Timer->SetEnabled(false);
    }
    if (!FMouseInside)
        return;
    FMouseInside = false;
    DoMouseLeave();
    Invalidate();
}

void TSkinPanelObject::SetPushed(bool value)
{
    if (value == FPushed)
        return;
    FPushed = value;
    Invalidate();
}

void TSkinPanelObject::MouseMove(TShiftState Shift, int X, int Y)
{
    if (Hover().Tracked != this && ControlUnderCursor() == this)
        EnterHover();
    else if (FMouseInside && MouseCapture() && !ClientRect().Contains(TPoint(X, Y)))
        LeaveHover();
    TCustomControl::MouseMove(Shift, X, Y);
}

void TSkinPanelObject::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft) {
        SetPushed(true);
        // A smart-focus control keeps the focus where it is unless the focus
        // is already on it.
        if (!FSmartFocus && CanFocus())
            SetFocus();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TSkinPanelObject::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft)
        SetPushed(false);
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TSkinPanelObject::EraseBackground(TMessage& m)
{
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    TRect client = ClientRect();
    if (Color() == clNone)
        PaintParentUnder(this, dc, client);
    else
        FillRectColor(dc, client, Color());
    m.Result = 1;
}

bool TSkinPanelObject::KeyMessage(TMessage& m)
{
    if (!FSpacePresses || m.WParam != VK_SPACE)
        return false;
    if (m.Msg == WM_KEYDOWN) {
        SetPushed(true);
        return true;
    }
    if (FPushed) {
        SetPushed(false);
        Click();
    }
    return true;
}

void TSkinPanelObject::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        EraseBackground(m);
        return;
    case WM_SKIN_THEMECHANGE:
        Invalidate();
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (KeyMessage(m))
            return;
        break;
    case WM_SETFOCUS:
        Invalidate(); // the focus rectangle comes
        break;
    case WM_KILLFOCUS:
        SetPushed(false);
        Invalidate(); // the focus rectangle goes
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled() && FMouseInside) {
            LeaveHover();
            if (HandleAllocated())
                SendMessageA(WindowHandle(), WM_CANCELMODE, 0, 0);
        }
        break;
    case CM_CANCELMODE:
        SetPushed(false);
        break;
    }
    TCustomControl::WndProc(m);
}

// --- Alignment panel -----------------------------------------------------------------

TSkinAlignmentPanel::TSkinAlignmentPanel(TComponent* AOwner)
    : TSkinPanelObject(AOwner), FMargins(new TSkinControlMargins)
{
    FMargins->OnChange = [this](TObject*) {
        Realign();
        Invalidate();
    };
}

TSkinAlignmentPanel::~TSkinAlignmentPanel()
{
    delete FMargins;
}

void TSkinAlignmentPanel::AdjustClientRect(TRect& rect)
{
    TSkinPanelObject::AdjustClientRect(rect);
    rect = FMargins->Deflate(rect);
}

int TSkinAlignmentPanel::LeastExtent(bool vertical)
{
    int extent =
        vertical ? FMargins->Top() + FMargins->Bottom() : FMargins->Left() + FMargins->Right();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        TAlign align = c->Align();
        bool stacked = vertical ? (align == TAlign::alTop || align == TAlign::alBottom)
                                : (align == TAlign::alLeft || align == TAlign::alRight);
        if (stacked) {
            extent += vertical ? c->Height() : c->Width();
        } else if (align == TAlign::alClient) {
            if (auto* panel = dynamic_cast<TSkinPanelObject*>(c))
                extent += vertical ? panel->LeastHeight() : panel->LeastWidth();
            else
                extent += vertical ? c->Constraints()->MinHeight() : c->Constraints()->MinWidth();
        }
    }
    return extent;
}

int TSkinAlignmentPanel::LeastHeight()
{
    return LeastExtent(true);
}

int TSkinAlignmentPanel::LeastWidth()
{
    return LeastExtent(false);
}

// --- Text object ---------------------------------------------------------------------

UINT SkinTextFlags(TAlignment alignment, TTextWrapping wrapping, bool showAccelChar, bool measuring)
{
    UINT flags = DT_EXPANDTABS;
    switch (alignment) {
    case TAlignment::taLeftJustify:
        flags |= DT_LEFT;
        break;
    case TAlignment::taRightJustify:
        flags |= DT_RIGHT;
        break;
    case TAlignment::taCenter:
        flags |= DT_CENTER;
        break;
    }
    switch (wrapping) {
    case TTextWrapping::twNone:
        flags |= measuring ? 0 : DT_SINGLELINE;
        break;
    case TTextWrapping::twEndEllipsis:
        flags |= DT_END_ELLIPSIS | (measuring ? 0 : DT_SINGLELINE);
        break;
    case TTextWrapping::twPathEllipsis:
        flags |= DT_PATH_ELLIPSIS | (measuring ? 0 : DT_SINGLELINE);
        break;
    case TTextWrapping::twWrap:
        flags |= DT_WORDBREAK;
        break;
    }
    if (!showAccelChar)
        flags |= DT_NOPREFIX;
    return flags;
}

TSkinTextObject::TSkinTextObject(TComponent* AOwner)
    : TSkinPanelObject(AOwner), FMargins(new TSkinControlMargins)
{
    SetControlStyle(ControlStyle() | csSetCaption);
    FMargins->OnChange = [this](TObject*) {
        AdjustAutoSize();
        Invalidate();
    };
    SetWidth(100);
    TSkinPanelObject::SetAutoSize(true);
}

TSkinTextObject::~TSkinTextObject()
{
    delete FMargins;
}

void TSkinTextObject::SetShowAccelChar(bool value)
{
    if (value == FShowAccelChar)
        return;
    FShowAccelChar = value;
    TextChanged();
}

void TSkinTextObject::SetWrapping(TTextWrapping value)
{
    if (value == FWrapping)
        return;
    FWrapping = value;
    TextChanged();
}

void TSkinTextObject::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Invalidate();
}

void TSkinTextObject::SetAutoSize(bool value)
{
    TSkinPanelObject::SetAutoSize(value);
    AdjustAutoSize();
}

void TSkinTextObject::DoDrawText(TCanvas* canvas, TRect& rect, UINT flags)
{
    AnsiString caption = LabelCaption();
    bool measuring = flags & DT_CALCRECT;
    if (measuring && (caption.empty() || caption == "&"))
        caption = " ";
    canvas->Font()->Assign(Font());
    DoAdjustFont(canvas);
    HDC dc = canvas->Handle();
    if (measuring) {
        DrawTextA(dc, caption.c_str(), -1, &rect, flags & ~DT_VCENTER);
    } else if (Enabled()) {
        DrawTextA(dc, caption.c_str(), -1, &rect, flags);
    } else {
        TRect moved = rect;
        OffsetRect(&moved, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        DrawTextA(dc, caption.c_str(), -1, &moved, flags);
        canvas->Font()->SetColor(clBtnShadow);
        DrawTextA(canvas->Handle(), caption.c_str(), -1, &rect, flags);
    }
}

void TSkinTextObject::AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight)
{
    TRect room = FMargins->Deflate(ClientRect());
    TRect caption = CaptionMargins();
    room = TRect(room.left + caption.left, room.top + caption.top, room.right - caption.right,
                 room.bottom - caption.bottom);
    DoDrawText(canvas, room,
               DT_CALCRECT | SkinTextFlags(CaptionAlignment(), FWrapping, FShowAccelChar, true));
    newWidth = room.Width() + FMargins->Left() + FMargins->Right() + caption.left + caption.right;
    newHeight = room.Height() + FMargins->Top() + FMargins->Bottom() + caption.top + caption.bottom;
}

TPoint TSkinTextObject::AutoExtent()
{
    // Measures as the screen shows it, without a round trip to the window
    // server (a screen DC takes one).
    TMemoryDC dc(nullptr);
    TCanvas canvas;
    TCanvasDCScope scope(&canvas, dc.Handle());
    int width = Width();
    int height = Height();
    AutoSizeExtent(&canvas, width, height);
    return TPoint(width, height);
}

void TSkinTextObject::AdjustAutoSize()
{
    if (!AutoSize() || FAdjusting || HasState(csLoading) || HasState(csReading))
        return;
    FAdjusting = true;
    TScopeExit adjusted([this] { FAdjusting = false; });
    TPoint extent = AutoExtent();
    SetBounds(Left(), Top(), AutoSizesWidth() ? extent.x : Width(), extent.y);
}

void TSkinTextObject::TextChanged()
{
    Invalidate();
    AdjustAutoSize();
}

void TSkinTextObject::CreateWnd()
{
    TSkinPanelObject::CreateWnd();
    AdjustAutoSize();
}

void TSkinTextObject::Loaded()
{
    TSkinPanelObject::Loaded();
    AdjustAutoSize();
}

void TSkinTextObject::Paint()
{
    TCanvas* canvas = Canvas();
    TRect room = FMargins->Deflate(ClientRect());
    if (Focused()) {
        TRect focus = GetFocusRect();
        if (!IsRectEmpty(&focus)) {
            canvas->Font()->SetColor(clBlack);
            canvas->Brush()->SetColor(clWhite);
            canvas->DrawFocusRect(focus);
        }
    }
    TRect caption = CaptionMargins();
    TRect text(room.left + caption.left, room.top + caption.top, room.right - caption.right,
               room.bottom - caption.bottom);
    UINT flags = SkinTextFlags(CaptionAlignment(), FWrapping, FShowAccelChar, false);
    TRect measured = text;
    DoDrawText(canvas, measured, flags | DT_CALCRECT);
    int height = measured.Height();
    text.top = (text.top + text.bottom - height) / 2;
    text.bottom = text.top + height;
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    DoDrawText(canvas, text, flags);
}

void TSkinTextObject::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_TEXTCHANGED:
        TSkinPanelObject::WndProc(m);
        TextChanged();
        return;
    case CM_FONTCHANGED:
        TSkinPanelObject::WndProc(m);
        AdjustAutoSize();
        return;
    }
    TSkinPanelObject::WndProc(m);
}

// --- Button --------------------------------------------------------------------------

namespace {

// The theme's width of a split button's arrow part and of a drop-down arrow.
constexpr int kSplitArrowMetric = 10;
constexpr int kDropArrowMetric = 20;

// The room a drop-down menu takes on the right: the arrow part of a combo,
// else the arrow beside the caption (none when the glyph sits above or
// below a caption, the arrow then fits beside them).
int DropDownRoom(bool combo, bool glyphAcross, TSkinTheme* theme)
{
    if (!theme)
        return 0;
    if (combo)
        return theme->IntegerMetric(kSplitArrowMetric);
    return glyphAcross ? 0 : theme->IntegerMetric(kDropArrowMetric);
}

// Takes the mouse-button presses and releases still queued for window out
// of the queue (the press that closed its menu must not open it again);
// those of other windows, and a quit request, are queued again.
void DropPendingMouseButtons(HWND window)
{
    std::vector<MSG> others;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = msg.wParam;
        } else if (msg.hwnd != window) {
            others.push_back(msg);
        }
    }
    for (const MSG& m : others)
        PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
}

} // namespace

TSkinButton::TSkinButton(TComponent* AOwner) : TSkinTextObject(AOwner), FImageLink(new TChangeLink)
{
    FImageLink->OnChange = [this](TObject*) { ContentChanged(); };
    SetAlignment(TAlignment::taCenter);
    SetSmartFocus(true);
    SetSpacePresses(true);
    SetTabStop(true);
}

TSkinButton::~TSkinButton()
{
    StopRepeat();
    SetImages(nullptr);
    SetDropDownMenu(nullptr);
    delete FImageLink;
}

void TSkinButton::ContentChanged()
{
    AdjustAutoSize();
    Invalidate();
}

void TSkinButton::SetChecked(bool value)
{
    if (FGroupIndex == 0)
        value = false;
    if (value == FChecked || (FChecked && !FAllowAllUnchecked))
        return;
    FChecked = value;
    Invalidate();
    if (!value || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSkinButton*>(Parent()->Controls(i));
        if (!other || other == this || other->FGroupIndex != FGroupIndex)
            continue;
        other->FAllowAllUnchecked = FAllowAllUnchecked;
        if (other->FChecked) {
            other->FChecked = false;
            other->Invalidate();
        }
    }
}

void TSkinButton::SetGroupIndex(int value)
{
    FGroupIndex = value;
    if (value == 0 && FChecked) {
        FChecked = false;
        Invalidate();
    }
}

void TSkinButton::SetBorderSize(int value)
{
    FBorderSize = value;
    ContentChanged();
}

void TSkinButton::SetButtonStyle(TSkinButtonStyle value)
{
    FButtonStyle = value;
    Invalidate();
}

void TSkinButton::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    ReplaceLinkedImages(this, FImages, value, FImageLink);
    ContentChanged();
}

void TSkinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TSkinTextObject::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages) {
        FImages = nullptr;
        ContentChanged();
    }
    if (Operation == TOperation::opRemove && AComponent == FDropDownMenu) {
        FDropDownMenu = nullptr;
        ContentChanged();
    }
}

void TSkinButton::SetDropDownMenu(TPopupMenuBase* value)
{
    if (value == FDropDownMenu)
        return;
    ReplaceFreeNotified(this, FDropDownMenu, value);
    ContentChanged();
}

void TSkinButton::SetDropDownCombo(bool value)
{
    FDropDownCombo = value;
    ContentChanged();
}

void TSkinButton::SetImageIndex(int value)
{
    FImageIndex = value;
    Invalidate();
}

void TSkinButton::SetLayout(TSkinButtonLayout value)
{
    FLayout = value;
    ContentChanged();
}

void TSkinButton::SetGlyphSpacing(int value)
{
    FGlyphSpacing = value;
    ContentChanged();
}

void TSkinButton::AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight)
{
    int imageHeight = HasImages() ? FImages->Height() + 2 * FBorderSize : 0;
    if (Caption().empty()) {
        newHeight = HasImages() ? imageHeight : std::max(2 * FBorderSize, 16);
        return;
    }
    TSkinTextObject::AutoSizeExtent(canvas, newWidth, newHeight);
    if (HasImages() &&
        (FLayout == TSkinButtonLayout::blGlyphLeft || FLayout == TSkinButtonLayout::blGlyphRight))
        newHeight = std::max(newHeight, imageHeight);
}

TRect TSkinButton::CaptionMargins()
{
    TRect m(FBorderSize, FBorderSize, FBorderSize, FBorderSize);
    if (FDropDownMenu) {
        const bool glyphAcross = HasImages() && !Caption().empty() &&
                                 (FLayout == TSkinButtonLayout::blGlyphTop ||
                                  FLayout == TSkinButtonLayout::blGlyphBottom);
        m.right += DropDownRoom(FDropDownCombo, glyphAcross, CurrentTheme());
    }
    if (!HasImages())
        return m;
    int spacing = Caption().empty() ? 0 : FGlyphSpacing;
    switch (FLayout) {
    case TSkinButtonLayout::blGlyphLeft:
        m.left += FImages->Width() + spacing;
        break;
    case TSkinButtonLayout::blGlyphRight:
        m.right += FImages->Width() + spacing;
        break;
    case TSkinButtonLayout::blGlyphTop:
        m.top += FImages->Height() + spacing;
        break;
    case TSkinButtonLayout::blGlyphBottom:
        m.bottom += FImages->Height() + spacing;
        break;
    }
    return m;
}

TRect TSkinButton::GetFocusRect()
{
    TRect r = ClientRect();
    InflateRect(&r, -2, -2);
    return r;
}

TSkinItemInfo TSkinButton::FillControlItemInfo()
{
    TSkinItemInfo info = {};
    info.ViewKindBits =
        FButtonStyle == TSkinButtonStyle::bsNormal ? vkToolbarGroup | vkOpaque : vkToolbarGroup;
    info.ItemOptions = sioToolbarStyle | sioAppActive;
    info.Enabled = Enabled();
    // A combo's face stays up while its arrow holds the menu open.
    info.Pushed = Pushed() && (MouseInside() || FDropDownPress) && !(IsCombo() && FDropDownPress);
    info.Selected = FChecked;
    if (MouseInside() || FDropDownPress)
        info.HotState = kSkinMouseHot;
    if (FDropDownMenu)
        info.ButtonPartKind = FDropDownCombo ? kSkinSplitMain : kSkinArrowButton;
    info.PopupOpen = FDropDownPress;
    return info;
}

void TSkinButton::DoAdjustFont(TCanvas* canvas)
{
    if (TSkinTheme* theme = CurrentTheme())
        canvas->Font()->SetColor(theme->ItemInkColor(FillControlItemInfo()));
}

// The glyph beside the caption on the side of the layout, centred across.
TRect TSkinButton::GlyphRect()
{
    TRect room = Margins()->Deflate(ClientRect());
    InflateRect(&room, -FBorderSize, -FBorderSize);
    int w = FImages->Width(), h = FImages->Height();
    int x = room.left + (room.Width() - w) / 2;
    int y = room.top + (room.Height() - h) / 2;
    switch (FLayout) {
    case TSkinButtonLayout::blGlyphLeft:
        x = room.left;
        break;
    case TSkinButtonLayout::blGlyphRight:
        x = room.right - w;
        break;
    case TSkinButtonLayout::blGlyphTop:
        y = room.top;
        break;
    case TSkinButtonLayout::blGlyphBottom:
        y = room.bottom - h;
        break;
    }
    if (Caption().empty()) {
        x = room.left + (room.Width() - w) / 2;
        y = room.top + (room.Height() - h) / 2;
    }
    return TRect(x, y, x + w, y + h);
}

void TSkinButton::Paint()
{
    TSkinTheme* theme = CurrentTheme();
    if (theme) {
        TSkinItemInfo info = FillControlItemInfo();
        const TRect face = Margins()->Deflate(ClientRect());
        if (FDropDownMenu)
            PaintDropDownFace(theme, face, info);
        else
            theme->DrawButtonFace(Canvas(), face, info);
        if (HasImages())
            theme->DrawItemPicture(Canvas(), GlyphRect(), info, FImages, FImageIndex);
    }
    TSkinTextObject::Paint();
}

// A combo: the face, then the arrow part beside it. Otherwise one face with
// the arrow drawn inside its right border.
void TSkinButton::PaintDropDownFace(TSkinTheme* theme, const TRect& face, const TSkinItemInfo& info)
{
    if (IsCombo()) {
        const int split = face.right - theme->IntegerMetric(kSplitArrowMetric);
        TSkinItemInfo arrow = info;
        arrow.ButtonPartKind = kSkinSplitArrow;
        arrow.Pushed = FDropDownPress;
        arrow.Selected = 0;
        theme->DrawButtonFace(Canvas(), TRect(face.left, face.top, split, face.bottom), info);
        theme->DrawButtonFace(Canvas(), TRect(split, face.top, face.right, face.bottom), arrow);
        return;
    }
    theme->DrawButtonFace(Canvas(), face, info);
    const int right = face.right - FBorderSize;
    theme->DrawDropArrow(
        Canvas(),
        TRect(right - theme->IntegerMetric(kDropArrowMetric), face.top, right, face.bottom), info);
}

void TSkinButton::Click()
{
    if (FRepeatingClick) {
        TSkinTextObject::Click();
        return;
    }
    if (FGroupIndex != 0 && !FDropDownPress)
        SetChecked(!FChecked);
    LeaveHover();
    const bool dropDown = FDropDownMenu && (!FDropDownCombo || FDropDownPress);
    if (dropDown) {
        if (OpenDropDown())
            ShowDropDown();
        return;
    }
    if (FModalResult != 0)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
    TSkinTextObject::Click();
}

bool TSkinButton::OpenDropDown()
{
    bool allow = FDropDownMenu != nullptr;
    if (OnDropDown)
        OnDropDown(this, allow);
    return allow && FDropDownMenu;
}

void TSkinButton::ShowDropDown()
{
    // The press ends here, whatever the menu does.
    struct TPressEnd
    {
        TSkinButton* Button;
        ~TPressEnd()
        {
            Button->FDropDownPress = false;
            Button->SetPushed(false);
            Button->Repaint();
            DropPendingMouseButtons(Button->Handle());
        }
    } pressEnd{this};
    FDropDownMenu->SetPopupComponent(this);
    TRect r = ClientRect();
    const TPoint topLeft = ClientToScreen(TPoint(r.left, r.top));
    OffsetRect(&r, topLeft.x, topLeft.y);
    if (auto* themed = dynamic_cast<TSkinPopupMenu*>(FDropDownMenu))
        themed->ShowPopupAt(r);
    else
        FDropDownMenu->Popup(r.left, r.bottom);
}

bool TSkinButton::PressDropsDown(int x)
{
    if (!FDropDownMenu)
        return false;
    if (!FDropDownCombo)
        return true;
    TSkinTheme* theme = CurrentTheme();
    const int arrow = theme ? theme->IntegerMetric(kSplitArrowMetric) : 0;
    return x >= Margins()->Deflate(ClientRect()).right - arrow;
}

bool TSkinButton::HitsDropButton(TPoint p)
{
    return Margins()->Deflate(ClientRect()).Contains(p);
}

void TSkinButton::RepeatClick()
{
    FRepeatingClick = true;
    TScopeExit clicked([this] { FRepeatingClick = false; });
    Click();
}

void TSkinButton::RepeatTick(TObject*)
{
    FRepeatTimer->SetInterval(FRepeatInterval);
    TPoint cursor = ScreenToClient(Seams().CursorPos());
    if (!MouseCapture() || !Pushed() || !ClientRect().Contains(cursor)) {
        FRepeatTimer->SetEnabled(false);
        return;
    }
    RepeatClick();
}

void TSkinButton::StopRepeat()
{
    FreeAndNil(FRepeatTimer);
}

void TSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSkinTextObject::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft)
        return;
    if (PressDropsDown(X)) {
        FDropDownPress = true;
        // The press clicks; the release does not click again.
        SetControlState(ControlState() & ~csClicked);
        Click();
        return;
    }
    if (!FRepeating)
        return;
    RepeatClick();
    // The press has clicked; the release does not click again.
    SetControlState(ControlState() & ~csClicked);
    StopRepeat();
    FRepeatTimer = new TTimer(nullptr);
    FRepeatTimer->SetInterval(FRepeatDelay);
    FRepeatTimer->OnTimer = [this](TObject* sender) { RepeatTick(sender); };
}

void TSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    StopRepeat();
    TSkinTextObject::MouseUp(Button, Shift, X, Y);
}

void TSkinButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCHITTEST:
        if (!HasState(csDesigning)) {
            TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            if (!HitsDropButton(p)) {
                m.Result = HTTRANSPARENT;
                return;
            }
        }
        break;
    case CM_DIALOGCHAR:
        if (ShowAccelChar() && IsAccelerator(static_cast<char>(m.WParam), Caption()) && Enabled() &&
            CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    case WM_LBUTTONDBLCLK:
        // A double click is a second press.
        m.Msg = WM_LBUTTONDOWN;
        break;
    case CM_CANCELMODE:
        StopRepeat();
        break;
    }
    TSkinTextObject::WndProc(m);
}
