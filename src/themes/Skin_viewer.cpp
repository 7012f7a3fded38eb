// Themed viewers: every item measured and painted through the current
// theme, toolbar buttons and menu rows alike; the separator with a size and
// the chevron button.
//
// A toolbar button is laid out from its edges inwards: the face (split
// buttons: the arrow part at the right end), the drop-down arrow, then the
// image and the caption in the room left over. A menu row is the image
// column, the caption after it, the shortcut text ending one row height
// from the right edge (the submenu arrow's room).
#include "Skin.h"

#include "classlib/Application.h"
#include "classlib/Graphics.h"
#include "classlib/ImageList.h"
#include "classlib/WideText.h"
#include "toolbar/BarCommon.h"

#include <algorithm>

namespace {

// Margins of menu items (PaddingForPart).
constexpr int kMenuItemMargins = 2;
// Metrics of the theme the viewers read.
constexpr int kSplitArrowWidthMetric = 10;
constexpr int kDropdownArrowMetric = 20;
constexpr int kMenuImageGapMetric = 32;
constexpr int kMenuCaptionGapMetric = 33;
constexpr int kMenuCaptionEndMetric = 34;
constexpr int kMenuSeparatorMetric = 35;
constexpr int kToolbarSeparatorMetric = 50;

// The image size a menu reserves when its items have no image list.
constexpr int kDefaultImageSize = 16;

TSkinMargins MenuItemMargins()
{
    TSkinMargins margins;
    CurrentTheme()->PaddingForPart(kMenuItemMargins, margins);
    return margins;
}

// size centred in area.
TRect CentredRect(const TRect& area, SIZE size)
{
    const int x = area.left + (area.Width() - size.cx) / 2;
    const int y = area.top + (area.Height() - size.cy) / 2;
    return TRect(x, y, x + size.cx, y + size.cy);
}

bool Vertical(TBarView* view)
{
    return view->Orientation() == TBarViewOrientation::Vertical;
}

} // namespace

// --- Free routines -------------------------------------------------------------------

int MeasureThemedViewer(TBarItemViewer* Viewer)
{
    const TSkinMargins margins = MenuItemMargins();
    const int frame = margins.Top + margins.Bottom;
    SIZE image = {kDefaultImageSize, kDefaultImageSize};
    if (TCustomImageList* list = Viewer->ImageList())
        if (list->Width() > 0 && list->Height() > 0)
            image = {list->Width(), list->Height()};
    const int width = image.cx + frame;
    const int height = image.cy + frame;
    const TEXTMETRICA metrics = TScreenTextMeasure(*Viewer->View()->GetFont()).Metrics();
    const int text = metrics.tmHeight + metrics.tmExternalLeading + frame;
    if (height <= 0)
        return width;
    return width * std::max(text, height) / height;
}

int ViewerStateBits(const TSkinItemInfo& ItemInfo)
{
    int bits = 0;
    if (!ItemInfo.Enabled)
        bits |= svsDisabled;
    if (ItemInfo.HotState == kSkinMouseHot)
        bits |= svsMouseHot;
    if (ItemInfo.Pushed)
        bits |= svsPushed;
    if (ItemInfo.Selected)
        bits |= svsChecked;
    return bits;
}

TSkinItemInfo ImageInfoForFlags(DWORD Flags, TCustomImageList* ImageList)
{
    TSkinItemInfo info = {};
    switch (Flags & sipPlaceMask) {
    case sipPanel:
        info.ViewKindBits = vkPanel;
        break;
    case sipStatusBar:
        info.ViewKindBits = vkStatusBar;
        break;
    default:
        info.ViewKindBits = vkToolbarGroup;
        info.ItemOptions = sioToolbarStyle;
        break;
    }
    info.Enabled = !(Flags & svsDisabled);
    info.HotState = (Flags & svsMouseHot) ? kSkinMouseHot : kSkinNotHot;
    info.Pushed = (Flags & svsPushed) != 0;
    info.Selected = (Flags & svsChecked) != 0;
    if (ImageList) {
        info.PictureShown = 1;
        info.PictureWidth = ImageList->Width();
        info.PictureHeight = ImageList->Height();
    }
    return info;
}

