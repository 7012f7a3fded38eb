// The extended items and their viewer.
#include "controls/ExtItem.h"

#include "classlib/ShortCut.h"
#include "classlib/WideText.h"
#include "toolbar/BarCommon.h"
#include "unicode/UniActnList.h"

#include <algorithm>

namespace {

// The wide text when the ANSI text is still its conversion.
WideString ExtItemWideText(const WideString& wide, const AnsiString& ansi)
{
    return WideToAnsi(wide) == ansi ? wide : AnsiToWide(ansi);
}

bool ExtItemSingleLine(TTextWrapping wrapping)
{
    return wrapping == TTextWrapping::twEndEllipsis || wrapping == TTextWrapping::twPathEllipsis;
}

} // namespace

// --- TExtCustomItem ------------------------------------------------------------------

TExtCustomItem::TExtCustomItem(TComponent* AOwner) : TSkinCustomItem(AOwner)
{
    SetStretch(true);
}

TExtCustomItem::~TExtCustomItem()
{
    SetControl(nullptr);
}

WideString TExtCustomItem::Caption() const
{
    return ExtItemWideText(FCaption, TSkinCustomItem::Caption());
}

void TExtCustomItem::SetCaption(const WideString& value)
{
    if (value == Caption())
        return;
    FCaption = value;
    TSkinCustomItem::SetCaption(WideToAnsi(value));
}

WideString TExtCustomItem::Hint() const
{
    return ExtItemWideText(FHint, TSkinCustomItem::Hint());
}

void TExtCustomItem::SetHint(const WideString& value)
{
    if (value == Hint())
        return;
    FHint = value;
    TSkinCustomItem::SetHint(WideToAnsi(value));
}

void TExtCustomItem::SetCustomWidth(int value)
{
    StoreResizing(FCustomWidth, std::max(value, -1));
}

void TExtCustomItem::SetCustomHeight(int value)
{
    StoreResizing(FCustomHeight, std::max(value, -1));
}

void TExtCustomItem::SetMargins(int value)
{
    StoreResizing(FMargins, std::max(value, 0));
}

void TExtCustomItem::SetControl(TControl* value)
{
    if (value == FControl)
        return;
    if (FControl)
        FControl->RemoveFreeNotification(this);
    FControl = value;
    if (FControl)
        FControl->FreeNotification(this);
}

void TExtCustomItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TSkinCustomItem::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FControl)
        FControl = nullptr;
}

void TExtCustomItem::Click()
{
    if (FControl)
        FlipBoundControl();
    TSkinCustomItem::Click();
}

void TExtCustomItem::InitiateAction()
{
    TSkinCustomItem::InitiateAction();
    SyncFromControl();
}

void TExtCustomItem::FlipBoundControl()
{
    if (FControl)
        FControl->SetVisible(!FControl->Visible());
}

void TExtCustomItem::SyncFromControl()
{
    if (FControl && !HasState(csLoading) && !HasState(csDestroying) && !HasState(csDesigning))
        SetChecked(FControl->Visible());
}

void TExtCustomItem::ActionChange(TObject* Sender, bool CheckDefaults)
{
    const bool keepCaption = CheckDefaults && !Caption().empty();
    const bool keepHint = CheckDefaults && !Hint().empty();
    TSkinCustomItem::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TBasicAction*>(Sender);
    if (!action)
        return;
    if (!keepCaption)
        SetCaption(ActionWideCaption(action));
    if (!keepHint)
        SetHint(ActionWideHint(action));
}

TBarItemViewerClass TExtCustomItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TExtItemViewer>;
}

void TExtCustomItem::DoDrawItem(TCanvas* ACanvas, const TRect& ARect, const TSkinItemInfo& ItemInfo,
                                int PaintStage, bool& PaintDefault)
{
    if (OnDrawItem)
        OnDrawItem(this, ACanvas, ARect, ItemInfo, PaintStage, PaintDefault);
}

