// The document: open and close of the WAV file with its draw data, region
// list, cut bars and view state. So far only what the window's lifecycle
// calls.
#include "ostrel.h"

#include "audio/DirectWavEngine.h"
#include "audio/ThdTimer.h"
#include "classlib/Screen.h"

// Opening comes with the document's header checks and draw data.
bool TFormVusk::OpenWavFile(const AnsiString& path)
{
    return false;
}

// What the window holds so far; the regions, the region clipboard and the
// draw data join when their fields do.
void TFormVusk::CloseDocument()
{
    MainTimer->SetEnabled(false);
    BrinkTimer->SetEnabled(false);
    if (FEngine->IsPlaying())
        FEngine->Stop();
    FEngine->InitWavInfo();
    SetCaption(kApplicationTitle);
    for (TLabel* label : {InfoTimeLabel, InfoSampleLabel, InfoRegionLabel})
        label->SetCaption("");
    Screen->SetCursor(crDefault);
    FCutBars->Clear();
    CutManageList->Items()->Clear();
    EditList->Items()->BeginUpdate();
    EditList->Items()->Clear();
    EditList->Items()->EndUpdate();
    FRglPath.clear();
    FModified = false;
}
