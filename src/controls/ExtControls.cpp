#include "ExtControls.h"

#include "classlib/Application.h"
#include "classlib/ControlMessages.h"
#include "classlib/HintWindow.h"
#include "classlib/ScopeExit.h"
#include "classlib/Seams.h"
#include "classlib/ShortCut.h"
#include "classlib/WideText.h"
#include "controls/NumThemesSupport.h"
#include "unicode/UniActnList.h"
#include "unicode/UniClasses.h"
#include "unicode/UniControls.h"
#include "unicode/UniForms.h"

#include <algorithm>
#include <cstdint>
#include <typeinfo>
#include <vssym32.h>

// --- Text object ---------------------------------------------------------------------

const TClassInfo& TExtTextObject::StaticClassInfo()
{
    static const TClassInfo info{.Name = "TExtTextObject",
                                 .Props = ExtWideTextProps<TExtTextObject>()};
    return info;
}

// Classes that publish their parent's properties under their own names, so
// that a description is read only into a control of its class.
const TClassInfo& TExtProgressBar::StaticClassInfo()
{
    static const TClassInfo info{.Name = "TExtProgressBar",
                                 .Parent = &TExtTextObject::StaticClassInfo()};
    return info;
}

const TClassInfo& TExtCheckBox::StaticClassInfo()
{
    static const TClassInfo info{.Name = "TExtCheckBox",
                                 .Parent = &TExtTextObject::StaticClassInfo()};
    return info;
}

const TClassInfo& TExtRadioButton::StaticClassInfo()
{
    static const TClassInfo info{.Name = "TExtRadioButton",
                                 .Parent = &TExtTextObject::StaticClassInfo()};
    return info;
}

const TClassInfo& TExtLabel::StaticClassInfo()
{
    static const TClassInfo info{.Name = "TExtLabel", .Parent = &TExtTextObject::StaticClassInfo()};
    return info;
}

TExtTextObject::TExtTextObject(TComponent* AOwner)
    : TSkinTextObject(AOwner), FImageLink(std::make_unique<TChangeLink>()),
      FLinkFont(std::make_unique<TFont>())
{
    FLinkFont->SetColor(0xFF0000);
    FLinkFont->SetStyle(fsUnderline);
    FImageLink->OnChange = [this](TObject*) { ContentChanged(); };
    SetTabStop(true);
    SetSmartFocus(true);
    SetSpacePresses(true);
}

TExtTextObject::~TExtTextObject()
{
    SetImages(nullptr);
}

WideString TExtTextObject::WideHint()
{
    return ControlWideHint(this);
}

void TExtTextObject::SetWideHint(const WideString& value)
{
    SetControlWideHint(this, value);
}

void TExtTextObject::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    ReplaceLinkedImages(this, FImages, value, FImageLink.get());
    ContentChanged();
}

void TExtTextObject::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    ContentChanged();
}

void TExtTextObject::ContentChanged()
{
    AdjustAutoSize();
    Invalidate();
}

void TExtTextObject::Notification(TComponent* AComponent, TOperation Operation)
{
    TSkinTextObject::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages) {
        FImages = nullptr;
        ContentChanged();
    }
}

void TExtTextObject::DefineProperties(TFiler& Filer)
{
    TSkinTextObject::DefineProperties(Filer);
    DeclareWideStreamProps(Filer, this);
}

void TExtTextObject::AskImageIndex(TCustomImageList*& images, int& index)
{
    images = FImages;
    index = FImageIndex;
    if (OnGetImageIndex)
        OnGetImageIndex(this, images, index);
}

namespace {

// The size of the glyph, or 0 x 0 when the index lies outside the list.
SIZE GlyphSizeOf(TCustomImageList* images, int index)
{
    if (!images || index < 0 || index >= images->Count())
        return SIZE{0, 0};
    return SIZE{images->Width(), images->Height()};
}

} // namespace

void TExtTextObject::SetWideCaption(const WideString& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    SetCaption(WideToAnsi(value));
}

void TExtTextObject::SetCaptionGlow(TSpGlowDirection value)
{
    FCaptionGlow = value;
    Invalidate();
}

