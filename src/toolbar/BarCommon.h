// Routines every part of the toolbar framework shares.
//
//   system settings   menu show delay, flat menus, keyboard cues, wheel
//                     lines, menu animation, sound events, monitors and work
//                     areas: each read through a replaceable seam
//                     (BarSeams) so that tests fix what the host reports
//   caption text      accelerator marks, doubled ampersands, trailing
//                     punctuation, the accelerator character: all stepping
//                     over double-byte characters of the ANSI code page
//   vertical text     the rotated font and the downward caption
//   window drawing    PaintWindowTree (WM_PRINT), the non-client clip, drag
//                     outlines drawn by pattern inversion
//   messages          flushing paints, removing a range (WM_QUIT survives),
//                     mouse-leave requests
//   small helpers     list helpers, rounding, a measuring canvas, a watch on
//                     a component's going
//   bindings          the newer system functions, looked up once per process
//
// Not here: the animation of popups (BarAnim) and the thread hooks (BarHook).
#pragma once

#include "classlib/Graphics.h"
#include "classlib/Object.h"
#include "classlib/Types.h"

#include <functional>
#include <vector>
#include <windows.h>

// Private messages of the framework.
constexpr UINT WM_BAR_POSTEDCLICK = 0x500; // WParam: flag; LParam: slot
constexpr UINT WM_BAR_ANIMFRAME = 0x955;   // LParam: animation sequence
constexpr UINT WM_BAR_ANIMDONE = 0x956;    // LParam: animation sequence
constexpr UINT WM_BAR_POPUPSHOWN = 0x62A;  // WParam: 1 about to animate, 2 done, 3 shown at once

// --- System settings -------------------------------------------------------

// Where the framework asks the host. Each seam starts out calling the
// system; tests replace them, and ResetBarSeams() restores the system calls.
struct TBarSystemSeams
{
    // SPI_GETMENUSHOWDELAY (ms): false when the call fails.
    std::function<bool(int& delay)> MenuShowDelay;
    std::function<bool()> FlatMenus; // SPI_GETFLATMENU
    // SPI_GETKEYBOARDCUES: false when the call fails.
    std::function<bool(bool& shown)> KeyboardCues;
    // SPI_GETWHEELSCROLLLINES as the system answers it (WHEEL_PAGESCROLL
    // included), 3 when the call fails.
    std::function<UINT()> WheelScrollLines;
    std::function<bool()> MenuAnimation; // SPI_GETMENUANIMATION
    std::function<bool()> MenuFade;      // SPI_GETMENUFADE
    // Whether the user's sound scheme gives the event a sound.
    std::function<bool(const AnsiString& eventName)> SoundEventAssigned;
    // Plays a sound event asynchronously, without a default sound and
    // without stopping another sound.
    std::function<void(const AnsiString& eventName)> PlaySoundEvent;
    // The default beep (MessageBeep(0)).
    std::function<void()> Beep;
};

TBarSystemSeams& BarSeams();
void ResetBarSeams();

// The delay before a submenu opens or closes, in ms (never negative): the
// system's value, else the registry's (read once per process).
int SubmenuDelay();
// The registry's menu show delay ("Control Panel\Desktop", MenuShowDelay).
int RegistrySubmenuDelay();
// The rule for that value: 400 when missing; the number a string holds;
// 0 for anything else.
int MenuShowDelayFromRegistry(bool present, bool isString, const AnsiString& text);
bool FlatMenuStyleOn();
bool KeyboardCuesShown();
bool MenuAnimationOn();
bool MenuFadeOn();
UINT WheelScrollLines();
// Beeps through the seam.
void BarBeep();
bool SoundEventAssigned(const AnsiString& eventName);
void PlaySoundEvent(const AnsiString& eventName);
// The registry's answer for a sound event: assigned when the scheme's
// ".Current" default value is a non-empty string (or too long to read into
// 8 bytes).
bool RegistrySoundEventAssigned(const AnsiString& eventName);

bool OsIsXPOrNewer();
// The system is of the NT family (not the 9x one).
bool IsNTPlatform();
// The system's version is major.minor or later (any platform).
bool WindowsVersionAtLeast(DWORD major, DWORD minor);
bool ThreadHasActiveWindow();
// The ANSI code page of the keyboard layout's language; 0 when that is
// not a valid code page.
UINT KeyboardCodePage();
bool SeveralMonitors();
// The primary screen's work area (or its whole rectangle).
TRect GetMainScreenRect(bool workArea);
// The work area (or whole rectangle) of the monitor nearest r or p.
TRect MonitorRectForRect(const TRect& r, bool workArea);
TRect MonitorRectAtPoint(const TPoint& p, bool workArea);

// --- Caption text ----------------------------------------------------------

// tmHeight of the DC's font.
int FontLineHeight(HDC dc);
// The width of s in the DC's font, without its accelerator marks when
// stripAccelerators.
int CaptionPixelWidth(HDC dc, const AnsiString& s, bool stripAccelerators);
// Drops every single "&"; "&&" becomes "&".
AnsiString RemoveAccelMarks(const AnsiString& s);
// Doubles every "&".
AnsiString DoubleAmpersands(const AnsiString& s);
// Drops one trailing ":" or one trailing "...".
AnsiString StripTrailingPunctuation(const AnsiString& s);
// The character after the last single "&", or 0 when there is none (a
// double-byte character is never an accelerator).
char ExtractAccelChar(const AnsiString& s);

// --- Vertical text ---------------------------------------------------------

