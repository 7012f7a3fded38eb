// Themed edit items and their viewers: a text box in a toolbar or a menu
// measured and painted through the current theme, with a drop-down button
// or a pair of spin buttons at its right.
//
//   TSkinEditItem            the item: its caption and editor fonts, the
//                            editor's alignment, password character and
//                            read-only state, and the editor's events
//   TSkinEdit                the edit control shown while editing
//   TSkinEditItemViewer      caption, box frame and interior by the theme
//   TSkinDropDownItemViewer  adds the drop-down button (F4 opens and shuts
//                            the item's popup)
//   TSkinSpinEditViewer      the button part holds an upper and a lower
//                            half that step the value, repeating while held
#pragma once

#include "Skin.h"

#include "toolbar/BarExtItems.h"

// Sender, Text.
using TSkinEditChange = TEvent<TObject*, const AnsiString&>;

class TSkinEditItem : public TBarEditItem
{
public:
    explicit TSkinEditItem(TComponent* AOwner);
    ~TSkinEditItem() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { StoreResizing(FAlignment, value); }
    // Applied to the caption's font.
    TFontSettings* FontSettings() const { return FFontSettings; }
    void SetFontSettings(TFontSettings* value) { FFontSettings->Assign(value); }
    // Applied to the editor's font.
    TFontSettings* EditorFontSettings() const { return FEditorFontSettings; }
    void SetEditorFontSettings(TFontSettings* value) { FEditorFontSettings->Assign(value); }
    // 0: the text shows as typed.
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char value) { StoreResizing(FPasswordChar, value); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // The item's image left of its caption outside toolbar style.
    bool ShowImage() const { return FShowImage; }
    void SetShowImage(bool value) { StoreResizing(FShowImage, value); }

    // The editor's text on each change, its keys.
    TSkinEditChange OnChange;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // Gives the editor the item's settings and events, then OnBeginEdit.
    void PrepareEditor(TBarEditItemViewer* Viewer) override;
    TBarItemViewerClass ViewerClassForItem(TBarView* View) override;
    bool ViewerNeedsRebuild(TBarItemViewer* Viewer) override;
    TBarPopupWindowClass PopupClassForItem() override;

protected:
    // The box viewer this item shows when it shows a box.
    virtual TBarItemViewerClass BoxViewerClass();

private:
    void FontSettingsChanged(TObject*) { Change(true); }

    TAlignment FAlignment = TAlignment::taLeftJustify;
    TFontSettings* FFontSettings;       // owned
    TFontSettings* FEditorFontSettings; // owned
    char FPasswordChar = 0;
    bool FReadOnly = false;
    bool FShowImage = true;
};

class TSkinEdit : public TEdit
{
public:
    using TEdit::TEdit;
};

// Where a box viewer's parts lie, relative to its own top-left corner.
struct TSkinEditLayout
{
    TRect Caption; // empty in toolbar style or without a caption
    TRect Image;   // empty when no image shows
    TRect Box;     // the frame
    TRect Text;    // inside the frame, left of the buttons
    TRect Buttons; // empty without buttons
};

class TSkinEditItemViewer : public TBarEditItemViewer
{
public:
    using TBarEditItemViewer::TBarEditItemViewer;

    TSkinEditItem* SkinItem() const;

    void CalcSize(TCanvas* Canvas, int& Width, int& Height) override;
    void Paint(TCanvas* Canvas, const TRect& ClientRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
    void EditorBounds(TRect& R) override;
    bool HasBarLook() override;
    bool HasBarMetrics() override;
    TBarEditorClass EditorClass() override;

    // The parts for a viewer of the given size, the caption measured in
    // Canvas's font.
    TSkinEditLayout Layout(TCanvas* Canvas, SIZE Size);
    // The width of the button part; 0: none.
    virtual int ButtonPartWidth() { return 0; }

protected:
    // The caption's font: the view's with the item's settings.
    void ApplyCaptionFont(TCanvas* Canvas);
    // Paints the button part through the theme.
    virtual void PaintButtons(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& Info) {}
    TSkinItemInfo MakeItemInfo(bool IsSelected, bool IsPushed);

private:
    bool CaptionShown();
    bool ImageShown();
    void PaintCaptionPart(TCanvas* Canvas, const TSkinEditLayout& L, const TSkinItemInfo& Info,
                          bool IsSelected);
    void PaintText(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& Info);
};

// A box with a drop-down button that opens the item's popup.
class TSkinDropDownItemViewer : public TSkinEditItemViewer
{
public:
    using TSkinEditItemViewer::TSkinEditItemViewer;

    int ButtonPartWidth() override;
    // A point (viewer coordinates) on the button part.
    bool OnButtonPart(int X);
    // The edit part runs the editor; the button part opens the popup.
    bool HitsButtonSection(int X, int Y) override;
    // F4 opens the item's popup, or shuts it when this viewer opened it.
    void KeyDown(WORD& Key, TShiftState Shift) override;

protected:
    void PaintButtons(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& Info) override;
    // The state flags (TSkinEditButtonFlag) of the button or of one half.
    DWORD ButtonFlags(const TSkinItemInfo& Info);
};

// A box whose button part steps the value: the upper half up, the lower
// half down, again after the first interval and then after every next one
// while held.
class TSkinSpinEditViewer : public TSkinDropDownItemViewer
{
public:
    static constexpr UINT kFirstRepeat = 400;
    static constexpr UINT kNextRepeat = 100;

    TSkinSpinEditViewer(TBarView* View, TBarCustomItem* Item, int GroupLevel);
    ~TSkinSpinEditViewer() override;

    // +1 for the upper half, -1 for the lower, 0 when none is held.
    int HeldHalf() const { return FHeld; }
    HWND TimerWindow() const { return FTimerWindow; }
    // 0 while no repeat runs.
    UINT TimerInterval() const { return FTimerInterval; }

    // Adds Delta to the item's text read as a whole number (0 when it is
    // none) and stores the result as the text.
    virtual void Step(int Delta);

    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) override;
    void MouseUp(int X, int Y, bool MouseWasDownOnMenu) override;
    void LosingCapture() override;

protected:
    void PaintButtons(TCanvas* Canvas, const TRect& R, const TSkinItemInfo& Info) override;

private:
    void StartRepeat(UINT interval);
    void StopRepeat();
    void TimerWndProc(TMessage& message);

    HWND FTimerWindow = nullptr; // owned
    UINT FTimerInterval = 0;
    int FHeld = 0;
};