void TExtTextObject::SetCaptionGlowColor(TColor value)
{
    FCaptionGlowColor = value;
    Invalidate();
}

void TExtTextObject::SetThemeType(TExtThemeType value)
{
    FThemeType = value;
    Invalidate();
}

void TExtTextObject::DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault)
{
    if (OnDraw)
        OnDraw(this, canvas, rect, stage, paintDefault);
}

void TExtTextObject::DoDrawText(TCanvas* canvas, TRect& rect, UINT flags)
{
    canvas->Font()->Assign(Font());
    DoAdjustFont(canvas);
    TCustomImageList* images = nullptr;
    int imageIndex = -1;
    AskImageIndex(images, imageIndex);
    const SIZE glyph = GlyphSizeOf(images, imageIndex);
    if (flags & DT_CALCRECT) {
        const WideString shown = ExtShownCaptionText(FCaption);
        WideString caption = shown.empty() || shown == L"&" ? WideString(L" ") : FCaption;
        // The glyph sits beside the caption, 4 pixels away when there is one.
        const int beside = glyph.cx ? glyph.cx + (shown.empty() ? 0 : 4) : 0;
        TRect text = rect;
        text.right -= beside;
        ExtPaintCaptionGlow(canvas, caption, text, flags, FCaptionGlow, FCaptionGlowColor);
        rect = TRect(rect.left, rect.top, rect.left + beside + text.Width(),
                     rect.top + std::max<int>(text.Height(), glyph.cy));
        return;
    }
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect client = ClientRect();
    WideString caption = FCaption;
    bool paintDefault = true;
    if (OnDrawCaption)
        OnDrawCaption(this, canvas, client, caption, rect, flags, false, 0, paintDefault);
    if (paintDefault) {
        // With a glyph the caption goes where the layout leaves room for it.
        TRect area = rect;
        if (glyph.cx) {
            TExtCaptionLayout layout = ExtLayoutCaption(canvas, rect, caption, CaptionAlignment(),
                                                        flags, glyph, false, false);
            images->Draw(canvas, layout.GlyphPos.x, layout.GlyphPos.y, imageIndex, Enabled());
            area = TRect(layout.TextRect.left, rect.top, layout.TextRect.right, rect.bottom);
        }
        if (Enabled()) {
            FTextRect = ExtDrawCaption(canvas, area, caption, CaptionAlignment(), flags,
                                       FCaptionGlow, FCaptionGlowColor);
        } else {
            if (ExtResolveThemeKind(FThemeType) == TExtThemeType::thtNone) {
                TRect moved = area;
                OffsetRect(&moved, 1, 1);
                canvas->Font()->SetColor(clBtnHighlight);
                ExtDrawCaption(canvas, moved, caption, CaptionAlignment(), flags,
                               TSpGlowDirection::gldNone, 0);
            }
            canvas->Font()->SetColor(clBtnShadow);
            FTextRect = ExtDrawCaption(canvas, area, caption, CaptionAlignment(), flags,
                                       TSpGlowDirection::gldNone, 0);
        }
    }
    paintDefault = true;
    if (OnDrawCaption)
        OnDrawCaption(this, canvas, client, caption, rect, flags, false, 1, paintDefault);
}

void TExtTextObject::Paint()
{
    TCanvas* canvas = Canvas();
    TRect room = Margins()->Deflate(ClientRect());
    canvas->Font()->Assign(Font());
    DoAdjustFont(canvas);
    bool paintDefault = true;
    DoDrawItem(canvas, room, 0, paintDefault);
    TRect margins = CaptionMargins();
    TRect text(room.left + margins.left, room.top + margins.top, room.right - margins.right,
               room.bottom - margins.bottom);
    DoDrawText(canvas, text, SkinTextFlags(CaptionAlignment(), Wrapping(), ShowAccelChar(), false));
    paintDefault = true;
    DoDrawItem(canvas, room, 1, paintDefault);
    if (Focused()) {
        TRect focus = GetFocusRect();
        if (!IsRectEmpty(&focus))
            canvas->DrawFocusRect(focus);
    }
}

