// Item viewers: one item as one view shows it. Sizes, hints and the plain
// painting in system colours; the mouse handling is in
// BarItem_navigation.cpp.
#include "BarItem.h"

#include "BarAcc.h"
#include "BarCommon.h"

#include "classlib/Application.h"
#include "classlib/Graphics.h"
#include "classlib/HintWindow.h"
#include "classlib/TextUtils.h"

#include <algorithm>
#include <oleacc.h>

namespace {

// The width of a split button's arrow part on a toolbar, pixels.
constexpr int kToolbarArrowWidth = 11;
// What a drop-down arrow adds to a toolbar button, pixels.
constexpr int kDropdownArrowSize = 8;
// A separator's size on a toolbar, pixels.
constexpr int kToolbarSeparatorSize = 6;
// How far menu lines stay from a menu's sides, pixels.
constexpr int kMenuSeparatorInset = 12;

// Text colour where the source bitmap is black, the destination elsewhere.
constexpr DWORD kRopPaintMaskedPattern = 0x00B8074A;

TEXTMETRICA CanvasTextMetrics(TCanvas* canvas)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(canvas->Handle(), &metrics);
    return metrics;
}

// Draws a frame-control glyph (DFC_MENU) in the text colour of dc.
void DrawMenuGlyph(HDC dc, const TRect& r, UINT state, COLORREF color)
{
    int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0)
        return;
    TOwnedGdiObject bits(CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryDC mono(dc);
    TSelectedObject monoBits(mono.Handle(), bits.Handle());
    RECT local = {0, 0, w, h};
    DrawFrameControl(mono.Handle(), &local, DFC_MENU, state);
    TOwnedGdiObject brush(CreateSolidBrush(color));
    TSelectedObject dcBrush(dc, brush.Handle());
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, r.left, r.top, w, h, mono.Handle(), 0, 0, kRopPaintMaskedPattern);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

} // namespace

TBarItemViewer::TBarItemViewer(TBarView* View, TBarCustomItem* Item, int GroupLevel)
    : FGroupLevel(GroupLevel), FItem(Item), FView(View)
{
    BarObjectCreated();
}

TBarItemViewer::~TBarItemViewer()
{
    ReleaseBarAccObject(FAccObject);
    FAccObject = nullptr;
    BarObjectDestroyed(this);
}

// ---------------------------------------------------------------------------
// What the viewer shows

bool TBarItemViewer::HasBarMetrics()
{
    return FView->LaysOutAsToolbar() || (FItem->EffectiveOptions() & tboToolbarSize);
}

bool TBarItemViewer::HasBarLook()
{
    return FView->LaysOutAsToolbar() || (FItem->EffectiveOptions() & tboToolbarStyle);
}

bool TBarItemViewer::SharesColumnWidth()
{
    TBarItemOptions options = FItem->EffectiveOptions();
    return (options & tboImageAboveCaption) && (options & tboSameWidth) && HasBarMetrics();
}

AnsiString TBarItemViewer::ShownCaption()
{
    const AnsiString& caption = FItem->Caption();
    return caption.substr(0, caption.find('\t'));
}

bool TBarItemViewer::ShowsCaption()
{
    TBarItemDisplayMode mode = FItem->DisplayMode();
    if (!ShownCaption().empty() &&
        (!HasBarMetrics() || !HasPicture() || mode == TBarItemDisplayMode::nbdmTextOnly ||
         mode == TBarItemDisplayMode::nbdmImageAndText))
        return true;
    return (FItem->EffectiveOptions() & tboImageAboveCaption) != 0;
}

// An image index with no image behind it (no list, or past its end) shows
// nothing, so the caption stays in its place.
bool TBarItemViewer::HasPicture()
{
    TCustomImageList* images = ImageList();
    const int index = FItem->ImageIndex();
    return images && index >= 0 && index < images->Count();
}

bool TBarItemViewer::ImageDrawn()
{
    if (FItem->ImageIndex() < 0)
        return false;
    switch (FItem->DisplayMode()) {
    case TBarItemDisplayMode::nbdmDefault:
    case TBarItemDisplayMode::nbdmImageAndText:
        return true;
    case TBarItemDisplayMode::nbdmTextOnlyInMenus:
        return HasBarMetrics();
    default:
        return false;
    }
}