void TExtCustomItem::PaintCaptionStage(TCanvas* ACanvas, const TRect& ClientAreaRect,
                                       WideString& ACaption, TRect& CaptionRect,
                                       UINT& CaptionFormat, bool IsTextRotated, int PaintStage,
                                       bool& PaintDefault)
{
    if (OnDrawCaption)
        OnDrawCaption(this, ACanvas, ClientAreaRect, ACaption, CaptionRect, CaptionFormat,
                      IsTextRotated, PaintStage, PaintDefault);
}

void TExtCustomItem::PaintImageStage(TCanvas* ACanvas, const TSkinItemInfo& ItemInfo,
                                     int PaintStage, TCustomImageList*& AImageList,
                                     int& AImageIndex, TRect& ARect, bool& PaintDefault)
{
    if (OnDrawImage)
        OnDrawImage(this, ACanvas, ItemInfo, PaintStage, AImageList, AImageIndex, ARect,
                    PaintDefault);
}

// --- Window descriptions ---------------------------------------------------------------

const TClassInfo& TExtCustomItem::StaticClassInfo()
{
    using I = TExtCustomItem;
    static constexpr auto never = [](TPersistent*) { return false; };
    static const TPropInfo props[] = {
        {.Name = "Caption",
         .Kind = TTypeKind::tkWString,
         .GetWStr = [](TPersistent* o) { return static_cast<I*>(o)->Caption(); },
         .SetWStr = [](TPersistent* o, const WideString& v) { static_cast<I*>(o)->SetCaption(v); },
         .Stored = never},
        {.Name = "Hint",
         .Kind = TTypeKind::tkWString,
         .GetWStr = [](TPersistent* o) { return static_cast<I*>(o)->Hint(); },
         .SetWStr = [](TPersistent* o, const WideString& v) { static_cast<I*>(o)->SetHint(v); },
         .Stored = never},
    };
    static const TClassInfo info{.Name = "TExtCustomItem", .Props = props};
    return info;
}

void TExtCustomItem::DefineProperties(TFiler& Filer)
{
    TSkinCustomItem::DefineProperties(Filer);
    // A wide value, or a narrow one from an older description.
    Filer.DefineProperty(
        "CaptionW", [this](TReader& reader) { SetCaption(reader.ReadWideString()); },
        [this](TWriter& writer) { writer.WriteWideString(Caption()); }, !Caption().empty());
    Filer.DefineProperty(
        "HintW", [this](TReader& reader) { SetHint(reader.ReadWideString()); },
        [this](TWriter& writer) { writer.WriteWideString(Hint()); }, !Hint().empty());
}

// --- Kinds -------------------------------------------------------------------------------

// The submenu kind's bit 0x80 has no meaning in the framework's traits.
TExtSubmenuItem::TExtSubmenuItem(TComponent* AOwner) : TExtItem(AOwner)
{
    SetItemTraits(ItemTraits() | OpensPopup);
}

void TExtSubmenuItem::SetDropdownCombo(bool value)
{
    if (value == DropdownCombo())
        return;
    SetItemTraits(value ? ItemTraits() | DualPart : ItemTraits() & ~DualPart);
    Change(true);
}

TExtCustomLabelItem::TExtCustomLabelItem(TComponent* AOwner) : TExtCustomItem(AOwner)
{
    SetItemTraits((ItemTraits() & ~(HotTrackable | RepaintOnHotChange | RepaintOnHoverChange)) |
                  IgnoresMouseUp);
    SetAlignment(TAlignment::taLeftJustify);
    SetStretch(false);
    SetDisplayMode(TBarItemDisplayMode::nbdmImageAndText);
}

bool TExtCustomLabelItem::DialogChar(WORD Key)
{
    auto* control = dynamic_cast<TWinControl*>(Control());
    if (!control || !control->CanFocus() ||
        !IsAccelerator(static_cast<char>(Key), TSkinCustomItem::Caption()))
        return false;
    control->SetFocus();
    return true;
}

