#include "ProgressBar.h"

#include <algorithm>
#include <commctrl.h>

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSA);
    if (FSmooth)
        params.Style |= PBS_SMOOTH;
    if (FVertical)
        params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyRange();
}

void TProgressBar::ApplyRange()
{
    if (!HandleAllocated())
        return;
    SendMessageA(WindowHandle(), PBM_SETRANGE32, FMin, FMax);
    SendMessageA(WindowHandle(), PBM_SETSTEP, FStep, 0);
    SendMessageA(WindowHandle(), PBM_SETPOS, FPosition, 0);
}

void TProgressBar::SetMin(int value)
{
    FMin = value;
    if (FMax < FMin)
        FMax = FMin;
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

void TProgressBar::SetMax(int value)
{
    FMax = value;
    if (FMin > FMax)
        FMin = FMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

void TProgressBar::SetPosition(int value)
{
    value = std::clamp(value, FMin, FMax);
    if (value == FPosition)
        return; // the bar repaints at every position message
    FPosition = value;
    if (HandleAllocated())
        SendMessageA(WindowHandle(), PBM_SETPOS, FPosition, 0);
}

void TProgressBar::SetStep(int value)
{
    FStep = value;
    if (HandleAllocated())
        SendMessageA(WindowHandle(), PBM_SETSTEP, FStep, 0);
}

void TProgressBar::StepIt()
{
    StepBy(FStep);
}

void TProgressBar::StepBy(int delta)
{
    long long next = static_cast<long long>(FPosition) + delta;
    if (next > FMax)
        next = FMin + (next - FMin) % (static_cast<long long>(FMax) - FMin + 1);
    SetPosition(static_cast<int>(std::max<long long>(next, FMin)));
}

void TProgressBar::SetSmooth(bool value)
{
    SetWindowStyleProperty(FSmooth, value);
}

void TProgressBar::SetVertical(bool value)
{
    SetWindowStyleProperty(FVertical, value);
}
