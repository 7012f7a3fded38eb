#include "SkinExtItems.h"

#include "classlib/AnsiText.h"
#include "classlib/Application.h"
#include "classlib/Graphics.h"
#include "classlib/ImageList.h"
#include "classlib/TextUtils.h"
#include "classlib/WideText.h"
#include "toolbar/BarCommon.h"

#include <algorithm>
#include <climits>

namespace {

// A theme metric that shapes the box; a theme without it gives 0.
int BoxMetric(int index)
{
    return std::max(0, CurrentTheme()->IntegerMetric(index));
}

constexpr int kMenuLeadSpace = 32;    // before the image and the caption
constexpr int kMenuCaptionSpace = 33; // between the caption and the box
constexpr int kMenuTrailSpace = 34;   // after the box
constexpr int kTextMarginX = 60;      // inside the frame, at the sides
constexpr int kTextMarginY = 61;      // inside the frame, above and below
constexpr int kFrameWidth = 62;
constexpr int kExtraBoxHeight = 66;
constexpr int kToolbarButtonWidth = 65;
constexpr int kDefaultToolbarButtonWidth = 13;

constexpr UINT kSpinTimerId = 1;

} // namespace

// --- TSkinEditItem ------------------------------------------------------------------

TSkinEditItem::TSkinEditItem(TComponent* AOwner)
    : TBarEditItem(AOwner), FFontSettings(new TFontSettings), FEditorFontSettings(new TFontSettings)
{
    FFontSettings->OnChange = TNotifyEvent(this, &TSkinEditItem::FontSettingsChanged);
    FEditorFontSettings->OnChange = TNotifyEvent(this, &TSkinEditItem::FontSettingsChanged);
}

TSkinEditItem::~TSkinEditItem()
{
    delete FEditorFontSettings;
    delete FFontSettings;
}

void TSkinEditItem::PrepareEditor(TBarEditItemViewer* Viewer)
{
    TEdit* edit = Viewer->EditControl();
    FEditorFontSettings->Apply(edit->Font());
    edit->SetPasswordChar(FPasswordChar);
    edit->SetReadOnly(FReadOnly);
    edit->SetAlignment(FAlignment);
    edit->OnChange = [this, edit](TObject*) {
        if (OnChange)
            OnChange(this, edit->Text());
    };
    edit->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyDown)
            OnKeyDown(this, Key, Shift);
    };
    edit->OnKeyPress = [this](TObject*, char& Key) {
        if (OnKeyPress)
            OnKeyPress(this, Key);
    };
    edit->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyUp)
            OnKeyUp(this, Key, Shift);
    };
    TBarEditItem::PrepareEditor(Viewer);
}

TBarItemViewerClass TSkinEditItem::BoxViewerClass()
{
    return NewBarViewer<TSkinEditItemViewer>;
}

TBarItemViewerClass TSkinEditItem::ViewerClassForItem(TBarView* View)
{
    if (View->Orientation() == TBarViewOrientation::Vertical &&
        !(EditOptions() & tboUseEditWhenVertical))
        return NewBarViewer<TSkinItemViewer>;
    return BoxViewerClass();
}

bool TSkinEditItem::ViewerNeedsRebuild(TBarItemViewer* Viewer)
{
    const bool wantsBox = ViewerClassForItem(Viewer->View()) == BoxViewerClass();
    return wantsBox != (dynamic_cast<TSkinEditItemViewer*>(Viewer) != nullptr);
}

TBarPopupWindowClass TSkinEditItem::PopupClassForItem()
{
    return NewBarPopupWindow<TSkinPopupWindow>;
}

// --- TSkinEditItemViewer: measuring --------------------------------------------------

TSkinEditItem* TSkinEditItemViewer::SkinItem() const
{
    return static_cast<TSkinEditItem*>(Item());
}

bool TSkinEditItemViewer::HasBarLook()
{
    return TBarEditItemViewer::HasBarLook() || PopupKindOf(AskViewType(View())) == vkEditPopup;
}

bool TSkinEditItemViewer::HasBarMetrics()
{
    return TBarEditItemViewer::HasBarMetrics() || PopupKindOf(AskViewType(View())) == vkEditPopup;
}