// --- Viewer ------------------------------------------------------------------------------

UINT ExtItemCaptionFormat(TTextWrapping wrapping, TAlignment alignment)
{
    UINT format = DT_VCENTER;
    switch (wrapping) {
    case TTextWrapping::twNone:
        break;
    case TTextWrapping::twEndEllipsis:
        format |= DT_SINGLELINE | DT_END_ELLIPSIS;
        break;
    case TTextWrapping::twPathEllipsis:
        format |= DT_SINGLELINE | DT_PATH_ELLIPSIS;
        break;
    case TTextWrapping::twWrap:
        format |= DT_WORDBREAK;
        break;
    }
    if (alignment == TAlignment::taRightJustify)
        format |= DT_RIGHT;
    else if (alignment == TAlignment::taCenter && ExtItemSingleLine(wrapping))
        format |= DT_CENTER;
    return format;
}

TExtCustomItem* TExtItemViewer::ExtItem() const
{
    return dynamic_cast<TExtCustomItem*>(FItem);
}

TAlignment TExtItemViewer::ShownAlignment() const
{
    const TAlignment alignment = ExtItem()->Alignment();
    if (alignment == TAlignment::taCenter && !View()->IsToolbar())
        return TAlignment::taLeftJustify;
    return alignment;
}

WideString TExtItemViewer::ShownWideCaption()
{
    const TExtCustomItem* item = ExtItem();
    if (!item)
        return AnsiToWide(ShownCaption());
    const WideString caption = item->Caption();
    return caption.substr(0, caption.find(L'\t'));
}

int TExtItemViewer::WideCaptionWidthGain(TCanvas* Canvas)
{
    if (!ShowsCaption())
        return 0;
    // The base viewer measured the ANSI caption as it stands: a caption
    // shown decoded gains the difference (none when the two texts agree).
    const WideString shown = ShownWideCaption();
    if (ExtShownCaptionText(shown) == AnsiToWide(ShownCaption()))
        return 0;
    auto width = [&](const WideString& text, auto paint) {
        TRect r(0, 0, 1, 1);
        paint(Canvas, text, r, DT_CALCRECT | DT_SINGLELINE, TSpGlowDirection::gldNone, 0,
              TExtTextRotation::None);
        return r.Width();
    };
    return width(shown, ExtPaintCaptionGlow) - width(AnsiToWide(ShownCaption()), ExtPaintTextGlow);
}

bool TExtItemViewer::HoldsEmptyLine()
{
    return dynamic_cast<TExtCustomLabelItem*>(FItem) &&
           !dynamic_cast<TExtRightAlignSpacerItem*>(FItem) && ShownWideCaption().empty() &&
           HasBarMetrics() && !CaptionRotated() && ShownImageSize().cx == 0;
}

void TExtItemViewer::CalcSize(TCanvas* Canvas, int& Width, int& Height)
{
    TSkinItemViewer::CalcSize(Canvas, Width, Height);
    TExtCustomItem* item = ExtItem();
    if (!item)
        return;
    // A label keeps the line of its caption while it is empty, so that a bar
    // of labels (the status bar) keeps one height as its texts come and go.
    if (HoldsEmptyLine())
        Height += FontLineHeight(Canvas->Handle());
    const int gain = WideCaptionWidthGain(Canvas) + item->Margins();
    if (CaptionRotated())
        Height += gain;
    else
        Width += gain;
    if (item->CustomWidth() > -1)
        Width = item->CustomWidth();
    if (item->CustomHeight() > -1)
        Height = item->CustomHeight();
    if (item->Anchored())
        Width += FAnchorExtra;
    Width = std::max(Width, item->MinWidth());
    Height = std::max(Height, item->MinHeight());
    if (auto* view = dynamic_cast<TExtToolbarView*>(FView); view && view->MaxItemHeight() >= 0)
        Height = std::min(Height, view->MaxItemHeight());
}