// The DC's current font turned by angle (tenths of a degree, 900 runs
// upwards, 2700 downwards), owned by the caller. A bitmap sans-serif face,
// which cannot turn, is replaced by sansFace at the same pixel height; a
// face with an upright variant ("@" + name) takes that.
HFONT MakeTurnedFont(HDC dc, int angle, const AnsiString& sansFace);
// The DC's current font turned to run downwards (owned by the caller).
HFONT MakeVerticalFont(HDC dc);
// Draws one line of text in the DC's turned font (angle 900 upwards from
// the bottom of r, 2700 downwards from its top), centred across r and, with
// DT_CENTER, along it; clipped to r unless DT_NOCLIP. The character at
// underlined (npos: none) is underlined in the text colour.
void DrawTurnedText(HDC dc, const WideString& text, size_t underlined, const TRect& r, UINT format,
                    int angle);
// Draws s downwards in the rotated font, centred across r; format takes
// DT_CENTER, DT_NOCLIP, DT_NOPREFIX, DT_END_ELLIPSIS and DT_HIDEPREFIX.
void DrawVerticalCaption(HDC dc, const AnsiString& s, const TRect& r, UINT format);
// What DT_END_ELLIPSIS keeps of s for a length of room pixels: characters
// go from the end until s plus "..." fits (at least one stays). measure
// gives the pixel length of a text.
AnsiString EllipsizedText(const AnsiString& s, int room,
                          const std::function<int(const AnsiString&)>& measure);

// --- Window drawing --------------------------------------------------------

// Draws a window's non-client area into a DC whose origin is the window's
// top left.
using TBarNCPainter = void (*)(HWND window, HDC dc, void* data);

// A WM_PRINT implementation for the framework's windows: flags are PRF_*.
void PaintWindowTree(HWND window, HDC dc, LPARAM flags, TBarNCPainter ncPainter, void* painterData);
// Takes a frame of these thicknesses from the rectangle of a WM_NCCALCSIZE,
// never leaving a negative client size.
void TakeNonClientFrame(RECT& r, int left, int top, int right, int bottom);
// The window's whole rectangle at the origin, and its client area in those
// coordinates.
TRect WindowRectAtOrigin(HWND window);
TRect ClientAreaInWindow(HWND window);
// Clips dc to a real non-client update region (not 0 or 1), offset to
// window coordinates; the window rectangle when the region cannot be used.
void SelectNCUpdateRgn(HWND window, HDC dc, HRGN region);
// Moves a drag outline of the given frame thickness by pattern inversion:
// the old frame (when oldRect) goes, the new one (when newRect) comes; with
// the same brush only the difference is touched. A null brush draws with
// the dithered pattern.
void DrawDragOutline(HDC dc, const TRect* newRect, const TRect* oldRect, SIZE newSize, SIZE oldSize,
                     HBRUSH newBrush, HBRUSH oldBrush);
// The 8 x 8 dithered pattern (rows 0x5555 and 0xAAAA) as a brush that
// paints in the DC's text and background colours (owned by the caller).
HBRUSH CreateDitheredBrush();
// An empty region (owned by the caller).
HRGN MakeEmptyRegion();

// --- Messages --------------------------------------------------------------

// Dispatches the thread's pending WM_PAINT messages.
void FlushPaintMessages();
// Removes the pending messages of [first, last]; a WM_QUIT removed on the
// way is posted again.
void RemoveMessages(UINT first, UINT last);
// The next message of a mouse loop that holds the capture on window: false
// once the capture went elsewhere or WM_QUIT arrived (posted again for the
// loop outside).
bool ReadCapturedLoopMessage(HWND window, MSG& msg);
// Asks for WM_MOUSELEAVE (flags TME_*); false when the system cannot.
bool RequestMouseLeave(HWND window, DWORD flags);

// --- Small helpers ---------------------------------------------------------

// Adds item unless present; true when it added.
template <class T> bool ListAddUnique(std::vector<T*>& list, T* item)
{
    for (T* present : list)
        if (present == item)
            return false;
    list.push_back(item);
    return true;
}
// Removes the first occurrence; true when found.
template <class T> bool ListRemove(std::vector<T*>& list, T* item)
{
    for (auto it = list.begin(); it != list.end(); ++it)
        if (*it == item) {
            list.erase(it);
            return true;
        }
    return false;
}
// a / b with a nonzero remainder rounding away from zero.
int DivideRoundingOut(int a, int b);

// A canvas on a memory DC, for measuring: with the given font, or with the
// canvas's own when font is null.
class TBarMeasuringCanvas
{
public:
    explicit TBarMeasuringCanvas(TFont* font);
    ~TBarMeasuringCanvas();
    TBarMeasuringCanvas(const TBarMeasuringCanvas&) = delete;
    TBarMeasuringCanvas& operator=(const TBarMeasuringCanvas&) = delete;
    TCanvas* Canvas() { return &FCanvas; }

private:
    TMemoryDC FDC;
    TCanvas FCanvas;
};

// Notices a component's going while a loop runs: Gone() turns true once it
// was freed.
class TBarFreeWatch : public TComponent
{
public:
    explicit TBarFreeWatch(TComponent* watched);
    ~TBarFreeWatch() override;
    bool Gone() const { return !FWatched; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TComponent* FWatched; // not owned; null once it went
};

// --- Run-time bindings ------------------------------------------------------

using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                           BLENDFUNCTION*, DWORD);
// UpdateLayeredWindow when the system has it (bound at the framework's
// start), else null.
TUpdateLayeredWindow BoundUpdateLayeredWindow();
void BindUpdateLayeredWindow();