void DrawImageByTheme(TCanvas* Canvas, const TRect& ARect, TCustomImageList* ImageList,
                      int ImageIndex, DWORD Flags)
{
    CurrentTheme()->DrawItemPicture(Canvas, ARect, ImageInfoForFlags(Flags, ImageList), ImageList,
                                    ImageIndex);
}

// --- What the viewer shows ---------------------------------------------------------------

bool TSkinItemViewer::HasBarLook()
{
    return TBarItemViewer::HasBarLook() || PopupKindOf(AskViewType(FView)) == vkEditPopup;
}

bool TSkinItemViewer::HasBarMetrics()
{
    return TBarItemViewer::HasBarMetrics() || PopupKindOf(AskViewType(FView)) == vkEditPopup;
}

int TSkinItemViewer::ViewerKind()
{
    return HasBarLook() ? kSkinToolbarViewer : kSkinMenuViewer;
}

bool TSkinItemViewer::ShowsImage()
{
    if (FItem->ImageIndex() < 0)
        return false;
    switch (FItem->DisplayMode()) {
    case TBarItemDisplayMode::nbdmTextOnly:
        return false;
    case TBarItemDisplayMode::nbdmTextOnlyInMenus:
        return HasBarLook();
    default:
        return true;
    }
}

SIZE TSkinItemViewer::ShownImageSize()
{
    TCustomImageList* list = ShowsImage() ? ImageList() : nullptr;
    if (!list || list->Width() < 1 || list->Height() < 1)
        return SIZE{0, 0};
    return SIZE{list->Width(), list->Height()};
}

TSkinItemLayout TSkinItemViewer::ResolvedLayout()
{
    auto* item = dynamic_cast<TSkinCustomItem*>(FItem);
    const TSkinItemLayout layout = item ? item->Layout() : TSkinItemLayout::sklAuto;
    if (layout != TSkinItemLayout::sklAuto)
        return layout;
    if ((FItem->EffectiveOptions() & tboImageAboveCaption) || Vertical(FView))
        return TSkinItemLayout::sklGlyphTop;
    return TSkinItemLayout::sklGlyphLeft;
}

bool TSkinItemViewer::CaptionRotated()
{
    return HasBarLook() && Vertical(FView) && ResolvedLayout() == TSkinItemLayout::sklGlyphLeft &&
           !(FItem->EffectiveOptions() & tboNoRotation);
}

bool TSkinItemViewer::IsSplitButton() const
{
    return FItem->HasTrait(OpensPopup) && FItem->HasTrait(DualPart);
}

bool TSkinItemViewer::HasDropdownArrow() const
{
    return FItem->HasTrait(OpensPopup) && !FItem->HasTrait(DualPart) &&
           (FItem->EffectiveOptions() & tboDropdownArrow);
}

TSkinItemInfo TSkinItemViewer::MakeItemInfo(bool IsSelected, bool IsPushed)
{
    TSkinItemInfo info = {};
    const bool barLook = HasBarLook();
    info.ViewKindBits = AskViewType(FView);
    if (barLook)
        info.ItemOptions |= sioToolbarStyle;
    if (FItem->HasTrait(OpensPopup))
        info.ItemOptions |= sioHasSubmenu;
    if (IsSplitButton())
        info.ItemOptions |= sioSplitButton;
    if (FItem->HasState(csDesigning))
        info.ItemOptions |= sioDesigning;
    if (Application && Application->Active())
        info.ItemOptions |= sioAppActive;
    info.Enabled = FItem->Enabled() || FView->Customizing();
    info.Pushed = IsPushed;
    info.Selected = FItem->Checked();
    if (IsSelected)
        info.HotState = !FItem->Enabled() && !FView->HasViewState(bvsMouseOver) ? kSkinKeyboardHot
                                                                                : kSkinMouseHot;
    const SIZE image = ShownImageSize();
    if (image.cx > 0) {
        info.PictureShown = 1;
        info.PictureWidth = image.cx;
        info.PictureHeight = image.cy;
    }
    info.InVerticalBar = Vertical(FView) && !IsSplitButton();
    if (barLook && HasDropdownArrow())
        info.ButtonPartKind = kSkinArrowButton;
    info.PopupOpen = barLook && FView->OpenViewer() == this;
    if (!barLook)
        info.ImageColumnWidth = MeasureThemedViewer(this);
    return info;
}