bool TSkinEditItemViewer::CaptionShown()
{
    return !HasBarLook() && !SkinItem()->EditCaption().empty();
}

bool TSkinEditItemViewer::ImageShown()
{
    TSkinEditItem* item = SkinItem();
    return !HasBarLook() && item->ShowImage() && item->Images() && item->ImageIndex() >= 0 &&
           item->ImageIndex() < item->Images()->Count();
}

void TSkinEditItemViewer::ApplyCaptionFont(TCanvas* Canvas)
{
    Canvas->Font()->Assign(View()->GetFont());
    // clNone: the theme's item text colour.
    Canvas->Font()->SetColor(clNone);
    SkinItem()->FontSettings()->Apply(Canvas->Font());
}

TSkinEditLayout TSkinEditItemViewer::Layout(TCanvas* Canvas, SIZE Size)
{
    TSkinEditLayout L;
    int x = 0;
    int right = Size.cx;
    if (!HasBarLook()) {
        x = BoxMetric(kMenuLeadSpace);
        right -= BoxMetric(kMenuTrailSpace);
        if (ImageShown()) {
            TCustomImageList* images = SkinItem()->Images();
            const int top = (Size.cy - images->Height()) / 2;
            L.Image = TRect(x, top, x + images->Width(), top + images->Height());
            x = L.Image.right + BoxMetric(kMenuLeadSpace);
        }
        if (CaptionShown()) {
            const int w = Canvas->TextWidth(RemoveAccelMarks(SkinItem()->EditCaption()));
            L.Caption = TRect(x, 0, x + w, Size.cy);
            x = L.Caption.right + BoxMetric(kMenuCaptionSpace);
        }
    }
    L.Box = TRect(x, 0, std::max(x, right), Size.cy);
    TRect inside = L.Box;
    const int frame = BoxMetric(kFrameWidth);
    InflateRect(&inside, -frame, -frame);
    if (const int w = ButtonPartWidth(); w > 0) {
        L.Buttons =
            TRect(std::max(inside.left, inside.right - w), inside.top, inside.right, inside.bottom);
        inside.right = L.Buttons.left;
    }
    L.Text = inside;
    InflateRect(&L.Text, -BoxMetric(kTextMarginX), -BoxMetric(kTextMarginY));
    return L;
}

void TSkinEditItemViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    ApplyCaptionFont(Canvas);
    const int textHeight = Canvas->TextHeight("Wg");
    Height = textHeight + 2 * (BoxMetric(kTextMarginY) + BoxMetric(kFrameWidth)) +
             BoxMetric(kExtraBoxHeight);
    Width = SkinItem()->EditWidth();
    if (HasBarLook())
        return;
    // The box's left edge in a layout of no width is the room before it.
    const TSkinEditLayout before = Layout(Canvas, SIZE{0, Height});
    Width += before.Box.left + BoxMetric(kMenuTrailSpace);
    if (ImageShown())
        Height = std::max(Height, SkinItem()->Images()->Height());
}

void TSkinEditItemViewer::EditorBounds(TRect& R)
{
    const TRect bounds = BoundsRect();
    TBarMeasuringCanvas measuring(nullptr);
    ApplyCaptionFont(measuring.Canvas());
    const TSkinEditLayout L = Layout(measuring.Canvas(), SIZE{bounds.Width(), bounds.Height()});
    R = L.Box;
    if (!L.Buttons.IsEmpty())
        R.right = L.Buttons.left;
    OffsetRect(&R, bounds.left, bounds.top);
}

TBarEditorClass TSkinEditItemViewer::EditorClass()
{
    return []() -> TEdit* { return new TSkinEdit(nullptr); };
}

// --- TSkinEditItemViewer: painting ---------------------------------------------------

TSkinItemInfo TSkinEditItemViewer::MakeItemInfo(bool IsSelected, bool IsPushed)
{
    TBarCustomItem* item = Item();
    TSkinItemInfo info = {};
    info.ViewKindBits = AskViewType(View());
    if (HasBarLook())
        info.ItemOptions |= sioToolbarStyle;
    if (item->HasTrait(OpensPopup))
        info.ItemOptions |= sioHasSubmenu;
    if (Application && Application->Active())
        info.ItemOptions |= sioAppActive;
    info.Enabled = item->Enabled();
    info.Pushed = IsPushed;
    if (IsSelected)
        info.HotState = item->Enabled() ? kSkinMouseHot : kSkinKeyboardHot;
    if (ImageShown()) {
        info.PictureShown = 1;
        info.PictureWidth = SkinItem()->Images()->Width();
        info.PictureHeight = SkinItem()->Images()->Height();
    }
    info.PopupOpen = View()->OpenViewer() == this;
    return info;
}