void TExtTextObject::DoAdjustFont(TCanvas* canvas)
{
    if (ShowsLink())
        canvas->Font()->Assign(FLinkFont.get());
}

void TExtTextObject::DoMouseEnter()
{
    TSkinTextObject::DoMouseEnter();
    if (FLinkText.empty() || HasState(csDesigning))
        return;
    FCursorBeforeLink = Cursor();
    SetCursor(crHandPoint);
    Invalidate();
}

void TExtTextObject::DoMouseLeave()
{
    TSkinTextObject::DoMouseLeave();
    if (Cursor() == crHandPoint && !FLinkText.empty())
        SetCursor(FCursorBeforeLink);
}

TRect TExtTextObject::GetFocusRect()
{
    if (FCaption.empty() || IsRectEmpty(&FTextRect))
        return TRect();
    TRect r = FTextRect;
    InflateRect(&r, 1, 1);
    return r;
}

void TExtTextObject::Click()
{
    Invalidate();
    TSkinTextObject::Click();
    OpenLinkTarget();
}

void TExtTextObject::OpenLinkTarget()
{
    if (FLinkText.empty())
        return;
    TShellExecuteRequest request;
    request.Owner = Application->Handle();
    request.Operation = "open";
    request.File = WideToAnsi(FLinkText);
    request.Parameters = WideToAnsi(FLinkTextParams);
    Seams().ShellExecute(request);
}

void ExtFollowAnsiCaption(WideString& wide, const AnsiString& ansi)
{
    if (WideToAnsi(wide) != ansi)
        wide = AnsiToWide(ansi);
}

// --- Actions -------------------------------------------------------------------------

namespace {

// Passes a wide action's caption and hint on as wide text, and any action's
// check state and image index.
class TExtTextObjectActionLink : public TControlActionLink
{
public:
    explicit TExtTextObjectActionLink(TExtTextObject* client)
        : TControlActionLink(client), FTextObject(client)
    {
    }

    bool IsCaptionLinked() override
    {
        return TControlActionLink::IsCaptionLinked() &&
               (!IsWideAction(Action()) ||
                FTextObject->WideCaption() == ActionWideCaptionShown(Action()));
    }
    bool IsHintLinked() override
    {
        return TControlActionLink::IsHintLinked() &&
               (!IsWideAction(Action()) ||
                FTextObject->WideHint() == ActionWideHintShown(Action()));
    }
    bool IsCheckedLinked() override
    {
        return TControlActionLink::IsCheckedLinked() &&
               FTextObject->Checked() == CustomAction()->Checked();
    }
    bool IsImageIndexLinked() override
    {
        return TControlActionLink::IsImageIndexLinked() &&
               FTextObject->ImageIndex() == CustomAction()->ImageIndex();
    }
    void SetCaption(const AnsiString& value) override
    {
        if (IsCaptionLinked())
            FTextObject->SetWideCaption(ActionWideCaptionToShow(Action(), value));
    }
    void SetHint(const AnsiString& value) override
    {
        if (IsHintLinked())
            FTextObject->SetWideHint(ActionWideHintToShow(Action(), value));
    }
    void SetChecked(bool value) override
    {
        if (IsCheckedLinked())
            FTextObject->ApplyActionChecked(value);
    }
    void SetImageIndex(int value) override
    {
        if (IsImageIndexLinked())
            FTextObject->SetImageIndex(value);
    }

private:
    TExtTextObject* FTextObject; // not owned: the client
};

} // namespace

TControlActionLink* TExtTextObject::CreateActionLink()
{
    return new TExtTextObjectActionLink(this);
}

void TExtTextObject::ApplyActionChecked(bool value)
{
    FApplyingActionCheck = true;
    TScopeExit applied([this] { FApplyingActionCheck = false; });
    SetChecked(value);
}

