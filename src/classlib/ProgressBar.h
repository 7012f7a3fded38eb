// TProgressBar over the common controls' progress bar, with 32-bit range
// and position. Position is clamped to Min .. Max.
#pragma once

#include "WinControl.h"

class TProgressBar : public TWinControl
{
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int Step() const { return FStep; }
    void SetStep(int value);
    // Advances by Step (past Max, the bar starts again from Min, as the
    // system's bar does).
    void StepIt();
    void StepBy(int delta);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void ApplyRange();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    bool FSmooth = false;
    bool FVertical = false;
};
