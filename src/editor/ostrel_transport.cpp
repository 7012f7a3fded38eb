// Playback, the play cursor, the status message and the recent files. So
// far only what the window's lifecycle and the settings call.
#include "ostrel.h"

namespace {
constexpr int kRecentFileLimit = 10;
}

// Runs on the engine's play-end thread; the stopped state comes with the
// transport.
void TFormVusk::EnginePlayEnd(TObject* Sender) {}

// The list only; the menu entries come with the transport.
void TFormVusk::AddRecentFile(const AnsiString& path)
{
    for (int i = FRecentFiles->Count() - 1; i >= 0; --i)
        if (FRecentFiles->Strings(i) == path)
            FRecentFiles->Delete(i);
    if (FRecentFiles->Count() >= kRecentFileLimit)
        FRecentFiles->Delete(FRecentFiles->Count() - 1);
    FRecentFiles->Insert(0, path);
}
