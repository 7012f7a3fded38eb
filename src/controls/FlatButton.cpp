#include "FlatButton.h"

#include "classlib/Actions.h"
#include "classlib/ControlMessages.h"
#include "classlib/ScopeExit.h"
#include "classlib/WideText.h"
#include "classlib/WinControl.h"
#include "themes/Skin.h"

#include <algorithm>

namespace {

constexpr int kContentMargin = 6;

UINT EllipsisFormat(TEllipsisStyle style)
{
    switch (style) {
    case TEllipsisStyle::esEndEllipsis:
        return DT_END_ELLIPSIS;
    case TEllipsisStyle::esPathEllipsis:
        return DT_PATH_ELLIPSIS;
    case TEllipsisStyle::esNone:
        break;
    }
    return DT_CENTER;
}

bool Beside(TGlyphLayout layout)
{
    return layout == TGlyphLayout::glyLeft || layout == TGlyphLayout::glyRight;
}

} // namespace

SIZE FlatButtonContentSize(SIZE text, SIZE image, bool hasImage, TGlyphLayout layout, int spacing)
{
    SIZE block = text;
    if (hasImage && Beside(layout)) {
        block.cx = text.cx + image.cx + spacing;
        block.cy = std::max(text.cy, image.cy);
    } else if (hasImage) {
        block.cx = std::max(text.cx, image.cx);
        block.cy = text.cy + image.cy + spacing;
    }
    return {block.cx + 2 * kContentMargin, block.cy + 2 * kContentMargin};
}

TFlatButton::TFlatButton(TComponent* AOwner)
    : TButton(AOwner), FCanvas(new TControlCanvas), FImageLink(new TChangeLink)
{
    FCanvas->SetControl(this);
    FImageLink->OnChange = [this](TObject* sender) { ImageListChanged(sender); };
    SetTabStop(true);
    ListenThemeChanges(this);
}

TFlatButton::~TFlatButton()
{
    UnlistenThemeChanges(this);
    SetImages(nullptr);
    delete FImageLink;
    delete FCanvas;
}

void TFlatButton::CreateParams(TCreateParams& params)
{
    TButton::CreateParams(params);
    params.Style = (params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

bool TFlatButton::HasImage() const
{
    return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

void TFlatButton::ContentChanged()
{
    AdjustSize();
    Invalidate();
}

void TFlatButton::ImageListChanged(TObject*)
{
    ContentChanged();
}

void TFlatButton::SetImages(TCustomImageList* value)
{
    if (value == FImages)
        return;
    ReplaceLinkedImages(this, FImages, value, FImageLink);
    ContentChanged();
}

void TFlatButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TButton::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages) {
        FImages = nullptr;
        ContentChanged();
    }
}

void TFlatButton::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    ContentChanged();
}

void TFlatButton::SetGlyphLayout(TGlyphLayout value)
{
    if (value == FGlyphLayout)
        return;
    FGlyphLayout = value;
    ContentChanged();
}

void TFlatButton::SetGlyphSpacing(int value)
{
    if (value == FGlyphSpacing)
        return;
    FGlyphSpacing = value;
    ContentChanged();
}

void TFlatButton::SetEllipsisStyle(TEllipsisStyle value)
{
    FEllipsisStyle = value;
    Invalidate();
}

bool TFlatButton::CanAutoSize(int& NewWidth, int& NewHeight)
{
    FCanvas->Font()->Assign(Font());
    SIZE text = FCanvas->TextExtent(Caption());
    FCanvas->FreeHandle();
    SIZE image = HasImage() ? SIZE{FImages->Width(), FImages->Height()} : SIZE{0, 0};
    SIZE size = FlatButtonContentSize(text, image, HasImage(), FGlyphLayout, FGlyphSpacing);
    NewWidth = size.cx;
    NewHeight = size.cy;
    return true;
}

void TFlatButton::SetChecked(bool value)
{
    if (FSettingAction)
        return;
    if (value && FAllowAllUp && FChecked)
        value = false;
    if (FCheckable)
        FChecked = value;
    if (auto* action = dynamic_cast<TCustomAction*>(Action())) {
        FSettingAction = true;
        TScopeExit set([this] { FSettingAction = false; });
        action->SetChecked(FChecked);
    }
    Invalidate();
    if (FChecked && FGroupIndex != 0 && Parent()) {
        TMessage m = {CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex),
                      reinterpret_cast<LPARAM>(this), 0};
        Parent()->Broadcast(m);
    }
    if (OnChange)
        OnChange(this);
}

void TFlatButton::GroupButtonPressed(TMessage& m)
{
    auto* sender = reinterpret_cast<TFlatButton*>(m.LParam);
    if (sender == this || !FChecked || static_cast<int>(m.WParam) != FGroupIndex)
        return;
    FChecked = false;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TFlatButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TButton::ActionChange(Sender, CheckDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(Sender))
        if (!CheckDefaults || FGroupIndex == 0)
            FGroupIndex = action->GroupIndex();
}