void TSkinItemViewer::DoAdjustFont(TFont* Font, int StateFlags)
{
    if (FItem->EffectiveOptions() & tboDefault)
        Font->SetStyle(Font->Style() | fsBold);
    auto* item = dynamic_cast<TSkinCustomItem*>(FItem);
    if (!item)
        return;
    item->FontSettings()->Apply(Font);
    if (item->OnAdjustFont)
        item->OnAdjustFont(item, this, Font, StateFlags);
}

// --- Mouse -----------------------------------------------------------------------------

bool TSkinItemViewer::HitsButtonSection(int X, int Y)
{
    if (!IsSplitButton())
        return TBarItemViewer::HitsButtonSection(X, Y);
    const int arrow = HasBarLook() ? CurrentTheme()->IntegerMetric(kSplitArrowWidthMetric)
                                   : GetSystemMetrics(SM_CXMENUCHECK);
    return X < FBoundsRect.Width() - arrow;
}

void TSkinItemViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu)
{
    TBarView* root = FView->RootView();
    TBarItemViewer::MouseUp(X, Y, MouseWasDownOnMenu);
    // Executed or ended already: this viewer may be gone with its view's
    // next layout.
    if (root->DoneAction().Kind != TBarLoopResultKind::None)
        return;
    if (!FItem->Enabled() || FItem->HasTrait(IgnoresMouseUp))
        return;
    if (FItem->HasTrait(OpensPopup) && !HitsButtonSection(X, Y))
        return;
    if (FView->Selected() == this && FView->MouseInButtonPart())
        FView->ExecuteViewer(this, true);
}

// --- Size ---------------------------------------------------------------------------------

void TSkinItemViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    DoAdjustFont(Canvas->Font(), FItem->Enabled() ? 0 : svsDisabled);
    if (HasBarMetrics())
        CalcToolbarSize(Canvas, Width, Height);
    else
        CalcMenuSize(Canvas, Width, Height);
    if (auto* item = dynamic_cast<TSkinCustomItem*>(FItem)) {
        Width = std::max(Width, item->MinWidth());
        Height = std::max(Height, item->MinHeight());
    }
}

void TSkinItemViewer::CalcToolbarSize(TCanvas* Canvas, int& Width, int& Height)
{
    HDC dc = Canvas->Handle();
    TSkinTheme* theme = CurrentTheme();
    const TSkinItemLayout layout = ResolvedLayout();
    Width = 6;
    Height = 6;
    if (ShowsCaption()) {
        const int textWidth = CaptionPixelWidth(dc, ShownCaption(), true);
        const int textHeight = FontLineHeight(dc);
        if (CaptionRotated()) {
            Width += textHeight;
            Height += textWidth + 4;
        } else {
            Width += textWidth + 4;
            Height += textHeight;
        }
    }
    const SIZE image = ShownImageSize();
    const bool hasImage = image.cx > 0;
    if (hasImage && layout == TSkinItemLayout::sklGlyphTop) {
        Height += image.cy;
        Width = std::max<int>(Width, image.cx + 7);
    } else if (hasImage) {
        Width += image.cx + 1;
        Height = std::max<int>(Height, image.cy + 6);
    }
    if (IsSplitButton()) {
        Width += theme->IntegerMetric(kSplitArrowWidthMetric);
    } else if (HasDropdownArrow()) {
        const int arrow = theme->IntegerMetric(kDropdownArrowMetric);
        if (hasImage && layout == TSkinItemLayout::sklGlyphTop)
            Width = std::max<int>(Width, arrow + image.cx + 2 + 7);
        else if (Vertical(FView))
            Height += arrow;
        else
            Width += arrow;
    }
}

void TSkinItemViewer::CalcMenuSize(TCanvas* Canvas, int& Width, int& Height)
{
    HDC dc = Canvas->Handle();
    TSkinTheme* theme = CurrentTheme();
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const TCustomImageList* list = ImageList();
    const int imageHeight = list && list->Height() > 0 ? list->Height() : kDefaultImageSize;
    const TSkinMargins margins = MenuItemMargins();
    Width = CaptionPixelWidth(dc, ShownCaption(), true) + margins.Left + margins.Right;
    Height = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, imageHeight) +
             margins.Top + margins.Bottom;
    Width += theme->IntegerMetric(kMenuImageGapMetric) + MeasureThemedViewer(this) +
             theme->IntegerMetric(kMenuCaptionGapMetric) +
             theme->IntegerMetric(kMenuCaptionEndMetric);
    const AnsiString shortcut = FItem->ShortcutCaption();
    if (!shortcut.empty())
        Width += CaptionPixelWidth(dc, shortcut, false) + Height - 6;
    Width += Height; // the submenu arrow's room
}

