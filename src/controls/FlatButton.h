// TFlatButton: a push button drawn by the current theme as a toolbar item,
// with an optional image from an image list, a check state and groups of
// buttons of which at most one is checked.
#pragma once

#include "FlatSplitter.h"

#include "classlib/ImageList.h"
#include "classlib/StandardControls.h"

enum class TGlyphLayout
{
    glyLeft,
    glyRight,
    glyTop,
    glyBottom
};

enum class TEllipsisStyle
{
    esNone,
    esEndEllipsis,
    esPathEllipsis
};

// The size of a button that fits its text and image: 6 pixels around the
// block, GlyphSpacing between image and text (only when there is an image).
SIZE FlatButtonContentSize(SIZE text, SIZE image, bool hasImage, TGlyphLayout layout, int spacing);

class TFlatButton : public TButton
{
public:
    explicit TFlatButton(TComponent* AOwner);
    ~TFlatButton() override;

    bool Checkable() const { return FCheckable; }
    void SetCheckable(bool value) { FCheckable = value; }
    bool Checked() override { return FChecked; }
    // Stored only when Checkable; with AllowAllUp, checking a checked button
    // unchecks it. A checked button of a group unchecks the group's others.
    void SetChecked(bool value) override;
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TGlyphLayout GlyphLayout() const { return FGlyphLayout; }
    void SetGlyphLayout(TGlyphLayout value);
    int GlyphSpacing() const { return FGlyphSpacing; }
    void SetGlyphSpacing(int value);
    TEllipsisStyle EllipsisStyle() const { return FEllipsisStyle; }
    void SetEllipsisStyle(TEllipsisStyle value);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value) { FShowFocus = value; }
    // Kept for window descriptions; the theme decides the face.
    bool Framed() const { return FFramed; }
    void SetFramed(bool value) { FFramed = value; }
    bool Themed() const { return FThemed; }
    void SetThemed(bool value) { FThemed = value; }

    TFlatPaintState PaintState() const { return FState; }
    TNotifyEvent OnChange;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    bool HasImage() const;
    void ContentChanged();
    void ImageListChanged(TObject* Sender);
    void SetState(TFlatPaintState value);
    // Over when the mouse is inside, else normal (down while pressed).
    void RestState();
    void GroupButtonPressed(TMessage& m);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawContent(TSkinTheme* theme, const TRect& client, const TSkinItemInfo& info);

    TControlCanvas* FCanvas;             // owned
    TChangeLink* FImageLink;             // owned
    TCustomImageList* FImages = nullptr; // not owned; free-notified
    int FImageIndex = -1;
    TGlyphLayout FGlyphLayout = TGlyphLayout::glyLeft;
    int FGlyphSpacing = 4;
    TEllipsisStyle FEllipsisStyle = TEllipsisStyle::esNone;
    bool FCheckable = false;
    bool FChecked = false;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    bool FShowFocus = true;
    bool FFramed = true;
    bool FThemed = true;
    bool FSettingAction = false;
    TFlatPaintState FState = TFlatPaintState::Normal;
    bool FMouseInside = false;
    bool FPressed = false;
};
