#include "CursolImage.h"

// The parent passes WM_CAPTURECHANGED on only while the image holds the
// capture, so the image's own release (which lets go first) never gets here.
void TCursolImage::WndProc(TMessage& message)
{
    TImage::WndProc(message);
    if ((message.Msg == WM_MOUSEWHEEL || message.Msg == CM_MOUSEWHEEL) && OnMouseWheel)
        OnMouseWheel(this);
    if (message.Msg == WM_CAPTURECHANGED && OnCaptureLost)
        OnCaptureLost(this);
}

void TCursolImage::Paint()
{
    TImage::Paint();
    if (OnPaint)
        OnPaint(this);
}

void TCursolImage::MouseEnter()
{
    SetOver(true);
}

void TCursolImage::MouseLeave()
{
    SetOver(false);
}

void TCursolImage::MouseMove(TShiftState Shift, int X, int Y)
{
    SetOver(ClientRect().Contains(TPoint(X, Y)));
    TImage::MouseMove(Shift, X, Y);
}

// Enter and leave fire on changes only: a captured drag reports leaving
// from its moves, and the notification that follows when the mouse goes on
// over the parent must not report it again.
void TCursolImage::SetOver(bool over)
{
    if (over == FOver)
        return;
    FOver = over;
    if (over && OnMouseEnter) {
        FInside = true;
        OnMouseEnter(this);
    } else if (!over && OnMouseLeave) {
        FInside = false;
        OnMouseLeave(this);
    }
}