// --- Painting -----------------------------------------------------------------------------

UINT TSkinItemViewer::CaptionFormat()
{
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if ((FView->ViewStyle() & bvsHideAccelsUntilKeys) && !FView->HasViewState(bvsShowAccelerators))
        format |= DT_HIDEPREFIX;
    return format;
}

void TSkinItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected,
                            bool IsPushed, bool)
{
    const TSkinItemInfo info = MakeItemInfo(IsSelected, IsPushed);
    Canvas->Font()->SetColor(CurrentTheme()->ItemInkColor(info));
    DoAdjustFont(Canvas->Font(), ViewerStateBits(info));
    if (info.ItemOptions & sioToolbarStyle)
        PaintToolbarItem(Canvas, ClientRect, info);
    else
        PaintMenuItem(Canvas, ClientRect, info);
}

void TSkinItemViewer::PaintToolbarItem(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& info)
{
    TSkinTheme* theme = CurrentTheme();
    TRect content = R;
    TSkinItemInfo face = info;
    if (IsSplitButton()) {
        TSkinItemInfo arrow = info;
        arrow.ButtonPartKind = kSkinSplitArrow;
        arrow.Pushed = FView->OpenViewer() == this;
        arrow.Selected = 0;
        content.right -= theme->IntegerMetric(kSplitArrowWidthMetric);
        theme->DrawButtonFace(Canvas, TRect(content.right, R.top, R.right, R.bottom), arrow);
        face.ButtonPartKind = kSkinSplitMain;
        face.Pushed = info.Pushed && !arrow.Pushed;
    }
    theme->DrawButtonFace(Canvas, content, face);

    const TSkinItemLayout layout = ResolvedLayout();
    const SIZE image = ShownImageSize();
    const bool hasImage = image.cx > 0;
    const bool caption = ShowsCaption();
    TRect imageRect;
    if (HasDropdownArrow()) {
        const int arrowSize = theme->IntegerMetric(kDropdownArrowMetric);
        TRect arrow;
        if (hasImage && layout == TSkinItemLayout::sklGlyphTop) {
            // Beside the image: the two centred together in the image's band.
            const TRect band(content.left, content.top, content.right,
                             caption ? content.top + image.cy + 4 : content.bottom);
            const int left = band.left + (band.Width() - (image.cx + 2 + arrowSize)) / 2;
            imageRect = CentredRect(TRect(left, band.top, left + image.cx, band.bottom), image);
            arrow =
                TRect(left + image.cx + 2, band.top, left + image.cx + 2 + arrowSize, band.bottom);
        } else if (Vertical(FView)) {
            arrow = TRect(content.left, content.bottom - arrowSize, content.right, content.bottom);
            content.bottom = arrow.top;
        } else {
            arrow = TRect(content.right - arrowSize, content.top, content.right, content.bottom);
            content.right = arrow.left;
        }
        theme->DrawDropArrow(Canvas, arrow, face);
    }

    TRect captionRect = content;
    if (hasImage && imageRect.IsEmpty()) {
        TRect imageArea = content;
        if (caption && layout == TSkinItemLayout::sklGlyphTop) {
            imageArea.bottom = content.top + image.cy + 4;
            captionRect.top = content.top + image.cy + 1;
        } else if (caption) {
            imageArea.right = content.left + image.cx + 6;
            captionRect.left = content.left + image.cx + 3;
        }
        imageRect = CentredRect(imageArea, image);
    } else if (hasImage) {
        captionRect.top = content.top + image.cy + 1;
    }
    if (caption)
        PaintCaption(Canvas, R, captionRect, face, ShownCaption(), CaptionFormat() | DT_CENTER,
                     CaptionRotated());
    if (hasImage)
        DrawViewerImage(Canvas, imageRect, face);
}