void TSkinEditItemViewer::PaintCaptionPart(TCanvas* Canvas, const TSkinEditLayout& L,
                                           const TSkinItemInfo& Info, bool IsSelected)
{
    TSkinTheme* theme = CurrentTheme();
    TSkinEditItem* item = SkinItem();
    if (IsSelected) {
        theme->DrawMenuEntryHot(Canvas, TRect(0, 0, L.Box.right, L.Box.bottom), Info);
    }
    if (!L.Image.IsEmpty())
        DrawImageByTheme(Canvas, L.Image, item->Images(), item->ImageIndex(),
                         ViewerStateBits(Info));
    if (L.Caption.IsEmpty())
        return;
    TRect r = L.Caption;
    theme->DrawItemText(Canvas, r, Info, AnsiToWide(item->EditCaption()),
                        DT_SINGLELINE | DT_VCENTER | DT_LEFT, false);
}

void TSkinEditItemViewer::PaintText(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& Info)
{
    TSkinEditItem* item = SkinItem();
    Canvas->Font()->Assign(View()->GetFont());
    item->EditorFontSettings()->Apply(Canvas->Font());
    AnsiString shown = item->Text();
    if (item->PasswordChar())
        shown = AnsiString(shown.size(), item->PasswordChar());
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (item->Alignment() == TAlignment::taRightJustify)
        format |= DT_RIGHT;
    else if (item->Alignment() == TAlignment::taCenter)
        format |= DT_CENTER;
    HDC dc = Canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(Info.Enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    RECT r = R;
    DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &r, format);
}

void TSkinEditItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected,
                                bool IsPushed, bool)
{
    const TSkinItemInfo info = MakeItemInfo(IsSelected, IsPushed);
    ApplyCaptionFont(Canvas);
    TSkinEditLayout L = Layout(Canvas, SIZE{ClientRect.Width(), ClientRect.Height()});
    for (TRect* r : {&L.Caption, &L.Image, &L.Box, &L.Text, &L.Buttons})
        if (!r->IsEmpty())
            OffsetRect(r, ClientRect.left, ClientRect.top);
    if (!HasBarLook())
        PaintCaptionPart(Canvas, L, info, IsSelected);
    CurrentTheme()->DrawEditField(Canvas, L.Box, info);
    if (!L.Buttons.IsEmpty())
        PaintButtons(Canvas, L.Buttons, info);
    // The editor covers the box while it runs.
    if (!EditControl())
        PaintText(Canvas, L.Text, info);
}

// --- TSkinDropDownItemViewer -------------------------------------------------------------

int TSkinDropDownItemViewer::ButtonPartWidth()
{
    if (!HasBarLook())
        return GetSystemMetrics(SM_CXMENUCHECK) + 2;
    const int w = CurrentTheme()->IntegerMetric(kToolbarButtonWidth);
    return w >= 0 ? w : kDefaultToolbarButtonWidth;
}

bool TSkinDropDownItemViewer::OnButtonPart(int X)
{
    TRect bounds;
    EditorBounds(bounds);
    return X >= bounds.right - BoundsRect().left;
}

bool TSkinDropDownItemViewer::HitsButtonSection(int X, int)
{
    return !OnButtonPart(X);
}

void TSkinDropDownItemViewer::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key != VK_F4)
        return;
    Key = 0;
    TBarView* view = View();
    if (view->OpenViewer() == this && view->OpenPopupWindow()) {
        view->ShutChildPopups();
        return;
    }
    if (view->Selected() != this)
        view->ChangeSelection(this, false);
    view->ShowChildPopup(true);
}

