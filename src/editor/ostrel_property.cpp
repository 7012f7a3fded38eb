// The file properties and about commands: the facts of the open file read
// afresh into the properties window, and the about window; both shown
// modally and freed.
#include "ostrel.h"

#include "FileFacts.h"

#include "dialogs/ql_about.h"
#include "dialogs/ql_property.h"

#include "audio/DirectWavEngine.h"

void TFormVusk::WirePropertyCommands()
{
    actFileProperty->OnExecute = TNotifyEvent(this, &TFormVusk::actFilePropertyExecute);
    actAbout->OnExecute = TNotifyEvent(this, &TFormVusk::actAboutExecute);
}

void TFormVusk::actFilePropertyExecute(TObject* Sender)
{
    if (!FileLoaded() || FBusy)
        return;
    TWavInfo info;
    info.Path = FEngine->Path();
    GetWavInfo(info);
    // Changed or gone since it was opened: there are no facts to show.
    if (!info.IsPlayable) {
        ShowOpenFailed();
        return;
    }
    TScopedFree<TForm3> window(new TForm3(this));
    window->ShowFacts(FileFactsOf(info));
    window->ShowModal();
}

void TFormVusk::actAboutExecute(TObject* Sender)
{
    if (FBusy)
        return;
    TScopedFree<TForm7> window(new TForm7(this));
    window->ShowModal();
}