void TSkinItemViewer::PaintMenuItem(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& info)
{
    TSkinTheme* theme = CurrentTheme();
    theme->DrawMenuEntry(Canvas, R, info);
    const TSkinMargins margins = MenuItemMargins();
    const int column = info.ImageColumnWidth;
    const int arrowRoom = R.Height();
    TRect captionRect(R.left + column + theme->IntegerMetric(kMenuImageGapMetric) +
                          theme->IntegerMetric(kMenuCaptionGapMetric) + margins.Left,
                      R.top + margins.Top, R.right - arrowRoom, R.bottom - margins.Bottom);
    PaintCaption(Canvas, R, captionRect, info, ShownCaption(), CaptionFormat(), false);
    const AnsiString shortcut = FItem->ShortcutCaption();
    if (!shortcut.empty())
        PaintCaption(Canvas, R, captionRect, info, shortcut,
                     DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX, false);
    PaintImageArea(Canvas, TRect(R.left, R.top, R.left + column, R.bottom), info);
}

void TSkinItemViewer::PaintCaption(TCanvas* Canvas, const TRect& clientArea, TRect captionRect,
                                   const TSkinItemInfo& info, const AnsiString& text, UINT format,
                                   bool rotated)
{
    bool paintDefault = true;
    CaptionDrawHook(Canvas, clientArea, captionRect, rotated, paintDefault);
    if (paintDefault)
        CurrentTheme()->DrawItemText(Canvas, captionRect, info, AnsiToWide(text), format, rotated);
}

void TSkinItemViewer::PaintImageArea(TCanvas* Canvas, const TRect& area, const TSkinItemInfo& info)
{
    const SIZE image = ShownImageSize();
    if (image.cx > 0) {
        DrawViewerImage(Canvas, CentredRect(area, image), info);
        return;
    }
    if (!FItem->Checked())
        return;
    TSkinItemInfo tick = info;
    if (FItem->RadioItem())
        tick.ItemOptions |= sioRadioItem;
    CurrentTheme()->DrawTickGlyph(Canvas, area, tick);
}

void TSkinItemViewer::DrawViewerImage(TCanvas* Canvas, const TRect& ARect,
                                      const TSkinItemInfo& ItemInfo)
{
    // The theme moves a pushed or checked image itself.
    CurrentTheme()->DrawItemPicture(Canvas, ARect, ItemInfo, ImageList(), FItem->ImageIndex());
}

// --- Separators and the chevron ----------------------------------------------------------

namespace {

int SeparatorSize(TBarCustomItem* item)
{
    auto* separator = dynamic_cast<TSkinSeparatorItem*>(item);
    return separator ? separator->Size() : -1;
}

} // namespace

void TSkinSeparatorItemViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    const bool bar = HasBarMetrics();
    int size = SeparatorSize(FItem);
    if (size < 0)
        size = CurrentTheme()->IntegerMetric(bar ? kToolbarSeparatorMetric : kMenuSeparatorMetric);
    if (size < 0) {
        TBarSeparatorItemViewer::CalcSize(Canvas, Width, Height);
        return;
    }
    Width = bar ? size : 0;
    Height = size;
}

void TSkinSeparatorItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool, bool, bool)
{
    if (SeparatorSize(FItem) == 0)
        return;
    const bool barLook = HasBarLook();
    const bool vertical = Vertical(FView);
    TSkinItemInfo info = {};
    info.ViewKindBits = AskViewType(FView);
    if (barLook)
        info.ItemOptions |= sioToolbarStyle;
    if (FItem->HasState(csDesigning))
        info.ItemOptions |= sioDesigning;
    auto* separator = dynamic_cast<TBarSeparatorItem*>(FItem);
    info.Enabled = !(separator && separator->Blank());
    info.InVerticalBar = vertical;
    if (!barLook)
        info.ImageColumnWidth = MeasureThemedViewer(this);
    // Menus and vertical bars divide with a line across; a line break the
    // other way round.
    const bool lineAcross = (!barLook || vertical) != FLineBreak;
    CurrentTheme()->DrawDivider(Canvas, ClientRect, info, !vertical, lineAcross);
}

void TSkinChevronItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected,
                                   bool IsPushed, bool)
{
    TSkinItemInfo info = MakeItemInfo(IsSelected, IsPushed);
    info.ItemOptions = sioToolbarStyle | (info.ItemOptions & sioDesigning);
    info.InVerticalBar = Vertical(FView);
    CurrentTheme()->DrawOverflowArrow(Canvas, ClientRect, info);
}
