// TLabel: text drawn on its parent (no window of its own). AutoSize fits
// the control to the text; an "&" marks the accelerator that focuses
// FocusControl ("&&" shows a literal "&") unless ShowAccelChar is off.
#pragma once

#include "Control.h"

enum class TTextLayout
{
    tlTop,
    tlCenter,
    tlBottom
};

class TLabel : public TGraphicControl
{
public:
    explicit TLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Leaves the parent's pixels under the text.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    UINT DrawTextFlags() const;

private:
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TTextLayout FLayout = TTextLayout::tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr; // not owned; free-notified
};
