// The current theme and the windows that follow it.
//
//   CurrentTheme        the theme every painter calls; always set between
//                       StartSkin and StopSkin ("Default" from the start)
//   SwitchTheme         replaces it and tells the theme-change listeners
//   TSkinNexus          holds the current theme and the theme-change
//                       listeners; passes every system change on to them
//   TSkinMenuAnimation  the animation chosen for popups
//   AskViewType, ResolvedColor
//                       the questions any window may be asked
//
// Theme-change listeners get WM_SKIN_THEMECHANGE three times per change
// (WParam 1 before, 2 during, 3 after), with LParam 1 for a switch and 0
// for a system change passed on (then WParam 4 and 5 tell activation).
#pragma once

#include "SkinThemes.h"

class TBarView;
class TControl;

void StartSkin();
void StopSkin();

TSkinTheme* CurrentTheme();
// Nothing happens for a name not registered; otherwise the current theme
// is released, the named one taken, and the listeners told.
void SwitchTheme(const AnsiString& Name);
AnsiString CurrentThemeName();

// Adds only when absent.
void ListenThemeChanges(TObject* Obj);
void UnlistenThemeChanges(TObject* Obj);

class TSkinNexus : public TObject
{
public:
    // Takes the named theme as the current one and listens to the system.
    explicit TSkinNexus(const AnsiString& ThemeName);
    ~TSkinNexus() override;

    void Dispatch(TMessage& message) override;

    void Listen(TObject* listener);
    void Unlisten(TObject* listener);
    // Sends WM_SKIN_THEMECHANGE to every listener; listeners may join or
    // leave meanwhile (one that left is not told).
    void Broadcast(WPARAM wParam, LPARAM lParam);

private:
    std::vector<TObject*> FListeners; // not owned
};

// --- Popup animation --------------------------------------------------------------

enum class TSkinPopupAnimation
{
    None = 0,
    Unfold = 1,
    Slide = 2,
    Fade = 3,
};

// The modes a system offers, bit n for mode n: 0 always; 1 to 4 on NT 5 and
// later or on 9x 4.10 and later; 5 (fade) on NT 5 and later.
unsigned AvailableMenuAnimationModes(bool nt, DWORD majorVersion, DWORD minorVersion);
// The mode asked for, stepped down until available; mode 1 becomes 0 while
// the system does not animate menus.
int ResolveMenuAnimationMode(int asked, unsigned available, bool systemAnimation);
// The animation of one popup in a mode: 1 follows the system's animation
// and fade settings, 2 picks by random among unfold and slide (and fade
// when available), 3, 4, 5 are unfold, slide, fade; 0 none.
TSkinPopupAnimation PopupAnimationFor(int mode, bool systemAnimation, bool systemFade,
                                      bool fadeAvailable, unsigned random);

class TSkinMenuAnimation : public TObject
{
public:
    // mode 0 .. 5, resolved on this system.
    explicit TSkinMenuAnimation(int mode);
    int Mode() const { return FMode; }
    // The animation of the next popup, from the system's current settings.
    TSkinPopupAnimation AnimationForPopup() const;

private:
    BYTE FMode;
    unsigned FAvailable; // the system's modes, bit n for mode n
};

// The program's choice (nullptr outside StartSkin .. StopSkin).
TSkinMenuAnimation* SkinMenuAnimation();

// --- Questions to windows ---------------------------------------------------------

// 0 for no view or a view without owner; else the owner's answer to
// WM_SKIN_VIEWTYPE.
DWORD AskViewType(TBarView* View);
// clBtnFace for no control; the control's answer to WM_SKIN_EFFECTIVECOLOR,
// else its Color.
TColor ResolvedColor(TControl* Control);