void TExtTextObject::ActionChange(TObject* Sender, bool CheckDefaults)
{
    const bool takeCaption = !CheckDefaults || FCaption.empty();
    const bool takeHint = !CheckDefaults || WideHint().empty();
    const bool takeChecked = !CheckDefaults || !Checked();
    const bool takeImage = !CheckDefaults || FImageIndex == -1;
    TSkinTextObject::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    if (takeCaption)
        SetWideCaption(ActionWideCaption(action));
    if (takeHint)
        SetWideHint(ActionWideHint(action));
    if (takeChecked)
        ApplyActionChecked(action->Checked());
    if (takeImage)
        SetImageIndex(action->ImageIndex());
}

// --- Hint bitmap ---------------------------------------------------------------------

void TExtTextObject::PaintHintStage(TBitmap* bitmap, WideString& hint, bool& paintDefault)
{
    if (OnDrawHint)
        OnDrawHint(this, bitmap, hint, paintDefault);
}

void TExtTextObject::PrepareHintBitmap(THintInfo& info)
{
    FHintBitmap = ExtMakeHintBitmap(WideShortHint(WideHint()),
                                    [this](TBitmap* bitmap, WideString& hint, bool& paintDefault) {
                                        PaintHintStage(bitmap, hint, paintDefault);
                                    });
    info.HintWindowClass = ExtCreateHintBitmapWindow;
}

void TExtTextObject::WndProc(TMessage& m)
{
    if (m.Msg == CM_HINTSHOW) {
        TSkinTextObject::WndProc(m);
        if (m.Result != 0)
            return;
        auto& info = *reinterpret_cast<THintInfo*>(m.LParam);
        if (OnDrawHint)
            PrepareHintBitmap(info);
        else
            info.HintWindowClass = CreateUniHintWindow;
        return;
    }
    if (m.Msg == CM_TEXTCHANGED)
        ExtFollowAnsiCaption(FCaption, Caption());
    if (m.Msg == CM_DIALOGCHAR && ShowAccelChar() &&
        IsAccelerator(static_cast<char>(m.WParam), Caption()) && CanFocus() && Visible()) {
        SetFocus();
        Click();
        m.Result = 1;
        return;
    }
    TSkinTextObject::WndProc(m);
}

// --- Progress bar --------------------------------------------------------------------

int ExtProgressPercentage(int position, int max, int min)
{
    position = std::clamp(position, std::min(min, max), std::max(min, max));
    if (!(min < max && min < position))
        return 0;
    return static_cast<int>((std::int64_t(position) - min) * 100 / (std::int64_t(max) - min));
}

namespace {

void FillClassicBar(TCanvas* canvas, const TRect& filled, bool vertical, bool smooth)
{
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(clHighlight);
    if (smooth) {
        canvas->FillRect(filled);
        return;
    }
    // Blocks as long as the bar is thick (two thirds of it), 2 pixels apart.
    int thickness = vertical ? filled.Width() : filled.Height();
    int block = std::max(thickness * 2 / 3, 2);
    if (vertical) {
        for (int bottom = filled.bottom; bottom > filled.top; bottom -= block + 2)
            canvas->FillRect(TRect(filled.left, std::max<int>(bottom - block, filled.top),
                                   filled.right, bottom));
    } else {
        for (int left = filled.left; left < filled.right; left += block + 2)
            canvas->FillRect(
                TRect(left, filled.top, std::min<int>(left + block, filled.right), filled.bottom));
    }
}

TRect FilledPart(const TRect& inner, bool vertical, int percentage)
{
    TRect filled = inner;
    if (vertical)
        filled.top =
            filled.bottom - static_cast<int>(std::int64_t(inner.Height()) * percentage / 100);
    else
        filled.right =
            filled.left + static_cast<int>(std::int64_t(inner.Width()) * percentage / 100);
    return filled;
}

} // namespace

