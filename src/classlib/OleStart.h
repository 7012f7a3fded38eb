// OLE for the calling thread, started at its first need rather than at the
// program's start: loading OLE's libraries and starting it would hold up the
// first window, which needs neither. What needs it starts it first: drop
// targets, accessibility clients, the shell's calls and dialogs; and the
// program starts it once its main window is on the screen.
//
//   StartOle   OleInitialize for this thread, once (later calls do nothing)
//   StopOle    OleUninitialize, when StartOle started OLE on this thread
#pragma once

void StartOle();
void StopOle();