bool TBarItemViewer::IsRotated()
{
    return FView->Orientation() == TBarViewOrientation::Vertical &&
           !(FItem->EffectiveOptions() & (tboNoRotation | tboImageAboveCaption));
}

TCustomImageList* TBarItemViewer::ImageList()
{
    if (FItem->Images())
        return FItem->Images();
    for (TBarCustomItem* p = FItem->Parent(); p; p = p->Parent()) {
        if (p->SubMenuImages())
            return p->SubMenuImages();
        for (TBarCustomItem* linking : p->LinkingItems())
            if (linking->SubMenuImages())
                return linking->SubMenuImages();
    }
    return nullptr;
}

AnsiString TBarItemViewer::ShownHint()
{
    AnsiString hint = GetShortHint(FItem->Hint());
    bool popupShowingCaption =
        FItem->HasTrait(OpensPopup) && !FItem->HasTrait(DualPart) && ShowsCaption();
    if (hint.empty() && !(FItem->EffectiveOptions() & tboNoAutoHint) && !popupShowingCaption)
        hint = RemoveAccelMarks(StripTrailingPunctuation(ShownCaption()));
    if (auto* action = dynamic_cast<TCustomAction*>(FItem->Action()))
        if (!action->DoHint(hint))
            hint.clear();
    AnsiString shortcut = FItem->ShortcutCaption();
    if (!hint.empty() && !shortcut.empty() && Application && Application->HintShortCuts())
        hint = Format("%s (%s)", hint.c_str(), shortcut.c_str());
    return hint;
}

int TBarItemViewer::AccessibleRole()
{
    if (dynamic_cast<TBarControlItem*>(FItem))
        return ROLE_SYSTEM_CLIENT;
    if (FItem->HasTrait(ActsAsDivider))
        return ROLE_SYSTEM_SEPARATOR;
    if (FView->IsPopup() || (FView->ViewStyle() & bvsMenuBar))
        return ROLE_SYSTEM_MENUITEM;
    return FItem->HasTrait(OpensPopup) ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
}

bool TBarItemViewer::HitsButtonSection(int X, int Y)
{
    if (!FItem->HasTrait(OpensPopup))
        return true;
    if (!FItem->HasTrait(DualPart))
        return false;
    int arrowWidth = HasBarLook() ? kToolbarArrowWidth : GetSystemMetrics(SM_CXMENUCHECK);
    return X < FBoundsRect.Width() - arrowWidth;
}

// ---------------------------------------------------------------------------
// Selection events

bool TBarItemViewer::DoExecute()
{
    FView->EndModalWithChoice(this);
    return true;
}

void TBarItemViewer::Entering(TBarItemViewer*)
{
    if (FItem->OnSelect)
        FItem->OnSelect(FItem, this, true);
}

void TBarItemViewer::Leaving()
{
    if (FItem->OnSelect)
        FItem->OnSelect(FItem, this, false);
}

void TBarItemViewer::LosingCapture()
{
    Invalidate();
}

void TBarItemViewer::Invalidate()
{
    FView->Invalidate(this);
}

// ---------------------------------------------------------------------------
// Size

void TBarItemViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    HDC dc = Canvas->Handle();
    TBarItemOptions options = FItem->EffectiveOptions();
    TCustomImageList* images = ImageList();
    AnsiString caption = ShownCaption();
    TEXTMETRICA metrics = CanvasTextMetrics(Canvas);
    int captionWidth = CaptionPixelWidth(dc, caption, true);

    if (!HasBarMetrics()) {
        Height = metrics.tmHeight + metrics.tmExternalLeading + 4;
        if (images)
            Height = std::max(Height, images->Height() + 3);
        int imageColumn =
            images ? MulDiv(images->Width() + 3, Height, images->Height() + 3) : Height;
        Width = captionWidth + imageColumn + 6;
        AnsiString shortcut = FItem->ShortcutCaption();
        if (!shortcut.empty())
            Width += CaptionPixelWidth(dc, shortcut, false) + Height - 6;
        Width += Height; // the submenu arrow's column
        return;
    }

    Width = 6;
    Height = 6;
    bool rotated = IsRotated();
    if (ShowsCaption()) {
        if (rotated) {
            TOwnedGdiObject vertical(MakeVerticalFont(dc));
            TSelectedObject selected(dc, vertical.Handle());
            Width += FontLineHeight(dc);
            Height += CaptionPixelWidth(dc, caption, true) + 6;
        } else {
            Height += metrics.tmHeight;
            Width += captionWidth + 6;
        }
    }
    if (ImageDrawn() && images) {
        if (!(options & tboImageAboveCaption) && !rotated) {
            Width += images->Width() + 1;
            Height = std::max(Height, images->Height() + 6);
        } else {
            Height += images->Height();
            Width = std::max(Width, images->Width() + 7);
        }
    }
    if (FItem->HasTrait(OpensPopup)) {
        if (FItem->HasTrait(DualPart))
            Width += kToolbarArrowWidth;
        else if (options & tboDropdownArrow) {
            if (FView->Orientation() == TBarViewOrientation::Vertical)
                Height += kDropdownArrowSize;
            else
                Width += kDropdownArrowSize;
        }
    }
}

void TBarSeparatorItemViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    if (HasBarMetrics()) {
        Width = kToolbarSeparatorSize;
        Height = kToolbarSeparatorSize;
        return;
    }
    Width = 0;
    Height = DivideRoundingOut(CanvasTextMetrics(Canvas).tmHeight * 2, 3);
}

// ---------------------------------------------------------------------------
// Painting in system colours

void TBarItemViewer::DrawViewerCaption(TCanvas* Canvas, const TRect& R, const AnsiString& Caption,
                                       UINT Format)
{
    HDC dc = Canvas->Handle();
    if (IsRotated()) {
        DrawVerticalCaption(dc, Caption, R, Format);
        return;
    }
    RECT r = R;
    DrawTextA(dc, Caption.data(), static_cast<int>(Caption.size()), &r, Format);
}

void TBarItemViewer::PaintFrame(TCanvas* Canvas, const TRect& R, bool IsSelected, bool IsPushed)
{
    HDC dc = Canvas->Handle();
    RECT r = R;
    if (IsPushed || FItem->Checked()) {
        if (FItem->Checked() && !IsSelected) {
            // A checked button shows a dithered face.
            RECT face = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
            COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
            COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            HBRUSH dithered = CreateDitheredBrush();
            FillRect(dc, &face, dithered);
            DeleteObject(dithered);
            SetTextColor(dc, oldText);
            SetBkColor(dc, oldBack);
        }
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    } else if (IsSelected && FItem->Enabled()) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
}

void TBarItemViewer::PaintImage(TCanvas* Canvas, const TRect& R, bool UseDisabledShadow)
{
    TCustomImageList* images = ImageList();
    if (!images || !ImageDrawn())
        return;
    int x = R.left + (R.Width() - images->Width()) / 2;
    int y = R.top + (R.Height() - images->Height()) / 2;
    images->Draw(Canvas, x, y, FItem->ImageIndex(), FItem->Enabled() || !UseDisabledShadow);
}