int ExtPaintProgress(TCanvas* canvas, const TRect& rect, bool vertical, TExtThemeType themeType,
                     int position, int max, int min, bool smooth)
{
    int percentage = ExtProgressPercentage(position, max, min);
    HDC dc = canvas->Handle();
    if (ExtResolveThemeKind(themeType) == TExtThemeType::thtWindows &&
        DrawNumThemePart(nullptr, dc, L"PROGRESS", vertical ? PP_BARVERT : PP_BAR, 0, rect)) {
        TRect inner = rect;
        InflateRect(&inner, vertical ? -3 : -4, vertical ? -4 : -3);
        TRect filled = FilledPart(inner, vertical, percentage);
        if (!IsRectEmpty(&filled))
            DrawNumThemePart(nullptr, dc, L"PROGRESS", vertical ? PP_CHUNKVERT : PP_CHUNK, 0,
                             filled);
        return percentage;
    }
    TRect frame = rect;
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    TRect inner = rect;
    InflateRect(&inner, -2, -2);
    TRect filled = FilledPart(inner, vertical, percentage);
    if (!IsRectEmpty(&filled))
        FillClassicBar(canvas, filled, vertical, smooth);
    return percentage;
}

TExtProgressBar::TExtProgressBar(TComponent* AOwner) : TExtTextObject(AOwner)
{
    SetCaptionGlow(TSpGlowDirection::gldAll);
    SetAlignment(TAlignment::taCenter);
    SetThemeType(TExtThemeType::thtWindows);
    SetAutoSize(false);
    SetBounds(Left(), Top(), 150, 17);
    Font()->SetStyle(Font()->Style() | fsBold);
}

void TExtProgressBar::SetMin(int value)
{
    if (value == FMin)
        return;
    FMin = value;
    Invalidate();
}

void TExtProgressBar::SetMax(int value)
{
    if (value == FMax)
        return;
    FMax = value;
    Invalidate();
}

void TExtProgressBar::SetPosition(int value)
{
    value = std::max(std::min(value, FMax), FMin);
    if (value == FPosition)
        return;
    FPosition = value;
    Invalidate();
    FireProgressChange();
}

void TExtProgressBar::SetSmooth(bool value)
{
    FSmooth = value;
    Invalidate();
}

void TExtProgressBar::SetVertical(bool value)
{
    FVertical = value;
    Invalidate();
}

void TExtProgressBar::SetCaptionType(TExtProgressCaption value)
{
    FCaptionType = value;
    Invalidate();
}

void TExtProgressBar::FireProgressChange()
{
    if (OnProgressChange)
        OnProgressChange(this, FPosition);
}

void TExtProgressBar::DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault)
{
    TExtTextObject::DoDrawItem(canvas, rect, stage, paintDefault);
    if (stage != 0 || !paintDefault)
        return;
    int percentage =
        ExtPaintProgress(canvas, rect, FVertical, ThemeType(), FPosition, FMax, FMin, FSmooth);
    switch (FCaptionType) {
    case TExtProgressCaption::pctNone:
        SetWideCaption(WideString());
        break;
    case TExtProgressCaption::pctPercentage:
        SetWideCaption(std::to_wstring(percentage) + L"%");
        break;
    case TExtProgressCaption::pctProgress:
        SetWideCaption(std::to_wstring(FPosition));
        break;
    case TExtProgressCaption::pctDefault:
        break;
    }
}

// --- Check boxes and radio buttons ---------------------------------------------------

namespace {

// The visual-style state of a check box's glyph (and of a radio button's,
// whose states the style numbers as the unchecked and checked box's):
// disabled wins over pressed, pressed over hot.
int CheckThemeState(TCheckBoxState state, bool enabled, bool pushed, bool hot)
{
    static constexpr int kStates[3][4] = {
        {CBS_UNCHECKEDNORMAL, CBS_UNCHECKEDHOT, CBS_UNCHECKEDPRESSED, CBS_UNCHECKEDDISABLED},
        {CBS_CHECKEDNORMAL, CBS_CHECKEDHOT, CBS_CHECKEDPRESSED, CBS_CHECKEDDISABLED},
        {CBS_MIXEDNORMAL, CBS_MIXEDHOT, CBS_MIXEDPRESSED, CBS_MIXEDDISABLED}};
    const int look = !enabled ? 3 : pushed ? 2 : hot ? 1 : 0;
    return kStates[static_cast<int>(state)][look];
}

void PaintButtonGlyph(TCanvas* canvas, const TRect& rect, TExtThemeType themeType, int part,
                      int themeState, UINT classicState)
{
    HDC dc = canvas->Handle();
    if (ExtResolveThemeKind(themeType) == TExtThemeType::thtWindows &&
        DrawNumThemePart(nullptr, dc, L"BUTTON", part, themeState, rect))
        return;
    TRect r = rect;
    DrawFrameControl(dc, &r, DFC_BUTTON, classicState);
}

UINT ClassicStateFlags(bool enabled, bool pushed)
{
    return (enabled ? 0 : DFCS_INACTIVE) | (pushed ? DFCS_PUSHED : 0);
}

} // namespace

