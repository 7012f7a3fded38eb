// Whose turn it is to run: one instance of the program at a time.
#pragma once

#include <windows.h>

enum class TInstanceTurn
{
    Run,       // no other instance holds the mutex: this one runs
    Activated, // another instance's window was brought to the front
    GaveUp,    // another instance held the mutex without showing a window
};

// Decides what a start does when another instance may be running: the
// other instance's window is brought to the front, or the window it last
// had active over it (a question it waits on) when there is one. An
// instance that holds the mutex but shows no window is starting or ending:
// the start waits up to patienceMs for its window to show (then brings it to
// the front) or for its mutex to go (then runs itself), so that a start just
// after a close is not lost.
TInstanceTurn TakeInstanceTurn(const char* mutexName, const char* windowClass, DWORD patienceMs);
