// TStatusBar over the common controls' status bar: panels of given widths
// (the last one takes the rest), or one simple panel; owner-drawn panels
// paint through OnDrawPanel on Canvas. With AutoHint the bar shows the
// application's hints (the THintAction the application executes).
#pragma once

#include "WinControl.h"

#include <vector>

class TStatusBar;

enum class TStatusPanelStyle
{
    psText,
    psOwnerDraw
};
enum class TStatusPanelBevel
{
    pbNone,
    pbLowered,
    pbRaised
};

class TStatusPanel : public TPersistent
{
public:
    explicit TStatusPanel(TStatusBar* owner) : FOwner(owner) {}

    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& value);
    // Pixels.
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel value);
    int Index() const;

private:
    friend class TStatusBar;
    TStatusBar* FOwner; // not owned
    AnsiString FText;
    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TStatusPanelStyle FStyle = TStatusPanelStyle::psText;
    TStatusPanelBevel FBevel = TStatusPanelBevel::pbLowered;
};

class TStatusPanels : public TPersistent
{
public:
    explicit TStatusPanels(TStatusBar* owner) : FOwner(owner) {}
    ~TStatusPanels() override;
    int Count() const { return static_cast<int>(FPanels.size()); }
    TStatusPanel* Items(int index) const { return FPanels.at(index); }
    TStatusPanel* operator[](int index) const { return Items(index); }
    TStatusPanel* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TStatusBar;
    friend class TStatusPanel;
    std::vector<TStatusPanel*> FPanels; // owned
    TStatusBar* FOwner;                 // not owned
};

// Sender, Panel, Rect.
using TDrawPanelEvent = TEvent<TStatusBar*, TStatusPanel*, const TRect&>;

class TStatusBar : public TWinControl
{
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return FPanels; }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const AnsiString& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const AnsiString& value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    bool AutoHint() const { return FAutoHint; }
    void SetAutoHint(bool value) { FAutoHint = value; }
    TCanvas* Canvas() const { return FCanvas; }

    TDrawPanelEvent OnDrawPanel;
    TNotifyEvent OnHint;
    void WndProc(TMessage& message) override;

protected:
    friend class TStatusPanel;
    friend class TStatusPanels;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void UpdatePanels();
    void UpdatePanelText(int index);

private:
    TStatusPanels* FPanels;  // owned
    TControlCanvas* FCanvas; // owned; for owner-drawn panels
    bool FSimplePanel = false;
    AnsiString FSimpleText;
    bool FSizeGrip = true;
    bool FAutoHint = false;
};