bool TExtItemViewer::ShowsCaption()
{
    auto* toolbar = dynamic_cast<TExtToolbar*>(FView->Window());
    if (toolbar && toolbar->DisplayMode() == TExtToolbarDisplayMode::tbdmImageOnly && HasBarLook())
        return false;
    return TSkinItemViewer::ShowsCaption();
}

void TExtItemViewer::Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
                           bool UseDisabledShadow)
{
    TExtCustomItem* item = ExtItem();
    if (!item) {
        TSkinItemViewer::Paint(Canvas, ClientRect, IsSelected, IsPushed, UseDisabledShadow);
        return;
    }
    const TSkinItemInfo info = MakeItemInfo(IsSelected, IsPushed);
    bool paintDefault = true;
    item->DoDrawItem(Canvas, ClientRect, info, kExtPaintBefore, paintDefault);
    if (paintDefault) {
        FCaptionPending = true;
        TSkinItemViewer::Paint(Canvas, ClientRect, IsSelected, IsPushed, UseDisabledShadow);
        FCaptionPending = false;
    }
    bool after = true;
    item->DoDrawItem(Canvas, ClientRect, info, kExtPaintAfter, after);
}

void TExtItemViewer::DrawViewerImage(TCanvas* Canvas, const TRect& ARect,
                                     const TSkinItemInfo& ItemInfo)
{
    TExtCustomItem* item = ExtItem();
    if (!item) {
        TSkinItemViewer::DrawViewerImage(Canvas, ARect, ItemInfo);
        return;
    }
    TCustomImageList* images = ImageList();
    int index = item->ImageIndex();
    TRect rect = ARect;
    bool paintDefault = true;
    item->PaintImageStage(Canvas, ItemInfo, kExtPaintBefore, images, index, rect, paintDefault);
    if (paintDefault && images && index >= 0 && index < images->Count())
        CurrentTheme()->DrawItemPicture(Canvas, rect, ItemInfo, images, index);
    bool after = true;
    item->PaintImageStage(Canvas, ItemInfo, kExtPaintAfter, images, index, rect, after);
}

void TExtItemViewer::CaptionDrawHook(TCanvas* Canvas, const TRect& ClientAreaRect,
                                     TRect& CaptionRect, bool IsTextRotated, bool& PaintDefault)
{
    // The first text drawn is the caption; a menu's shortcut text after it
    // keeps the theme's painting.
    if (!FCaptionPending)
        return;
    FCaptionPending = false;
    TExtCustomItem* item = ExtItem();
    WideString caption = ShownWideCaption();
    const TAlignment alignment = ShownAlignment();
    UINT format = ExtItemCaptionFormat(item->Wrapping(), alignment);
    // Turned text is one line: centring along it needs no single-line wrapping.
    if (IsTextRotated && alignment == TAlignment::taCenter)
        format |= DT_CENTER;
    bool paintDefault = true;
    item->PaintCaptionStage(Canvas, ClientAreaRect, caption, CaptionRect, format, IsTextRotated,
                            kExtPaintBefore, paintDefault);
    if (paintDefault) {
        // The item measures its caption with even margins on both sides;
        // the text is placed by its alignment in the rectangle, also when
        // it may wrap, so a centred caption keeps both margins.
        TRect rect = CaptionRect;
        if (!IsTextRotated)
            rect = ExtLayoutCaption(Canvas, CaptionRect, caption, alignment, format, SIZE{0, 0},
                                    false, false)
                       .TextRect;
        ExtPaintCaptionGlow(Canvas, caption, rect, format, item->CaptionGlow(),
                            item->CaptionGlowColor(),
                            IsTextRotated ? TExtTextRotation::Down : TExtTextRotation::None);
    }
    PaintDefault = false;
    bool after = true;
    item->PaintCaptionStage(Canvas, ClientAreaRect, caption, CaptionRect, format, IsTextRotated,
                            kExtPaintAfter, after);
}
