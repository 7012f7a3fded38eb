// TImage: shows a bitmap it owns; drawing on the bitmap (or on Canvas,
// which is the bitmap's canvas) repaints the control. Stretch fits the
// bitmap to the control, Center centres it, Transparent leaves out the
// bitmap's transparent colour (its bottom-left pixel unless set).
#pragma once

#include "Control.h"

class TImage : public TGraphicControl
{
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TBitmap* Picture() const { return FBitmap; }
    TBitmap* Bitmap() const { return FBitmap; }
    // The bitmap's canvas (drawing there repaints the image).
    TCanvas* Canvas() const { return FBitmap->Canvas(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Transparent() const { return FBitmap->Transparent(); }
    void SetTransparent(bool value);

    // Fires after every change of the bitmap.
    TNotifyEvent OnChange;

protected:
    void Paint() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    // The rectangle the bitmap is drawn into.
    TRect DestRect() const;

private:
    void PictureChanged(TObject* Sender);

    TBitmap* FBitmap; // owned
    bool FStretch = false;
    bool FCenter = false;
    bool FRepaintPending = false; // invalidated since the last paint
};