void ExtPaintCheckGlyph(TCanvas* canvas, const TRect& rect, bool enabled, TExtThemeType themeType,
                        bool pushed, bool hot, TCheckBoxState state)
{
    UINT classic = DFCS_BUTTONCHECK | ClassicStateFlags(enabled, pushed);
    if (state == TCheckBoxState::cbChecked)
        classic |= DFCS_CHECKED;
    else if (state == TCheckBoxState::cbGrayed)
        classic |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    PaintButtonGlyph(canvas, rect, themeType, BP_CHECKBOX,
                     CheckThemeState(state, enabled, pushed, hot), classic);
}

void ExtPaintRadioGlyph(TCanvas* canvas, const TRect& rect, bool enabled, TExtThemeType themeType,
                        bool pushed, bool hot, bool checked)
{
    UINT classic =
        DFCS_BUTTONRADIO | ClassicStateFlags(enabled, pushed) | (checked ? DFCS_CHECKED : 0);
    TCheckBoxState state = checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
    PaintButtonGlyph(canvas, rect, themeType, BP_RADIOBUTTON,
                     CheckThemeState(state, enabled, pushed, hot), classic);
}

TExtButtonControl::TExtButtonControl(TComponent* AOwner) : TExtTextObject(AOwner) {}

TRect TExtButtonControl::CaptionMargins()
{
    return TRect(kGlyphSize + 4, 0, 0, 0);
}

void TExtButtonControl::AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight)
{
    TExtTextObject::AutoSizeExtent(canvas, newWidth, newHeight);
    ++newWidth;
    newHeight = std::max(newHeight, kGlyphSize) + 2;
}

void TExtButtonControl::DoDrawItem(TCanvas* canvas, const TRect& rect, int stage,
                                   bool& paintDefault)
{
    TExtTextObject::DoDrawItem(canvas, rect, stage, paintDefault);
    if (stage != 0 || !paintDefault)
        return;
    int top = (rect.top + rect.bottom - kGlyphSize) / 2;
    PaintGlyph(canvas, TRect(rect.left, top, rect.left + kGlyphSize, top + kGlyphSize));
}

void TExtButtonControl::AskImageIndex(TCustomImageList*& images, int& index)
{
    images = nullptr;
    index = -1;
}

void TExtButtonControl::StateChanged(bool click)
{
    Invalidate();
    if (FGroupIndex != -1 && Checked() && Parent()) {
        TMessage m = {CM_EXTBUTTONGROUP, static_cast<WPARAM>(FGroupIndex),
                      reinterpret_cast<LPARAM>(this), 0};
        Parent()->Broadcast(m);
    }
    if (!click || ApplyingActionCheck())
        return;
    FStateClick = true;
    TScopeExit clicked([this] { FStateClick = false; });
    Click();
}

bool TExtButtonControl::SameGroup(const TExtButtonControl* other) const
{
    return FGroupIndex != -1 && typeid(*other) == typeid(*this) &&
           other->FGroupIndex == FGroupIndex;
}

TExtButtonControl* TExtButtonControl::CheckedInGroup()
{
    if (FGroupIndex == -1 || !Parent())
        return nullptr;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* member = dynamic_cast<TExtButtonControl*>(Parent()->Controls(i));
        if (member && SameGroup(member) && member->Checked() && member->CanFocus())
            return member;
    }
    return nullptr;
}

