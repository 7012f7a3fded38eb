// The window that shows a control's hint: a borderless pop-up in the hint
// colours, shown without taking the activation. The application makes it
// through THintInfo::HintWindowClass, which a control may replace in
// CM_HINTSHOW (a wide-text layer shows wide hints that way).
#pragma once

#include "WinControl.h"

class THintWindow : public TCustomControl
{
public:
    explicit THintWindow(TComponent* AOwner);

    // The rectangle (at 0,0) the text needs, no wider than maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const AnsiString& hint);
    // Shows hint over rect (screen coordinates).
    virtual void ActivateHint(const TRect& rect, const AnsiString& hint);
    void ReleaseHint();
    bool HintShowing();

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // Draws (or with DT_CALCRECT measures) the text shown for hint; a
    // wide-text window draws its wide form.
    virtual void DrawHintText(HDC dc, const AnsiString& hint, RECT& rect, UINT format);
    void WndProc(TMessage& message) override;
};

THintWindow* CreateDefaultHintWindow(TControl* owner);

// The part of a hint before "|" (the whole hint when it has none).
AnsiString GetShortHint(const AnsiString& hint);
// The part after "|" (the whole hint when it has none).
AnsiString GetLongHint(const AnsiString& hint);
