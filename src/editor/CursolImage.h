// TCursolImage: an image that tells its owner when the mouse enters it,
// leaves it, or turns the wheel over it. Inside follows the mouse on an
// image whose enter and leave events are both assigned (as the waveform's
// are): it becomes true when OnMouseEnter fires and false when OnMouseLeave
// fires.
//
// While a button is held on the image, the image keeps the mouse captured
// and its parent sends it every move; leaving and re-entering are then read
// from the move's coordinates, so a drag that runs off the image still
// reports both (the waveform's drag-scroll depends on it). When the capture
// goes elsewhere while the button is held (a message box, another window
// taking the mouse), no release will come: OnCaptureLost says so.
#pragma once

#include "classlib/Image.h"

class TCursolImage : public TImage
{
public:
    explicit TCursolImage(TComponent* AOwner) : TImage(AOwner) {}

    bool Inside() const { return FInside; }

    // A plain notification with the sender (it hides the control's
    // wheel event with its delta and position, which the image does not
    // offer).
    TNotifyEvent OnMouseWheel;
    // Fires after every paint of the image on the screen.
    TNotifyEvent OnPaint;
    // The mouse was taken from the image while its button was held.
    TNotifyEvent OnCaptureLost;

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    void SetOver(bool over);

    bool FOver = false;   // the mouse is over the image, as last reported
    bool FInside = false; // Inside: set by the enter event, cleared by the leave event
};