void TExtButtonControl::WndProc(TMessage& m)
{
    if (m.Msg == CM_EXTBUTTONGROUP) {
        auto* sender = reinterpret_cast<TExtButtonControl*>(m.LParam);
        if (sender != this && SameGroup(sender) && Checked())
            SetChecked(false);
        return;
    }
    TExtTextObject::WndProc(m);
}

TExtCheckBox::TExtCheckBox(TComponent* AOwner) : TExtButtonControl(AOwner) {}

void TExtCheckBox::SetState(TCheckBoxState value)
{
    if (value == FState)
        return;
    FState = value;
    StateChanged(true);
}

void TExtCheckBox::SetChecked(bool value)
{
    SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TExtCheckBox::Toggle()
{
    SetState(NextCheckBoxState(FState, FAllowGrayed));
}

void TExtCheckBox::Click()
{
    if (InStateClick())
        TExtButtonControl::Click();
    else
        Toggle();
}

void TExtCheckBox::PaintGlyph(TCanvas* canvas, const TRect& rect)
{
    ExtPaintCheckGlyph(canvas, rect, Enabled(), ThemeType(), Pushed(), IsHot(), FState);
}

TExtRadioButton::TExtRadioButton(TComponent* AOwner) : TExtButtonControl(AOwner)
{
    SetGroupIndexValue(0);
}

void TExtRadioButton::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    StateChanged(value);
}

void TExtRadioButton::Click()
{
    if (InStateClick())
        TExtButtonControl::Click();
    else if (!FChecked)
        SetChecked(true);
}

void TExtRadioButton::PaintGlyph(TCanvas* canvas, const TRect& rect)
{
    ExtPaintRadioGlyph(canvas, rect, Enabled(), ThemeType(), Pushed(), IsHot(), FChecked);
}

TWinControl* TExtRadioButton::FocusTarget()
{
    TExtButtonControl* checked = CheckedInGroup();
    return checked ? checked : this;
}

void TExtRadioButton::WndProc(TMessage& m)
{
    TExtButtonControl::WndProc(m);
    // A Tab or Shift+Tab walk only passes by: walking to a window's buttons
    // must not change a choice. Arrow keys, clicks and the program's placing
    // of the focus check the button.
    if (m.Msg == WM_SETFOCUS && !SeamKeyHeld(VK_TAB))
        SetChecked(true);
}

// --- Label ---------------------------------------------------------------------------

TExtLabel::TExtLabel(TComponent* AOwner) : TExtTextObject(AOwner)
{
    SetTabStop(false);
}

void TExtLabel::SetFocusControl(TWinControl* value)
{
    ReplaceFreeNotified<TWinControl>(this, FFocusControl, value);
}

void TExtLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TExtTextObject::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TExtLabel::SetUnderline(bool value)
{
    if (value == FUnderline)
        return;
    FUnderline = value;
    AdjustAutoSize();
    Invalidate();
}

void TExtLabel::SetUnderlineColor(TColor value)
{
    FUnderlineColor = value;
    Invalidate();
}

void TExtLabel::AutoSizeExtent(TCanvas* canvas, int& newWidth, int& newHeight)
{
    TExtTextObject::AutoSizeExtent(canvas, newWidth, newHeight);
    if (FUnderline)
        ++newHeight;
}

bool TExtLabel::AutoSizesWidth()
{
    return Wrapping() == TTextWrapping::twNone;
}

void TExtLabel::DoDrawItem(TCanvas* canvas, const TRect& rect, int stage, bool& paintDefault)
{
    TExtTextObject::DoDrawItem(canvas, rect, stage, paintDefault);
    if (stage != 0 || !paintDefault || !FUnderline)
        return;
    TRect client = ClientRect();
    canvas->Pen()->SetColor(FUnderlineColor);
    canvas->MoveTo(client.left, client.bottom - 1);
    canvas->LineTo(client.right, client.bottom - 1);
}

void TExtLabel::WndProc(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) {
        if (ShowAccelChar() && IsAccelerator(static_cast<char>(m.WParam), Caption()) &&
            FFocusControl && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            m.Result = 1;
        }
        return;
    }
    TExtTextObject::WndProc(m);
}
