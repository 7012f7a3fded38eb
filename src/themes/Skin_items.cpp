// Themed items: font settings, the item with a layout and a minimum size,
// the item that shows and hides a control, and the separator with a size.
#include "Skin.h"

#include "classlib/Exceptions.h"
#include "classlib/Graphics.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr LONG kBoldWeight = 700;
constexpr LONG kNormalWeight = 400;

// Sets or clears style in styles as state asks.
TFontStyles WithStyle(TFontStyles styles, TFontStyle style, TTriState state)
{
    switch (state) {
    case TTriState::tsTrue:
        return styles | style;
    case TTriState::tsFalse:
        return styles & ~style;
    default:
        return styles;
    }
}

// Sets field to on or off as state asks.
template <class T> void ApplyTriState(T& field, TTriState state, T on, T off)
{
    if (state == TTriState::tsTrue)
        field = on;
    else if (state == TTriState::tsFalse)
        field = off;
}

} // namespace

// --- TFontSettings ----------------------------------------------------------------

int ScaledFontSize(int size, TFontSize percent)
{
    const int magnitude = (std::abs(size) * percent + 50) / 100;
    return size < 0 ? -magnitude : magnitude;
}

void TFontSettings::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TFontSettings*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (FBold == other->FBold && FItalic == other->FItalic && FUnderline == other->FUnderline &&
        FStrikeOut == other->FStrikeOut && FSize == other->FSize && FColor == other->FColor &&
        FName == other->FName)
        return;
    FBold = other->FBold;
    FItalic = other->FItalic;
    FUnderline = other->FUnderline;
    FStrikeOut = other->FStrikeOut;
    FSize = other->FSize;
    FColor = other->FColor;
    FName = other->FName;
    Changed();
}

void TFontSettings::Apply(TFont* Font) const
{
    if (FSize != kUnchangedSize)
        Font->SetSize(ScaledFontSize(Font->Size(), FSize));
    if (FColor != clNone)
        Font->SetColor(FColor);
    if (!FName.empty())
        Font->SetName(FName);
    TFontStyles styles = Font->Style();
    styles = WithStyle(styles, fsBold, FBold);
    styles = WithStyle(styles, fsItalic, FItalic);
    styles = WithStyle(styles, fsUnderline, FUnderline);
    styles = WithStyle(styles, fsStrikeOut, FStrikeOut);
    if (styles != Font->Style())
        Font->SetStyle(styles);
}

HFONT TFontSettings::MakeAdjustedFont(HFONT Source, TColor& Color) const
{
    LOGFONTA font = {};
    GetObjectA(Source, sizeof(font), &font);
    if (FSize != kUnchangedSize)
        font.lfHeight = ScaledFontSize(font.lfHeight, FSize);
    ApplyTriState<LONG>(font.lfWeight, FBold, kBoldWeight, kNormalWeight);
    ApplyTriState<BYTE>(font.lfItalic, FItalic, 1, 0);
    ApplyTriState<BYTE>(font.lfUnderline, FUnderline, 1, 0);
    ApplyTriState<BYTE>(font.lfStrikeOut, FStrikeOut, 1, 0);
    if (!FName.empty()) {
        std::memset(font.lfFaceName, 0, sizeof(font.lfFaceName));
        std::memcpy(font.lfFaceName, FName.data(),
                    std::min(FName.size(), sizeof(font.lfFaceName) - 1));
    }
    if (FColor != clNone)
        Color = FColor;
    return CreateFontIndirectA(&font);
}

// --- TSkinCustomItem ----------------------------------------------------------------

TSkinCustomItem::TSkinCustomItem(TComponent* AOwner)
    : TBarCustomItem(AOwner), FFontSettings(new TFontSettings)
{
    FFontSettings->OnChange = TNotifyEvent(this, &TSkinCustomItem::FontSettingsChanged);
}

TSkinCustomItem::~TSkinCustomItem()
{
    delete FFontSettings;
}

void TSkinCustomItem::FontSettingsChanged(TObject*)
{
    Change(true);
}

void TSkinCustomItem::SetStretch(bool value)
{
    if (value == Stretch())
        return;
    SetItemTraits(value ? ItemTraits() | FullLineSpan : ItemTraits() & ~FullLineSpan);
    Change(true);
}

TBarItemViewerClass TSkinCustomItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TSkinItemViewer>;
}

TBarPopupWindowClass TSkinCustomItem::PopupClassForItem()
{
    return NewBarPopupWindow<TSkinPopupWindow>;
}

// --- TSkinVisibilityToggleItem ------------------------------------------------------

void TSkinVisibilityToggleItem::SetControl(TControl* value)
{
    ReplaceFreeNotified<TControl>(this, FControl, value);
    if (FControl && Caption().empty() && !HasState(csLoading))
        SetCaption(FControl->Text());
}

void TSkinVisibilityToggleItem::Click()
{
    // A disabled item clicks nothing, so it shows or hides nothing either.
    if (FControl && Enabled())
        FControl->SetVisible(!FControl->Visible());
    TSkinCustomItem::Click();
}

void TSkinVisibilityToggleItem::InitiateAction()
{
    TSkinCustomItem::InitiateAction();
    if (FControl && !HasState(csLoading) && !HasState(csDesigning) && !HasState(csDestroying))
        SetChecked(FControl->Visible());
}

void TSkinVisibilityToggleItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TSkinCustomItem::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FControl)
        FControl = nullptr;
}

// --- TSkinSeparatorItem -------------------------------------------------------------

TSkinSeparatorItem::TSkinSeparatorItem(TComponent* AOwner) : TBarSeparatorItem(AOwner) {}

void TSkinSeparatorItem::SetSize(int value)
{
    if (value == FSize)
        return;
    FSize = value;
    Change(true);
}

TBarItemViewerClass TSkinSeparatorItem::ViewerClassForItem(TBarView*)
{
    return NewBarViewer<TSkinSeparatorItemViewer>;
}