void TFlatButton::SetState(TFlatPaintState value)
{
    if (value == FState)
        return;
    FState = value;
    Invalidate();
}

void TFlatButton::RestState()
{
    if (FPressed)
        SetState(TFlatPaintState::Down);
    else
        SetState(FMouseInside ? TFlatPaintState::Over : TFlatPaintState::Normal);
}

void TFlatButton::MouseEnter()
{
    FMouseInside = true;
    RestState();
    TButton::MouseEnter();
}

void TFlatButton::MouseLeave()
{
    FMouseInside = false;
    RestState();
    TButton::MouseLeave();
}

void TFlatButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft) {
        FPressed = true;
        SetState(TFlatPaintState::Down);
        if (CanFocus())
            SetFocus();
    }
    TButton::MouseDown(Button, Shift, X, Y);
}

void TFlatButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft && FPressed) {
        FPressed = false;
        if (ClientRect().Contains(TPoint(X, Y)))
            SetChecked(true);
        RestState();
    }
    TButton::MouseUp(Button, Shift, X, Y);
}

void TFlatButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = 1;
        return;
    case CM_BUTTONPRESSED:
        GroupButtonPressed(m);
        return;
    case WM_SKIN_THEMECHANGE:
        if (m.WParam == 3)
            Invalidate();
        return;
    case WM_KEYDOWN:
        if (m.WParam == VK_SPACE && !(m.LParam & 0x40000000)) {
            SetState(TFlatPaintState::Down);
            SetChecked(true);
        }
        break;
    case WM_KEYUP:
        if (m.WParam == VK_SPACE)
            RestState();
        break;
    case WM_SETFOCUS:
        if (FShowFocus && !FPressed)
            SetState(TFlatPaintState::Over);
        break;
    case WM_KILLFOCUS:
        FPressed = false;
        RestState();
        break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TButton::WndProc(m);
        ContentChanged();
        return;
    }
    TButton::WndProc(m);
}

void TFlatButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    TSkinTheme* theme = CurrentTheme();
    if (!theme)
        return;
    TCanvasDCScope scope(FCanvas, item.hDC);
    TRect client = ClientRect();
    TSkinItemInfo info = FlatItemInfo(FState, Enabled(), FChecked);
    theme->DrawButtonFace(FCanvas, client, info);
    DrawContent(theme, client, info);
    if (FShowFocus && Focused()) {
        TRect focus = client;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

// The image and the text as one block, centred; the text takes what is
// left of the block beside or below the image.
void TFlatButton::DrawContent(TSkinTheme* theme, const TRect& client, const TSkinItemInfo& info)
{
    FCanvas->Font()->Assign(Font());
    SIZE text = FCanvas->TextExtent(Caption());
    bool image = HasImage();
    SIZE picture = image ? SIZE{FImages->Width(), FImages->Height()} : SIZE{0, 0};
    SIZE block = FlatButtonContentSize(text, picture, image, FGlyphLayout, FGlyphSpacing);
    int width = std::min<int>(block.cx, client.Width()) - 2 * kContentMargin;
    int height = block.cy - 2 * kContentMargin;
    int left = client.left + (client.Width() - width) / 2;
    int top = client.top + (client.Height() - height) / 2;
    TRect textRect(client.left + kContentMargin, client.top, client.right - kContentMargin,
                   client.bottom);
    if (image) {
        TPoint at(left, client.top + (client.Height() - picture.cy) / 2);
        int centreX = client.left + (client.Width() - picture.cx) / 2;
        switch (FGlyphLayout) {
        case TGlyphLayout::glyLeft:
            textRect.left = left + picture.cx + FGlyphSpacing;
            textRect.right = left + width;
            break;
        case TGlyphLayout::glyRight:
            at.x = left + width - picture.cx;
            textRect.left = left;
            textRect.right = at.x - FGlyphSpacing;
            break;
        case TGlyphLayout::glyTop:
            at = TPoint(centreX, top);
            textRect.top = top + picture.cy + FGlyphSpacing;
            textRect.bottom = textRect.top + text.cy;
            break;
        case TGlyphLayout::glyBottom:
            at = TPoint(centreX, top + text.cy + FGlyphSpacing);
            textRect.top = top;
            textRect.bottom = top + text.cy;
            break;
        }
        TRect pictureRect(at.x, at.y, at.x + picture.cx, at.y + picture.cy);
        theme->DrawItemPicture(FCanvas, pictureRect, info, FImages, FImageIndex);
    }
    if (Caption().empty())
        return;
    FCanvas->Font()->SetColor(clNone);
    theme->DrawItemText(FCanvas, textRect, info, AnsiToWide(Caption()),
                        DT_SINGLELINE | DT_VCENTER | EllipsisFormat(FEllipsisStyle), false);
}
