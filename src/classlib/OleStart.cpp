#include "OleStart.h"

#include <ole2.h>

namespace {

thread_local bool gOleStarted = false;

} // namespace

void StartOle()
{
    if (!gOleStarted)
        gOleStarted = SUCCEEDED(OleInitialize(nullptr));
}

void StopOle()
{
    if (!gOleStarted)
        return;
    gOleStarted = false;
    OleUninitialize();
}