void TBarItemViewer::PaintMenuExtras(TCanvas* Canvas, const TRect& R)
{
    HDC dc = Canvas->Handle();
    AnsiString shortcut = FItem->ShortcutCaption();
    int arrowColumn = R.Height();
    if (!shortcut.empty()) {
        RECT r = {R.left, R.top, R.right - arrowColumn, R.bottom};
        DrawTextA(dc, shortcut.data(), static_cast<int>(shortcut.size()), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    if (FItem->HasTrait(OpensPopup)) {
        int glyph = GetSystemMetrics(SM_CXMENUCHECK);
        TRect arrow = Bounds(R.right - (arrowColumn + glyph) / 2, R.top + (R.Height() - glyph) / 2,
                             glyph, glyph);
        DrawMenuGlyph(dc, arrow, DFCS_MENUARROW, GetTextColor(dc));
    }
}

void TBarItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
                           bool UseDisabledShadow)
{
    HDC dc = Canvas->Handle();
    bool enabled = FItem->Enabled();
    bool barLook = HasBarLook();
    bool menuHighlight = !barLook && IsSelected;
    if (menuHighlight)
        FillRect(dc, &ClientRect, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (barLook)
        PaintFrame(Canvas, ClientRect, IsSelected, IsPushed);

    TRect content = ClientRect;
    if (barLook && IsPushed)
        OffsetRect(&content, 1, 1);
    TCustomImageList* images = ImageList();
    TRect imageRect = content;
    TRect captionRect = content;
    if (!barLook) {
        int column = images ? MulDiv(images->Width() + 3, content.Height(), images->Height() + 3)
                            : content.Height();
        imageRect.right = imageRect.left + column;
        captionRect.left = imageRect.right + 3;
        if (FItem->Checked() && !(ImageDrawn() && images)) {
            int glyph = GetSystemMetrics(SM_CXMENUCHECK);
            TRect mark = Bounds(imageRect.left + (column - glyph) / 2,
                                imageRect.top + (imageRect.Height() - glyph) / 2, glyph, glyph);
            DrawMenuGlyph(dc, mark, FItem->RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK,
                          GetSysColor(menuHighlight ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        }
    } else if (ImageDrawn() && images) {
        if (FItem->EffectiveOptions() & tboImageAboveCaption) {
            imageRect.bottom = imageRect.top + images->Height() + 6;
            captionRect.top = imageRect.bottom - 3;
        } else if (ShowsCaption()) {
            imageRect.right = imageRect.left + images->Width() + 6;
            captionRect.left = imageRect.right - 3;
        }
    }
    PaintImage(Canvas, imageRect, UseDisabledShadow);

    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (barLook)
        format |= DT_CENTER;
    if ((FView->ViewStyle() & bvsHideAccelsUntilKeys) && !FView->HasViewState(bvsShowAccelerators))
        format |= DT_HIDEPREFIX;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF textColor = GetSysColor(menuHighlight ? COLOR_HIGHLIGHTTEXT
                                     : barLook     ? COLOR_BTNTEXT
                                                   : COLOR_MENUTEXT);
    if (!enabled && UseDisabledShadow && !menuHighlight) {
        // Embossed: a highlight copy one pixel down and right, then the shadow.
        TRect shifted = captionRect;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        if (!barLook || ShowsCaption())
            DrawViewerCaption(Canvas, shifted, ShownCaption(), format);
        textColor = GetSysColor(COLOR_BTNSHADOW);
    } else if (!enabled) {
        textColor = GetSysColor(COLOR_GRAYTEXT);
    }
    SetTextColor(dc, textColor);
    if (!barLook || ShowsCaption())
        DrawViewerCaption(Canvas, captionRect, ShownCaption(), format);
    if (!barLook)
        PaintMenuExtras(Canvas, captionRect);
    SetBkMode(dc, oldMode);
}

void TBarSeparatorItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool, bool, bool)
{
    auto* separator = dynamic_cast<TBarSeparatorItem*>(FItem);
    if (separator && separator->Blank())
        return;
    bool menuStyle = !HasBarLook();
    bool vertical = FView->Orientation() == TBarViewOrientation::Vertical;
    bool horizontalLine = (menuStyle || vertical) != FLineBreak;
    HDC dc = Canvas->Handle();
    RECT r = ClientRect;
    if (horizontalLine) {
        int inset = 0;
        if (menuStyle)
            inset = kMenuSeparatorInset;
        else if (FLineBreak)
            inset = FView->Orientation() == TBarViewOrientation::Floating ? 1 : 4;
        int middle = (r.top + r.bottom) / 2;
        RECT line = {r.left + inset, middle - 1, r.right - inset, middle + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    } else {
        int inset = FLineBreak ? 4 : 0;
        int middle = (r.left + r.right) / 2;
        RECT line = {middle - 1, r.top + inset, middle + 1, r.bottom - inset};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    }
}
