#include "BarAnim.h"

#include "BarCommon.h"

#include "classlib/Application.h"
#include "classlib/Graphics.h"
#include "classlib/Seams.h"

#include <algorithm>
#include <atomic>
#include <optional>

namespace {

// The window as it looks, printed into a memory bitmap that the animation
// shows a growing part of.
struct TWindowSnapshot
{
    TWindowSnapshot(HWND window, int width, int height)
        : WindowDC(window, GetWindowDC(window)), MemoryDC(WindowDC.Handle()),
          Bitmap(
              CreateCompatibleBitmap(WindowDC.Handle(), std::max(width, 1), std::max(height, 1))),
          Selection(MemoryDC.Handle(), Bitmap.Handle())
    {
        SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(MemoryDC.Handle()),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    }

    TScreenDC WindowDC;
    TMemoryDC MemoryDC;
    TOwnedGdiObject Bitmap;
    TSelectedObject Selection; // of the bitmap into the memory DC
};

// What the window's thread and the worker share. Written by the window's
// thread before the worker starts and after it ended, except the atomics.
struct TBarPopupAnimState
{
    DWORD Sequence = 0;
    HWND Window = nullptr; // not owned; null when no animation runs
    DWORD DurationMs = 0;
    bool Fade = false;
    int FirstStep = 0;
    std::atomic<int> Step{0};                // 0-255, the last one the worker announced
    std::optional<TWindowSnapshot> Snapshot; // while the animation runs
    TRect ClientScreenRect;
    int Width = 0, Height = 0; // of the window, pixels
    POINT LastCursor = {};     // screen; the worker's last look
    BYTE Direction = 0;
    std::atomic<bool> Abort{false};
    std::atomic<bool> Finished{false};
    std::atomic<bool> FramePending{false};
};

struct TThreadAnimation
{
    TBarPopupAnimState State;
    HANDLE Worker = nullptr; // owned
    DWORD SequenceCounter = 0;
};

thread_local TThreadAnimation tAnimation;

DWORD ElapsedSince(DWORD start)
{
    return SeamTickCount() - start;
}

DWORD WINAPI BarAnimationWorker(void* data)
{
    auto* state = static_cast<TBarPopupAnimState*>(data);
    try {
        DWORD start = SeamTickCount();
        for (;;) {
            DWORD begin = SeamTickCount();
            DWORD elapsed = begin - start;
            int step = BarRevealStepAt(elapsed, state->DurationMs, state->FirstStep);
            if (state->Abort || elapsed >= state->DurationMs || step < 0 || step > 254)
                break;
            POINT cursor = {};
            GetCursorPos(&cursor);
            if (cursor.x != state->LastCursor.x || cursor.y != state->LastCursor.y) {
                state->LastCursor = cursor;
                // The mouse moving onto the menu completes it.
                if (state->ClientScreenRect.Contains(cursor))
                    break;
            }
            if (step > state->Step) {
                state->Step = step;
                if (!state->FramePending.exchange(true))
                    SendNotifyMessageA(state->Window, WM_BAR_ANIMFRAME, 0, state->Sequence);
            }
            for (int slice = 0; slice < 2 && !state->Abort && ElapsedSince(begin) < 10; ++slice)
                Sleep(5);
        }
    } catch (...) {
        // Nothing to hand on: the window's thread ends the animation below.
    }
    state->Finished = true;
    SendNotifyMessageA(state->Window, WM_BAR_ANIMFRAME, 0, state->Sequence);
    return 0;
}

void ShowLayered(TBarPopupAnimState& s, int alpha)
{
    TUpdateLayeredWindow update = BoundUpdateLayeredWindow();
    if (!update)
        return;
    RECT r;
    GetWindowRect(s.Window, &r);
    POINT position = {r.left, r.top};
    SIZE size = {s.Width, s.Height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    update(s.Window, nullptr, &position, &size, s.Snapshot->MemoryDC.Handle(), &origin, 0, &blend,
           ULW_ALPHA);
}

void ShowRolled(TBarPopupAnimState& s, int step)
{
    TPoint offset = BarRollOffset(s.Direction, SIZE{s.Width, s.Height}, step);
    // The frame is copied in below: a redraw would paint the window whole,
    // and a paint ends the animation.
    SetWindowRgn(s.Window,
                 CreateRectRgn(offset.x, offset.y, offset.x + s.Width, offset.y + s.Height), FALSE);
    BitBlt(s.Snapshot->WindowDC.Handle(), offset.x, offset.y, s.Width, s.Height,
           s.Snapshot->MemoryDC.Handle(), 0, 0, SRCCOPY);
}

void TakeSnapshot(TBarPopupAnimState& s)
{
    RECT r;
    GetWindowRect(s.Window, &r);
    s.Width = r.right - r.left;
    s.Height = r.bottom - r.top;
    s.Snapshot.emplace(s.Window, s.Width, s.Height);
}

void EndAnimation()
{
    TBarPopupAnimState& s = tAnimation.State;
    HWND window = s.Window;
    if (!window)
        return;
    s.Abort = true;
    if (tAnimation.Worker) {
        WaitForSingleObject(tAnimation.Worker, INFINITE);
        CloseHandle(tAnimation.Worker);
        tAnimation.Worker = nullptr;
    }
    // The clean-up below repaints the window, and a paint ends a running
    // animation: it must find this one ended already.
    s.Window = nullptr;
    if (s.Fade)
        SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    else
        SetWindowRgn(window, nullptr, TRUE);
    BitBlt(s.Snapshot->WindowDC.Handle(), 0, 0, s.Width, s.Height, s.Snapshot->MemoryDC.Handle(), 0,
           0, SRCCOPY);
    s.Snapshot.reset();
    SendNotifyMessageA(window, WM_BAR_ANIMDONE, 0, s.Sequence);
}

} // namespace

int BarRevealStepAt(DWORD elapsedMs, DWORD durationMs, int firstStep)
{
    if (durationMs == 0)
        return 255;
    return firstStep + static_cast<int>(static_cast<long long>(elapsedMs) * 255 / durationMs);
}

TPoint BarRollOffset(BYTE direction, SIZE size, int step)
{
    TPoint offset;
    if (direction & badRightward)
        offset.x = MulDiv(size.cx, step, 255) - size.cx;
    else if (direction & badLeftward)
        offset.x = size.cx - MulDiv(size.cx, step, 255);
    if (direction & badDownward)
        offset.y = MulDiv(size.cy, step, 255) - size.cy;
    else if (direction & badUpward)
        offset.y = size.cy - MulDiv(size.cy, step, 255);
    return offset;
}

void BarPopupRevealBegin(HWND window, bool fade, BYTE direction)
{
    EndAnimation();
    TBarPopupAnimState& s = tAnimation.State;
    s.Sequence = ++tAnimation.SequenceCounter;
    s.Window = window;
    s.Direction = direction;
    s.Abort = false;
    s.Finished = false;
    s.FramePending = false;
    GetCursorPos(&s.LastCursor);
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    s.ClientScreenRect = client;
    TakeSnapshot(s);

    s.Fade = fade && BoundUpdateLayeredWindow() != nullptr;
    if (s.Fade) {
        s.DurationMs = kBarFadeDurationMs;
        s.FirstStep = kBarFadeFirstStep;
        SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        ShowLayered(s, kBarFadeFirstStep);
    } else {
        s.DurationMs = kBarRollDurationMs;
        s.FirstStep = 0;
        SetWindowRgn(window, MakeEmptyRegion(), FALSE);
    }
    s.Step = s.FirstStep;
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     SWP_NOREDRAW | SWP_ASYNCWINDOWPOS);
    tAnimation.Worker = CreateThread(nullptr, 0, BarAnimationWorker, &s, CREATE_SUSPENDED, nullptr);
    if (!tAnimation.Worker) {
        EndAnimation();
        return;
    }
    ResumeThread(tAnimation.Worker);
}

void BarPopupRevealCancel(HWND window)
{
    if (!window || tAnimation.State.Window == window)
        EndAnimation();
}

void BarPopupRevealFrame(HWND window, LPARAM sequence)
{
    TBarPopupAnimState& s = tAnimation.State;
    if (s.Window != window || static_cast<DWORD>(sequence) != s.Sequence)
        return;
    if (s.Finished) {
        EndAnimation();
        return;
    }
    if (s.Fade)
        ShowLayered(s, s.Step);
    else
        ShowRolled(s, s.Step);
    s.FramePending = false;
}

bool BarPopupRevealRunning(HWND window)
{
    return window && tAnimation.State.Window == window;
}

void StartBarAnimation()
{
    BindUpdateLayeredWindow();
}

void StopBarAnimation()
{
    EndAnimation();
}