DWORD TSkinDropDownItemViewer::ButtonFlags(const TSkinItemInfo& Info)
{
    DWORD flags = 0;
    if (!Info.Enabled)
        flags |= sebDisabled;
    if (Info.Pushed || Info.PopupOpen)
        flags |= sebPushed;
    if (ItemIsHot(Info))
        flags |= sebHot;
    return flags;
}

void TSkinDropDownItemViewer::PaintButtons(TCanvas* Canvas, const TRect& R,
                                           const TSkinItemInfo& Info)
{
    TSkinEditButtonsInfo buttons;
    buttons.Kind = TSkinEditButtonKind::DropDown;
    buttons.Flags[0] = ButtonFlags(Info);
    CurrentTheme()->DrawEditSpinParts(Canvas, R, Info, buttons);
}

// --- TSkinSpinEditViewer -----------------------------------------------------------------

TSkinSpinEditViewer::TSkinSpinEditViewer(TBarView* View, TBarCustomItem* Item, int GroupLevel)
    : TSkinDropDownItemViewer(View, Item, GroupLevel)
{
    FTimerWindow = AllocateHWnd(TWndMethod(this, &TSkinSpinEditViewer::TimerWndProc));
}

TSkinSpinEditViewer::~TSkinSpinEditViewer()
{
    // The view may be going too: no repaint is asked for.
    if (FTimerInterval)
        KillTimer(FTimerWindow, kSpinTimerId);
    DeallocateHWnd(FTimerWindow);
}

void TSkinSpinEditViewer::Step(int Delta)
{
    TSkinEditItem* item = SkinItem();
    if (item->ReadOnly() || !item->Enabled())
        return;
    const long long value = static_cast<long long>(StrToIntDef(item->Text(), 0)) + Delta;
    item->SetText(IntToStr(static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX))));
}

void TSkinSpinEditViewer::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_UP || Key == VK_DOWN) {
        Step(Key == VK_UP ? 1 : -1);
        Key = 0;
        return;
    }
    TSkinDropDownItemViewer::KeyDown(Key, Shift);
}

void TSkinSpinEditViewer::MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu)
{
    if (!OnButtonPart(X)) {
        TSkinDropDownItemViewer::MouseDown(Shift, X, Y, MouseDownOnMenu);
        return;
    }
    if (!Item()->Enabled())
        return;
    FHeld = Y < BoundsRect().Height() / 2 ? 1 : -1;
    Step(FHeld);
    StartRepeat(kFirstRepeat);
    View()->Invalidate(this);
}

void TSkinSpinEditViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu)
{
    if (FHeld) {
        StopRepeat();
        return;
    }
    TSkinDropDownItemViewer::MouseUp(X, Y, MouseWasDownOnMenu);
}

void TSkinSpinEditViewer::LosingCapture()
{
    StopRepeat();
    TSkinDropDownItemViewer::LosingCapture();
}

void TSkinSpinEditViewer::StartRepeat(UINT interval)
{
    FTimerInterval = interval;
    SetTimer(FTimerWindow, kSpinTimerId, interval, nullptr);
}

void TSkinSpinEditViewer::StopRepeat()
{
    if (FTimerInterval)
        KillTimer(FTimerWindow, kSpinTimerId);
    FTimerInterval = 0;
    if (FHeld) {
        FHeld = 0;
        View()->Invalidate(this);
    }
}

void TSkinSpinEditViewer::TimerWndProc(TMessage& message)
{
    if (message.Msg == WM_TIMER && message.WParam == kSpinTimerId) {
        if (FHeld) {
            Step(FHeld);
            StartRepeat(kNextRepeat);
        }
        return;
    }
    message.Result = DefWindowProcA(FTimerWindow, message.Msg, message.WParam, message.LParam);
}

void TSkinSpinEditViewer::PaintButtons(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& Info)
{
    TSkinEditButtonsInfo buttons;
    buttons.Kind = TSkinEditButtonKind::Spin;
    const DWORD shared = ButtonFlags(Info) & ~DWORD{sebPushed};
    buttons.Flags[0] = shared | (FHeld > 0 ? DWORD{sebPushed} : 0);
    buttons.Flags[1] = shared | (FHeld < 0 ? DWORD{sebPushed} : 0);
    CurrentTheme()->DrawEditSpinParts(Canvas, R, Info, buttons);
}
