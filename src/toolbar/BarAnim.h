// The show animation of popup windows: a roll out of the opening item or a
// fade in, paced by a short-lived worker thread.
//
// The popup is printed into a snapshot first; the worker only tells the
// window (WM_BAR_ANIMFRAME) how far the animation has come, and the window's
// thread draws each frame (BarPopupRevealFrame). Moving the mouse into the
// popup completes the animation at once. At the end the window gets its full
// snapshot, loses the region or layered style the animation used, and is
// sent WM_BAR_ANIMDONE. One animation runs per thread.
#pragma once

#include "classlib/Types.h"

#include <windows.h>

enum TBarAnimDirection : BYTE
{
    badLeftward = 1,
    badRightward = 2,
    badDownward = 4,
    badUpward = 8,
};

constexpr DWORD kBarRollDurationMs = 150;
constexpr DWORD kBarFadeDurationMs = 175;
constexpr int kBarFadeFirstStep = 40;

// Shows window (hidden until now) animated: faded when fade and layered
// windows exist, else rolled in direction (a set of TBarAnimDirection).
// Any animation of the thread ends first.
void BarPopupRevealBegin(HWND window, bool fade, BYTE direction);
// Ends the animation of window (null: any animation of the thread).
void BarPopupRevealCancel(HWND window);
// The popup window's handling of WM_BAR_ANIMFRAME.
void BarPopupRevealFrame(HWND window, LPARAM sequence);
// Whether window is being animated now.
bool BarPopupRevealRunning(HWND window);

// The step (0-255) an animation has reached after elapsedMs.
int BarRevealStepAt(DWORD elapsedMs, DWORD durationMs, int firstStep);
// Where a rolled popup's snapshot and region lie at step.
TPoint BarRollOffset(BYTE direction, SIZE size, int step);

// The animation's part of the framework's start and end.
void StartBarAnimation();
void StopBarAnimation();
